#!/usr/bin/env bash
# The release command, given what check.sh has built: dist/ holds exactly the package, the page's
# zip and SHA256SUMS, the checksums pass, and the zip holds the page's folder file for file.
#   release_test.sh RELEASE_SCRIPT BUILD SITE VERSION
set -euo pipefail
script=$1
build=$2
site=$3
version=$4
tmp=$(mktemp -d /tmp/plotnik-release-test-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0
check() {
    local message=$1
    shift
    if "$@"; then passed=$((passed + 1)); else echo "FAIL: $message"; failed=$((failed + 1)); fi
}

# An earlier release's files in dist/ are replaced; a file of the administrator's own stays.
dist=$tmp/dist
mkdir -p "$dist"
: >"$dist/plotnik_0.9.0_amd64.deb"
: >"$dist/notes.txt"
bash "$script" --reuse "$build" "$site" "$dist" >"$tmp/release.log" 2>&1 || { cat "$tmp/release.log"; exit 1; }

deb=plotnik_${version}_$(dpkg --print-architecture).deb
zip=plotnik-web-$version.zip
files=$(cd "$dist" && ls | sort | xargs)
check "dist holds: $files" [ "$files" = "$(printf '%s\n' "$deb" "$zip" SHA256SUMS notes.txt | sort | xargs)" ]
check "SHA256SUMS names: $(cut -c67- "$dist/SHA256SUMS" | xargs)" \
    [ "$(cut -c67- "$dist/SHA256SUMS" | sort | xargs)" = "$(printf '%s\n' "$deb" "$zip" | sort | xargs)" ]
check "sha256sum -c passes" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"
check "the package's version" [ "$(dpkg-deb -f "$dist/$deb" Version)" = "$version" ]

# The zip unpacks into one folder, plotnik-web-X.Y.Z/, equal to the page's folder.
mkdir "$tmp/unpacked"
(cd "$tmp/unpacked" && cmake -E tar xf "$dist/$zip")
check "the zip's top: $(ls "$tmp/unpacked" | xargs)" [ "$(ls "$tmp/unpacked")" = "plotnik-web-$version" ]
check "the zip equals the page's folder" diff -r "$site" "$tmp/unpacked/plotnik-web-$version"
for file in index.html licencje.html plotnik.js plotnik-program.js; do
    check "the zip has $file" [ -s "$tmp/unpacked/plotnik-web-$version/$file" ]
done

status=0
bash "$script" --reuse "$build" >/dev/null 2>&1 || status=$?
check "a wrong call ends with status 2, not $status" [ "$status" -eq 2 ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
