#!/usr/bin/env bash
# Fuzzes the two picture decoders (JPEG through libjpeg, BMP through Qt) and
# the EXIF orientation reader with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer.
# Not part of the main build or of CI's main path.
#
#   scripts/fuzz-pictures.sh [seconds-per-target]   (default 60)
#
# Work files go to build-fuzz/ (override with FUZZ_DIR). Exits non-zero when
# a decoder crashed, or when a JPEG file cut short (after a scan, or in the
# middle of its last one, an end marker after it) decoded to other pixels
# than the whole file; the reproducer is left in the work directory.
set -euo pipefail

SECONDS_EACH=${1:-60}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=${FUZZ_DIR:-$ROOT/build-fuzz}

# clang and its libFuzzer runtime, installed only when missing.
need=()
for p in clang libclang-rt-14-dev imagemagick libjpeg-turbo-progs libjpeg62-turbo-dev qt6-base-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

mkdir -p "$WORK"
CXXFLAGS=(-std=c++20 -O1 -g -fPIC -fno-omit-frame-pointer
          -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
          -I"$ROOT/src" $(pkg-config --cflags Qt6Gui))
LIBS=($(pkg-config --libs Qt6Gui) -ljpeg)

KINDS=(jpeg bmp exif)
for kind in "${KINDS[@]}"; do
  DEF=$(echo "FUZZ_$kind" | tr a-z A-Z)
  echo "fuzz-pictures: building the $kind decoder target" >&2
  clang++ "${CXXFLAGS[@]}" -D"$DEF" "$ROOT/tests/imaging/fuzz/decoder_fuzz.cpp" \
    "$ROOT/src/imaging/codec.cpp" "$ROOT/src/imaging/exif.cpp" "${LIBS[@]}" -o "$WORK/fuzz_$kind"
done

# The contents of an APP1 segment holding an EXIF block with one entry,
# orientation 6, in the byte order given (II or MM).
exif_block() {
  if [ "$1" = MM ]; then
    printf 'Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0'
  else
    printf 'Exif\0\0II\x2a\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0'
  fi
}
# A JPEG file with that block right after its start marker.
with_exif() {
  { head -c 2 "$1"; printf '\xff\xe1\x00\x22'; exif_block "$2"; tail -c +3 "$1"; } >"$3"
}

# Seed pictures in the forms the readers meet.
seeds() {
  local dir=$1 kind=$2
  mkdir -p "$dir"
  [ -n "$(ls -A "$dir")" ] && return 0
  local src="$WORK/seed-src.ppm"
  convert -size 48x32 gradient:red-blue "$src"
  if [ "$kind" = exif ]; then
    exif_block II >"$dir/intel.bin"
    exif_block MM >"$dir/motorola.bin"
  elif [ "$kind" = jpeg ]; then
    convert "$src" -quality 90 "$dir/baseline.jpg"
    convert "$src" -interlace JPEG "$dir/progressive.jpg"
    convert "$src" -colorspace Gray "$dir/grey.jpg"
    convert "$src" -sampling-factor 2x2 -quality 50 "$dir/subsampled.jpg"
    convert "$src" -define jpeg:restart-interval=1 "$dir/restart.jpg"
    convert "$src" -colorspace CMYK "$dir/cmyk.jpg"
    # Multi-scan and arithmetic-coded forms, whose cuts must be refused too.
    printf '0: 0 63 0 0;\n1: 0 63 0 0;\n2: 0 63 0 0;\n' >"$WORK/per-component.scans"
    cjpeg -scans "$WORK/per-component.scans" "$src" >"$dir/per-component.jpg"
    cjpeg -arithmetic "$src" >"$dir/arithmetic.jpg"
    cjpeg -arithmetic -restart 1 "$src" >"$dir/arithmetic-restart.jpg"
    cjpeg -arithmetic -progressive "$src" >"$dir/arithmetic-progressive.jpg"
    jpegtran -progressive "$dir/baseline.jpg" >"$dir/transcoded-progressive.jpg"
    with_exif "$dir/baseline.jpg" II "$dir/turned-intel.jpg"
    with_exif "$dir/progressive.jpg" MM "$dir/turned-motorola.jpg"
  else
    convert "$src" BMP3:"$dir/rgb24.bmp"
    convert "$src" -colors 200 -type Palette BMP3:"$dir/pal8.bmp"
    convert "$src" -colors 12 -type Palette BMP3:"$dir/pal4.bmp"
    convert "$src" -monochrome BMP3:"$dir/mono.bmp"
    convert "$src" -alpha set BMP:"$dir/argb32.bmp"
    convert "$src" -colors 200 -compress RLE BMP3:"$dir/rle8.bmp"
    convert "$src" -define bmp:subtype=RGB565 BMP:"$dir/rgb565.bmp"
    convert "$src" -define bmp:subtype=RGB555 BMP:"$dir/rgb555.bmp"
    # ImageMagick writes no RLE4: a 4 x 2 one by hand (a run, an absolute
    # stretch, the end-of-row and end-of-picture codes).
    {
      printf 'BM\x82\0\0\0\0\0\0\0\x76\0\0\0'
      printf '\x28\0\0\0\x04\0\0\0\x02\0\0\0\x01\0\x04\0\x02\0\0\0\x0c\0\0\0'
      printf '\x13\x0b\0\0\x13\x0b\0\0\x10\0\0\0\0\0\0\0'
      for i in $(seq 0 15); do
        printf "$(printf '\\x%02x\\x%02x\\x80\\0' $((i * 16)) $((255 - i * 16)))"
      done
      printf '\x04\x12\0\0\0\x04\x34\x56\0\0\0\x01'
    } >"$dir/rle4.bmp"
    convert "$src" BMP2:"$dir/os2.bmp"
  fi
}

status=0
for kind in "${KINDS[@]}"; do
  seeds "$WORK/corpus_$kind" "$kind"
  echo "fuzz-pictures: running the $kind decoder for ${SECONDS_EACH}s" >&2
  ( cd "$WORK" && ASAN_OPTIONS=detect_leaks=1 ./fuzz_$kind -max_total_time="$SECONDS_EACH" \
      -timeout=10 -rss_limit_mb=2048 -max_len=262144 -print_final_stats=1 \
      "corpus_$kind" ) >"$WORK/fuzz_$kind.log" 2>&1 || status=1
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)" "$WORK/fuzz_$kind.log" >&2 || true
  if grep -qE "ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error" "$WORK/fuzz_$kind.log"; then
    echo "fuzz-pictures: $kind decoder FAILED, see $WORK/fuzz_$kind.log" >&2
    status=1
  else
    echo "fuzz-pictures: $kind decoder clean" >&2
  fi
done
exit $status
