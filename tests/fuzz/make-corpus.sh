#!/bin/sh
# Seeds for paradox_fuzz from the sample tables: each seed is the .DB's length (4 bytes, little
# endian), the .DB and its .PX when it has one.
# Usage: tests/fuzz/make-corpus.sh OUT_FOLDER
set -eu
out="$1"
samples="$(dirname "$0")/../fixtures/paradox/samples"
mkdir -p "$out"
find "$samples" -iname '*.db' | while read -r db; do
  px="${db%.*}.PX"; [ -f "$px" ] || px="${db%.*}.px"; [ -f "$px" ] || px=""
  python3 - "$db" "$px" "$out/$(basename "$(dirname "$db")")_$(basename "$db")" <<'PY'
import sys, struct
db = open(sys.argv[1], 'rb').read()
px = open(sys.argv[2], 'rb').read() if sys.argv[2] else b''
open(sys.argv[3], 'wb').write(struct.pack('<I', len(db)) + db + px)
PY
done
