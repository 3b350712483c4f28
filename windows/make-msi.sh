#!/usr/bin/env bash
# Makes the Windows installer from the Windows edition's folder (the zip's files) with Debian's
# wixl, for a school's administrator to roll out:
#
#     bash windows/make-msi.sh FOLDER ICON VERSION OUT.msi
#
# Installed per machine, the folder's files go as they are into Program Files\Plotnik; the Start
# menu gets a shortcut "Plotnik" to plotnik.exe, started in that folder, with ICON; "Apps" and
# "Programs and Features" list Plotnik with ICON, the version, the publisher and a link to the
# licence. Removing it takes all of that away again: nothing of it is kept in the registry but
# Windows Installer's own records. One upgrade code for every version: a newer version replaces
# an older one, and an older one is refused over a newer one.
#
# The same folder, icon and version make the same bytes: the codes Windows Installer needs are
# derived from the version and the contents rather than drawn at random, and the package's times
# are SOURCE_DATE_EPOCH (tools/reproducible.sh). wixl fails on letters outside ASCII, so every
# text here is English.
set -euo pipefail
usage="usage: windows/make-msi.sh FOLDER ICON VERSION OUT.msi"
[ $# -eq 4 ] || { echo "$usage" >&2; exit 2; }
folder=$(realpath -e "$1")
icon=$(realpath -e "$2")
version=$3
out=$(realpath -m "$4")
here=$(dirname "$(realpath "$0")")
. "$here/../tools/reproducible.sh"

# Never to change: Windows Installer knows every version of Plotnik by it.
readonly upgrade_code=5EB9247C-9ED3-45AB-B38E-8F4A565ED3CD
readonly publisher="The Plotnik authors"

# Windows Installer compares the first three fields: at most 255.255.65535.
if ! [[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] || ((BASH_REMATCH[1] > 255 || BASH_REMATCH[2] > 255 ||
        BASH_REMATCH[3] > 65535)); then
    echo "$version is no version Windows Installer takes (X.Y.Z, at most 255.255.65535)" >&2
    exit 2
fi
[ -f "$folder/plotnik.exe" ] || { echo "no plotnik.exe in $folder" >&2; exit 1; }

# A name-based GUID (RFC 4122, version 5, SHA-1): the same namespace and name give the same GUID.
uuid5() {
    local hex
    hex=$({ printf "$(printf '%s' "${1//-/}" | sed 's/../\\x&/g')"; printf '%s' "$2"; } | sha1sum | cut -c1-32)
    hex="${hex:0:12}5${hex:13:3}$(printf '%x' $(((0x${hex:16:1} & 3) | 8)))${hex:17}"
    printf '%s-%s-%s-%s-%s\n' "${hex:0:8}" "${hex:8:4}" "${hex:12:4}" "${hex:16:4}" "${hex:20:12}" | tr a-f A-F
}
# An installer identifier from a path in the folder.
id_of() { printf '%s' "$1" | tr -c 'A-Za-z0-9_.' '_'; }

work=$(mktemp -d /tmp/plotnik-msi-XXXXXX)
trap 'rm -rf "$work"' EXIT
wxs="$work/plotnik.wxs"
components=()

# The components of folder REL (empty for the top) and of the folders in it, one file each, the
# file being what Windows Installer checks to tell whether the component is installed.
list_folder() {
    local rel=$1 path name sub
    while IFS= read -r -d '' path; do
        name=${path##*/}
        sub=${rel:+$rel/}$name
        [[ $name =~ ^[A-Za-z0-9._-]+$ ]] || { echo "$sub: a name the installer's list cannot hold" >&2; exit 1; }
        if [ -d "$path" ]; then
            echo "<Directory Id=\"d_$(id_of "$sub")\" Name=\"$name\">"
            list_folder "$sub"
            echo "</Directory>"
            continue
        fi
        components+=("f_$(id_of "$sub")")
        echo "<Component Id=\"f_$(id_of "$sub")\" Guid=\"*\" Win64=\"yes\">"
        if [ "$sub" = plotnik.exe ]; then
            echo "  <File Id=\"f_$(id_of "$sub")\" Source=\"folder/$sub\" KeyPath=\"yes\"/>"
            echo "  <Shortcut Id=\"StartMenu\" Directory=\"ProgramMenuFolder\" Name=\"Plotnik\"" \
                 "Description=\"Ten pictures of school mathematics\" Target=\"[#f_plotnik.exe]\"" \
                 "WorkingDirectory=\"INSTALLDIR\" Icon=\"plotnik.ico\" IconIndex=\"0\"/>"
        else
            echo "  <File Id=\"f_$(id_of "$sub")\" Source=\"folder/$sub\" KeyPath=\"yes\"/>"
        fi
        echo "</Component>"
    done < <(find "$folder${rel:+/$rel}" -mindepth 1 -maxdepth 1 -print0 | LC_ALL=C sort -z)
}
list_folder "" >"$work/files.xml"

# The product code changes with the version: each version is a major upgrade of the one before.
product_code=$(uuid5 "$upgrade_code" "product $version")

cat >"$wxs" <<EOF
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
<Product Id="$product_code" Name="Plotnik" Version="$version" Language="1045"
         Manufacturer="$publisher" UpgradeCode="$upgrade_code">
<Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine" Languages="1045"
         Description="Plotnik $version" Comments="Ten pictures of school mathematics" Manufacturer="$publisher"/>
<MajorUpgrade DowngradeErrorMessage="A newer version of Plotnik is already installed."/>
<Media Id="1" Cabinet="plotnik.cab" EmbedCab="yes"/>
<Icon Id="plotnik.ico" SourceFile="plotnik.ico"/>
<Property Id="ARPPRODUCTICON" Value="plotnik.ico"/>
<Property Id="ARPCOMMENTS" Value="Ten pictures of school mathematics"/>
<Property Id="ARPNOMODIFY" Value="1"/>
<!-- Where it went, and its licence, for "Programs and Features". -->
<CustomAction Id="InstallLocation" Property="ARPINSTALLLOCATION" Value="[INSTALLDIR]"/>
<CustomAction Id="LicenceLink" Property="ARPURLINFOABOUT" Value="[INSTALLDIR]licenses\\Plotnik-LICENSE.txt"/>
<InstallExecuteSequence>
  <Custom Action="InstallLocation" Sequence="1001"/>
  <Custom Action="LicenceLink" Sequence="1002"/>
  <RemoveExistingProducts Sequence="1401"/>
</InstallExecuteSequence>
<Directory Id="TARGETDIR" Name="SourceDir">
  <Directory Id="ProgramFiles64Folder">
    <Directory Id="INSTALLDIR" Name="Plotnik">
$(cat "$work/files.xml")
    </Directory>
  </Directory>
  <Directory Id="ProgramMenuFolder"/>
</Directory>
<Feature Id="Plotnik" Level="1">
$(printf '  <ComponentRef Id="%s"/>\n' "${components[@]}")
</Feature>
</Product>
</Wix>
EOF

# The package code changes with anything inside.
digest=$({ cat "$wxs" "$icon"; (cd "$folder" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum); } |
         sha256sum | cut -c1-64)
package_code=$(uuid5 "$upgrade_code" "package $digest")

# wixl finds files only by paths relative to the source it reads.
ln -s "$folder" "$work/folder"
ln -s "$icon" "$work/plotnik.ico"
# wixl stamps the package with the time it runs and a random package code: the time is made
# SOURCE_DATE_EPOCH, frozen (-f: without it the clock runs on from there), and the code is then
# set to the one above.
rm -f "$out"
(cd "$work" && TZ=UTC faketime -f "$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')" \
    wixl -a x64 -o "$out" plotnik.wxs)
msibuild "$out" -s "Plotnik $version" "$publisher" "x64;1045" "{$package_code}"
echo "$out"
