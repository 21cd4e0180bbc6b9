#!/bin/sh
# Runs test programs under valgrind, in a build without sanitizers (preset "valgrind"):
# the store's tests once they exist, until then the runtime's and the generation's.
# Any memory error or leak fails the run.
#
#   tools/valgrind.sh [TEST_PROGRAM...]     e.g. tools/valgrind.sh runtime_tests
set -eu
cd "$(dirname "$0")/.."
build=build/valgrind

cmake --preset valgrind >/dev/null
cmake --build --preset valgrind

# A built test program by name, or nothing.
program() {
  find "$build" -name "$1" -type f -perm -u+x 2>/dev/null | head -n 1
}

if [ "$#" -eq 0 ]; then
  if [ -n "$(program store_tests)" ]; then
    set -- store_tests
  else
    set -- runtime_tests generation_tests
  fi
fi

for name in "$@"; do
  path=$(program "$name")
  if [ -z "$path" ]; then
    echo "valgrind: no test program $name in $build" >&2
    exit 1
  fi
  echo "== valgrind $name"
  # From its own folder, where ctest runs it too.
  (cd "$(dirname "$path")" &&
    valgrind -q --error-exitcode=1 --leak-check=full "./$name" --gtest_brief=1)
done
