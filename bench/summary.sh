# Sourced by the process benchmarks: their alternating rounds, the median of a figure over the
# rounds with its spread, the failed starts, and the verdict on a ratio of two medians.
# shellcheck shell=bash

# ROUNDS COMMAND...: runs COMMAND minimal and COMMAND program ROUNDS times, the order swapped
# each round, so that a drift of the machine's load falls on both.
alternately() {
    local rounds=$1 round
    shift
    for round in $(seq "$rounds"); do
        if [ $((round % 2)) -eq 1 ]; then
            "$@" minimal
            "$@" program
        else
            "$@" program
            "$@" minimal
        fi
    done
}

# FILE FIELD: prints the median of FIELD=VALUE over FILE's lines, its interquartile range and the
# least value; quartiles interpolated between the sorted values as most statistics tools do.
summary() {
    sed -n "s/.*$2=\([0-9.]*\).*/\1/p" "$1" | sort -n | awk '
        function at(q,   h, l) { h = (NR - 1) * q + 1; l = int(h); return v[l] + (h - l) * (v[l + 1] - v[l]) }
        { v[NR] = $1 } END { v[NR + 1] = v[NR]; print at(0.5), at(0.75) - at(0.25), v[1] }'
}

# FILE...: says how many starts in each file failed (the probe's start_failed lines), which the
# medians leave out.
failed_starts() {
    local file count
    for file in "$@"; do
        count=$(grep -c '^start_failed=' "$file" || true)
        [ "$count" -eq 0 ] || echo "$(basename "$file" .txt): $count starts failed and are left out"
    done
}

# For awk programs: a ratio of medians counts when each spread is under a tenth of its median.
# shellcheck disable=SC2034 # used by the scripts that source this file
verdict_awk='
    function verdict(ratio, goal, p, pi, m, mi) {
        if (pi > 0.1 * p || mi > 0.1 * m)
            return "spread too wide to count"
        return ratio <= goal ? "met" : "MISSED"
    }'

# FILE: times a fixed arithmetic loop about as long as the programs' start-up (50 ms here) and
# adds it to FILE as loop_ms=. Run beside each start, it is the same work every time: where its
# spread is as wide as the starts', the machine's own pace varies that much, and no program could
# start more steadily.
steadiness() {
    local before=$EPOCHREALTIME
    awk 'BEGIN { for (i = 0; i < 1000000; ++i) x += i * i }'
    awk -v before="$before" -v after="$EPOCHREALTIME" \
        'BEGIN { printf "loop_ms=%.1f\n", (after - before) * 1000 }' >>"$1"
}

# FILE: says how widely the fixed loop's times in FILE spread.
steadiness_line() {
    local ms iqr
    read -r ms iqr _ < <(summary "$1" loop_ms)
    awk -v l="$ms" -v li="$iqr" 'BEGIN {
        printf "the machine: a fixed loop, median (ms) %.1f (IQR %.1f, %.0f %% of it)\n", l, li, 100 * li / l
    }'
}
