#include "marlix/values/label.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/cvt/timecode_label.h"
#include "marlix/film/telecine_log.h"
#include "marlix/host/host_config.h"
#include "marlix/values/label_point.h"

namespace marlix {
namespace {

TEST(label_point, ConstructionNormalisesOutOfRangeArguments) {
    label_point const none;
    EXPECT_TRUE(none.type() == LABEL_DUMMY && none.is_valid() == 0 && none.get_sample() == 0);
    EXPECT_STREQ(none.text_buffer, "");

    EXPECT_EQ(label_point(-1, LABEL_PAL).get_sample(), 2159999);  // normalised
    EXPECT_EQ(label_point(5, static_cast<label_t>(99)).type(), LABEL_DUMMY);
    EXPECT_EQ(label_point(5, static_cast<label_cvt*>(nullptr)).type(), LABEL_DUMMY);

    label_point p(0, LABEL_PAL);
    p.set_sample(2.0);  // a time value, not normalised
    EXPECT_EQ(p.get_sample(), 50);
    p.set_sample(-50.0);
    EXPECT_EQ(label_point(p).get_sample(), -1250);  // the copy is not normalised again
    p += 1;
    EXPECT_EQ(p.get_sample(), 2158751);
    p -= 2158752;
    EXPECT_EQ(p.get_sample(), 2159999);
}

TEST(label_point, UsefulnessAndComparisons) {
    for (long32 s : {INVALID_SAMPLE, SAMPLE_PAST_END, SAMPLE_BEFORE_START, -7}) {
        label_point p(0, LABEL_FOOT_35);
        p.sample = s;
        EXPECT_TRUE(p.is_useful() == (s == -7) && p.is_valid() == 1) << s;
    }

    label_point tc(10, LABEL_PAL), key(20, LABEL_KEYCODE_35);
    EXPECT_TRUE(tc < key);  // types are not consulted by the ordering
    EXPECT_FALSE(key < label_point(20, LABEL_PAL));
    EXPECT_FALSE(tc == label_point(10, LABEL_NTSC));

    label_point a(64, LABEL_KEYCODE_35), b(64, LABEL_KEYCODE_35);
    std::snprintf(a.prefix_text, sizeof a.prefix_text, "%s", "AB123456");
    std::snprintf(b.prefix_text, sizeof b.prefix_text, "%s", "ab123456");
    EXPECT_TRUE(!(a == b) && a != b);  // prefix text compared with case
    label_point c(64, LABEL_PAL), d(64, LABEL_PAL);
    std::snprintf(c.prefix_text, sizeof c.prefix_text, "%s", "X");
    EXPECT_TRUE(c == d && !(c != d));  // timecode has no prefix

    label_point const sum = tc + key;  // of two types: no point
    EXPECT_TRUE(sum.get_sample() == 0 && sum.type() == LABEL_DUMMY && sum.is_valid() == 0);
    EXPECT_EQ((label_point(2159999, LABEL_PAL) + label_point(2, LABEL_PAL)).get_sample(), 1);
    EXPECT_EQ((label_point(1, LABEL_PAL) - label_point(2, LABEL_PAL)).get_sample(), 2159999);
}

TEST(label_point, CopyAndAssignmentDifferInTheirPrefixFlag) {
    label_point ro(64, LABEL_KEYCODE_35);
    ro.set_prefix_edittable(false);
    EXPECT_EQ(ro.current_template, &ro.converter->templates[1]);
    EXPECT_STREQ(ro.get_template().text, "~~~~~~~~9999+19");
    label_point const copy(ro);
    EXPECT_TRUE(copy.is_prefix_edittable() &&
                copy.current_template == &copy.converter->templates[0]);
    label_point assigned;
    assigned = ro;
    EXPECT_TRUE(!assigned.is_prefix_edittable() &&
                assigned.current_template == &ro.converter->templates[1]);
    assigned.set_type(LABEL_KEYCODE_16);  // the template follows the converter and the flag
    EXPECT_EQ(assigned.current_template, &get_static_label_cvt(LABEL_KEYCODE_16)->templates[1]);
}

TEST(label_point, ModifyCountLengthMovesDigitsBetweenPrefixAndSample) {
    // type, sample, prefix, digits asked, type and sample after; the prefix
    // text is never changed, and a remainder keeps its sign.
    std::tuple<label_t, long32, char const*, int, label_t, long32> const cases[] = {
        {LABEL_KEYCODE_35_5, 700000, "", 4, LABEL_KEYCODE_35_4, 60000},
        {LABEL_KEYCODE_35_4, 60000, "AB123451", 5, LABEL_KEYCODE_35_5, 700000},
        {LABEL_KEYCODE_35_4, 60000, "AB1234519999", 5, LABEL_KEYCODE_35_5, 700000},
        {LABEL_KEYCODE_35_4, 60000, "AB123412", 6, LABEL_KEYCODE_35_6, 60000 + 12 * 640000},
        {LABEL_KEYCODE_35_6, 60000 + 12 * 640000, "", 5, LABEL_KEYCODE_35_5, 1340000},
        {LABEL_KEYCODE_35_5, -700000, "", 4, LABEL_KEYCODE_35_4, -60000},
        {LABEL_KEYCODE_35, 64, "", 4, LABEL_KEYCODE_35, 64},  // counts 4 digits already
        {LABEL_KEYCODE_35, 64, "", 7, LABEL_KEYCODE_35, 64},
        {LABEL_KEYCODE_35_5, 64, "", 3, LABEL_KEYCODE_35_5, 64},
        {LABEL_PAL, 5, "", 5, LABEL_PAL, 5}};
    for (auto const& [type, sample, prefix, digits, after, moved] : cases) {
        label_point p(0, type);
        p.sample = sample;
        std::snprintf(p.prefix_text, sizeof p.prefix_text, "%s", prefix);
        p.modify_count_length(digits);
        EXPECT_TRUE(p.type() == after && p.get_sample() == moved) << type << " " << sample;
        EXPECT_STREQ(p.prefix_text, prefix);
    }
}

TEST(label_point, ConstrainPositiveAndHmsf) {
    // Timecode takes a negative sample within one day; other types keep it.
    std::tuple<label_t, long32, long32> const cases[] = {
        {LABEL_PAL, -1, 2159999},   {LABEL_PAL, -2160001, -1}, {LABEL_NTSC_DROP, -1, 2589407},
        {LABEL_KEYCODE_35, -1, -1}, {LABEL_PAL, 0, 0},         {LABEL_PAL, 5, 5}};
    for (auto const& [type, sample, constrained] : cases) {
        label_point p(0, type);
        p.sample = sample;
        p.constrain_positive();
        EXPECT_EQ(p.get_sample(), constrained) << type << " " << sample;
    }
    short h = 9, m = 9, s = 9, f = 9;
    label_point(93079, LABEL_PAL).get_hmsf(h, m, s, f);
    EXPECT_EQ(h * 1000000 + m * 10000 + s * 100 + f, 1020304);
    label_point(93079, LABEL_KEYCODE_35).get_hmsf(h, m, s, f);
    EXPECT_EQ(h + m + s + f, 0);
}

TEST(label_point, PrefixAndTextThroughTheConverter) {
    label_point p(0, LABEL_KEYCODE_35);
    p.set_sample("AB1234561234+15");
    EXPECT_EQ(p.get_sample(), 79036);
    EXPECT_STREQ(p.get_prefix(), "AB123456");
    EXPECT_STREQ(p.get_string(), "AB1234561234+15");
    EXPECT_STREQ(p.get_keep_string(), "AB1234561234+15");
    p.set_keep_sample("AB1234560000+01");
    EXPECT_EQ(p.get_sample(), 4);
    EXPECT_NEAR(label_point(50, LABEL_PAL).get_V2tc(), 2.0, 0);
}

// A label of a type alone is bounded, of the type's default length and
// pitch (its keep string shows them, below); of a point or a converter, not.
TEST(label, ConstructorsAndNaturalPitch) {
    EXPECT_EQ(label(label_point(0, LABEL_PAL)).bounded, 0);
    EXPECT_EQ(label(*get_static_label_cvt(LABEL_PAL)).bounded, 0);
    EXPECT_TRUE(get_invalid_label()->type() == LABEL_DUMMY &&
                get_invalid_label() == get_invalid_label());
    // clang-format off
    std::pair<label_t, double> const pitches[] = {
        {LABEL_NONE, 1.0}, {LABEL_INK, 1.0}, {LABEL_NTSC, 1001.0 / 30000},
        {LABEL_NTSC_DROP, 1001.0 / 30000}, {LABEL_TC_24, 1.0 / 24}, {LABEL_KEYCODE_35, 1.0 / 96},
        {LABEL_KEYCODE_353_6, 1.0 / 72}, {LABEL_TC_48, 1.0 / 48}, {LABEL_KEYCODE_352, 1.0 / 48},
        {LABEL_TC_50, 0.02}, {LABEL_TC_60, 1.0 / 60}, {LABEL_KEYCODE_658_120, 1.0 / 192},
        {LABEL_KEYCODE_655_80, 1.0 / 120}, {LABEL_KEYCODE_6510_120, 1.0 / 240},
        {LABEL_KEYCODE_6515_120, 1.0 / 360}, {LABEL_FILM_FRAMES, 1.0 / 24},
        // Footage and ink count perforations of their gauge too.
        {LABEL_FOOT_16, 1.0 / 24}, {LABEL_INK_16, 1.0 / 24}, {LABEL_FOOT_35, 1.0 / 96},
        {LABEL_INK_35, 1.0 / 96}, {LABEL_FOOT_353, 1.0 / 72}};
    // clang-format on
    for (auto const& [t, pitch] : pitches)
        EXPECT_DOUBLE_EQ(label::get_natural_pitch(t), pitch) << t;
    EXPECT_EQ(label::get_natural_pitch(static_cast<label_t>(42)), 1.0);
    // Every film type with a converter counts its samples at 24 frames a
    // second.
    for (int t = 0; t < label_type_count; ++t) {
        int const per_frame = film::geometry_of(static_cast<label_t>(t)).perfs_per_frame;
        if (per_frame > 0 && has_own_converter(static_cast<label_t>(t))) {
            EXPECT_DOUBLE_EQ(label::get_natural_pitch(static_cast<label_t>(t)) * 24 * per_frame,
                             1.0)
                << t;
        }
    }
}

TEST(label, BoundsAndTheirTexts) {
    label l(LABEL_PAL);
    l.set_start(90000);
    l.set_length(10);
    for (auto [r, text, perfs, sample] :
         {std::tuple{0, " 01:00:00.00", "", 90000}, std::tuple{10, " 01:00:00.10", "", 90010},
          std::tuple{11, ">>>>>>", ">>", SAMPLE_PAST_END},
          std::tuple{-1, "<<<<<<", "<<", SAMPLE_BEFORE_START},
          std::tuple{INVALID_SAMPLE, ">>>>>>", ">>", SAMPLE_PAST_END}}) {
        EXPECT_STREQ(l.get_string(r), text) << r;
        EXPECT_STREQ(l.get_perfs_string(r), perfs) << r;
        EXPECT_EQ(l.get_label_point(r).get_sample(), sample) << r;
    }
    EXPECT_EQ(l.get_smpte_string(11), 0u);
    EXPECT_EQ(l.get_smpte_string(4), 0x01000004u);
    EXPECT_EQ(l.get_unbounded_label_point(11).get_sample(), 90011);
    EXPECT_EQ(l.get_sample(90010), 10);
    EXPECT_EQ(l.get_sample(90011), INVALID_SAMPLE);
    EXPECT_EQ(l.get_posn(90011), invalid_position);
    EXPECT_EQ(l.sample_to_posn(INVALID_SAMPLE), invalid_position);
    EXPECT_TRUE(l.contains(90000) == 1 && l.contains(89999) == 0);
    EXPECT_EQ(l.get_abs_posn(11), invalid_position);
    EXPECT_NEAR(l.get_abs_posn_extrapolate(11), 3600.44, 1e-9);
    label_point other(90005, LABEL_NTSC);
    EXPECT_EQ(l.get_sample(other), INVALID_SAMPLE);
    EXPECT_EQ(l.contains(other), 0);
    EXPECT_STREQ(l.get_string(other), ">>>>>>");

    label open(label_point(0, LABEL_PAL));
    for (long32 r : {-5, 0, 5, 100000000, INVALID_SAMPLE}) {
        EXPECT_EQ(open.cmp(r), 0) << r;
        EXPECT_EQ(open.contains(r), 1) << r;
    }
}

TEST(label, PositionsWithTheirTolerances) {
    label l(LABEL_PAL);  // pitch 0.04, one sample a unit
    // clang-format off
    std::tuple<double, long32, long32> const cases[] = {
        {0.0399, 1, 0}, {0.0398, 0, 0}, {0.03995, 1, 1}, {-0.01, -1, -1}, {-0.0399, -1, -1},
        {-0.04008, -1, -2}, {-0.04 / 500, 0, 0}, {0.08, 2, 2}, {1e99, INVALID_SAMPLE, INVALID_SAMPLE},
        {1e12, INVALID_SAMPLE, INVALID_SAMPLE}, {-1e12, INVALID_SAMPLE, INVALID_SAMPLE},
    };
    // clang-format on
    for (auto const& [p, rel, abs] : cases)
        EXPECT_TRUE(l.posn_to_sample(p) == rel && l.abs_posn_to_sample(p) == abs) << p;
    EXPECT_EQ(l.posn_to_sample(std::nan("")), INVALID_SAMPLE);
    label feet(LABEL_FOOT_35);  // four samples a unit: whole frames, within 1/250 of a sample
    for (auto [frames, sample] : {std::pair{5.5, 4}, std::pair{7.997, 8}, std::pair{7.99, 4}})
        EXPECT_EQ(feet.posn_to_sample(frames / 96), sample) << frames;
    l.set_pitch(0.0);
    EXPECT_TRUE(l.posn_to_sample(1.0) == INVALID_SAMPLE &&
                l.abs_posn_to_sample(1.0) == INVALID_SAMPLE);
}

TEST(label, KeepStringsRoundTripForEveryType) {
    for (int t = 0; t < label_type_count; ++t) {
        for (long32 s : {0, 1, 4, 25, 93079, -1, -4, -2160001, 639999, 1234567, INVALID_SAMPLE,
                         SAMPLE_PAST_END, SAMPLE_BEFORE_START}) {
            for (int bounded : {0, 1}) {
                label l(static_cast<label_t>(t));
                std::snprintf(l.start.prefix_text, sizeof l.start.prefix_text, "%s",
                              "AB1234560000");
                l.set_start(s);
                char shown[label_point::text_capacity];  // the point holds what it prints
                std::snprintf(shown, sizeof shown, "%s", l.start.get_string());
                l.set_prefix(shown);
                l.set_length(static_cast<long32>(120 * (t + 1)));  // whole units of every type
                l.set_bounded(bounded);
                SCOPED_TRACE(std::to_string(t) + " at " + std::to_string(s));
                char first[label::keep_string_capacity];
                l.make_keep_string(first);
                label const read(first);
                char second[label::keep_string_capacity];
                read.make_keep_string(second);
                // A start the converter prints exactly (every timecode,
                // keycode and ink sample; whole frames of feet) comes back
                // byte for byte; any other is read as the label it prints.
                label_point probe(l.start);
                probe.set_keep_sample(l.start.get_keep_string());
                if (probe.sample == l.start.sample) {
                    EXPECT_STREQ(first, second);
                    EXPECT_EQ(read.get_start(), l.get_start());
                }
                label const again(second);
                char third[label::keep_string_capacity];
                EXPECT_STREQ(again.make_keep_string(third), second);
                EXPECT_EQ(read.type(), l.type());
                EXPECT_EQ(read.bounded, bounded);
                long32 const u = l.cvt()->samples_per_unit();
                EXPECT_EQ(read.get_length(), 120 * (t + 1) / u * u);
                if (read.type() != LABEL_DUMMY) {
                    EXPECT_EQ(read == l, probe.sample == l.start.sample);
                }
            }
        }
    }
}

TEST(label, KeepStringTexts) {
    configb store;
    label(LABEL_PAL).write_to_config(store, 3);
    char buffer[configb::in_buffer_size];
    ASSERT_EQ(store.in("LABEL3", buffer), 0);
    EXPECT_STREQ(buffer, "LABEL_REV:1 pal_label  00:00:00.00 100000000 0.0400000000 1");

    label feet(LABEL_FOOT_35);  // 4 samples a unit: the length is cut to whole units
    feet.set_length(10);
    label const back(static_cast<char*>(feet));
    EXPECT_TRUE(back.get_length() == 8 && back.get_pitch() == 0.0416666667 / 4);  // 10 decimals

    std::tuple<char const*, int, int, double, long32> const cases[] = {
        {"LABEL_REV:3 pal_label  10:00:00.00 250 0.04 1", 0, 3, 0.0, 100000000},
        {"LABEL_REV:0 pal_label  10:00:00.00 250 0.04 1", 0, 0, 0.0, 100000000},
        {"LABEL_REV", 0, 0, 0.0, 100000000},
        {"LABEL_REV:2 pal_label", 5, 2, 0.0, 100000000},               // no length field
        {"LABEL_REV:1 foot_35_label 0 3", LABEL_FOOT_35, 1, 0.0, 12},  // units, no pitch field
        {"REV:1 pal_label  10:00:00.00 250 0.04 1", 0, 1, 0.0, 100000000},
        {"LABEL_REV 1 pal_label 0 1 0.04 1", 0, 0, 0.0, 100000000},
        {"", 0, 1, 0.0, 100000000},
        {"LABEL_REV:1 no_such_label x 5 1 1", 0, 1, 1.0, 5},
        {"LABEL_REV:1 pal_label 0 99999999999999999999 0.04 1", 5, 1, 0.04, 2147483647},
        {"LABEL_REV:1 pal_label 0 -99999999999999999999 0.04 1", 5, 1, 0.04, -2147483647 - 1},
    };
    for (auto const& [text, type, revision, pitch, length] : cases) {
        label const r(text);
        EXPECT_TRUE((r.type() == LABEL_DUMMY ? 0 : r.type()) == type && r.revision == revision &&
                    r.get_pitch() == pitch && r.get_length() == length)
            << text;
    }
    EXPECT_EQ(label(static_cast<char const*>(nullptr)).revision, 1);
}

TEST(label, KeepStringsStayBoundedForHostilePitches) {
    double const pitches[] = {1e300, -1e300, 1e15, 123456789012345.0, std::nan(""), HUGE_VAL};
    for (double pitch : pitches) {
        label l(LABEL_KEYCODE_6515_120);
        l.set_pitch(pitch);
        l.set_start(static_cast<long32>(INT32_MAX));
        char text[label::keep_string_capacity];
        l.make_keep_string(text);
        EXPECT_LT(std::strlen(text), sizeof text);
        label const back(text);
        char again[label::keep_string_capacity];
        back.make_keep_string(again);
        EXPECT_STREQ(text, again) << pitch;
    }
    // The pitch times the samples a unit from 10^15 up is written with an
    // exponent, below it with ten decimals.
    label l(LABEL_KEYCODE_35);
    long32 const u = l.start.converter->samples_per_unit();
    ASSERT_TRUE(u > 0 && (u & (u - 1)) == 0);  // so 10^15 / u is exact
    for (double const spu : {1e15, std::nextafter(1e15, 0.0)}) {
        l.set_pitch(spu / u);
        char text[label::keep_string_capacity];
        EXPECT_EQ(std::strstr(l.make_keep_string(text), "e+") != nullptr, spu >= 1e15) << text;
    }
}

TEST(label, ContainsLabelIgnoresPrefixCase) {
    label a(LABEL_KEYCODE_35), b(LABEL_KEYCODE_35);
    std::snprintf(a.start.prefix_text, sizeof a.start.prefix_text, "%s", "AB123456");
    std::snprintf(b.start.prefix_text, sizeof b.start.prefix_text, "%s", "ab123456");
    a.set_start(64);
    b.set_start(128);
    a.set_length(640);
    b.set_length(64);
    EXPECT_EQ(a.contains(b), 1);
    b.set_length(640);
    EXPECT_EQ(a.contains(b), 0);  // runs past the end
    b.set_bounded(0);
    EXPECT_EQ(a.contains(b), 1);  // only its start counts
    std::snprintf(b.start.prefix_text, sizeof b.start.prefix_text, "%s", "CD123456");
    EXPECT_EQ(a.contains(b), 0);
}

TEST(label, AssignmentRebindsToTheSharedConverter) {
    pal_label own;
    label mine(own);
    mine.set_start(25);
    label copy;
    copy = mine;
    EXPECT_TRUE(copy.cvt() == get_static_label_cvt(LABEL_PAL) && copy.get_start() == 25);
    EXPECT_EQ(label(mine).cvt(), &own);  // the copy constructor keeps the converter

    label key(LABEL_KEYCODE_35);
    std::snprintf(key.start.prefix_text, sizeof key.start.prefix_text, "%s", "EF654321");
    key.revision = 2;
    label assigned;
    assigned = key;
    EXPECT_TRUE(std::string(assigned.start.prefix_text) == "EF6543210000" &&
                assigned.revision == 2 && label(key).revision == 1);
}

}  // namespace
}  // namespace marlix
