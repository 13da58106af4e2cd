#!/bin/bash
# Tells whether this machine runs 32-bit x86 programs natively, by running
# one: the 32-bit dynamic loader that 32-bit Wine brings. Exit 0 when it
# does; otherwise exit 1 with the reason on standard output. Some kernels
# refuse 32-bit programs ("Exec format error"); where they run only under
# emulation (qemu-i386 through binfmt_misc), 32-bit Wine does not get far,
# so that counts as "no" as well. QUILLET_NO_32BIT=1 forces the answer "no",
# so that the skip path can be tried on any machine.
set -uo pipefail
loader=/lib/ld-linux.so.2
if [ -n "${QUILLET_NO_32BIT:-}" ]; then
  echo "QUILLET_NO_32BIT is set"
  exit 1
fi
if [ ! -e "$loader" ]; then
  echo "there is no 32-bit loader ($loader): 32-bit Wine is not installed"
  exit 1
fi
if ! answer=$("$loader" --version 2>&1 </dev/null); then
  echo "this machine cannot run 32-bit programs ($loader: ${answer##*: })"
  exit 1
fi
for handler in /proc/sys/fs/binfmt_misc/qemu-i386 /proc/sys/fs/binfmt_misc/qemu-i486; do
  if [ -f "$handler" ] && grep -qx enabled "$handler"; then
    echo "32-bit programs run here only under emulation ($handler), where 32-bit Wine hangs"
    exit 1
  fi
done
exit 0
