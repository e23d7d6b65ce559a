# Sourced by the web scripts: makes Debian's emscripten usable for Qt and for the programs it
# builds. Sets wasm_cache_root (BRZDOMAT_WASM_CACHE, default /opt/brzdomat-wasm) and exports what
# emcc and Qt's CMake files need:
# - EMSDK: Qt finds emscripten only through an SDK folder laid out like the official one, so a
#   stand-in holds the SDK's configuration line and links to Debian's emcc and em++.
# - EM_CACHE: Debian's system libraries, copied where emcc may add the variants it builds on
#   demand (Debian's own copy is read-only and frozen).
# - NODE_PATH: emcc's JavaScript steps need acorn, which Debian installs for its own node only.
# Needs the caller's repo variable (the repository's root); installs the web leg's packages.
# shellcheck shell=bash disable=SC2154,SC2034 # repo is the caller's, as are the variables set.

wasm_cache_root=${BRZDOMAT_WASM_CACHE:-/opt/brzdomat-wasm}

bash "$repo/scripts/install-deps" web

if [ ! -w "$wasm_cache_root" ] && [ ! -w "$(dirname "$wasm_cache_root")" ]; then
    if [ "$(id -u)" -eq 0 ]; then mkdir -p "$wasm_cache_root"; else sudo mkdir -p "$wasm_cache_root"; fi
    [ -w "$wasm_cache_root" ] || sudo chown "$(id -u):$(id -g)" "$wasm_cache_root"
fi
mkdir -p "$wasm_cache_root"

export EMSDK=$wasm_cache_root/emsdk
if [ ! -x "$EMSDK/upstream/emscripten/em++" ]; then
    mkdir -p "$EMSDK/upstream/emscripten/cmake/Modules/Platform"
    echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" >"$EMSDK/.emscripten"
    ln -sf /usr/bin/emcc "$EMSDK/upstream/emscripten/emcc"
    ln -sf /usr/bin/em++ "$EMSDK/upstream/emscripten/em++"
    ln -sf /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
        "$EMSDK/upstream/emscripten/cmake/Modules/Platform/Emscripten.cmake"
fi

export EM_CACHE=$wasm_cache_root/emscripten-cache
if [ ! -f "$EM_CACHE/sysroot_install.stamp" ]; then
    rm -rf "$EM_CACHE"
    cp -a /usr/share/emscripten/cache "$EM_CACHE.new"
    mv "$EM_CACHE.new" "$EM_CACHE"
fi
export EM_FROZEN_CACHE=
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export EMSDK_PYTHON=/usr/bin/python3

emscripten_toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
# emscripten 3.1.6's loader takes Node 20's fetch for its own and fails to read the .wasm file.
wasm_node=(/usr/bin/node --no-experimental-fetch)
