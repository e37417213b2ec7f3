#!/usr/bin/env bash
# Line throughput of the marlix tool against sed on the same lines: a day of
# 25 fps samples (2 160 000 lines) through 'marlix print', the printed
# labels back through 'marlix parse', and 'sed s/$/x/' over each input, side
# by side in one run. Prints the best of three runs of each and the ratio;
# exits 1 when marlix takes more than twice as long as sed.
# Usage: bench/cli_throughput.sh [MARLIX_BINARY]
set -euo pipefail
marlix=${1:-build/tools/marlix/marlix}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seq 0 2159999 >"$work/samples"
"$marlix" print -t P <"$work/samples" >"$work/labels"

# best_of CMD INPUT: the fastest of three runs, in seconds.
best_of() {
    local cmd=$1 input=$2 best="" t
    for _ in 1 2 3; do
        t=$( { TIMEFORMAT=%R; time bash -c "$cmd" <"$input" >/dev/null; } 2>&1 )
        if [[ -z $best ]] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
    done
    echo "$best"
}

status=0
for job in "print -t P:samples" "parse -t P:labels"; do
    args=${job%%:*} input=$work/${job##*:}
    ours=$(best_of "\"$marlix\" $args" "$input")
    theirs=$(best_of "sed 's/\$/x/'" "$input")
    ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')
    printf 'marlix %-11s %6ss   sed %6ss   ratio %s\n' "$args" "$ours" "$theirs" "$ratio"
    awk -v r="$ratio" 'BEGIN { exit !(r > 2) }' && status=1
done
exit $status
