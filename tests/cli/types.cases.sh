# marlix types, global options and the item conventions.
expect types-stdin 0 $'5 pal_label\n8 tc_24_label' $'p\nP24 trailing\n' -- types --stdin
expect_line types-row 8 "value=7 class=\"ntsc_drop_label\" edl_written=\"ND\" edl_read=\"ND\" family=\"UserLabelTimecode\" foot=0 ink=0 key=0 tv_rate=5 tv_drop=1 duration=6 samples_per_unit=1 modulus=30 template=\"-29.59.59.29\"" types
expect_line types-empty-row 10 "value=9 class=\"keycode_label\" edl_written=\"BAD\" edl_read=\"\" family=\"UserLabelKeycode\" foot=0 ink=0 key=0 tv_rate=0 tv_drop=0 duration=9 samples_per_unit=1 modulus=1 template=\"\"" types
expect default-25 0 "5 pal_label" "" -- --project-rate 25 types --default
expect bad-rate 2 "" "" -- --project-rate 99 types --default
expect no-command 2 "" "" --
expect unknown-option 2 "" "" -- types --bogus
expect version 0 "marlix 0.1.0 (interface 10.0.V.9.0)" "" -- --version
expect_err item-error "^marlix: 'X': not a label type$" types X
# types and -t read a name alike.
expect types-as-print 0 $'32 tc_60_label\n7 ntsc_drop_label\n5 pal_label' "" -- types 59.94 29.97df '#5'
expect_err usage-hint "^usage: marlix types" types --bogus
expect_err config-missing "cannot read configuration file" --config /nonexistent/marlix.conf types --default
