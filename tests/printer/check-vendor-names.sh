#!/bin/sh
# Reads import and export tables with objdump, so the i686 build is checked without running.
#   check-vendor-names.sh OBJDUMP imports PROGRAM DLL NAME...   PROGRAM imports each NAME,
#                                                               undecorated, from DLL
#   check-vendor-names.sh OBJDUMP exports LIBRARY NAME...       LIBRARY exports each NAME and
#                                                               no decorated name at all
set -eu
objdump=$1 mode=$2 file=$3
shift 3
table=$("$objdump" -p "$file")
status=0

if [ "$mode" = imports ]; then
  dll=$1
  shift
  # The entries listed under "DLL Name: <dll>", up to the next blank line.
  names=$(printf '%s\n' "$table" | awk -v dll="$dll" '
    /DLL Name:/ { inside = (toupper($3) == toupper(dll)); next }
    inside && NF == 0 { inside = 0 }
    inside && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print $3 }')
  [ -n "$names" ] || { echo "$file imports nothing from $dll"; exit 1; }
else
  # The entries of the name table, "[   0] Name", up to the next blank line.
  names=$(printf '%s\n' "$table" | awk '
    /\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
    inside && NF == 0 { inside = 0 }
    inside { sub(/^[ \t]*\[ *[0-9]+\] /, ""); print }')
  decorated=$(printf '%s\n' "$names" | grep '@' || true)
  if [ -n "$decorated" ]; then
    echo "$file exports decorated names: $decorated"
    status=1
  fi
fi

for name in "$@"; do
  if ! printf '%s\n' "$names" | grep -qx "$name"; then
    echo "$file: no $mode entry '$name' (found: $(echo $names))"
    status=1
  fi
done
[ $status = 0 ] && echo "$file $mode: $(echo $names)"
exit $status
