#!/bin/bash
# Installs what building and testing Quillet need on Debian 12, as root, and
# only what is missing: run it as often as you like.
set -euo pipefail

packages=(
  cmake make g++ binutils pkg-config                      # native build
  googletest libgtest-dev                      # tests (sources for the Windows build)
  mingw-w64 g++-mingw-w64-i686                 # the Windows product
  wine wine32:i386                             # running the Windows build
  clang libclang-rt-14-dev                     # fuzzing
  libmhash-dev librhash-dev libssl-dev zlib1g-dev libbenchmark-dev  # peers for tests and benchmarks
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -q
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
