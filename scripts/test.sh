#!/bin/bash
# Builds every tree and runs every test: the native suite under the
# sanitizers, both Windows products' checks and the Windows test programs
# under Wine (64-bit Wine for the 64-bit product everywhere; 32-bit Wine for
# the 32-bit product wherever this machine runs 32-bit programs), and short
# runs of every fuzz target. What this machine cannot run is reported as
# skipped, with the reason, and never counted as passed. Ends with one line
# "N passed, N failed, N skipped" over all trees.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh" || exit 1
# The products are built as a release is, from the commit's time, so that
# their trees make the release archives and the archives' test compares them
# with a second build.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

trees=(native win64 win64-tests fuzz guard64-O0 guard64-O2)
wine32_trees=(win32-tests guard-O0 guard-O1 guard-Os guard-O2)
if no32=$(bash "$root/scripts/can-run-32bit.sh"); then
  trees+=(win32 "${wine32_trees[@]}")
  no32=
fi
# Without 32-bit programs the 32-bit product is still built and checked
# (its image, exports and imports); its 32-bit Wine trees are configured
# only, so that their tests can be counted as skipped.
[ -z "$no32" ] || trees+=(win32)
bash "$root/scripts/build.sh" "${trees[@]}" || exit 1
[ -z "$no32" ] || bash "$root/scripts/build.sh" --configure-only "${wine32_trees[@]}" || exit 1

passed=0 failed=0 skipped=0
count_tests() { (cd "$build/$1" && ctest -N "${@:2}") | sed -nE 's/^Total Tests: ([0-9]+)$/\1/p'; }
ctest_tree() {
  (cd "$build/$1" && ctest --output-on-failure -j "$(nproc)" --timeout 900 "${@:2}") \
    >"$build/$1.ctest.log" 2>&1
}

# Prints a tree's test log and adds its counts to the totals.
report_tree() {
  local tree=$1 log="$build/$1.ctest.log" summary total bad skip
  echo "== tests: $tree"
  cat "$log"
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$summary" ] && grep -q 'No tests were found' "$log"; then
    return
  fi
  if [ -z "$summary" ]; then
    echo "no test summary from $tree"
    failed=$((failed + 1))
    return
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  # ctest counts a test that skipped itself as passed; it lists it as
  # "(Skipped)" among the tests that did not run.
  skip=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log")
  passed=$((passed + total - bad - skip))
  failed=$((failed + bad))
  skipped=$((skipped + skip))
}

# The native suite runs on its own (its tests play deadlines on a loaded
# machine's clock); the other trees then run side by side, since their Wine
# programs spend much of their time starting up, each tree in its own prefix.
all=(native win32 win32-tests win64 win64-tests fuzz guard-O0 guard-O1 guard-Os guard-O2
     guard64-O0 guard64-O2)
ctest_tree native
for tree in "${all[@]:1}"; do
  if [ -n "$no32" ] && [ "$tree" = win32 ]; then
    ctest_tree win32 -LE wine &
  elif [ -z "$no32" ] || [[ " ${wine32_trees[*]} " != *" $tree "* ]]; then
    ctest_tree "$tree" &
  fi
done
wait

for tree in "${all[@]}"; do
  if [ -n "$no32" ] && [ "$tree" = win32 ]; then
    report_tree win32
    n=$(count_tests win32 -L wine)
    echo "skipped: $n tests of win32, which run its programs under 32-bit Wine: $no32"
    skipped=$((skipped + n))
  elif [ -n "$no32" ] && [[ " ${wine32_trees[*]} " == *" $tree "* ]]; then
    n=$(count_tests "$tree")
    echo "skipped: $tree ($n tests), which runs under 32-bit Wine: $no32"
    skipped=$((skipped + n))
  else
    report_tree "$tree"
  fi
done

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
