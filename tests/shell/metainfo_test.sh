#!/usr/bin/env bash
# The AppStream metadata: its id and launchable are the desktop entry's
# installed name, its newest release is the project's version, and
# appstreamcli (when installed; else the test is skipped) finds no fault.
# metainfo_test.sh METAINFO DESKTOP_ENTRY APP_ID VERSION
set -uo pipefail

metainfo=$1
desktop=$2
app_id=$3
version=$4
skip=77

# The first element of that name in the file, without its tags.
element()
{
    grep -oE "<$1[^>]*>[^<]*</$1>" "$metainfo" | head -n 1 | sed -E 's/<[^>]*>//g'
}

failures=0
fail()
{
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

[[ $(element id) == "$app_id" ]] || fail "id is '$(element id)', not '$app_id'"
[[ $(element launchable) == "$app_id.desktop" ]] ||
    fail "launchable is '$(element launchable)', not '$app_id.desktop'"
release=$(grep -oE '<release [^>]*version="[^"]*"' "$metainfo" | head -n 1 | sed -E 's/.*version="([^"]*)"/\1/')
[[ $release == "$version" ]] || fail "newest release is '$release', not the project's $version"
for binary in keldro keldro-cli; do
    grep -qF "<binary>$binary</binary>" "$metainfo" || fail "does not provide $binary"
done
grep -qE '^Icon=keldro$' "$desktop" || fail "the desktop entry's icon is not keldro"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
fi
((failures == 0)) || exit 1

if ! command -v appstreamcli >/dev/null; then
    echo "appstreamcli is not installed: validation skipped"
    exit $skip
fi
# Infos may stay (the vendor's top-level domain is not one appstreamcli
# knows); errors, warnings and pedantic remarks may not.
report=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)
status=$?
echo "$report"
if ((status != 0)) || grep -qE '^[EWP]: ' <<<"$report"; then
    echo "FAIL: appstreamcli validate refused $metainfo" >&2
    exit 1
fi
