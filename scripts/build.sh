#!/bin/bash
# Configures and builds the trees under build/ (or $QUILLET_BUILD_DIR):
#   native      the development build, with AddressSanitizer and UBSan (the
#               benchmarks are built there too, so that they keep building)
#   win32       the 32-bit product, Quillet.WRP and wrphost.exe (mingw-w64
#               i686, win32 thread model)
#   win32-tests the GoogleTest programs for 32-bit Windows (posix thread
#               model), which load the product of win32 under 32-bit Wine
#   win64, win64-tests
#               the same for the 64-bit product (mingw-w64 x86_64), run under
#               64-bit Wine
#   fuzz        the libFuzzer targets (clang), with short smoke runs as tests
#   guard-O0, guard-O1, guard-Os, guard-O2 (32-bit), guard64-O0, guard64-O2
#               the product (TREE-product) and the fault guard's tests (TREE)
#               built at that optimisation level, the guard resuming after
#               registers are clobbered as Windows may leave them; the
#               black-box tests whose calls pass through the guard run from
#               win32-tests or win64-tests (build that first) against the
#               product of the level
# Pass tree names to build only those; with --configure-only the trees are
# configured (their tests registered) and nothing is compiled.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}
jobs=$(nproc)
configure_only=
if [ "${1:-}" = --configure-only ]; then
  configure_only=1
  shift
fi
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win32 win32-tests win64 win64-tests fuzz
                                 guard-O0 guard-O1 guard-Os guard-O2 guard64-O0 guard64-O2)

configure() {
  local tree=$1
  shift
  cmake -S "$root" -B "$build/$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_WERROR=ON "$@" \
    >"$build/$tree.configure.log" || { cat "$build/$tree.configure.log"; exit 1; }
}

compile() {
  [ -z "$configure_only" ] || return 0
  echo "build: $1"
  cmake --build "$build/$1" -j "$jobs" "${@:2}"
}

mkdir -p "$build"
for tree in "${trees[@]}"; do
  case $tree in
    guard-*) toolchain=mingw-i686 ;;
    guard64-*) toolchain=mingw-x86_64 ;;
  esac
  case $tree in
    native) configure native -DQUILLET_SANITIZE=ON -DQUILLET_BENCH=ON && compile native ;;
    win32 | win64)
      [ "$tree" = win32 ] && toolchain=mingw-i686 || toolchain=mingw-x86_64
      configure "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
        -DQUILLET_TEST_SET=product
      compile "$tree"
      ;;
    win32-tests | win64-tests)
      [ "$tree" = win32-tests ] && toolchain=mingw-i686 || toolchain=mingw-x86_64
      configure "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain-posix.cmake" \
        -DQUILLET_TEST_SET=programs -DQUILLET_PRODUCT_DIR="$build/${tree%-tests}/bin"
      compile "$tree"
      ;;
    fuzz) CC=clang CXX=clang++ configure fuzz -DQUILLET_FUZZ=ON -DQUILLET_TEST_SET=fuzz && compile fuzz ;;
    guard-O0 | guard-O1 | guard-Os | guard-O2 | guard64-O0 | guard64-O2)
      level=(-DCMAKE_BUILD_TYPE= "-DCMAKE_CXX_FLAGS=-${tree#guard*-}" -DQUILLET_SEH_CLOBBERING_UNWIND=ON)
      # The handler modules come from the product tree of the same processor
      # when it is built: only the frame and the platform differ by level.
      [ "$toolchain" = mingw-i686 ] && product=win32 || product=win64
      handlers=
      [ -f "$build/$product/src/libquillet_net.a" ] && handlers=$build/$product/src
      configure "$tree-product" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
        -DQUILLET_TESTS=OFF "${level[@]}" -DQUILLET_HANDLERS_FROM="$handlers"
      compile "$tree-product" --target Quillet
      [ "$toolchain" = mingw-i686 ] && tests=win32-tests || tests=win64-tests
      configure "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain-posix.cmake" "${level[@]}" \
        -DQUILLET_TEST_SET=guard -DQUILLET_PRODUCT_DIR="$build/$tree-product/bin" \
        -DQUILLET_WINEPREFIX="$build/${tree%%-*}-wineprefix" \
        -DQUILLET_CONFORMANCE_PROGRAM="$build/$tests/bin/conformance_tests.exe"
      compile "$tree" --target guard_tests
      ;;
    *) echo "unknown tree $tree"; exit 64 ;;
  esac
done
