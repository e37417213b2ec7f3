# Keycode, ink, feet and film frames through print, parse and convert.
expect keycode-print 0 $'AB1234560000+00\nAB1234561234+15\nNEGATIVE' "" -- print -t F35 -p AB123456 0 79036 -64
expect keycode353 0 $'AB1234561234+01.2\nAB1234560000+00.1' "" -- print -t F353 -p AB123456 78978 640000
expect keycode-parse 1 $'79036\n79036\n2196\ninvalid\ninvalid' "" -- parse -t F35 AB1234561234+15 AB123456123415 AB123456__34+05 AB1234561234+16 AB1234561234+015
expect ink 0 "AB121234+15" "" -- print -t I35 -p AB12 79036
expect ink-parse 1 $'24699\n24699\ninvalid' "" -- parse -t i16 "AB121234+19" "AB12 1234+19" "AB121234+20"
expect feet 0 $' 1234.15\n-1234.15' "" -- print -t foot_35_label 79036 -79036
expect convert-feet 0 " 1234.15" "" -- convert --from F35 --to foot_35_label AB1234561234+15
expect convert-mismatch 2 "" "" -- convert --from F35 --to F16 AB1234561234+15
expect convert-dummy 2 "" "" -- convert --from keycode_label --to F35 x
expect_err convert-why "count different samples" convert --from P --to N 00:00:01.00
