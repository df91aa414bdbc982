#!/usr/bin/env bash
# The catch entry window as a new user meets it: the save refused with place
# and species empty opens the species list, then the place list, and leaves
# the caret in the place box; a trip typed through the Enter chain with its
# pick lists (a tide name typed into its dropped-down list); "入　力",
# "入力完了"; the row read back from the file.
#   tests/e2e/catch_entry.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
e2e_keymap "晴れ東京湾第一丸アジ満"
e2e_start_program

# A fresh memo file has no lessons table: the start says so.
main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"
e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
entry=$(e2e_window "釣果記録" 960 710)

# The refusal: message, then the species list, then the place list.
e2e_click "$entry" 881 75                      # 入　力
box=$(e2e_box)
e2e_key "$box" Return
list=$(e2e_window "魚種の選択" 600 450)
e2e_click "$list" 514 397                      # 選択せずに戻る
e2e_wait_gone "$list"
list=$(e2e_window "場所の選択" 600 450)
e2e_click "$list" 514 397
e2e_wait_gone "$list"
e2e_wait_active "$entry"
e2e_log "ok: the refusal opened the species list, then the place list"
# The caret is in the place box: Enter goes on to the boat box, whose list opens.
e2e_key "$entry" Return
list=$(e2e_window "選択" 600 450)
e2e_click "$list" 514 397
e2e_wait_gone "$list"
e2e_wait_active "$entry"
e2e_log "ok: the caret was left in the place box"

# pick LIST_CAPTION VALUE: answers the list that opened with a new value.
pick() {
  local l
  l=$(e2e_window "$1" 600 450)
  e2e_click "$l" 68 397                        # the new-value box
  e2e_type "$l" "$2" Return
  e2e_wait_gone "$l"
  e2e_wait_active "$entry"
}

# The trip, through the Enter chain.
e2e_click "$entry" 416 60                      # weather
e2e_type "$entry" "晴れ" Return
pick "場所の選択" "東京湾"
e2e_key "$entry" Return
pick "選択" "第一丸"
# A tide name no item begins with, typed while the list is dropped down:
# Enter closes the list, keeps the name and goes on to the reference port.
e2e_key "$entry" Return F4                     # the tide name; its list drops down
e2e_dropped 97 >/dev/null
e2e_type "$entry" "満" Return
e2e_wait_list_closed 97
list=$(e2e_window "選択" 600 450)
e2e_log "ok: Enter with nothing marked in the tide list went on to the reference port"
e2e_click "$list" 514 397
e2e_wait_gone "$list"
e2e_wait_active "$entry"
e2e_key "$entry" Return Return                 # the old calendar date, the first high tide
e2e_type "$entry" "6" Return
e2e_type "$entry" "30" Return
e2e_type "$entry" "150" Return
e2e_key "$entry" Return                        # no second high tide
e2e_type "$entry" "12" Return
e2e_type "$entry" "45" Return
e2e_type "$entry" "20" Return
e2e_key "$entry" Return                        # no second low tide: the species
pick "魚種の選択" "アジ"
e2e_key "$entry" Return
e2e_type "$entry" "25" Return
e2e_type "$entry" "18" Return
e2e_type "$entry" "12" Return

e2e_click "$entry" 881 75                      # 入　力
e2e_box_ok "$entry"                            # 入力完了
e2e_click "$entry" 900 19                      # 戻　る
e2e_wait_gone "$entry"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

rows=$(e2e_sql SORVENDA.FDB "select CODENO, DAY_DATA, TENNKI, BASYO, FUNE, SHIO, KIJYUNN,
  MAX1, MAX1_HIGHT, MAX2, MIN1, MIN1_LOW, FISH1, FISH1_MAX, FISH1_MIN, FISH1_KAZU, FISH2
  from FISH_DATA")
e2e_expect_eq "1|$(date +%Y/%m/%d)|晴れ|東京湾|第一丸|満||06:30|150|<null>|12:45|20|アジ|25|18|12|" \
  "$rows" "the row read back"
e2e_pass
