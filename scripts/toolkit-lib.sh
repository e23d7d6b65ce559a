# Sourced by the two toolkit scripts, scripts/windows/build-toolkit and scripts/wasm/build-toolkit:
# building Qt, libjpeg-turbo and GoogleTest from Debian's source packages into a cache folder
# outside the repository, whatever they are built for.
#
# The caller sets repo (the repository's root), toolkit_name ("Windows", "WebAssembly") and
# cache_root, then calls toolkit_prefix with the files of its recipe. The toolkit's folder is
# named by a digest of the recipe, so a changed recipe builds a new toolkit instead of reusing an
# old one.
# shellcheck shell=bash disable=SC2154 # repo, toolkit_name and cache_root are the caller's.

# shellcheck source=scripts/toolkit-versions
source "$repo/scripts/toolkit-versions"
jobs=${JOBS:-2}

# Sets prefix, the toolkit's folder, from the versions and the digest of RECIPE-FILES (with this
# file and the versions').
toolkit_prefix() { # RECIPE-FILE...
    local recipe
    recipe=$(cat "$@" "$repo/scripts/toolkit-lib.sh" "$repo/scripts/toolkit-versions" \
        | sha256sum | cut -c1-12)
    prefix=$cache_root/$qt_version-$jpeg_version-$recipe
}

# Makes the cache's parent folder, as root where it lies in a root's folder, and the caller's.
make_cache_root() {
    if [ ! -w "$cache_root" ] && [ ! -w "$(dirname "$cache_root")" ]; then
        local as_root=()
        [ "$(id -u)" -eq 0 ] || as_root=(sudo)
        "${as_root[@]}" mkdir -p "$cache_root"
        [ -w "$cache_root" ] || "${as_root[@]}" chown "$(id -u):$(id -g)" "$cache_root"
    fi
    mkdir -p "$cache_root"
}

# Starts a build into an empty prefix: the log beside it, the compiler cache, and one line that
# says what is built and how long it took when measured (MINUTES, wall time on an idle 2-core
# machine).
toolkit_begin() { # MINUTES
    work=$cache_root/work
    mkdir -p "$work"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    log=$prefix.log
    : >"$log"
    started=$(date +%s)
    echo "Building the $toolkit_name toolkit (Qt $qt_version, libjpeg-turbo $jpeg_version," \
        "GoogleTest) into $prefix: about $1 minutes on an idle 2-core machine, once; the" \
        "compilers' output is in $log" >&2
    export CCACHE_DIR=$cache_root/ccache
    # shellcheck disable=SC2034 # The caller's CMake commands use it.
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
}

# Runs one step with its output in the log; on failure shows the log's end.
step() { # WHAT COMMAND...
    local what=$1
    shift
    echo "== $what" >>"$log"
    if ! "$@" >>"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "The $toolkit_name toolkit failed at: $what (the whole log: $log)" >&2
        exit 1
    fi
}

# Builds a CMake build folder, saying once a minute how far it is, and installs it.
build_and_install() { # WHAT BUILD-FOLDER
    local what=$1 folder=$2
    echo "== $what" >>"$log"
    NINJA_STATUS="[%f/%t] " nice -n 19 cmake --build "$folder" -j"$jobs" >>"$log" 2>&1 &
    local builder=$!
    while kill -0 "$builder" 2>/dev/null; do
        for _ in $(seq 60); do
            sleep 1
            kill -0 "$builder" 2>/dev/null || break
        done
        if kill -0 "$builder" 2>/dev/null; then
            local progress
            progress=$(tail -c 200000 "$log" | grep -o '^\[[0-9]*/[0-9]*\]' | tail -n1 || true)
            echo "  $toolkit_name toolkit: $what ${progress:-starting}," \
                "$((($(date +%s) - started) / 60)) min so far" >&2
        fi
    done
    if ! wait "$builder"; then
        grep -A 12 '^FAILED' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2
        echo "The $toolkit_name toolkit failed at: $what (the whole log: $log)" >&2
        exit 1
    fi
    step "install $what" cmake --install "$folder"
}

# Unpacks a Debian source package into the work folder once and prints its folder.
fetch_source() { # PACKAGE VERSION
    bash "$repo/scripts/debian-source" "$1" "$2" "$work" 2>>"$log"
}

# Debian's qtbase with PATCH... applied. A source patched by another set of patches, or edited
# by an older recipe, is unpacked anew. Prints the source folder.
patched_qt_source() { # PATCH...
    local source digest
    digest=$(cat "$@" | sha256sum | cut -c1-12)
    source=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
    if [ -n "$source" ] && [ "$(cat "$source/.brzdomat-patch" 2>/dev/null)" != "$digest" ]; then
        rm -rf "$source"
    fi
    source=$(fetch_source qt6-base "$qt_version")
    if [ ! -f "$source/.brzdomat-patch" ]; then
        local qt_patch
        for qt_patch in "$@"; do
            step "patch Qt: $(basename "$qt_patch")" patch -d "$source" -p1 -i "$qt_patch"
        done
        echo "$digest" >"$source/.brzdomat-patch"
    fi
    echo "$source"
}

# Marks the toolkit complete and removes what is of no more use: the build folders (over a
# gigabyte) and toolkits of older recipes. The sources and the compiler cache stay for a rebuild.
toolkit_end() {
    touch "$prefix/.complete"
    rm -rf "$work/build-jpeg" "$work/build-gtest" "$work/build-qt"
    local old
    for old in "$cache_root/$qt_version"-*; do
        [ "$old" = "$prefix" ] || [ "$old" = "$log" ] || rm -rf "$old"
    done
    echo "The $toolkit_name toolkit is ready after $((($(date +%s) - started) / 60)) min." >&2
    echo "$prefix"
}
