#pragma once
// The frame of a benchmark against a database server: its connection, the million-row BigTable
// made on first use, and the run with repetitions interleaved so that the machine's other work
// weighs on every benchmark alike.
#include <functional>
#include <string>

#include "bench/common/RatioReporter.h"
#include "data/ado/Connection.h"
#include "data/ado/ConnectionString.h"

// Every column of the million-row table, the query each benchmark reads.
extern const char* const kBigTableQuery;
// The rows of sample/big_table.sql, made by PostgreSQL itself.
extern const char* const kPostgresBigTable;

ado::ConnectionPtr OpenConnection(const std::string& text);

// The server of an ODBC connection string reached through a native provider ("PostgreSQL",
// "MariaDB") instead, on `defaultPort` when the string names none.
std::string NativeString(const ado::ConnectionString& odbc, const char* provider, const char* defaultPort);

// Runs `load` on the connection unless BigTable already holds its 1,000,000 rows; `server` names
// the database in the line printed while it loads.
void EnsureBigTable(const ado::ConnectionPtr& connection, const char* load, const char* server);

// Google Benchmark over argv (random interleaving on unless the command line says otherwise),
// `prepare` once the flags are read, then the benchmarks with the summary on wall time.
void RunInterleaved(int argc, char** argv, const std::function<void()>& prepare, RatioReporter::Summary summary);

// psql -At -c with the table's query and its output to /dev/null, the PostgreSQL peer, on the
// server of an ODBC connection string; its largest peak is kept in `peak`.
void TimePsql(benchmark::State& state, const ado::ConnectionString& server, long& peak);
