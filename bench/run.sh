#!/usr/bin/env bash
# run.sh BUILD_DIR: makes a 1 MB and a 2 GiB MP3 (the first repeated) and
# times the analysis of both side by side.
set -euo pipefail
build=$(realpath "$1")
data="$build/bench-data"
mkdir -p "$data"
small="$data/1MB.mp3"
large="$data/2GiB.mp3"
if [[ ! -f "$small" ]]; then
  "$build/tests/keldro-make-tone" "$data/tone.wav" 65
  lame --quiet -b 128 "$data/tone.wav" "$small"
  rm -f "$data/tone.wav"
fi
if [[ ! -f "$large" ]]; then
  echo "bench: writing a 2 GiB file (removed afterwards)" >&2
  : >"$large"
  size=$(stat -c %s "$small")
  for ((i = 0; i < 2147483648 / size; ++i)); do cat "$small"; done >>"$large"
fi
"$build/bench/info_bench" "$build/src/cli/keldro-cli" "$small" "$large"
rm -f "$large"
