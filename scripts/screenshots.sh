#!/usr/bin/env bash
# screenshots.sh BUILD_DIR OUT_DIR: starts the desktop program under Xvfb with
# a settings store of its own and a VBR sample made by lame; the program saves
# its pictures and quits.
set -euo pipefail
build=$1
out=$(realpath -m "$2")
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$out"
rm -f "$out"/*.png
"$build/tests/keldro-make-tone" "$config/sample.wav" 240
lame --quiet -V 2 --tt "Sample" --ta "Keldro" --tl "Demo Album" --ty 2026 "$config/sample.wav" "$config/专辑.mp3"
XDG_CONFIG_HOME="$config" KELDRO_SCREENSHOT_DIR="$out" SDL_AUDIODRIVER=dummy \
  KELDRO_SCREENSHOT_SOURCE="$config/专辑.mp3" \
  timeout 60 xvfb-run -a -s "-screen 0 1920x1200x24" "$build/src/shell/keldro"
for picture in split-page split-page-large merge-page settings-page settings-dialog \
  tag-editor-dialog equal-parts-dialog overlaps-dialog track-length-dialog \
  split-complete-dialog loading-frames-dialog progress-dialog step-sizes-dialog; do
  [[ -s "$out/$picture.png" ]] || { echo "screenshots: $picture.png is missing" >&2; exit 1; }
done
echo "screenshots: $(ls "$out"/*.png | wc -l) pictures in $out"
