# Sourced by the scripts that run the project's Windows programs under Wine.
# shellcheck shell=bash

# Wine's settings for a prefix of our own: 64-bit, quiet, and no Mono or Gecko, whose installers
# would ask on a screen.
wine_use_prefix() { # PREFIX
    export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=d;mshtml=d}
}

# Makes the prefix, as a copy of one made once for this version of Wine and kept in the user's
# cache: wineboot takes some fifteen seconds a prefix, a copy half a second, and a prefix holds no
# path of its own (its drives are relative links). Debian's Wine leaves its font folder empty and
# so offers programs only the host's fonts; Windows has its own, among them "MS Sans Serif", and
# so has Wine.
wine_make_prefix() {
    local cache=${XDG_CACHE_HOME:-$HOME/.cache}/brzdomat template
    template=$cache/wine-prefix-$(wine --version | tr -c 'A-Za-z0-9.\n-' _)
    mkdir -p "$cache"
    (
        flock 8
        if [ ! -f "$template/.made" ]; then
            rm -rf "$template"
            wine_use_prefix "$template"
            wine wineboot --init >/dev/null 2>&1 || true
            wineserver --wait || true
            ln -sf /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/"
            touch "$template/.made"
        fi
    ) 8>"$template.lock"
    mkdir -p "$WINEPREFIX"
    cp -a "$template/." "$WINEPREFIX/"
    rm -f "$WINEPREFIX/.made"
}
