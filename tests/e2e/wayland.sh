#!/usr/bin/env bash
# The program on a headless sway with XWayland and the Qt Wayland plugin: with
# no platform named it runs on X, and the lists the catch entry's refusal
# opens take the keys; QT_QPA_PLATFORM=wayland is obeyed; an X display that
# does not answer leaves it on Wayland. sway runs as nobody for root (it
# refuses root). Exits 77 (skipped) when a tool or the plugin is missing.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
for t in sway swaymsg wtype Xwayland jq /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so; do
  command -v "$t" >/dev/null || [ -e "$t" ] ||
    { e2e_log "SKIPPED: no $t (scripts/install-deps.sh installs it)"; rm -rf "$E2E_DIR"; exit 77; }
done
WL_HOME="${E2E_DIR:?}/home" WL_USER=$(id -un)
mkdir -m 700 -p "$WL_HOME/run"
# focus_on_window_activation: a window asking to come to the front gets the
# keyboard, as on GNOME (sway's default only marks it).
printf '%s\n' 'xwayland enable' 'default_floating_border none' 'focus_on_window_activation focus' \
  "exec sh -c 'echo \$DISPLAY \$WAYLAND_DISPLAY >$WL_HOME/display'" >"$E2E_DIR/sway.conf"
AS_USER=()
if [ "$WL_USER" = root ]; then
  WL_USER=nobody AS_USER=(runuser -u nobody --)
  chmod 755 "$E2E_DIR"
  chown -R nobody: "$WL_HOME"
fi
"${AS_USER[@]}" env -i HOME="$WL_HOME" XDG_RUNTIME_DIR="$WL_HOME/run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
  WLR_RENDERER=pixman PATH=/usr/bin:/bin sway -c "$E2E_DIR/sway.conf" >"$E2E_DIR/sway.log" 2>&1 &
E2E_PIDS+=("$!")
e2e_poll 10 test -s "$WL_HOME/display" || e2e_fail "sway did not start: $(tail -3 "$E2E_DIR/sway.log")"
read -r DISPLAY WAYLAND_DISPLAY <"$WL_HOME/display"
[ -n "$WAYLAND_DISPLAY" ] || e2e_fail "sway has no X display: $(tail -3 "$E2E_DIR/sway.log")"
export DISPLAY WAYLAND_DISPLAY="$WL_HOME/run/$WAYLAND_DISPLAY" SWAYSOCK=$(echo "$WL_HOME"/run/sway-ipc.*)
E2E_PIDS+=("$(basename "$SWAYSOCK" | cut -d. -f3)")   # sway itself, ended first (its socket bears its id)
[ -z "${AS_USER[*]}" ] || "${AS_USER[@]}" env DISPLAY="$DISPLAY" xhost "+si:localuser:$(id -un)" >/dev/null
# A keyboard plugged in for the whole run (a wtype reading its text holds
# one); each key is typed by a wtype of its own.
mkfifo "$E2E_DIR/keys"
wtype - <"$E2E_DIR/keys" &
E2E_PIDS+=("$!")
exec 7>"$E2E_DIR/keys"
# wl_window CAPTION [WIDTH HEIGHT]: waits until that window has the keyboard;
# WSHELL is then xwayland (an X window) or xdg_shell.
wl_window() {
  local n=$1 s=${2:+$2x$3} q='.. | objects | select(.focused and .name == $n and
    ($s == "" or "\(.window_rect.width)x\(.window_rect.height)" == $s)) | .shell'
  e2e_poll "$E2E_TIMEOUT" eval 'WSHELL=$(swaymsg -t get_tree | jq -r --arg n "$n" --arg s "$s" "$q") && [ -n "$WSHELL" ]' ||
    e2e_fail "\"$n\" $s has not the keyboard: $(swaymsg -t get_tree | jq -c '[.. | objects | select(.pid?) | [.name, .focused]]')"
}
wl_keys() { sleep 0.5; wtype -d 40 "$@"; }   # half a second after the window showed, as a person
# wl_start [NAME=VALUE...]: the program on fresh files, no platform named unless given.
wl_start() {
  E2E_RUN="$E2E_DIR/run$RANDOM" E2E_PROGRAM_ENV=(QT_QPA_PLATFORM= "$@")
  e2e_start_program
  wl_window Tolvane                                 # a fresh memo file has no lessons table
  wl_keys -k Return
  wl_window "釣果記録" 600 480
}
wl_stop() { kill "$E2E_PROGRAM_PID"; e2e_wait_program_end; }
wl_start
e2e_expect_eq xwayland "$WSHELL" "no platform named: the program runs on X"
wl_keys -k Tab -k Tab -k Tab -k Tab -k space      # ＤＡＴＡ　入力
wl_window "釣果記録" 960 710
wl_keys -M shift -k Tab -k Tab -k Tab -k Tab -m shift -k space   # from the number back to 入　力
wl_window Tolvane
wl_keys -k Return
wl_window "魚種の選択" 600 450
wl_keys -k Return                                 # answers the list
wl_window "場所の選択" 600 450
wl_keys -k Return
wl_window "釣果記録" 960 710
e2e_log "ok: after the refusal the species list took the keys, then the place list"
wl_stop
wl_start QT_QPA_PLATFORM=wayland
e2e_expect_eq xdg_shell "$WSHELL" "QT_QPA_PLATFORM=wayland is obeyed"
wl_stop
wl_start DISPLAY=:199
e2e_expect_eq xdg_shell "$WSHELL" "an X display that does not answer: the program runs on Wayland"
wl_stop
e2e_pass
