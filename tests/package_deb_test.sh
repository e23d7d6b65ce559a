#!/usr/bin/env bash
# Builds the Debian package from a release build and has lintian find no error or warning in it,
# installs it with apt as a user would, writes the sample picture set with the installed tool and
# checks it with the installed checker, starts the installed program under Xvfb in that folder,
# checks that the main window appears with its caption, closes it through its menu and checks the
# exit code.
# Usage: package_deb_test.sh <release build folder>
# It installs into the machine, so it needs root or password-less sudo; without either it says so
# and skips. A package that was not installed before the test is removed again at its end.
set -euo pipefail

caption='Tervolan - Brzdomat   verze 1.0'

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs inside the virtual display: start, find the window, close it, report the exit code. The
# optional fourth argument names another program file, to try the steps on a build.
if [ "${1:-}" = --under-display ]; then
    school=$2
    log=$3
    unset QT_QPA_PLATFORM
    cd "$school"
    "${4:-/usr/bin/brzdomat}" >"$log" 2>&1 &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^${caption//./\\.}\$" \
        | head -n 1) || true
    if [ -z "$window" ]; then
        kill "$pid" 2>/dev/null || true
        fail "no window captioned \"$caption\" appeared within 30 seconds"
    fi
    shown=$(xdotool getwindowname "$window")
    [ "$shown" = "$caption" ] || fail "the main window is captioned \"$shown\""
    echo "The main window appeared: \"$shown\"."

    # The first activation of the main window brings up the splash window, which holds the input
    # for two seconds. The program activates its window itself; should that not have happened,
    # the test gives it the focus, as a window manager would. Giving the focus to the main window
    # while the splash is up would leave neither of them active afterwards.
    splash_seen=no
    if timeout 5 xdotool search --sync --onlyvisible --name '^Tervolan$' >/dev/null; then
        splash_seen=yes
    else
        timeout 5 xdotool windowfocus "$window" || true
        if timeout 10 xdotool search --sync --onlyvisible --name '^Tervolan$' >/dev/null; then
            splash_seen=yes
        fi
    fi
    if [ "$splash_seen" = yes ]; then
        for _ in $(seq 1 50); do
            xdotool search --onlyvisible --name '^Tervolan$' >/dev/null || break
            sleep 0.2
        done
        echo "The splash window came and went."
    else
        echo "No splash window was seen; going on." >&2
    fi
    for _ in $(seq 1 10); do
        kill -0 "$pid" 2>/dev/null || break
        timeout 5 xdotool windowfocus "$window" 2>/dev/null || true
        timeout 5 xdotool key --clearmodifiers alt+p 2>/dev/null || true
        sleep 0.3
        timeout 5 xdotool key --clearmodifiers z 2>/dev/null || true
        sleep 1
        kill -0 "$pid" 2>/dev/null || break
        timeout 5 xdotool key Escape 2>/dev/null || true
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null || true
        fail "the program did not end after Program > Zavřít"
    fi
    code=0
    wait "$pid" || code=$?
    [ "$code" -eq 0 ] || fail "the program ended with exit code $code; its output: $(cat "$log")"
    echo "The program closed through its menu with exit code 0."
    exit 0
fi

build=$(cd "${1:?usage: package_deb_test.sh <release build folder>}" && pwd)

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        as_root=(sudo -n)
    else
        echo "SKIPPED: the Debian package test installs into the machine and needs root or" \
            "password-less sudo."
        exit 0
    fi
fi

work=$(mktemp -d)
# apt reads the package file as its own unprivileged user.
chmod 755 "$work"
installed_before=no
if dpkg-query -W -f='${Status}' brzdomat 2>/dev/null | grep -q 'ok installed'; then
    installed_before=yes
fi
cleanup() {
    if [ "$installed_before" = no ] \
        && dpkg-query -W -f='${Status}' brzdomat 2>/dev/null | grep -q 'ok installed'; then
        DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get remove -y -qq \
            -o DPkg::Lock::Timeout=300 brzdomat >/dev/null \
            || echo "could not remove the test's brzdomat package" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

echo "Building the Debian package"
(cd "$build" && cpack -G DEB -B "$work/package") >"$work/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/package/brzdomat_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single brzdomat_*.deb"
deb=${debs[0]}
echo "Package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = brzdomat ] || fail "the package is not named brzdomat"
[ "$(dpkg-deb -f "$deb" Version)" = 1.0.0 ] || fail "the package version is not 1.0.0"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depended=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo \
    fonts-wine fonts-dejavu-core fonts-liberation2; do
    grep -Fqx "$library" <<<"$depended" || fail "Depends lacks $library"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
programs=(brzdomat brzdomat-sample-pictures brzdomat-check-pictures)
for program in "${programs[@]}"; do
    for path in "./usr/bin/$program" "./usr/share/man/man1/$program.1.gz"; do
        grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
    done
done
for path in ./usr/share/doc/brzdomat/copyright ./usr/share/doc/brzdomat/changelog.gz \
    ./usr/share/applications/example.brzdomat.Brzdomat.desktop \
    ./usr/share/metainfo/example.brzdomat.Brzdomat.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/brzdomat.png; do
    grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done

# Info tags are shown, not failed. Those expected: binary-has-unneeded-section (CPack strips with
# plain strip, which keeps the compiler's .comment note), hardening-no-bindnow and
# hardening-no-fortify-functions (the build takes CMake's flags, not dpkg-buildflags').
echo "Running lintian"
lintian --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 \
    || fail "lintian reports errors or warnings: $(cat "$work/lintian.log")"
sed 's/^/    /' "$work/lintian.log"

echo "Installing it with apt"
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --reinstall \
    -o DPkg::Lock::Timeout=300 "$deb" \
    >"$work/apt.log" 2>&1 || fail "apt-get could not install the package: $(cat "$work/apt.log")"
[ "$(command -v brzdomat)" = /usr/bin/brzdomat ] || fail "brzdomat is not on the PATH"

for program in "${programs[@]}"; do
    [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not on the PATH"
    man -w "$program" >/dev/null 2>&1 || fail "man finds no manual page for $program"
done

# What the package promises a school: the sample set, and the checker finding it complete.
mkdir -p "$work/school"
brzdomat-sample-pictures "$work/school/img" >"$work/sample.log" 2>&1 \
    || fail "the sample picture set could not be written: $(cat "$work/sample.log")"
checked=$(cd "$work/school" && brzdomat-check-pictures) \
    || fail "the checker finds fault with the sample set: $checked"
[ "$checked" = "800 pictures: 800 fine" ] || fail "the checker says: $checked"
echo "The installed tools write the sample set and find it complete."

echo "Starting the installed program under Xvfb"
timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$0" --under-display "$work/school" "$work/program.log" \
    || fail "the installed program did not start and close as it should"
echo "The Debian package installs and runs."
