# marlix medium, roll, and edit-label keep strings.
expect_line medium-list-50p-config 26 "medium=25 name=\"50p\" user=\"50p\" rate=8 progressive=1 double_rate=1 default_label=31 label_for_rate=31 sample_duration=0.02" --set use_25fps_timecode_for_50P=0 medium list
expect medium-parse 1 $'medium=3 generation=2 user=\"video,1stGen\"\nmedium=15 generation=1 user=\"24p,anyGen\"\ninvalid\nmedium=12 generation=1 user=\"med?,anyGen\"' "" -- medium parse 3 15,0 41,1 123,1
expect medium-fits 0 $'1\n1\n0' "" -- medium fits 13,1 15,2 17,3 16,1
expect medium-from-format 0 "medium=19 name=\"25p\"" "" -- medium from-format --scan p --rate 25
expect medium-from-format-none 1 "medium=0 name=\"None\"" "" -- medium from-format --scan p --rate 48
expect roll-write 0 "REV:1 MediumRollId:2,1 reelid:A001" "" -- roll write 2,1 --reel A001
expect edit-write 0 "LABEL_REV:1 ntsc_label  00:00:01.00 100000000 0.0333666667 0 MediumRollId 3,2" "" -- label write -t N --start 00:00:01.00 --medium 3,2
expect edit-read 0 'type="ntsc_label" start=" 00:00:01.00" start_sample=30 length=100000000 pitch=0.0333333333 bounded=0 revision=1 medium_roll="21,2" user="30p,1stGen"' "" -- label read "LABEL_REV:1 ntsc_label  00:00:01.00 100000000 0.0333333333 0 MediumRollId 21,2"
expect_err edit-read-beta "WARNING: Beta labels" label read "LABEL_REV:2 pal_label 0 1 0.04 0 MediumRollId 3,2"
expect medium-bad 2 "" "" -- medium fits 99 1,1
