# marlix tc, marlix pull and the global --json.
expect tc-text 0 $'01:00:00;00\n00:01:00;02\n-00:01:00;02\n01:00:00;00' "" -- tc text --rate 29.97df 107892 1800 -1800 107892
expect tc-text-nowrap 0 "25:00:00:00" "" -- tc text --rate 25 --no-wrap 2250000
expect tc-text-native-none 2 "" "" -- tc text --rate 59.94df --native 1
expect tc-frames 0 $'107892\n1800\n1800' "" -- tc frames --rate 29.97df "01:00:00;00" "00:01:00;02" "00;01;00;02"
# The converters' native text, blanks and all, reads back.
expect tc-reads-native 0 $'107892\n1800' "$("$marlix" tc text --rate 29.97df --native 107892 1800)" -- tc frames --rate 29.97df
expect tc-blanks 0 "25" "" -- tc duration --rate 25 " 01:00:00:00" $'01:00:01:00\t'
expect tc-frames-refused 1 $'invalid\ninvalid\ninvalid\ninvalid\ninvalid' "" -- tc frames --rate 25 "00:00:00;01" "00:00:00:25" "00:00:00:00x" "" "24:00:00:00"
expect tc-check 1 $'ok\ninvalid' "" -- tc check --rate 29.97df "00:01:00;02" "00:01:00;00"
expect_err tc-check-reason "dropped label" tc check --rate 29.97df "00:01:00;00"
expect tc-add 0 "00:59:59:24" "" -- tc add --rate 25 01:00:00:00 -1
expect tc-duration-stdin 0 $'25\n50' $'01:00:00:00 01:00:01:00\n00:00:00:00 00:00:02:00\n' -- tc duration --rate 25
expect tc-convert-pulldown 0 $'00:00:00;00\n00:00:00;01\n00:00:00;03\n00:00:00;04\n00:00:00;05' "" -- tc convert --from 23.976 --to 29.97df --method pulldown 00:00:00:00 00:00:00:01 00:00:00:02 00:00:00:03 00:00:00:04
expect tc-convert-no-pulldown 2 "" "" -- tc convert --from 25 --to 29.97 --method pulldown 01:00:00:00
expect pull-2-3 0 $'KU2290121234+00\nKU2290121234+01\nKU2290121234+01 split\nKU2290121234+02 split\nKU2290121234+03\nKU2290121234+04' "" -- pull --stock F35 --rate 29.97df --sync "KU2290121234+00=01:00:00;00" "01:00:00;00" "01:00:00;01" "01:00:00;02" "01:00:00;03" "01:00:00;04" "01:00:00;05"
# A film frame beyond either end of the sync point's roll is refused, not wrapped.
expect pull-roll-ends 1 $'invalid\nKU2290120000+00\ninvalid' "" -- pull --stock F35 --rate 29.97df --sync "KU2290120000+00=01:00:00;00" "00:59:59;29" "01:00:00;00" "23:00:00;00"
expect_err pull-roll-why "00:59:59;29'?: the film frame lies outside the sync point's roll: before its first frame, KU2290120000\+00" pull --stock F35 --rate 29.97df --sync "KU2290120000+00=01:00:00;00" "00:59:59;29"
expect_err pull-sync-side "^marlix: --sync: the sync point's keycode is not a label of type keycode_35_label: frames 16 is not below 16" pull --stock F35 --rate 25 --sync "KU2290120000+16=00:00:00:00" 00:00:00:00
expect_err pull-sync-video "^marlix: --sync: the sync point's video timecode is invalid: field out of range" pull --stock F35 --rate 29.97df --sync "KU2290120000+00=01:00:00;99" 01:00:00;00
expect_err pull-no-film-pull "^marlix: no film pull at 48: " pull --stock F35 --rate 48 --sync "KU2290120000+00=01:00:00:00" 01:00:00:00
expect_err tc-convert-sync-side "film timecode is invalid: field out of range" tc convert --from 23.976 --to 29.97df --method pulldown --sync "00:00:01:24=00:01:00;02" 00:00:00:00
expect pull-not-keycode 2 "" "" -- pull --stock P --rate 25 --sync "x=01:00:00:00" 01:00:00:00
expect json-pull 1 $'{"input": "01:00:00:02", "text": "KU2290121234+01", "split": true}\n{"input": "x", "error": "not a timecode [-]HH:MM:SS:FF"}' "" -- --json pull --stock F35 --rate 29.97 --sync "KU2290121234+00=01:00:00:00" 01:00:00:02 x
expect json-pair 0 '{"input": ["01:00:00:00", "01:00:01:00"], "frames": 25}' "" -- --json tc duration --rate 25 01:00:00:00 01:00:01:00
expect json-after-command 2 "" "" -- tc frames --rate 25 --json 01:00:00:00
# Midnight is a clock: additions wrap both ways, durations run across it;
# --no-wrap and --signed keep the signed answers.
expect tc-add-wraps 0 $'23:59:57:00\n00:00:00:00' $'00:00:02:00 -125\n23:59:59:24 1\n' -- tc add --rate 25
expect tc-add-wraps-df 0 $'23:59:57;25\n00:00:00;00' $'00:00:02;00 -125\n23:59:59;29 1\n' -- tc add --rate 29.97df
expect tc-add-no-wrap 0 "-00:00:03:00" "" -- tc add --rate 25 --no-wrap 00:00:02:00 -125
expect_err tc-add-out-of-range "out of the 32-bit frame range" tc add --rate 25 --no-wrap 01:00:00:00 99999999999
expect tc-add-far 0 "08:06:39:24" "" -- tc add --rate 25 01:00:00:00 99999999999
expect_err tc-add-beyond-64-bits "frames out of the 64-bit range" tc add --rate 25 01:00:00:00 99999999999999999999
expect_err tc-text-out-of-range "out of the 32-bit range" tc text --rate 25 2147483648
expect tc-duration-midnight 0 "450" "" -- tc duration --rate 29.97df "23:59:50;00" "00:00:05;00"
expect tc-duration-signed 0 "-2588958" "" -- tc duration --rate 29.97df --signed "23:59:50;00" "00:00:05;00"
# Each subcommand takes its own options and shows its own usage line.
expect tc-foreign-option 2 "" "" -- tc frames --rate 25 --no-wrap 00:00:00:00
expect_err tc-own-usage "^usage: marlix tc duration " tc duration --rate 25 --from 24 00:00:00:00 00:00:01:00
expect_err tc-add-usage "^usage: marlix tc add " tc add 00:00:00:00 1
expect_err tc-no-subcommand "^usage: marlix tc text\|frames" tc
# Without --rate, the project's rate.
expect tc-project-rate 0 "00:01:00;02" "" -- --project-rate 29.97 --drop-frame tc text 1800
expect tc-project-rate-25 0 "00:01:12:00" "" -- --project-rate 25 tc text 1800
expect_err tc-project-rate-none "no timecode rate" --project-rate "#31" tc text 1800
# Echoed input is escaped and cut.
expect_err tc-echo-escaped "'\\\\x1b\[31m\\\\r': " tc frames --rate 25 $'\x1b[31m\r'
expect_err_in tc-echo-cut "line 1: 'x{80}\.\.\.': " "$(head -c 100000 /dev/zero | tr '\0' x)" tc frames --rate 25
