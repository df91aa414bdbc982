#!/usr/bin/env bash
# Checks that no folder includes the headers of a folder above it.
#   scripts/check-layers.sh        (exits 1 and names every wrong include)
# Each folder lists the folders it may include besides its own.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A may=(
  [src/db]=""
  [src/imaging]=""
  [src/ui]="db imaging"
  [src/pictures]="db imaging ui"
  [src/core]="db imaging ui"
  [src/tide]="db imaging ui pictures core"
  [src/photo]="db imaging ui pictures core"
  [src/lessons]="db imaging ui pictures core"
  [src/maintenance]="db imaging ui pictures core"
  [src/totals]="db imaging ui pictures core"
  [src/address]="db imaging ui pictures core"
  [src/catch]="db imaging ui pictures core tide photo lessons maintenance"
  [src/memo]="db imaging ui pictures core tide photo lessons maintenance"
)

status=0
for dir in "${!may[@]}"; do
  own=${dir#src/}
  [ -d "$dir" ] || continue
  while IFS=: read -r file line inc; do
    [[ $inc =~ \#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
    top=${BASH_REMATCH[1]}
    [ "$top" = "$own" ] && continue
    case " ${may[$dir]} " in *" $top "*) continue ;; esac
    echo "check-layers: $file:$line includes $top/, above $dir" >&2
    status=1
  done < <(grep -rnE '^\s*#\s*include "[a-z_]+/' "$dir" || true)
done
if [ ! -d src/ui/testing ] || grep -rqE '#include "(catch|memo|tide|photo|lessons|maintenance|totals|address|app)/' src/ui/testing; then
  echo "check-layers: the test driver reaches above the window layer" >&2
  status=1
fi
[ $status -eq 0 ] && echo "check-layers: every include points down or sideways within its folder"
exit $status
