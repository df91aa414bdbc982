#!/usr/bin/env bash
# A desktop with a dark colour scheme (KDE's Breeze Dark colours, which Qt's
# own KDE theme reads from kdeglobals): every registered window, drawn on the
# real desktop, shows every text with enough contrast to what is behind it.
#   tests/e2e/dark_scheme.sh build/tests/ui/tolvane_screenshots .
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_desktop

mkdir -p "$E2E_DIR/config" "$E2E_DIR/shots"
cat >"$E2E_DIR/config/kdeglobals" <<'SCHEME'
[General]
ColorScheme=BreezeDark

[Colors:Button]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241

[Colors:View]
BackgroundNormal=35,38,41
ForegroundNormal=239,240,241

[Colors:Window]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241

[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=252,252,252

[Colors:Tooltip]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241
SCHEME

rc=0
(cd "$E2E_DIR/shots" && exec env XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 \
  XDG_CONFIG_HOME="$E2E_DIR/config" QT_QPA_PLATFORM=xcb "$E2E_PROGRAM" --contrast) \
  >"$E2E_DIR/program.log" 2>&1 || rc=$?
# The scheme took: the application started with its dark window colour.
grep -q '^desktop palette: window #31363b, text #eff0f1' "$E2E_DIR/program.log" ||
  e2e_fail "the desktop's dark scheme was not in effect"
e2e_log "ok: the desktop's scheme is dark"
[ "$rc" -eq 0 ] || e2e_fail "texts hard to read under the dark scheme"
e2e_log "ok: $(grep 'window(s) checked' "$E2E_DIR/program.log")"
e2e_pass
