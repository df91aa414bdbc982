#!/usr/bin/env bash
# Builds and runs the benchmarks, printing their figures.
#   scripts/bench.sh                  (build directory: build/, or BUILD_DIR)
#   scripts/bench.sh --regenerate     (make the generated catch database again)
# It also prints the memory of the catch entry window with four 12-MP photos,
# and the start and exit of the program under Xvfb beside a bare Qt window
# and two bare attaches (scripts/bench-start.py).
# The database benchmark generates its catch database of 10,000 records once,
# in BUILD_DIR/bench-data (about 1.3 GB, some 40 s), and reuses it afterwards;
# the catch browser and maintenance benchmarks run on the same file, and the
# memo benchmark makes its memo database in BUILD_DIR/bench-data-memo likewise.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/install-deps.sh --tests

: "${BUILD_DIR:=$here/build}"
: "${FIREBIRD_LOCK:=${TMPDIR:-/tmp}/tolvane-fblock-$(id -u)}"
export FIREBIRD_LOCK
mkdir -p "$FIREBIRD_LOCK"

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLVANE_BUILD_TESTS=ON -DTOLVANE_BUILD_BENCH=ON >/dev/null

# Headless benchmarks get a desktop-sized screen: Qt's offscreen screen is
# 800 x 800 by default, on which the larger windows would open scrolled.
if [ -z "${QT_QPA_PLATFORM:-}" ] || [ "$QT_QPA_PLATFORM" = offscreen ]; then
  screen="$BUILD_DIR/bench-screen.json"
  printf '{"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}\n' >"$screen"
  export QT_QPA_PLATFORM="offscreen:configfile=$screen"
fi
targets=$(cmake --build "$BUILD_DIR" --target help)

run() {
  local target=$1; shift
  if ! grep -qw "$target" <<<"$targets"; then return 0; fi
  cmake --build "$BUILD_DIR" --target "$target" -j "$(nproc)" >/dev/null
  echo "== $target"
  "$BUILD_DIR/bench/$target" "$@"
  echo
}

run tolvane_bench_db "$@"
# The browser bench on the same file (made above, never again).
args=()
for a in "$@"; do [[ $a == --regenerate ]] || args+=("$a"); done
run tolvane_bench_browser "${args[@]}"
run tolvane_bench_mente
run tolvane_bench_pictures
run tolvane_bench_tide
run tolvane_bench_photo
run tolvane_bench_memo "$@"
run tolvane_bench_entry_memory

# Start and exit under Xvfb (displays :96..:99), beside the bare figures.
if grep -qw tolvane_bench_start <<<"$targets" && command -v Xvfb >/dev/null; then
  cmake --build "$BUILD_DIR" --target tolvane_bench_start tolvane_bench_start_bare -j 3 >/dev/null
  echo "== start and exit"
  python3 scripts/bench-start.py "$BUILD_DIR" 10
fi
