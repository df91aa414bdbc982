#!/usr/bin/env bash
# The catch-data file SORVENDA.FDB missing, read-only, held by another copy
# of the program, and no engine installed to open it: the start notice names the file, what is wrong and its
# directory, in Japanese; a later use of the file leads its error with a
# Japanese line and the engine's text below; the entry window still proposes
# today's date.
#   tests/e2e/catch_file.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
E2E_RUN="$E2E_DIR/釣り 日記"
file="釣果記録のデータベース SORVENDA.FDB"

# notice_says TEXT...: the start notice in front holds every TEXT; OK pressed.
notice_says() {
  local box text t
  box=$(e2e_box)
  text=$(e2e_box_text "$box")
  e2e_log "the notice: $(printf '%s' "$text" | tr '\n' '/')"
  for t in "$@"; do
    [[ $text == *"$t"* ]] || e2e_fail "the notice does not say \"$t\""
  done
  e2e_key "$box" Return
  e2e_wait_gone "$box"
}

# Missing: named with where it was looked for; later, in the entry window.
no_catch_file() { rm SORVENDA.FDB; }
e2e_start_program no_catch_file
main=$(e2e_shown "釣果記録" 600 480)
notice_says "$file が見つかりません" "探した場所：$E2E_RUN"
e2e_wait_active "$main"
e2e_log "ok: the missing file is named with its directory"
e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
entry=$(e2e_shown "釣果記録" 960 710)
box=$(e2e_box)
text=$(e2e_box_text "$box")
e2e_log "the entry window's error: $(printf '%s' "$text" | tr '\n' '/')"
[[ $text == *"$file が見つかりません"$'\n'*"I/O error"*"$E2E_RUN/SORVENDA.FDB"* ]] ||
  e2e_fail "the error does not lead with the Japanese line above the engine's text"
e2e_key "$box" Return
e2e_wait_gone "$box"
e2e_wait_active "$entry"
e2e_expect_eq "$(date +%Y/%m/%d)" "$(e2e_text "$entry" 260 58)" "the entry window proposes today's date"
e2e_click "$entry" 900 19                      # 戻　る
e2e_wait_gone "$entry"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

# Read-only: the engine attaches only with write access.
read_only() { chmod a-w SORVENDA.FDB; }
E2E_RUN="$E2E_DIR/read-only"
e2e_start_program read_only
main=$(e2e_shown "釣果記録" 600 480)
notice_says "$file に書き込みできません" "場所：$E2E_RUN"
e2e_wait_active "$main"
e2e_click "$main" 501 26
e2e_wait_program_end
e2e_log "ok: the read-only file is named as such"

# No Firebird 3 engine installed: the program alone, in a mount namespace of
# its own, sees an empty plugin directory where the engine would be.
if [ "$(id -u)" = 0 ] && command -v unshare >/dev/null; then
  client=$(ldconfig -p | awk '/libfbclient\.so\.2 /{p = $NF} END {print p}')
  plugins="$(dirname "$(readlink -f "$client")")/firebird/3.0/plugins"
  printf '#!/bin/sh\nexec unshare --mount --propagation private sh -c %s sh "%s" "%s"\n' \
    "'mount -t tmpfs none \"\$1\" && exec \"\$2\"'" "$plugins" "$E2E_PROGRAM" >"$E2E_DIR/no-engine"
  chmod +x "$E2E_DIR/no-engine"
  program=$E2E_PROGRAM E2E_PROGRAM=$E2E_DIR/no-engine E2E_RUN="$E2E_DIR/no-engine-run"
  e2e_start_program
  E2E_PROGRAM=$program
  main=$(e2e_shown "釣果記録" 600 480)
  notice_says "$file を開けません：Firebird 3 のデータベースエンジンが見つかりません" \
    "探した場所：" "firebird/3.0/plugins/libEngine12.so"
  e2e_wait_active "$main"
  e2e_click "$main" 501 26
  e2e_wait_program_end
  e2e_log "ok: the missing engine is named with where it was looked for"
else
  e2e_log "the missing engine is not tried: needs root and unshare"
fi

# Held by another copy of the program, started first in the same directory.
E2E_RUN="$E2E_DIR/held"
e2e_start_program
first=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$first"                            # its memo file has no lessons table
e2e_start_program
notice_says "$file は別に起動しているプログラムが使用中です" "場所：$E2E_RUN"
e2e_log "ok: the file held by the first copy is named as in use"
e2e_pass
