#!/bin/bash
# Configures and builds the three trees under build/ (or $QUILLET_BUILD_DIR):
#   native      the development build, with AddressSanitizer and UBSan
#   win32       the product, Quillet.WRP and wrphost.exe (win32 thread model)
#   win32-tests the GoogleTest programs for Windows (posix thread model),
#               which load the product of win32 under Wine
#   fuzz        the libFuzzer targets (clang), with short smoke runs as tests
# Pass tree names to build only those.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$root/build}
jobs=$(nproc)
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win32 win32-tests fuzz)

configure() {
  local tree=$1
  shift
  cmake -S "$root" -B "$build/$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$build/$tree.configure.log" ||
    { cat "$build/$tree.configure.log"; exit 1; }
}

mkdir -p "$build"
for tree in "${trees[@]}"; do
  case $tree in
    native) configure native -DQUILLET_SANITIZE=ON ;;
    win32) configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DQUILLET_TEST_SET=product ;;
    win32-tests)
      configure win32-tests -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-posix.cmake" \
        -DQUILLET_TEST_SET=programs -DQUILLET_PRODUCT_DIR="$build/win32/bin" ;;
    fuzz) CC=clang CXX=clang++ configure fuzz -DQUILLET_FUZZ=ON -DQUILLET_TEST_SET=fuzz ;;
    *) echo "unknown tree $tree"; exit 64 ;;
  esac
  echo "build: $tree"
  cmake --build "$build/$tree" -j "$jobs"
done
