#!/bin/sh
# Runs ATTACHURL's full-disk test with the temporary-files directory on a
# 256 KiB tmpfs of its own, inside a mount namespace of its own (exit 77: the
# system gives none, and the test is skipped).
dir=$1 tests=$2
mkdir -p "$dir"
unshare -rm true 2>/dev/null || { echo "no mount namespace here"; exit 77; }
exec unshare -rm sh -c 'mount -t tmpfs -o size=256k quillet-full "$1" && TMPDIR=$1 exec "$2" \
  --gtest_also_run_disabled_tests \
  --gtest_filter=WebMacros.DISABLED_AttachUrlOnAFullDiskEndsAsAWriteErrorAndLeavesNothing' \
  sh "$dir" "$tests"
