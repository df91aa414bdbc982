#!/usr/bin/env bash
# TERM and INT end the program within a second from any window, with busy
# loops beside it: each run saves an address entry ("住所入力", a name,
# "入力"), then opens a window and sends the signal; the program must be gone
# within a second with status 0, and both files must read back with the entry
# stored. The runs: RUNS times (4 unless E2E_SIGNAL_RUNS says) the address
# window opened and closed by the window manager's close, then the address
# list open, TERM; the same with INT; TERM while a message box is up over the
# address window; TERM while the catch entry window is open.
#   tests/e2e/signal.sh build/app/tolvane .
#   E2E_SIGNAL_RUNS=50 E2E_SIGNAL_LOAD=8 tests/e2e/signal.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"

RUNS=${E2E_SIGNAL_RUNS:-4}
LOAD=${E2E_SIGNAL_LOAD:-4}

ended_at=""
# program_gone_within LIMIT_MS: polls until the program has ended; fails
# after LIMIT_MS.
program_gone_within() {
  local start=$EPOCHREALTIME limit=$1 now
  while kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; do
    now=$EPOCHREALTIME
    (( (${now/./} - ${start/./}) / 1000 < limit )) || return 1
    sleep 0.01
  done
  now=$EPOCHREALTIME
  ended_at=$(( (${now/./} - ${start/./}) / 1000 ))
}

# A fresh pair of files, the program on them, the lessons-table box answered,
# and one address entry saved with the name 山田.
start_with_entry() {
  rm -rf "$E2E_DIR/run"
  e2e_start_program
  main=$(e2e_shown "釣果記録" 600 480)
  e2e_box_ok "$main"                           # a fresh memo file has no lessons table
  e2e_click "$main" 440 408                    # 住所入力
  addr=$(e2e_window "住所録" 400 300)
  e2e_click "$addr" 316 56                     # 名　前
  e2e_type "$addr" "山田"
  e2e_click "$addr" 288 20                     # 入力
  e2e_wait_gone "$addr"
  e2e_wait_active "$main"
}

# end_by SIGNAL WHAT [memo]: sends the signal and checks the end and the
# catch-data file (and the memo file with "memo").
end_by() {
  kill -"$1" "$E2E_PROGRAM_PID"
  program_gone_within 1000 || e2e_fail "$2: still running a second after $1"
  local rc=0
  wait "$E2E_PROGRAM_PID" || rc=$?
  [ "$rc" -eq 0 ] || e2e_fail "$2: the program ended with status $rc after $1"
  e2e_expect_eq "山田" "$(e2e_sql SORVENDA.FDB "select A03_NAME from FISH_ADDR")" \
    "$2: $1 ended it in $ended_at ms; the entry read back"
  if [ "${3:-}" = memo ]; then
    e2e_expect_eq "0" "$(e2e_sql KELDMARK.FDB "select count(*) from FISH_MEMO")" "$2: the memo file reads"
  fi
}

# The address window closed by the window manager (as its title bar's close
# box does), then the address list.
list_after_closed_entry() {
  start_with_entry
  e2e_click "$main" 440 408                    # 住所入力
  addr=$(e2e_window "住所録" 400 300)
  e2e_key "$addr" alt+F4                       # openbox: close the active window
  e2e_wait_gone "$addr"
  e2e_wait_active "$main"
  e2e_click "$main" 440 368                    # 関連簡易住所録
  e2e_window "住所録" 400 300 >/dev/null
}

e2e_init "$@"
e2e_start_desktop
e2e_keymap "山田"

for ((i = 0; i < LOAD; i++)); do
  (while :; do :; done) &
  E2E_PIDS+=("$!")
done

for ((run = 1; run <= RUNS; run++)); do
  list_after_closed_entry
  end_by TERM "address list, run $run of $RUNS"
done

list_after_closed_entry
end_by INT "address list" memo

start_with_entry
e2e_click "$main" 440 408                      # 住所入力
addr=$(e2e_window "住所録" 400 300)
e2e_click "$addr" 288 20                       # 入力 with shop and name empty: a box
e2e_box >/dev/null
end_by TERM "message box over the address window" memo

start_with_entry
e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
e2e_window "釣果記録" 960 710 >/dev/null
end_by TERM "catch entry window" memo

e2e_pass
