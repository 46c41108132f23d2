#!/bin/bash
# The product links statically: it may import only DLLs that ship with Windows.
set -euo pipefail
exe=${BRISVANE_PRODUCT_EXE:-$1}
[ -f "$exe" ] || { echo "$exe is missing: build the win32 preset first"; exit 1; }
echo "size of $(basename "$exe"): $(stat -c %s "$exe") bytes"
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:" $dlls
status=0
for d in $dlls; do
  case $d in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|shell32.dll|advapi32.dll|msvcrt.dll|ole32.dll|\
    oleaut32.dll|shlwapi.dll|comdlg32.dll|uxtheme.dll|version.dll|ntdll.dll|api-ms-win-*) ;;
    *) echo "not a Windows system DLL: $d"; status=1 ;;
  esac
done
exit $status
