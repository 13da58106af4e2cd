#!/bin/sh
# Runs FOLDERPATH's loop test on a tree whose x/mnt is a bind mount of the
# tree's top, inside a mount namespace of its own (exit 77: the system gives
# none, and the test is skipped).
tree=$1 tests=$2
unshare -rm true 2>/dev/null || { echo "no mount namespace here"; exit 77; }
exec unshare -rm sh -c 'mount --bind "$1" "$1/x/mnt" && QUILLET_LOOP_TREE=$1 exec "$2" \
  --gtest_filter=FolderPath.ALoopTreeEndsAndListsEachFolderOnce' sh "$tree" "$tests"
