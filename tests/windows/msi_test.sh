# The installer under wine, used as a school's administrator would: a silent install puts every
# file of the Windows zip into Program Files\Plotnik, with the Start menu shortcut and the entry in
# "Apps"; the installed exporter, run from another folder, draws what the Linux exporter draws,
# labels and all; installing the same again does no harm; a higher version replaces it and leaves
# one entry, and the lower one is then refused; a silent removal leaves nothing of Plotnik's.
#   bash msi_test.sh LINUX-SNAPSHOT MSI WINDOWS-DIR ICON MAKE-MSI
# Run in the Linux build folder (Assets/Calibri.ttf is there). The wine prefix is its own and made
# afresh on every run, so that whatever the removal leaves shows.
set -u -o pipefail
LINUX=$(realpath "${1:?the Linux plotnik-snapshot}")
MSI=$(realpath "${2:?the .msi}")
WINDOWS_DIR=$(realpath "${3:?the folder of the unpacked Windows zip}")
ICON=$(realpath "${4:?the icon}")
MAKE_MSI=$(realpath "${5:?windows/make-msi.sh}")
here=$(dirname "$(realpath "$0")")
WINE_HOME=${WINE_HOME:-wine}-msi
source "$here/wine.sh"
source "$here/../pictures.sh"
source "$here/../checks.sh"
# Wine would put a menu entry and icons for the Start menu's shortcut on this machine's desktop.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

work=$(mktemp -d "${TMPDIR:-/tmp}/plotnik-msi.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$WINEPREFIX"
wine_prepare || exit 1
drive_c=$WINEPREFIX/drive_c
installed=$drive_c/Program\ Files/Plotnik
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
version=$(msiinfo export "$MSI" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" {print $2}')

# msiexec ACTION FILE: silent, as an administrator deploys; its status.
msiexec() {
    (cd "$(dirname "$2")" && "$WINE" msiexec "$1" "$(basename "$2")" /qn >/dev/null 2>&1)
}
# A property of an .msi.
msi_property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p {print $2}'; }
# Windows Installer's registry form of a GUID: the first three groups reversed, then each byte's
# two digits swapped.
packed() {
    local g=${1//[\{\}-]/}
    printf '%s%s%s%s\n' "$(rev <<<"${g:0:8}")" "$(rev <<<"${g:8:4}")" "$(rev <<<"${g:12:4}")" \
        "$(sed 's/\(.\)\(.\)/\2\1/g' <<<"${g:16}")"
}
# The uninstall entries named Plotnik, one line each: the key, then its DisplayVersion.
plotnik_entries() {
    "$WINE" reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | awk '
        function flush() { if (name == "Plotnik") print key, version; name = version = "" }
        /^HKEY_/ { flush(); key = $0; next }
        $1 == "DisplayName" { name = $3 }
        $1 == "DisplayVersion" { version = $3 }
        END { flush() }'
}
# A value of the one Plotnik entry.
entry_value() {
    "$WINE" reg query "$(plotnik_entries | head -n1 | cut -d' ' -f1)" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $1    REG_[A-Z_]*    //p"
}
# A Windows path in the prefix as a path here.
unix_path() { local p=${1#C:\\}; echo "$drive_c/${p//\\//}"; }
shortcuts() { find "$drive_c" -path '*/Start Menu/Programs/Plotnik.lnk'; }
# The registry files (written out once wine's server has ended) that name any of the patterns.
registry_names() { /usr/lib/wine/wineserver -w; grep -l -i "$@" "$WINEPREFIX"/*.reg; }
refused() { ! msiexec "$@"; }
(cd "$drive_c" && find . | LC_ALL=C sort) >"$work/prefix-before.txt"

# Installed silently: the zip's files, the shortcut, the entry.
check "msiexec /i $(basename "$MSI") /qn failed" msiexec /i "$MSI"
check "Program Files\\Plotnik differs from the zip" diff -r "$WINDOWS_DIR" "$installed"
check "shortcuts: $(shortcuts | xargs -r -d'\n' basename -a)" [ "$(shortcuts | wc -l)" -eq 1 ]
lnk=$(shortcuts | head -n1)
check "the shortcut does not start plotnik.exe" grep -qxF 'C:\Program Files\Plotnik\plotnik.exe' <(strings -a "$lnk")
check "the shortcut does not start it in its folder" grep -qxF 'C:\Program Files\Plotnik\' <(strings -a -el "$lnk")
lnk_icon=$(strings -a -el "$lnk" | grep -o -m1 -i 'C:\\.*\.ico$')
check "the shortcut's icon $lnk_icon is not Plotnik's" cmp -s "$(unix_path "$lnk_icon")" "$ICON"
check "uninstall entries: $(plotnik_entries)" [ "$(plotnik_entries | wc -l)" -eq 1 ]
for entry in "DisplayVersion $version" "Publisher The Plotnik authors" \
             'InstallLocation C:\Program Files\Plotnik\' \
             'URLInfoAbout C:\Program Files\Plotnik\licenses\Plotnik-LICENSE.txt'; do
    read -r name value <<<"$entry"
    check "the entry's $name: $(entry_value "$name")" [ "$(entry_value "$name")" = "$value" ]
done
check "the licence it links to is not there" [ -s "$installed/licenses/Plotnik-LICENSE.txt" ]
product=$(msi_property "$MSI" ProductCode)
product_icon=$("$WINE" reg query "HKLM\\Software\\Classes\\Installer\\Products\\$(packed "$product")" /v ProductIcon |
               tr -d '\r' | sed -n 's/^    ProductIcon    REG_SZ    //p')
check "the entry's icon $product_icon is not Plotnik's" cmp -s "$(unix_path "$product_icon")" "$ICON"

# The installed exporter, started from another folder, finds its font and draws the Linux frame.
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && env -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER "$WINE" \
    'C:\Program Files\Plotnik\plotnik-snapshot.exe' 7 --ticks 2000 --out frame.png >/dev/null 2>&1)
"$LINUX" 7 --ticks 2000 --out "$work/linux.png" >/dev/null 2>&1
check "the installed exporter's frame differs from the Linux one" same_pixels "$work/linux.png" "$work/elsewhere/frame.png"

# The same again: no harm done.
check "installing the same version again failed" msiexec /i "$MSI"
check "after installing again, entries: $(plotnik_entries)" [ "$(plotnik_entries | wc -l)" -eq 1 ]
check "after installing again, Program Files\\Plotnik differs" diff -r "$WINDOWS_DIR" "$installed"

# A higher version over it: one entry, of the higher version; the lower is then refused.
IFS=. read -r major minor patch <<<"$version"
higher=$major.$minor.$((patch + 1))
bash "$MAKE_MSI" "$WINDOWS_DIR" "$ICON" "$higher" "$work/plotnik-$higher.msi" >/dev/null
check "the two versions' upgrade codes differ" [ "$(msi_property "$MSI" UpgradeCode)" = "$(msi_property "$work/plotnik-$higher.msi" UpgradeCode)" ]
higher_product=$(msi_property "$work/plotnik-$higher.msi" ProductCode)
check "the two versions share a product code" [ "$higher_product" != "$product" ]
check "msiexec /i plotnik-$higher.msi failed" msiexec /i "$work/plotnik-$higher.msi"
check "after the upgrade, entries: $(plotnik_entries)" [ "$(plotnik_entries | cut -d' ' -f2-)" = "$higher" ]
check "after the upgrade, Program Files\\Plotnik differs" diff -r "$WINDOWS_DIR" "$installed"
check "the lower version was installed over the higher" refused /i "$MSI"
check "after refusing the lower, entries: $(plotnik_entries)" [ "$(plotnik_entries | cut -d' ' -f2-)" = "$higher" ]

# Removed silently: nothing of Plotnik's in the files or the registry. (Before, the registry
# names it, so the search below can find it.)
codes=(-e Plotnik -e "$(packed "$(msi_property "$MSI" UpgradeCode)")" -e "$(packed "$product")" -e "$(packed "$higher_product")")
check "before the removal the registry does not name Plotnik" [ -n "$(registry_names "${codes[@]}")" ]
check "msiexec /x plotnik-$higher.msi failed" msiexec /x "$work/plotnik-$higher.msi"
check "after the removal, uninstall entries: $(plotnik_entries)" [ -z "$(plotnik_entries)" ]
check "after the removal, $(registry_names "${codes[@]}" | xargs -r basename -a) still name Plotnik" [ -z "$(registry_names "${codes[@]}")" ]
(cd "$drive_c" && find . | LC_ALL=C sort) >"$work/prefix-after.txt"
# Windows Installer's own cache folder is made on first use and stays, as on Windows.
left=$(comm -13 "$work/prefix-before.txt" "$work/prefix-after.txt" | grep -vx './windows/Installer')
check "the removal left in C:: $left" [ -z "$left" ]

checks_done
