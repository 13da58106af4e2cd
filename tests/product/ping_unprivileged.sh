#!/bin/bash
# PING without privilege on Linux. In a network namespace of its own, with
# the loopback interface up, wrphost runs as user nobody (no CAP_NET_RAW, so
# no raw socket): while net.ipv4.ping_group_range admits nobody's group, the
# ICMP datagram socket gives the two lines; while it admits no group, the
# call ends with the exact "Access denied" socket error. Exits 77 (skipped)
# with the reason where the namespace, the setting or the user is refused.
set -uo pipefail
wrphost=$1
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

[ "$(id -u)" = 0 ] || skip "making a network namespace and becoming nobody needs root"
unshare -n true 2>/dev/null || skip "network namespaces are refused here"
as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
"${as_nobody[@]}" test -x "$wrphost" 2>/dev/null || skip "user nobody cannot run $wrphost"

# Runs PING 127.0.0.1 2 as nobody in a fresh namespace whose ping_group_range
# is $1; exit 77 when the namespace cannot be set up.
ping_with_range() {
  unshare -n bash -c '
    ip link set lo up || exit 77
    sysctl -q -w net.ipv4.ping_group_range="$1" || exit 77
    shift
    exec "$@" env -i HOME=/nonexistent PATH=/usr/bin:/bin "$0" exec PING 127.0.0.1 2
  ' "$wrphost" "$1" "${as_nobody[@]}" >"$out" 2>"$err"
}

nogroup=$(getent group nogroup | cut -d: -f3)
ping_with_range "$nogroup $nogroup"
code=$?
[ "$code" = 77 ] && skip "the namespace's loopback or ping_group_range cannot be set"
[ "$code" = 0 ] || fail "open range: exit code $code: $(cat "$err")"
line='72 bytes from 127\.0\.0\.1: ICMP_seq=SEQ TTL=[1-9][0-9]* RoundTrip Time(<1|=[1-9][0-9]*) ms'
want="^${line//SEQ/3489}"$'\r\n'"${line//SEQ/3490}"$'\r$'
[[ "$(cat "$out")" =~ $want ]] || fail "open range: lines $(od -c "$out")"
echo "open range: $(tr -d '\r' <"$out" | tr '\n' '|')"

ping_with_range "1 0"
code=$?
[ "$code" = 1 ] || fail "closed range: exit code $code, expected 1: $(cat "$out" "$err")"
printf 'wrphost: abnormal end: EIdSocketError: Socket Error # 10013\r\nAccess denied.\n' >"$out.want"
cmp -s "$err" "$out.want" || { rm -f "$out.want"; fail "closed range: $(od -c "$err")"; }
rm -f "$out.want"
echo "closed range: Access denied"
echo OK
