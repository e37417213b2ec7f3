# marlix label write | read | at.
K="LABEL_REV:1 pal_label  10:00:00.00 250 0.0400000000 1"
expect label-write 0 "$K" "" -- label write -t P --start 10:00:00.00 --length 250 --bounded
expect label-write-sample 0 "LABEL_REV:1 keycode_35_label AB1234561234+15 25000000 0.0416666667 0" "" -- label write -t F35 -p AB123456 --start 79036
expect label-read 1 $'type=\"pal_label\" start=" 10:00:00.00" start_sample=900000 length=250 pitch=0.04 bounded=1 revision=1\ninvalid\ninvalid\ninvalid\ninvalid\ninvalid\ninvalid' "" -- label read "$K" "LABEL_REV:3 pal_label 0 1 1 1" "${K/10:00:00.00/99:99:99.99}" "$K junk" "${K}x" "${K/ 250 / 250x }" "$K MediumRollId"
expect_err label-read-trailing "text after the keep string's last field" label read "$K MediumRollId 21,2 x"
expect label-at 0 $' 10:00:00.00\n 10:00:10.00\n>>>>>>\n<<<<<<' "" -- label at "$K" 0 250 251 -1
expect label-bad-start 2 "" "" -- label write -t P --start garbage
expect_err label-dropped-start "dropped label" label write -t ND --start '01:01:00;00'
expect label-lax-start 0 "LABEL_REV:1 ntsc_drop_label  01:00:59;28 10 0.0333666667 0" "" -- label write --lax -t ND --start '01:01:00;00' --length 10
expect label-typed-prefix 0 "LABEL_REV:1 keycode_35_label KU2290121234+00 160 0.0416666667 0" "" -- label write -t F35 -p 'KU 22 9012' --start 78976 --length 640
expect label-bad-keep 2 "" "" -- label at "not a keep string" 0
expect label-at-trailing 2 "" "" -- label at "$K junk" 0
expect label-no-sub 2 "" "" -- label frobnicate
