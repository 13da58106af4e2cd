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
  libmhash-dev librhash-dev libssl-dev zlib1g-dev libisal-dev libbenchmark-dev  # peers for tests and benchmarks
  libcurl4-openssl-dev                         # the HTTP benchmark's peer
  locales                                      # regional date formats of the native tests
)
# Locales whose date formats the native tests read.
test_locales=(de_DE sv_SE en_US)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

regenerate=
for name in "${test_locales[@]}"; do
  locale -a | grep -qx "$name.utf8" && continue
  sed -i -E "s/^# *($name\.UTF-8 UTF-8)$/\1/" /etc/locale.gen
  grep -qx "$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >>/etc/locale.gen
  regenerate=1
done
if [ -n "$regenerate" ]; then locale-gen; fi
