# Keycode, ink, feet and film frames through print, parse and convert.
expect keycode-print 0 $'AB1234560000+00\nAB1234561234+15\nNEGATIVE' "" -- print -t F35 -p AB123456 0 79036 -64
expect keycode353 0 $'AB1234561234+01.2\nAB1234560000+00.1' "" -- print -t F353 -p AB123456 78978 640000
expect keycode-parse 1 $'79036\ninvalid\ninvalid\ninvalid\ninvalid' "" -- parse -t F35 AB1234561234+15 AB123456123415 AB123456__34+05 AB1234561234+16 AB1234561234+015
expect keycode-parse-lax 1 $'79036\n79036\n2196\ninvalid\ninvalid' "" -- parse --lax -t F35 AB1234561234+15 AB123456123415 AB123456__34+05 AB1234561234+16 AB1234561234+015
expect keycode-forms 0 $'78976\n78976\n78976\n4480\n68' "" -- parse -t F35 'KU 22 9012 1234+00' 'KU22 9012 1234+00' ' KU229012 1234+00 ' KX654321-0070+00 KX654321-0001+01
expect keycode-16mm 0 $'39\n39' "" -- parse -t F16 'KU2290120001&19' 'KU 22 9012 0001+19'
expect_err keycode-phase "3-perf phase 9 is not 1-3" parse -t F353 KU2290121234+01.9
expect_err keycode-prefix "not a prefix of type keycode_35_label: expected 2 letters, 6 digits" print -t F35 -p 'KJ 12 34' 0
expect keycode-typed-prefix 0 "KJ1234560000+00" "" -- print -t F35 -p 'KJ 12 3456' 0
expect feet-strict 1 $'invalid\ninvalid\ninvalid\ninvalid\n780' "" -- parse -t foot_35_label abc '' 1234.99 0012.20 12+03
expect_err feet-why "frames 20 is not below 16" parse -t foot_35_label 0012.20
expect convert-strict 1 "invalid" "" -- convert --from foot_35_label --to F35 -p KU229012 abc
expect convert-lax 0 "KU2290120000+00" "" -- convert --lax --from foot_35_label --to F35 -p KU229012 abc
expect ink 0 "AB121234+15" "" -- print -t I35 -p AB12 79036
expect ink-parse 1 $'24699\n24699\ninvalid' "" -- parse -t i16 "AB121234+19" "AB12 1234+19" "AB121234+20"
expect feet 0 $' 1234.15\n-1234.15' "" -- print -t foot_35_label 79036 -79036
expect convert-feet 0 " 1234.15" "" -- convert --from F35 --to foot_35_label AB1234561234+15
expect convert-mismatch 2 "" "" -- convert --from F35 --to F16 AB1234561234+15
expect convert-dummy 2 "" "" -- convert --from keycode_label --to F35 x
expect_err convert-why "count different samples" convert --from P --to N 00:00:01.00
