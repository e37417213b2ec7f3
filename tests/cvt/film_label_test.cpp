#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "marlix/cvt/foot_label.h"
#include "marlix/cvt/ink_label.h"
#include "marlix/cvt/keycode_label.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/internal/text_writer.h"
#include "marlix/values/label_point.h"

namespace marlix {
namespace {

struct stock_case {
    label_t type;
    int frames, perfs, digits;
    char separator;
    char const* template0;
    int prefix_length = 12;  // of prefix and count together
};

stock_case const stocks[] = {
    {LABEL_KEYCODE_35, 16, 4, 4, '+', "????????9999+19"},
    {LABEL_KEYCODE_35_5, 16, 4, 5, '+', "???????99999+19"},
    {LABEL_KEYCODE_35_6, 16, 4, 6, '+', "??????999999+19"},
    {LABEL_KEYCODE_16, 20, 1, 4, '&', "????????9999+19"},
    {LABEL_KEYCODE_16_5, 20, 1, 5, '&', "???????99999+19"},
    {LABEL_KEYCODE_16_6, 20, 1, 6, '&', "??????999999+19"},
    {LABEL_KEYCODE_352, 32, 2, 4, '+', "????????9999+39"},
    {LABEL_KEYCODE_358, 8, 8, 4, '+', "????????9999+07"},
    {LABEL_KEYCODE_655_80, 16, 5, 4, '+', "????????9999+19"},
    {LABEL_KEYCODE_658_80, 10, 8, 4, '+', "????????9999+09"},
    {LABEL_KEYCODE_6510_80, 8, 10, 4, '+', "????????9999+07"},
    {LABEL_KEYCODE_655_120, 24, 5, 4, '+', "????????9999+29"},
    {LABEL_KEYCODE_658_120, 15, 8, 4, '+', "????????9999+19"},
    {LABEL_KEYCODE_6510_120, 12, 10, 4, '+', "????????9999+19"},
    {LABEL_KEYCODE_6515_120, 8, 15, 4, '+', "????????9999+07"},
    {LABEL_INK_35, 16, 4, 4, '+', "????9999+19", 8},
    {LABEL_INK_16, 20, 1, 4, '+', "????9999+19", 8},
};

// Keycode of every stock and ink numbers of both gauges.
TEST(keycode_label, EveryFrameOfACycleRoundTripsForEveryStock) {
    for (auto const& c : stocks) {
        label_cvt_ptr cvt = make_label_cvt(c.type);
        SCOPED_TRACE(cvt->type_str());
        ASSERT_EQ(cvt->get_count_length(), c.digits);
        EXPECT_EQ(cvt->perfs_per_keyKode(), c.prefix_length == 12 ? c.frames * c.perfs : 1);
        EXPECT_STREQ(cvt->templates[0].text, c.template0);
        label_point point(0, cvt.get());
        auto const prefix =
            std::string("AB123456").substr(0, std::size_t(c.prefix_length - c.digits));
        point.set_prefix((prefix + "0000000").c_str());
        int counts = 1;
        for (int i = 0; i < c.digits; ++i) counts *= 10;
        long32 const cycle = counts * c.frames * c.perfs;
        for (long32 count = 0, p = 0; count < counts; ++count) {
            for (int frame = 0; frame < c.frames; ++frame, p += c.perfs) {
                char expected[32];
                std::snprintf(expected, sizeof expected, "%s%0*d%c%02d", prefix.c_str(), c.digits,
                              count, c.separator, frame);
                if (cvt->get_abs_sample(expected) != p) FAIL() << expected << " reads wrong";
                // Every perforation prints as its frame (all of them for the
                // stocks of 4 count digits), with its perforation in the cycle.
                for (int q = 0; q < (c.digits == 4 && c.prefix_length == 12 ? c.perfs : 1); ++q) {
                    char perf[16];
                    std::snprintf(perf, sizeof perf, "%02d", (p + q) % (c.frames * c.perfs));
                    if (std::strcmp(cvt->get_abs_string(&point, p + q), expected) != 0 ||
                        (c.prefix_length == 12 &&
                         std::strcmp(cvt->get_abs_perfs_string(&point, p + q), perf) != 0))
                        FAIL() << p + q << ": " << cvt->get_abs_string(&point, p + q) << " wanted "
                               << expected;
                }
            }
        }
        // The count wraps once at printing: one cycle on prints as the start.
        std::string const zero =
            prefix + std::string(std::size_t(c.digits), '0') + c.separator + "00";
        EXPECT_EQ(cvt->get_abs_string(&point, cycle), zero);
        EXPECT_EQ(cvt->normalise_sample_unit(-c.perfs), cycle - c.perfs);
        EXPECT_EQ(cvt->normalise_sample_unit(cycle + 3), 3);
        // Just below 0: count 0, frame 0 while the frame truncates to 0.
        EXPECT_EQ(cvt->get_abs_string(&point, -1), c.perfs == 1 ? "NEGATIVE" : zero);
    }
}

TEST(keycode_353, EveryPerforationRoundTripsWithItsPhaseDigit) {
    for (label_t t : {LABEL_KEYCODE_353, LABEL_KEYCODE_353_5}) {
        label_cvt_ptr cvt = make_label_cvt(t);
        SCOPED_TRACE(cvt->type_str());
        label_point point(0, cvt.get());
        point.set_prefix("AB1234560000");
        long32 const limit = t == LABEL_KEYCODE_353 ? 640000 - 2 : 6400000 - 2;
        for (long32 p = 0; p < limit; ++p) {
            char const* text    = cvt->get_abs_string(&point, p);
            std::size_t const n = std::strlen(text);
            // Independent split: the frame starts at or before p, on a
            // three-perforation step from the mark two perforations back.
            long32 const q = p + 2, count = q / 64, r = q % 64;
            char expected[32];
            std::snprintf(expected, sizeof expected, "%0*d+%02d.%d", t == LABEL_KEYCODE_353 ? 4 : 5,
                          count, r / 3, 3 - r % 3);
            if (std::strcmp(text + (t == LABEL_KEYCODE_353 ? 8 : 7), expected) != 0 || n < 3)
                FAIL() << p << ": " << text << " wanted " << expected;
            if (cvt->get_abs_sample(text) != p)
                FAIL() << p << " reads back as " << cvt->get_abs_sample(text);
        }
    }
}

TEST(keycode_label, KnownTextsAndTraps) {
    label_cvt_ptr k35  = make_label_cvt(LABEL_KEYCODE_35);
    label_cvt_ptr k353 = make_label_cvt(LABEL_KEYCODE_353);
    label_point point(0, k35.get());
    std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", "AB123456");
    EXPECT_STREQ(k35->get_abs_perfs_string(&point, INVALID_SAMPLE), "");
    EXPECT_STREQ(k35->get_abs_string(&point, INVALID_SAMPLE), "???????????????");
    EXPECT_STREQ(k35->get_abs_string(&point, SAMPLE_PAST_END), ">>>>>>>>>>>>>>>");
    // Just below 0 the count and frame truncate to 0; a negative count or
    // frame offset is negative film.
    for (long32 s : {-1, -3}) EXPECT_STREQ(k35->get_abs_string(&point, s), "AB1234560000+00") << s;
    for (long32 s : {-4, -64, -65, -1000000, INT32_MIN})
        EXPECT_STREQ(k35->get_abs_string(&point, s), "NEGATIVE") << s;
    label_cvt *const k = k35.get(), *const k3 = k353.get();
    // Every printed text reads back above; here, the other texts.
    // clang-format off
    std::tuple<label_cvt*, char const*, long32> const parses[] = {
        {k, "AB123456123415", 79036}, {k, "AB1234561234&15", 79036},
        {k, "AB1234561234 +15", 79036}, {k, "AB1234561234", 78976}, {k, "", INVALID_SAMPLE},
        {k, "AB1234561234  +1", INVALID_SAMPLE},
        {k, "AB123456__34+05", (34 * 16 + 5) * 4}, {k, "ZZZZZZZZ9999+15", (9999 * 16 + 15) * 4},
        {k, "AB1234561234+16", INVALID_SAMPLE}, {k, "AB1234561234+015", INVALID_SAMPLE},
        {k, "AB1234561234+", INVALID_SAMPLE}, {k, "AB123456-001+00", INVALID_SAMPLE},
        {k, "AB12345612", INVALID_SAMPLE}, {k, "AB1234561234   +1", INVALID_SAMPLE},
        {k3, "X", INVALID_SAMPLE},
        {k3, "AB1234561234+01", INVALID_SAMPLE}};  // no phase digit: the frame is cut away
    // clang-format on
    for (auto const& [cvt, text, sample] : parses)
        EXPECT_EQ(cvt->get_abs_sample(text), sample) << text;
    EXPECT_EQ(k35->get_sample_span_from_packed_strings("AB123456123400", "AB123456123415"), 60);
    EXPECT_EQ(k35->get_abs_sample(static_cast<char const*>(nullptr)), INVALID_SAMPLE);

    label_point p353(0, k353.get());
    std::snprintf(p353.prefix_text, sizeof p353.prefix_text, "%s", "AB123456");
    // q = p + 2 keeps count 0 and frame 0 down to -4, with phase digits 2 to
    // 5 that read back; -5 has a negative frame offset.
    for (long32 p = -1; p >= -4; --p) {
        char expected[] = "AB1234560000+00.?";
        expected[16]    = static_cast<char>('1' - p);
        EXPECT_STREQ(k353->get_abs_string(&p353, p), expected);
        EXPECT_EQ(k353->get_abs_sample(expected), p);
    }
    EXPECT_STREQ(k353->get_abs_string(&p353, -5), "NEGATIVE");
    EXPECT_STREQ(k353->templates[0].text, "????????9999+29.3");
    EXPECT_STREQ(k353->templates[1].text, "~~~~~~~~9999+29.3");
    EXPECT_EQ(k353->normalise_sample_unit(-1), 659999);  // 3 x 22 x 10000 cycle
    // A stock whose keycode interval passes 32 bits: every sample lies in
    // count 0, at the frame of its perforations.
    struct wide : keycode_label {
        wide() : keycode_label(1 << 16, (1 << 16) + 1) {}
        keycode_counts counts(long32 s) const { return rule_counts(s); }
    } const w;
    for (auto [s, frame] : {std::pair{0, 0}, {65536, 0}, {70000, 1}, {INT32_MAX, 32767}}) {
        keycode_label::keycode_counts const c = w.counts(s);
        EXPECT_TRUE(c.count == 0 && c.frame_offset == frame) << s;
    }
}

// The converters' fixed-buffer writer against snprintf's "%0*lld" and
// "%.*lld", cut at the buffer's end as snprintf cuts.
TEST(text_writer, WritesAsSnprintfWould) {
    for (long long v : {-123456LL, -100LL, -5LL, 0LL, 7LL, 10LL, 99LL, 98765LL}) {
        for (int width = 0; width <= 9; ++width) {
            char ours[6], theirs[6];
            detail::text_writer padded(ours);
            padded.put_padded(v, width);
            std::snprintf(theirs, sizeof theirs, "%0*lld", width, v);
            EXPECT_STREQ(padded.finish(), theirs) << v << " " << width;
            if (width == 0) continue;  // "%.0d" of 0 prints nothing; no label asks for it
            detail::text_writer precise(ours);
            precise.put_precise(v, width);
            std::snprintf(theirs, sizeof theirs, "%.*lld", width, v);
            EXPECT_STREQ(precise.finish(), theirs) << v << " " << width;
        }
    }
}

TEST(prefix_label, RememberedPrefixIsSharedBetweenPoints) {
    label_cvt_ptr k6 = make_label_cvt(LABEL_KEYCODE_35_6);
    label_point empty(0, k6.get()), other(0, k6.get());
    EXPECT_STREQ(empty.get_prefix(), "XX0000");  // the placeholder
    other.set_prefix("CD9876540001");
    EXPECT_STREQ(other.prefix_text, "CD9876540001");
    EXPECT_STREQ(other.get_string(), "CD9876000000+00");
    EXPECT_STREQ(empty.get_prefix(), "CD9876");  // remembered from the other point
    // set_prefix keeps label_len characters (prefix and count).
    label_point whole(0, k6.get());
    whole.set_prefix("EF12345678901234+15");
    EXPECT_STREQ(whole.prefix_text, "EF1234567890");
    whole.set_prefix("x");  // too short: the point keeps its prefix, memory follows it
    EXPECT_STREQ(whole.prefix_text, "EF1234567890");
    EXPECT_STREQ(empty.get_prefix(), "EF1234");
    EXPECT_STREQ(static_cast<prefix_label&>(*k6).last_prefix, "EF1234");  // its text form
    whole.set_prefix(nullptr);
    EXPECT_STREQ(whole.prefix_text, "EF1234567890");
    label_point exact(0, k6.get());  // exactly the prefix's width
    exact.set_prefix("GH1234");
    EXPECT_STREQ(exact.prefix_text, "GH1234");

    // A prefix of any width against the word boundaries of its packed form:
    // the characters after it never reach the answer or the memory.
    char const text[] = "ABCDEFGHIJKLMNOPQRS";
    for (int const width : {1, 5, 7, 8, 9, 12, 15, 16, 17, 19}) {
        keycode_35 k;
        k.label_len = std::min(prefix_label::max_label_length, width + 4);
        k.set_count_len(k.label_len - width);
        ASSERT_EQ(k.prefix_len, width);
        label_point point(0, &k);
        std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", text);
        std::string const expected(text, std::size_t(width));
        EXPECT_EQ(std::string(k.get_prefix(&point)), expected) << width;
        EXPECT_EQ(std::string(k.last_prefix), expected) << width;
    }
}

TEST(prefix_label, CountLengthIsClampedSoNothingOverruns) {
    keycode_35 bare;  // set_count_len has not run: prints and parses without faults
    label_point point(0, &bare);
    EXPECT_TRUE(bare.get_count_length() == -1 && bare.get_prefix_length() == -1);  // not yet set
    EXPECT_EQ(bare.get_abs_sample("AB1234561234+15"), INVALID_SAMPLE);
    EXPECT_STRNE(bare.get_abs_string(&point, 79036), nullptr);
    std::tuple<int, int, int, int> const cases[] = {
        {4, 4, 8, 9999},      {1, 1, 11, 9},         {0, 0, 12, 9},         {-5, 0, 12, 9},
        {9, 9, 3, 999999999}, {12, 9, 3, 999999999}, {100, 9, 3, 999999999}};
    for (auto const& [n, count_len, prefix_len, max_count] : cases) {
        bare.set_count_len(n);
        EXPECT_EQ(bare.count_len, count_len) << n;
        EXPECT_EQ(bare.prefix_len, prefix_len) << n;
        EXPECT_EQ(bare.max_count, max_count) << n;
        bare.build_template();
        EXPECT_EQ(bare.templates[0].get_length(), 15) << n;
        char const* text = bare.get_abs_string(&point, INT32_MAX);
        EXPECT_LT(std::strlen(text), sizeof point.text_buffer);
        label_cvt& base      = bare;
        long32 const wrapped = base.normalise_sample_unit(-1);
        EXPECT_TRUE(wrapped >= 0 || wrapped == INVALID_SAMPLE) << n;
    }
}

// The frame field's shape in a template: the last frame up to ten frames a
// count, else its tens with 9.
TEST(prefix_label, TemplateFrameFieldByModulus) {
    keycode_35 k;
    std::pair<int, std::string> const frames[] = {{1, "+00"},  {2, "+01"},  {10, "+09"},
                                                  {11, "+19"}, {16, "+19"}, {20, "+19"},
                                                  {21, "+29"}, {100, "+99"}};
    for (auto const& [m, suffix] : frames) {
        k.modulus = m;
        k.build_template();
        std::string const shape = k.templates[0].text;
        ASSERT_GE(shape.size(), suffix.size()) << m;
        EXPECT_EQ(shape.substr(shape.size() - suffix.size()), suffix) << m;
    }
}

// A text is first brought to 11 characters: longer ones keep their first 4
// and last 7, shorter ones get up to 4 zeros in front.
TEST(ink_label, ParsesItsForms) {
    label_cvt_ptr i35 = make_label_cvt(LABEL_INK_35);
    label_cvt_ptr i16 = make_label_cvt(LABEL_INK_16);
    // clang-format off
    std::tuple<label_cvt*, char const*, long32> const cases[] = {
        {i35.get(), "AB12 1234+15", 79036}, {i35.get(), "AB121234 15", 79036},
        {i35.get(), "AB121234+16", INVALID_SAMPLE},
        // Short texts are padded in front, which moves every position.
        {i35.get(), "AB121234+1", 135876}, {i35.get(), "AB121234+", 77584},
        {i35.get(), "AB121234+-1", INVALID_SAMPLE}, {i35.get(), "AB12-001+00", INVALID_SAMPLE},
        {i35.get(), "AB121234+015", 15036},  // cut to AB12234+015
        {i16.get(), "AB121234+20", INVALID_SAMPLE}, {i16.get(), "AB121234", INVALID_SAMPLE},
        {i16.get(), "", INVALID_SAMPLE},  // shorter than a prefix: no count
        {i35.get(), "12", INVALID_SAMPLE},
        {i35.get(), "1234", 78976},  // padded to 00001234: count 1234, frame 0
    };
    // clang-format on
    for (auto const& [cvt, text, sample] : cases)
        EXPECT_EQ(cvt->get_abs_sample(text), sample) << text;

    label_point point(0, i35.get());
    point.set_sample("1234+15");  // the prefix is taken from the padded text
    EXPECT_EQ(point.get_sample(), 79036);
    EXPECT_STREQ(point.prefix_text, "00001234");
    EXPECT_STREQ(point.get_prefix(), "0000");
}

TEST(foot_label, FootageRoundTripsOverTenThousandFeetEachWay) {
    std::tuple<label_t, int, int, char const*> const gauges[] = {
        {LABEL_FOOT_35, 16, 4, "-9999.19"}, {LABEL_FOOT_16, 40, 1, "-9999.39"}};
    for (auto const& [type, frames_per_foot, perfs, shape] : gauges) {
        label_cvt_ptr cvt = make_label_cvt(type);
        SCOPED_TRACE(cvt->type_str());
        EXPECT_STREQ(cvt->templates[0].text, shape);
        label_point point(0, cvt.get());
        long32 const span = 10000 * frames_per_foot * perfs;
        for (long32 s = -span; s <= span; s += perfs) {
            long32 const frames = (s < 0 ? -s : s) / perfs;
            char expected[32];
            std::snprintf(expected, sizeof expected, "%c%04d.%02d", s < 0 ? '-' : ' ',
                          frames / frames_per_foot, frames % frames_per_foot);
            std::string const text = cvt->get_abs_string(&point, s);
            if (text != expected) FAIL() << s << ": " << text << " wanted " << expected;
            if (cvt->get_abs_sample(text.c_str()) != s) FAIL() << s << " reads back wrong";
        }
        // 100 000 feet wrap to 0; past 10 000 feet more digits print.
        EXPECT_STREQ(cvt->get_abs_string(&point, 100000 * frames_per_foot * perfs), " 0000.00");
        EXPECT_STREQ(cvt->get_abs_string(&point, 12345 * frames_per_foot * perfs), " 12345.00");
        EXPECT_STREQ(cvt->get_abs_string(&point, 199999 * frames_per_foot * perfs), " 99999.00");
        // Past 200 000 feet the wrap repeats: what prints reads back to itself.
        long32 const far = 250001 * frames_per_foot * perfs;
        EXPECT_STREQ(cvt->get_abs_string(&point, far), " 50001.00");
    }
}

TEST(foot_353_label, EveryPerforationOfTenThousandFeetRoundTrips) {
    label_cvt_ptr cvt = make_label_cvt(LABEL_FOOT_353);
    EXPECT_STREQ(cvt->templates[0].text, "-9999+29.3");
    label_point point(0, cvt.get());
    for (long32 s = -640000; s <= 640000; ++s) {
        std::string const text = cvt->get_abs_string(&point, s);
        if (cvt->get_abs_sample(text.c_str()) != s) FAIL() << s << ": " << text;
    }
    std::pair<long32, char const*> const cases[] = {
        {0, " 0000+00.1"},     {1, " 0000+01.3"},      {62, " 0001+00.3"},
        {78978, " 1234+01.2"}, {-78978, "-1234+01.2"}, {6400000, " 0000+00.1"}};
    for (auto const& [s, text] : cases) EXPECT_STREQ(cvt->get_abs_string(&point, s), text) << s;
}

TEST(foot_label, ParseNeverFailsForOrdinaryText) {
    label_cvt_ptr f35 = make_label_cvt(LABEL_FOOT_35), f16 = make_label_cvt(LABEL_FOOT_16);
    label_cvt_ptr f353 = make_label_cvt(LABEL_FOOT_353), ff = make_label_cvt(LABEL_FILM_FRAMES);
    // Beyond 32 bits there is no footage to answer.
    // clang-format off
    std::tuple<label_cvt*, char const*, long32> const cases[] = {
        {f35.get(), "0012.20", 848}, {f35.get(), "12", 768}, {f35.get(), "", 0}, {f35.get(), "junk", 0},
        {f35.get(), "-0.1", -4}, {f16.get(), "-0001.05", -45}, {f35.get(), " 1234+15", 79036},
        {f353.get(), "", 0}, {f35.get(), "99999999999999999999.00", INVALID_SAMPLE},
        {f353.get(), "99999999999999999999+00.1", INVALID_SAMPLE},
        {ff.get(), "  -42", -42}, {ff.get(), "12abc", 12}, {ff.get(), "", INVALID_SAMPLE},
        {ff.get(), "abc", INVALID_SAMPLE}, {ff.get(), "99999999999", INVALID_SAMPLE},
        {ff.get(), "-2147483648", INT32_MIN}};
    // clang-format on
    for (auto const& [cvt, text, sample] : cases)
        EXPECT_EQ(cvt->get_abs_sample(text), sample) << text;
    label_point point(0, f35.get());
    // clang-format off
    std::tuple<label_cvt*, long32, char const*> const prints[] = {
        {f35.get(), -4, "-0000.01"}, {f35.get(), -3, "-0000.00"}, {f35.get(), INVALID_SAMPLE, "?????.??"},
        {f35.get(), INT32_MIN, "-54432.00"},  // 536870912 frames modulo 100 000 feet
        {ff.get(), 12, "000012"}, {ff.get(), -12, "-000012"}, {ff.get(), 1234567, "1234567"}};
    // clang-format on
    for (auto const& [cvt, s, text] : prints)
        EXPECT_STREQ(cvt->get_abs_string(&point, s), text) << s;
    EXPECT_EQ(f35->normalise_sample_unit(-5), -5);  // feet keep negative samples
    EXPECT_STREQ(ff->templates[0].text, "-999999");
    EXPECT_EQ(ff->get_modulus(), 999999);
}

}  // namespace
}  // namespace marlix
