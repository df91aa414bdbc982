#!/usr/bin/env bash
# Installs the Debian packages the project needs. Idempotent: when everything
# is already installed it does nothing.
#   scripts/install-deps.sh            what building and running need
#   scripts/install-deps.sh --tests    that, and what the tests and benchmarks need
# The run command installs only the first set: a person who only starts the
# program gets no window manager, test desktop or input-method framework put
# on their machine (a newly installed framework can change which input method
# their next session starts).
set -euo pipefail

# Building and running: compiler and build tools, Qt 6 widgets and the
# standard dialogs' Japanese, the Firebird client with the embedded Firebird 3
# engine and isql-fb (which creates the files), libjpeg, the font.
RUN_PACKAGES=(
  g++ cmake ninja-build pkg-config
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  libjpeg62-turbo-dev
  qt6-base-dev libgl-dev qt6-translations-l10n
  fonts-ipafont-gothic
)

# Tests and benchmarks only: GoogleTest and Google Benchmark, the desktop the
# end-to-end runs drive (Xvfb, openbox, xdotool, the X utilities, a
# clipboard tool, screenshots), both Japanese input methods they type
# through, and a Wayland desktop with XWayland, its typist and Qt's Wayland
# plugin (tests/e2e/wayland.sh).
TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev
  xvfb xauth imagemagick python3
  openbox xdotool x11-utils x11-xserver-utils x11-xkb-utils xclip
  ibus ibus-mozc dbus-x11 fcitx5 fcitx5-mozc fcitx5-frontend-qt6
  sway xwayland wtype jq qt6-wayland
)

packages=("${RUN_PACKAGES[@]}")
case "${1:-}" in
  --tests) packages+=("${TEST_PACKAGES[@]}") ;;
  "") ;;
  *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
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
