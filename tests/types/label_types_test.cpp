#include "marlix/types/label_types.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "marlix/host/host_services.h"

namespace marlix {
namespace {

// Every written name is read back below; here, the names read but never
// written and the texts around a name.
TEST(edlstr_to_label_type, ReadsNamesAsTheCatalogueStatesThem) {
    // An empty key (" P") equals the first empty row of the table; a name is
    // judged on its first 11 characters.
    std::pair<char const*, int> const cases[] = {
        {"p24 rest", 8}, {"F35_4\t", 21}, {"FR", 30},        {"fr", 30},
        {"P 24", 5},     {"N D", 6},      {" P", 9},         {"\tND", 9},
        {"", 0},         {"X", 0},        {"BAD", 0},        {"P2", 0},
        {"I35\nP", 18},  {"ND\v", 7},     {"F6515_1200", 0}, {"F6515_120XYZW", 0}};
    for (auto const& [text, type] : cases) EXPECT_EQ(edlstr_to_label_type(text), type) << text;
    EXPECT_EQ(edlstr_to_label_type(nullptr), 0);
    EXPECT_EQ(edlstr_to_label_type(std::string(5000, 'F').c_str()), 0);
}

TEST(edlstr_to_label_type, EveryWrittenNameReadsBackExceptTheAliases) {
    for (int t = 0; t < label_type_count; ++t) {
        SCOPED_TRACE(t);
        std::string const name = label_type_to_edlstr(static_cast<label_t>(t));
        if (name == "BAD") continue;
        // 17 (ink_label) is written as I35, which reads back as 18.
        int const expected = t == LABEL_INK ? LABEL_INK_35 : t;
        EXPECT_EQ(edlstr_to_label_type(name.c_str()), expected);
        std::string lower = name;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(edlstr_to_label_type((lower + " trailing").c_str()), expected);
    }
    EXPECT_STREQ(label_type_to_edlstr(LABEL_FILM_FRAMES), "BAD");  // read as FR, never written
    EXPECT_STREQ(label_type_to_edlstr(LABEL_INK), "I35");
    EXPECT_STREQ(label_type_to_edlstr(static_cast<label_t>(42)), "BAD");
    EXPECT_STREQ(label_type_to_edlstr(static_cast<label_t>(-1)), "BAD");
}

TEST(edlstr_to_label_type, FamilyAndFilmFormsMapToTheGauge) {
    // clang-format off
    std::tuple<char const*, int, int> const cases[] = {
        {"F353", UserLabelInk, 18}, {"F353", UserLabelFeet, 16}, {"F353", UserLabelKeycode, 12},
        {"F352", UserLabelFeet, 0}, {"F352", UserLabelKeycode, 33}, {"P", UserLabelTimecode, 0},
        {"I16", UserLabelKeycode, 11}, {"i35", UserLabelFeet, 14}, {"F35_5", UserLabelInk, 18},
        {" P", UserLabelKeycode, 0}, {" P", UserLabelFeet, 0}, {" P", UserLabelInk, 0},
        {"F35", UserLabelAny, 0}, {"F35", UserLabelFilmFrames, 0}, {"F35", 99, 0},
    };
    // clang-format on
    for (auto const& [text, family, type] : cases)
        EXPECT_EQ(edlstr_to_label_type(text, static_cast<UserLabelType>(family)), type)
            << std::string(text) + " family " + std::to_string(family);
    std::pair<char const*, int> const film[] = {{"F35", 10}, {"F353_6", 29}, {"F6515_120", 41},
                                                {"I35", 0},  {"FR", 0},      {"P", 0},
                                                {" P", 0},   {"", 0}};
    for (auto const& [text, type] : film) EXPECT_EQ(edlstr_to_film_label_type(text), type) << text;
}

TEST(label_t_to_foot_label_t, GaugeMapsHaveTheirGaps) {
    // Every answer is a type of the asked family that maps to itself.
    for (int t = -3; t < label_type_count + 3; ++t) {
        auto const lt   = static_cast<label_t>(t);
        label_t const f = label_t_to_foot_label_t(lt), i = label_t_to_ink_label_t(lt),
                      k = label_t_to_key_label_t(lt);
        EXPECT_TRUE(
            (!f || (label_type_family(f) == UserLabelFeet && label_t_to_foot_label_t(f) == f)) &&
            (!i || (label_type_family(i) == UserLabelInk && label_t_to_ink_label_t(i) == i)) &&
            (!k || (label_type_family(k) == UserLabelKeycode && label_t_to_key_label_t(k) == k)))
            << t;
    }
    // The gaps: 16 and 17 have no ink type, 13 no foot type, 17 no keycode
    // type, and the 2/8-perforation and 65 mm stocks neither foot nor ink.
    std::tuple<int, int, int, int> const rows[] = {
        {16, 16, 0, 12},  {12, 16, 18, 12}, {17, 14, 0, 0}, {13, 0, 18, 10}, {18, 14, 18, 10},
        {19, 15, 19, 11}, {29, 16, 18, 29}, {33, 0, 0, 33}, {41, 0, 0, 41},  {9, 0, 0, 0}};
    for (auto const& [type, foot, ink, key] : rows) {
        auto const lt = static_cast<label_t>(type);
        EXPECT_TRUE(label_t_to_foot_label_t(lt) == foot && label_t_to_ink_label_t(lt) == ink &&
                    label_t_to_key_label_t(lt) == key)
            << type;
    }
}

TEST(UserType_matches, AnyMatchesEverythingNoneMatchesNothing) {
    int const any = UserLabelAny, none = UserLabelNone, tc = UserLabelTimecode, ink = UserLabelInk;
    int const cases[][3] = {{any, none, 1}, {none, any, 1}, {none, none, 0}, {tc, tc, 1},
                            {tc, ink, 0},   {none, tc, 0},  {ink, none, 0},  {ink, any, 1}};
    for (auto const& [a, b, match] : cases)
        EXPECT_EQ(UserType_matches(static_cast<UserLabelType>(a), static_cast<UserLabelType>(b)),
                  match)
            << a << "," << b;
}

TEST(label_type_to_TvStd, StandardsBothWays) {
    std::tuple<int, int, bool> const to_std[] = {
        {5, 3, false},  {6, 5, false},  {7, 5, true},  {8, 2, false}, {20, 6, false},
        {31, 8, false}, {32, 9, false}, {4, 0, false}, {0, 0, false}, {41, 0, false}};
    for (auto const& [type, rate, drop] : to_std) {
        SCOPED_TRACE(type);
        TCInf const s = label_type_to_TvStd(static_cast<label_t>(type));
        EXPECT_EQ(s.rate, rate);
        EXPECT_EQ(s.drop_frame, drop);
    }
    std::tuple<int, int, int> const from_std[] = {
        {1, 8, 8}, {2, 8, 8}, {6, 8, 8},  {7, 8, 8}, {3, 5, 5},  {8, 5, 5}, {4, 6, 7},
        {5, 6, 7}, {9, 6, 7}, {10, 6, 7}, {0, 6, 7}, {-1, 6, 7}, {33, 6, 7}};
    for (auto const& [rate, plain, drop] : from_std) {
        auto const r = static_cast<Tov::FrameRate>(rate);
        EXPECT_EQ(TvStd_to_label_type(TCInf{r, false}), plain) << rate;
        EXPECT_EQ(TvStd_to_label_type(TCInf{r, true}), drop) << rate;
    }
}

// Every project rate, with and without drop-frame, and every output rate.
TEST(getDefaultLabelTypeForProject, EveryProjectAndOutputRate) {
    Tov::ScopedProject restore;
    for (int rate = -1; rate <= 40; ++rate) {
        auto const r     = static_cast<Tov::FrameRate>(rate);
        bool const film  = rate == 1 || rate == 2 || rate == 6 || rate == 7;
        bool const pal   = rate == 3 || rate == 8;
        bool const slow  = rate == 2 || rate == 5 || rate == 7 || rate == 10;
        double const fps = rate == 2                 ? 23.976023976023978
                           : pal                     ? 25.0
                           : rate == 4 || rate == 9  ? 30.0
                           : rate == 5 || rate == 10 ? 29.970029970029973
                                                     : 24.0;
        int const type   = fps == 25.0 ? 5 : fps < 29 ? 8 : 6;
        EXPECT_EQ(getDefaultTimecodeFrameRate(r), fps) << rate;  // exact doubles
        EXPECT_EQ(getDefaultLabelTypeforFrameRate(r), type) << rate;
        for (bool drop : {false, true}) {
            Tov::ProjectSettings s;
            s.frame_rate          = r;
            s.drop_frame_timecode = drop;
            s.output_rate         = r;
            Tov::CurrentProject::apply(s);
            EXPECT_EQ(getDefaultLabelTypeForProject(), film ? 8 : pal ? 5 : drop ? 7 : 6) << rate;
            for (label_t t : {LABEL_NTSC, LABEL_NTSC_DROP})
                EXPECT_EQ(label_t_to_duration_label_t(t), slow ? LABEL_NTSC_DROP : LABEL_NTSC)
                    << rate;
            for (int t : {0, 5, 8, 10, 30, 41})
                EXPECT_EQ(label_t_to_duration_label_t(static_cast<label_t>(t)), t) << rate;
        }
    }
}

}  // namespace
}  // namespace marlix
