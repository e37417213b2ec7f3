# marlix edl: each construct's list pinned by show --json, canonical lists
# formatted byte for byte, the findings list pinned by check.
edl_dir=$cases_dir/edl
for list in cuts transitions motion channels drop file32; do
    expect "edl-show-$list" 0 "$(cat "$edl_dir/$list.json")" "" -- --json edl show --rate 29.97 "$edl_dir/$list.edl"
done
for list in cuts transitions motion channels file32; do
    expect "edl-format-$list" 0 "$(cat "$edl_dir/$list.edl")" "" -- edl format --rate 29.97 "$edl_dir/$list.edl"
done
# FCM lines decide drop-frame; the canonical form writes ';' at drop-frame and LF ends.
expect edl-format-drop 0 "$(tr -d '\r' <"$edl_dir/drop.edl" | sed '3s/:\([0-9][0-9]\) /;\1 /g; 3s/:\([0-9][0-9]\)$/;\1/')" "" -- edl format --rate 29.97 "$edl_dir/drop.edl"
expect edl-check-findings 1 "$(sed "s|^findings.edl|$edl_dir/findings.edl|" "$edl_dir/findings.check")" "" -- edl check --rate 29.97 "$edl_dir/findings.edl"
expect edl-check-stdin 0 "-:2: warning: 001: line not understood, kept as a comment" $'001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\nHELLO\n' -- edl check --rate 25 -
expect edl-check-json 1 '{"file": "-", "line": 1, "column": 36, "event": 1, "severity": "error", "kind": "bad_timecode", "message": "record in at 25: field out of range"}' $'001 AX V C 01:00:00:00 01:00:01:00 01:00:00:25 01:00:01:00\n' -- edl check --json --rate 25 -
# format refuses a list with an error, naming its line and column, unless --tolerant.
expect edl-format-refuses 1 "" $'001 AX V C 01:00:00:00 01:00:01:00 01:00:00:25 01:00:01:00\n' -- edl format --rate 25 -
expect_err_in edl-format-why "^marlix: -:1:36: error: 001: record in at 25: field out of range$" $'001 AX V C 01:00:00:00 01:00:01:00 01:00:00:25 01:00:01:00\n' edl format --rate 25 -
expect edl-format-tolerant 1 "001 AX V C 01:00:00:00 01:00:01:00 01:00:00:25 01:00:01:00" $'001 AX V C 01:00:00:00 01:00:01:00 01:00:00:25 01:00:01:00\n' -- edl format --tolerant --rate 25 -
expect edl-no-rate 2 "" "" -- edl check "$edl_dir/cuts.edl"
expect edl-bad-job 2 "" "" -- edl lint --rate 25 "$edl_dir/cuts.edl"
expect_err edl-missing-file "^marlix: /nonexistent.edl: No such file or directory$" edl check --rate 25 /nonexistent.edl
