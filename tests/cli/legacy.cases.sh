# marlix legacy timecode | frames | plus.
expect legacy-timecode 0 $'00000000\n23595929' "" -- legacy timecode -t 1 1 0
expect legacy-timecode-feet 1 "invalid" "" -- legacy timecode -t 8 1
expect legacy-frames 0 $'frame=196 phase=-1 foot_phase=1 result=1\nframe=196 phase=-1 foot_phase=1 result=1' "" -- legacy frames -t 8 --edit 0 001203 "  1203"
expect legacy-frames-refused 1 "invalid" "" -- legacy frames -t 26 --edit 0 --foot-phase 4 000100
expect legacy-plus 0 "label=\"00000101\" phase=0 foot_phase=2 result=1" "" -- legacy plus -t 26 --edit 0 --foot-phase 1 00000000 22
expect legacy-plus-stdin 1 $'label=\"00000100\" phase=0 foot_phase=1 result=1\ninvalid' $'00000000 30\nonlyone\n' -- legacy plus -t 1
expect legacy-bad-type 2 "" "" -- legacy timecode -t 44 1
