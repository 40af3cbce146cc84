#!/usr/bin/env bash
# Checks the built plugin module from outside: a PE32 i386 DLL exporting only the plugin entry
# and importing nothing but system DLLs.
set -u
dll=$1
fail=0
dump=$(i686-w64-mingw32-objdump -p "$dll") || { echo "cannot read $dll"; exit 1; }

echo "$dump" | grep -q 'file format pei-i386' || { echo "not a PE32 i386 module"; fail=1; }
# Bit 0x2000 of the file characteristics marks a DLL.
chars=$(echo "$dump" | awk '/^Characteristics/ {print $2; exit}')
(( (16#${chars#0x} & 0x2000) != 0 )) || { echo "not a DLL"; fail=1; }

exports=$(echo "$dump" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -oE '^\s*\[ *[0-9]+\] [A-Za-z_@0-9]+' | awk '{print $NF}')
if [ "$exports" != "winampGetGeneralPurposePlugin" ]; then
  echo "exports must be exactly winampGetGeneralPurposePlugin, found: $exports"; fail=1
fi

imports=$(echo "$dump" | grep -oE 'DLL Name: .*' | awk '{print tolower($3)}' | sort -u)
system='^(kernel32|user32|gdi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|advapi32|msvcrt|uxtheme|msimg32|ws2_32|version|shcore|imm32)\.dll$'
for dll_name in $imports; do
  echo "$dll_name" | grep -qE "$system" || { echo "imports a non-system DLL: $dll_name"; fail=1; }
done
[ -n "$imports" ] || { echo "no imports found"; fail=1; }

if [ $fail -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit $fail
