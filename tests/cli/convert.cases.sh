# print, parse, smpte, span, template.
expect print-pal 1 $'-00:00:01.00\n 01:02:03.04\ninvalid' "" -- print -t P -25 93079 x
expect print-flags 0 $' 1:05.03\n ' "" -- print -t P --flags 0 1628 3
expect print-32bit 1 "invalid" "" -- print -t P 2147483648
expect print-dummy 2 "" "" -- print -t timecode_label 5
expect parse-pal 1 $'93079\n93079\ninvalid\n-90000' "" -- parse -t P " 01:02:03.04" 01:02:03:04 01.02.03.04 -01:00:00.00
expect smpte-decode 1 $'sample=93079 drop=1\nsample=93079 drop=0\ninvalid' "" -- smpte -t P --decode 0x01020344 0x01020304 0x123456789
expect span-stdin 1 $'50\n2159975\ninvalid' $'23595900 00000100\n00000100 00000000\nonly-one\n' -- span -t P
expect no-type 2 "" "" -- print 5
expect bad-type 2 "" "" -- print -t Q 5
expect bad-flags 2 "" "" -- print -t P --flags 16 5
expect_err parse-why "not a label of type pal_label: expected HH:MM:SS.FF" parse -t P 01.02.03.04
expect tc-strict 1 $'invalid\ninvalid\n900024' "" -- parse -t P 10:00:00:99 25:00:00:00 ' 10:00:00.24 '
expect tc-packed 1 $'invalid\n90024' "" -- parse -t P --packed 10000099 01000024
expect tc-lax 0 $'900099\n2250000' "" -- parse --lax -t P 10:00:00:99 25:00:00:00
expect_err tc-frames-why "frames 99 is not below 25" parse -t P 10:00:00:99
expect_err tc-dropped "dropped label" parse -t ND '01:01:00;00'
expect span-strict 1 "invalid" "" -- span -t P 01:00:10:00 01:00:10:99
expect span-lax 0 "99" "" -- span --lax -t P 01:00:10:00 01:00:10:99
