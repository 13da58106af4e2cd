#!/bin/bash
# The version resource script: SpecialBuild is the build time in the stamp
# form, taken from SOURCE_DATE_EPOCH in UTC whatever the local time zone, so
# that two builds of one commit are byte for byte the same.
set -uo pipefail
cmake=$1 script=$2 template=$3 version=$4
fail() { echo "FAIL: $*"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

check() {
  local epoch=$1 want=$2 zone
  for zone in UTC Asia/Tokyo America/Los_Angeles; do
    TZ=$zone SOURCE_DATE_EPOCH=$epoch "$cmake" -DTEMPLATE="$template" -DOUTPUT="$dir/Quillet.rc" \
      -DVERSION="$version" -P "$script" || fail "the script failed"
    grep -qF "VALUE \"SpecialBuild\", \"$want\"" "$dir/Quillet.rc" ||
      fail "epoch $epoch in $zone: $(grep SpecialBuild "$dir/Quillet.rc")"
  done
}
check 1077587880 17F9B29E  # 24 February 2004, 01:58
check 0 1A14AEF50          # 1 January 1970, 00:00: 7001010000
check 4102444799 24ED1E227 # 31 December 2099, 23:59: 9912312359
grep -qx "FILEVERSION ${version//./,},0" "$dir/Quillet.rc" || fail "file version"
grep -qF "VALUE \"FileVersion\", \"$version\"" "$dir/Quillet.rc" || fail "file version text"

# Rewritten only when its text changes: nothing to rebuild within a minute.
touch -d @0 "$dir/Quillet.rc"
SOURCE_DATE_EPOCH=4102444799 "$cmake" -DTEMPLATE="$template" -DOUTPUT="$dir/Quillet.rc" \
  -DVERSION="$version" -P "$script"
[ "$(stat -c %Y "$dir/Quillet.rc")" = 0 ] || fail "an unchanged script was rewritten"
echo OK
