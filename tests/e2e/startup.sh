#!/usr/bin/env bash
# Started in a directory holding only the catch-data file: the start notice
# names the memo file KELDMARK.FDB and the directory it was looked for in (not
# the lessons table), the program works on, and no memo file is created.
#   tests/e2e/startup.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
no_memo_file() { rm KELDMARK.FDB; }
e2e_start_program no_memo_file

main=$(e2e_shown "釣果記録" 600 480)
box=$(e2e_box)
text=$(e2e_box_text "$box")
e2e_log "the box: $(printf '%s' "$text" | tr '\n' '/')"
[[ $text == *"備忘録のデータベース KELDMARK.FDB が見つかりません"* ]] || e2e_fail "the box does not name the missing file"
[[ $text == *"探した場所：$E2E_DIR/run" ]] || e2e_fail "the box does not name $E2E_DIR/run"
[[ $text != *"メンテナンス画面"* ]] || e2e_fail "the box still sends the user to the maintenance window"
e2e_log "ok: the box names the file and its directory"
e2e_key "$box" Return
e2e_wait_gone "$box"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

[ ! -e "$E2E_DIR/run/KELDMARK.FDB" ] || e2e_fail "a memo file was created"
e2e_expect_eq "0|0|NOT" "$(e2e_sql SORVENDA.FDB "select P00_CODENO, P01_PASSWD, P02_PASSWD from FISH_PASS")" \
  "the settings row made as usual"
e2e_pass
