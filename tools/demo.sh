#!/bin/sh
# The program's main job on its embedded default: the demo store, the simulated printer and
# the demo month (November 2026), one file per day with the customers' documents.
#
# With a display (DISPLAY set) the window opens under Wine: press "Gerar". Without one, the
# support program runs the demo month and a picture of the window is taken under Xvfb.
# Everything goes to out/demo (KALORA_DEMO_OUT to choose another folder).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

out=${KALORA_DEMO_OUT:-$root/out/demo}
first=01/11/2026
last=30/11/2026

echo "== building"
cmake --preset release >/dev/null
cmake --build --preset release --target kalora-nfp kalora-store-builder
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target KaloraNFP

echo "== demo store"
rm -rf "$out"
mkdir -p "$out/work" "$out/drive_c"
build/release/tools/kalora-store-builder "$out/store" tools/demo/Parametro.txt tools/demo/Emp.txt \
  tools/demo/EcfCupom.txt --coupons tools/demo/coupons.txt

# The window under Wine sees the Linux folders through its drive Z:.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
wine_environment() {
  export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export KALORA_ALIAS_Kalora="$(windows_path "$out/store")"
  export KALORA_ALIAS_KaloraLocal="$KALORA_ALIAS_Kalora"
  export KALORA_SIM_MEMORIA="$(windows_path "$root/simulator/demo/memoria.txt")"
}

if [ -n "${DISPLAY:-}" ]; then
  echo "== the window (the files go to $out/wineprefix/drive_c/Varnex/PDV/NFP)"
  wine_environment
  cd "$out/work"
  exec wine "$root/build/win64/bin/KaloraNFP.exe"
fi

echo "== the demo month through the support program: $first to $last"
(
  cd "$out/work"
  KALORA_DRIVE_C="$out/drive_c" KALORA_ALIAS_Kalora="$out/store" KALORA_ALIAS_KaloraLocal="$out/store" \
    KALORA_SIM_MEMORIA="$root/simulator/demo/memoria.txt" \
    "$root/build/release/bin/kalora-nfp" gerar --diario "$first" "$last"
)

echo "== a picture of the window under Xvfb"
(
  wine_environment
  export KALORA_SCREENSHOT_PREFIX="$WINEPREFIX"
  cd "$out/work"
  "$root/tools/screenshot.sh" "$root/build/win64/bin/KaloraNFP.exe" "$out/janela.png"
)

echo
echo "Daily files:    $out/drive_c/Varnex/PDV/NFP/NFP_DIA_*.txt"
echo "Finished files: $out/drive_c/Varnex/PDV/NFP/Final/ ($(ls "$out/drive_c/Varnex/PDV/NFP/Final" | wc -l) days)"
echo "The window:     $out/janela.png"
