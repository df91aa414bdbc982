#!/usr/bin/env bash
# The file-name test under a generated ja_JP.eucJP locale, made in a private
# directory (LOCPATH), so the machine's locales are left as they are.
#   tests/db/locale_eucjp.sh build/tests/db/tolvane_locale_tests
set -euo pipefail
if ! command -v localedef >/dev/null || [ ! -e /usr/share/i18n/locales/ja_JP ]; then
  echo "skipped: localedef or the ja_JP locale source is missing"
  exit 77
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
localedef -i ja_JP -f EUC-JP "$dir/ja_JP.eucJP" >/dev/null 2>&1 || true
[ -d "$dir/ja_JP.eucJP" ] || { echo "localedef made no ja_JP.eucJP"; exit 1; }
[ "$(LOCPATH=$dir LC_ALL=ja_JP.eucJP locale charmap)" = EUC-JP ] || { echo "the locale did not load"; exit 1; }
LOCPATH=$dir LC_ALL=ja_JP.eucJP LANG=ja_JP.eucJP exec "$1"
