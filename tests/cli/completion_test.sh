#!/usr/bin/env bash
# The bash completion of keldro-cli, driven as readline would drive it:
# completion_test.sh COMPLETION_SCRIPT KELDRO_CLI
set -uo pipefail

script=$(realpath "$1")
cli=$(realpath "$2")
helpers=/usr/share/bash-completion/bash_completion
if [[ ! -r $helpers ]]; then
    echo "bash-completion is not installed ($helpers)" >&2
    exit 1
fi
# shellcheck source=/dev/null
source "$helpers"
# shellcheck source=/dev/null
source "$script"

failures=0
fail()
{
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Completes LINE (the cursor at its end) and prints the candidates sorted, one a line.
complete_line()
{
    local line=$1
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _keldro_cli keldro-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | sed '/^$/d'
}

# expect LINE CANDIDATE...: the candidates offered are exactly these.
expect()
{
    local line=$1
    shift
    local got wanted
    got=$(complete_line "$line" | tr '\n' ' ')
    wanted=$(printf '%s\n' "$@" | sort | sed '/^$/d' | tr '\n' ' ')
    [[ $got == "$wanted" ]] || fail "'$line<TAB>' offers [${got% }], expected [${wanted% }]"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.mp3 b.cue c.txt
mkdir sub
touch sub/D.MP3 sub/e.wav

expect 'keldro-cli sp' split
expect 'keldro-cli ' cue info merge offset split
expect 'keldro-cli --v' --version
expect 'keldro-cli split ' a.mp3 b.cue sub
expect 'keldro-cli split sub/' sub/D.MP3
expect 'keldro-cli split --at 1:00 ' a.mp3 b.cue sub
expect 'keldro-cli split --skip' --skip-existing
expect 'keldro-cli split --no-v' --no-vbr-header
expect 'keldro-cli split --over' --overlap-back --overlap-fwd --overwrite
expect 'keldro-cli split --out ' sub
expect 'keldro-cli split --out=' sub
expect 'keldro-cli split --mode ' auto fast frame
expect 'keldro-cli split --name ' ''
expect 'keldro-cli info ' a.mp3 sub
expect 'keldro-cli cue ' b.cue sub
expect 'keldro-cli merge --ign' --ignore-mismatch
expect 'keldro-cli merge -' -o --album --artist --comment --genre --help --ignore-mismatch \
    --json --no-check --output --overwrite --silence --silence-after --title --track --year
expect 'keldro-cli merge -o ' a.mp3 sub
expect 'keldro-cli merge --silence 2 ' a.mp3 sub
expect 'keldro-cli offset ' a.mp3 sub
expect 'keldro-cli offset --mode ' fast frame
expect 'keldro-cli offset a.mp3 ' ''
expect 'keldro-cli offset --reference 1000 a.mp3 1:00 ' ''

# Every long option the program lists is offered, and none that it does not list.
for command in info offset cue split merge; do
    listed=$("$cli" "$command" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u | tr '\n' ' ')
    offered=$(complete_line "keldro-cli $command --" | tr '\n' ' ')
    [[ $listed == "$offered" ]] || fail "$command: --help lists [${listed% }], completion offers [${offered% }]"
done

if ((failures > 0)); then
    echo "$failures completion check(s) failed" >&2
    exit 1
fi
echo "completion: all checks passed"
