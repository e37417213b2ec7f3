#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "marlix/edl/document.h"

namespace marlix::edl {
namespace {

using smpte::rate_25;
using smpte::rate_29_97;
using smpte::rate_29_97_df;

// An edit of a second on reel AX, that many lists start from.
std::string const a_second = "001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n";

// The finding kinds of a list, in line order, with their lines.
std::string findings_of(document const& doc) {
    std::string out;
    for (finding const& f : doc.findings)
        out += std::string(out.empty() ? "" : " ") + finding_name(f.kind) + "@" +
               std::to_string(f.line);
    return out;
}

TEST(edl_read, FcmLinesAloneDecideDropFrame) {
    struct {
        char const* list;
        smpte::rate r;
        std::int32_t record_in;
        char const* findings;
    } const cases[] = {
        // 01:49:40 counted with drop-frame, whatever the separators say.
        {"FCM: DROP FRAME\n001 AX V C 01:49:40.00 01:49:40,01 01:49:40;00 01:49:40:01\n",
         rate_29_97, 197202, ""},
        {"FCM: NON-DROP FRAME\n001 AX V C 01:49:40;00 01:49:40;01 01:49:40;00 01:49:40;01\n",
         rate_29_97_df, 197400, ""},
        // Without an FCM: line the rate asked for decides.
        {"001 AX V C 01:49:40:00 01:49:40:01 01:49:40:00 01:49:40:01\n", rate_29_97_df, 197202, ""},
        {"FCM: DROP FRAME\n001 AX V C 01:00:00:00 01:00:00:01 01:00:00:00 01:00:00:01\n", rate_25,
         90000, "drop_frame_at_rate@1"},
        {"FCM: DROP FRAME\n001 AX V C 00:01:00:00 00:01:00:01 00:01:00:00 00:01:00:01\n",
         rate_29_97, -1, "bad_timecode@2"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.list);
        document const doc = edl::read(c.list, c.r);
        EXPECT_EQ(findings_of(doc), c.findings);
        if (c.record_in < 0) continue;
        ASSERT_EQ(doc.edits.size(), 1u);
        EXPECT_EQ(doc.edits[0].record_in.frames(), c.record_in);
    }
}

TEST(edl_read, FieldsByColumnOrByBlanks) {
    struct {
        char const* line;
        char const* reel;
        char const* channels;  // as written back
        char const* transition;
        std::int32_t frames;
        layout reels;
    } const cases[] = {
        {"001  AX       AA/V  D    010 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00", "AX",
         "AA/V", "D", 10, layout::cmx_3600},
        {"001  R1.2_A   A2/V  W001 010 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00", "R1.2_A",
         "A2/V", "W001", 10, layout::cmx_3600},
        {"001  BL       B     K B  000 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00", "BL", "B",
         "K B", 0, layout::cmx_3600},
        {"1234 A001_C002_0101AB A99 KO 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00",
         "A001_C002_0101AB", "A99", "K O", 0, layout::file_16},
        {"001\tBARS\tNONE\tK\t(F)\t005\t01:00:00:00\t01:00:01:00\t01:00:00:00\t01:00:01:00", "BARS",
         "NONE", "K (F)", 5, layout::cmx_3600},
        {"123456  A_REEL_NAME_OF_TWENTY_SIX AA KB 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00",
         "A_REEL_NAME_OF_TWENTY_SIX", "AA", "K B", 0, layout::file_32},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.line);
        document const doc = edl::read(c.line, rate_25);
        EXPECT_EQ(findings_of(doc), "");
        ASSERT_EQ(doc.edits.size(), 1u);
        edit const& e = doc.edits[0];
        EXPECT_EQ(doc.text(e.reel), c.reel);
        EXPECT_EQ(channel_text(e.channels), c.channels);
        EXPECT_EQ(transition_text(e.how), c.transition);
        EXPECT_EQ(e.how.frames, c.frames);
        EXPECT_EQ(doc.reels, c.reels);
    }
}

// A channel set holds video and audio channels 1 to 99, and nothing else.
TEST(edl_read, ChannelSetsHoldChannelsOneTo99) {
    channel_set c;
    for (int n : {-1, 0, 100, 1000}) c.add_audio(n);
    EXPECT_TRUE(c.empty());
    for (int n : {1, 64, 65, 99}) c.add_audio(n);
    EXPECT_EQ(c.audio_low, (std::uint64_t{1} << 63) | 1u);
    EXPECT_EQ(c.audio_high, (std::uint64_t{1} << 34) | 1u);
    for (int n = -1; n <= 101; ++n)
        EXPECT_EQ(c.audio(n), n == 1 || n == 64 || n == 65 || n == 99) << n;
    // Written back: A, B, AA and AA/V for their sets, else the highest
    // channel above 2, or A2.
    std::tuple<char const*, bool, char const*> const sets[] = {
        {"", false, "NONE"},   {"", true, "V"},       {"1", false, "A"},        {"1", true, "B"},
        {"1 2", true, "AA/V"}, {"1 2", false, "AA"},  {"2", false, "A2"},       {"2", true, "A2/V"},
        {"1 3", false, "A3"},  {"2 4", true, "A4/V"}, {"2 99 7", false, "A99"},
    };
    for (auto const& [audio, video, text] : sets) {
        channel_set set;
        set.video = video;
        std::istringstream channels(audio);
        for (int n = 0; channels >> n;) set.add_audio(n);
        EXPECT_EQ(channel_text(set), text) << audio << (video ? " and video" : "");
    }
}

// SPLIT: and AUD lines belong to the event above them; forms they do not
// take are lines not understood.
TEST(edl_read, SplitAndAudioLinesJoinTheirEvent) {
    struct {
        char const* line;
        char const* findings;
        std::int32_t split;   // frames, negative for video; 0: none
        std::uint64_t added;  // the audio channels the AUD line adds, bit n-1 for channel n
    } const cases[] = {
        {"SPLIT:   AUDIO DELAY= 00:00:00:05", "", 5, 0},
        {"SPLIT:VIDEO DELAY=00:00:01:00", "", -25, 0},
        {"SPLIT: AUDIO DELAY=", "unknown_line@2", 0, 0},
        {"SPLIT: AUDIO DELAY= 00:00:00:05 X", "unknown_line@2", 0, 0},
        {"SPLIT: SOUND DELAY= 00:00:00:05", "unknown_line@2", 0, 0},
        {"AUD 1 2", "", 0, 0b11},
        {"AUD 0", "unknown_line@2", 0, 0},
        {"AUD", "unknown_line@2", 0, 0},
        {"AUD3", "unknown_line@2", 0, 0},  // the word is AUD alone
        {"AUD 100", "unknown_line@2", 0, 0},
        {"* X", "", 0, 0},  // a comment of three characters is no AUD line
    };
    for (auto const& c : cases) {
        std::string const list = a_second + c.line + "\n";
        SCOPED_TRACE(list);
        document const doc = edl::read(list, rate_25);
        EXPECT_EQ(findings_of(doc), c.findings);
        ASSERT_EQ(doc.edits.size(), 1u);
        edit const& e = doc.edits[0];
        EXPECT_EQ(e.has_split, c.split != 0);
        if (e.has_split) {
            EXPECT_EQ(e.split.video ? -e.split.frames : e.split.frames, c.split);
        }
        EXPECT_EQ(e.added.audio_low, c.added);
        EXPECT_EQ(e.added.audio_high, 0u);
    }
}

// One finding each: the list, the finding's kind and line.
TEST(edl_check, FindingsNameTheirLine) {
    std::pair<std::string, char const*> const cases[] = {
        {"001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:00:25\n", "bad_timecode@1"},
        {"001 AX V C 01:00:00:00 01:00:01:00 01:00:01:00 01:00:00:00\n", "record_reversed@1"},
        {"001 AX V C 01x00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n", "bad_timecode@1"},
        {"001 AX V C 01:00:00:00 01:00x01:00 01:00:00:00 01:00:01:00\n", "bad_timecode@1"},
        {"001 AX V C 01:00:00:00 01:00:00:00 01:00:01:00 01:00:01:00\n", "zero_length@1"},
        {"001 AX V C 01:00:00:00 01:00:00:00 01:00:00:00 01:00:00:00\n"
         "001 BX V D 050 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n",
         "transition_too_long@2"},
        {"001 "
         "A23456789A123456789B123456789C123456789D123456789E123456789F123456789G123456789H123456789"
         "I123456789J123456789K123456789L1234567890 V C 01:00:00:00 01:00:01:00 01:00:00:00 "
         "01:00:01:00\n",
         "reel_too_long@1"},
        {"01 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n", "unreadable_event@1"},
        // A dissolve with no outgoing line may not be empty.
        {"001 AX V D 010 01:00:00:00 01:00:00:00 01:00:00:00 01:00:00:00\n", "zero_length@1"},
        {"1234567 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n", "unreadable_event@1"},
        // A reel of two words in its column is no reel.
        {"001  A X      V     C        01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n",
         "unreadable_event@1"},
        {"M2 AX 050.0 01:00:00:00\n", "unreadable_motion@1"},
        {a_second + "002 AX V C 01:00:00:00 01:00:01:00 01:00:00:20 01:00:01:20\n",
         "record_overlap@2"},
        {"001 AX V C 01:00:00:00 01:00:01:00 01:00:01:00 01:00:02:00\n"
         "002 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n",
         "out_of_record_order@2"},
        {a_second + "002 AX V C 01:00:00:00 01:00:01:00 01:00:01:00 01:00:02:00\n"
                    "001 AX A C 01:00:00:00 01:00:01:00 01:00:02:00 01:00:03:00\n",
         "event_reused@3"},
        {"TITLE: X\nOK THEN\n", "unknown_line@2"},  // two letters and a blank are no M2
        {"001 AX A100 C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n",
         "unreadable_event@1"},  // audio channels run to A99
        {"001 AX A01 C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n",
         "unreadable_event@1"},  // without a leading zero
        // The two lines of a key share their record span, in any event.
        {a_second + "002 BX V C 01:00:00:00 01:00:01:00 01:00:01:00 01:00:02:00\n"
                    "002 CX V K B 01:00:00:00 01:00:01:00 01:00:01:00 01:00:02:00\n",
         ""},
        // A dissolve's empty outgoing line takes no place on the timeline.
        {"001 AX V C 01:00:00:00 01:00:02:00 01:00:00:00 01:00:02:00\n"
         "002 AX V C 01:00:01:00 01:00:01:00 01:00:01:00 01:00:01:00\n"
         "002 BX V D 025 01:00:00:00 01:00:01:00 01:00:02:00 01:00:03:00\n",
         ""},
    };
    for (auto const& [list, findings] : cases)
        EXPECT_EQ(findings_of(edl::read(list, rate_25)), findings) << list;
    // A finding outside any event names none.
    auto const stray = edl::read("TITLE: X\nHELLO\n", rate_25);
    ASSERT_EQ(stray.findings.size(), 1u);
    EXPECT_EQ(stray.findings[0].event, -1);
    // Audio channels keep their numbers in what is said of them, past 64 too.
    for (std::string const channel : {"A2", "A99"}) {
        std::string const line = " AX " + channel + " C 01:00:00:00 01:00:01:00 ";
        std::string const list =
            "001" + line + "01:00:00:00 01:00:01:00\n002" + line + "01:00:02:00 01:00:03:00\n";
        auto const doc = edl::read(list, rate_25);
        ASSERT_EQ(doc.findings.size(), 1u);
        EXPECT_NE(edl::describe(doc.findings[0]).find(channel + ": gap"), std::string::npos)
            << edl::describe(doc.findings[0]);
    }
    // A timecode that does not read names its field; a field past the M2
    // entry, as a caller may set it, is a timecode.
    finding bad{.kind = finding_kind::bad_timecode, .rate = rate_25};
    std::pair<std::int32_t, char const*> const fields[] = {{0, "source in at 25"},
                                                           {4, "M2 entry at 25"},
                                                           {5, "timecode at 25"},
                                                           {-1, "timecode at 25"}};
    for (auto const& [which, text] : fields) {
        bad.which = which;
        EXPECT_EQ(edl::describe(bad).rfind(text, 0), 0u) << edl::describe(bad);
    }
}

// Errors stop a list; everything else is a warning. Past the last kind is an
// error with no name.
TEST(edl_check, EachKindIsAnErrorOrAWarning) {
    std::string const errors =
        " unknown_rate bad_timecode record_reversed zero_length length_mismatch speed_mismatch"
        " transition_too_long reel_too_long unreadable_event unreadable_motion drop_frame_at_rate ";
    for (int k = 0; k < finding_kind_count; ++k) {
        auto const kind        = static_cast<finding_kind>(k);
        std::string const name = finding_name(kind);
        bool const error       = errors.find(" " + name + " ") != std::string::npos;
        EXPECT_EQ(severity_of(kind), error ? severity::error : severity::warning) << name;
    }
    auto const past = static_cast<finding_kind>(finding_kind_count);
    EXPECT_EQ(severity_of(past), severity::error);
    EXPECT_STREQ(finding_name(past), "unknown");
}

// The spans motion writers give, and some none gives.
TEST(edl_check, MotionSpansByTheWritersRules) {
    struct {
        char const* speed;
        char const* source_out;  // from 01:00:00:00
        char const* record_out;  // likewise: 48, 480 or 960 frames at 24
        bool accepted;
    } const cases[] = {
        // 47.95..48.05 fps: floor(47 * v / 24) + 1 is 94..95, floor(48 * v / 24) + 1 96..97
        {"048.0", "01:00:04:01", "01:00:02:00", true},    // 97
        {"048.0", "01:00:03:22", "01:00:02:00", true},    // 94
        {"048.0", "01:00:03:21", "01:00:02:00", false},   // 93
        {"048.0", "01:00:04:02", "01:00:02:00", false},   // 98
        {"012.0", "01:00:01:00", "01:00:02:00", true},    // floor(47 / 2) + 1 = 24
        {"012.0", "01:00:02:00", "01:00:02:00", true},    // the record length
        {"-024.0", "01:00:02:00", "01:00:02:00", true},   // reverse at the same speed
        {"023.976", "01:00:01:23", "01:00:02:00", true},  // printed 024.0: floor(47 * 23.95/24) + 1
        // 480 frames at 23.95..24.05: floor(479 * v / 24) + 1 is 479..481, and 480..482
        {"024.0", "01:00:19:23", "01:00:20:00", true},  // 479
        {"024.0", "01:00:19:22", "01:00:20:00", false},
        {"024.0", "01:00:20:02", "01:00:20:00", true},  // 482
        {"024.0", "01:00:20:03", "01:00:20:00", false},
        // 960 frames of a freeze, up to 0.05 fps: one frame to three
        {"000.0", "01:00:00:01", "01:00:40:00", true},
        {"000.0", "01:00:00:03", "01:00:40:00", true},
        {"000.0", "01:00:00:04", "01:00:40:00", false},
        // and at 0.05..0.15 fps: two frames to seven
        {"000.1", "01:00:00:01", "01:00:40:00", false},
        {"000.1", "01:00:00:02", "01:00:40:00", true},
        {"000.1", "01:00:00:07", "01:00:40:00", true},
        {"000.1", "01:00:00:08", "01:00:40:00", false},
    };
    for (auto const& c : cases) {
        std::string const list = std::string("001 AX V C 01:00:00:00 ") + c.source_out +
                                 " 01:00:00:00 " + c.record_out + "\nM2 AX " + c.speed +
                                 " 01:00:00:00\n";
        SCOPED_TRACE(list);
        document const doc = edl::read(list, smpte::rate_24);
        EXPECT_EQ(findings_of(doc), c.accepted ? "" : "speed_mismatch@1");
    }
}

// M2 speeds as people and programs type them, kept in tenths of a frame a
// second, half away from zero.
TEST(edl_read, MotionSpeedsInTenths) {
    struct {
        char const* speed;
        std::int32_t tenths;  // INT32_MIN: refused
    } const cases[] = {
        {"047.95", 480},        {"047.949", 479},     {"-012.35", -124},    {"12", 120},
        {"012.", 120},          {"+5.5", 55},         {"-000.0", 0},        {"9999.9", 99999},
        {"9999.95", INT32_MIN}, {"12345", INT32_MIN}, {"1.2.3", INT32_MIN}, {"-", INT32_MIN},
        {".5", INT32_MIN},      {"0x10", INT32_MIN},
    };
    for (auto const& c : cases) {
        std::string const list = std::string(
                                     "001 AX V C 01:00:00:00 01:00:02:00 01:00:00:00 "
                                     "01:00:02:00\nM2 AX ") +
                                 c.speed + " 01:00:00:00\n";
        SCOPED_TRACE(list);
        document const doc = edl::read(list, smpte::rate_24);
        ASSERT_EQ(doc.edits.size(), 1u);
        if (c.tenths == INT32_MIN) {
            EXPECT_EQ(findings_of(doc), "unreadable_motion@2");
            EXPECT_EQ(doc.findings[0].column, 7u);  // at the speed
            EXPECT_FALSE(doc.edits[0].has_motion);
            continue;
        }
        ASSERT_TRUE(doc.edits[0].has_motion);
        EXPECT_EQ(doc.edits[0].speed.speed_tenths, c.tenths);
    }
    // An M2 line naming no reel of its event explains the event's last line.
    document const other = edl::read(
        "001 AX V C 01:00:00:00 01:00:00:00 01:00:00:00 01:00:00:00\n"
        "001 BX V D 010 01:00:00:00 01:00:04:00 01:00:00:00 01:00:02:00\nM2 ZZ 050.0 01:00:00:00\n",
        rate_25);
    EXPECT_EQ(findings_of(other), "");
    ASSERT_EQ(other.edits.size(), 2u);
    EXPECT_FALSE(other.edits[0].has_motion);
    EXPECT_TRUE(other.edits[1].has_motion);
    EXPECT_EQ(other.edits[1].speed.speed_tenths, 500);
    // What is said of a speed keeps its sign and its tenths.
    document const reverse = edl::read(
        "001 AX V C 01:00:00:00 01:00:09:00 01:00:00:00 01:00:02:00\nM2 AX -012.5 01:00:00:00\n",
        smpte::rate_24);
    ASSERT_EQ(reverse.findings.size(), 1u);
    EXPECT_NE(edl::describe(reverse.findings[0]).find("M2 speed -12.5 "), std::string::npos)
        << edl::describe(reverse.findings[0]);
    // An edit whose motion a caller cleared writes its M2 line as typed.
    document cleared = edl::read(
        "001 AX V C 01:00:00:00 01:00:02:00 01:00:00:00 01:00:01:00\nM2 AX 50 01:00:00:00\n",
        rate_25);
    ASSERT_TRUE(cleared.edits.size() == 1u && cleared.edits[0].has_motion);
    EXPECT_NE(edl::write(cleared).find("M2   AX        050.0 01:00:00:00"), std::string::npos);
    cleared.edits[0].has_motion = false;
    EXPECT_NE(edl::write(cleared).find("\nM2 AX 50 01:00:00:00"), std::string::npos)
        << edl::write(cleared);
}

// Text that is not UTF-8 is read as ISO-8859-1, and said so on the line of
// its first such byte; UTF-8 is taken as it stands (RFC 3629).
TEST(edl_read, TextIsUtf8OrLatin1) {
    auto const check = [](char const* title, char const* findings) {
        // The odd bytes at each offset from the start of an eight-byte word.
        for (std::size_t pad = 0; pad < 9; ++pad) {
            std::string const list = "TITLE: T\n* " + std::string(pad, 'x') + title + "\n";
            EXPECT_EQ(findings_of(edl::read(list, rate_25)), findings) << list;
        }
    };
    // Among them U+0080, U+07FF, U+0800, U+D7FF, U+FFFD, U+10000 and U+10FFFF.
    for (char const* utf8 : {"caf\xC3\xA9", "\xE2\x82\xAC uro", "\xF0\x9F\x8E\xAC clap",
                             "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF", "\xEF\xBF\xBD", "\xC2\x80",
                             "\xDF\xBF", "\xE0\xA0\x80", "\xF0\x90\x80\x80"})
        check(utf8, "");
    // Overlong forms, a surrogate, past U+10FFFF, cut short, a second or later
    // byte that continues nothing, and bytes that stand alone.
    for (char const* latin1 :
         {"\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
          "\xF5\x80\x80\x80", "\xE2\x82", "\xE2\x82\x41", "\xF0\x9F\x8E\x41", "\xF0\x9F\xC0\xAC",
          "\xE2\xC0\xAC", "\xC3\xC3", "\x80", "\xFF"})
        check(latin1, "latin1_text@2");
}

TEST(edl_read, LineEndsBomAndEncodingAllWriteTheSame) {
    std::string const canonical =
        "TITLE: LIST\n"
        "001  AX       V     C        01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n"
        "* FROM CLIP NAME: caf\xC3\xA9\n";
    for (std::string const& input :
         {std::string("\xEF\xBB\xBFTITLE: LIST\r001  AX  V  C  01:00:00:00 "
                      "01:00:01:00 01:00:00:00 01:00:01:00  \r\r* FROM CLIP NAME: caf\xC3\xA9"),
          std::string("TITLE: LIST\n001 AX V C 01:00:00:00 01:00:01:00 "
                      "01:00:00:00 01:00:01:00\n* FROM CLIP NAME: caf\xE9\n"),
          // Marks after blank lines, ahead of the first content.
          std::string(
              "\n \xEF\xBB\xBF\n\xEF\xBB\xBF\xEF\xBB\xBFTITLE: LIST\n001 AX V C 01:00:00:00 "
              "01:00:01:00 01:00:00:00 01:00:01:00\n* FROM CLIP NAME: caf\xC3\xA9\n")}) {
        SCOPED_TRACE(input);
        document const doc = edl::read(input, rate_25);
        EXPECT_EQ(write(doc), canonical);
        EXPECT_EQ(doc.text(doc.edits.at(0).clip), "caf\xC3\xA9");
    }
    // An edit whose lines a caller has dropped writes the lines still there.
    document cut = edl::read(canonical, rate_25);
    cut.lines.pop_back();
    EXPECT_EQ(write(cut), canonical.substr(0, canonical.find('*')));
}

TEST(edl_read, StrictStopsAtTheFirstError) {
    char const list[] =
        "HELLO\n"
        "001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n"
        "002 AX V C 01:00:00:00 01:00:01:xx 01:00:01:00 01:00:02:00\n"
        "003 AX V C 01:00:00:00 01:00:09:00 01:00:01:00 01:00:02:00\n";
    EXPECT_EQ(findings_of(edl::read(list, rate_25)),
              "unknown_line@1 bad_timecode@3 length_mismatch@4");
    document const strict = edl::read(list, rate_25, {mode::strict});
    EXPECT_EQ(findings_of(strict), "unknown_line@1 bad_timecode@3");
    EXPECT_EQ(strict.findings.back().column, 24u);
    // An M2 line's entry timecode is named where it stands.
    document const motion = edl::read(
        "001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\nM2 AX 050.0 01:00:0x:00\n",
        rate_25);
    ASSERT_EQ(findings_of(motion), "bad_timecode@2");
    EXPECT_EQ(motion.findings[0].column, 13u);
    // So is a transition that does not read.
    document const how =
        edl::read("001 AX V Q 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n", rate_25);
    ASSERT_EQ(findings_of(how), "unreadable_event@1");
    EXPECT_EQ(how.findings[0].column, 10u);
    EXPECT_FALSE(strict.ok());
}

// Random lists, typed loosely: the first write is canonical, and every later
// one gives the same bytes and the same edits.
TEST(edl_write, RandomListsComeBackByteForByte) {
    std::mt19937 rng(20261206);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    char const* const channels[]    = {"V", "A", "A2", "A17", "B", "AA", "AA/V", "A2/V", "NONE"};
    char const* const transitions[] = {"C", "D", "W012", "K", "K B", "KO"};
    char const* const comments[]    = {"* FROM CLIP NAME: a clip",
                                       "* LOC: 01:00:00:01 RED note",
                                       "* ASC_SOP (1 1 1)(0 0 0)(1 1 1)",
                                       "EFFECTS NAME IS CROSS",
                                       "AUD 3 4",
                                       "SPLIT: AUDIO DELAY= 00:00:00:05",
                                       "FCM: DROP FRAME",
                                       "FCM: NON-DROP FRAME"};
    for (int round = 0; round < 200; ++round) {
        std::string list = pick(2) != 0 ? "TITLE: ROUND " + std::to_string(round) + "\n" : "";
        int record       = 108000 + pick(1000);
        for (int event = 1, count = 1 + pick(20); event <= count; ++event) {
            char line[400];
            std::string reel = pick(4) == 0
                                   ? std::string(static_cast<std::size_t>(9 + pick(40)), 'R')
                                   : "R" + std::to_string(pick(99));
            int const length = 1 + pick(200);
            auto tc          = [&](int f, char sep) {
                static char text[4][16];
                static int slot = 0;
                char* t         = text[slot++ % 4];
                std::snprintf(t, 16, "%02d:%02d:%02d%c%02d", f / 108000 % 24, f / 1800 % 60,
                                       f / 30 % 60, sep, f % 30);
                return t;
            };
            char const sep    = ":;.,"[pick(4)];
            int const src     = 3600 * 30 * pick(20);
            int const written = std::snprintf(
                line, sizeof line, "%0*d%s%s %s %s %s %s %s %s\n", 3 + pick(4), event,
                pick(2) ? "  " : " ", reel.c_str(), channels[pick(9)], transitions[pick(6)],
                tc(src, sep), tc(src + length, sep), tc(record, sep), tc(record + length, sep));
            ASSERT_LT(written, static_cast<int>(sizeof line));
            list += line;
            record += length;
            if (pick(3) == 0) list += std::string(comments[pick(8)]) + (pick(2) ? "\r\n" : "\n");
            if (pick(5) == 0)
                list +=
                    "M2   " + reel + " " + std::to_string(pick(60)) + ".0 " + tc(src, ':') + "\n";
        }
        SCOPED_TRACE(list);
        document const first   = edl::read(list, rate_29_97);
        std::string const once = write(first);
        document const second  = edl::read(once, rate_29_97);
        ASSERT_EQ(write(second), once);
        ASSERT_EQ(first.edits.size(), second.edits.size());
        for (std::size_t k = 0; k < first.edits.size(); ++k) {
            edit const &a = first.edits[k], &b = second.edits[k];
            EXPECT_EQ(first.text(a.reel), second.text(b.reel));
            EXPECT_EQ(a.all_channels(), b.all_channels());
            EXPECT_EQ(a.record_in, b.record_in);
            EXPECT_EQ(a.source_out, b.source_out);
            EXPECT_EQ(a.speed.speed_tenths, b.speed.speed_tenths);
        }
    }
}

// Hostile bytes read without a fault, and whatever reads writes to a fixed point.
TEST(edl_read, ArbitraryBytesReadAndWriteToAFixedPoint) {
    std::mt19937 rng(7);
    std::string const alphabet = "0123456789 :;.,\t\r\nACDKBOVWMN2*()FCM:TITLESPLITAUD-\xE9\xC3";
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        for (int k = 0, n = static_cast<int>(rng() % 200); k < n; ++k)
            bytes += alphabet[rng() % alphabet.size()];
        document const doc    = edl::read(bytes, rate_29_97);
        std::string const one = write(doc);
        EXPECT_EQ(write(edl::read(one, rate_29_97)), one) << bytes;
    }
}

}  // namespace
}  // namespace marlix::edl
