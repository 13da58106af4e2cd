#!/bin/bash
# Runs every example of the user's guide through "wrphost expand" and compares
# the result byte for byte.
#
# An example is a fenced block tagged "template" directly followed (blank lines
# between them only) by a block tagged "output" (the expected standard output)
# or "error" (the expected abnormal end, "KIND: MESSAGE", as wrphost reports it
# after "wrphost: abnormal end: "). The template file is the block's lines,
# each ended by LF; a block tagged "template crlf" is saved with CR LF line
# ends, as a Windows editor saves it, and its output block is then read with
# CR LF line ends too. A line "<!-- wrphost: OPTIONS -->" before the template
# gives wrphost's options. The examples show version 0.3.21 and a web server
# at 127.0.0.1:8080; the build's version and the test server's port take their
# places. Each example runs in a scratch folder holding the account folder
# "Mail" (Inbox, Sent, Old\Inbox and a file Old\Inbox.txt), with the stamp
# file written at 1 December 2026 09:30, in the C locale and in UTC.
#
# Usage: guide_examples.sh GUIDE VERSION WRPHOST
set -uo pipefail
guide=$(realpath "$1") version=$2 wrphost=$(realpath "$3")
scratch=$(mktemp -d) server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
export LC_ALL=C TZ=UTC TMPDIR=$scratch/temp QUILLET_REGISTRY=$scratch/no-registry.reg \
       QUILLET_DRIVES=$scratch/drives
stamp="drives/c/Program Files/Wrenmail/adds/wrp"
mkdir -p temp web examples Mail/Inbox Mail/Sent Mail/Old/Inbox "$stamp"
touch Mail/Old/Inbox.txt
touch -d '2026-12-01 09:30' "$stamp/Quillet.WRP"
printf 'Hello from the web.' >web/hello.txt
printf 'Quarterly figures: all well.\n' >web/report.txt

# The web server of the PUTURL and ATTACHURL examples: loopback only, on a
# port of the system's choice, stopped when the test ends or after 60 s.
timeout 60 python3 -c 'import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory="web")
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()' >port 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -s port ] && break; sleep 0.1; done
port=$(cat port)
[ -n "$port" ] || { echo "FAIL: the loopback web server did not start"; exit 1; }

# Splits the guide into examples/N.{template,output|error,crlf,options,line}.
awk -v dir=examples '
  function fail(text) { print "FAIL: guide line " NR ": " text; failed = 1; exit 1 }
  inblock && /^```$/ {
    inblock = 0
    if (tag ~ /^template( crlf)?$/) {
      n++; waiting = 1
      printf "%s", body > (dir "/" n ".template"); close(dir "/" n ".template")
      printf "%s", options > (dir "/" n ".options"); close(dir "/" n ".options")
      print start > (dir "/" n ".line"); close(dir "/" n ".line")
      if (tag ~ /crlf/) printf "" > (dir "/" n ".crlf")
    } else if (tag == "output" || tag == "error") {
      if (!waiting) fail("an " tag " block without its template")
      waiting = 0
      printf "%s", body > (dir "/" n "." tag); close(dir "/" n "." tag)
    } else if (waiting) fail("a template without its output")
    options = ""
    next
  }
  inblock { body = body $0 "\n"; next }
  /^```/ { inblock = 1; tag = substr($0, 4); body = ""; start = NR; next }
  /^<!-- wrphost: .* -->$/ { options = substr($0, 15, length($0) - 18); next }
  /[^ \t]/ { if (waiting) fail("a template without its output"); options = "" }
  END { if (!failed && waiting) fail("a template without its output") }
' "$guide" || exit 1

crlf() { sed 's/$/\r/' "$1"; }
failures=0 count=0
for template in examples/*.template; do
  n=${template%.template} count=$((count + 1))
  [ -e "$n.crlf" ] && crlf "$template" >"$n.tpl" || cp "$template" "$n.tpl"
  sed -i "s|127\.0\.0\.1:8080|127.0.0.1:$port|g" "$n.tpl"
  read -ra options <"$n.options"
  timeout 30 "$wrphost" "${options[@]}" expand "$n.tpl" >"$n.got" 2>"$n.err"
  code=$?
  if [ -e "$n.error" ]; then
    want_code=1
    sed -n '/^wrphost: abnormal end: /,$ { s/^wrphost: abnormal end: //; p }' "$n.err" >"$n.got"
    cp "$n.error" "$n.want"
  else
    want_code=0
    [ -e "$n.crlf" ] && crlf "$n.output" >"$n.want" || cp "$n.output" "$n.want"
  fi
  sed -i "s/0\.3\.21/$version/g" "$n.want"
  if [ "$code" != "$want_code" ] || ! cmp -s "$n.want" "$n.got"; then
    failures=$((failures + 1))
    echo "FAIL: the example at guide line $(cat "$n.line") (exit code $code, expected $want_code)"
    diff <(od -c "$n.want") <(od -c "$n.got") | head -20
    cat "$n.err"
  fi
done
echo "$count examples, $failures differ"
[ "$count" -gt 0 ] && [ "$failures" = 0 ]
