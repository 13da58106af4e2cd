#!/bin/bash
# The release archive is the same, byte for byte, for the same commit: the
# archive of the product tree TREE (built with SOURCE_DATE_EPOCH=EPOCH) beside
# the archive of a second build of the same sources, in a folder of another
# path; and it holds exactly the files a user is promised.
#   tests/product/release_reproducible.sh TREE win32|win64 EPOCH
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$1 target=$2
export SOURCE_DATE_EPOCH=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$tree" && cpack -B "$work/first" >"$work/first.log") || { cat "$work/first.log"; fail "cpack"; }
QUILLET_BUILD_DIR=$work/second-in-a-longer-path bash "$root/scripts/release.sh" "$target" \
  >"$work/second.log" 2>&1 || { cat "$work/second.log"; fail "the release command failed"; }
one=$(ls "$work"/first/Quillet-*-"$target".zip) || fail "no archive from $tree"
two=$(ls "$work"/second-in-a-longer-path/release/Quillet-*-"$target".zip) || fail "no second archive"
cmp "$one" "$two" || fail "two builds of one commit give different archives"
names=$(unzip -Z1 "$one" | sort | tr '\n' ' ')
[ "$names" = "BUILD.txt Quillet.WRP USER-GUIDE.md wrphost.exe " ] || fail "the archive holds: $names"
unzip -p "$one" BUILD.txt | grep -q "^Quillet [0-9.]* for $target" || fail "BUILD.txt names no build"
echo "OK: $(basename "$one") is reproducible ($(stat -c %s "$one") bytes)"
