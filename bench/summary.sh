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

# PROGRAM-FILE MINIMAL-FILE FIELD GOAL: the ratio of FIELD between the two starts of each round
# (the files' lines of that round; a round with a failed start is left out), the median of these
# ratios and its 95 % confidence interval, distribution-free: the sorted ratios at the ranks
# n/2 -+ 0.98 sqrt(n). Each round's two starts run one after the other, so a drift of the
# machine's pace between rounds falls out of the ratio. The verdict holds only where the whole
# interval lies on one side of GOAL.
paired_ratio() {
    local value="s/.*$3=\([0-9.]*\).*/\1/p;t;s/.*/-/p"
    paste -d' ' <(sed -n "$value" "$1") <(sed -n "$value" "$2") |
        awk '$1 != "-" && $2 != "-" && $2 > 0 { print $1 / $2 }' | sort -g |
        awk -v goal="$4" '{ r[NR] = $1 } END {
            if (NR < 6) { printf "too few rounds (%d) for an interval", NR; exit }
            half = 0.98 * sqrt(NR)
            lo = int(NR / 2 - half + 0.5); hi = int(NR / 2 + 1 + half + 0.5)
            if (lo < 1) lo = 1
            if (hi > NR) hi = NR
            m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
            v = r[hi] <= goal ? "met" : r[lo] > goal ? "MISSED" : "undecided"
            printf "%.3f (95 %% interval %.3f to %.3f, %d rounds) against %.3f: %s",
                m, r[lo], r[hi], NR, goal, v
        }'
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
