#!/usr/bin/env bash
# Renders every window registered for screenshots, with sample data, to
# shots/<name>.png (offscreen, with the real fonts), or only the windows named.
#   scripts/screenshots.sh [NAME...]
# BUILD_DIR chooses the build directory (default: build/ in the checkout),
# SHOTS_DIR the output directory (default: shots/ in the checkout).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

bash "$here/scripts/install-deps.sh" --tests

: "${BUILD_DIR:=$here/build}"
: "${SHOTS_DIR:=$here/shots}"
cmake -S "$here" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_BUILD_TESTS=ON >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" --target tolvane_screenshots

: "${FIREBIRD_LOCK:=${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}}/tolvane-fblock-$(id -u)}"
export FIREBIRD_LOCK
mkdir -p "$FIREBIRD_LOCK" "$SHOTS_DIR"

QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tests/ui/tolvane_screenshots" "$SHOTS_DIR" "$@"
