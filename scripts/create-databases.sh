#!/usr/bin/env bash
# Creates the catch-data database SORVENDA.FDB and the memo database
# KELDMARK.FDB in DIR from schema/, with the embedded engine (no server).
# A file that already exists is never touched.
#   scripts/create-databases.sh DIR
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

# The embedded engine keeps its lock files in one directory; use one of our own
# (the program's rule) so that any user can create files without touching a
# directory another owns.
: "${FIREBIRD_LOCK:=${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}}/tolvane-fblock-$(id -u)}"
export FIREBIRD_LOCK
mkdir -p "$FIREBIRD_LOCK"

# The program's engine is Firebird 3, whose files (on-disk structure 12) a
# later engine does not open, nor Firebird 3 a later one's. Debian 13's
# isql-fb is a wrapper that picks the Firebird version by FIREBIRD_VERSION
# (the newest installed one otherwise); Debian 12's is Firebird 3's own.
export FIREBIRD_VERSION=3.0
ISQL=$(command -v isql-fb || true)
if [ -z "$ISQL" ]; then
  echo "create-databases: isql-fb not found (run scripts/install-deps.sh)" >&2
  exit 1
fi

# The engine cannot take every directory's name: under a locale whose charset
# cannot hold it (C, POSIX, one never generated) a Japanese name fails, and a
# ':' anywhere makes it read a host name. So each file is created in a scratch
# directory of a plain name and copied to DIR by the shell, which takes any
# name as bytes.
scratch_base=${TMPDIR:-/tmp}
if [[ $scratch_base == *:* || $scratch_base == *[![:ascii:]]* ]]; then scratch_base=/tmp; fi
scratch=$(mktemp -d "$scratch_base/tolvane-create-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

create() {
  local file=$1 ddl=$2 target="$dir/$1"
  if [ -e "$target" ]; then
    echo "create-databases: $target exists, left as it is"
    return 0
  fi
  local made="$scratch/$file"
  # The schema file is UTF-8; the database stores Shift-JIS (CP932) bytes.
  # isql reads the script from a file: its interactive input mangles bytes
  # above 0x7F.
  local script="$scratch/$ddl"
  { printf "SET SQL DIALECT 1;\nCREATE DATABASE '%s' USER 'kvo' PASSWORD '9517' PAGE_SIZE 8192 DEFAULT CHARACTER SET NONE;\n" "$made"
    iconv -f UTF-8 -t CP932 "$here/schema/$ddl"; } >"$script"
  if ! "$ISQL" -q -b -e -i "$script" >/dev/null; then
    echo "create-databases: failed to create $target" >&2
    return 1
  fi
  # The header page's on-disk structure version (at byte 18; the high bit
  # marks a Firebird file): 12, or the program could not open the file.
  local ods
  ods=$(od -An -tu2 -j18 -N2 "$made" | tr -d ' ')
  if [ "$((ods & 0x7FFF))" != 12 ]; then
    echo "create-databases: $ISQL made on-disk structure $((ods & 0x7FFF)), not Firebird 3's 12: is firebird3.0-utils installed?" >&2
    return 1
  fi
  # Moved into place only when complete, and never over a file that appeared
  # meanwhile: copied beside the target first, then linked to its name.
  local tmp
  tmp=$(mktemp "$dir/.create-XXXXXX.fdb")
  if ! cp "$made" "$tmp"; then
    rm -f "$tmp"
    echo "create-databases: cannot write in $dir" >&2
    return 1
  fi
  if ! ln "$tmp" "$target" 2>/dev/null; then
    rm -f "$tmp"
    echo "create-databases: $target exists, left as it is"
    return 0
  fi
  rm -f "$tmp"
  echo "create-databases: created $target"
}

create SORVENDA.FDB sorvenda.sql
create KELDMARK.FDB keldmark.sql
