#!/usr/bin/env bash
# A map for a new trip: a picture put on the clipboard by another program is
# taken into the map editor with "クリップボードから", handed back to the catch
# entry window with "登　録", and stored with the trip at "入　力".
#   tests/e2e/map.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop
e2e_keymap "東京湾アジ"
e2e_start_program

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # no lessons table
e2e_click "$main" 440 112                      # ＤＡＴＡ　入力
entry=$(e2e_window "釣果記録" 960 710)

pick() {  # CAPTION VALUE: answers the pick list that opened with a new value
  local l
  l=$(e2e_window "$1" 600 450)
  e2e_click "$l" 68 397
  e2e_type "$l" "$2" Return
  e2e_wait_gone "$l"
  e2e_wait_active "$entry"
}
e2e_click "$entry" 148 91                      # the place
pick "場所の選択" "東京湾"
e2e_click "$entry" 156 275                     # the first species
pick "魚種の選択" "アジ"

# A 320x240 picture on the clipboard, served by xclip until the desktop ends.
convert -size 320x240 gradient:navy-skyblue "$E2E_DIR/map.png"
xclip -selection clipboard -t image/png -i "$E2E_DIR/map.png" >/dev/null 2>&1

e2e_click "$entry" 884 296                     # 地図
map=$(e2e_window "地図・仕掛け" 690 560)
e2e_click "$map" 604 146                       # クリップボードから
e2e_click "$map" 604 376                       # 登　録
e2e_wait_gone "$map"
e2e_wait_active "$entry"
e2e_log "ok: the map editor closed after 登　録"

e2e_click "$entry" 881 75                      # 入　力
e2e_box_ok "$entry"                            # 入力完了
e2e_click "$entry" 900 19                      # 戻　る
e2e_wait_gone "$entry"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

rows=$(e2e_sql SORVENDA.FDB "select CODENO, BASYO, FISH1, CHIZU is not null as MAPPED from FISH_DATA")
e2e_expect_eq "1|東京湾|アジ|<true>" "$rows" "the trip stored with a map"
# The map's first bytes, in hex: a JPEG whose frame header gives 320x240.
head=$(e2e_sql SORVENDA.FDB "select cast(substring(CHIZU from 1 for 1000)
  as varchar(1000) character set octets) as HEX from FISH_DATA")
[[ $head == FFD8FF* && $head == *FFC000110800F00140* ]] ||
  e2e_fail "the stored map is no 320x240 JPEG: ${head:0:80}..."
e2e_log "ok: the stored map is a 320x240 JPEG"
e2e_pass
