#!/usr/bin/env bash
# Pictures and typing through the real clipboard and keyboard of a desktop:
# - a picture another program offers but that cannot be read (a cut-off PNG)
#   is a failed paste: the map editor says "失敗しました", the memo map window
#   says nothing, and the stored maps stay pictures of their own size;
# - a 40-megapixel picture on the clipboard pastes and is stored at its size,
#   and one over 100 megapixels is a failed paste;
# - in the memo search, a species typed into the box whose list drops down at
#   the first character reaches the box whole, and the search finds it.
#   tests/e2e/paste.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop

# A solid PNG of W x H pixels, written without holding the picture in memory.
png() {  # FILE W H
  python3 - "$@" <<'EOF'
import struct, sys, zlib
path, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
z = zlib.compressobj(6)
row = b"\0" + b"\x40\x80\xc0" * w
body = b"".join(z.compress(row) for _ in range(h)) + z.flush()
with open(path, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", body) + chunk(b"IEND", b""))
EOF
}
offer() {  # FILE: the picture offered on the clipboard by another program
  xclip -selection clipboard -t image/png -i "$1" >/dev/null 2>&1
}

# A trip and three memos, the trip and memo 1 with a 64 x 48 JPEG map.
convert -size 64x48 gradient:red-blue "$E2E_DIR/small.jpg"
map_hex=$(od -An -v -tx1 "$E2E_DIR/small.jpg" | tr -d " \n")
plant() {
  e2e_sql SORVENDA.FDB "insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1, FISH1_KAZU, CHIZU)
      values (1, '2024/05/01', '東京湾', 'アジ', 10, x'$map_hex');
    commit" >/dev/null
  e2e_sql KELDMARK.FDB "insert into FISH_MEMO (CODE, FISH1, BUNRUI, F_MAP) values (1, 'a', 'g', x'$map_hex');
    insert into FISH_MEMO (CODE, FISH1, BUNRUI) values (2, 'abc', 'g');
    insert into FISH_MEMO (CODE, FISH1, BUNRUI) values (3, 'ab', 'g');
    commit" >/dev/null
}
e2e_start_program plant

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # no lessons table
e2e_click "$main" 152 112                      # ＤＡＴＡ　表示
br=$(e2e_window "釣果記録" 960 710)

# map_paste FILE: the map editor opened from the browser, FILE offered on the
# clipboard and "クリップボードから" pressed. map_close X Y: the button at X Y
# closes it, and the browser is active again.
map_paste() {
  offer "$1"
  e2e_click "$br" 884 326                      # 地図
  map=$(e2e_window "地図・仕掛け" 690 560)
  e2e_click "$map" 604 146                     # クリップボードから
}
map_close() {
  e2e_click "$map" "$1" "$2"
  e2e_wait_gone "$map"
  e2e_wait_active "$br"
}

# A cut-off PNG is a failed paste, and 登　録 keeps the map.
png "$E2E_DIR/map.png" 320 240
head -c 200 "$E2E_DIR/map.png" >"$E2E_DIR/cut.png"
map_paste "$E2E_DIR/cut.png"
e2e_box_ok "$map"                              # 失敗しました
map_close 604 376                              # 登　録
e2e_log "ok: a cut-off picture was refused by the map editor"

# Over 100 megapixels: the clipboard's picture cannot be taken either.
png "$E2E_DIR/huge.png" 10050 10000
map_paste "$E2E_DIR/huge.png"
e2e_box_ok "$map"                              # 失敗しました
map_close 604 495                              # 戻　る
e2e_log "ok: a picture over 100 megapixels was refused"

# 40 megapixels: taken from the clipboard and stored at its size.
png "$E2E_DIR/big.png" 8000 5000
map_paste "$E2E_DIR/big.png"
map_close 604 376                              # 登　録
e2e_click "$br" 856 19                         # 戻　る
e2e_wait_gone "$br"
e2e_wait_active "$main"

# The memo map window pastes silently: the cut-off PNG changes nothing.
offer "$E2E_DIR/cut.png"
e2e_click "$main" 152 208                      # ＭＥＭＯ　表示
show=$(e2e_window "釣り関連メモ" 960 710)
e2e_click "$show" 864 297                      # 地　図
ms=$(e2e_window "地図・潮位　入力" 720 620)
e2e_click "$ms" 630 272                        # 入  力
e2e_click "$ms" 630 496                        # 確  定
e2e_wait_gone "$ms"
e2e_wait_active "$show"
e2e_log "ok: the memo map window took nothing from a cut-off picture"

# The memo search: "abc" typed while the species list drops down.
e2e_click "$show" 864 159                      # 検　索
sel=$(e2e_window "SelectF" 318 358)
e2e_click "$sel" 270 72                        # the species criterion: the box gets the focus
e2e_key "$sel" ctrl+a
e2e_type "$sel" "abc"
e2e_key "$sel" Escape                          # the list goes up, the text stays
e2e_click "$sel" 90 320                        # 検　索
e2e_wait_gone "$sel"
e2e_wait_active "$show"
e2e_expect_eq "abc" "$(e2e_text "$show" 147 40)" "the memo of the typed species shown"

e2e_click "$show" 864 24                       # 戻　　る
e2e_wait_gone "$show"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

hex_of() {  # FILE TABLE COLUMN: the first bytes of the column, in hex
  e2e_sql "$1" "select cast(substring($3 from 1 for 1000) as varchar(1000) character set octets)
    as HEX from $2"
}
# A JPEG's frame header: FFC0 0011 08, then height and width.
head=$(hex_of SORVENDA.FDB FISH_DATA CHIZU)
[[ $head == FFD8FF* && $head == *FFC00011081388*1F40* ]] ||
  e2e_fail "the trip's map is no 8000x5000 JPEG: ${head:0:80}..."
e2e_log "ok: the 40-megapixel map was stored at its size"
head=$(hex_of KELDMARK.FDB "FISH_MEMO where CODE = 1" F_MAP)
[[ $head == FFD8FF* && $head == *FFC000110800300040* ]] ||
  e2e_fail "memo 1's map is no 64x48 JPEG: ${head:0:80}..."
e2e_log "ok: memo 1 keeps a 64x48 map"
e2e_pass
