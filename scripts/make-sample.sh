#!/usr/bin/env bash
# make-sample.sh BUILD_DIR OUT.mp3: a ten-second tone encoded by lame, with tags.
set -euo pipefail
build=$1
out=$2
mkdir -p "$(dirname "$out")"
wav="${out%.mp3}.wav"
"$build/tests/keldro-make-tone" "$wav" 10
lame --quiet -V 4 --tt "Keldro sample" --ta "Keldro" --ty 2026 --tg Other "$wav" "$out"
rm -f "$wav"
