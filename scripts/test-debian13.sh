#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) on Debian 13 (trixie): in a chroot
# over a minimal trixie root made with debootstrap, on a copy of this checkout,
# with a clean environment. Needs root.
#   scripts/test-debian13.sh           reuses the root an earlier run made
#   scripts/test-debian13.sh --fresh   makes the root anew
# The root is kept in $DEBIAN13_DIR/root (default ~/.cache/tolvane/debian13);
# the build directory is inside it. Exits with the tests' status.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
fresh=0
case "${1:-}" in
  "") ;;
  --fresh) fresh=1 ;;
  *) echo "usage: $0 [--fresh]" >&2; exit 2 ;;
esac
if [ "$(id -u)" -ne 0 ]; then
  echo "test-debian13: needs root (debootstrap, mount, chroot)" >&2
  exit 2
fi

# Every mount below is made in a mount namespace of this script's own: the
# host's mounts are never changed, and nothing stays mounted for the host
# should the script be killed before its trap runs.
if [ -z "${TEST_DEBIAN13_NS:-}" ]; then
  exec env TEST_DEBIAN13_NS=1 unshare --mount --propagation private bash "$0" "$@"
fi

started=$SECONDS
say() { echo "test-debian13: $*" >&2; }
took() { local s=$((SECONDS - $1)); echo "$((s / 60)) min $((s % 60)) s"; }

dir=${DEBIAN13_DIR:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/tolvane/debian13}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd -P)
root=$dir/root
made=.tolvane-root-complete   # written last, once debootstrap has finished

exec 9>"$dir/lock"
if ! flock -n 9; then
  say "waiting for another run on $dir"
  flock 9
fi

# The mount points at or under a directory, deepest first.
mounts_under() {
  awk -v d="$1" '{ m = $5; gsub(/\\040/, " ", m); if (m == d || index(m, d "/") == 1) print m }' \
    /proc/self/mountinfo | sort -r
}
unmount_under() {
  local m
  mounts_under "$1" | while IFS= read -r m; do umount -l "$m" 2>/dev/null || true; done
}
# A tree removed only once nothing is mounted in it (rm -rf through a bound
# /dev or /proc would reach the host's).
remove_tree() {
  [ -e "$1" ] || return 0
  unmount_under "$1"
  if [ -n "$(mounts_under "$1")" ]; then
    say "still mounted under $1; not removed"
    exit 1
  fi
  rm -rf --one-file-system "$1"
}

# The processes running inside the root.
inside() {
  local p
  for p in /proc/[0-9]*; do
    if [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ]; then echo "${p#/proc/}"; fi
  done
}
cleanup() {
  # Whatever still runs inside the root is ended (TERM first, so that a
  # build cut short removes its half-written files), then every mount in it.
  local pids i
  pids=$(inside)
  if [ -n "$pids" ]; then
    kill -TERM $pids 2>/dev/null || true
    for i in 1 2 3 4 5 6 7 8 9 10; do
      [ -n "$(inside)" ] || break
      sleep 0.5
    done
    pids=$(inside)
    if [ -n "$pids" ]; then kill -KILL $pids 2>/dev/null || true; fi
  fi
  unmount_under "$root"
}
trap cleanup EXIT
trap 'say interrupted; exit 130' INT
trap 'say interrupted; exit 143' TERM
trap 'say interrupted; exit 129' HUP

if ! command -v debootstrap >/dev/null || ! command -v rsync >/dev/null; then
  say "installing debootstrap and rsync"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq debootstrap rsync >/dev/null
fi

# The root: made in root.new and renamed once complete, so a debootstrap cut
# short is never taken for a root (its root.new is removed).
remove_tree "$root.new"
if [ "$fresh" = 1 ] || [ ! -e "$root/$made" ]; then
  step=$SECONDS
  remove_tree "$root"
  say "making a Debian 13 root in $root"
  if ! debootstrap --variant=minbase trixie "$root.new" >"$dir/debootstrap.log" 2>&1; then
    tail -n 20 "$dir/debootstrap.log" >&2
    say "debootstrap failed (whole log: $dir/debootstrap.log)"
    exit 1
  fi
  # Packages installed in a chroot start no services.
  printf '#!/bin/sh\nexit 101\n' >"$root.new/usr/sbin/policy-rc.d"
  chmod 755 "$root.new/usr/sbin/policy-rc.d"
  touch "$root.new/$made"
  mv "$root.new" "$root"
  say "root made in $(took "$step")"
else
  say "reusing the root in $root"
fi

# The checkout, copied (its build directories and .git left out), and the
# build directory beside it, stay between runs. Only a file whose content
# differs from the copy is written again, stamped with the time it is
# written: a build made from an earlier copy then remakes exactly what
# depends on it, whatever times the checkout's files bear (a file changed
# while the last run was building is older than that build's objects).
unmount_under "$root"
mkdir -p "$root/srv/tolvane"
rsync -rlpc --delete --exclude=/.git --exclude='/build*' --exclude=/data --exclude=/shots \
  "$here/" "$root/srv/tolvane/"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
# The root's /tmp emptied: what a failed run kept there (an e2e run's
# directory) stays until the next run.
find "$root/tmp" -xdev -mindepth 1 -delete

# The root bound onto itself is a mount point, which `unshare --mount` inside
# the chroot needs; then the kernel's file systems, and a /dev/shm of its own.
mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"

# In the root, with a clean environment.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
# fb_sql FILE STATEMENTS [in_root]: isql-fb's output, Firebird 3's isql-fb in
# either release; on this machine unless in_root is given.
fb_sql() {
  printf '%s\n' "$2" | ${3:-} env FIREBIRD_VERSION=3.0 isql-fb -q -u kvo -p 9517 "$1" | tr -s ' \n' ' '
}
fail_check() { say "FAILED: $*"; exit 1; }

# The run command, as a person starts it, on files made on this machine
# (Debian 12) with a trip in them: it installs no test tool (where it installs
# anything: a kept root has everything already) and starts the program,
# which is ended once it has run for three seconds. The build directory is
# the one the tests then use (they add the tests to it).
step=$SECONDS
made12=$root/srv/made-on-12
rm -rf "$made12"
bash "$here/scripts/create-databases.sh" "$made12" >/dev/null
fb_sql "$made12/SORVENDA.FDB" "insert into FISH_DATA (CODENO, DAY_DATA, BASYO) values (1, '2026/12/01', 'made-on-12'); commit;" >/dev/null
installed() { in_root dpkg-query -W -f='${db:Status-Abbrev}${Package}\n' | sed -n 's/^ii *//p' | sort; }
before=$(installed)
say "running scripts/run.sh in the Debian 13 root"
in_root QT_QPA_PLATFORM=offscreen BUILD_DIR=/srv/tolvane-build bash /srv/tolvane/scripts/run.sh /srv/made-on-12 \
  >"$dir/run.log" 2>&1 &
run_pid=$!
program_up() {
  local p
  for p in $(inside); do
    [ "$(readlink "/proc/$p/exe" 2>/dev/null)" = "$root/srv/tolvane-build/app/tolvane" ] && echo "$p" && return 0
  done
  return 1
}
up=0
while kill -0 "$run_pid" 2>/dev/null; do
  if pid=$(program_up); then
    up=$((up + 1))
    if [ "$up" -ge 3 ]; then kill "$pid"; break; fi
  fi
  sleep 1
done
wait "$run_pid" 2>/dev/null || true
[ "$up" -ge 3 ] || { tail -n 20 "$dir/run.log" >&2; fail_check "scripts/run.sh did not start the program"; }
new=$(comm -13 <(printf '%s\n' "$before") <(installed))
tests=$(sed -n '/^TEST_PACKAGES=(/,/^)/p' "$here/scripts/install-deps.sh" | sed '1d;$d;s/#.*//' | tr -s ' ' '\n' | sed '/^$/d' | sort)
# A test package that a package of the run command's depends on (python3,
# which Debian 13's ninja-build needs) came with that one.
others=$(comm -23 <(printf '%s\n' "$new") <(printf '%s\n' "$tests"))
wrong=""
for p in $(comm -12 <(printf '%s\n' "$new") <(printf '%s\n' "$tests")); do
  needed_by=$(in_root apt-cache rdepends --installed "$p" | sed '1,2d;s/^ *//' | sort -u)
  [ -n "$(comm -12 <(printf '%s\n' "$needed_by") <(printf '%s\n' "$others"))" ] || wrong+="$p "
done
[ -z "$wrong" ] || fail_check "scripts/run.sh installed test tools: $wrong"
say "run.sh installed $(printf '%s' "$new" | grep -c . || true) packages, no test tool, and started the program ($(took "$step"))"

# Files move between the releases both ways: the trip made on Debian 12 is
# read and one added on Debian 13, and a file made on Debian 13 gets a trip;
# both are read back here.
in_root bash /srv/tolvane/scripts/create-databases.sh /srv/made-on-13 >/dev/null
got=$(fb_sql /srv/made-on-12/SORVENDA.FDB "select BASYO from FISH_DATA where CODENO = 1;
  insert into FISH_DATA (CODENO, BASYO) values (2, 'added-on-13'); commit;" in_root)
[[ $got == *made-on-12* ]] || fail_check "Debian 13 did not read the trip made on Debian 12: $got"
fb_sql /srv/made-on-13/SORVENDA.FDB "insert into FISH_DATA (CODENO, BASYO) values (3, 'made-on-13'); commit;" in_root >/dev/null
got=$(fb_sql "$made12/SORVENDA.FDB" "select BASYO from FISH_DATA order by CODENO;")$(fb_sql "$root/srv/made-on-13/SORVENDA.FDB" "select BASYO from FISH_DATA;")
[[ $got == *made-on-12*added-on-13*made-on-13* ]] || fail_check "Debian 12 did not read the files written on Debian 13: $got"
rm -rf "$made12" "$root/srv/made-on-13"
say "files made on Debian 12 and 13 read and written on both"

step=$SECONDS
say "running scripts/test.sh in the Debian 13 root"
# In the background, so that a signal to this script is taken at once.
in_root BUILD_DIR=/srv/tolvane-build bash /srv/tolvane/scripts/test.sh &
status=0
wait $! || status=$?
if [ "$status" -eq 0 ]; then
  say "tests passed in $(took "$step"); $(took "$started") in all"
else
  say "tests FAILED (status $status) in $(took "$step"); $(took "$started") in all"
fi
exit "$status"
