#!/bin/bash
# wrphost shows what the plug-in says about itself, byte for byte: "info"
# (name, version, answers, macros), "html" (the information page, before
# WRP_Initialize, so with an empty settings path) and "exec QLVERSION vv".
# The stamp in the version may be any; it is taken from "info" and checked
# for its form after the version number given.
set -uo pipefail
case_name=$1 version_number=$2 wrphost=$3
shift 3
fail() { echo "FAIL: $*"; exit 1; }
out=$(mktemp) want=$(mktemp)
trap 'rm -f "$out" "$want"' EXIT

rows=(
  "QLVERSION|Returns version info of Quillet"
  "DAYOFYEAR|Returns serial number of day in year"
  "WEEKOFYEAR|Returns serial number of week in year"
  "ISOWEEKOFYEAR|Returns ISO serial number of week in year"
  "EASTERSUNDAY|Returns the date of Easter Sunday in the year"
  "LOCALTZ|Returns local timezone in form +/-HHMM"
  "XFACE|Adds X-Face header to message"
  "HASH|Returns hash of string using any of 21 predefined algos"
  "FIND|* Not implemented yet *"
  "PARENT|* Not implemented yet *"
  "FOLDERPATH|* Not implemented yet *"
  "CONVERTURL|Converts URL into the set of webbymail commands"
  "IPLIST|* Not implemented yet *"
  "ENCODEURL|Convert string into URL-encoded form"
  "EXEC|* Not implemented yet *"
  "EXECFUNC|* Not implemented yet *"
  "WHOIS|* Not implemented yet *"
  "HOSTNAME|Resolves IP-address to hostname"
  "ATTACHURL|Attach file, defined in URI, into message"
  "PING|Ping specified by name or IP-address host"
  "PUTURL|Inserts content of URI into message"
)

"$@" "$wrphost" info >"$out" || fail "wrphost info failed"
version=$(tr -d '\r' <"$out" | sed -n 's/^version: //p')
[[ "$version" =~ ^${version_number//./\\.}\ /[1-9A-F][0-9A-F]*/$ ]] || fail "version text '$version'"

case "$case_name" in
  info)
    tr -d '\r' <"$out" >"$want.got"
    {
      printf 'name: Quillet\nversion: %s\nstatus: 0\nneed-config: 0\nneed-COM: 1\nmacros:\n' "$version"
      for row in "${rows[@]}"; do printf '  %s\n' "${row%%|*}"; done
    } >"$want"
    mv "$want.got" "$out"
    ;;
  html)
    "$@" "$wrphost" html | tr -d '\r' >"$out" || fail "wrphost html failed"
    {
      printf '%s' '<html><head><style>td: { color: Red; } </style></head><body><center><h1>Quillet<br></h1><h2>'
      printf '%s </h2></center><hr>' "$version"
      printf '%s' '<div>Built on the Wrenmail plug-in interface and its template macros.</div>' \
        '<div>Written by the Quillet developers.</div><p><h3>Credits:</h3></p>' \
        '<div>Network components: the Quillet developers.</div>' \
        '<div>Hash algorithms: the Quillet developers.</div><p>Implements:<table>'
      for row in "${rows[@]}"; do
        printf '<tr><td>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;\x95 %s</td><td>&nbsp;&nbsp;%s</td></tr>' \
          "${row%%|*}" "${row#*|}"
      done
      printf '</table></body></html>\n'
    } >"$want"
    ;;
  qlversion_vv)
    "$@" "$wrphost" exec QLVERSION vv >"$out" || fail "wrphost exec QLVERSION vv failed"
    {
      printf 'Quillet %s\r\n' "$version"
      for row in "${rows[@]}"; do
        name=${row%%|*}
        tabs=$'\t'
        [ ${#name} -lt 8 ] && tabs=$'\t\t'
        printf '%s%s%s\r\n' "$name" "$tabs" "${row#*|}"
      done
    } >"$want"
    ;;
  *) fail "unknown case $case_name" ;;
esac
cmp "$want" "$out" || { diff <(od -c "$want") <(od -c "$out") | head -20; fail "$case_name differs"; }
echo OK
