#!/usr/bin/env bash
# Started directly by a user for whom /tmp/firebird (the engine's default lock
# directory, shared by every user) belongs to another user: the program takes
# a lock directory of its own and works; a second process on the same file,
# with yet another lock directory, is refused while the program holds it.
# Runs in a private mount namespace with a /tmp of its own, so the machine's
# /tmp/firebird is never touched; needs root (unshare, runuser), else skipped.
#   tests/e2e/lock_directory.sh build/app/tolvane .
set -euo pipefail
export LC_ALL=C.UTF-8
program=$(realpath "${1:?usage: lock_directory.sh PROGRAM SOURCE_DIR}")
source_dir=$(realpath "${2:?usage: lock_directory.sh PROGRAM SOURCE_DIR}")
log() { printf '[lock_directory %s] %s\n' "$(date +%T.%3N)" "$*" >&2; }

if [ "$(id -u)" != 0 ] || ! command -v unshare >/dev/null || ! command -v runuser >/dev/null; then
  log "skipped: needs root, unshare and runuser"
  exit 77
fi

if [ -z "${LOCK_TEST_INSIDE:-}" ]; then
  # Outside /tmp (which the namespace replaces): the program and its files.
  stage=$(mktemp -d /var/tmp/tolvane-lock-XXXXXX)
  trap 'rm -rf "$stage"' EXIT
  chmod 755 "$stage"
  cp "$program" "$stage/tolvane"
  mkdir -p "$stage/run" "$stage/home"
  bash "$source_dir/scripts/create-databases.sh" "$stage/run" >/dev/null
  chown -R nobody "$stage/run" "$stage/home"
  LOCK_TEST_INSIDE=1 unshare --mount --propagation private \
    bash "$0" "$stage/tolvane" "$source_dir" "$stage"
  exit $?
fi

stage=$3
mount -t tmpfs -o mode=1777 tmpfs /tmp
mkdir /tmp/firebird
chmod 0770 /tmp/firebird                        # root's, as the engine made it for root
uid=$(id -u nobody)
own="/tmp/tolvane-fblock-$uid"

cd "$stage/run"
runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$stage/home" QT_QPA_PLATFORM=offscreen \
  "$stage/tolvane" >"$stage/program.log" 2>&1 &
pid=$!
end_program() { kill -TERM "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
trap end_program EXIT

# The start attaches the catch file: the engine's lock files appear in the
# user's own directory.
for _ in $(seq 1 200); do
  [ -n "$(ls -A "$own" 2>/dev/null)" ] && break
  sleep 0.1
done
if [ -z "$(ls -A "$own" 2>/dev/null)" ]; then
  log "FAILED: no lock files in $own; the program's output:"
  sed 's/^/    /' "$stage/program.log" >&2
  exit 1
fi
[ "$(stat -c %u "$own")" = "$uid" ] || { log "FAILED: $own is not the user's"; exit 1; }
[ -z "$(ls -A /tmp/firebird)" ] || { log "FAILED: the program used /tmp/firebird"; exit 1; }
log "ok: the program's lock files are in $own"

# Another process, another lock directory: refused while the program holds the file.
mkdir /tmp/other-lock
if out=$(printf "CONNECT 'SORVENDA.FDB' USER 'kvo' PASSWORD '9517';\n" |
         ISC_PATH=/proc/self/cwd FIREBIRD_LOCK=/tmp/other-lock isql-fb -q 2>&1) ||
   [[ $out != *"already opened"* ]]; then
  log "FAILED: a second process was not refused: $out"
  exit 1
fi
log "ok: a second process with another lock directory is refused: $(printf '%s' "$out" | tr '\n' '/')"

end_program
trap - EXIT
rows=$(printf "SET LIST ON;\nCONNECT 'SORVENDA.FDB' USER 'kvo' PASSWORD '9517';\nselect P00_CODENO, P01_PASSWD, P02_PASSWD from FISH_PASS;\n" |
       ISC_PATH=/proc/self/cwd FIREBIRD_LOCK=/tmp/other-lock isql-fb -q 2>&1 | awk 'NF == 2 { printf "%s|", $2 }')
[ "$rows" = "0|0|NOT|" ] || { log "FAILED: the settings row was not stored: [$rows]"; exit 1; }
log "ok: the start stored the settings row"
log "passed"
