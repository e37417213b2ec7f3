#include "marlix/cvt/ink_label.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <tuple>
#include <utility>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/values/label_point.h"

namespace marlix {
namespace {

TEST(ink_label, EveryFrameOfTheCycleRoundTripsForBothGauges) {
    std::tuple<label_t, int, int> const gauges[] = {{LABEL_INK_35, 16, 4}, {LABEL_INK_16, 20, 1}};
    for (auto const& [type, frames, perfs] : gauges) {
        label_cvt_ptr cvt = make_label_cvt(type);
        SCOPED_TRACE(cvt->type_str());
        EXPECT_STREQ(cvt->templates[0].text, "????9999+19");
        EXPECT_STREQ(cvt->templates[1].text, "~~~~9999+19");
        label_point point(0, cvt.get());
        std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", "AB12");
        for (long32 count = 0, p = 0; count < 10000; ++count) {
            for (int frame = 0; frame < frames; ++frame, p += perfs) {
                char expected[32];
                std::snprintf(expected, sizeof expected, "AB12%04d+%02d", count, frame);
                char const* text = cvt->get_abs_string(&point, p);
                if (std::strcmp(text, expected) != 0) FAIL() << p << ": " << text;
                if (cvt->get_abs_sample(text) != p) FAIL() << p << " reads back wrong";
            }
        }
        long32 const cycle = 10000 * frames * perfs;
        EXPECT_STREQ(cvt->get_abs_string(&point, cycle), "AB120000+00");  // count wraps once
        label_cvt& base = *cvt;
        EXPECT_EQ(base.normalise_sample_unit(-perfs), cycle - perfs);
        // Just below 0: count 0, frame 0 while the frame truncates to 0.
        EXPECT_STREQ(cvt->get_abs_string(&point, -1), perfs == 1 ? "NEGATIVE" : "AB120000+00");
        EXPECT_STREQ(cvt->get_abs_string(&point, -perfs), "NEGATIVE");
    }
}

TEST(ink_label, TextNormalisationPadsAndCuts) {
    std::pair<char const*, char const*> const cases[] = {
        {"AB12 1234+15", "AB121234+15"}, {"1234+15", "00001234+15"},
        {"AB1234+15", "00AB1234+15"},    {"", "0000"},
        {"AB121234+15", "AB121234+15"},  {"ABCDEFGHIJKLMNOP", "ABCDJKLMNOP"},  // first 4 and last 7
        {"AB121234", "000AB121234"},
    };
    for (auto const& [text, normal] : cases) {
        char out[ink_label::normal_capacity];
        ink_label::normalise_text(text, out);
        EXPECT_STREQ(out, normal) << text;
    }
}

TEST(ink_label, ParsesAsStated) {
    label_cvt_ptr i35                                         = make_label_cvt(LABEL_INK_35);
    label_cvt_ptr i16                                         = make_label_cvt(LABEL_INK_16);
    std::tuple<label_cvt*, char const*, long32> const cases[] = {
        {i35.get(), "AB121234+15", 79036},
        {i35.get(), "AB12 1234+15", 79036},
        {i35.get(), "AB121234 15", 79036},
        {i35.get(), "AB121234+16", INVALID_SAMPLE},
        // Short texts are padded in front, which moves every position.
        {i35.get(), "AB121234+1", 135876},
        {i35.get(), "AB121234+", 77584},
        {i35.get(), "AB121234+-1", INVALID_SAMPLE},
        {i35.get(), "AB121234+015", 15036},  // cut to AB12234+015
        {i16.get(), "AB121234+20", INVALID_SAMPLE},
        {i16.get(), "AB121234+00", 24680},
        {i16.get(), "AB121234", INVALID_SAMPLE},
        {i16.get(), "", INVALID_SAMPLE},  // shorter than a prefix: no count
        {i35.get(), "12", INVALID_SAMPLE},
        {i35.get(), "1234", 78976},  // padded to 00001234: count 1234, frame 0

    };
    for (auto const& [cvt, text, sample] : cases)
        EXPECT_EQ(cvt->get_abs_sample(text), sample) << text;

    label_point point(0, i35.get());
    point.set_sample("1234+15");  // the prefix is taken from the padded text
    EXPECT_EQ(point.get_sample(), 79036);
    EXPECT_STREQ(point.prefix_text, "00001234");
    EXPECT_STREQ(point.get_prefix(), "0000");
}

}  // namespace
}  // namespace marlix
