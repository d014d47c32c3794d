#!/usr/bin/env bash
# run.sh BUILD_DIR: the benchmarks, each against plain reads and copies of the
# same bytes measured in the same run. The large files are removed afterwards.
set -euo pipefail
build=$(realpath "$1")
data="$build/bench-data"
mkdir -p "$data"
small="$data/1MB.mp3"
large="$data/2GiB.mp3"
vbr_seed="$data/vbr-seed.mp3"
vbr_big="$data/300MB-vbr.mp3"
cbr_big="$data/300MB-cbr.mp3"
trap 'rm -f "$large" "$vbr_big" "$cbr_big"' EXIT

if [[ ! -f "$small" || ! -f "$vbr_seed" ]]; then
  "$build/tests/keldro-make-tone" "$data/tone.wav" 65
  lame --quiet -b 128 "$data/tone.wav" "$small"
  lame --quiet -V 2 "$data/tone.wav" "$vbr_seed"
  rm -f "$data/tone.wav"
fi

echo "== analysis (info): must not grow with the file"
echo "bench: writing a 2 GiB file" >&2
: >"$large"
size=$(stat -c %s "$small")
for ((i = 0; i < 2147483648 / size; ++i)); do cat "$small"; done >>"$large"
"$build/bench/info_bench" "$build/src/cli/keldro-cli" "$small" "$large"
rm -f "$large"

echo
echo "== frame table and cutting, 300 MB variable bitrate"
"$build/bench/make_big_mp3" "$vbr_seed" "$vbr_big" 300000000
sync # the new file's writeback would otherwise land inside the timings
"$build/bench/segment_bench" "$build/src/cli/keldro-cli" "$vbr_big"

echo
echo "== keldro-cli split --parts 20, 300 MB files (auto: frame handling for VBR, fast for CBR)"
"$build/bench/make_big_mp3" "$small" "$cbr_big" 300000000
sync
"$build/bench/split_bench" "$build/src/cli/keldro-cli" "$cbr_big" "$vbr_big"

echo
echo "== split page, 20 equal parts, without and with a playback stream of the source"
SDL_AUDIODRIVER=dummy "$build/bench/stream_split_bench" "$build/src/playback/libkeldro_playback.so" "$cbr_big" "$vbr_big"

echo
echo "== split page window, load and 20 equal parts with its start button, against keldro-cli"
if [[ -x "$build/bench/window_split_bench" ]]; then
  "$build/bench/window_split_bench" "$build/src/cli/keldro-cli" "$vbr_big"
fi

echo
echo "== keldro-cli merge, ten files of 30 MB (the first variable bitrate)"
parts=("$data/merge-01.mp3")
"$build/bench/make_big_mp3" "$vbr_seed" "${parts[0]}" 30000000
for i in 02 03 04 05 06 07 08 09 10; do
  "$build/bench/make_big_mp3" "$small" "$data/merge-$i.mp3" 30000000
  parts+=("$data/merge-$i.mp3")
done
sync # the new files' writeback would otherwise land inside the timings
"$build/bench/merge_bench" "$build/src/cli/keldro-cli" "${parts[@]}"

echo
echo "== merge page window, the same ten files added and joined with its start button, against keldro-cli"
if [[ -x "$build/bench/window_merge_bench" ]]; then
  "$build/bench/window_merge_bench" "$build/src/cli/keldro-cli" "${parts[@]}"
fi
rm -f "${parts[@]}"
