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
# edl convert: drop-frame relabelled frame for frame with every FCM line rewritten, a speed
# change carrying M2 speeds, real time with its rounding report, 2:3 with a sync a reel.
expect edl-convert-drop 0 "TITLE: DROP
FCM: DROP FRAME
001  A001     V     C        01:49:40;00 01:49:41;00 01:49:40;00 01:49:41;00
FCM: DROP FRAME
002  A001     V     C        01:49:47;18 01:49:48;18 01:49:47;18 01:49:48;18" "" -- edl convert --rate 29.97 --to 29.97df "$edl_dir/drop.edl"
expect edl-convert-frame 0 "TITLE: MOTION
001  A001     V     C        01:12:00:00 01:12:00:24 12:00:00:00 12:00:02:10
M2   A001      010.0 01:12:00:00
002  A001     V     C        01:12:06:00 01:12:07:23 12:00:02:10 12:00:04:20
M2   A001     -020.0 01:12:08:03
003  A002     V     C        02:24:00:00 02:24:00:01 12:00:04:20 12:00:06:00
M2   A002      000.0 02:24:00:00" "" -- edl convert --rate 29.97 --to 25 --method frame "$edl_dir/motion.edl"
pal_list=$'001 A001 V C 10:00:00:00 10:00:02:00 01:00:00:00 01:00:02:00\n002 A002 AA/V C 11:00:10:07 11:00:11:20 01:00:02:00 01:00:03:13\n003 A001 V D 012 10:01:00:00 10:01:04:05 01:00:03:13 01:00:07:18\n'
expect edl-convert-realtime 0 "001  A001     V     C        10:00:00:00 10:00:02:00 01:00:00:00 01:00:02:00
002  A002     AA/V  C        11:00:10:06 11:00:11:18 01:00:02:00 01:00:03:12
003  A001     V     D    012 10:01:00:00 10:01:04:05 01:00:03:12 01:00:07:17" "$pal_list" -- edl convert --rate 25 --to 24 --method realtime -
expect_err_in edl-convert-report "^marlix: -:3: 003: record length rounded: 105 frames become 101 \(100.800 exact\)$" "$pal_list" edl convert --rate 25 --to 24 --method realtime -
expect edl-convert-json 0 '{"file": "-", "line": 2, "event": 2, "record_frames": 38, "new_record_frames": 36, "exact_frames": 36.480}
{"file": "-", "line": 3, "event": 3, "record_frames": 105, "new_record_frames": 101, "exact_frames": 100.800}' "$pal_list" -- edl convert --json --output /dev/null --rate 25 --to 24 --method realtime -
film_list=$'001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n002 BX V C 02:00:00:00 02:00:00:10 01:00:01:00 01:00:01:10\n'
expect edl-convert-pulldown 0 "FCM: NON-DROP FRAME
001  AX       V     C        01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00
002  BX       V     C        02:00:00:00 02:00:00:13 01:00:01:00 01:00:01:13" "$film_list" -- edl convert --rate 23.976 --to 29.97 --method pulldown --sync 01:00:00:00=01:00:00:00 --reel-sync AX=01:00:00:00=01:00:00:00 --reel-sync BX=02:00:00:00=02:00:00:00 -
expect edl-convert-keep 0 "FCM: NON-DROP FRAME
001  AX       V     C        01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00
002  BX       V     C        02:00:00:00 02:00:00:10 01:00:01:00 01:00:01:13" "$film_list" -- edl convert --rate 23.976 --to 29.97 --method pulldown --sync 01:00:00:00=01:00:00:00 --sources keep -
# An FCM line below a comment already opens the list: no second one.
expect edl-convert-fcm-kept 0 $'TITLE: X\n* NOTE\nFCM: DROP FRAME\n001  AX       V     C        01:00:03;18 01:00:04;18 01:00:03;18 01:00:04;18' $'TITLE: X\n* NOTE\nFCM: NON-DROP FRAME\n001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n' -- edl convert --rate 29.97 --to 29.97df -
expect_err_in edl-convert-no-reel-sync "^marlix: -:2: 002: reel BX has no pulldown sync \(give one, or keep the sources\)$" "$film_list" edl convert --rate 23.976 --to 29.97 --method pulldown --reel-sync AX=01:00:00:00=01:00:00:00 -
expect_err_in edl-convert-first-line "^marlix: -:1: 001: reel AX has no pulldown sync \(give one, or keep the sources\)$" "$film_list" edl convert --rate 23.976 --to 29.97 --method pulldown -
expect edl-convert-refused 1 "" "$film_list" -- edl convert --rate 23.976 --to 29.97 --method pulldown -
expect_err_in edl-convert-no-method "^marlix: between 25 and 24 a method is needed" "$pal_list" edl convert --rate 25 --to 24 -
expect edl-convert-json-needs-output 2 "" "$pal_list" -- edl convert --json --rate 25 --to 24 --method realtime -
expect edl-convert-sync-needs-pulldown 2 "" "$pal_list" -- edl convert --rate 25 --to 24 --method frame --sync 01:00:00:00=01:00:00:00 -
expect_err_in edl-convert-bad-reel-sync "^marlix: --reel-sync: " "$film_list" edl convert --rate 23.976 --to 29.97 --method pulldown --reel-sync 01:00:00:00=01:00:00:00 -
expect edl-convert-no-pulldown 2 "" "$pal_list" -- edl convert --rate 25 --to 29.97 --method pulldown -
expect_err_in edl-convert-list-errors "^marlix: -:1: error: 001: " $'001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:05\n' edl convert --rate 25 --to 24 --method frame -
