# The tool's contract: no silent wrong answers, the conventions of a shell tool.

# span reads label texts (and packed timecode digits); unreadable operands fail.
expect span-text 0 "2762" "" -- span -t P 01:00:10:00 01:02:00:12
expect span-unreadable 1 "invalid" "" -- span -t P abc def

# -t: a frame rate names its timecode type; catalogue numbers are #N.
expect type-rate 0 "108000" "" -- parse -t 30 01:00:00:00
expect type-rate-df 0 "107892" "" -- parse -t 29.97DF "01:00:00;00"
expect type-bare-number 2 "" "" -- parse -t 5 01:00:00:00
expect_err type-bare-number-hint "#N" parse -t 5 01:00:00:00
expect_err type-5994df "marlix tc" parse -t 59.94df 01:00:00:00
expect project-rate-df 0 "7 ntsc_drop_label" "" -- --project-rate 29.97df types --default
expect_err project-rate-unknown-number "not a frame rate" --project-rate "#11" types --default
expect_err project-rate-numbers "#N for the host's rate number N: 1..10, 31..34\)" --project-rate "#0" types --default
expect project-rate-number-10 0 "6 ntsc_label" "" -- --project-rate "#10" types --default
expect project-rate-number-34 0 "6 ntsc_label" "" -- --project-rate "#34" types --default
expect project-rate-number-35 2 "" "" -- --project-rate "#35" types --default

# Global options go before the command.
expect global-after-command 2 "" "" -- legacy timecode -t 1 --drop-frame 1801
expect_err global-after-command-hint "unknown option '--drop-frame' \(global options go before the command\)" legacy timecode -t 1 --drop-frame 1801

# convert keeps the roll; -p where the prefix lengths differ.
expect convert-keeps-roll 0 "KU2290121234+15" "" -- convert --from F35 --to F35 KU2290121234+15
expect convert-needs-prefix 2 "" "" -- convert --from F35 --to I35 KU2290121234+15
expect convert-new-prefix 0 "AB121234+15" "" -- convert --from F35 --to I35 -p AB12 KU2290121234+15

# Drop-frame SMPTE words decode to the label's sample.
expect smpte-decode-df 0 "sample=1800 count=1802 drop=1" "" -- smpte -t ND --decode 0x00010042

# Keep strings that would not read back are refused, with no output.
expect keep-prefix-blank 2 "" "" -- label write -t F35 -p 'KU22 9 1' --start 0
expect keep-prefix-blank-lax 1 "" "" -- label write --lax -t F35 -p 'KU22 9 1' --start 0
expect keep-pitch-nan 1 "" "" -- label write -t P --start 0 --pitch nan
expect keep-length-cut 1 "" "" -- label write -t F35 -p KU229012 --start 78976 --length 641
expect_err keep-length-reason "length 641 is not a whole number of frames of keycode_35_label \(4 samples" label write -t F35 -p KU229012 --start 78976 --length 641
expect_err keep-length-negative "length -64 is negative" label write -t F35 -p KU229012 --start 78976 --length -64
expect_err keep-start-in-frame "start 78977 lies inside a frame" label write -t F35 -p KU229012 --start 78977
expect_err keep-no-roll "need the roll's prefix" label write -t F35 --start 78976
# A 3-perf label names its perforation; its default length is whole frames.
expect keep-3-perf 0 "LABEL_REV:1 keycode_353_label KU2290121234+01.3 33333333 0.0416666667 0" "" -- label write -t F353 -p KU229012 --start 78977
expect roll-reel-colon 1 "" "" -- roll write 2,1 --reel A:1
expect roll-reel-cut 0 "REV:1 MediumRollId:2,1 reelid:ééééééééééééééé" "" -- roll write 2,1 --reel éééééééééééééééé
expect_err roll-reel-cut-warning "reel id is cut" roll write 2,1 --reel éééééééééééééééé

# Conventions: command help, standard input forms, line numbers, blanks.
expect command-help 0 "$("$marlix" help span)" "" -- span --help
expect stdin-forms 0 $' 00:00:01.00\n 00:00:02.00\n 00:00:03.00\n 00:00:04.00' $'\xEF\xBB\xBF25\r\n50\r75\n 100 ' -- print -t P
expect_err_in stdin-line-number "^marlix: line 2: 'xx': " $'1\nxx\n' print -t P

# A lost output is an error of its own (exit 3), also for a long batch.
expect_write_error write-error print -t P 1
expect_write_error write-error-batch template -t P
if [[ -w /dev/full ]]; then
    seq 1 100000 | "$marlix" print -t P >/dev/full 2>/dev/null
    if [[ $? == 3 ]]; then pass=$((pass + 1)); else echo "FAIL write-error-pipe"; fail=$((fail + 1)); fi
fi
expect xlate-output-follows 0 "1.001" "" -- --project-rate 29.97 xlate --from TOVCel --to TOVClock 1
expect cadence-before-clip 0 "<B BC CC DD AA" "" -- cadence 24:30i --sequence 2

# One request, one answer through pipes: each answer comes before the next
# request is sent.
coproc MARLIX_PEER { "$marlix" print -t P; }
peer_pid=$MARLIX_PEER_PID peer_in=${MARLIX_PEER[1]} peer_out=${MARLIX_PEER[0]}
answers=""
for n in 25 50; do
    echo "$n" >&"$peer_in"
    IFS= read -r -t 5 line <&"$peer_out" || line="(no answer)"
    answers+="$line;"
done
exec {peer_in}>&-
wait "$peer_pid" 2>/dev/null
if [[ $answers == " 00:00:01.00; 00:00:02.00;" ]]; then
    pass=$((pass + 1))
else
    echo "FAIL pipe-dialogue: $answers"
    fail=$((fail + 1))
fi

# A reader that stops early ends marlix by SIGPIPE, with nothing on stderr.
first=$(seq 1 200000 | "$marlix" print -t P 2>/tmp/marlix_cli_pipe.$$ | head -n 1)
if [[ $first == " 00:00:00.01" && ! -s /tmp/marlix_cli_pipe.$$ ]]; then
    pass=$((pass + 1))
else
    echo "FAIL pipe-closed-early: '$first' $(cat /tmp/marlix_cli_pipe.$$)"
    fail=$((fail + 1))
fi
rm -f /tmp/marlix_cli_pipe.$$
