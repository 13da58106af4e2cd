#!/bin/bash
# Builds both builds and runs every test: the native suite under the
# sanitizers, the Windows product's checks and the Windows test programs
# under Wine, and short runs of every fuzz target. Ends with one line
# "N passed, N failed" over all trees.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh" || exit 1
bash "$root/scripts/build.sh" || exit 1

passed=0 failed=0
for tree in native win32 win32-tests fuzz guard-O0 guard-O1 guard-Os guard-O2; do
  echo "== tests: $tree"
  log="$build/$tree.ctest.log"
  (cd "$build/$tree" && ctest --output-on-failure -j "$(nproc)" --timeout 900) 2>&1 | tee "$log"
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$summary" ] && grep -q 'No tests were found' "$log"; then
    continue
  fi
  if [ -z "$summary" ]; then
    echo "no test summary from $tree"
    failed=$((failed + 1))
    continue
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
