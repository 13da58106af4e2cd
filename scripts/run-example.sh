#!/bin/bash
# The main job: builds the plug-in and has the reference host expand the
# sample template through it, natively and as the Windows product under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}
template=${1:-$root/examples/sample.tpl}

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native win32 >/dev/null

echo "== native: $build/native/bin/wrphost expand $template"
"$build/native/bin/wrphost" expand "$template"
echo "== Windows (Wine): wrphost.exe expand $template"
WINEPREFIX="$build/win32/wineprefix" \
  "$root/cmake/wine-run.sh" "$build/win32/bin/wrphost.exe" expand "$template"
