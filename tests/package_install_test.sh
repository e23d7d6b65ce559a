#!/usr/bin/env bash
# Installs the build into an empty folder and checks that the desktop finds everything there: the
# program the desktop entry starts, the icon it names in every size, the metainfo that points at
# the entry, and a manual page for every program.
# Usage: package_install_test.sh <build folder> <empty folder to install into>
set -euo pipefail

build=$1
root=$2
prefix=$root/usr
rm -rf "$root"
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

app_id=example.brzdomat.Brzdomat
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml

[ -x "$prefix/bin/brzdomat" ] || fail "no executable bin/brzdomat"
[ -f "$desktop" ] || fail "no desktop entry $desktop"
[ -f "$metainfo" ] || fail "no metainfo $metainfo"

if [ -f "$desktop" ]; then
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    icon_name=$(sed -n 's/^Icon=//p' "$desktop")
    [ -x "$prefix/bin/${exec_line%% *}" ] || fail "Exec=$exec_line is not an installed program"
    grep -qx 'Categories=Education;' "$desktop" || fail "the entry is not in the category Education"
    # Qt names the window's class after the executable; desktops match windows to entries by it.
    [ "$(sed -n 's/^StartupWMClass=//p' "$desktop")" = "${exec_line%% *}" ] \
        || fail "StartupWMClass does not name the program's window class ${exec_line%% *}"
    for size in 16 32 48 64 128 256; do
        icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon_name.png
        if [ ! -f "$icon" ]; then
            fail "no icon $icon"
        elif ! file "$icon" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA"; then
            fail "$icon is not a $size x $size PNG with transparency: $(file -b "$icon")"
        fi
    done
fi

if [ -f "$metainfo" ]; then
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
        || fail "the metainfo does not launch $app_id.desktop"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
fi

# Every program comes with its manual page, as Debian asks.
for program in "$prefix"/bin/*; do
    page=$prefix/share/man/man1/$(basename "$program").1.gz
    gzip -t "$page" 2>/dev/null || fail "no compressed manual page $page"
done

# Nothing else may be installed: a stray file would end up in the package too.
unexpected=$(cd "$prefix" && find . -type f \
    ! -path ./bin/brzdomat \
    ! -path ./bin/brzdomat-sample-pictures \
    ! -path ./bin/brzdomat-check-pictures \
    ! -path './share/man/man1/brzdomat*.1.gz' \
    ! -path './share/man/cs/man1/brzdomat*.1.gz' \
    ! -path ./share/doc/brzdomat/copyright \
    ! -path ./share/doc/brzdomat/changelog.gz \
    ! -path "./share/applications/$app_id.desktop" \
    ! -path "./share/metainfo/$app_id.metainfo.xml" \
    ! -path './share/icons/hicolor/*/apps/brzdomat.png')
[ -z "$unexpected" ] || fail "unexpected installed files: $unexpected"

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) in the installed tree"
    exit 1
fi
echo "The installed tree is complete."
