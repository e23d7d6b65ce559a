# Sourced by the scripts that drive Brzdomat's real windows on an X display of their own with
# xdotool and look at them with ImageMagick: tests/e2e/run-scenario (the Linux program) and
# tests/windows/run-windows-checks (the Windows distribution under Wine).
#
# The caller sets check_kind ("e2e", "windows") and check_name (the scenario or the check), which
# name the check in its messages and the pictures it keeps, and pid to the process id of the
# program it starts.
# shellcheck shell=bash

# Ends the check with MESSAGE. A picture of the whole display is kept, if there is one, so that a
# failure seen only in a log can still be looked at.
# shellcheck disable=SC2154 # check_name is the caller's.
fail() { # MESSAGE...
    echo "FAIL ($check_name): $*" >&2
    if [ -n "${DISPLAY:-}" ]; then keep_picture failure 2>/dev/null || true; fi
    exit 1
}

need_display() {
    [ -n "${DISPLAY:-}" ] || fail "no display; run it under scripts/own-display"
}

# Keeps a picture of WINDOW, the whole display by default, in TMPDIR as
# brzdomat-KIND-CHECK-NAME.png for a person to look at.
# shellcheck disable=SC2154 # check_kind and check_name are the caller's.
keep_picture() { # NAME [WINDOW]
    import -window "${2:-root}" "${TMPDIR:-/tmp}/brzdomat-$check_kind-$check_name-$1.png"
}

# Polls COMMAND ten times a second until it succeeds; fails with DESCRIPTION after SECONDS.
wait_until() { # SECONDS DESCRIPTION COMMAND...
    local limit=$(($1 * 10)) description=$2
    shift 2
    for _ in $(seq "$limit"); do
        "$@" && return 0
        sleep 0.1
    done
    fail "$description"
}

# Window ids of the visible windows whose whole name matches NAME, a regular expression; empty
# when there are none.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }

# Prints the id of the first visible window named NAME once there is one.
wait_for_window() { # NAME [SECONDS]
    local found
    for _ in $(seq $((${2:-30} * 10))); do
        found=$(windows_named "$1" | head -n1)
        if [ -n "$found" ]; then echo "$found"; return 0; fi
        sleep 0.1
    done
    fail "no window named '$1' appeared"
}

wait_until_gone() { # NAME [SECONDS]
    for _ in $(seq $((${2:-30} * 10))); do
        [ -z "$(windows_named "$1")" ] && return 0
        sleep 0.1
    done
    fail "the window named '$1' did not go away"
}

# Waits for the program, pid, to end, and fails unless it ends with exit code 0.
expect_exit_zero() { # SECONDS
    for _ in $(seq $(($1 * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            local status=0
            wait "$pid" || status=$?
            pid=
            [ "$status" -eq 0 ] || fail "the program ended with exit code $status"
            return 0
        fi
        sleep 0.1
    done
    fail "the program did not end"
}

# Reads what the build says of the program from FILE, the program-facts that CMake makes in the
# build folder: the caption, the main window's client area and the picture's place in it, the
# picture folder and names, the counts.
read_program_facts() { # FILE
    # shellcheck source=/dev/null
    source "$1"
    : "${caption:?is not in $1}" "${client_width:?is not in $1}" "${client_height:?is not in $1}" \
        "${picture_left:?is not in $1}" "${picture_top:?is not in $1}" \
        "${picture_width:?is not in $1}" "${picture_height:?is not in $1}" \
        "${picture_folder:?is not in $1}" "${questions_per_test:?is not in $1}" \
        "${picture_count:?is not in $1}"
    declare -F picture_name >/dev/null || fail "no picture_name in $1"
}

# The main window's client area is its bottom client_width x client_height pixels, under the menu
# bar. Sets X, Y, WIDTH and HEIGHT to the geometry of the main window WINDOW, and client_x and
# client_y to where its client area starts on the screen.
find_client_area() { # WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    client_x=$X
    client_y=$((Y + HEIGHT - client_height))
}

# Clicks X Y of the client area. The program takes input events in the order they come, so a
# click needs no pause after it; what it brings about is waited for where it matters.
click() { # X Y
    xdotool mousemove --sync $((client_x + $1)) $((client_y + $2)) click 1
}
