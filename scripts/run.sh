#!/usr/bin/env bash
# Builds Qelvo and opens it on its bundled sample database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build qelvo sample_db
exec ./build/app/qelvo "$@"
