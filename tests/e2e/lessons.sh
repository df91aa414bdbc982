#!/usr/bin/env bash
# Lessons for the next trip: from the catch entry window, with a date, a place
# and a species, "次回への課題" takes a lesson and "入　力" stores it; the row
# is read back from the memo file. Then "課題を表示" finds it by its month.
#   tests/e2e/lessons.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
e2e_keymap "東京湾アジ潮止まり前に移動"

lessons_table() {
  e2e_sql KELDMARK.FDB "CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER,
    K01_FISH VARCHAR(40), K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10),
    K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ); commit" >/dev/null
}
e2e_start_program lessons_table

main=$(e2e_window "釣果記録" 600 480)          # the table exists: no message
e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
entry=$(e2e_window "釣果記録" 960 710)

# pick CAPTION VALUE: answers the pick list that opened with a new value.
pick() {
  local l
  l=$(e2e_window "$1" 600 450)
  e2e_click "$l" 68 397                        # the new-value box
  e2e_type "$l" "$2" Return
  e2e_wait_gone "$l"
  e2e_wait_active "$entry"
}

e2e_click "$entry" 268 59                      # the date
e2e_key "$entry" ctrl+a
e2e_type "$entry" "2024/05/03"
e2e_click "$entry" 148 91                      # the place: its list opens
pick "場所の選択" "東京湾"
e2e_click "$entry" 156 275                     # the first species: its list opens
pick "魚種の選択" "アジ"

e2e_click "$entry" 880 500                     # 次回への課題
kadai=$(e2e_window "次回への課題" 640 480)
e2e_expect_eq "東京湾|アジ| 5 月" \
  "$(e2e_text "$kadai" 76 43)|$(e2e_text "$kadai" 204 43)|$(e2e_text "$kadai" 296 43)" \
  "the trip's place, species and month handed over"
e2e_click "$kadai" 300 200                     # the lesson
e2e_type "$kadai" "潮止まり前に移動"
e2e_click "$kadai" 476 40                      # 入　力
e2e_wait_gone "$kadai"
e2e_wait_active "$entry"
e2e_log "ok: the lesson window closed after the input"
e2e_click "$entry" 900 19                      # 戻　る
e2e_wait_gone "$entry"
e2e_wait_active "$main"

# The lessons of May.
e2e_click "$main" 152 368                      # 課題を表示
sel=$(e2e_window "釣行時の課題を選択" 300 400)
e2e_click "$sel" 40 118                        # 釣行月で検索します
e2e_click "$sel" 209 148                       # ５
e2e_click "$sel" 144 328                       # the search
e2e_wait_gone "$sel"
out=$(e2e_window "釣行時の課題　表示" 640 480)
e2e_expect_eq "東京湾|アジ|潮止まり前に移動" \
  "$(e2e_text "$out" 76 43)|$(e2e_text "$out" 204 43)|$(e2e_text "$out" 300 200)" "the lesson shown"
e2e_click "$out" 572 40                        # 戻　る
e2e_wait_gone "$out"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

rows=$(e2e_sql KELDMARK.FDB "select K00_CODENO, K00_PAPANO, K01_FISH, K02_PLACE, K03_TUKI,
  cast(K10_MEMO as varchar(200)) from FISH_KADAI")
e2e_expect_eq "1|1|アジ|東京湾|5|潮止まり前に移動" "$rows" "the lesson read back"
e2e_pass
