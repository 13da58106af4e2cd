#!/bin/bash
# Configures and builds the trees under build/ (or $QUILLET_BUILD_DIR):
#   native      the development build, with AddressSanitizer and UBSan (the
#               benchmarks are built there too, so that they keep building)
#   win32       the product, Quillet.WRP and wrphost.exe (win32 thread model)
#   win32-tests the GoogleTest programs for Windows (posix thread model),
#               which load the product of win32 under Wine
#   fuzz        the libFuzzer targets (clang), with short smoke runs as tests
#   guard-O0, guard-O1, guard-Os, guard-O2
#               the fault guard's tests and the black-box tests whose calls
#               pass through it, with the product (guard-LEVEL-product) and
#               the tests (guard-LEVEL) built at that optimisation level and
#               the guard unwinding through a wrapper that clobbers registers
#               as Windows' RtlUnwind may
# Pass tree names to build only those.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}
jobs=$(nproc)
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win32 win32-tests fuzz guard-O0 guard-O1 guard-Os guard-O2)

configure() {
  local tree=$1
  shift
  cmake -S "$root" -B "$build/$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_WERROR=ON "$@" \
    >"$build/$tree.configure.log" || { cat "$build/$tree.configure.log"; exit 1; }
}

mkdir -p "$build"
for tree in "${trees[@]}"; do
  targets=()
  case $tree in
    native) configure native -DQUILLET_SANITIZE=ON -DQUILLET_BENCH=ON ;;
    win32) configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DQUILLET_TEST_SET=product ;;
    win32-tests)
      configure win32-tests -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-posix.cmake" \
        -DQUILLET_TEST_SET=programs -DQUILLET_PRODUCT_DIR="$build/win32/bin" ;;
    fuzz) CC=clang CXX=clang++ configure fuzz -DQUILLET_FUZZ=ON -DQUILLET_TEST_SET=fuzz ;;
    guard-O0 | guard-O1 | guard-Os | guard-O2)
      level=(-DCMAKE_BUILD_TYPE= "-DCMAKE_CXX_FLAGS=-${tree#guard-}" -DQUILLET_SEH_CLOBBERING_UNWIND=ON)
      configure "$tree-product" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DQUILLET_TESTS=OFF "${level[@]}"
      echo "build: $tree-product"
      cmake --build "$build/$tree-product" -j "$jobs" --target Quillet
      configure "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-posix.cmake" "${level[@]}" \
        -DQUILLET_TEST_SET=guard -DQUILLET_PRODUCT_DIR="$build/$tree-product/bin" \
        -DQUILLET_WINEPREFIX="$build/guard-wineprefix"
      targets=(--target guard_tests conformance_tests)
      ;;
    *) echo "unknown tree $tree"; exit 64 ;;
  esac
  echo "build: $tree"
  cmake --build "$build/$tree" -j "$jobs" "${targets[@]}"
done
