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
# so that any user can create files without touching a directory another owns.
: "${FIREBIRD_LOCK:=${TMPDIR:-/tmp}/tolvane-fblock-$(id -u)}"
export FIREBIRD_LOCK
mkdir -p "$FIREBIRD_LOCK"

ISQL=$(command -v isql-fb || true)
if [ -z "$ISQL" ]; then
  echo "create-databases: isql-fb not found (run scripts/install-deps.sh)" >&2
  exit 1
fi

create() {
  local file=$1 ddl=$2 target="$dir/$1"
  if [ -e "$target" ]; then
    echo "create-databases: $target exists, left as it is"
    return 0
  fi
  local tmp
  tmp=$(mktemp "$dir/.create-XXXXXX.fdb")
  rm -f "$tmp"
  local qtmp=${tmp//\'/\'\'}
  # The schema file is UTF-8; the database stores Shift-JIS (CP932) bytes.
  # isql reads the script from a file: its interactive input mangles bytes
  # above 0x7F.
  local script
  script=$(mktemp "${TMPDIR:-/tmp}/tolvane-ddl-XXXXXX.sql")
  { printf "SET SQL DIALECT 1;\nCREATE DATABASE '%s' USER 'kvo' PASSWORD '9517' PAGE_SIZE 8192 DEFAULT CHARACTER SET NONE;\n" "$qtmp"
    iconv -f UTF-8 -t CP932 "$here/schema/$ddl"; } >"$script"
  if ! "$ISQL" -q -b -e -i "$script" >/dev/null; then
    rm -f "$tmp" "$script"
    echo "create-databases: failed to create $target" >&2
    return 1
  fi
  rm -f "$script"
  # Move into place only when complete, and never over a file that appeared meanwhile.
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
