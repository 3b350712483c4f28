#!/usr/bin/env bash
# The release command, given what check.sh has built: dist/ holds exactly the package, the page's
# zip, the Windows zip and its .msi (when a Windows build is given) and SHA256SUMS, the checksums
# pass, each zip holds its folder file for file with the commit's time on every member, and the
# .msi installs the Windows zip's files with its shortcut and entry. Without a Windows build the
# release says what it leaves out.
#   release_test.sh RELEASE_SCRIPT BUILD SITE VERSION [WINDOWS_ZIP]
set -euo pipefail
source "$(dirname "$(realpath "$0")")/checks.sh"
script=$1
build=$2
site=$3
version=$4
windows_zip=${5:-}
tmp=$(mktemp -d /tmp/plotnik-release-test-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
sorted() { printf '%s\n' "$@" | LC_ALL=C sort | xargs; }
# The release stamps everything with the commit's time; zip keeps even seconds, rounding up.
epoch=$(git -C "$(dirname "$script")" log -1 --format=%ct)
zip_time=$(TZ=UTC date -d "@$(((epoch + 1) / 2 * 2))" +%Y%m%d.%H%M%S)

# A zip as the release must make it: one folder NAME at the top, every member stamped with the
# commit's time, folders 755 and files 644, names in byte order.
check_zip() {
    local zip=$1 name=$2 listing
    listing=$(TZ=UTC unzip -Z -T "$zip" | sed '1,2d;$d')
    check "$zip: its top: $(awk '{print $NF}' <<<"$listing" | cut -d/ -f1 | sort -u | xargs)" \
        [ "$(awk '{print $NF}' <<<"$listing" | cut -d/ -f1 | sort -u)" = "$name" ]
    check "$zip: member times other than $zip_time: $(awk -v t="$zip_time" '$7 != t' <<<"$listing" | head -3)" \
        [ -z "$(awk -v t="$zip_time" '$7 != t' <<<"$listing")" ]
    check "$zip: modes other than 755 and 644" \
        [ -z "$(awk '$1 != "drwxr-xr-x" && $1 != "-rw-r--r--"' <<<"$listing")" ]
    check "$zip: names out of order" \
        [ "$(awk '{print $NF}' <<<"$listing")" = "$(awk '{print $NF}' <<<"$listing" | LC_ALL=C sort)" ]
}

deb=plotnik_${version}_$(dpkg --print-architecture).deb
zip=plotnik-web-$version.zip
windows_files=()
[ -z "$windows_zip" ] || windows_files=("plotnik-windows-$version.zip" "plotnik-$version.msi")
expected=("$deb" "$zip" "${windows_files[@]}")

# An earlier release's files in dist/ are replaced; a file of the administrator's own stays.
dist=$tmp/dist
mkdir -p "$dist"
: >"$dist/plotnik_0.9.0_amd64.deb"
: >"$dist/plotnik-0.9.0.msi"
: >"$dist/notes.txt"
windows_args=()
[ -z "$windows_zip" ] || windows_args=(--windows "$windows_zip")
bash "$script" --reuse "$build" "$site" "${windows_args[@]}" "$dist" >"$tmp/release.log" 2>&1 ||
    { cat "$tmp/release.log"; exit 1; }

check "dist holds: $(cd "$dist" && ls | xargs)" [ "$(cd "$dist" && ls | LC_ALL=C sort | xargs)" = "$(sorted "${expected[@]}" SHA256SUMS notes.txt)" ]
check "SHA256SUMS names: $(cut -c67- "$dist/SHA256SUMS" | xargs)" \
    [ "$(cut -c67- "$dist/SHA256SUMS" | LC_ALL=C sort | xargs)" = "$(sorted "${expected[@]}")" ]
check "sha256sum -c passes" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"
check "the package's version" [ "$(dpkg-deb -f "$dist/$deb" Version)" = "$version" ]

# The page's zip unpacks into one folder, plotnik-web-X.Y.Z/, equal to the page's folder.
mkdir "$tmp/unpacked"
(cd "$tmp/unpacked" && unzip -q "$dist/$zip")
check_zip "$dist/$zip" "plotnik-web-$version"
check "the zip equals the page's folder" diff -r "$site" "$tmp/unpacked/plotnik-web-$version"
for file in index.html licencje.html plotnik.js plotnik-program.js; do
    check "the zip has $file" [ -s "$tmp/unpacked/plotnik-web-$version/$file" ]
done

if [ -n "$windows_zip" ]; then
    # The Windows zip as windows/build.sh made it: both programs (the console program with its
    # icon), the DLLs, the font, the README and the licences.
    windows=$tmp/unpacked/plotnik-windows-$version
    check "the Windows zip in dist is the one built" cmp -s "$windows_zip" "$dist/${windows_files[0]}"
    check_zip "$dist/${windows_files[0]}" "plotnik-windows-$version"
    (cd "$tmp/unpacked" && unzip -q "$dist/${windows_files[0]}")
    names=$(cd "$windows" && find . -type f | cut -c3- | LC_ALL=C sort | xargs)
    want="Assets/Calibri.ttf README.txt SDL2.dll SDL2_image.dll SDL2_ttf.dll licenses/Carlito-copyright.txt
          licenses/Plotnik-LICENSE.txt licenses/giflib-copyright.txt licenses/harfbuzz-copyright.txt
          licenses/libpng1.6-copyright.txt licenses/libraries.txt licenses/libsdl2-copyright.txt
          licenses/libsdl2-image-copyright.txt licenses/libsdl2-ttf-copyright.txt
          licenses/mingw-w64-copyright.txt licenses/freetype-copyright.txt licenses/zlib-copyright.txt
          plotnik-snapshot.exe plotnik.exe"
    check "the Windows zip holds: $names" [ "$names" = "$(sorted $want)" ]
    for exe in plotnik.exe plotnik-snapshot.exe; do
        check "$exe is a 64-bit Windows console program" \
            grep -q 'PE32+ executable (console) x86-64' <(file -b "$windows/$exe")
    done
    check "plotnik.exe carries an icon of 7 sizes" \
        [ "$(wrestool -l --type=3 "$windows/plotnik.exe" | wc -l)" -eq 7 ]

    # The installer: the same files, the shortcut, the entry in "Apps", per machine, stamped with
    # the commit's time.
    msi=$dist/${windows_files[1]}
    msiextract -C "$tmp/msi" "$msi" >/dev/null
    # (msiextract leaves out Program Files, the one folder above.)
    check "the .msi installs into Plotnik: $(ls "$tmp/msi" | xargs)" [ "$(ls "$tmp/msi")" = Plotnik ]
    check "the .msi installs the Windows zip's files" diff -r "$windows" "$tmp/msi/Plotnik"
    property() { msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' -v p="$1" '$1 == p {print $2}'; }
    for entry in "ProductVersion $version" "Manufacturer The Plotnik authors" "ProductName Plotnik" \
                 "ALLUSERS 1" "ARPPRODUCTICON plotnik.ico"; do
        read -r name value <<<"$entry"
        check "the .msi's $name: $(property "$name")" [ "$(property "$name")" = "$value" ]
    done
    check "the .msi has an upgrade code" grep -qE '^\{[0-9A-F-]{36}\}$' <<<"$(property UpgradeCode)"
    shortcut=$(msiinfo export "$msi" Shortcut | tr -d '\r' | awk -F'\t' 'NR > 3 {print $2, $3, $5, $9, $12}')
    check "the .msi's shortcut: $shortcut" \
        [ "$shortcut" = "ProgramMenuFolder Plotnik [#f_plotnik.exe] plotnik.ico INSTALLDIR" ]
    created=$(TZ=UTC msiinfo suminfo "$msi" | sed -n 's/^Created: //p')
    check "the .msi was stamped $created" [ "$(LC_ALL=C TZ=UTC date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')" = "$created" ]

    # Without a Windows build the release leaves those two files out, and says so.
    bash "$script" --reuse "$build" "$site" "$tmp/dist-linux" >"$tmp/release-linux.log" 2>&1 ||
        { cat "$tmp/release-linux.log"; exit 1; }
    check "without Windows, dist holds: $(cd "$tmp/dist-linux" && ls | xargs)" \
        [ "$(cd "$tmp/dist-linux" && ls | LC_ALL=C sort | xargs)" = "$(sorted "$deb" "$zip" SHA256SUMS)" ]
    left_out=("${windows_files[@]}")
else
    left_out=("plotnik-windows-$version.zip" "plotnik-$version.msi")
    cp "$tmp/release.log" "$tmp/release-linux.log"
fi
check "the release says it left out ${left_out[*]}" \
    grep -qF "Left out: ${left_out[*]}" "$tmp/release-linux.log"

# Wrong calls end with status 2 before anything is made.
for call in "--reuse $build" "--reuse $build $site --windows" "--reuse $build $site $tmp/a $tmp/b" "--build"; do
    status=0
    # shellcheck disable=SC2086  # the call is meant to split
    bash "$script" $call >/dev/null 2>&1 || status=$?
    check "tools/release.sh $call ends with status 2, not $status" [ "$status" -eq 2 ]
done

checks_done
