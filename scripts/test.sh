#!/usr/bin/env bash
# Builds Qelvo and runs every test: the format and layer checks, the full build's tests (with throw-away
# PostgreSQL and MariaDB servers on 127.0.0.1), a smoke test of the installed program under Xvfb,
# the sanitizer and fuzz build of the core and of the grid, result-grid and end-to-end suites, and
# the thread-sanitizer build of the fetch-on-a-worker suite.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
bash scripts/deps.sh

JOBS=${QELVO_JOBS:-$(nproc)}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export QT_QPA_PLATFORM=offscreen
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
# Paths relative to the checkout, so that a fresh clone elsewhere reuses the compiled objects.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}

echo "== Format check"
bash scripts/format.sh --check

echo "== Layers"
python3 scripts/check_layers.py

echo "== Build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build -j"$JOBS"

echo "== Database servers"
if [ -x scripts/servers.sh ]; then
  SERVERS_DIR="$ROOT/build/servers"
  trap 'bash scripts/servers.sh stop "$SERVERS_DIR" || true' EXIT
  bash scripts/servers.sh start "$SERVERS_DIR"
  # shellcheck disable=SC1091
  source "$SERVERS_DIR/env.sh"
fi

echo "== Tests"
status=0
ctest --test-dir build --output-on-failure -j"$JOBS" || status=1

echo "== The installed program on a real X server"
timeout 180 bash scripts/smoke.sh build || status=1

echo "== Sanitizer and fuzz build: the core, the grid, the result grid and the whole program"
# The widget suites run offscreen like the others. Qt and fontconfig are not instrumented: their
# own leaks are suppressed by name (tests/sanitizer/lsan.supp), nothing of ours.
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQELVO_SANITIZE=ON \
  -DQELVO_FUZZ=ON -DQELVO_BENCH=OFF -DQELVO_GUI_TESTS="grid;dbgrid;e2e" >/dev/null
ninja -C build-asan -j"$JOBS"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizer/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j"$JOBS" || status=1

echo "== Thread sanitizer: rows fetched on a worker thread"
# The core only (Qt is not instrumented), and only the suite that runs fetches on a worker.
CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELVO_TSAN=ON \
  -DQELVO_CORE_ONLY=ON -DQELVO_BENCH=OFF >/dev/null
ninja -C build-tsan -j"$JOBS" tests_data_fetch
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ./build-tsan/tests/data/tests_data_fetch || status=1

exit $status
