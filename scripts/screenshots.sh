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
# Three chapters for the merge page; the third one mono at 96 kbit/s. lame
# writes ID3v1 in Latin-1, so their tags are in Latin letters.
"$build/tests/keldro-make-tone" "$config/short.wav" 40
lame --quiet -b 128 --tt "Chapter 1" --ta "Keldro" --tl "Audiobook" --ty 2026 --tn 1 --tg Speech \
  "$config/short.wav" "$config/第一章.mp3"
lame --quiet -V 4 --tt "Chapter 2" --ta "Keldro" --tl "Audiobook" --ty 2026 --tn 2 \
  "$config/sample.wav" "$config/第二章.mp3"
lame --quiet -b 96 -m m --tt "Chapter 3" --tn 3 "$config/short.wav" "$config/第三章.mp3"
XDG_CONFIG_HOME="$config" KELDRO_SCREENSHOT_DIR="$out" SDL_AUDIODRIVER=dummy \
  KELDRO_SCREENSHOT_SOURCE="$config/专辑.mp3" \
  KELDRO_SCREENSHOT_MERGE="$config/第二章.mp3:$config/第一章.mp3:$config/第三章.mp3" \
  timeout 60 xvfb-run -a -s "-screen 0 1920x1200x24" "$build/src/shell/keldro"
for picture in split-page split-page-large merge-page settings-page settings-dialog \
  tag-editor-dialog equal-parts-dialog overlaps-dialog track-length-dialog \
  split-complete-dialog loading-frames-dialog progress-dialog step-sizes-dialog \
  merge-page-sorted insert-silence-dialog merge-validate-dialog download-converter-dialog \
  merge-complete-dialog; do
  [[ -s "$out/$picture.png" ]] || { echo "screenshots: $picture.png is missing" >&2; exit 1; }
done
echo "screenshots: $(ls "$out"/*.png | wc -l) pictures in $out"
