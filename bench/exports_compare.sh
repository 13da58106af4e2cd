#!/bin/bash
# HASH through the exports: the product (Quillet.WRP under Wine) beside the
# native library, MB/s at 64 B, 4 KiB and 16 MiB and the ratio; then the same
# for the hash engine alone, compiled with each library's flags. The two
# exports_bench programs run by turns, RUNS times (default 3), and each
# figure is the median of its runs, so that load from other programs
# disturbs both alike.
#   bench/exports_compare.sh NATIVE_BIN WINDOWS_BIN [NAME ...]
# where the directories hold exports_bench and the library built beside it,
# e.g. build/bench/bin (preset bench) and build/bench-win32/bin (the product's
# toolchain and build type with -DQUILLET_BENCH=ON -DQUILLET_TESTS=OFF).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=$1
windows=$2
shift 2
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for run in $(seq "$runs"); do
  "$native/exports_bench" "" "$@" >"$work/native.$run"
  WINEPREFIX=${WINEPREFIX:-$root/build/bench-win32/wineprefix} \
    bash "$root/cmake/wine-run.sh" "$windows/exports_bench.exe" "" "$@" | tr -d '\r' >"$work/windows.$run"
done

# One line per algorithm: the medians of both builds at each size, then the ratios.
cat "$work"/native.* | sed 's/^/native\t/' >"$work/all"
cat "$work"/windows.* | sed 's/^/windows\t/' >>"$work/all"
for what in exports engine; do
  echo "== $what"
  grep -P "^[a-z]+\t$what\t" "$work/all" | cut -f1,3- | awk -F'\t' '
  { rates[$1 FS $2 FS $3] = rates[$1 FS $2 FS $3] " " $4
    if (!($2 in seen)) { seen[$2] = 1; order[++names] = $2 }
    if (!($3 in sized)) { sized[$3] = 1; sizes[++count] = $3 } }
  function median(list,   n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  function label(size) {
    return size >= 1048576 ? size / 1048576 "M" : size >= 1024 ? size / 1024 "K" : size "B"
  }
  END {
    printf "%-11s", "algorithm"
    for (s = 1; s <= count; s++) printf " %9s %9s", "wrp " label(sizes[s]), "so " label(sizes[s])
    for (s = 1; s <= count; s++) printf " %7s", "x " label(sizes[s])
    printf "\n"
    for (i = 1; i <= names; i++) {
      printf "%-11s", order[i]
      for (s = 1; s <= count; s++) {
        w[s] = median(rates["windows" FS order[i] FS sizes[s]])
        n[s] = median(rates["native" FS order[i] FS sizes[s]])
        printf " %9.1f %9.1f", w[s], n[s]
      }
      for (s = 1; s <= count; s++) printf " %7.2f", (n[s] > 0 ? w[s] / n[s] : 0)
      printf "\n"
    }
  }'
done
