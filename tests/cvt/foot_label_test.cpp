#include "marlix/cvt/foot_label.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/values/label_point.h"

namespace marlix {
namespace {

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
    label_cvt_ptr f35  = make_label_cvt(LABEL_FOOT_35);
    label_cvt_ptr f16  = make_label_cvt(LABEL_FOOT_16);
    label_cvt_ptr f353 = make_label_cvt(LABEL_FOOT_353);
    label_point point(0, f35.get());
    // clang-format off
    std::tuple<label_cvt*, char const*, long32> const cases[] = {
        {f35.get(), " 1234.15", 79036}, {f35.get(), "0012.20", 848}, {f35.get(), "12", 768},
        {f35.get(), "", 0}, {f35.get(), "junk", 0}, {f35.get(), "-0.1", -4},
        {f16.get(), "-0001.05", -45}, {f35.get(), " 1234+15", 79036},
        {f353.get(), " 1234+01.2", 78978}, {f353.get(), "-1234+01.2", -78978}, {f353.get(), "", 0},
        // Beyond 32 bits there is no footage to answer.
        {f35.get(), "99999999999999999999.00", INVALID_SAMPLE},
        {f353.get(), "99999999999999999999+00.1", INVALID_SAMPLE},
    };
    // clang-format on
    for (auto const& [cvt, text, sample] : cases)
        EXPECT_EQ(cvt->get_abs_sample(text), sample) << text;
    std::pair<long32, char const*> const prints[] = {
        {0, " 0000.00"},
        {-4, "-0000.01"},
        {-3, "-0000.00"},
        {INT32_MIN, "-54432.00"} /* 536870912 frames modulo 100 000 feet */,
        {INVALID_SAMPLE, "?????.??"}};
    for (auto const& [s, text] : prints) EXPECT_STREQ(f35->get_abs_string(&point, s), text) << s;
    EXPECT_EQ(f35->normalise_sample_unit(-5), -5);  // feet keep negative samples
}

TEST(film_frames_label, PrintsSixDigitsAndReadsANumber) {
    label_cvt_ptr ff = make_label_cvt(LABEL_FILM_FRAMES);
    label_point point(0, ff.get());
    EXPECT_STREQ(ff->get_abs_string(&point, 0), "000000");
    EXPECT_STREQ(ff->get_abs_string(&point, 12), "000012");
    EXPECT_STREQ(ff->get_abs_string(&point, -12), "-000012");
    EXPECT_STREQ(ff->get_abs_string(&point, 1234567), "1234567");
    EXPECT_STREQ(ff->templates[0].text, "-999999");
    EXPECT_EQ(ff->get_modulus(), 999999);
    std::pair<char const*, long32> const cases[] = {{"  -42", -42},
                                                    {"000012", 12},
                                                    {"12abc", 12},
                                                    {"", INVALID_SAMPLE},
                                                    {"abc", INVALID_SAMPLE},
                                                    {"99999999999", INVALID_SAMPLE},
                                                    {"-2147483648", INT32_MIN}};
    for (auto const& [text, sample] : cases) EXPECT_EQ(ff->get_abs_sample(text), sample) << text;
}

}  // namespace
}  // namespace marlix
