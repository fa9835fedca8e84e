#!/usr/bin/env bash
# The program as a Windows executable: the expected machine, the console subsystem, only
# system DLLs imported, and ASLR and DEP on.
# usage: check_pe.sh OBJDUMP EXE FORMAT   (FORMAT: pei-i386 or pei-x86-64)
set -u
objdump=$1 exe=$2 format=$3
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }
status=0
fail() { echo "FAIL: $*"; status=1; }

grep -q "file format $format\$" <<<"$headers" || fail "not $format"
grep -Eq '^Subsystem[[:space:]]+00000003' <<<"$headers" || fail "not a console-subsystem program"
for flag in DYNAMIC_BASE NX_COMPAT; do
  grep -q "^[[:space:]]*$flag\$" <<<"$headers" || fail "$flag not set"
done
if [ "$format" = pei-x86-64 ]; then
  grep -q "^[[:space:]]*HIGH_ENTROPY_VA\$" <<<"$headers" || fail "HIGH_ENTROPY_VA not set"
fi

imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
  case "$dll" in
    kernel32.dll|user32.dll|gdi32.dll|msvcrt.dll) ;;
    *) fail "imports $dll, which is not a system DLL" ;;
  esac
done
echo "$exe: $format, console subsystem, imports: $(echo $imports)"
exit $status
