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
