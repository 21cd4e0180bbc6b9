#!/bin/sh
# Runs every test: native with sanitizers, Windows x86_64 under Wine, the i686 build with its
# inspection tests, and every fuzz target for a short while. Build folders go to
# build/<preset>.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh

for preset in linux win64 win32; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

echo "== fuzz"
tools/fuzz.sh 15
