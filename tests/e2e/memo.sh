#!/usr/bin/env bash
# A fishing memo as a user writes and reads it: "ＭＥＭＯ　入力", species,
# method and place typed into their boxes (after a refused empty save), two months clicked, two lines of
# text, "登　　録"; the row read back column by column. Then "ＭＥＭＯ　表示"
# shows it, and a double click on a month panel turns that month on and
# another off in the file.
#   tests/e2e/memo.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
e2e_keymap "アジサビキ東京湾朝マヅメが良い本"
e2e_start_program

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # a fresh memo file has no lessons table

# retype W X Y TEXT: replaces the text of the box at (X, Y) of W.
retype() {
  e2e_click "$1" "$2" "$3"
  e2e_key "$1" ctrl+a
  e2e_type "$1" "$4"
}

e2e_click "$main" 440 168                      # ＭＥＭＯ　入力
input=$(e2e_window "釣り関連メモ　入力" 977 710)
e2e_click "$input" 872 57                      # 登　　録 with no text: refused
e2e_box_ok "$input"                            # 登録していません
retype "$input" 130 28 "アジ"                  # 魚　　種, the first box
retype "$input" 380 56 "サビキ"                # 釣り方
retype "$input" 380 84 "東京湾"                # 場所・地域
e2e_click "$input" 222 124                     # ３月
e2e_click "$input" 375 160                     # 12月
e2e_click "$input" 240 400                     # the text
e2e_type "$input" "朝マヅメが良い" Return
e2e_type "$input" "20本"
e2e_click "$input" 872 57                      # 登　　録
# Stored without a word: the window is emptied for the next memo.
e2e_click "$input" 872 23                      # 戻　　る
e2e_wait_gone "$input"
e2e_wait_active "$main"
e2e_log "ok: the memo was stored and the entry window closed"

# The viewer opens on the memo; a double click turns a month on or off.
e2e_click "$main" 152 208                      # ＭＥＭＯ　表示
show=$(e2e_window "釣り関連メモ" 960 710)
e2e_log "ok: the viewer is shown"
e2e_dblclick "$show" 300 132                   # ５月: on
e2e_dblclick "$show" 351 168                   # 12月: off
e2e_click "$show" 864 24                       # 戻　　る
e2e_wait_gone "$show"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

rows=$(e2e_sql KELDMARK.FDB "select CODE, FISH1, FISH2, FISH3, BUNRUI, TURI, BASYO,
  M1, M2, M3, M4, M5, M6, M7, M8, M9, M10, M11, M12,
  replace(replace(cast(F_MEMO as varchar(200)), ascii_char(13), '<CR>'), ascii_char(10), '<LF>') as T,
  iif(F_MAP is null, 'none', 'set') as P1, iif(F_PHOTO1 is null, 'none', 'set') as P2,
  iif(F_PHOTO5 is null, 'none', 'set') as P3 from FISH_MEMO")
# (The read-back drops leading spaces: the other species boxes hold " ----- ".)
e2e_expect_eq "1|アジ|----- |----- ||サビキ|東京湾|0|0|1|0|1|0|0|0|0|0|0|0|朝マヅメが良い<CR><LF>20本|none|none|none" \
  "$rows" "the memo row read back"
e2e_pass
