#!/usr/bin/env bash
# The memo viewer after its maintenance window deleted the memo shown: back
# in the viewer the next memo is shown, and a correction goes to it. With the
# last memo deleted the viewer is empty; a correction there is refused with a
# message and keeps the text typed, a month double click too, and nothing is
# written.
#   tests/e2e/memo_maintenance.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop

memos() {
  e2e_sql KELDMARK.FDB "CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER,
    K01_FISH VARCHAR(40), K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10),
    K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ); commit;
    insert into FISH_MEMO (CODE, FISH1, BUNRUI, F_MEMO, M1, M2, M3, M4, M5, M6, M7, M8, M9, M10, M11, M12)
      values (1, 'アジ', '仕掛け', 'one', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    insert into FISH_MEMO (CODE, FISH1, BUNRUI, F_MEMO, M1, M2, M3, M4, M5, M6, M7, M8, M9, M10, M11, M12)
      values (2, 'サバ', '仕掛け', 'two', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    commit" >/dev/null
}

# delete_memo SHOW CODE: "メンテナンス", "メモ　データの削除", the number, "削　除", "戻　る".
delete_memo() {
  local mente
  e2e_click "$1" 864 682                       # メンテナンス
  mente=$(e2e_window "メンテナンス" 800 600)
  e2e_click "$mente" 230 86                    # メモ　データの削除
  e2e_click "$mente" 208 496                   # 削除する番号
  e2e_type "$mente" "$2"
  e2e_click "$mente" 376 499                   # 削　除
  e2e_click "$mente" 668 24                    # 戻　る
  e2e_wait_gone "$mente"
  e2e_wait_active "$1"
}

e2e_start_program memos
main=$(e2e_window "釣果記録" 600 480)
e2e_click "$main" 152 208                      # ＭＥＭＯ　表示
show=$(e2e_window "釣り関連メモ" 960 710)
e2e_expect_eq "アジ" "$(e2e_text "$show" 147 40)" "the viewer opens on memo 1"
delete_memo "$show" 1
e2e_expect_eq "サバ" "$(e2e_text "$show" 147 40)" "memo 2 is shown once memo 1 is deleted"
e2e_key "$show" End
e2e_type "$show" "x"                           # the species becomes サバx
e2e_click "$show" 818 227                      # ＯＫ
e2e_wait_active "$show"
e2e_click "$show" 864 24                       # 戻　　る
e2e_wait_gone "$show"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end
e2e_expect_eq "2|サバx" "$(e2e_sql KELDMARK.FDB "select CODE, FISH1 from FISH_MEMO")" \
  "the correction went to memo 2"

# The last memo deleted: the empty viewer refuses to write.
e2e_start_program
main=$(e2e_window "釣果記録" 600 480)
e2e_click "$main" 152 208                      # ＭＥＭＯ　表示
show=$(e2e_window "釣り関連メモ" 960 710)
delete_memo "$show" 2
e2e_click "$show" 240 400                      # the text
e2e_type "$show" " edited"
e2e_click "$show" 818 227                      # ＯＫ
e2e_box_ok "$show"                             # 訂正に失敗しました
e2e_expect_eq " edited" "$(e2e_text "$show" 240 400)" "the text typed is kept"
e2e_dblclick "$show" 300 132                   # ５月
e2e_box_ok "$show"                             # 訂正に失敗しました
e2e_click "$show" 864 24                       # 戻　　る
e2e_wait_gone "$show"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end
e2e_expect_eq "0" "$(e2e_sql KELDMARK.FDB "select count(*) from FISH_MEMO")" "nothing was written"
e2e_pass
