#!/usr/bin/env bash
# Installs what building and running need when it is missing (no test tool),
# builds the program alone, creates the two database files in DIR when they
# are missing, and starts the program with DIR as its current directory (the
# program looks for its files there).
#   scripts/run.sh [DIR]      (default: data/ in the checkout)
# BUILD_DIR chooses the build directory (default: build-app/ in the checkout;
# the test command's build/ holds the tests as well).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$here/data}

bash "$here/scripts/install-deps.sh"

: "${BUILD_DIR:=$here/build-app}"
cmake -S "$here" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" --target tolvane

# The engine's lock files: the program and create-databases.sh each use a
# directory of this user's own when FIREBIRD_LOCK is unset (the default one,
# /tmp/firebird, is shared by all users and may belong to another).
bash "$here/scripts/create-databases.sh" "$dir"
cd "$dir"
exec "$BUILD_DIR/app/tolvane"
