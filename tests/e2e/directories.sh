#!/usr/bin/env bash
# The program in the directories people have: started under LC_ALL=C (a
# minimal installation) in a Japanese directory with a blank, and under a
# UTF-8 locale in a directory with ':' in its path. Each time a trip is
# stored - the refused save's lists give the species and the place - and read
# back from the file; under C the main window's title still reads 釣果記録.
# Both runs watch the environment (E2E_ENVWATCH, preloaded): no variable and
# no locale may change once a thread beside the main one runs.
#   tests/e2e/directories.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
e2e_keymap "アジ東京湾"

# store_trip: one run of the program in E2E_RUN, a trip stored, the program closed.
store_trip() {
  e2e_start_program
  local main entry box list
  main=$(e2e_shown "釣果記録" 600 480)
  e2e_box_ok "$main"                             # a fresh memo file has no lessons table
  if [ -n "${CHECK_TITLE:-}" ]; then
    local names
    names=$(xprop -id "$main" WM_NAME _NET_WM_NAME)
    e2e_log "the main window's names: $(printf '%s' "$names" | tr '\n' '/')"
    [[ $names == *'_NET_WM_NAME(UTF8_STRING) = "釣果記録"'* ]] || e2e_fail "_NET_WM_NAME is not 釣果記録"
    [[ $names == *'WM_NAME('*') = "釣果記録"'* ]] || e2e_fail "WM_NAME is not 釣果記録"
  fi
  e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
  entry=$(e2e_window "釣果記録" 960 710)
  e2e_click "$entry" 881 75                      # 入　力, refused: the species list, then the place list
  box=$(e2e_box)
  e2e_key "$box" Return
  list=$(e2e_window "魚種の選択" 600 450)
  e2e_click "$list" 68 397                       # the new-value box
  e2e_type "$list" "アジ" Return
  e2e_wait_gone "$list"
  list=$(e2e_window "場所の選択" 600 450)
  e2e_click "$list" 68 397
  e2e_type "$list" "東京湾" Return
  e2e_wait_gone "$list"
  e2e_wait_active "$entry"
  e2e_click "$entry" 881 75                      # 入　力
  box=$(e2e_box)
  [ "$(e2e_box_text "$box")" = "入力完了" ] || e2e_fail "the trip was not stored: $(e2e_box_text "$box")"
  e2e_key "$box" Return
  e2e_wait_gone "$box"
  e2e_wait_active "$entry"
  e2e_click "$entry" 900 19                      # 戻　る
  e2e_wait_gone "$entry"
  e2e_wait_active "$main"
  e2e_click "$main" 501 26                       # 閉じる
  e2e_wait_program_end
  if [ -n "${E2E_ENVWATCH:-}" ]; then
    grep -q "^envwatch: watching" "$E2E_DIR/program.log" || e2e_fail "the environment was not watched"
    ! grep "^envwatch: .* threads running" "$E2E_DIR/program.log" >&2 ||
      e2e_fail "the environment or the locale changed while threads ran"
  fi
  e2e_expect_eq "1|$(date +%Y/%m/%d)|東京湾|アジ" \
    "$(e2e_sql SORVENDA.FDB "select CODENO, DAY_DATA, BASYO, FISH1 from FISH_DATA")" \
    "the trip read back from $E2E_RUN"
}

E2E_RUN="$E2E_DIR/釣り 日記/2026"
watch=(${E2E_ENVWATCH:+LD_PRELOAD=$E2E_ENVWATCH})
E2E_PROGRAM_ENV=(LC_ALL=C LANG=C "${watch[@]}")
CHECK_TITLE=1 store_trip

E2E_RUN="$E2E_DIR/港:2026/釣り"
E2E_PROGRAM_ENV=("${watch[@]}")
store_trip
e2e_pass
