# marlix cutlist and marlix log: a day's telecine log and a picture reel cut
# from it, each list pinned, and the log findings one by one.
film_dir=$cases_dir/film
cut_args=(cutlist --rate 29.97 --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale" --reel-map "$film_dir/reels.map")
expect cutlist-cut 1 "$(sed "s|^# reel 1: .*|# reel 1: $film_dir/reel1.edl|" "$film_dir/reel1.cut")" "" -- "${cut_args[@]}" --leader 12+00
expect cutlist-all-json 1 "$(cat "$film_dir/reel1.json")" "" -- --json "${cut_args[@]}" --list all
expect cutlist-pull-csv 1 $'labroll,camroll,clip,key_in,key_out,frames,events\nL01,A001,12A-1,KU2290121003+00,KU2290121007+09,74,1\nL01,A001,12A-2,KU2290121038+14,KU2290121042+03,54,3\nL01,A002,14-3,KU2290132005+00,KU2290132009+08,73,2' "" -- "${cut_args[@]}" --list pull --csv
# A field with a quote or a comma is quoted, its quotes doubled.
expect cutlist-csv-quoted 1 $'labroll,camroll,clip,key_in,key_out,frames,events\nL01,A001,"a ""b"", c",KU2290121003+00,KU2290121007+09,74,1\nL01,A001,12A-2,KU2290121038+14,KU2290121042+03,54,3\nL01,A002,14-3,KU2290132005+00,KU2290132009+08,73,2' "$(sed 's/^12A-1\t/a "b", c\t/' "$film_dir/day01.ale")" -- cutlist --rate 29.97 --edl "$film_dir/reel1.edl" --log - --reel-map "$film_dir/reels.map" --list pull --csv
expect cutlist-missing 1 $'# reel 1: '"$film_dir/reel1.edl"$'\nEVENT  REEL   MISSING  SOURCE IN    SOURCE OUT\n5      DAY02  no_clip  02:00:00:00  02:00:02:00' "" -- "${cut_args[@]}" --list missing
# Without the map the reel is the start of one tape's name: taken, with a warning.
expect_err cutlist-prefix "^marlix: .*reel1.edl:3: warning: 001: reel taken as tape DAY01_TAPE1$" cutlist --rate 29.97 --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale"
# Two lists are two picture reels, each with its own lists.
expect cutlist-two-reels 1 $'# reel 1: '"$film_dir/reel1.edl"$'\nEVENT  REEL   MISSING  SOURCE IN    SOURCE OUT\n5      DAY02  no_clip  02:00:00:00  02:00:02:00\n# reel 2: '"$film_dir/reel1.edl"$'\nEVENT  REEL   MISSING  SOURCE IN    SOURCE OUT\n5      DAY02  no_clip  02:00:00:00  02:00:02:00' "" -- cutlist --rate 29.97 --edl "$film_dir/reel1.edl" "$film_dir/reel1.edl" --log "$film_dir/day01.ale" --reel-map "$film_dir/reels.map" --list missing
# Reel maps: comments, blank lines, CRLF and blanks around; a line without its tape.
expect cutlist-map-crlf 1 $'labroll,camroll,clip,key_in,key_out,frames,events\nL01,A001,12A-1,KU2290121003+00,KU2290121007+09,74,1\nL01,A001,12A-2,KU2290121038+14,KU2290121042+03,54,3\nL01,A002,14-3,KU2290132005+00,KU2290132009+08,73,2' "" -- cutlist --rate 29.97 --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale" --reel-map <(printf '# reel tape\r\n\r\n  DAY01_TA \t DAY01_TAPE1  \r\n') --list pull --csv
expect_err cutlist-map-bad-line "^marlix: /dev/fd/[0-9]+:3: a reel map line is REEL TAPE$" cutlist --rate 29.97 --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale" --reel-map <(printf '# reel tape\nDAY01_TA DAY01_TAPE1\nLONELY\n')
# A list's errors are said with their line, and the lists still made.
expect_err_in cutlist-edl-error "^marlix: -:2: error: " $'001  DAY01_TA V     C        01:00:02:00 01:00:05:02 01:00:00:00 01:00:03:02\n002  DAY01_TA V     C        01:01:03:10 01:01:06:12 01:00:03:02 01:00:03:40\n' cutlist --rate 29.97 --edl - --log "$film_dir/day01.ale"
expect cutlist-no-rate 2 "" "" -- cutlist --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale"
expect cutlist-no-log 2 "" "" -- cutlist --rate 25 --edl "$film_dir/reel1.edl"
expect_err cutlist-bad-list "no list 'dupes'" cutlist --rate 25 --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale" --list dupes
# The next version of the reel: a dissolve, a shot used twice, a speed, and
# the changes from the first.
v2_args=(cutlist --rate 29.97 --edl "$film_dir/reel1_v2.edl" --log "$film_dir/day01.ale" --reel-map "$film_dir/reels.map")
expect cutlist-v2-all 0 "$(sed "s|FILM|$film_dir|g" "$film_dir/reel1_v2.all")" "" -- "${v2_args[@]}" --previous "$film_dir/reel1.edl" --list all --leader 12+00
expect cutlist-dupe-handles 0 $'labroll,camroll,clip,key_in,key_out,frames,events\nL01,A001,12A-1,KU2290121007+04,KU2290121009+03,32,1 3' "" -- "${v2_args[@]}" --list dupe --csv --handles 4
expect cutlist-optical-lengths 0 $'event,effect,print,length,centre,centre_feet,speed,side,reel,clip,key_in,key_out,frames,notes\n2,dissolve,optical,24,01:00:04:12,6+10,30.0,out,DAY01_TA,12A-1,KU2290121009+00,KU2290121010+02,19,\n2,dissolve,optical,24,01:00:04:12,6+10,30.0,in,DAY01_TA,14-3,KU2290132005+00,KU2290132006+02,19,\n6,speed,optical,60,01:00:12:09,18+07,15.0,speed,DAY01_TA,14-3,KU2290132012+00,KU2290132013+07,24,' "" -- "${v2_args[@]}" --list optical --csv --dissolve-lengths 20,30
expect_line cutlist-change-json 9 '{"order": "reel", "step": 4, "change": "add", "end": null, "at": "12+09", "at_frames": 201, "event": 3, "reel": "DAY01_TA", "clip": "12A-1", "labroll": "L01", "camroll": "A001", "key_in": "KU2290121007+08", "key_out": "KU2290121008+15", "source_in": null, "source_out": null, "frames": 24}' --json "${v2_args[@]}" --previous "$film_dir/reel1.edl" --list change
expect cutlist-audio 0 $'TITLE: REEL 1 V2\nFCM: NON-DROP FRAME\n001  S01      AA    C        17:20:02:00 17:20:06:00 01:00:00:00 01:00:04:00\n002  S02      AA    C        18:02:33:25 18:02:36:27 01:00:04:00 01:00:07:02\n003  S01      AA    C        17:20:05:00 17:20:06:00 01:00:07:02 01:00:08:02\n005  S01      AA    C        17:21:15:07 17:21:17:14 01:00:09:02 01:00:11:09\n006  S02      AA    C        18:02:38:15 18:02:39:15 01:00:11:09 01:00:13:09' "" -- "${v2_args[@]}" --list audio
expect_err cutlist-bad-handles "^marlix: --handles takes frames 0 to 10000, not '-1'" "${v2_args[@]}" --list dupe --handles -1
expect_err cutlist-bad-lengths "takes frames 1 to 99999 parted by commas, not '24,,32'" "${v2_args[@]}" --list optical --dissolve-lengths 24,,32
expect_err cutlist-change-alone "the change list needs the previous lists" "${v2_args[@]}" --list change
expect_err cutlist-previous-count "one list for each --edl" "${v2_args[@]}" --list change --previous "$film_dir/reel1.edl" "$film_dir/reel1.edl"
expect_err cutlist-bad-stock "'P' is no keycode stock" cutlist --rate 25 --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale" --stock P
expect_err cutlist-bad-leader "'12x' is no footage" cutlist --rate 25 --edl "$film_dir/reel1.edl" --log "$film_dir/day01.ale" --leader 12x
expect_err cutlist-missing-file "^marlix: /nonexistent.ale: No such file or directory$" cutlist --rate 25 --edl "$film_dir/reel1.edl" --log /nonexistent.ale

expect log-check-clean 0 "$film_dir/day01.ale: note: KN End names the frame after each clip (3 clips; 0 against)" "" -- log check "$film_dir/day01.ale"
bad_log=$'Heading\nFILM_FORMAT\t35mm\nFPS\t29.97\nColumn\nName\tTape\tStart\tEnd\tKN Start\tPullin\nData\na\tT\t01:00:00:00\t01:00:10:00\t-0003+00\tA\nb\tT\t01:00:05:00\t01:00:10:00\tKU2290121234+00\tQ\n'
expect log-check-findings 1 $'-:7: error: KN Start -0003+00: footage without a roll prefix is no key number\n-:8: error: Pullin \'Q\' is none of A, B, X, C, D\n-:8: warning: tape T: overlaps the clip of line 7 by 150 frames' "$bad_log" -- log check -
expect log-check-json 1 '{"file": "-", "line": 7, "severity": "error", "kind": "feet_only_key", "message": "KN Start -0003+00: footage without a roll prefix is no key number"}
{"file": "-", "line": 8, "severity": "error", "kind": "bad_pullin", "message": "Pullin '"'Q'"' is none of A, B, X, C, D"}
{"file": "-", "line": 8, "severity": "warning", "kind": "tape_overlap", "message": "tape T: overlaps the clip of line 7 by 150 frames"}' "$bad_log" -- --json log check -
expect log-check-65mm 0 "" $'Heading\nFPS\t24\nColumn\nTape\tStart\tEnd\tKN Start\nData\nT\t01:00:00:00\t01:00:01:00\tKU2290121234+00\n' -- log check --stock F655_80 -
expect_line log-show 1 'line=12 Name="12A-1" Tape="DAY01_TAPE1" Start="01:00:00:00" End="01:00:20:00" KN Start="KU 22 9012 1000+00" KN End="KU 22 9012 1030+00" KN Duration="30+00" Pullin="A" Camroll="A001" Labroll="L01" Scene="12A" Take="1" Soundroll="S01" Sound TC="17:20:00:00"' log show "$film_dir/day01.ale"
expect log-find 0 "DAY01_TAPE1 01:00:01:13 12A-1" "" -- log find KU229012-1002+03 --log "$film_dir/day01.ale"
expect log-find-json 0 '{"key": "KU 22 9013 2010+00", "tape": "DAY01_TAPE1", "timecode": "01:01:06:20", "clip": "14-3", "line": 14}' "" -- --json log find 'KU 22 9013 2010+00' --log "$film_dir/day01.ale"
expect log-find-no-log 2 "" "" -- log find KU2290129999+00
expect log-find-two-keys 2 "" "" -- log find KU2290129999+00 KU2290129999+01 --log "$film_dir/day01.ale"
expect log-find-none 1 "" "" -- log find KU2290129999+00 --log "$film_dir/day01.ale"
expect log-bad-job 2 "" "" -- log lint "$film_dir/day01.ale"
# Spans of film types: perforations (frames on 16 mm), frames, feet+frames.
expect span-film 0 "416 104 6+08" "" -- span -t F35 KU2290121234+00 KU2290121240+08
expect span-16mm 0 "45 45 1+05" "" -- span -t F16 KU2290120001+00 KU2290120003+05
expect span-3perf 0 "408 136 6+08" "" -- span -t F353 KU2290121234+00.1 KU2290121240+08.1
expect span-feet-json 0 '{"input": ["0012+00", "0018+08"], "sample": 416, "frames": 104, "feet_frames": "6+08"}' "" -- --json span -t foot_35_label 0012+00 0018+08
# pull at 59.94 progressive: A B C D on 2 3 2 3 frames.
expect pull-5994 0 $'KU2290121234+00\nKU2290121234+00\nKU2290121234+01\nKU2290121234+02\nKU2290121234+04' "" -- pull --stock F35 --rate 59.94 --sync KU2290121234+00=01:00:00:00 01:00:00:00 01:00:00:01 01:00:00:02 01:00:00:05 01:00:00:10
# pull with footage and ink columns, counted from the sync point's frame.
expect pull-footage-ink 0 $'KU2290121234+00 0012.00 01230001+00\nKU2290121234+01 0012.01 01230001+01 split' "" -- pull --stock F35 --rate 29.97 --sync KU2290121234+00=01:00:00:00 --footage 12+00 --ink '0123 0001+00' 01:00:00:00 01:00:00:02
expect_err_in pull-ink-353 "^marlix: --ink: keycode_353_label has no ink number type of its gauge$" "" pull --stock F353 --rate 24 --sync KU2290121234+00.1=01:00:00:00 --ink '0123 0001+00' 01:00:00:00
