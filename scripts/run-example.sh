#!/bin/bash
# The main job: builds the plug-in and has the reference host expand the
# sample template through it, natively and as the Windows product under Wine:
# the 32-bit product where this machine runs 32-bit programs, the 64-bit one
# otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}
template=${1:-$root/examples/sample.tpl}

bash "$root/scripts/install-deps.sh"
if why=$(bash "$root/scripts/can-run-32bit.sh"); then
  product=win32 bits="32-bit product, 32-bit Wine"
else
  product=win64 bits="64-bit product, 64-bit Wine; no 32-bit: $why"
fi
bash "$root/scripts/build.sh" native "$product" >/dev/null

echo "== native: $build/native/bin/wrphost expand $template"
"$build/native/bin/wrphost" expand "$template"
echo "== Windows ($bits): wrphost.exe expand $template"
WINEPREFIX="$build/$product/wineprefix" \
  "$root/cmake/wine-run.sh" "$build/$product/bin/wrphost.exe" expand "$template"
