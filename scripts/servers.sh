#!/usr/bin/env bash
# Throw-away PostgreSQL 15 and MariaDB 10.11 servers on 127.0.0.1 for the tests.
#
#   servers.sh start DIR [pg|mariadb|all]   initialise fresh servers under DIR (whatever was there
#                                           is stopped and removed), start them on free ports, make
#                                           the user tester/secret with the databases testdb,
#                                           exportdb and e2edb, and write DIR/env.sh
#   servers.sh stop DIR [pg|mariadb|all]    stop the servers of DIR, keeping their data
#   servers.sh resume DIR [pg|mariadb|all]  start stopped servers of DIR again on their old ports
#
# DIR/env.sh exports QELVO_TEST_PG and QELVO_TEST_MARIADB (ODBC connection strings for testdb),
# QELVO_PG_PORT, QELVO_PG_SOCKET_DIR, QELVO_MARIADB_PORT, QELVO_MARIADB_SOCKET, ODBCSYSINI (a copy
# of the driver list with psqlODBC's communication log off, plus the DSNs QelvoPG,
# QelvoPGBoolsAsChar and QelvoMariaDB) and QELVO_SERVERS_SCRIPT (this script, for tests that
# stop and resume servers of their own). Runs as root; PostgreSQL runs as the postgres user.
set -euo pipefail

PG_BIN=/usr/lib/postgresql/15/bin
DATABASES=(testdb exportdb e2edb)
SELF=$(readlink -f "$0")

die() {
  echo "servers.sh: $*" >&2
  exit 1
}

usage() {
  die "usage: servers.sh start|stop|resume DIR [pg|mariadb|all]"
}

# A TCP port on 127.0.0.1 that nobody listens on right now.
free_port() {
  /usr/bin/python3 -c 'import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])'
}

need_packages() {
  local missing=()
  [ -x "$PG_BIN/initdb" ] || missing+=(postgresql)
  command -v mariadbd >/dev/null 2>&1 || command -v mysqld >/dev/null 2>&1 || missing+=(mariadb-server)
  command -v mariadb >/dev/null 2>&1 || missing+=(mariadb-client)
  [ -n "$(odbcinst -q -d -n 'PostgreSQL Unicode' 2>/dev/null)" ] || missing+=(odbc-postgresql)
  [ -n "$(odbcinst -q -d -n 'MariaDB Unicode' 2>/dev/null)" ] || missing+=(odbc-mariadb)
  if ((${#missing[@]})); then
    bash "$(dirname "$SELF")/deps.sh"
  fi
}

mariadbd_binary() {
  command -v mariadbd || command -v mysqld || echo /usr/sbin/mariadbd
}

# ---- Where each server lives -------------------------------------------------------------------
# Normally DIR/pg and DIR/mariadb. A folder the postgres user cannot reach, or one so deep that a
# socket path would pass the 107-byte limit, sends the server to a folder under /tmp instead;
# DIR/<server>.home names it.

home_of() {
  local dir=$1 name=$2
  if [ -f "$dir/$name.home" ]; then cat "$dir/$name.home"; else echo "$dir/$name"; fi
}

choose_home() {
  local dir=$1 name=$2 home
  home="$dir/$name"
  rm -f "$dir/$name.home"
  if [ ${#home} -gt 70 ] || { [ "$name" = pg ] && ! runuser -u postgres -- test -x "$dir"; }; then
    home=$(mktemp -d "/tmp/qelvo-$name-XXXXXX")
    chmod 755 "$home"
    echo "$home" >"$dir/$name.home"
  fi
  mkdir -p "$home"
}

# ---- PostgreSQL -------------------------------------------------------------------------------

pg_running() {
  local h
  h=$(home_of "$1" pg)
  [ -f "$h/data/postmaster.pid" ] && runuser -u postgres -- "$PG_BIN/pg_ctl" -D "$h/data" status >/dev/null 2>&1
}

pg_launch() {
  local dir=$1 h port
  h=$(home_of "$dir" pg)
  port=$(cat "$h/port")
  runuser -u postgres -- "$PG_BIN/pg_ctl" -D "$h/data" -l "$h/server.log" -w -t 30 \
    -o "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories=$h -c fsync=off" start >/dev/null
}

pg_psql() {
  local dir=$1 h
  shift
  h=$(home_of "$dir" pg)
  runuser -u postgres -- psql -X -q -v ON_ERROR_STOP=1 -h "$h" -p "$(cat "$h/port")" -U postgres -d postgres "$@"
}

pg_start() {
  local dir=$1 attempt h
  choose_home "$dir" pg
  h=$(home_of "$dir" pg)
  chown postgres: "$h"
  chmod 700 "$h"
  runuser -u postgres -- "$PG_BIN/initdb" -D "$h/data" -U postgres -E UTF8 --locale=C.UTF-8 \
    --auth-local=trust --auth-host=scram-sha-256 >"$h/initdb.log" 2>&1 ||
    die "PostgreSQL initdb failed, see $h/initdb.log"
  # A port found free can be taken before the server binds it: try another one then.
  for attempt in 1 2 3; do
    free_port >"$h/port"
    chown postgres: "$h/port"
    if pg_launch "$dir"; then break; fi
    [ "$attempt" = 3 ] && die "PostgreSQL did not start, see $h/server.log"
  done
  local sql="CREATE ROLE tester LOGIN PASSWORD 'secret';"
  pg_psql "$dir" -c "$sql"
  local db
  for db in "${DATABASES[@]}"; do pg_psql "$dir" -c "CREATE DATABASE $db OWNER tester ENCODING 'UTF8'"; done
  [ "$(pg_psql "$dir" -At -c 'SELECT 1')" = 1 ] || die "PostgreSQL does not answer"
}

pg_stop() {
  local dir=$1
  if pg_running "$dir"; then
    runuser -u postgres -- "$PG_BIN/pg_ctl" -D "$(home_of "$dir" pg)/data" -m fast -w -t 30 stop >/dev/null
  fi
}

pg_remove() {
  local dir=$1
  pg_stop "$dir"
  rm -rf "$(home_of "$dir" pg)" "$dir/pg" "$dir/pg.home"
}

# ---- MariaDB ----------------------------------------------------------------------------------

maria_pid() {
  local file
  file=$(home_of "$1" mariadb)/mysqld.pid
  [ -f "$file" ] && kill -0 "$(cat "$file")" 2>/dev/null && cat "$file"
}

maria_admin() {
  mariadb-admin --no-defaults --socket="$(home_of "$1" mariadb)/mysqld.sock" -u root "${@:2}"
}

maria_launch() {
  local dir=$1 h port i
  h=$(home_of "$dir" mariadb)
  port=$(cat "$h/port")
  rm -f "$h/mysqld.sock" "$h/mysqld.pid"
  "$(mariadbd_binary)" --no-defaults --user=root --datadir="$h/data" --bind-address=127.0.0.1 \
    --port="$port" --socket="$h/mysqld.sock" --pid-file="$h/mysqld.pid" \
    --log-error="$h/error.log" --skip-name-resolve --character-set-server=utf8mb4 \
    --collation-server=utf8mb4_unicode_ci --innodb-flush-log-at-trx-commit=0 </dev/null >/dev/null 2>&1 &
  local launched=$!
  for i in $(seq 1 300); do
    if maria_admin "$dir" ping >/dev/null 2>&1; then return 0; fi
    kill -0 "$launched" 2>/dev/null || return 1
    sleep 0.1
  done
  kill "$launched" 2>/dev/null || true
  return 1
}

maria_start() {
  local dir=$1 attempt h
  choose_home "$dir" mariadb
  h=$(home_of "$dir" mariadb)
  mariadb-install-db --no-defaults --datadir="$h/data" --user=root \
    --auth-root-authentication-method=socket --skip-test-db --skip-name-resolve >"$h/install.log" 2>&1 ||
    die "mariadb-install-db failed, see $h/install.log"
  for attempt in 1 2 3; do
    free_port >"$h/port"
    if maria_launch "$dir"; then break; fi
    [ "$attempt" = 3 ] && die "MariaDB did not start, see $h/error.log"
  done
  local sql="CREATE USER 'tester'@'%' IDENTIFIED BY 'secret';" db
  for db in "${DATABASES[@]}"; do
    sql+="CREATE DATABASE $db CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci; GRANT ALL ON $db.* TO 'tester'@'%';"
  done
  mariadb --no-defaults --socket="$h/mysqld.sock" -u root -e "$sql"
  [ "$(mariadb --no-defaults --socket="$h/mysqld.sock" -u root -N -e 'SELECT 1')" = 1 ] ||
    die "MariaDB does not answer"
}

maria_remove() {
  local dir=$1
  maria_stop "$dir"
  rm -rf "$(home_of "$dir" mariadb)" "$dir/mariadb" "$dir/mariadb.home"
}

maria_stop() {
  local dir=$1 pid i
  pid=$(maria_pid "$dir") || return 0
  maria_admin "$dir" shutdown >/dev/null 2>&1 || kill "$pid" 2>/dev/null || true
  for i in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
}

# ---- ODBC driver list and the environment -----------------------------------------------------

write_odbc_ini() {
  local dir=$1 system
  mkdir -p "$dir/odbc"
  system=$(odbcinst -j 2>/dev/null | sed -n 's/^DRIVERS[. ]*: *//p')
  [ -f "$system" ] || system=/etc/odbcinst.ini
  # psqlODBC's CommLog=1 would leave a log file in /tmp for every connection.
  sed -e 's/^\([[:space:]]*CommLog[[:space:]]*=[[:space:]]*\).*/\10/I' "$system" >"$dir/odbc/odbcinst.ini"
  : >"$dir/odbc/odbc.ini"
  local pg maria
  pg=$(home_of "$dir" pg)
  maria=$(home_of "$dir" mariadb)
  if [ -f "$pg/port" ]; then
    cat >>"$dir/odbc/odbc.ini" <<EOF
[QelvoPG]
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $(cat "$pg/port")
Database = testdb
BoolsAsChar = 0

[QelvoPGBoolsAsChar]
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $(cat "$pg/port")
Database = testdb
BoolsAsChar = 1

EOF
  fi
  if [ -f "$maria/port" ]; then
    cat >>"$dir/odbc/odbc.ini" <<EOF
[QelvoMariaDB]
Driver = MariaDB Unicode
Server = 127.0.0.1
Port = $(cat "$maria/port")
Database = testdb

EOF
  fi
}

write_env() {
  local dir=$1 pg maria
  pg=$(home_of "$dir" pg)
  maria=$(home_of "$dir" mariadb)
  {
    echo "# Written by scripts/servers.sh: the throw-away test servers of this folder."
    echo "export ODBCSYSINI='$dir/odbc'"
    echo "export QELVO_SERVERS_SCRIPT='$SELF'"
    echo "export QELVO_SERVERS_DIR='$dir'"
    if [ -f "$pg/port" ]; then
      local port
      port=$(cat "$pg/port")
      echo "export QELVO_PG_PORT=$port"
      echo "export QELVO_PG_SOCKET_DIR='$pg'"
      echo "export QELVO_TEST_PG='DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=$port;DATABASE=testdb;UID=tester;PWD=secret;BoolsAsChar=0'"
    fi
    if [ -f "$maria/port" ]; then
      local port
      port=$(cat "$maria/port")
      echo "export QELVO_MARIADB_PORT=$port"
      echo "export QELVO_MARIADB_SOCKET='$maria/mysqld.sock'"
      echo "export QELVO_TEST_MARIADB='DRIVER={MariaDB Unicode};SERVER=127.0.0.1;PORT=$port;DATABASE=testdb;UID=tester;PWD=secret'"
    fi
  } >"$dir/env.sh"
}

# ---- Commands ---------------------------------------------------------------------------------

[ $# -ge 2 ] || usage
command=$1
dir=$2
which=${3:-all}
case "$which" in pg | mariadb | all) ;; *) usage ;; esac
[ "$(id -u)" -eq 0 ] || die "must run as root (PostgreSQL is started as the postgres user through runuser)"
want_pg() { [ "$which" = all ] || [ "$which" = pg ]; }
want_maria() { [ "$which" = all ] || [ "$which" = mariadb ]; }

case "$command" in
start)
  need_packages
  mkdir -p "$dir"
  dir=$(readlink -f "$dir")
  chmod 755 "$dir"
  if want_pg; then pg_remove "$dir"; fi
  if want_maria; then maria_remove "$dir"; fi
  # Stop whatever started if a later step fails, so that nothing is left running.
  trap 'status=$?; if [ $status -ne 0 ]; then pg_stop "$dir" || true; maria_stop "$dir" || true; fi' EXIT
  if want_pg; then pg_start "$dir"; fi
  if want_maria; then maria_start "$dir"; fi
  write_odbc_ini "$dir"
  write_env "$dir"
  # shellcheck disable=SC1091
  (source "$dir/env.sh" && echo "servers.sh: PostgreSQL on ${QELVO_PG_PORT:-(none)}, MariaDB on ${QELVO_MARIADB_PORT:-(none)}")
  ;;
stop)
  [ -d "$dir" ] || exit 0
  dir=$(readlink -f "$dir")
  status=0
  if want_pg; then pg_stop "$dir" || status=1; fi
  if want_maria; then maria_stop "$dir" || status=1; fi
  exit $status
  ;;
resume)
  dir=$(readlink -f "$dir")
  if want_pg && [ -d "$(home_of "$dir" pg)/data" ] && ! pg_running "$dir"; then
    pg_launch "$dir" || die "PostgreSQL did not start again, see $(home_of "$dir" pg)/server.log"
  fi
  if want_maria && [ -d "$(home_of "$dir" mariadb)/data" ] && ! maria_pid "$dir" >/dev/null; then
    maria_launch "$dir" || die "MariaDB did not start again, see $(home_of "$dir" mariadb)/error.log"
  fi
  ;;
*)
  usage
  ;;
esac
