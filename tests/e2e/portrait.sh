#!/usr/bin/env bash
# A portrait phone photo as the map of a stored trip: a JPEG of 640 x 480
# stored pixels whose EXIF orientation (6) turns it a quarter clockwise is
# chosen in the map editor's picture dialog ("ファイルから開く") and stored
# with "登　録": the stored map is the upright picture, 480 wide and 640 high,
# with no tag left to turn it again.
#   tests/e2e/portrait.sh build/app/tolvane .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop

# The photo: ImageMagick's JPEG with an EXIF block (APP1) put right after its
# start marker, holding the orientation tag only.
convert -size 640x480 gradient:navy-orange "$E2E_DIR/stored.jpg"
python3 - "$E2E_DIR/stored.jpg" "$E2E_DIR/phone.jpg" <<'EOF'
import struct, sys
jpeg = open(sys.argv[1], "rb").read()
tiff = b"MM\0\x2a" + struct.pack(">IH", 8, 1) + struct.pack(">HHIHH", 0x0112, 3, 1, 6, 0) + struct.pack(">I", 0)
app1 = b"Exif\0\0" + tiff
open(sys.argv[2], "wb").write(jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + jpeg[2:])
EOF

trip() {
  e2e_sql SORVENDA.FDB "insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1, FISH1_KAZU)
      values (1, '2024/05/01', '東京湾', 'アジ', 10);
    commit" >/dev/null
}
e2e_start_program trip

main=$(e2e_shown "釣果記録" 600 480)
e2e_box_ok "$main"                             # no lessons table
e2e_click "$main" 152 112                      # ＤＡＴＡ　表示
br=$(e2e_window "釣果記録" 960 710)
e2e_click "$br" 884 326                        # 地図
map=$(e2e_window "地図・仕掛け" 690 560)
e2e_click "$map" 604 186                       # ファイルから開く

# The picture dialog: its file name box has the focus.
dialog=""
e2e_poll "$E2E_TIMEOUT" eval 'dialog=$(xdotool getactivewindow 2>/dev/null) && [ "$dialog" != "$map" ]' ||
  e2e_fail "no picture dialog in front of the map editor"
e2e_type "$dialog" "$E2E_DIR/phone.jpg" Return
e2e_wait_gone "$dialog"
e2e_wait_active "$map"
e2e_log "ok: the photo was chosen"

e2e_click "$map" 604 376                       # 登　録
e2e_wait_gone "$map"
e2e_wait_active "$br"
e2e_click "$br" 856 19                         # 戻　る
e2e_wait_gone "$br"
e2e_wait_active "$main"
e2e_click "$main" 501 26                       # 閉じる
e2e_wait_program_end

# The map's first bytes, in hex. Its frame header: FFC0 0011 08, then the
# height (0280 = 640) and the width (01E0 = 480).
head=$(e2e_sql SORVENDA.FDB "select cast(substring(CHIZU from 1 for 1000)
  as varchar(1000) character set octets) as HEX from FISH_DATA where CODENO = 1")
[[ $head == FFD8FF* && $head == *FFC0001108028001E0* ]] ||
  e2e_fail "the stored map is no upright 480x640 JPEG: ${head:0:80}..."
[[ $head != *45786966* ]] || e2e_fail "the stored map still has an EXIF block"   # "Exif"
e2e_log "ok: the map was stored upright, 480 wide and 640 high, without the tag"
e2e_pass
