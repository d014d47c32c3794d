#!/usr/bin/env bash
# make package-test: builds the Debian package (make deb), checks what it
# holds, installs it on this machine, runs keldro-cli and the desktop program
# from it, and removes it again, also when a step fails.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$PWD
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

step() { printf '\n== %s\n' "$*"; }
die()
{
    echo "package-test: $*" >&2
    exit 1
}

step "tools"
./scripts/install-deps.sh package-test
lintian=1
./scripts/install-deps.sh lintian || lintian=0

step "make deb"
make --no-print-directory deb
version=$(sed -nE 's/^project\(Keldro VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
deb=keldro_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || die "make deb left no $deb"
app_id=$(sed -nE 's/^set\(KELDRO_APP_ID (.+)\)$/\1/p' CMakeLists.txt)

work=$(mktemp -d)
installed=0
cleanup()
{
    local status=$?
    if ((installed)); then
        step "removing the package"
        "${sudo[@]}" apt-get remove -y -qq keldro || status=1
        [[ ! -e /usr/bin/keldro && ! -e /usr/bin/keldro-cli ]] || {
            echo "package-test: the programs are still installed after removal" >&2
            status=1
        }
    fi
    rm -rf "$work"
    if ((status == 0)); then
        echo "package-test: passed"
    else
        echo "package-test: FAILED" >&2
    fi
    exit $status
}
trap cleanup EXIT

step "contents of $deb"
dpkg-deb -c "$deb" | tee "$work/contents"
expected=(
    usr/bin/keldro
    usr/bin/keldro-cli
    "usr/share/applications/$app_id.desktop"
    "usr/share/metainfo/$app_id.metainfo.xml"
    usr/share/icons/hicolor/48x48/apps/keldro.png
    usr/share/icons/hicolor/256x256/apps/keldro.png
    usr/share/man/man1/keldro.1.gz
    usr/share/man/man1/keldro-cli.1.gz
    usr/share/bash-completion/completions/keldro-cli
    usr/share/doc/keldro/copyright
    usr/share/doc/keldro/changelog.gz
)
# The help book comes from its own folder once that is in the tree.
[[ -f docs/help/Keldro.html ]] && expected+=(usr/share/keldro/help/Keldro.html)
for path in "${expected[@]}"; do
    grep -qE " \./$path\$" "$work/contents" || die "$deb does not hold /$path"
done
# Owned by root, programs 0755, every other file 0644, directories 0755,
# nothing outside /usr.
awk '{ print $1, $2, $6 }' "$work/contents" | while read -r mode owner path; do
    [[ $owner == root/root ]] || die "$path is owned by $owner"
    [[ $path == ./ || $path == ./usr/* ]] || die "$path lies outside /usr"
    case $mode in
        d*) [[ $mode == drwxr-xr-x ]] || die "directory $path has mode $mode" ;;
        -*) if [[ $path == ./usr/bin/* ]]; then
                [[ $mode == -rwxr-xr-x ]] || die "program $path has mode $mode"
            else
                [[ $mode == -rw-r--r-- ]] || die "file $path has mode $mode"
            fi ;;
        *) die "$path is neither a file nor a directory ($mode)" ;;
    esac
done

step "control"
dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Homepage Depends Recommends
depends=$(dpkg-deb -f "$deb" Depends)
# libmpg123 and SDL2 come from the playback library inside the program.
for package in libmpg123-0 libsdl2-2.0-0 libqt6widgets6 libc6; do
    grep -qE "(^|, )$package( |,|\$)" <<<"$depends" || die "Depends lacks $package: $depends"
done

step "binaries: stripped, no run path, no build folder"
dpkg-deb -x "$deb" "$work/root"
for program in "$work"/root/usr/bin/*; do
    if readelf -d "$program" | grep -qE '\((RPATH|RUNPATH)\)'; then
        die "$program has a run path: $(readelf -d "$program" | grep -E 'RPATH|RUNPATH')"
    fi
    readelf -S "$program" | grep -qE ' \.(symtab|debug_info) ' && die "$program is not stripped"
    echo "$(basename "$program"): $(file -b "$program" | cut -d, -f1,2,7-)"
done
if grep -rlF "$root/build-deb" "$work/root"; then
    die "files above name the build folder $root/build-deb"
fi

step "desktop entry and AppStream metadata as installed"
desktop-file-validate "$work/root/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$app_id.metainfo.xml"

step "lintian"
if ((lintian)); then
    lintian --fail-on error --display-info "$deb" 2>&1 | tee "$work/lintian" || die "lintian found errors"
    echo "lintian: $(grep -c '^E:' "$work/lintian") errors, $(grep -c '^W:' "$work/lintian") warnings"
else
    echo "lintian could not be installed here: skipped"
fi

step "apt-get install ./$deb"
installed=1
"${sudo[@]}" apt-get install -y -qq "./$deb"
dpkg -s keldro | grep -E '^(Status|Version):'

step "keldro-cli from the package"
/usr/bin/python3 - "$work/tone.wav" <<'PY'
import math, struct, sys, wave
rate = 44100
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(2)
    out.setframerate(rate)
    frames = bytearray()
    for i in range(rate * 3):
        v = int(12000 * math.sin(2 * math.pi * 440 * i / rate))
        frames += struct.pack("<hh", v, v)
    out.writeframes(bytes(frames))
PY
lame --quiet -b 128 "$work/tone.wav" "$work/tone.mp3"
/usr/bin/keldro-cli info "$work/tone.mp3" | tee "$work/info"
grep -q '44100Hz' "$work/info" || die "keldro-cli info did not report the tone's sample rate"
/usr/bin/keldro-cli info --json "$work/tone.mp3" >"$work/info.json"
/usr/bin/python3 - "$work/info.json" <<'PY'
import json, sys
info = json.load(open(sys.argv[1]))
assert info["stream_found"] and info["sample_rate"] == 44100, info
assert abs(info["duration_ms"] - 3000) < 100, info["duration_ms"]
print("info --json: %d ms, %s" % (info["duration_ms"], info["vbr_header"]))
PY
/usr/bin/keldro-cli split --parts 3 --out "$work/pieces" "$work/tone.mp3" >/dev/null
ls "$work/pieces"
[[ $(find "$work/pieces" -name '*.mp3' | wc -l) -eq 3 ]] || die "split --parts 3 did not give 3 files"
man -w keldro-cli
bash -c 'source /usr/share/bash-completion/bash_completion
         __load_completion keldro-cli && complete -p keldro-cli'

step "the desktop program from the package, on a virtual screen"
# A fresh home: the program's settings store must not touch this user's.
# SDL's dummy driver stands in for a sound card, as in the tests: without any
# output the program would first tell so in a message box. The main window
# then comes up only when the playback library inside the program loaded,
# and the library's mapped (already deleted) temporary file and libmpg123
# show in the process's memory map.
mkdir -p -m 700 "$work/home"
HOME=$work/home XDG_RUNTIME_DIR=$work/home SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s '-screen 0 1280x800x24' bash -c '
        /usr/bin/keldro >"$1/keldro.log" 2>&1 &
        pid=$!
        for _ in $(seq 150); do
            if window=$(xdotool search --onlyvisible --name "^Keldro v" 2>/dev/null | head -n 1) && [[ -n $window ]]; then
                echo "window $window: \"$(xdotool getwindowname "$window")\" after ${SECONDS}s"
                grep -E "/tolvex[^/]* \(deleted\)|libmpg123|libSDL2" "/proc/$pid/maps" |
                    awk "{ print \$6, \$7 }" | sort -u
                if ! grep -qE "/tolvex[^/]* \(deleted\)" "/proc/$pid/maps" ||
                    ! grep -q libmpg123 "/proc/$pid/maps"; then
                    echo "the playback library is not loaded"
                    kill "$pid"
                    exit 1
                fi
                kill "$pid"
                wait "$pid" 2>/dev/null
                exit 0
            fi
            kill -0 "$pid" 2>/dev/null || { echo "keldro ended early:"; cat "$1/keldro.log"; exit 1; }
            sleep 0.2
        done
        echo "no Keldro window within 30 s:"
        cat "$1/keldro.log"
        xwininfo -root -tree | head -20
        kill "$pid"
        exit 1
    ' _ "$work" || die "the installed desktop program did not come up with its playback library"
