# End-to-end runs of the real program: a helper library for bash scripts.
#
# A script sources this file, starts a desktop and the program, and drives it
# with the mouse and keyboard as a person would; the files are read back with
# isql-fb once the program has ended. A new window's main flow is one more
# script beside the others, added to the list in CMakeLists.txt:
#
#     source "$(dirname "$0")/lib.sh"
#     e2e_init "$@"                  # arguments: the program, the source tree
#     e2e_start_desktop              # Xvfb on a free display of :91..:119, openbox
#     e2e_keymap "晴れ東京湾"        # every non-ASCII character typed later
#     e2e_start_program              # fresh database files in a temporary directory
#     main=$(e2e_shown "釣果記録" 600 480)       # found by caption and client size
#     e2e_box_ok "$main"             # OK on the message box over it; main active again
#     e2e_click "$main" 440 112      # client coordinates, as the window's design gives them
#     entry=$(e2e_window "釣果記録" 960 710)     # shown and active
#     e2e_click "$entry" 416 60; e2e_type "$entry" "晴れ" Return
#     list=$(e2e_window "場所の選択" 600 450)    # a window it opened
#     ...
#     e2e_click "$main" 501 26; e2e_wait_program_end
#     rows=$(e2e_sql SORVENDA.FDB "select TENNKI, BASYO from FISH_DATA")
#     e2e_expect_eq "晴れ|東京湾" "$rows" "the row read back"   # '|' between columns
#     e2e_pass
#
# Every wait polls with a deadline (E2E_TIMEOUT seconds, 20 unless set); a
# failure prints what was expected and the windows on the screen, saves a
# screenshot in the run directory, and ends the script with status 1. The
# program, openbox and Xvfb are ended on exit. E2E_KEEP=1 keeps the run
# directory; E2E_TRACE=1 traces every command with its time. Windows are X
# window ids.
set -euo pipefail
export LC_ALL=C.UTF-8
if [ "${E2E_TRACE:-0}" = 1 ]; then
  PS4='+ ${EPOCHREALTIME} ${FUNCNAME[0]:-main} '
  set -x
fi

E2E_TIMEOUT=${E2E_TIMEOUT:-20}
# isql-fb reads the files back with Firebird 3, the program's engine (Debian
# 13's isql-fb takes the newest version installed otherwise).
export FIREBIRD_VERSION=3.0
E2E_PIDS=()
E2E_DIR=""
E2E_RUN=""                 # the program's directory: $E2E_DIR/run unless set before e2e_start_program
E2E_PROGRAM_ENV=()         # NAME=VALUE settings the program is started with
E2E_PROGRAM=""
E2E_SOURCE=""
E2E_PROGRAM_PID=""
E2E_MAPPED=""
E2E_NAME=$(basename "$0" .sh)

e2e_log() { printf '[%s %s] %s\n' "$E2E_NAME" "$(date +%T.%3N)" "$*" >&2; }

e2e_cleanup() {
  local rc=$?
  local i p end=$((SECONDS + 3))
  # The program first (it may still want the display), then openbox and Xvfb.
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    p=${E2E_PIDS[i]}
    kill "$p" 2>/dev/null || continue
    while kill -0 "$p" 2>/dev/null && [ "$SECONDS" -lt "$end" ]; do sleep 0.05; done
    kill -9 "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  if [ -n "$E2E_DIR" ] && [ -d "$E2E_DIR" ]; then
    if [ "$rc" -ne 0 ] || [ "${E2E_KEEP:-0}" = 1 ]; then
      e2e_log "run directory kept: $E2E_DIR"
    else
      rm -rf "$E2E_DIR"
    fi
  fi
  exit "$rc"
}

# e2e_init PROGRAM SOURCE_DIR: checks the tools and makes the run directory.
e2e_init() {
  E2E_PROGRAM=$(realpath "${1:?usage: script PROGRAM SOURCE_DIR}")
  E2E_SOURCE=$(realpath "${2:?usage: script PROGRAM SOURCE_DIR}")
  local t
  for t in Xvfb openbox xdotool xprop xwininfo xmessage xkbcomp xmodmap xclip isql-fb iconv; do
    command -v "$t" >/dev/null || { e2e_log "missing $t (run scripts/install-deps.sh)"; exit 1; }
  done
  [ -x "$E2E_PROGRAM" ] || { e2e_log "no program at $E2E_PROGRAM"; exit 1; }
  E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-e2e-XXXXXX")
  export FIREBIRD_LOCK=${FIREBIRD_LOCK:-${TMPDIR:-/tmp}/tolvane-fblock-$(id -u)}
  mkdir -p "$FIREBIRD_LOCK"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
}

e2e_fail() {
  e2e_log "FAILED: $*"
  if [ -n "${DISPLAY:-}" ]; then
    e2e_log "windows on the screen:"
    local w
    for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
      e2e_log "  $w \"$(xdotool getwindowname "$w" 2>/dev/null)\" $(e2e_size "$w" 2>/dev/null || true)"
    done
    e2e_log "active: $(xdotool getactivewindow 2>/dev/null || echo none)"
    if command -v import >/dev/null; then
      import -window root "$E2E_DIR/failure.png" 2>/dev/null && e2e_log "screenshot: $E2E_DIR/failure.png"
    fi
  fi
  [ -f "$E2E_DIR/program.log" ] && { e2e_log "program output:"; sed 's/^/    /' "$E2E_DIR/program.log" >&2; }
  exit 1
}

# e2e_poll SECONDS COMMAND...: runs COMMAND until it succeeds or the time is up.
e2e_poll() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# --- the desktop ------------------------------------------------------------

e2e_wm_running() {
  [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]
}

e2e_display_is() {
  kill -0 "$2" 2>/dev/null && [ "$(tr -dc 0-9 2>/dev/null <"/tmp/.X$1-lock")" = "$2" ] &&
    xdotool getdisplaygeometry >/dev/null 2>&1
}

# Our server is up on :N, or has ended (another run took the display).
e2e_display_settled() { e2e_display_is "$1" "$2" || ! kill -0 "$2" 2>/dev/null; }

# The displays the runs may use: :91..:119 without :96..:99 (the benchmarks').
E2E_DISPLAYS=(91 92 93 94 95 $(seq 100 119))

# e2e_start_desktop [WIDTHxHEIGHT]: starts Xvfb with a screen of that size
# (1280x1024 unless given) on the first free display of E2E_DISPLAYS and
# openbox on it. Xvfb takes a display by creating its lock file, which only
# one server can do: a run that loses the race sees its server end and tries
# the next one.
e2e_start_desktop() {
  local n pid screen=${1:-1280x1024}
  for n in "${E2E_DISPLAYS[@]}"; do
    # A display in use is skipped; Xvfb itself clears the lock of a dead one.
    if [ -e "/tmp/.X$n-lock" ] && kill -0 "$(tr -dc 0-9 2>/dev/null <"/tmp/.X$n-lock")" 2>/dev/null; then
      continue
    fi
    Xvfb ":$n" -screen 0 "${screen}x24" -nolisten tcp -noreset >"$E2E_DIR/xvfb.log" 2>&1 &
    pid=$!
    export DISPLAY=":$n"
    # Ours only when the lock names our server (another run may have won it).
    if e2e_poll 10 e2e_display_settled "$n" "$pid" && e2e_display_is "$n" "$pid"; then
      E2E_PIDS+=("$pid")
      break
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    unset DISPLAY
  done
  [ -n "${DISPLAY:-}" ] || { e2e_log "no free display among :${E2E_DISPLAYS[0]}..:${E2E_DISPLAYS[-1]}"; exit 1; }
  openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
  E2E_PIDS+=("$!")
  e2e_poll 10 e2e_wm_running || e2e_fail "openbox did not start on $DISPLAY"
  e2e_log "desktop on $DISPLAY"
}

# e2e_panel HEIGHT: a panel HEIGHT pixels high along the bottom of the
# screen, as a desktop's task bar: the screen's available area
# (_NET_WORKAREA) ends above it.
e2e_panel() {
  local height=$1 w="" sw sh
  read -r sw sh < <(xdotool getdisplaygeometry)
  E2E_PANEL_PID=""
  E2E_PANEL_GEOMETRY="${sw}x${height}+0+$((sh - height))"
  e2e_poll "$E2E_TIMEOUT" eval 'e2e_panel_up && w=$(xdotool search --onlyvisible --name "^e2e-panel\$" 2>/dev/null | head -1) && [ -n "$w" ]' ||
    e2e_fail "the panel window did not appear: $(tail -3 "$E2E_DIR/panel.log" 2>/dev/null)"
  xprop -id "$w" -f _NET_WM_STRUT_PARTIAL 32c -set _NET_WM_STRUT_PARTIAL \
    "0, 0, 0, $height, 0, 0, 0, 0, 0, 0, 0, $((sw - 1))"
  xdotool windowmove "$w" 0 $((sh - height))
  e2e_poll "$E2E_TIMEOUT" eval '[ "$(e2e_workarea)" = "0 0 $sw $((sh - height))" ]' ||
    e2e_fail "the panel took no room: $(e2e_workarea)"
}

# The panel's program runs, started again should it have ended (its output
# kept in panel.log).
e2e_panel_up() {
  if [ -z "$E2E_PANEL_PID" ] || ! kill -0 "$E2E_PANEL_PID" 2>/dev/null; then
    xmessage -name e2e-panel -geometry "$E2E_PANEL_GEOMETRY" " " >>"$E2E_DIR/panel.log" 2>&1 &
    E2E_PANEL_PID=$!
    E2E_PIDS+=("$E2E_PANEL_PID")
  fi
}

# e2e_workarea: "X Y WIDTH HEIGHT" of the screen's available area.
e2e_workarea() {
  xprop -root _NET_WORKAREA | sed -E 's/^[^=]*= *//; s/, */ /g' | cut -d' ' -f1-4
}

# e2e_frame W: "X Y WIDTH HEIGHT" of W's frame on the screen: its client area
# and the window manager's title bar and edges round it.
e2e_frame() {
  local x y w h l r t b
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}')
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -E 's/^[^=]*= *//; s/, */ /g')
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# e2e_expect_on_screen W WHAT: fails unless W's whole frame, title bar
# included, lies inside the screen's available area.
e2e_expect_on_screen() {
  local fx fy fw fh ax ay aw ah
  read -r fx fy fw fh < <(e2e_frame "$1")
  read -r ax ay aw ah < <(e2e_workarea)
  [ "$fx" -ge "$ax" ] && [ "$fy" -ge "$ay" ] && [ $((fx + fw)) -le $((ax + aw)) ] && [ $((fy + fh)) -le $((ay + ah)) ] ||
    e2e_fail "$2: frame $fx,$fy ${fw}x$fh outside the available area $ax,$ay ${aw}x$ah"
  e2e_log "ok: $2 on the screen (frame $fx,$fy ${fw}x$fh)"
}

# e2e_window_new CAPTION W...: waits until a window with this caption other
# than the windows W... (whatever its size) is shown and active; prints its id.
e2e_window_new() {
  local caption=$1 w=""
  shift
  local known=" $* "
  e2e_poll "$E2E_TIMEOUT" eval 'w=$(xdotool getactivewindow 2>/dev/null) && [[ $known != *" $w "* ]] &&
    [ "$(xdotool getwindowname "$w")" = "$caption" ]' || e2e_fail "no new window \"$caption\" became active"
  echo "$w"
}

# --- the program ------------------------------------------------------------

# e2e_start_program [SETUP]: fresh database files in the run directory
# (E2E_RUN, any name; after SETUP, a function run there, when given), then the
# program started there with E2E_PROGRAM_ENV added to its environment.
e2e_start_program() {
  E2E_RUN=${E2E_RUN:-$E2E_DIR/run}
  mkdir -p "$E2E_RUN"
  bash "$E2E_SOURCE/scripts/create-databases.sh" "$E2E_RUN" >/dev/null
  if [ $# -gt 0 ]; then (cd "$E2E_RUN" && "$@"); fi
  (cd "$E2E_RUN" && exec env QT_QPA_PLATFORM=xcb "${E2E_PROGRAM_ENV[@]}" "$E2E_PROGRAM") >"$E2E_DIR/program.log" 2>&1 &
  E2E_PROGRAM_PID=$!
  E2E_PIDS+=("$E2E_PROGRAM_PID")
}

e2e_program_ended() { ! kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; }

# Waits until the program has ended by itself; fails when it ran on or crashed.
e2e_wait_program_end() {
  e2e_poll "$E2E_TIMEOUT" e2e_program_ended || e2e_fail "the program did not end"
  local rc=0
  wait "$E2E_PROGRAM_PID" || rc=$?
  [ "$rc" -eq 0 ] || e2e_fail "the program ended with status $rc"
}

# --- windows ----------------------------------------------------------------

# e2e_size W: "WIDTHxHEIGHT" of the window's client area.
e2e_size() {
  xdotool getwindowgeometry "$1" | sed -n 's/^ *Geometry: *//p'
}

e2e_find() {
  xdotool search --onlyvisible --name "^${1}\$" getwindowgeometry %@ 2>/dev/null |
    awk -v size="$2" '/^Window /{w=$2} /Geometry:/{ if (!found && $2 == size) { print w; found=1 } }
                      END { exit !found }'
}

e2e_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# e2e_shown CAPTION WIDTH HEIGHT: waits until a window with this caption and
# client size is shown, and prints its id.
e2e_shown() {
  local caption=$1 size="$2x$3" w=""
  e2e_poll "$E2E_TIMEOUT" eval 'w=$(e2e_find "$caption" "$size")' ||
    e2e_fail "no window \"$caption\" of $size"
  echo "$w"
}

# e2e_window CAPTION WIDTH HEIGHT: the same, and waits until it is active.
e2e_window() {
  local w
  w=$(e2e_shown "$@") || exit 1
  e2e_poll "$E2E_TIMEOUT" e2e_is_active "$w" || e2e_fail "window \"$1\" ($w) never became active"
  echo "$w"
}

# e2e_wait_active W: waits until W is the active window (a box over it closed).
e2e_wait_active() {
  e2e_poll "$E2E_TIMEOUT" e2e_is_active "$1" ||
    e2e_fail "window $1 \"$(xdotool getwindowname "$1" 2>/dev/null)\" is not active again"
}

# (Output is captured before it is searched: with pipefail, grep -q ending a
# pipe early would make the pipe fail.)
e2e_gone() {
  local shown
  shown=$(xdotool search --onlyvisible --name '.' 2>/dev/null || true)
  [[ $'\n'$shown$'\n' != *$'\n'"$1"$'\n'* ]]
}

# e2e_wait_gone W: waits until W has closed.
e2e_wait_gone() {
  e2e_poll "$E2E_TIMEOUT" e2e_gone "$1" || e2e_fail "window $1 did not close"
}

# e2e_dropped WIDTH: waits until a combo box's list of WIDTH pixels (the box's
# width) is dropped down, and prints its id: a window of the program that is
# not the active one (the list never takes the activation; its caption, when
# it has one, is the program's name).
e2e_find_list() {
  xdotool search --onlyvisible --classname '^tolvane$' getwindowgeometry %@ 2>/dev/null |
    awk -v width="$1" -v active="$(xdotool getactivewindow 2>/dev/null)" '
      /^Window /{w=$2} /Geometry:/{ split($2, s, "x"); if (!found && s[1] == width && w != active) { print w; found=1 } }
      END { exit !found }'
}

e2e_dropped() {
  local width=$1 w=""
  e2e_poll "$E2E_TIMEOUT" eval 'w=$(e2e_find_list "$width")' || e2e_fail "no list of width $width dropped down"
  echo "$w"
}

# e2e_wait_list_closed WIDTH: waits until no list of WIDTH pixels is down.
e2e_wait_list_closed() {
  local width=$1
  e2e_poll "$E2E_TIMEOUT" eval '! e2e_find_list "$width" >/dev/null' ||
    e2e_fail "the list of width $width stayed down"
}

# e2e_no_window CAPTION WIDTH HEIGHT: fails when such a window is shown.
e2e_no_window() {
  if e2e_find "$1" "$2x$3" >/dev/null; then e2e_fail "unexpected window \"$1\" of $2x$3"; fi
}

# --- the mouse and the keyboard (the window must be in front) ---------------

e2e_click() {
  e2e_is_active "$1" || e2e_fail "click into $1, which is not the active window"
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

e2e_dblclick() {
  e2e_is_active "$1" || e2e_fail "double click into $1, which is not the active window"
  xdotool mousemove --window "$1" "$2" "$3" click --repeat 2 --delay 80 1
}

# e2e_type W TEXT [KEY...]: types TEXT into the focused control of W, then
# presses the KEYs (xdotool names: Return, Tab, BackSpace). Typing goes to the
# active window: call it after e2e_window, e2e_wait_active or a click into W.
# Characters other than ASCII need keys of their own: give them to
# e2e_keymap first.
e2e_type() {
  local text=$2 i c
  shift 2
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    if [[ $c == [![:ascii:]] && $E2E_MAPPED != *"$c"* ]]; then
      e2e_fail "\"$c\" has no key: add it to e2e_keymap before e2e_start_program"
    fi
  done
  xdotool type --delay 40 -- "$text"
  [ $# -eq 0 ] || xdotool key --delay 40 "$@"
}

# e2e_key W KEY...: presses keys in W (as e2e_type).
e2e_key() {
  shift
  xdotool key --delay 40 "$@"
}

# e2e_keymap TEXT...: puts every character of TEXT other than ASCII on a key
# of the virtual keyboard (in place of its multimedia keys), two to a key.
# Call it before e2e_start_program. Without it xdotool would lend a key to each
# character for one keystroke only, and a program that reads the changed key
# map late (as Qt does under load) loses characters.
e2e_keymap() {
  local text="$*" i c syms=() keys=() sedscript="" n k=0 d loaded=0
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    [[ $c == [![:ascii:]] && $E2E_MAPPED != *"$c"* ]] || continue
    E2E_MAPPED+=$c
    syms+=("$(printf 'U%04X' "'$c")")
  done
  [ ${#syms[@]} -gt 0 ] || return 0
  xkbcomp -xkb "$DISPLAY" "$E2E_DIR/keymap.xkb" 2>/dev/null || e2e_fail "cannot read the key map"
  mapfile -t keys < <(grep -oE '^ *key <I[0-9]+> \{ *\[ *XF86[A-Za-z0-9_]* *\] *\};' "$E2E_DIR/keymap.xkb" |
    grep -oE '<I[0-9]+>')
  for ((n = 0; n < ${#syms[@]}; n += 2)); do
    [ "$k" -lt ${#keys[@]} ] || e2e_fail "e2e_keymap: no keys left"
    sedscript+="s/^( *key ${keys[k]} )\\{[^}]*\\};/\\1{ [ ${syms[n]}, ${syms[n + 1]:-${syms[n]}} ] };/"$'\n'
    k=$((k + 1))
  done
  sed -E "$sedscript" "$E2E_DIR/keymap.xkb" >"$E2E_DIR/keymap-new.xkb"
  # The core keyboard, the XTEST keyboard xdotool types with, Xvfb's own.
  for d in 3 5 7; do
    xkbcomp -w 0 -i "$d" "$E2E_DIR/keymap-new.xkb" "$DISPLAY" >/dev/null 2>&1 && loaded=1
  done
  local now
  now=$(xmodmap -pke)
  [ "$loaded" = 1 ] && [[ $now == *" ${syms[0]} "* ]] || e2e_fail "e2e_keymap: the key map was not taken"
}

# e2e_box_ok OWNER: waits for the program's message box in front of OWNER,
# presses OK with the keyboard, and waits until OWNER is active again.
e2e_box_ok() {
  local box
  box=$(e2e_box)
  e2e_key "$box" Return
  e2e_wait_gone "$box"
  e2e_wait_active "$1"
}

# e2e_box: waits for a message box (titled with the program's name) to be the
# active window and prints its id.
e2e_box() {
  local box=""
  e2e_poll "$E2E_TIMEOUT" eval 'box=$(xdotool getactivewindow 2>/dev/null) && [ "$(xdotool getwindowname "$box")" = Tolvane ]' ||
    e2e_fail "no message box in front"
  echo "$box"
}

# e2e_box_text BOX: the text of a message box, its lines as shown, read
# through the clipboard (Ctrl+C in a box copies its text).
e2e_box_text() {
  local text="" mark="e2e-$$-$RANDOM"
  # xclip takes the clipboard in the background: wait until it holds the mark.
  printf '%s' "$mark" | xclip -selection clipboard -i >/dev/null 2>&1
  e2e_poll "$E2E_TIMEOUT" eval '[ "$(xclip -selection clipboard -o 2>/dev/null)" = "$mark" ]' ||
    e2e_fail "the clipboard cannot be set"
  e2e_key "$1" ctrl+c
  e2e_poll "$E2E_TIMEOUT" eval 'text=$(xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null) && [ -n "$text" ] && [ "$text" != "$mark" ]' ||
    e2e_fail "nothing copied from the box $1"
  printf '%s\n' "$text" | tr -d '\r'
}

# e2e_text W X Y: the whole text of the box at X Y (client coordinates),
# read through the clipboard: a click into it, Ctrl+A, Ctrl+C.
e2e_text() {
  local text=""
  xclip -selection clipboard -i </dev/null >/dev/null 2>&1   # ends when the program takes it
  e2e_click "$1" "$2" "$3"
  e2e_key "$1" ctrl+a ctrl+c
  e2e_poll "$E2E_TIMEOUT" eval 'text=$(xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null) && [ -n "$text" ]' ||
    e2e_fail "nothing copied from $1 at $2,$3"
  printf '%s\n' "$text" | tr -d '\r'
}

# --- the files --------------------------------------------------------------

# e2e_sql FILE STATEMENT: the rows of a select on FILE (a name in the run
# directory, E2E_RUN), one a line, columns separated by '|', text as UTF-8, NULL as
# "<null>" (no blob columns). Run it after the program has ended: it holds
# the files while it runs.
e2e_sql() {
  local script out
  script=$(mktemp "$E2E_DIR/sql-XXXXXX")
  out=$(mktemp "$E2E_DIR/out-XXXXXX")
  # The file by its bare name, joined by the engine to ISC_PATH unexpanded:
  # the kernel finds the directory, whatever bytes or ':' its path holds.
  printf "SET LIST ON;\nSET BAIL ON;\nCONNECT '%s' USER 'kvo' PASSWORD '9517';\n%s;\n" \
    "$1" "$2" | iconv -f UTF-8 -t CP932 >"$script"
  (cd "${E2E_RUN:-$E2E_DIR/run}" && ISC_PATH=/proc/self/cwd isql-fb -q -i "$script" -o "$out" -m) >/dev/null 2>&1 ||
    { cat "$out" >&2; e2e_fail "isql-fb: $2"; }
  # List mode: "COLUMN   value" lines, a blank line after each row.
  iconv -f CP932 -t UTF-8 "$out" | awk '
    /^[[:space:]]*$/ { if (row != "") print row; row = ""; n = 0; next }
    { v = $0; sub(/^[^[:space:]]+[[:space:]]+/, "", v); if (v == $0) v = "";
      row = (n++ ? row "|" : "") v }
    END { if (row != "") print row }'
  rm -f "$script" "$out"
}

# e2e_expect_eq EXPECTED ACTUAL WHAT
e2e_expect_eq() {
  [ "$1" = "$2" ] || e2e_fail "$3: expected [$1], got [$2]"
  e2e_log "ok: $3"
}

e2e_pass() { e2e_log "passed"; }
