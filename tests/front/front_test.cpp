#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>
#include <version>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/front/label_form.h"
#include "marlix/front/labeller.h"
#include "marlix/front/names.h"
#include "marlix/front/shown_text.h"
#include "marlix/front/timecode_text.h"
#include "marlix/front/translate.h"
#include "marlix/internal/test_hooks.h"
#include "marlix/values/label_point.h"
#include "tests/support/captured_messages.h"

namespace {

using namespace marlix;
using front::reason;

// Every form of a type name, and every refusal with the reason it names.
TEST(front, LabelTypesByEveryNameTheToolsTake) {
    std::pair<char const*, label_t> const names[] = {
        {"P", LABEL_PAL},         {"nd", LABEL_NTSC_DROP},      {"F35_4", LABEL_KEYCODE_35_4},
        {"pal_label", LABEL_PAL}, {"29.97df", LABEL_NTSC_DROP}, {"30000/1001", LABEL_NTSC},
        {"24", LABEL_TC_24},      {"#0", LABEL_NONE},           {"#41", label_t(41)}};
    for (auto [text, type] : names) {
        auto const r = front::find_label_type(text);
        EXPECT_TRUE(r.why == reason::none && r.value == type) << text;
    }
    // A number is a decimal in the range of a double, then any text.
    for (auto const& [why, texts] :
         {std::pair{reason::bad_catalogue_number, std::vector<char const*>{"#42", "#-1", "#3x"}},
          {reason::rate_without_converter, {"59.94df"}},
          {reason::not_a_rate,
           {"29", "-.5e+", "3e-324x", "1.7976931348623157e308", "0e999999999999", "-InFinity"}},
          {reason::unknown_label_type,
           {"1.797693134862315808e308", "2e-324", "+1", ".e1", "P ", "", "prefix_label_", "#"}}}) {
        for (char const* text : texts) {
            auto const r = front::find_label_type(text);
            EXPECT_TRUE(r.why == why && r.value == LABEL_NONE) << text;
        }
    }
    EXPECT_EQ(front::find_label_type(std::string("P\0", 2)).why, reason::unknown_label_type);
    // The catalogue's types without a converter of their own.
    for (int t = 0; t < label_type_count; ++t) {
        bool const borrowed = t <= 2 || t == 4 || t == 9 || t == 13 || t == 17;
        auto const named    = front::find_converter_type("#" + std::to_string(t));
        EXPECT_TRUE(named.why == (borrowed ? reason::no_converter : reason::none)) << t;
    }
}

TEST(front, HostRatesByNameOrNumber) {
    for (auto [text, host, drop] : {std::tuple{"29.97df", Tov::FrameRate_29_97, true},
                                    {"23.976", Tov::FrameRate_23_976, false},
                                    {"#31", Tov::FrameRate_Project24, false},
                                    {"#34", Tov::FrameRate_Project48, false},
                                    {"#1", Tov::FrameRate_24, false},
                                    {"#10", Tov::FrameRate_59_94, false}}) {
        auto const r = front::find_host_rate(text);
        EXPECT_TRUE(r && r.value.rate == host && r.value.drop == drop) << text;
    }
    for (char const* bad : {"#0", "#11", "#30", "#35", "#5x", "#", "#-1", "#+5", "23.98", "29.79",
                            "", "#99999999999"}) {
        auto const r = front::find_host_rate(bad);
        EXPECT_TRUE(r.why == reason::unknown_rate && r.value.rate == Tov::FrameRate_None &&
                    !r.value.drop)
            << bad;
    }
    for (long long n : {-1LL, 0LL, 11LL, 30LL, 35LL, 256LL, 1LL << 40})
        EXPECT_FALSE(front::is_host_rate(n)) << n;
}

TEST(front, TransfersMediaAndCadencesByName) {
    for (auto [text, want] : {std::pair{"none", 0}, {"frame", 3}, {"pulldown", 7}, {"99", 99}})
        EXPECT_EQ(front::find_transfer(text).value, want) << text;
    for (char const* bad : {"", "100", "-1", "+1", "Frame", "7x", " 7", "99999999999"}) {
        auto const r = front::find_transfer(bad);
        EXPECT_TRUE(r.why == reason::unknown_transfer && r.value == 0) << bad;
    }
    EXPECT_EQ(front::transfer_numbered(front::max_transfer_number).value, 99);
    EXPECT_FALSE(front::transfer_numbered(front::max_transfer_number + 1));
    EXPECT_FALSE(front::transfer_numbered(-1));
    EXPECT_EQ(front::find_method("realtime"), smpte::method::realtime);
    EXPECT_EQ(front::find_method("frame"), smpte::method::frame);
    EXPECT_EQ(front::find_method("pulldown"), smpte::method::pulldown);
    for (char const* bad : {"", "Frame", "pulldown ", "real"})
        EXPECT_FALSE(front::find_method(bad));
    EXPECT_EQ(front::find_medium("film").value, MediumRollFilm);
    EXPECT_EQ(front::find_medium("30i").value, MediumRoll30i);
    for (std::string bad : {std::string("30i\0", 4), std::string("nonesuch"), std::string()})
        EXPECT_EQ(front::find_medium(bad).why, reason::unknown_medium);
    EXPECT_TRUE(front::find_cadence("24:30i"));
    EXPECT_EQ(front::find_cadence("24:29i").why, reason::unknown_cadence);
}

// The name reader's test for a number without std::from_chars answers as
// from_chars does: a number of its grammar at the start, in a double's range.
TEST(front, NumbersByGrammarAsFromCharsReadsThem) {
    std::string const big(400, '9'), small = "0." + std::string(330, '0') + "1";
    std::vector<std::pair<std::string, bool>> rows = {
        {"29.97df", true}, {"-0.5x", true},     {".5", true},       {"5.", true},  {"1e+5", true},
        {"1e", true},      {"inf", true},       {"-NaN", true},     {"+1", false}, {" 1", false},
        {"", false},       {"-", false},        {".", false},       {"e5", false}, {"in", false},
        {"1e309", false},  {"2.4e-324", false}, {"2.5e-324", true}, {big, false},  {small, false}};
    rows.insert(rows.end(), {{"1.7976931348623157e308", true},
                             {"1.7976931348623159e308", false},
                             {"4.9406564584124654e-324", true},
                             {"0e999999999999", true},
                             {big.substr(0, 308), true},
                             {"1e-99999999999", false},
                             {"1e99999999999", false}});
    for (auto const& [text, numeric] : rows)
        EXPECT_EQ(looks_numeric_by_grammar(text), numeric) << text;
#if defined(__cpp_lib_to_chars)
    // Random texts of the grammar's characters, against from_chars itself.
    std::mt19937 random(2261);
    char const alphabet[] = "0123456789012345.-+eEinfaN x";
    for (int k = 0; k < 200000; ++k) {
        std::string text(random() % 14, ' ');
        for (char& c : text) c = alphabet[random() % (sizeof alphabet - 1)];
        if (random() % 8 == 0) text += "e" + std::to_string(int(random() % 700) - 350);
        double v                 = 0;
        auto const r             = std::from_chars(text.data(), text.data() + text.size(), v);
        bool const by_from_chars = r.ec == std::errc() && r.ptr != text.data();
        ASSERT_EQ(looks_numeric_by_grammar(text), by_from_chars) << text;
    }
#endif
}

// The wording every front end shows, and a text for every reason.
TEST(front, EachReasonHasOneWording) {
    for (auto [why, subject, type, text] : {
             std::tuple{reason::unknown_label_type, "xx", LABEL_NONE, "'xx' is not a label type"},
             {reason::bad_catalogue_number, "#42", LABEL_NONE,
              "'#42': a catalogue number is #0 to #41"},
             {reason::rate_without_converter, "59.94df", LABEL_NONE,
              "'59.94df': 59.94 drop-frame timecode has no label converter"},
             {reason::not_a_rate, "29", LABEL_NONE,
              "'29' is not a frame rate (23.976 24 25 29.97 29.97df 30 47.952 48 50 59.94 "
              "59.94df 60)"},
             {reason::no_converter, "", LABEL_KEYCODE,
              "label type #9 (keycode_label) has no converter of its own"},
             {reason::unreadable, "", LABEL_PAL, "does not read as a label of type pal_label"},
             {reason::fields_not_timecode, "", LABEL_FOOT_35,
              "timecode fields apply to timecode types, not foot_35_label"},
             {reason::no_memory, "", LABEL_NONE, "no memory for a converter"},
             {reason::length_not_whole_frames, "641", LABEL_KEYCODE_35,
              "length 641 is not a whole number of frames of keycode_35_label (4 samples a "
              "frame), which the keep string stores"},
             {reason::sync_keycode, "frames 16 is not below 16", LABEL_KEYCODE_35,
              "the sync point's keycode is not a label of type keycode_35_label: frames 16 is "
              "not below 16"},
             {reason::sync_film_timecode, "field out of range", LABEL_NONE,
              "the sync point's film timecode is invalid: field out of range"},
             {reason::outside_roll, "", LABEL_KEYCODE_35,
              "the film frame lies outside the sync point's roll"},
             {reason::no_film_pull, "50", LABEL_NONE,
              "no film pull at 50: 29.97 and 30 pull 2:3, 59.94 and 60 2:3 frame by frame, 25 "
              "the 24:25 cadence, 23.976 and 24 one film frame a video frame"},
             {reason::no_gauge_count, "footage", LABEL_KEYCODE_655_80,
              "keycode_655_80_label has no footage type of its gauge"},
             {reason::count_out_of_range, "", LABEL_KEYCODE_35,
              "the footage or ink number lies outside the 32-bit count"},
             {reason::negative_length, "-64", LABEL_NONE, "length -64 is negative"},
             {reason::start_not_on_frame, "1", LABEL_KEYCODE_35,
              "start 1 lies inside a frame of keycode_35_label (4 samples a frame), and its label "
              "names the frame only"},
             {reason::prefix_needed, "", LABEL_KEYCODE_35,
              "labels of type keycode_35_label need the roll's prefix: the keep string would "
              "store another roll's, or the placeholder"},
             {reason::malformed_prefix, "expected 2 letters, 6 digits", LABEL_KEYCODE_35,
              "not a prefix of type keycode_35_label: expected 2 letters, 6 digits"},
             {reason::not_keycode_stock, "", LABEL_PAL, "pal_label is not a keycode type"},
             {reason::not_a_sync_point, "KEYCODE=TC", LABEL_NONE, "a sync point is KEYCODE=TC"},
             {reason::not_a_sync_point, "", LABEL_NONE,
              "not a sync point: '=' joins its two sides"},
         })
        EXPECT_EQ(front::describe(why, subject, type), text);
    for (int r = 0; r < front::reason_count; ++r)
        EXPECT_STRNE(front::reason_text(static_cast<reason>(r)), "unknown reason") << r;
    EXPECT_STREQ(front::reason_text(static_cast<reason>(front::reason_count)), "unknown reason");
}

// A timecode as people paste it: the blanks around it go, the reading
// stays strict.
TEST(front, TimecodesReadWithTheBlanksAroundThem) {
    smpte::rate const df = smpte::parse_rate("29.97df").value;
    using smpte::error;
    for (auto [text, frames, why] : {std::tuple{"\t00:01:00;02 \r\n", 1800, error::none},
                                     {" \t", 0, error::empty},
                                     {"01: 00:00;00", 0, error::syntax}}) {
        auto const r = front::read_timecode(text, df);
        EXPECT_TRUE(r.why == why && (!r || r.value.frames() == frames)) << text;
    }
}

// A refused translation says why in users' words, and the host's sink
// still gets the library's own text.
TEST(front, RefusedTranslationsSayWhy) {
    test_support::captured_messages c;
    Tov::ProjectSettings video;
    video.frame_rate = video.output_rate = Tov::FrameRate_30;
    Tov::ScopedProject const scope(video);
    MPosn_Xlate_Params p;
    std::string why;
    EXPECT_FALSE(front::translate(1.0, MediumRollFilm, MediumRoll25p, p, false, &why));
    EXPECT_EQ(why, "this project does not take film to that video medium");
    p.video_medium = MediumRoll25i;
    EXPECT_FALSE(front::translate(1.0, MediumRollFilm, MediumRollTOVCel, p, false, &why));
    EXPECT_EQ(why, "the video medium is of another television standard than the project's");
    EXPECT_FALSE(front::translate(1e99, MediumRollFilm, MediumRollAudio, p, false, &why));
    EXPECT_EQ(why, "the position is no valid position");
    EXPECT_NE(c.text.find("cookie<invalid>"), c.text.npos);
    why = "untouched";
    EXPECT_TRUE(front::translate(1.0, MediumRollFilm, MediumRollAudio, p, false, &why));
    EXPECT_EQ(why, "untouched");
    // The phrase that comes first wins; text of no known phrase, a general reason.
    EXPECT_EQ(front::translation_refusal("x - un-handled medium type\ny invalid MediumPosn\n"),
              "the translation does not handle that medium");
    EXPECT_EQ(front::translation_refusal("position 3 outside the translation's range"),
              "the position is outside the range of translations");
    EXPECT_EQ(front::translation_refusal(""), "the library refused it");
}

// Echoed input: escaped so it shows as given, and cut so it stays a line.
TEST(front, EchoedTextIsShownSafely) {
    std::string const long_line(2'000'000, 'x');
    std::string const cut = std::string(front::shown_length, 'x') + "...";
    std::pair<std::string, std::string> const rows[] = {
        {"a\rb\n\t\x1b[2J\x7f", "a\\rb\\n\\t\\x1b[2J\\x7f"},
        {"\xef\xbb\xbf"
         "25",
         "\\ufeff25"},
        {"\xff\xfe"
         "25\xc3",
         "\\xff\\xfe25\\xc3"},
        {"\xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80",
         "\\xc0\\xaf \\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\x9e \xc2\x85 back\\slash",
         "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\x9e \\u0085 back\\\\slash"},
        {std::string(1, '\0'), "\\x00"},
        // The ends of each sequence length: U+0800, U+FFFD, U+10000, U+10FFFF,
        // U+0080 (a C1 control), and an overlong three-byte form.
        {"\xe0\xa0\x80 \xef\xbf\xbd \xf0\x90\x80\x80 \xf4\x8f\xbf\xbf",
         "\xe0\xa0\x80 \xef\xbf\xbd \xf0\x90\x80\x80 \xf4\x8f\xbf\xbf"},
        {"\xc2\x80\xe0\x80\xaf", "\\u0080\\xe0\\x80\\xaf"},
        // The surrogates' ends, and the code points just outside them.
        {"\xed\xa0\x80\xed\xbf\xbf", "\\xed\\xa0\\x80\\xed\\xbf\\xbf"},
        {"\xed\x9f\xbf\xee\x80\x80", "\xed\x9f\xbf\xee\x80\x80"},
        // The last two-byte form, the first printable after the C1 controls,
        // the last C1 control, the overlong form of U+07FF.
        {"\xdf\xbf \xc2\xa0 \xc2\x9f", "\xdf\xbf \xc2\xa0 \\u009f"},
        {"\xe0\x9f\xbf", "\\xe0\\x9f\\xbf"},
        {long_line, cut},
        {std::string(front::shown_length, 'x'), std::string(front::shown_length, 'x')},
        {std::string(front::shown_length - 1, 'x') + "\xe2\x82\xac\xe2\x82\xac",
         std::string(front::shown_length - 1, 'x') + "\xe2\x82\xac..."}};
    for (auto const& [text, shown] : rows) EXPECT_EQ(front::shown_text(text), shown) << text;
    // A sequence the view cuts short is bytes, whatever follows it in memory.
    EXPECT_EQ(front::shown_text(std::string_view("ab\xe2\x82\xac", 3)), "ab\\xe2");
    EXPECT_EQ(front::describe(reason::unknown_label_type, "\x1b]0;x\x07"),
              "'\\x1b]0;x\\x07' is not a label type");
}

// The clock of a day: additions wrap both ways, an out before its in runs
// across midnight; the signed answers stay on request.
TEST(front, MidnightIsAClock) {
    auto tc = [](char const* text, char const* rate) {
        return smpte::read(text, smpte::parse_rate(rate).value, {true}).value;
    };
    // rate, timecode, frames, on the clock, signed
    std::tuple<char const*, char const*, std::int64_t, char const*, char const*> const adds[] = {
        {"29.97df", "23:59:59;29", 1, "00:00:00;00", "24:00:00;00"},
        {"25", "00:00:02:00", -125, "23:59:57:00", "-00:00:03:00"},
        {"59.94df", "00:00:00;00", -5178816, "00:00:00;00", "-24:00:00;00"},
        {"24", "12:00:00:00", 2073600LL * 1000001, "12:00:00:00", "out of the 32-bit frame range"},
        {"24", "12:00:00:00", INT64_MIN, "15:21:14:16", "out of the 32-bit frame range"},
        {"30", "30:00:00:00", 0, "06:00:00:00", "30:00:00:00"}};
    for (auto [rate, text, frames, wrapped, signed_text] : adds) {
        auto const t = tc(text, rate);
        auto const w = front::add_on_clock(t, frames), s = front::add_on_clock(t, frames, false);
        EXPECT_EQ(smpte::to_string(w.value, false), wrapped)
            << rate << " " << text << " " << frames;
        EXPECT_EQ(s ? smpte::to_string(s.value, false) : smpte::error_text(s.why), signed_text)
            << rate << " " << text << " " << frames;
    }
    // rate, in, out, on the clock, signed
    std::tuple<char const*, char const*, char const*, std::int32_t, std::int32_t> const spans[] = {
        {"29.97df", "23:59:50;00", "00:00:05;00", 450, -2588958},
        {"25", "01:00:00:00", "01:00:00:00", 0, 0},
        {"25", "00:00:00:01", "00:00:00:00", 2159999, -1},
        {"59.94df", "23:59:59;59", "00:00:00;00", 1, -5178815}};
    for (auto [rate, in, out, wrapped, signed_count] : spans) {
        auto const a = tc(in, rate), b = tc(out, rate);
        EXPECT_EQ(front::clock_duration(a, b).value, wrapped) << rate << " " << in;
        EXPECT_EQ(front::clock_duration(a, b, true).value, signed_count) << rate << " " << in;
    }
    auto const mixed = front::clock_duration(tc("00:00:01:00", "25"), tc("00:00:00:00", "24"));
    EXPECT_EQ(mixed.why, smpte::error::rate_mismatch);
    // Counts at no rate have no day to wrap.
    smpte::timecode const five(5, smpte::no_rate), zero(0, smpte::no_rate);
    EXPECT_EQ(front::add_on_clock(five, 1).value.frames(), 6);
    EXPECT_EQ(front::clock_duration(five, zero).value, -5);
}

// Texts and samples both ways, one call and batch alike, the prefix given.
TEST(front, LabelTextsAndSamplesBothWays) {
    for (auto [type, prefix, sample, text] :
         {std::tuple{LABEL_PAL, "", 93079, " 01:02:03.04"},
          {LABEL_KEYCODE_35, "AB123456", 79036, "AB1234561234+15"},
          {LABEL_FOOT_35, "", -64, "-0001.00"},
          {LABEL_FILM_FRAMES, "", 12345, "012345"}}) {
        EXPECT_EQ(front::label_text(type, sample, prefix).value, text);
        auto const back = front::label_sample(type, text, prefix);
        EXPECT_TRUE(back && back.value == sample) << text;
        auto labels = front::labeller::make(type);
        ASSERT_TRUE(labels);
        labels.value.set_prefix(prefix);
        EXPECT_STREQ(labels.value.text(sample), text);
    }
    auto labels = front::labeller::make(LABEL_PAL, TC_ALL_FIELDS, front::reading::lax);
    ASSERT_TRUE(labels);
    for (std::string bad : {std::string(" 01:00:00.00\0x", 14), std::string("x"), std::string()})
        EXPECT_EQ(labels.value.sample(bad).why, reason::unreadable);
    EXPECT_EQ(labels.value.sample(static_cast<char const*>(nullptr)).why, reason::unreadable);
    // Longer than the stack copy, and as a view: blanks after the label read.
    std::string const padded = " 01:00:00.00" + std::string(100, ' ');
    EXPECT_EQ(labels.value.sample(std::string_view(padded)).value, 90000);
    EXPECT_EQ(labels.value.normalise(-25), 2160000 - 25);
    EXPECT_EQ(labels.value.plain_sample("01020304").value, 93079);
    EXPECT_EQ(labels.value.packed_sample("abc").why, reason::unreadable);
    EXPECT_EQ(labels.value.span(10, 5), 2160000 - 5);
}

// Texts as people write them: the sample each names, or the field and why
// it is none. The lax column is what the converter alone makes of the text.
TEST(front, StrictReadingNamesTheFieldAndWhy) {
    constexpr long32 refused = INVALID_SAMPLE;
    for (auto [type, text, sample, why, lax] : {
             std::tuple{LABEL_PAL, " 10:00:00.24", 900024, "", 900024},
             {LABEL_PAL, "-00:00:00.01", -1, "", -1},
             {LABEL_PAL, "10:00:00:99", refused, "frames 99 is not below 25", 900099},
             {LABEL_PAL, "25:00:00:00", refused, "hours 25 is not 0-23", 2250000},
             {LABEL_PAL, "10:60:00:00", refused, "minutes 60 is not 0-59", 990000},
             {LABEL_PAL, "10:00:60:00", refused, "seconds 60 is not 0-59", 901500},
             {LABEL_PAL, "10:00:00;00", refused,
              "';' marks drop-frame, which pal_label does not count", 900000},
             {LABEL_PAL, "10:00:00", refused, "expected HH:MM:SS.FF, two digits a field", refused},
             {LABEL_PAL, "10:00:00:00x", refused, "text after the frames", 900000},
             {LABEL_PAL, "23:59:59:25", refused, "frames 25 is not below 25", 2160000},
             {LABEL_PAL, "23:59:59:24", 2159999, "", 2159999},
             {LABEL_PAL, " \t", refused, "no text", refused},
             {LABEL_NTSC_DROP, "00:00:00;30", refused, "frames 30 is not below 30", 30},
             {LABEL_NTSC, "00:00:01.29", 59, "", 59},
             {LABEL_NTSC_DROP, "01:01:00;00", refused,
              "dropped label (drop-frame counting skips it)", 109690},
             {LABEL_NTSC_DROP, "01:01:00.02", 109692, "", 109692},
             {LABEL_TC_24, "00:00:01+23", 47, "", 47},
             {LABEL_TC_60, "00:00:00.59", 59, "", 59},
             {LABEL_FOOT_35, "12+03", 780, "", 780},
             {LABEL_FOOT_35, "0012.15", 828, "", 828},
             {LABEL_FOOT_35, "01234.00", 78976, "", 78976},
             {LABEL_FOOT_35, "-0000.00", 0, "", 0},
             {LABEL_FILM_FRAMES, "-000000", 0, "", 0},
             {LABEL_FOOT_35, "0012.20", refused, "frames 20 is not below 16", 848},
             {LABEL_FOOT_35, "abc", refused, "expected digits of feet, '+' or '.', 2 digits", 0},
             {LABEL_FOOT_16, "1.39", 79, "", 79},
             {LABEL_FOOT_353, " 0000+01.3", 1, "", 1},
             {LABEL_FOOT_353, "-0000+00.1", 0, "", 0},  // the phase digit is no count
             {LABEL_FOOT_353, "0000+01.4", refused, "3-perf phase 4 is not 1-3", 0},
             {LABEL_FOOT_353, "0000+01.0", refused, "3-perf phase 0 is not 1-3", 4},
             {LABEL_FOOT_353, "0000+01.", refused,
              "expected digits of feet, '+' or '.', 2 digits, '.', 1 digit", 4},
             {LABEL_FOOT_353, "-0000+01.3", -1, "", -1},
             {LABEL_FOOT_35, "-0000.01", -4, "", -4},
             {LABEL_FILM_FRAMES, "-1", -1, "", -1},
             {LABEL_FILM_FRAMES, "-", refused, "expected digits", refused},
             {LABEL_FILM_FRAMES, "2147483648", refused, "beyond the type's labels", refused},
             {LABEL_FOOT_353, "0000+01.12", refused,
              "expected digits of feet, '+' or '.', 2 digits, '.', 1 digit", 2},
             {LABEL_FOOT_353, "0000+01", refused,
              "expected digits of feet, '+' or '.', 2 digits, '.', 1 digit", 3},
             {LABEL_FILM_FRAMES, "1234567", 1234567, "", 1234567},
             {LABEL_FILM_FRAMES, "12a", refused, "expected digits", 12},
             {LABEL_FILM_FRAMES, "2147483647", INT32_MAX, "", INT32_MAX},
             {LABEL_FILM_FRAMES, "02147483647", refused, "expected digits", INT32_MAX},
             {LABEL_FOOT_353, "32896+19.1", 2105401, "", 2105401},
             {LABEL_KEYCODE_35, "KU 22 9012 1234+00", 78976, "", refused},
             {LABEL_KEYCODE_35, "kz229012 1234+00", 78976, "", refused},
             {LABEL_KEYCODE_35, "KX654321-0070+00", 4480, "", refused},
             {LABEL_KEYCODE_35, "KU2290121234+16", refused, "frames 16 is not below 16", refused},
             {LABEL_KEYCODE_35, "KU2290121234+1", refused,
              "expected 2 letters, 6 digits, 4 digits, '+', 2 digits", 78980},
             {LABEL_KEYCODE_35, "KU2290121234+015", refused,
              "expected 2 letters, 6 digits, 4 digits, '+', 2 digits", refused},
             {LABEL_KEYCODE_35_5, "KU22901 21234+00", 21234 * 64, "", refused},
             {LABEL_KEYCODE_16, "KU2290120001&19", 39, "", 39},
             {LABEL_KEYCODE_16, "KU2290120001+19", 39, "", 39},
             {LABEL_KEYCODE_16, "KU2290120001&1", refused,
              "expected 2 letters, 6 digits, 4 digits, '+' or '&', 2 digits", 21},
             {LABEL_KEYCODE_35, "KX654321- 0070+00", refused,
              "expected 2 letters, 6 digits, 4 digits, '+', 2 digits", refused},
             {LABEL_KEYCODE_353, "KU2290121234+01.0", refused, "3-perf phase 0 is not 1-3", 78980},
             {LABEL_KEYCODE_353, "KU2290121234+99.1", refused, "frames 99 is not below 22",
              refused},
             {LABEL_KEYCODE_353, "KU2290121233+21.1", refused,
              "no such label (the position it names prints as 'KU2290121234+00.2')", 78975},
             {LABEL_INK_35, "ab12-0001+00", 64, "", 64},
             {LABEL_INK_16, "AB12 0001&19", 39, "", 39},
             {LABEL_INK_16, "AB12 0001&1", refused,
              "expected 4 letters or digits, 4 digits, '+' or '&', 2 digits", 0},
             {LABEL_INK_35, "AB12 0001&00", refused,
              "expected 4 letters or digits, 4 digits, '+', 2 digits", 64},
         }) {
        auto strict = front::labeller::make(type);
        auto loose  = front::labeller::make(type, TC_ALL_FIELDS, front::reading::lax);
        ASSERT_TRUE(strict && loose);
        auto const read = strict.value.sample(text);
        EXPECT_EQ(read.value, sample) << text;
        EXPECT_EQ(read.why, sample == refused ? reason::malformed_label : reason::none) << text;
        EXPECT_EQ(strict.value.refusal(), why) << text;
        EXPECT_EQ(loose.value.sample(text).value, lax) << text;
    }
    // Typed prefixes, and the packed form of the spans.
    auto keycode = front::labeller::make(LABEL_KEYCODE_35);
    ASSERT_TRUE(keycode);
    EXPECT_TRUE(keycode.value.set_typed_prefix(" KJ 12 3456 "));
    EXPECT_STREQ(keycode.value.text(0), "KJ1234560000+00");
    EXPECT_EQ(keycode.value.set_typed_prefix("KJ 12 34").why, reason::malformed_prefix);
    EXPECT_EQ(keycode.value.refusal(), "expected 2 letters, 6 digits");
    EXPECT_STREQ(keycode.value.text(0), "KJ1234560000+00");
    for (auto [type, text, why] : {std::tuple{LABEL_KEYCODE_35, "KU2290123", "2 letters, 6 digits"},
                                   {LABEL_INK_35, "AB123", "4 letters or digits"},
                                   {LABEL_INK_35, "A-12", "4 letters or digits"}})
        EXPECT_EQ(front::normalise_prefix(type, text).why, std::string("expected ") + why) << text;
    EXPECT_EQ(front::normalise_label(LABEL_PAL, "10:00:00:24").text, " 10:00:00.24");
    EXPECT_EQ(front::normalise_label(LABEL_NTSC_DROP, "01:00:00:00").text, " 01:00:00;00");
    for (char const* digit_for_letter : {"1U 22 9012", "K1 22 9012", "K` 22 9012", "K[ 22 9012"})
        EXPECT_FALSE(front::normalise_prefix(LABEL_KEYCODE_35, digit_for_letter).ok());
    EXPECT_FALSE(front::normalise_prefix(LABEL_PAL, "").ok());
    for (label_t const outside : {static_cast<label_t>(-1), static_cast<label_t>(label_type_count)})
        EXPECT_EQ(front::normalise_label(outside, "01").why,
                  "#" + std::to_string(outside) + " prints no labels to read");
    EXPECT_EQ(front::normalise_prefix(static_cast<label_t>(99), "AB").why,
              "#99 labels have no prefix");
    // Types whose slot holds the dummy converter read nothing either.
    for (int const dummy : {0, 9}) {
        auto const t = static_cast<label_t>(dummy);
        EXPECT_NE(front::normalise_label(t, "0000+00").why.find("prints no labels"),
                  std::string::npos);
        EXPECT_NE(front::normalise_prefix(t, "AB").why.find("have no prefix"), std::string::npos);
    }
    auto pal = front::labeller::make(LABEL_PAL);
    ASSERT_TRUE(pal);
    EXPECT_EQ(pal.value.plain_sample("01000024").value, 90024);
    EXPECT_EQ(pal.value.plain_sample("01000099").why, reason::malformed_label);
    EXPECT_EQ(pal.value.packed_sample("01000099").why, reason::malformed_label);
    EXPECT_EQ(pal.value.refusal(), "frames 99 is not below 25");
    EXPECT_EQ(pal.value.packed_sample("0100").why, reason::malformed_label);
    EXPECT_EQ(pal.value.refusal(), "expected 8 digits, HHMMSSFF");
    EXPECT_EQ(pal.value.sample(std::string("10:00:00:00\0", 12)).why, reason::malformed_label);
    EXPECT_EQ(pal.value.refusal(), "a NUL inside the text");
    auto lax_pal = front::labeller::make(LABEL_PAL, TC_ALL_FIELDS, front::reading::lax);
    ASSERT_TRUE(lax_pal);
    EXPECT_EQ(lax_pal.value.sample(std::string_view(" 01:00:00.00\0x", 14)).why,
              reason::unreadable);
    EXPECT_EQ(pal.value.plain_sample("0100").why, reason::malformed_label);  // not packed
    EXPECT_EQ(front::label_text(LABEL_PAL, 0, "KU").why, reason::malformed_prefix);
    // A span's start, as typed: the prefix goes with it; a refusal leaves it.
    label nd(LABEL_NTSC_DROP);
    nd.set_start(5);
    std::string why;
    EXPECT_EQ(front::set_start_text(nd, "01:01:00;00", front::reading::strict, &why).why,
              reason::malformed_label);
    EXPECT_EQ(why, "dropped label (drop-frame counting skips it)");
    EXPECT_EQ(nd.get_start(), 5);
    EXPECT_TRUE(front::set_start_text(nd, "01:01:00;00", front::reading::lax));
    EXPECT_EQ(nd.get_start(), 109690);
    label key(LABEL_KEYCODE_35);
    EXPECT_TRUE(front::set_start_text(key, "KU 22 9012 1234+00"));
    EXPECT_EQ(key.get_start(), 78976);
    EXPECT_STREQ(key.start.prefix_text, "KU2290121234");  // the roll and the count
}

TEST(front, StartPrefixesAKeepStringReadsBack) {
    label l(LABEL_KEYCODE_35);
    EXPECT_TRUE(front::set_start_prefix(l, "AB123456").value);
    EXPECT_STREQ(l.start.prefix_text, "AB123456");
    for (char const* bad : {"AB 12", "AB:12", "\tAB"}) {
        EXPECT_EQ(front::set_start_prefix(l, bad).why, reason::prefix_not_kept) << bad;
        EXPECT_STREQ(l.start.prefix_text, "AB123456");
    }
    EXPECT_TRUE(front::set_start_prefix(l, std::string(30, 'K')));
    EXPECT_EQ(std::string(l.start.prefix_text), std::string(label_point::prefix_capacity, 'K'));
}

TEST(front, LabellerRefusesWhatNoConverterServes) {
    EXPECT_EQ(front::labeller::make(LABEL_KEYCODE).why, reason::no_converter);
    EXPECT_EQ(front::labeller::make(static_cast<label_t>(42)).why, reason::no_converter);
    EXPECT_EQ(front::labeller::make(LABEL_FOOT_35, TC_HOURS).why, reason::fields_not_timecode);
    EXPECT_EQ(front::label_text(LABEL_NONE, 0).why, reason::no_converter);
    EXPECT_EQ(front::label_sample(LABEL_INK, "1").why, reason::no_converter);
    // A moved labeller takes its own converter along and leaves the
    // placeholder behind.
    front::labeller moved;
    {
        auto fields = front::labeller::make(LABEL_PAL, TC_SECONDS | TC_FRAMES);
        ASSERT_TRUE(fields);
        EXPECT_STREQ(fields.value.text(79), " 03.04");
        moved = std::move(fields.value);
        EXPECT_EQ(fields.value.type(), front::labeller().type());
    }
    EXPECT_STREQ(moved.text(79), " 03.04");
}

// Packed SMPTE words of a day's first twenty minutes, and labels across the
// whole day, read back to their samples at drop-frame: every digit of every
// field.
TEST(front, SmpteWordsReadBack) {
    auto nd = front::labeller::make(LABEL_NTSC_DROP);
    ASSERT_TRUE(nd);
    for (auto [end, step] : {std::pair{2 * 17982, 7}, {2589408, 997}}) {
        for (long32 s = 0; s < end; s += step) {
            auto const read = nd.value.read_smpte_word(nd.value.smpte_word(s));
            ASSERT_TRUE(read.sample == s && read.drop) << s;
        }
    }
}

TEST(front, RelabellerKeepsOrGivesThePrefix) {
    auto keep = front::relabeller::make(LABEL_KEYCODE_35, LABEL_FOOT_35);
    ASSERT_TRUE(keep);
    EXPECT_STREQ(keep.value("AB1234561234+15").value, " 1234.15");
    EXPECT_EQ(keep.value("AB123456__34+05x").why, reason::malformed_label);
    EXPECT_EQ(keep.value.from().refusal(), "expected 2 letters, 6 digits, 4 digits, '+', 2 digits");
    auto same = front::relabeller::make(LABEL_KEYCODE_35, LABEL_KEYCODE_35_4);
    ASSERT_TRUE(same);
    EXPECT_STREQ(same.value("XY9876541234+15").value, "XY9876541234+15");
    EXPECT_EQ(front::relabeller::make(LABEL_KEYCODE_35, LABEL_INK_35).why,
              reason::prefix_lengths_differ);
    EXPECT_EQ(front::relabeller::make(LABEL_KEYCODE_35, LABEL_INK_35, "AB1").why,
              reason::prefix_too_short);
    auto given = front::relabeller::make(LABEL_KEYCODE_35, LABEL_INK_35, "AB12");
    ASSERT_TRUE(given);
    EXPECT_STREQ(given.value("AB1234561234+15").value, "AB121234+15");
    EXPECT_EQ(front::relabeller::make(LABEL_KEYCODE, LABEL_PAL).why, reason::no_converter);
    EXPECT_EQ(front::relabeller::make(LABEL_PAL, LABEL_INK).why, reason::no_converter);
}

}  // namespace
