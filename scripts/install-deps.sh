#!/usr/bin/env bash
# Installs the Debian packages Keldro needs to build, test and run.
# Idempotent: packages already installed are left alone; apt runs only when
# something is missing, through sudo only when we are not root.
#   install-deps.sh               what make run and make test need
#   install-deps.sh deb           and what make deb needs
#   install-deps.sh package-test  and what make package-test needs
#   install-deps.sh lintian       and lintian, which make package-test runs when it installs
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make pkg-config
  # desktop program
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # playback library
  libmpg123-dev libsdl2-dev
  # command line and JSON
  libcli11-dev nlohmann-json3-dev
  # tests; the manual page, the bash completion, the AppStream metadata and
  # the help book's checker
  googletest libgtest-dev libgmock-dev groff bash-completion appstream python3
  # test data: real encoder output, an independent decoder and a validator
  lame mpg123 mp3val
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # formatting
  clang-format
  # Chinese text on screen; a virtual screen for `make screenshots`
  fonts-wqy-microhei xvfb xauth
)

case ${1:-} in
  '') ;;
  # dpkg-shlibdeps finds the package's dependencies
  deb) packages+=(dpkg-dev) ;;
  # checking the package, the installed program's window, a test tone
  package-test) packages+=(dpkg-dev desktop-file-utils xdotool lame python3) ;;
  lintian) packages+=(lintian) ;;
  # another program's copy-splitting, timed beside ours
  bench) packages+=(ffmpeg) ;;
  *) echo "install-deps: unknown set '$1' (deb, package-test, lintian, bench)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
