#include "marlix/values/label_point.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <tuple>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/cvt/timecode_label.h"

namespace marlix {
namespace {

TEST(label_point, ConstructionNormalisesWhereStated) {
    label_point const none;
    EXPECT_EQ(none.type(), LABEL_DUMMY);
    EXPECT_EQ(none.is_valid(), 0);
    EXPECT_EQ(none.get_sample(), 0);

    EXPECT_EQ(label_point(-1, LABEL_PAL).get_sample(), 2159999);  // normalised
    EXPECT_EQ(label_point(-4, LABEL_KEYCODE_35).get_sample(), 639996);
    EXPECT_EQ(label_point(-4, LABEL_FOOT_35).get_sample(), -4);  // feet keep the sign
    EXPECT_EQ(label_point(5, static_cast<label_t>(99)).type(), LABEL_DUMMY);
    EXPECT_EQ(label_point(5, static_cast<label_cvt*>(nullptr)).type(), LABEL_DUMMY);

    label_point p(0, LABEL_PAL);
    p.set_sample(2.0);  // a time value, not normalised
    EXPECT_EQ(p.get_sample(), 50);
    p.set_sample(-50.0);
    EXPECT_EQ(p.get_sample(), -1250);
    label_point const copy(p);  // the copy is not normalised again
    EXPECT_EQ(copy.get_sample(), -1250);
    p += 1;
    EXPECT_EQ(p.get_sample(), 2158751);
    p -= 2158752;
    EXPECT_EQ(p.get_sample(), 2159999);
}

TEST(label_point, UsefulnessAndComparisons) {
    for (long32 s : {INVALID_SAMPLE, SAMPLE_PAST_END, SAMPLE_BEFORE_START}) {
        label_point p(0, LABEL_FOOT_35);
        p.sample = s;
        EXPECT_EQ(p.is_useful(), 0) << s;
        EXPECT_EQ(p.is_valid(), 1);
    }
    EXPECT_EQ(label_point(-7, LABEL_FOOT_35).is_useful(), 1);

    label_point tc(10, LABEL_PAL), key(20, LABEL_KEYCODE_35);
    EXPECT_TRUE(tc < key);  // types are not consulted by the ordering
    EXPECT_FALSE(key < label_point(20, LABEL_PAL));
    EXPECT_FALSE(tc == label_point(10, LABEL_NTSC));

    label_point a(64, LABEL_KEYCODE_35), b(64, LABEL_KEYCODE_35);
    std::snprintf(a.prefix_text, sizeof a.prefix_text, "%s", "AB123456");
    std::snprintf(b.prefix_text, sizeof b.prefix_text, "%s", "ab123456");
    EXPECT_FALSE(a == b);  // prefix text compared with case
    label_point c(64, LABEL_PAL), d(64, LABEL_PAL);
    std::snprintf(c.prefix_text, sizeof c.prefix_text, "%s", "X");
    EXPECT_TRUE(c == d);  // timecode has no prefix

    label_point const sum = tc + key;
    EXPECT_EQ(sum.get_sample(), 0);
    EXPECT_EQ(sum.type(), LABEL_DUMMY);
    EXPECT_EQ(sum.is_valid(), 0);
    label_point const day = label_point(2159999, LABEL_PAL) + label_point(2, LABEL_PAL);
    EXPECT_EQ(day.get_sample(), 1);
    label_point const back = label_point(1, LABEL_PAL) - label_point(2, LABEL_PAL);
    EXPECT_EQ(back.get_sample(), 2159999);
}

TEST(label_point, CopyAndAssignmentDifferInTheirPrefixFlag) {
    label_point ro(64, LABEL_KEYCODE_35);
    ro.set_prefix_edittable(false);
    EXPECT_EQ(ro.current_template, &ro.converter->templates[1]);
    EXPECT_STREQ(ro.get_template().text, "~~~~~~~~9999+19");
    label_point const copy(ro);
    EXPECT_TRUE(copy.is_prefix_edittable());
    EXPECT_EQ(copy.current_template, &copy.converter->templates[0]);
    label_point assigned;
    assigned = ro;
    EXPECT_FALSE(assigned.is_prefix_edittable());
    EXPECT_EQ(assigned.current_template, &ro.converter->templates[1]);
    assigned.set_type(LABEL_KEYCODE_16);  // the template follows the converter and the flag
    EXPECT_EQ(assigned.current_template, &get_static_label_cvt(LABEL_KEYCODE_16)->templates[1]);
}

TEST(label_point, ModifyCountLengthMovesDigitsBetweenPrefixAndSample) {
    label_point five(700000, LABEL_KEYCODE_35_5);
    five.modify_count_length(4);
    EXPECT_EQ(five.type(), LABEL_KEYCODE_35_4);
    EXPECT_EQ(five.get_sample(), 60000);

    label_point four(60000, LABEL_KEYCODE_35_4);
    std::snprintf(four.prefix_text, sizeof four.prefix_text, "%s", "AB123451");
    four.modify_count_length(5);
    EXPECT_EQ(four.type(), LABEL_KEYCODE_35_5);
    EXPECT_EQ(four.get_sample(), 700000);
    EXPECT_STREQ(four.prefix_text, "AB123451");  // the prefix text is not changed

    label_point six(60000, LABEL_KEYCODE_35_4);
    std::snprintf(six.prefix_text, sizeof six.prefix_text, "%s", "AB123412");
    six.modify_count_length(6);
    EXPECT_EQ(six.get_sample(), 60000 + 12 * 640000);
    six.modify_count_length(5);  // 6 -> 5 digits: remainder by 6400000
    EXPECT_EQ(six.get_sample(), (60000 + 12 * 640000) % 6400000);

    label_point plain(64, LABEL_KEYCODE_35);
    plain.modify_count_length(4);  // counts 4 digits already: nothing changes
    EXPECT_EQ(plain.type(), LABEL_KEYCODE_35);
    plain.modify_count_length(7);
    EXPECT_EQ(plain.type(), LABEL_KEYCODE_35);
    label_point tc(5, LABEL_PAL);
    tc.modify_count_length(5);
    EXPECT_EQ(tc.type(), LABEL_PAL);
    label_point neg(-700000, LABEL_KEYCODE_35_5);
    neg.sample = -700000;
    neg.modify_count_length(4);
    EXPECT_EQ(neg.get_sample(), -60000);  // remainder keeps the sign
}

TEST(label_point, ConstrainPositiveAndHmsf) {
    // Timecode takes a negative sample within one day; other types keep it.
    std::tuple<label_t, long32, long32> const cases[] = {{LABEL_PAL, -1, 2159999},
                                                         {LABEL_PAL, -2160001, -1},
                                                         {LABEL_NTSC_DROP, -1, 2589407},
                                                         {LABEL_KEYCODE_35, -1, -1}};
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

}  // namespace
}  // namespace marlix
