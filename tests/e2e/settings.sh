#!/usr/bin/env bash
# The settings dialog opened by a double click on the version label: both
# choices changed and stored, each with its message, the dialog active again
# after each; the row read back from the file.
#   tests/e2e/settings.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
e2e_start_program

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # no lessons table in a fresh memo file
e2e_dblclick "$main" 60 430                    # the version label
dialog=$(e2e_window "ないしょ" 400 400)

e2e_click "$dialog" 32 314                     # 「船」で表示
e2e_click "$dialog" 332 344                    # 変　更 (boat or point)
e2e_box_ok "$dialog"                           # 変更しました
e2e_click "$dialog" 32 124                     # MY　オリジナルの潮位表示
e2e_click "$dialog" 332 166                    # 変　更 (tide chart)
e2e_box_ok "$dialog"
e2e_click "$dialog" 344 23                     # 戻　　る
e2e_wait_gone "$dialog"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

rows=$(e2e_sql SORVENDA.FDB "select P00_CODENO, P01_PASSWD, P02_PASSWD from FISH_PASS")
e2e_expect_eq "0|1|FUNE" "$rows" "both settings stored in row 0"
e2e_pass
