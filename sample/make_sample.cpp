// Builds a SQLite database from a SQL script: make_sample <script.sql> <output.db>.
// The output is written to a temporary name first, so that a failed build leaves no half file.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_sample <script.sql> <output.db>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "make_sample: cannot read %s\n", argv[1]);
    return 1;
  }
  std::stringstream script;
  script << in.rdbuf();
  std::string output = argv[2];
  std::string temporary = output + ".tmp";
  std::remove(temporary.c_str());
  sqlite3* db = nullptr;
  if (sqlite3_open(temporary.c_str(), &db) != SQLITE_OK) {
    std::fprintf(stderr, "make_sample: cannot create %s: %s\n", temporary.c_str(), sqlite3_errmsg(db));
    return 1;
  }
  char* error = nullptr;
  std::string sql = "BEGIN;\n" + script.str() + "\nCOMMIT;";
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "make_sample: %s\n", error ? error : "error");
    sqlite3_free(error);
    sqlite3_close(db);
    std::remove(temporary.c_str());
    return 1;
  }
  sqlite3_close(db);
  if (std::rename(temporary.c_str(), output.c_str()) != 0) {
    std::perror("make_sample");
    return 1;
  }
  return 0;
}
