#!/usr/bin/env bash
# man_page_test.sh must refuse a page that drifted from the program or that
# groff warns about: broken copies of the page, each with the message expected.
# man_page_refusal_test.sh KELDRO_CLI PAGE
set -uo pipefail

here=$(dirname "$(realpath "$0")")
cli=$1
page=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
# refused NAME EXPECTED_MESSAGE: the check fails on $work/NAME.1 and says why.
refused()
{
    local output
    if output=$("$here/man_page_test.sh" "$cli" "$work/$1.1" 2>&1); then
        echo "FAIL: the check passed a page with $1" >&2
        failures=$((failures + 1))
    elif ! grep -qF -- "$2" <<<"$output"; then
        echo "FAIL: on a page with $1 the check said: $output" >&2
        failures=$((failures + 1))
    fi
}

sed '/^\.B \\-\\-seamless$/d' "$page" >"$work/missing-option.1"
refused missing-option 'option of split not in the manual page: --seamless'

sed 's/^\.SS "merge .*/.SS Joining/' "$page" >"$work/missing-section.1"
refused missing-section 'command without a section of its own in the manual page: merge'

sed '/^\.B offset$/d' "$page" >"$work/missing-synopsis.1"
refused missing-synopsis 'command not in the synopsis of the manual page: offset'

{ cat "$page"; echo '.XX'; } >"$work/unknown-macro.1"
refused unknown-macro "macro 'XX' not defined"

((failures == 0)) || exit 1
echo "man page check: every broken page refused"
