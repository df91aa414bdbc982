#!/usr/bin/env bash
# The maintenance window: on fresh files the start tells that the lessons
# table is missing; "「課題」用のＤＢを作成" makes it, says so and closes the
# window, and the next start says nothing. Then a catch record is removed by a
# double click on its row and "削　除".
#   tests/e2e/maintenance.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
e2e_start_program

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # no lessons table
e2e_click "$main" 440 272                      # メンテナンス
mente=$(e2e_window "メンテナンス" 800 600)
e2e_click "$mente" 388 24                      # 「課題」用のＤＢを作成
box=$(e2e_box)
e2e_key "$box" Return                          # データベースを作成しました
e2e_wait_gone "$box"
e2e_wait_gone "$mente"
e2e_wait_active "$main"
e2e_log "ok: the table was made and the window closed"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

e2e_expect_eq "0" "$(e2e_sql KELDMARK.FDB "select count(*) from FISH_KADAI")" "the lessons table exists"

# Two records; the second is removed.
e2e_sql SORVENDA.FDB "insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1) values (1, '2024/05/01', '東京湾', 'アジ');
  insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1) values (2, '2024/05/08', '相模湾', 'サバ');
  commit" >/dev/null

# No box this time: the main window stays active.
e2e_start_program
main=$(e2e_window "釣果記録" 600 480)
quiet() { e2e_is_active "$main"; }
for _ in $(seq 20); do quiet || e2e_fail "a window came over the main window at the start"; sleep 0.05; done
e2e_log "ok: no message at the second start"

e2e_click "$main" 440 272                      # メンテナンス
mente=$(e2e_window "メンテナンス" 800 600)
e2e_dblclick "$mente" 60 172                  # the second row
e2e_expect_eq "2" "$(e2e_text "$mente" 208 496)" "the double click named the record"
e2e_click "$mente" 376 499                     # 削　除
# The row has left the grid: a double click there names nothing any more,
# and the delete asks for a number.
e2e_dblclick "$mente" 60 172
e2e_click "$mente" 376 499
e2e_box_ok "$mente"                            # 番号を入力してください
e2e_click "$mente" 668 24                      # 戻　る
e2e_wait_gone "$mente"
e2e_wait_active "$main"
e2e_click "$main" 501 26
e2e_wait_program_end

e2e_expect_eq "1|東京湾" "$(e2e_sql SORVENDA.FDB "select CODENO, BASYO from FISH_DATA")" \
  "the double-clicked record is gone, the other kept"
e2e_pass
