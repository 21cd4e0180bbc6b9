#!/bin/sh
# release.sh: the release, from a fresh clone, into out/release:
#   KaloraNFP-<version>-win32.zip              the shop's package (no simulator)
#   KaloraNFP-<version>-win32-treinamento.zip  the same with the simulated printer and demo data
#   KaloraNFP-<version>-win32-instalador.exe   the shop's installer (when makensis works)
# It builds the i686 programs (preset win32), the demo store (native preset release) and the
# window for the pictures (win64), takes the guide's pictures into docs/images, checks both
# packages and runs the training package's daily month under Wine with the x86_64 build of
# the same programs (the i686 ones cannot run here).
# Environment: KALORA_JOBS build jobs (default 2).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

version=$(sed -n 's/^project(KaloraNFP VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "$0: no version in CMakeLists.txt" >&2; exit 1; }
jobs=${KALORA_JOBS:-2}
out=$root/out/release
stage=$out/stage
shop_name=KaloraNFP-$version-win32
training_name=KaloraNFP-$version-win32-treinamento
release=tools/release

fail() { echo "$0: $*" >&2; exit 1; }

echo "== building $version"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target kalora-store-builder
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target KaloraNFP kalora-nfp kalora_printer_libraries
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target ui-demo KaloraNFP kalora-nfp \
  kalora_printer_libraries

for program in KaloraNFP.exe kalora-nfp.exe BEMAFI32.DLL BemaMFD.dll BemaMFD2.dll; do
  i686-w64-mingw32-objdump -f "build/win32/bin/$program" | grep -q 'file format pei-i386' ||
    fail "build/win32/bin/$program is not an i686 Windows file"
done

echo "== the guide's pictures"
# A prefix of our own: another one may be in use by someone else's screenshots.
export KALORA_SCREENSHOT_PREFIX="$root/build/wine-screenshot"
for mode in coo data diario; do
  picture=docs/images/modo-$mode.png
  tools/screenshot.sh build/win64/tools/ui-demo/ui-demo.exe "$picture" --modo "$mode"
  # Without dates inside, an unchanged window leaves the file unchanged for git.
  convert "$picture" -strip -define png:exclude-chunk=date,time "$picture"
done

echo "== packages"
rm -rf "$out"
mkdir -p "$stage"

# Texts for Windows: Windows-1252 with CR LF; the alias files are UTF-8 with a BOM.
windows_text() { sed "s/@VERSION@/$version/" "$1" | iconv -f UTF-8 -t CP1252 | sed 's/$/\r/'; }
alias_file() { printf '\357\273\277'; sed 's/$/\r/' "$1"; }

shop=$stage/$shop_name
mkdir -p "$shop"
cp build/win32/bin/KaloraNFP.exe build/win32/bin/kalora-nfp.exe "$shop/"
i686-w64-mingw32-strip "$shop/KaloraNFP.exe" "$shop/kalora-nfp.exe"
windows_text $release/LEIA-ME.txt >"$shop/LEIA-ME.txt"
alias_file $release/kalora-aliases.ini >"$shop/kalora-aliases.ini"

training=$stage/$training_name/KaloraTreinamento
mkdir -p "$training/Dados"
cp "$shop/KaloraNFP.exe" "$shop/kalora-nfp.exe" "$training/"
cp build/win32/bin/BEMAFI32.DLL build/win32/bin/BemaMFD.dll build/win32/bin/BemaMFD2.dll \
  "$training/"
i686-w64-mingw32-strip "$training/BEMAFI32.DLL" "$training/BemaMFD.dll" "$training/BemaMFD2.dll"
{ cat $release/LEIA-ME.txt $release/LEIA-ME-treinamento.txt; } >"$stage/LEIA-ME-treinamento.txt"
windows_text "$stage/LEIA-ME-treinamento.txt" >"$training/LEIA-ME.txt"
alias_file $release/kalora-aliases-treinamento.ini >"$training/kalora-aliases.ini"
sed 's/$/\r/' $release/treinar.bat >"$training/treinar.bat"
cp simulator/demo/memoria.txt "$training/memoria.txt"
build/release/tools/kalora-store-builder "$stage/store" tools/demo/Parametro.txt \
  tools/demo/Emp.txt tools/demo/EcfCupom.txt --coupons tools/demo/coupons.txt >/dev/null
# The tables only: the builder's own alias file names this machine's folders.
cp "$stage/store"/*.DB "$stage/store"/*.PX "$training/Dados/"

(cd "$shop" && zip -q -X "$out/$shop_name.zip" KaloraNFP.exe kalora-nfp.exe kalora-aliases.ini \
  LEIA-ME.txt)
(cd "$stage/$training_name" && zip -q -X -r "$out/$training_name.zip" KaloraTreinamento)

echo "== checking the packages"
names() { unzip -Z1 "$1" | LC_ALL=C sort | tr '\n' ' '; }
unzip -l "$out/$shop_name.zip"
expected="KaloraNFP.exe LEIA-ME.txt kalora-aliases.ini kalora-nfp.exe "
[ "$(names "$out/$shop_name.zip")" = "$expected" ] ||
  fail "$shop_name.zip holds $(names "$out/$shop_name.zip"), expected $expected"
# Nothing of the simulator may reach a shop: its libraries would stand in for the printer's.
if unzip -Z1 "$out/$shop_name.zip" | grep -Ei 'bemafi32|bemamfd|memoria|treinar|\.db$|\.px$'; then
  fail "$shop_name.zip holds a file of the simulator or the demo"
fi
unzip -l "$out/$training_name.zip"
for file in KaloraNFP.exe kalora-nfp.exe LEIA-ME.txt kalora-aliases.ini treinar.bat memoria.txt \
  BEMAFI32.DLL BemaMFD.dll BemaMFD2.dll Dados/Parametro.DB Dados/Emp.DB Dados/EcfCupom.DB; do
  unzip -Z1 "$out/$training_name.zip" | grep -qx "KaloraTreinamento/$file" ||
    fail "$training_name.zip lacks KaloraTreinamento/$file"
done
cr=$(printf '\r')
for text in "$shop/LEIA-ME.txt" "$training/LEIA-ME.txt" "$training/treinar.bat"; do
  ! grep -qv "$cr\$" "$text" || fail "$text has a line without CR LF"
  iconv -f CP1252 -t UTF-8 "$text" >/dev/null || fail "$text is not Windows-1252"
done

echo "== the training package's month under Wine (x86_64 build)"
# Extracted to C:\ of a throwaway prefix, as its read-me says, with the x86_64 programs and
# libraries in place of the i686 ones; the aliases come from its kalora-aliases.ini.
check=$out/check
export WINEPREFIX="$check/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
unzip -q "$out/$training_name.zip" -d "$WINEPREFIX/drive_c"
place=$WINEPREFIX/drive_c/KaloraTreinamento
cp build/win64/bin/KaloraNFP.exe build/win64/bin/kalora-nfp.exe build/win64/bin/BEMAFI32.DLL \
  build/win64/bin/BemaMFD.dll build/win64/bin/BemaMFD2.dll "$place/"
(
  cd "$place"
  KALORA_SIM_MEMORIA='C:\KaloraTreinamento\memoria.txt' \
    wine kalora-nfp.exe gerar --diario 01/11/2026 30/11/2026 --modelo 2
) >"$check/kalora-nfp.log" 2>&1 || { cat "$check/kalora-nfp.log" >&2; fail "the month failed"; }
wineserver -k >/dev/null 2>&1 || true
cat "$check/kalora-nfp.log"
nfp=$WINEPREFIX/drive_c/Varnex/PDV/NFP
days=$(ls "$nfp" | grep -c '^NFP_DIA_202611[0-3][0-9]\.txt$' || true)
finished=$(ls "$nfp/Final" | grep -c '^BE091010\.[1-9A-V]BQ$' || true)
[ "$days" -eq 30 ] && [ "$finished" -eq 30 ] ||
  fail "expected 30 day files and 30 finished files, got $days and $finished in $nfp"
echo "30 day files in C:\\Varnex\\PDV\\NFP, 30 finished files in ...\\Final (BE091010.1BQ ...)"

echo "== installer"
installer=$out/$shop_name-instalador.exe
if makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$shop" -DOUTFILE="$installer" \
  $release/KaloraNFP.nsi; then
  echo "$installer"
else
  echo "$0: makensis failed; the zips are made, the installer is not" >&2
fi

rm -rf "$stage" "$check"
echo
ls -l "$out"
