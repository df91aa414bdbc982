#!/usr/bin/env bash
# Japanese typed through a real input method, as a Japanese user types: ibus
# with mozc in hiragana mode (E2E_IM=fcitx5: fcitx5 with mozc), the session
# and the program run as an unprivileged user (mozc passes every key through
# for root), xdotool typing romaji on the display. In the catch entry window:
# a word abandoned with Escape in the weather box, then Enter; a converted
# place in the pick list's new-value box; a new tide name converted in the
# tide box's dropped-down list; date, tide times, height and count typed with
# the input method on; a species in katakana; a converted rig note followed
# by a click into the trip note, where a word is abandoned. In the address
# entry: a converted name and the telephone number. The rows read back.
#   tests/e2e/ime.sh build/app/tolvane .
# Exits 77 (skipped) when the input method's packages are not installed.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

IM=${E2E_IM:-ibus}
case $IM in
ibus) IM_TOOLS=(dbus-daemon ibus-daemon ibus /usr/lib/ibus-mozc/ibus-engine-mozc /usr/lib/mozc/mozc_server) ;;
fcitx5) IM_TOOLS=(dbus-daemon fcitx5 fcitx5-remote /usr/lib/x86_64-linux-gnu/fcitx5/fcitx5-mozc.so /usr/lib/mozc/mozc_server
                  /usr/lib/x86_64-linux-gnu/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so) ;;
*) e2e_fail "E2E_IM: ibus or fcitx5, not $IM" ;;
esac
for t in "${IM_TOOLS[@]}"; do
  if ! command -v "$t" >/dev/null && [ ! -e "$t" ]; then
    e2e_log "SKIPPED: $t is not installed (scripts/install-deps.sh installs ibus, ibus-mozc, dbus-x11)"
    rm -rf "$E2E_DIR"
    exit 77
  fi
done

# --- the input-method session, as an unprivileged user ------------------------

IM_HOME="$E2E_DIR/home"
IM_SIDS=()
mkdir -p "$IM_HOME/.config/mozc" "$IM_HOME/.config/fcitx5/conf" "$IM_HOME/runtime" "$IM_HOME/fblock"
chmod 700 "$IM_HOME/runtime"
# mozc starts in hiragana mode, as after the user's Zenkaku/Hankaku key.
cat >"$IM_HOME/.config/mozc/ibus_config.textproto" <<'EOF'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
EOF
cat >"$IM_HOME/.config/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF
cat >"$IM_HOME/.config/fcitx5/config" <<'EOF'
[Behavior]
ActiveByDefault=True
ShareInputState=All
EOF
IM_USER=$(id -un)
if [ "$(id -u)" = 0 ]; then
  IM_USER=nobody
  chmod 755 "$E2E_DIR"
  chown -R "$IM_USER:" "$IM_HOME"
fi
DBUS_SESSION_BUS_ADDRESS=""

# as_user COMMAND...: runs COMMAND as the session's user in its environment.
as_user() {
  local env=(env -i HOME="$IM_HOME" XDG_RUNTIME_DIR="$IM_HOME/runtime" XDG_CONFIG_HOME="$IM_HOME/.config"
             DISPLAY="$DISPLAY" PATH=/usr/bin:/bin LANG=C.UTF-8 DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
  if [ "$IM_USER" = "$(id -un)" ]; then "${env[@]}" "$@"; else runuser -u "$IM_USER" -- "${env[@]}" "$@"; fi
}

# Ends every process of the session: those of the D-Bus daemon's and of the
# input method's sessions (their helpers and mozc's server among them).
# sid_of PID: the session id of a process (the field after state, parent and
# group in /proc/PID/stat, whose name field may hold blanks).
sid_of() { sed -E 's/^.*\) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f4; }

ime_stop_session() {
  [ ${#IM_SIDS[@]} -gt 0 ] || return 0
  local pids
  pids=$({ cat /proc/[0-9]*/stat 2>/dev/null || true; } | awk -v sids=" ${IM_SIDS[*]} " '
    { s = $0; sub(/^.*\) /, "", s); split(s, f, " "); if (index(sids, " " f[4] " ")) print $1 }')
  [ -z "$pids" ] || kill $pids 2>/dev/null || true
}
# At the end, whatever ends the run: the session first, then the program,
# openbox and Xvfb (e2e_cleanup, which takes the run's status from $?).
ime_exit() {
  local rc=$?
  set +e
  trap '' INT TERM
  ime_stop_session
  (exit "$rc")
  e2e_cleanup
}
trap ime_exit EXIT

ibus_ready() { [ "$(as_user ibus engine 2>/dev/null)" = mozc-jp ]; }
ibus_take_mozc() {
  # "ibus engine NAME" often reports a cancelled call when it did switch.
  as_user ibus engine mozc-jp >/dev/null 2>&1 || true
  ibus_ready
}
fcitx5_ready() { [ "$(as_user fcitx5-remote -n 2>/dev/null)" = mozc ]; }

ime_start_session() {
  local out
  out=$(as_user dbus-daemon --session --fork --print-address=1 --print-pid=1) ||
    e2e_fail "no D-Bus session for $IM_USER"
  DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
  IM_SIDS+=("$(sid_of "$(sed -n 2p <<<"$out")")")
  case $IM in
  ibus)
    as_user setsid sh -c 'echo $$ >"$HOME/im.pid"; exec ibus-daemon --replace --xim --panel=disable' \
      >"$E2E_DIR/im.log" 2>&1 &
    e2e_poll 10 test -s "$IM_HOME/im.pid" || e2e_fail "ibus-daemon did not start"
    IM_SIDS+=("$(cat "$IM_HOME/im.pid")")
    e2e_poll "$E2E_TIMEOUT" ibus_take_mozc || e2e_fail "ibus did not take mozc"
    ;;
  fcitx5)
    as_user setsid sh -c 'echo $$ >"$HOME/im.pid"; exec fcitx5 --disable=wayland,waylandim,notificationitem' \
      >"$E2E_DIR/im.log" 2>&1 &
    e2e_poll 10 test -s "$IM_HOME/im.pid" || e2e_fail "fcitx5 did not start"
    IM_SIDS+=("$(cat "$IM_HOME/im.pid")")
    e2e_poll "$E2E_TIMEOUT" fcitx5_ready || e2e_fail "fcitx5 did not take mozc"
    ;;
  esac
  e2e_log "$IM with mozc runs for $IM_USER"
}

# Starts the program as the session's user on fresh database files.
ime_start_program() {
  mkdir -p "$E2E_DIR/run"
  bash "$E2E_SOURCE/scripts/create-databases.sh" "$E2E_DIR/run" >/dev/null
  [ "$IM_USER" = "$(id -un)" ] || chown -R "$IM_USER:" "$E2E_DIR/run" "$IM_HOME/fblock"
  # A build tree the user cannot reach (under root's home): a copy it can.
  if ! as_user test -x "$E2E_PROGRAM"; then
    cp "$E2E_PROGRAM" "$E2E_DIR/tolvane"
    chmod 755 "$E2E_DIR/tolvane"
    E2E_PROGRAM="$E2E_DIR/tolvane"
  fi
  (cd "$E2E_DIR/run" && exec > "$E2E_DIR/program.log" 2>&1 &&
    as_user env FIREBIRD_LOCK="$IM_HOME/fblock" QT_QPA_PLATFORM=xcb QT_IM_MODULE="$IM" XMODIFIERS="@im=$IM" \
      "$E2E_PROGRAM") &
  E2E_PROGRAM_PID=$!
  E2E_PIDS+=("$E2E_PROGRAM_PID")
}

# --- typing ---------------------------------------------------------------------

# Each step leaves the input method time to answer before the next: keys
# sent closer than about 100 ms can reach the box before the composition
# they follow is shown or committed.
IM_DELAY=150
ime_type() { xdotool type --delay "$IM_DELAY" -- "$1"; }
ime_key() {
  local k
  for k in "$@"; do
    xdotool key "$k"
    sleep 0.$IM_DELAY
  done
}

# ime_click W X Y: a click into a box; the input method is told of the new
# focus before the next key.
ime_click() {
  e2e_click "$@"
  sleep 0.$IM_DELAY
}

# Checks that fail are all reported before the run fails.
IM_FAILED=0
ime_failed() {
  e2e_log "FAILED: $*"
  IM_FAILED=$((IM_FAILED + 1))
}

# ime_fields ROW WHAT EXPECTED [WHAT EXPECTED]...: the columns of ROW ('|'
# between them), one a pair.
ime_fields() {
  local values=() i=0
  IFS='|' read -r -a values <<<"$1|"
  shift
  while [ $# -gt 0 ]; do
    if [ "${values[i]:-}" = "$2" ]; then e2e_log "ok: $1"; else ime_failed "$1: expected [$2], got [${values[i]:-}]"; fi
    i=$((i + 1))
    shift 2
  done
}

e2e_start_desktop
ime_start_session
ime_start_program

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # a fresh memo file has no lessons table
e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
entry=$(e2e_window "釣果記録" 960 710)

# Weather: a word typed and abandoned with Escape; Enter goes on to the place.
ime_click "$entry" 416 60
ime_type kumo
ime_key Escape Return
list=$(e2e_window "場所の選択" 600 450)
ime_click "$list" 68 397                       # the new-value box
ime_type toukyouwan
ime_key space Return                           # converted, committed
ime_key Return                                 # the new place
e2e_wait_gone "$list"
e2e_wait_active "$entry"
e2e_log "ok: the place list took the converted word"

# The tide name, typed into the dropped-down list and converted, then more
# typed while the list stays down.
ime_click "$entry" 90 124
ime_key F4
e2e_dropped 97 >/dev/null
ime_type sagamiwan
ime_key space Return                           # converted, committed: the list stays down
ime_type oki                                   # still through the input method: katakana
ime_key F7 Return
ime_key Return                                 # nothing marked: on to the reference place
e2e_wait_list_closed 97
list=$(e2e_window "選択" 600 450)
e2e_click "$list" 514 397                      # 選択せずに戻る
e2e_wait_gone "$list"
e2e_wait_active "$entry"

# Date, times, height and count with mozc still in hiragana mode.
ime_click "$entry" 268 60
xdotool key ctrl+a
ime_type 2024/3/5
ime_click "$entry" 112 204; ime_type 6
ime_click "$entry" 152 204; ime_type 30
ime_click "$entry" 200 204; ime_type 150
ime_click "$entry" 288 204; ime_type 12
ime_click "$entry" 328 204; ime_type 45
# The species in katakana (F7), through its pick list; its count.
e2e_click "$entry" 156 276
list=$(e2e_window "魚種の選択" 600 450)
ime_click "$list" 68 397
ime_type aji
ime_key F7 Return Return
e2e_wait_gone "$list"
e2e_wait_active "$entry"
ime_click "$entry" 124 340; ime_type 12
# The rig note converted and left uncommitted: the click into the trip note
# commits it where it was typed. There a word is abandoned.
ime_click "$entry" 200 440
ime_type shikake
ime_key space
ime_click "$entry" 200 600
ime_type kumo
ime_key Escape
e2e_click "$entry" 881 75                      # 入　力
box=$(e2e_box)
said=$(e2e_box_text "$box")
e2e_key "$box" Return
e2e_wait_gone "$box"
e2e_wait_active "$entry"
[ "$said" = "入力完了" ] || ime_failed "the save said [$said], not 入力完了"
e2e_click "$entry" 900 19                      # 戻　る
e2e_wait_gone "$entry"
e2e_wait_active "$main"

# An address: a converted name and the telephone number with mozc on.
e2e_click "$main" 440 408                      # 住所入力
addr=$(e2e_window "住所録" 400 300)
ime_click "$addr" 316 56                       # 名　前
ime_type yamada
ime_key space Return
ime_click "$addr" 120 84                       # 電　話
ime_type 03-1234-5678
e2e_click "$addr" 288 20                       # 入力
e2e_wait_gone "$addr"
e2e_wait_active "$main"

e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

row=$(e2e_sql SORVENDA.FDB "select DAY_DATA, coalesce(TENNKI, '<null>'), BASYO, SHIO,
  MAX1, MAX1_HIGHT, MIN1, FISH1, FISH1_KAZU,
  cast(SHIKAKE as varchar(100)), coalesce(cast(BIKOU as varchar(100)), '<null>') from FISH_DATA")
ime_fields "$row" "the date typed as digits" 2024/03/05 "the weather abandoned with Escape" "" \
  "the place converted in the pick list" 東京湾 "the tide name converted in the dropped list" 相模湾オキ \
  "the high tide typed as digits" 06:30 "the height typed as digits" 150 "the low tide typed as digits" 12:45 \
  "the species in katakana" アジ "the count typed as digits" 12 \
  "the rig note converted, then a click elsewhere" 仕掛け "the trip note abandoned with Escape" "<null>"
row=$(e2e_sql SORVENDA.FDB "select A03_NAME, A04_TEL from FISH_ADDR")
ime_fields "$row" "the name converted" 山田 "the telephone typed with the input method on" 03-1234-5678
[ "$IM_FAILED" = 0 ] || e2e_fail "$IM_FAILED check(s) failed"
e2e_pass
