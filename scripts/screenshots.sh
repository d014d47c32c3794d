#!/usr/bin/env bash
# screenshots.sh BUILD_DIR OUT_DIR: starts the desktop program under Xvfb with
# a settings store of its own; the program saves its pictures and quits.
set -euo pipefail
build=$1
out=$(realpath -m "$2")
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$out"
rm -f "$out"/*.png
XDG_CONFIG_HOME="$config" KELDRO_SCREENSHOT_DIR="$out" SDL_AUDIODRIVER=dummy \
  timeout 60 xvfb-run -a -s "-screen 0 1280x800x24" "$build/src/shell/keldro"
for picture in split-page merge-page settings-page settings-dialog; do
  [[ -s "$out/$picture.png" ]] || { echo "screenshots: $picture.png is missing" >&2; exit 1; }
done
echo "screenshots: $(ls "$out"/*.png | wc -l) pictures in $out"
