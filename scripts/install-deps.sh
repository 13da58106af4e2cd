#!/bin/bash
# Installs what building and testing Quillet need on Debian 12, as root, and
# only what is missing: run it as often as you like. A package mirror caught
# in mid-sync is survived: the index update is tried three times and a
# failing index does not stop it; when the install then cannot be resolved
# (typically amd64 packages from the security suite against i386 ones from
# the main suite, whose security index failed), it is tried once more with
# the security suite pinned below the main one, for that command only.
set -uo pipefail

packages=(
  cmake make g++ binutils pkg-config libssl-dev           # native build (OpenSSL: the TLS client)
  googletest libgtest-dev                      # tests (sources for the Windows build)
  mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64       # the Windows products
  wine wine64 wine32:i386                      # running the Windows builds
  clang libclang-rt-14-dev                     # fuzzing
  libmhash-dev librhash-dev zlib1g-dev libisal-dev libbenchmark-dev  # peers for tests and benchmarks
  libcurl4-openssl-dev                         # the HTTP benchmark's peer
  locales                                      # regional date formats of the native tests
  unzip                                        # reading the release archives in their test
)
# Locales whose date formats the native tests read.
test_locales=(de_DE sv_SE en_US)
update_tries=3 update_pause=10

missing_packages() {
  local package status
  for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || echo "$package"
  done
}

install() { DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$@"; }

mapfile -t missing < <(missing_packages)
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  for try in $(seq "$update_tries"); do
    apt-get update -q && break
    echo "install-deps: apt-get update failed (try $try of $update_tries)"
    [ "$try" -lt "$update_tries" ] && sleep "$update_pause"
  done
  if ! install "${missing[@]}"; then
    pin=$(mktemp)
    trap 'rm -f "$pin"' EXIT
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf 'Package: *\nPin: release n=%s-security\nPin-Priority: 400\n' "$codename" >"$pin"
    echo "install-deps: trying again with $codename-security pinned below $codename"
    install -o Dir::Etc::Preferences="$pin" "${missing[@]}"
  fi
  mapfile -t missing < <(missing_packages)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: could not install ${missing[*]}"
    exit 1
  fi
fi

regenerate=
for name in "${test_locales[@]}"; do
  locale -a | grep -qx "$name.utf8" && continue
  sed -i -E "s/^# *($name\.UTF-8 UTF-8)$/\1/" /etc/locale.gen
  grep -qx "$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >>/etc/locale.gen
  regenerate=1
done
if [ -n "$regenerate" ]; then locale-gen || exit 1; fi
