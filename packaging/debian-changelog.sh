#!/usr/bin/env bash
# Writes CHANGELOG.md in the form of a Debian changelog, for the package's changelog.gz: one entry
# per "## X.Y.Z (YYYY-MM-DD HH:MM UTC)" section (the time may be left out: noon), its lines as the
# entry's text (markdown marks dropped, wrapped to 78 columns), signed by the package's contact at
# the section's time.
#   debian-changelog.sh CHANGELOG.md "NAME <EMAIL>" > changelog
set -euo pipefail
source=$1
maintainer=$2

entry_open=false
signature=""
text=""
flush_paragraph() {
    # A bullet becomes "  * ", the lines after it are indented to match; a plain paragraph too.
    [ -n "$text" ] || return 0
    printf '%s\n' "$text" | fold -s -w 74 | sed -e '1s/^/  * /' -e '2,$s/^/    /' -e 's/ *$//'
    text=""
}
close_entry() {
    if $entry_open; then
        flush_paragraph
        printf '\n%s\n' "$signature"
    fi
}

while IFS= read -r line || [ -n "$line" ]; do
    if [[ $line =~ ^##\ ([0-9]+\.[0-9]+\.[0-9]+)\ \(([0-9]{4}-[0-9]{2}-[0-9]{2})(\ ([0-9]{2}:[0-9]{2})\ UTC)?\) ]]; then
        close_entry
        $entry_open && echo
        version=${BASH_REMATCH[1]}
        time=${BASH_REMATCH[4]:-12:00}
        signature=" -- $maintainer  $(LC_ALL=C date -u -R -d "${BASH_REMATCH[2]} $time UTC")"
        printf 'plotnik (%s) stable; urgency=medium\n\n' "$version"
        entry_open=true
        continue
    fi
    $entry_open || continue
    line=${line//\*\*/}
    line=${line//\`/}
    if [[ -z $line ]]; then
        flush_paragraph
    elif [[ $line == "- "* ]]; then
        flush_paragraph
        text=${line#- }
    else
        text="${text:+$text }$(echo "$line" | sed 's/^ *//')"
    fi
done <"$source"
close_entry
