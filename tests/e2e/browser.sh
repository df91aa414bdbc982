#!/usr/bin/env bash
# The catch browser on three stored trips: it opens on the newest, steps
# back one, takes a corrected count with "訂　正" (the row changes in the
# file), then "検　索" by a species shows only that species' trips.
#   tests/e2e/browser.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop

trips() {
  e2e_sql SORVENDA.FDB "insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1, FISH1_KAZU)
      values (1, '2024/05/01', '東京湾', 'アジ', 10);
    insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1, FISH1_KAZU)
      values (2, '2024/05/08', '相模湾', 'サバ', 3);
    insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1, FISH1_KAZU)
      values (3, '2024/06/01', '東京湾', 'アジ', 5);
    commit" >/dev/null
}
e2e_start_program trips

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # no lessons table
e2e_click "$main" 152 112                      # ＤＡＴＡ　表示
br=$(e2e_window "釣果記録" 960 710)

shown() {  # the number and first species of the trip shown
  echo "$(e2e_text "$br" 132 60)|$(e2e_text "$br" 156 276)"
}
e2e_expect_eq "3|アジ" "$(shown)" "the newest trip shown first"
e2e_click "$br" 495 19                         # －　１
e2e_expect_eq "2|サバ" "$(shown)" "one back"

e2e_click "$br" 120 340                        # the first species' count
e2e_key "$br" ctrl+a
e2e_type "$br" "7"
e2e_click "$br" 884 427                        # 訂　正
e2e_expect_eq "2|サバ" "$(shown)" "the corrected trip still shown"

e2e_click "$br" 884 189                        # 検　索
ks=$(e2e_window "検索" 300 400)
e2e_click "$ks" 36 66                          # 魚種で検索します
e2e_click "$ks" 128 92                         # the species list: "", アジ, サバ
e2e_dropped 145 >/dev/null                      # keys only once the list is down
e2e_key "$ks" Down Return
e2e_wait_list_closed 145
e2e_click "$ks" 144 328                        # the search
e2e_wait_gone "$ks"
e2e_wait_active "$br"
e2e_expect_eq "3|アジ" "$(shown)" "the last hit shown"
e2e_click "$br" 495 19                         # －　１: the other hit, not trip 2
e2e_expect_eq "1|アジ" "$(shown)" "one back among the hits"

e2e_click "$br" 856 19                         # 戻　る
e2e_wait_gone "$br"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

rows=$(e2e_sql SORVENDA.FDB "select CODENO, BASYO, FISH1, FISH1_KAZU from FISH_DATA order by CODENO")
e2e_expect_eq "1|東京湾|アジ|10
2|相模湾|サバ|7
3|東京湾|アジ|5" "$rows" "only the corrected count changed"
e2e_pass
