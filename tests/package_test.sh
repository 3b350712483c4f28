#!/usr/bin/env bash
# The Debian package: its files (the web page among them, as the web build made it), its
# dependencies and recommendations, and its exporter, unpacked into a folder of its own (never
# installed), finding the installed Carlito from any folder.
#   package_test.sh CPACK VERSION EXPORTER SITE   (run in the build directory)
set -euo pipefail
source "$(dirname "$(realpath "$0")")/checks.sh"
cpack=$1
version=$2
exporter=$3
site=$4
tmp=$(mktemp -d /tmp/plotnik-package-XXXXXX)
trap 'rm -rf "$tmp"' EXIT

# Every tool the checks lean on: a missing one fails here, and its checks below fail too; none
# of them passes unseen.
have() { command -v "$1" >/dev/null; }
for tool in dpkg dpkg-deb dpkg-architecture dpkg-parsechangelog readelf lintian appstreamcli \
            desktop-file-validate man zcat /usr/bin/identify; do
    check "needed tool missing: $tool" have "$tool"
done

"$cpack" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; exit 1; }
deb=$tmp/out/plotnik_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "no $deb"; ls "$tmp/out"; exit 1; }

# Exactly these files, nothing from the build folder (no Assets beside the programs).
icon_sizes=(16 22 24 32 48 64 128 192 256 512)
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
expected=$(printf '%s\n' ./usr/bin/plotnik ./usr/bin/plotnik-snapshot ./usr/bin/plotnik-klasa \
    ./usr/share/applications/org.plotnik.Plotnik.desktop \
    ./usr/share/metainfo/org.plotnik.Plotnik.metainfo.xml \
    ./usr/share/doc/plotnik/README.md ./usr/share/doc/plotnik/copyright \
    ./usr/share/doc/plotnik/changelog.gz \
    ./usr/share/man/man1/plotnik.1.gz ./usr/share/man/man1/plotnik-snapshot.1.gz \
    ./usr/share/man/man1/plotnik-klasa.1.gz \
    $(for n in "${icon_sizes[@]}"; do echo "./usr/share/icons/hicolor/${n}x${n}/apps/plotnik.png"; done) \
    $(cd "$site" && find . -type f | sed 's|^\./|./usr/share/plotnik/|') |
    sort)
check "files: $(echo $files)" [ "$files" = "$expected" ]
check "version $(dpkg-deb -f "$deb" Version)" [ "$(dpkg-deb -f "$deb" Version)" = "$version" ]

# lintian: it runs through, with no errors and no warnings (information only is allowed).
status=0
lintian_out=$(lintian --tag-display-limit 0 "$deb" 2>&1) || status=$?
check "lintian ended with status $status: $lintian_out" [ "$status" -eq 0 ]
check "lintian: $lintian_out" [ -z "$(grep -E '^[EW]: ' <<<"$lintian_out")" ]

# Every library the programs link comes from a package in Depends, with a lowest version; the
# font is there too.
depends=$(dpkg-deb -f "$deb" Depends)
depends_on() { [[ ", $depends," == *", $1"[,\ ]* ]]; }
depends_on_at_least() { [[ ", $depends," == *", $1 (>= "* ]]; }
dpkg-deb -x "$deb" "$tmp/root"
needed=$(readelf -d "$tmp/root/usr/bin/plotnik" "$tmp/root/usr/bin/plotnik-snapshot" "$tmp/root/usr/bin/plotnik-klasa" |
         sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort -u)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for library in $needed; do
    owner=$(dpkg -S "*/$multiarch/$library" 2>/dev/null | grep -m1 ': /' | cut -d: -f1 || true)
    check "$library: '$owner' with a lowest version in Depends: $depends" depends_on_at_least "${owner:-?}"
done
check "fonts-crosextra-carlito in Depends: $depends" depends_on fonts-crosextra-carlito
# plotnik-klasa's two servers are recommended: the pictures need neither.
recommends=$(dpkg-deb -f "$deb" Recommends)
check "Recommends: nats-server, nginx, not '$recommends'" [ "$recommends" = "nats-server, nginx" ]
for library in libSDL2-2.0.so.0 libSDL2_ttf-2.0.so.0 libSDL2_image-2.0.so.0; do
    check "$library is linked" grep -qx "$library" <<<"$needed"
done

# Stripped: a section table with code, and neither a symbol table nor debugging information.
stripped()
{
    local sections
    sections=$(readelf -S --wide "$1") && grep -q ' \.text ' <<<"$sections" &&
        ! grep -qE ' \.(symtab|debug_[a-z]+) ' <<<"$sections"
}
for program in plotnik plotnik-snapshot plotnik-klasa; do
    check "$program is stripped" stripped "$tmp/root/usr/bin/$program"
done
check "the page in /usr/share/plotnik is the built page, file for file" diff -r "$site" "$tmp/root/usr/share/plotnik"

# What the software centres, the menu, man and the administrator read, unpacked.
share=$tmp/root/usr/share
status=0
said=$(appstreamcli validate --no-net "$share/metainfo/org.plotnik.Plotnik.metainfo.xml" 2>&1) || status=$?
check "appstreamcli validate: $said" [ "$status" -eq 0 ]
said=$(desktop-file-validate "$share/applications/org.plotnik.Plotnik.desktop" 2>&1) || said+=" (failed)"
check "desktop-file-validate: '$said'" [ -z "$said" ]
check "the desktop entry names the icon plotnik" grep -qx 'Icon=plotnik' "$share/applications/org.plotnik.Plotnik.desktop"
for page in plotnik plotnik-snapshot plotnik-klasa; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null) || warnings+=" (failed)"
    check "man $page: '$warnings'" [ -z "$warnings" ]
done
for size in "${icon_sizes[@]}"; do
    icon=$share/icons/hicolor/${size}x${size}/apps/plotnik.png
    actual=$(/usr/bin/identify -format '%wx%h' "$icon" 2>/dev/null || echo none)
    check "icon $icon is $actual" [ "$actual" = "${size}x${size}" ]
done
changelog_version=$(zcat "$share/doc/plotnik/changelog.gz" | dpkg-parsechangelog -l - -S Version)
check "the changelog's latest version is $changelog_version" [ "$changelog_version" = "$version" ]
metainfo_version=$(grep -m1 -o '<release version="[^"]*"' "$share/metainfo/org.plotnik.Plotnik.metainfo.xml" | cut -d'"' -f2)
check "the software centre's latest release is $metainfo_version" [ "$metainfo_version" = "$version" ]
check "the copyright file is machine-readable" \
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$share/doc/plotnik/copyright"
for program in plotnik plotnik-snapshot; do
    printed=$("$tmp/root/usr/bin/$program" --version 2>&1) || printed+=" (failed)"
    check "$program --version: '$printed'" [ "$printed" = "plotnik $version" ]
done
printed=$("$tmp/root/usr/bin/plotnik-klasa" --version 2>&1) || printed+=" (failed)"
check "plotnik-klasa --version: '$printed'" [ "$printed" = "plotnik-klasa $version" ]

# The unpacked exporter from a folder of its own: the labels come from the installed Carlito, as
# in the build's exporter run from the build folder; a broken font of the folder's own is reported.
check "fonts-crosextra-carlito is installed" [ -f /usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf ]
reference=$("$exporter" 7 --ticks 2000 --out "$tmp/reference.png")
check "the build's exporter found its font: '$reference'" [ -z "$reference" ]
#      folder's own Assets/Calibri.ttf | what is printed                                  | picture
cases=("none                           |                                                  | same"
       "empty                          | TTF_OpenFont: Couldn't read Assets/Calibri.ttf   | differs")
for c in "${cases[@]}"; do
    IFS='|' read -r own printed picture <<<"$c"
    own=$(echo $own); printed=$(echo $printed); picture=$(echo $picture)
    folder=$(mktemp -d "$tmp/folder-XXXXXX")
    if [ "$own" = empty ]; then
        mkdir "$folder/Assets" && : >"$folder/Assets/Calibri.ttf"
    fi
    status=0
    out=$(cd "$folder" && "$tmp/root/usr/bin/plotnik-snapshot" 7 --ticks 2000 --out frame.png) || status=$?
    check "$own: exit status $status" [ "$status" -eq 0 ]
    check "$own: printed '$out'" [ "$out" = "$printed" ]
    if cmp -s "$folder/frame.png" "$tmp/reference.png"; then same=same; else same=differs; fi
    check "$own: the picture $same from the build's" [ "$same" = "$picture" ]
done

checks_done
