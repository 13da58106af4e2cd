#!/bin/bash
# wrphost's failure reports: an unknown macro and an abnormal end each print
# their reason on standard error and exit non-zero.
set -uo pipefail
case_name=$1 wrphost=$2
shift 2
run() { "$@" "$wrphost" exec "$macro" "${params[@]}" 2>"$err" >"$out"; }
err=$(mktemp) out=$(mktemp)
trap 'rm -f "$err" "$out"' EXIT
case "$case_name" in
  unknown_macro) macro=FOLDER params=() want_code=2 want_err="knows no macro FOLDER" ;;
  abnormal_end)
    macro=PUTURL params=(https://127.0.0.1/) want_code=1
    want_err="abnormal end: EIdIOHandlerPropInvalid: IOHandler value is not valid" ;;
esac
run "$@"
code=$?
cat "$err"
[ "$code" = "$want_code" ] || { echo "FAIL: exit code $code, expected $want_code"; exit 1; }
grep -Eq "$want_err" "$err" || { echo "FAIL: standard error lacks /$want_err/"; exit 1; }
[ ! -s "$out" ] || { echo "FAIL: something was printed on standard output"; exit 1; }
echo OK
