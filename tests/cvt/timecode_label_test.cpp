#include "marlix/cvt/timecode_label.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "marlix/host/host_services.h"
#include "marlix/internal/scan_fields.h"
#include "marlix/values/label_point.h"
#include "tests/support/timecode_reference.h"

namespace marlix {
namespace {

struct rate_case {
    char const* name;
    std::unique_ptr<timecode_label> (*make)(int flags);
    int fps;
    char separator;
    long32 day;
    label_t type;
};

template <class T>
std::unique_ptr<timecode_label> make(int flags) {
    return std::make_unique<T>(flags);
}

rate_case const rates[] = {
    {"pal_label", make<pal_label>, 25, '.', 2160000, LABEL_PAL},
    {"ntsc_label", make<ntsc_label>, 30, '.', 2592000, LABEL_NTSC},
    {"ntsc_drop_label", make<ntsc_drop_label>, 30, ';', 2589408, LABEL_NTSC_DROP},
    {"tc_24_label", make<tc_24_label>, 24, '+', 2073600, LABEL_TC_24},
    {"tc_48_label", make<tc_48_label>, 48, '+', 4147200, LABEL_TC_48},
    {"tc_50_label", make<tc_50_label>, 50, '.', 4320000, LABEL_TC_50},
    {"tc_60_label", make<tc_60_label>, 60, '.', 5184000, LABEL_TC_60},
};

// The label of a frame count, computed the usual way: drop-frame adds
// back the two frame numbers skipped in each minute that is not a tenth.
std::string label_text(long32 n, rate_case const& r) {
    long32 const blocks = n / 17982, m = n % 17982;
    long32 const c =
        r.type != LABEL_NTSC_DROP ? n : n + 18 * blocks + (m > 1 ? 2 * ((m - 2) / 1798) : 0);
    char text[32];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d%c%02d", c / (r.fps * 3600),
                  c / (r.fps * 60) % 60, c / r.fps % 60, r.separator, c % r.fps);
    return text;
}

TEST(timecode_label, EverySampleOfADayPrintsAndParsesBack) {
    for (auto const& r : rates) {
        SCOPED_TRACE(r.name);
        auto const cvt = r.make(TC_ALL_FIELDS);
        label_point point(0, cvt.get());
        ASSERT_EQ(cvt->get_frames_per_day(), r.day);
        for (long32 s = 0; s < r.day; ++s) {
            char const* text           = cvt->get_abs_string(&point, s);
            std::string const expected = label_text(s, r);
            if (expected != text) FAIL() << s << ": " << text << " wanted " << expected;
            if (cvt->get_abs_sample(text) != s)
                FAIL() << s << " reads back as " << cvt->get_abs_sample(text);
        }
    }
}

// Words up to 30 fps pack and read back; above, and for special samples, the traps.
TEST(timecode_label, SmpteWordsPackAndDecodeBack) {
    for (auto const& r : rates) {
        if (r.fps > 30) continue;
        SCOPED_TRACE(r.name);
        auto const cvt = r.make(TC_ALL_FIELDS);
        label_point point(0, cvt.get());
        for (long32 s = 0; s < r.day; s += 7) {
            unsigned word        = cvt->get_abs_smpte_string(&point, s);
            bool drop            = !(r.type == LABEL_NTSC_DROP);
            long32 const nominal = cvt->get_samples_from_SMPTETc(word, drop);
            ASSERT_EQ(drop, r.type == LABEL_NTSC_DROP) << s;
            // The word holds nominal frames: a drop-frame word reads back as
            // the frame count of its printed digits at 30 fps.
            cvt->sample_to_hmsf(s);
            long32 const digits =
                ((cvt->hours * 60 + cvt->minutes) * 60 + cvt->seconds) * r.fps + cvt->frames;
            ASSERT_EQ(nominal, digits) << s;
            if (r.type != LABEL_NTSC_DROP) {
                ASSERT_EQ(nominal, s);
            }
        }
        // A whole day on wraps to the day's start.
        EXPECT_EQ(cvt->get_abs_smpte_string(&point, r.day), cvt->get_abs_smpte_string(&point, 0));
    }
    pal_label pal;
    label_point point(0, &pal);
    for (long32 s : {-1, INVALID_SAMPLE, SAMPLE_PAST_END})
        EXPECT_EQ(pal.get_abs_smpte_string(&point, s), 0u) << s;
    // Above 39 fps a frames tens digit of 4 reaches bit 6: the word reads
    // back as drop-frame with two bits of the tens digit.
    tc_50_label t50;
    unsigned word = t50.get_abs_smpte_string(&point, 45);
    bool drop     = false;
    EXPECT_TRUE(word == 0x45u && t50.get_samples_from_SMPTETc(word, drop) == 5 && drop);
}

TEST(timecode_label, PrintsItsTexts) {
    pal_label pal, pal0(0), pal8(TC_FRAMES), pal2(TC_MINUTES);
    // clang-format off
    std::tuple<timecode_label*, long32, char const*> const cases[] = {
        {&pal, 2160000, " 00:00:00.00"}, {&pal, -25, "-00:00:01.00"}, {&pal, -2160001, "-00:00:00.01"},
        {&pal, INT32_MIN, "-04:55:45.23"}, {&pal, INVALID_SAMPLE, "???.??.??.??"},
        {&pal, SAMPLE_PAST_END, ">>>.>>.>>.>>"}, {&pal, SAMPLE_BEFORE_START, "<<<.<<.<<.<<"},
        {&pal0, 1628, " 1:05.03"}, {&pal0, 3, " "}, {&pal8, 3, " .03"}, {&pal8, 0, " .00"},
        {&pal0, 90000, " 1:00:00.00"}, {&pal0, 900000, " 10:00:00.00"}, {&pal2, 25, " 00:01.00"},
        {&pal0, -1628, "-1:05.03"}, {&pal0, 15000, " 10:00.00"}, {&pal0, 14975, " 9:59.00"},
        {&pal0, 250, " 10.00"}};
    // clang-format on
    for (auto const& [cvt, sample, text] : cases) {
        label_point point(0, cvt);
        EXPECT_STREQ(cvt->get_abs_string(&point, sample), text) << sample;
    }
}

// The scanner's grammar, the packed digit forms included, is checked
// against sscanf in the differential test; here, the fields and samples
// beyond 32 bits, which have no 32-bit answer, and the spans.
TEST(timecode_label, ParsesTextsAndPackedDigits) {
    pal_label pal;
    ntsc_drop_label df;
    // clang-format off
    std::tuple<timecode_label*, char const*, long32> const texts[] = {
        {&pal, "99999999999:00:00.00", INVALID_SAMPLE}, {&pal, "30000:00:00.00", INVALID_SAMPLE},
        {&pal, "23000:00:00.00", 2070000000}, {&pal, "-23000:00:00.00", -2070000000},
        {&df, "2147483647:59:59;29", INVALID_SAMPLE}, {&pal, "0:0:0.2147483648", INVALID_SAMPLE},
        {&pal, "0:0:0.-2147483648", -2147483647 - 1}, {&df, "-00:00:01;00", 0},
        {&df, "00:01:00;00", 1798}};
    // clang-format on
    for (auto const& [cvt, text, sample] : texts)
        EXPECT_EQ(cvt->get_abs_sample(text), sample) << text;
    EXPECT_EQ(pal.get_abs_sample(static_cast<char const*>(nullptr)), INVALID_SAMPLE);
    EXPECT_EQ(pal.get_sample_span_from_packed_strings("23595900", "00000100"), 50);
    EXPECT_EQ(pal.get_sample_span_from_packed_strings("00000100", "00000000"), 2159975);
    EXPECT_EQ(df.get_sample_span_from_packed_strings("00595929", "01000000"), 1);
}

TEST(timecode_label, NormaliseWrapsIntoOneDayInclusive) {
    for (auto const& r : rates) {
        auto const cvt   = r.make(TC_ALL_FIELDS);
        long32 const day = r.day;
        for (long32 s :
             {0, 1, day - 1, day, day + 1, 2 * day, 2 * day + 1, -1, -day, -day - 1, INVALID_SAMPLE,
              SAMPLE_PAST_END, SAMPLE_BEFORE_START, INT32_MAX, INT32_MIN}) {
            // Reference: add or take away whole days one at a time.
            long long ref = s;
            while (ref < 0) ref += day;
            while (ref > day) ref -= day;
            EXPECT_EQ(cvt->normalise_sample_unit(s), ref) << r.name << " " << s;
        }
    }
}

TEST(timecode_label, TimeValuesFollowTheHostRates) {
    pal_label pal;
    tc_24_label t24;
    ntsc_label ntsc;
    EXPECT_TRUE(pal.get_V2tc(50) == 2.0 && t24.get_V2tc(50) == 50.0 &&
                ntsc.get_V2tc(30000) == 1001.0);
    for (auto [cvt, seconds, sample] : {std::tuple<timecode_label*, double, long32>{&pal, 2.0, 50},
                                        {&pal, 1.99999, 50},
                                        {&pal, -1.0, -25},
                                        {&ntsc, 1001.0, 30000},
                                        {&pal, 1e300, INVALID_SAMPLE},
                                        {&pal, -1e300, INVALID_SAMPLE},
                                        {&pal, std::nan(""), INVALID_SAMPLE},
                                        {&t24, 2147483647.0, INT32_MAX},
                                        {&t24, -2147483648.0, INT32_MIN}})
        EXPECT_EQ(cvt->get_abs_sample(seconds), sample) << seconds;
}

TEST(timecode_label, ClassFactsAndTemplates) {
    for (auto const& r : rates) {
        auto const cvt    = r.make(TC_ALL_FIELDS);
        char const* shape = r.fps == 60  ? "-29.59.59.59"
                            : r.fps > 30 ? "-29.59.59.49"
                                         : "-29.59.59.29";
        EXPECT_STREQ(cvt->templates[0].text, shape) << r.name;
        EXPECT_STREQ(cvt->templates[1].text, shape) << r.name;
    }
    timecode_label bare(25, TC_ALL_FIELDS);  // the template is built on request
    EXPECT_EQ(bare.hmsf_to_sample(), 0);     // fresh working fields join to 0
    EXPECT_STREQ(bare.templates[0].text, "");
    bare.build_template();
    EXPECT_STREQ(bare.templates[0].text, "-29.59.59.29");
    timecode_label zero(0, TC_ALL_FIELDS);  // a rate below 1 counts as 1 fps
    label_point point(0, &zero);
    EXPECT_STREQ(zero.get_abs_string(&point, 61), " 00:01:01.00");
}

// The timecode parsers against sscanf with the label formats, over every
// short text of a timecode-like alphabet and many longer generated ones.
constexpr char alphabet[] = "019:;. -+\tx";
constexpr int letters     = sizeof alphabet - 1;

struct parser {
    std::unique_ptr<timecode_label> cvt;
    int flags;
};

void check(parser& p, std::string const& text) {
    bool const drop = p.cvt->type() == LABEL_NTSC_DROP;
    int const fps   = p.cvt->get_modulus();
    ASSERT_EQ(p.cvt->get_abs_sample(text.c_str()),
              reference::parse_text(text.c_str(), fps, drop, p.flags))
        << p.cvt->type_str() << " flags " << p.flags << " '" << text << "'";
    ASSERT_EQ(p.cvt->get_abs_sample_from_packed_string(text.c_str()),
              reference::parse_packed(text.c_str(), fps, drop))
        << p.cvt->type_str() << " packed '" << text << "'";
}

TEST(timecode_label, ParsesExactlyAsSscanf) {
    parser parsers[] = {
        {std::make_unique<pal_label>(15), 15},       {std::make_unique<pal_label>(2), 2},
        {std::make_unique<pal_label>(4), 4},         {std::make_unique<pal_label>(0), 0},
        {std::make_unique<ntsc_drop_label>(15), 15}, {std::make_unique<tc_60_label>(6), 6},
    };
    // Every text of up to five characters.
    for (int length = 0; length <= 5; ++length) {
        int count = 1;
        for (int i = 0; i < length; ++i) count *= letters;
        for (int n = 0; n < count; ++n) {
            std::string text;
            for (int i = 0, v = n; i < length; ++i, v /= letters) text += alphabet[v % letters];
            for (auto& p : parsers) check(p, text);
        }
    }
    // Each one-character change of a text of the common form, which a quick
    // scan reads before the full one.
    std::string const common = " 01:02:03.04";
    for (std::size_t i = 0; i < common.size(); ++i)
        for (char const c : {'x', ':', '5', ' ', '-'}) {
            std::string text = common;
            text[i]          = c;
            for (auto& p : parsers) check(p, text);
        }
    // Longer texts built from timecode pieces, some of them damaged.
    char const* pieces[] = {"01", "2",           ":", ";",  ".",   " ",  "-",     "+",
                            "59", "99999999999", "x", "\t", "007", "\r", "\n\v\f"};
    std::uint64_t x      = 1;
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        x             = x * 6364136223846793005ull + 1442695040888963407ull;
        int const len = static_cast<int>(x >> 60);
        for (int i = 0; i < len; ++i) {
            x = x * 6364136223846793005ull + 1442695040888963407ull;
            text += pieces[(x >> 33) % std::size(pieces)];
        }
        for (auto& p : parsers) check(p, text);
    }
}

// The scanner answers as sscanf does: the items assigned, or EOF where the
// text ends before the first, a %c included.
TEST(scan_fields, CountsAsSscanf) {
    using detail::scan_op;
    constexpr scan_op num{scan_op::number, 0, 0}, sep{scan_op::character, 0, 0};
    constexpr scan_op colon{scan_op::literal, ':', 0};
    constexpr scan_op sf[] = {num, sep, num}, cf[] = {sep, num},
                      msf[] = {num, colon, num, sep, num};
    for (char const* text : {"", " ", "5", "5.", "5.6", "x", "1:", "1:2", "1:2.", "1:2.3", "1:x"}) {
        long long f[4];
        int a = 0, b = 0, c = 0;
        char ch = 0;
        EXPECT_EQ(detail::scan_fields(text, sf, f), std::sscanf(text, "%d%c%d", &a, &ch, &b))
            << text;
        EXPECT_EQ(detail::scan_fields(text, cf, f), std::sscanf(text, "%c%d", &ch, &a)) << text;
        EXPECT_EQ(detail::scan_fields(text, msf, f),
                  std::sscanf(text, "%d:%d%c%d", &a, &b, &ch, &c))
            << text;
    }
}

}  // namespace
}  // namespace marlix
