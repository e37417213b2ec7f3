#include "marlix/cvt/keycode_label.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/values/label_point.h"

namespace marlix {
namespace {

struct stock_case {
    label_t type;
    int frames, perfs, digits;
    char separator;
    char const* template0;
};

// clang-format off
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
};
// clang-format on

std::string prefix_of(int digits) {
    return std::string("AB123456").substr(0, static_cast<std::size_t>(12 - digits));
}

TEST(keycode_label, EveryFrameOfACycleRoundTripsForEveryStock) {
    for (auto const& c : stocks) {
        label_cvt_ptr cvt = make_label_cvt(c.type);
        SCOPED_TRACE(cvt->type_str());
        ASSERT_EQ(cvt->get_count_length(), c.digits);
        EXPECT_EQ(cvt->perfs_per_keyKode(), c.frames * c.perfs);
        EXPECT_STREQ(cvt->templates[0].text, c.template0);
        label_point point(0, cvt.get());
        std::string const prefix = prefix_of(c.digits);
        point.set_prefix((prefix + "0000000").c_str());
        int counts = 1;
        for (int i = 0; i < c.digits; ++i) counts *= 10;
        long32 const cycle = counts * c.frames * c.perfs;
        for (long32 count = 0, p = 0; count < counts; ++count) {
            for (int frame = 0; frame < c.frames; ++frame, p += c.perfs) {
                char expected[32];
                std::snprintf(expected, sizeof expected, "%s%0*d%c%02d", prefix.c_str(), c.digits,
                              count, c.separator, frame);
                char const* text = cvt->get_abs_string(&point, p);
                if (std::strcmp(text, expected) != 0)
                    FAIL() << p << ": " << text << " wanted " << expected;
                if (cvt->get_abs_sample(text) != p)
                    FAIL() << p << " reads back as " << cvt->get_abs_sample(text);
            }
        }
        // The count wraps once at printing: one cycle on prints as the start.
        EXPECT_EQ(
            std::string(cvt->get_abs_string(&point, cycle)),
            prefix + std::string(static_cast<std::size_t>(c.digits), '0') + c.separator + "00");
        EXPECT_EQ(cvt->normalise_sample_unit(-c.perfs), cycle - c.perfs);
        EXPECT_EQ(cvt->normalise_sample_unit(cycle + 3), 3);
    }
}

TEST(keycode_label, EveryPerforationPrintsAsTheFrameItLiesIn) {
    for (auto const& c : stocks) {
        if (c.digits != 4) continue;
        label_cvt_ptr cvt = make_label_cvt(c.type);
        SCOPED_TRACE(cvt->type_str());
        label_point point(0, cvt.get());
        point.set_prefix("AB1234560000");
        long32 const cycle = 10000 * c.frames * c.perfs;
        for (long32 p = 0; p < cycle; ++p) {
            std::string const text  = cvt->get_abs_string(&point, p);
            std::string const start = cvt->get_abs_string(&point, p - p % c.perfs);
            if (text != start) FAIL() << p << ": " << text << " wanted " << start;
            char perf[16];
            std::snprintf(perf, sizeof perf, "%02d", p % (c.frames * c.perfs));
            if (std::strcmp(cvt->get_abs_perfs_string(&point, p), perf) != 0) FAIL() << p;
        }
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

TEST(keycode_label, StatedTextsAndTraps) {
    label_cvt_ptr k35  = make_label_cvt(LABEL_KEYCODE_35);
    label_cvt_ptr k353 = make_label_cvt(LABEL_KEYCODE_353);
    label_point point(0, k35.get());
    std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", "AB123456");
    EXPECT_STREQ(k35->get_abs_string(&point, 79036), "AB1234561234+15");
    EXPECT_STREQ(k35->get_abs_perfs_string(&point, 79036), "60");
    EXPECT_STREQ(k35->get_abs_perfs_string(&point, INVALID_SAMPLE), "");
    EXPECT_STREQ(k35->get_abs_string(&point, INVALID_SAMPLE), "???????????????");
    EXPECT_STREQ(k35->get_abs_string(&point, SAMPLE_PAST_END), ">>>>>>>>>>>>>>>");
    // Just below 0 the count and frame truncate to 0; a negative count or
    // frame offset is negative film.
    for (long32 s : {-1, -3}) EXPECT_STREQ(k35->get_abs_string(&point, s), "AB1234560000+00") << s;
    for (long32 s : {-4, -64, -65, -1000000, INT32_MIN})
        EXPECT_STREQ(k35->get_abs_string(&point, s), "NEGATIVE") << s;
    label_cvt *const k = k35.get(), *const k3 = k353.get();
    // clang-format off
    std::tuple<label_cvt*, char const*, long32> const parses[] = {
        {k, "AB1234561234+15", 79036}, {k, "AB123456123415", 79036}, {k, "AB1234561234&15", 79036},
        {k, "AB1234561234 +15", 79036}, {k, "AB1234561234", 78976}, {k, "", INVALID_SAMPLE},
        {k, "AB123456__34+05", (34 * 16 + 5) * 4}, {k, "ZZZZZZZZ9999+15", (9999 * 16 + 15) * 4},
        {k, "AB1234561234+16", INVALID_SAMPLE}, {k, "AB1234561234+015", INVALID_SAMPLE},
        {k, "AB1234561234+", INVALID_SAMPLE}, {k, "AB123456-001+00", INVALID_SAMPLE},
        {k, "AB12345612", INVALID_SAMPLE}, {k, "AB1234561234   +1", INVALID_SAMPLE},
        {k3, "AB1234561234+01.2", 78978}, {k3, "AB1234560000+00.1", 0}, {k3, "X", INVALID_SAMPLE},
        {k3, "AB1234561234+01", INVALID_SAMPLE}};  // no phase digit: the frame is cut away
    // clang-format on
    for (auto const& [cvt, text, sample] : parses)
        EXPECT_EQ(cvt->get_abs_sample(text), sample) << text;
    EXPECT_EQ(k35->get_sample_span_from_packed_strings("AB123456123400", "AB123456123415"), 60);
    EXPECT_EQ(k35->get_abs_sample(static_cast<char const*>(nullptr)), INVALID_SAMPLE);

    label_point p353(0, k353.get());
    std::snprintf(p353.prefix_text, sizeof p353.prefix_text, "%s", "AB123456");
    EXPECT_STREQ(k353->get_abs_string(&p353, 78978), "AB1234561234+01.2");
    EXPECT_STREQ(k353->get_abs_string(&p353, 640000), "AB1234560000+00.1");
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
    std::pair<long32, char const*> const worked[] = {
        {0, "0000+00.1"},  {1, "0000+01.3"},  {2, "0000+01.2"}, {3, "0000+01.1"},
        {61, "0000+21.3"}, {62, "0001+00.3"}, {64, "0001+00.1"}};
    for (auto const& [p, tail] : worked)
        EXPECT_STREQ(k353->get_abs_string(&p353, p) + 8, tail) << p;
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
    whole.set_prefix(nullptr);
    EXPECT_STREQ(whole.prefix_text, "EF1234567890");
}

TEST(prefix_label, CountLengthIsClampedSoNothingOverruns) {
    keycode_35 bare;  // set_count_len has not run: prints and parses without faults
    label_point point(0, &bare);
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

}  // namespace
}  // namespace marlix
