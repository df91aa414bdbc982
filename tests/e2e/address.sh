#!/usr/bin/env bash
# The address book as a user meets it: "住所入力", an empty entry refused, a
# kind chosen from the drop-down list, shop, name and telephone typed, "入力";
# then "関連簡易住所録", the entry double-clicked in the list, its name
# corrected with "訂正"; after the list the corrected entry is shown once more.
# The row read back.
#   tests/e2e/address.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"

# unnamed_windows: the shown windows without a name, one a line.
unnamed_windows() { xdotool search --onlyvisible --maxdepth 1 --name '^$' 2>/dev/null | sort || true; }

# popup_shown BEFORE: a window without a name that BEFORE did not list (the
# drop-down list) is on the screen.
popup_shown() {
  local now
  now=$(unnamed_windows)
  [ -n "$(comm -13 <(echo "$1") <(echo "$now"))" ]
}

# pick_from_combo W X Y DOWNS: opens the drop-down list at (X, Y) of W and
# takes the entry DOWNS lines below the current one.
pick_from_combo() {
  local before keys=() i
  before=$(unnamed_windows)
  e2e_click "$1" "$2" "$3"
  e2e_poll "$E2E_TIMEOUT" popup_shown "$before" || e2e_fail "the drop-down list did not open"
  for ((i = 0; i < $4; i++)); do keys+=(Down); done
  e2e_key "$1" "${keys[@]}" Return
  e2e_poll "$E2E_TIMEOUT" eval '! popup_shown "$before"' || e2e_fail "the drop-down list did not close"
}

# other_window OLD CAPTION WIDTH HEIGHT: the active window when it is not OLD
# and has this caption and client size (the list and the entry look alike).
other_window() {
  local w="" old=$1 caption=$2 size="$3x$4"
  e2e_poll "$E2E_TIMEOUT" eval 'w=$(xdotool getactivewindow 2>/dev/null) && [ "$w" != "$old" ] &&
    [ "$(xdotool getwindowname "$w")" = "$caption" ] && [ "$(e2e_size "$w")" = "$size" ]' ||
    e2e_fail "no new window \"$2\" of $3x$4 in front of $1"
  echo "$w"
}

e2e_init "$@"
e2e_start_desktop
e2e_keymap "釣具店山田本"
e2e_start_program

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # a fresh memo file has no lessons table

# A new entry.
e2e_click "$main" 440 408                      # 住所入力
addr=$(e2e_window "住所録" 400 300)
e2e_click "$addr" 288 20                       # 入力 with shop and name empty: refused
e2e_box_ok "$addr"
pick_from_combo "$addr" 240 20 2               # 種　別: ---- → SHOP → 釣り船
e2e_click "$addr" 120 56                       # the shop
e2e_type "$addr" "釣具店"
e2e_click "$addr" 316 56                       # 名　前
e2e_type "$addr" "山田"
e2e_click "$addr" 120 84                       # 電　話
e2e_type "$addr" "03-1234-5678"
e2e_click "$addr" 288 20                       # 入力
e2e_wait_gone "$addr"
e2e_wait_active "$main"
e2e_log "ok: the entry window closed after 入力"

# The list has the entry: a double click on it opens it for correction.
e2e_click "$main" 440 368                      # 関連簡易住所録
list=$(e2e_window "住所録" 400 300)
e2e_dblclick "$list" 40 97                     # the first line
addr=$(other_window "$list" "住所録" 400 300)
e2e_log "ok: the list's entry opened"
e2e_click "$addr" 316 56                       # 名　前
e2e_key "$addr" ctrl+a
e2e_type "$addr" "山本"
e2e_click "$addr" 288 20                       # 訂正
e2e_wait_gone "$addr"
e2e_wait_active "$list"
e2e_click "$list" 349 20                       # 閉じる
e2e_wait_gone "$list"
# The entry just corrected is shown once more.
addr=$(e2e_window "住所録" 400 300)
e2e_click "$addr" 356 20                       # 閉じる
e2e_wait_gone "$addr"
e2e_wait_active "$main"
e2e_log "ok: the corrected entry was shown again after the list"

e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

rows=$(e2e_sql SORVENDA.FDB "select A00_CODENO, A01_SYBETU, A02_SHOP, A03_NAME, A04_TEL, A05_FAX,
  A07_ADDR1 from FISH_ADDR")
e2e_expect_eq "1|2|釣具店|山本|03-1234-5678||" "$rows" "the corrected row read back"
e2e_pass
