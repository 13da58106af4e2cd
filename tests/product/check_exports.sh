#!/bin/bash
# Checks the export table of the built plug-in: exactly the eleven WRP_
# functions, undecorated, at their ordinals, and only Windows' own DLLs
# imported (Windows, PLATFORM win32-i686 or win32-x86_64); natively, the
# eleven functions and no other symbol.
set -euo pipefail
platform=$1 objdump=$2 library=$3
expected="1 WRP_GetInfo
2 WRP_ExecMacro
3 WRP_GetMacroList
4 WRP_NeedCOM
5 WRP_Setup
6 WRP_Initialize
7 WRP_Finalize
8 WRP_GetName
9 WRP_GetVersion
10 WRP_GetStatus
11 WRP_NeedConfig"
fail() { echo "FAIL: $*"; exit 1; }

if [ "${platform%%-*}" = win32 ]; then
  dump=$("$objdump" -p "$library")
  case $platform in
    win32-i686) grep -q 'file format pei-i386$' <<<"$dump" || fail "not a PE32 image" ;;
    win32-x86_64) grep -q 'file format pei-x86-64$' <<<"$dump" || fail "not a PE32+ image" ;;
    *) fail "unknown platform $platform" ;;
  esac
  grep -Eq 'Name[[:space:]]+[0-9a-f]+ Quillet\.WRP$' <<<"$dump" || fail "module name is not Quillet.WRP"
  grep -q 'Export Address Table -- Ordinal Base 1$' <<<"$dump" || fail "ordinal base is not 1"
  # "[   i] NAME" lines: the name's index into the address table, ordinal i + 1.
  actual=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
    sed -nE 's/^[[:space:]]*\[[[:space:]]*([0-9]+)\][[:space:]]+(.*)$/\1 \2/p' |
    awk '{print $1 + 1, $2}' | sort -n)
  addresses=$(sed -n '/Export Address Table -- Ordinal Base/,/^$/p' <<<"$dump" | grep -c 'Export RVA')
  [ "$addresses" = 11 ] || fail "$addresses entries in the export address table"
  [ "$actual" = "$expected" ] || fail "export table differs:"$'\n'"$actual"
  dlls=$(grep -E '^[[:space:]]+DLL Name:' <<<"$dump" | awk '{print tolower($3)}' | sort -u)
  for dll in $dlls; do
    case "$dll" in
      kernel32.dll|user32.dll|advapi32.dll|ws2_32.dll|msvcrt.dll|version.dll|iphlpapi.dll|shell32.dll|secur32.dll|crypt32.dll) ;;
      *) fail "imports $dll, which is not one of Windows' own DLLs" ;;
    esac
  done
  echo "exports and imports OK: $(wc -l <<<"$actual") exports; imports: $(echo $dlls)"
else
  actual=$("$objdump" -T "$library" | awk '$2 == "g" && $4 == ".text" {print $NF}' | sort)
  want=$(cut -d' ' -f2 <<<"$expected" | sort)
  [ "$actual" = "$want" ] || fail "exported functions differ:"$'\n'"$actual"
  others=$("$objdump" -T "$library" | awk '$2 == "g" && $4 != "*UND*" && $4 != ".text" {print $NF}')
  [ -z "$others" ] || fail "other symbols exported: $others"
  echo "exports OK: $(wc -l <<<"$actual") functions"
fi
