#!/usr/bin/env bash
# The catch totals as a user looks them up, over three trips of one species in
# this year and the year before: "各種分析", the per-year and the per-month
# totals with the species picked from their list, the year-by-month table
# after the species picker, and the picker cancelled (no table). Each window
# closes back to the one that opened it; nothing is written to the files.
#   tests/e2e/totals.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"

YEAR=$(date +%Y)
PRIOR=$((YEAR - 1))
ROWS="1|$YEAR/05/10|アジ|5
2|$YEAR/06/01|アジ|3
3|$PRIOR/05/20|アジ|7"

# plant: three trips, run in the run directory before the program starts.
plant() {
  e2e_sql SORVENDA.FDB "insert into FISH_DATA (CODENO, DAY_DATA, FISH1, FISH1_KAZU)
      values (1, '$YEAR/05/10', 'アジ', 5);
    insert into FISH_DATA (CODENO, DAY_DATA, FISH1, FISH1_KAZU) values (2, '$YEAR/06/01', 'アジ', 3);
    insert into FISH_DATA (CODENO, DAY_DATA, FISH1, FISH1_KAZU) values (3, '$PRIOR/05/20', 'アジ', 7);
    commit" >/dev/null
}

# table BUTTON_X BUTTON_Y CAPTION: opens a totals table from the analysis
# window, picks the species, and closes it again.
table() {
  local t
  e2e_click "$bunseki" "$1" "$2"
  t=$(e2e_window "$3" 560 420)
  e2e_click "$t" 60 101                        # the species (below the empty entry of the trips' empty slots)
  # Still there after the pick, and in front.
  e2e_wait_active "$t"
  e2e_click "$t" 472 24                        # 戻　る
  e2e_wait_gone "$t"
  e2e_wait_active "$bunseki"
  e2e_log "ok: \"$3\" shown with the species picked, and closed"
}

e2e_init "$@"
e2e_start_desktop
e2e_start_program plant
e2e_expect_eq "$ROWS" "$(e2e_sql SORVENDA.FDB "select CODENO, DAY_DATA, FISH1, FISH1_KAZU from FISH_DATA order by 1")" \
  "the trips planted"

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # a fresh memo file has no lessons table
e2e_click "$main" 152 304                      # 各種分析
bunseki=$(e2e_window "各種分析" 400 300)

table 200 105 "年度ごとの累計"                # 年度毎の釣果
table 200 153 "月別の累計"                    # 月別の釣果

# The year-by-month table opens after the species picker.
e2e_click "$bunseki" 200 201                   # 年度別　月別釣果
picker=$(e2e_window "FishNameF" 300 400)
e2e_click "$picker" 60 69                      # the species, below the empty entry
e2e_wait_gone "$picker"
nm=$(e2e_window "年度別月別釣果" 900 480)
e2e_click "$nm" 800 32                         # 戻　る
e2e_wait_gone "$nm"
e2e_wait_active "$bunseki"
e2e_log "ok: the year-by-month table shown after the picker, and closed"

# Cancelled, the picker opens no table.
e2e_click "$bunseki" 200 201
picker=$(e2e_window "FishNameF" 300 400)
e2e_click "$picker" 224 20                     # キャンセル
e2e_wait_gone "$picker"
e2e_wait_active "$bunseki"
e2e_no_window "年度別月別釣果" 900 480
e2e_log "ok: the cancelled picker opened no table"

e2e_click "$bunseki" 312 32                    # 閉じる
e2e_wait_gone "$bunseki"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

e2e_expect_eq "$ROWS" "$(e2e_sql SORVENDA.FDB "select CODENO, DAY_DATA, FISH1, FISH1_KAZU from FISH_DATA order by 1")" \
  "the trips unchanged"
e2e_expect_eq "0" "$(e2e_sql SORVENDA.FDB "select count(*) from FISH_ADDR")" "no other rows written"
e2e_pass
