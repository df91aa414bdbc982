#!/usr/bin/env bash
# A laptop screen of 1280 x 720 with a 40-pixel panel: the catch entry, the
# browser, the four-photo and the nine-photo windows open with their title
# bars on the screen, inside the area the panel leaves, and their 戻る
# buttons close them.
#   tests/e2e/small_screen.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop 1280x720
e2e_panel 40

records() {
  e2e_sql SORVENDA.FDB "insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1)
      values (1, '2024/05/01', '東京湾', 'アジ');
    commit" >/dev/null
  e2e_sql KELDMARK.FDB "insert into FISH_MEMO (CODE, FISH1, BASYO) values (1, 'アジ', '東京湾');
    commit" >/dev/null
}
e2e_start_program records

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # no lessons table
e2e_expect_on_screen "$main" "the main window"

e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
entry=$(e2e_window_new "釣果記録" "$main")
e2e_expect_on_screen "$entry" "the catch entry"
e2e_click "$entry" 900 19                      # 戻　る
e2e_wait_gone "$entry"
e2e_wait_active "$main"

e2e_click "$main" 152 112                      # ＤＡＴＡ　表示
br=$(e2e_window_new "釣果記録" "$main")
e2e_expect_on_screen "$br" "the browser"
e2e_click "$br" 884 358                        # 写真入力
big=$(e2e_window_new "拡大写真　ダブルクリックすると拡大します" "$main" "$br")
e2e_expect_on_screen "$big" "the four-photo window"
e2e_click "$big" 888 32                        # 戻　る
e2e_wait_gone "$big"
e2e_wait_active "$br"
e2e_click "$br" 856 19                         # 戻　る
e2e_wait_gone "$br"
e2e_wait_active "$main"

e2e_click "$main" 152 208                      # ＭＥＭＯ　表示
show=$(e2e_window_new "釣り関連メモ" "$main")
e2e_expect_on_screen "$show" "the memo viewer"
e2e_click "$show" 864 369                      # 写　真
nine=$(e2e_window_new "写真入力" "$main" "$show")
e2e_expect_on_screen "$nine" "the nine-photo window"
if command -v import >/dev/null; then import -window root "$E2E_DIR/nine-photos.png" 2>/dev/null || true; fi
e2e_click "$nine" 844 24                       # 戻　る
e2e_wait_gone "$nine"
e2e_wait_active "$show"
e2e_click "$show" 864 24                       # 戻　　る
e2e_wait_gone "$show"
e2e_wait_active "$main"

e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end
e2e_pass
