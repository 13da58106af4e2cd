#!/bin/bash
# Builds the release archives, build/release/Quillet-<version>-win32.zip and
# -win64.zip: each Windows product tree (the same build the tests run) packed
# with wrphost.exe, the user's guide and a note naming the build. The build
# takes its time from SOURCE_DATE_EPOCH, by default the time of the commit,
# so that the same commit gives the same archives, byte for byte.
#   scripts/release.sh [win32|win64 ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(win32 win64)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "${targets[@]}"
mkdir -p "$build/release"
for target in "${targets[@]}"; do
  (cd "$build/$target" && cpack -B "$build/release" >"$build/$target.cpack.log") ||
    { cat "$build/$target.cpack.log"; exit 1; }
  echo "release: $(ls "$build/release/Quillet-"*"-$target.zip")"
done
rm -rf "$build/release/_CPack_Packages"
