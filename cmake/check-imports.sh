#!/bin/sh
# check-imports.sh ARCH PROGRAM DLL...: fails when PROGRAM imports a DLL that is neither a
# system DLL nor one of the DLLs listed.
set -eu
arch=$1 program=$2
shift 2
system="KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll COMDLG32.dll ADVAPI32.dll SHELL32.dll
  ole32.dll OLEAUT32.dll msvcrt.dll api-ms-win-crt-* WS2_32.dll SHLWAPI.dll UxTheme.dll"
status=0
for dll in $("$arch-w64-mingw32-objdump" -p "$program" | sed -n 's/^\tDLL Name: //p'); do
  allowed=no
  for pattern in $system "$@"; do
    # shellcheck disable=SC2254
    case $(echo "$dll" | tr a-z A-Z) in $(echo "$pattern" | tr a-z A-Z)) allowed=yes ;; esac
  done
  if [ $allowed = no ]; then
    echo "$program imports $dll, which a shop's machine does not have"
    status=1
  fi
done
exit $status
