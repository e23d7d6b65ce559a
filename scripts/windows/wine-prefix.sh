# Sourced by the scripts that run the project's Windows programs under Wine.
# shellcheck shell=bash

# Wine's settings for a prefix of our own: 64-bit, quiet, and no Mono or Gecko, whose installers
# would ask on a screen.
wine_use_prefix() { # PREFIX
    export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=d;mshtml=d}
}

# Makes the prefix. Debian's Wine leaves its font folder empty and so offers programs only the
# host's fonts; Windows has its own, among them "MS Sans Serif", and so has Wine.
wine_make_prefix() {
    wine wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
    ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}
