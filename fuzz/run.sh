#!/usr/bin/env bash
# run.sh BUILD_DIR SECONDS: runs every fuzz target for SECONDS, starting from
# seeds made with lame, and stops at the first crash.
set -euo pipefail
build=$(realpath "$1")
seconds=$2
seeds="$build/seeds"
if [[ ! -d "$seeds/mp3" ]]; then
  mkdir -p "$seeds/mp3" "$seeds/tag"
  # Half a second of noise as raw 16-bit stereo PCM; lame makes the seeds.
  pcm="$seeds/noise.raw"
  head -c 88200 /dev/urandom >"$pcm"
  raw=(--quiet -r -s 44.1 --bitwidth 16 --signed --little-endian)
  lame "${raw[@]}" -b 128 "$pcm" "$seeds/mp3/cbr.mp3"
  lame "${raw[@]}" -V 2 --tt Seed --tn 3 --tg Rock "$pcm" "$seeds/mp3/vbr.mp3"
  lame "${raw[@]}" -b 24 -m m --resample 12 "$pcm" "$seeds/mp3/mpeg25.mp3"
  tail -c 128 "$seeds/mp3/vbr.mp3" >"$seeds/tag/tag.bin"
  rm -f "$pcm"
fi
if [[ ! -f "$seeds/cue/album.cue" ]]; then
  mkdir -p "$seeds/cue"
  printf 'REM GENRE Rock\r\nPERFORMER "Band"\r\nTITLE "Album"\r\nFILE "disc.mp3" MP3\r\n  TRACK 01 AUDIO\r\n    TITLE "One"\r\n    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    INDEX 00 03:20:00\r\n    INDEX 01 03:25:74\r\n' >"$seeds/cue/album.cue"
fi
run() {
  local target=$1 seed=$2
  local corpus="$build/corpus/$target" artifacts="$build/artifacts/$target/"
  local log="$build/$target.log"
  mkdir -p "$corpus" "$artifacts"
  echo "fuzz: $target for ${seconds}s" >&2
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$artifacts" "$corpus" "$seed" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fuzz: $target failed; the input is in $artifacts" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" >&2
}
run fuzz_first_frame "$seeds/mp3"
run fuzz_id3v1 "$seeds/tag"
run fuzz_segment "$seeds/mp3"
run fuzz_cue "$seeds/cue"
