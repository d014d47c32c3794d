#!/usr/bin/env bash
# The manual page of keldro-cli: formats without a groff warning and names
# every command and long option that the program's --help lists.
# man_page_test.sh KELDRO_CLI PAGE
set -uo pipefail

cli=$1
page=$2
warnings=$(groff -ww -man -Tutf8 "$page" 2>&1 >/dev/null)
if [[ -n $warnings ]]; then
    echo "groff warned about $page:" >&2
    echo "$warnings" >&2
    exit 1
fi

# Plain text, no hyphenation and lines long enough that no option is broken.
text=$(groff -man -Tascii -P-cbou -rHY=0 -rLL=400n "$page" 2>/dev/null)

synopsis=$(sed -n '/^SYNOPSIS/,/^DESCRIPTION/p' <<<"$text")

failures=0
commands=$("$cli" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && NF { print $1 }')
if [[ -z $commands ]]; then
    echo "$cli --help lists no commands" >&2
    exit 1
fi
for command in $commands; do
    if ! grep -qE "^ +keldro-cli $command( |\$)" <<<"$synopsis"; then
        echo "command not in the synopsis of the manual page: $command" >&2
        failures=$((failures + 1))
    fi
    if ! grep -qE "^ {2,4}$command( |\$)" <<<"$text"; then
        echo "command without a section of its own in the manual page: $command" >&2
        failures=$((failures + 1))
    fi
    for option in $("$cli" "$command" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
        if ! grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text"; then
            echo "option of $command not in the manual page: $option" >&2
            failures=$((failures + 1))
        fi
    done
done
for option in $("$cli" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    if ! grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text"; then
        echo "option not in the manual page: $option" >&2
        failures=$((failures + 1))
    fi
done

((failures == 0)) || exit 1
echo "man page: every command and option of --help is described"
