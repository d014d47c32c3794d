#!/usr/bin/env bash
# completion_test.sh must refuse a completion that offers the wrong files or
# drifted from the program: broken copies, each with the message expected.
# completion_refusal_test.sh COMPLETION_SCRIPT KELDRO_CLI
set -uo pipefail

here=$(dirname "$(realpath "$0")")
script=$1
cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
# refused NAME EXPECTED_MESSAGE: the check fails on $work/NAME.bash and says why.
refused()
{
    local output
    if output=$("$here/completion_test.sh" "$work/$1.bash" "$cli" 2>&1); then
        echo "FAIL: the check passed a completion with $1" >&2
        failures=$((failures + 1))
    elif ! grep -qF -- "$2" <<<"$output"; then
        echo "FAIL: on a completion with $1 the check said: $output" >&2
        failures=$((failures + 1))
    fi
}

sed "s/_filedir '@(mp3|cue)'/_filedir/" "$script" >"$work/any-file.bash"
refused any-file "'keldro-cli split <TAB>' offers [a.mp3 b.cue c.txt sub], expected [a.mp3 b.cue sub]"

sed 's/ --seamless//' "$script" >"$work/missing-option.bash"
refused missing-option 'split: --help lists'

sed 's/info offset cue split merge/info offset cue merge/' "$script" >"$work/missing-command.bash"
refused missing-command "'keldro-cli sp<TAB>' offers [], expected [split]"

sed 's/_filedir -d/_filedir/' "$script" >"$work/files-for-folder.bash"
refused files-for-folder "'keldro-cli split --out <TAB>' offers"

((failures == 0)) || exit 1
echo "completion check: every broken completion refused"
