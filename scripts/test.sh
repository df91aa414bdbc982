#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test headless.
#   scripts/test.sh            (build directory: build/)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/install-deps.sh --tests

: "${BUILD_DIR:=$here/build}"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
: "${FIREBIRD_LOCK:=${TMPDIR:-/tmp}/tolvane-fblock-$(id -u)}"
export FIREBIRD_LOCK
mkdir -p "$FIREBIRD_LOCK"

jobs=$(nproc)
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLVANE_BUILD_TESTS=ON -DTOLVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" -j "$jobs"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$jobs" --timeout 300
