#!/bin/sh
# Installs everything the build, the tests and the demo need on a fresh Debian machine.
# Safe to run again: it installs only what is missing.
set -eu

PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev llvm libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
  binutils-mingw-w64-i686 wine wine64 xvfb x11-utils imagemagick nsis zip unzip valgrind
  python3"

missing=""
for package in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing="$missing $package"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
