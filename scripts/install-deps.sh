#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test the program.
# Idempotent: when everything is already installed it does nothing.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libbenchmark-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  libjpeg62-turbo-dev
  qt6-base-dev libgl-dev qt6-translations-l10n
  fonts-ipafont-gothic
  xvfb xauth imagemagick python3
  openbox xdotool x11-utils x11-xserver-utils x11-xkb-utils xclip
  ibus ibus-mozc dbus-x11 fcitx5 fcitx5-mozc fcitx5-frontend-qt6
  # Needed only by the tests: the Wayland end-to-end run (tests/e2e/wayland.sh).
  sway xwayland wtype jq qt6-wayland
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
