#!/bin/sh
# Builds the fuzz targets (preset "fuzz") and runs each one for a bounded time with its seeds,
# after replaying the inputs that once failed it (tests/fuzz/regressions/<target>/).
# Stops at the first finding and leaves its input in build/fuzz/findings/<target>/.
#
#   tools/fuzz.sh [SECONDS_PER_TARGET]     default 20; "tools/fuzz.sh 600" for a long run
#
# What each target found so far stays in build/fuzz/corpus/<target>/, so a run goes on where
# the previous one stopped.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-20}
case $seconds in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS_PER_TARGET]" >&2; exit 2 ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
export UBSAN_OPTIONS=print_stacktrace=1

# Prints the end of a target's log and how to keep the input, then fails.
finding() {
  tail -n 40 "$2" >&2
  echo "fuzz: $1 failed; its input is in $build/findings/$1/" >&2
  echo "fuzz: fix the code, then keep the input under tests/fuzz/regressions/$1/" >&2
  exit 1
}

found=0
for seed_list in "$build"/fuzzers/*.seeds; do
  [ -e "$seed_list" ] || continue
  target=${seed_list%.seeds}
  name=$(basename "$target")
  found=$((found + 1))
  mkdir -p "$build/corpus/$name" "$build/findings/$name" "$build/logs"
  log=$build/logs/$name.log

  regressions=tests/fuzz/regressions/$name
  if [ -n "$(ls -A "$regressions" 2>/dev/null)" ]; then
    "$target" -artifact_prefix="$build/findings/$name/" "$regressions"/* >"$log" 2>&1 ||
      finding "$name" "$log"
    echo "fuzz: $name: $(ls "$regressions" | wc -l) regression inputs pass"
  fi

  set --
  while IFS= read -r folder; do set -- "$@" "$folder"; done <"$seed_list"
  "$target" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$build/findings/$name/" \
    "$build/corpus/$name" "$@" >"$log" 2>&1 || finding "$name" "$log"
  echo "fuzz: $name: $(grep '^Done' "$log")"
done

if [ "$found" -eq 0 ]; then
  echo "fuzz: no fuzz targets in $build/fuzzers" >&2
  exit 1
fi
