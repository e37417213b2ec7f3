#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "marlix/host/host_config.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/medium/medium_roll.h"

namespace marlix {
namespace {

MediumRollIdent id(int m, int g) {
    return MediumRollIdent(static_cast<MediumRollMedium>(m), static_cast<MediumRollGeneration>(g));
}

MediumRollIdent parse(char const* text, int family = 0) {
    MediumRollIdent out(MediumRollFilm, MediumRoll2ndGen);
    MediumRollId_from_string(text, out, static_cast<UserLabelType>(family));
    return out;
}

// Texts of up to four characters are checked exhaustively below; here,
// the film families' rule and the longer texts.
TEST(MediumRollId_from_string, ReadsIdentitiesByTheFamilyRule) {
    // text, family, medium, generation
    std::tuple<char const*, int, int, int> const cases[] = {
        {"2", 6, 10, 1},     {"2,3", 6, 2, 3},    {"4,0", 6, 10, 3}, {" 15,2", 0, 15, 2},
        {"123,1", 0, 12, 1}, {"15, 2", 0, 15, 2}, {"", 0, 0, 0}};
    for (auto const& [text, family, medium, generation] : cases) {
        MediumRollIdent const r = parse(text, family);
        EXPECT_TRUE(r.medium == medium && r.generation == generation) << text;
    }
    EXPECT_EQ(parse(nullptr).medium, 0);
}

TEST(MediumRollId_from_string, EveryShortTextParsesWithoutFault) {
    // Every text of one to four characters over the identity alphabet,
    // against the rule written out independently.
    constexpr char alphabet[] = "0123456789, -";
    constexpr int n           = sizeof alphabet - 1;
    for (int length = 1; length <= 4; ++length) {
        int count = 1;
        for (int i = 0; i < length; ++i) count *= n;
        for (int v = 0; v < count; ++v) {
            std::string text;
            for (int i = 0, k = v; i < length; ++i, k /= n) text += alphabet[k % n];
            int m = 0, g = 0;
            char comma     = 0;
            int const read = std::sscanf(text.c_str(), "%2d%c%1d", &m, &comma, &g);
            MediumRollIdent expected;
            if (read >= 1 && m >= 1 && m <= 40) {
                int gen = read == 3 && comma == ',' ? g : 0;
                int med = m;
                if (gen == 0) gen = m == 3 ? 2 : m == 4 ? 3 : 1;
                if (gen >= 1 && gen <= 5) expected = id(med, gen);
            }
            MediumRollIdent const got = parse(text.c_str());
            ASSERT_EQ(got.medium, expected.medium) << "'" << text << "'";
            ASSERT_EQ(got.generation, expected.generation) << "'" << text << "'";
        }
    }
}

// Reading these texts back is checked with every short text above.
TEST(MediumRollIdent, AllTextFormsOfEveryIdentity) {
    for (int m = 0; m <= 40; ++m) {
        for (int g = 0; g <= 5; ++g) {
            char text[medium_id_text_capacity];
            MediumRollId_to_string(text, id(m, g));
            EXPECT_EQ(std::string(text), std::to_string(m) + "," + std::to_string(g));
        }
    }
    for (auto [m, g, text] : {std::tuple{22, 3, "30p,2ndGen"}, std::tuple{40, 9, "med?,gen?"},
                              std::tuple{10, 2, "ink,1stGen"}, std::tuple{99, 1, "med?,anyGen"},
                              std::tuple{41, 1, "med?,anyGen"}})
        EXPECT_STREQ(MediumRollId_to_UserString(id(m, g)), text);
    EXPECT_STREQ(MediumRollId_name_str(), "MediumRollId");
    MediumRollMedium m = MediumRollFilm;
    EXPECT_STREQ(medium_name(MediumRollNone), "None");
    EXPECT_TRUE(find_medium("none", m) && m == MediumRollNone);
}

TEST(MediumRollIdent, PatternMatchInBothDirections) {
    int const cases[][5] = {
        // pattern, other, fits
        {1, 2, 15, 2, 1},  {1, 2, 15, 3, 0},  {15, 1, 17, 4, 1}, {15, 2, 17, 3, 0},
        {13, 1, 15, 2, 1}, {15, 1, 13, 2, 0}, {25, 1, 25, 3, 1}, {25, 1, 26, 1, 0},
        {1, 1, 0, 1, 0},   {0, 1, 15, 1, 0},  {14, 1, 30, 1, 1}, {30, 1, 14, 1, 1},
        {28, 1, 14, 2, 1}, {16, 1, 18, 1, 1}, {18, 1, 15, 1, 0}, {29, 1, 31, 1, 1},
        {33, 1, 32, 1, 1}, {36, 1, 34, 1, 1}, {37, 1, 35, 1, 1}, {35, 1, 34, 1, 0},
        {2, 1, 10, 1, 0},  {24, 1, 22, 5, 1}, {21, 3, 23, 3, 1}, {1, 1, 15, 0, 0},
        {15, 1, 14, 1, 0}};
    for (auto const& [pm, pg, om, og, fits] : cases)
        EXPECT_EQ(id(pm, pg).MediumRollId_fits_this(id(om, og)), fits)
            << pm << "," << pg << " ~ " << om << "," << og;
    for (int m = 1; m <= 40; ++m)
        for (int g = 1; g <= 5; ++g) EXPECT_EQ(id(1, 1).MediumRollId_fits_this(id(m, g)), 1);
}

TEST(MediumRoll, KeepStringsReelIdsAndTheStore) {
    // The keep string's text and its reading back show through the store below.
    MediumRoll film(MediumRollFilm, MediumRollAnyGen);
    film.set_reelid("A001");

    MediumRoll longer(film);
    longer.set_reelid(std::string(40, 'R').c_str());
    EXPECT_EQ(std::string(longer.get_reelid()), std::string(31, 'R'));

    MediumRoll a(MediumRoll24p, MediumRollAnyGen), b(MediumRoll24i, MediumRoll1stGen);
    a.set_reelid("R1");
    b.set_reelid("R1");
    EXPECT_EQ(a == b, 1);
    EXPECT_EQ(b == a, 0);  // the pattern (17, 2) refuses generation 1
    b.set_reelid("r1");
    EXPECT_EQ(a == b, 0);
    // Identities compare exactly, as 1 or 0.
    MediumRollIdent const any24p(MediumRoll24p, MediumRollAnyGen);
    EXPECT_TRUE((any24p != MediumRollIdent(MediumRoll24p, MediumRoll1stGen)) == 1 &&
                (any24p != any24p) == 0 && (any24p == any24p) == 1);

    // clang-format off
    std::tuple<char const*, int, int, char const*> const reads[] = {
        {"REV:2 MediumRollId:2,1 reelid:A001", 0, 0, ""},
        {"REV:1 Medium:2,1 reelid:A001", 0, 0, ""}, {"REV:1 MediumRollId:2,1", 2, 1, ""},
        {"REV:1 MediumRollId:2,1 reel:A", 2, 1, ""}, {"REV:1 MediumRollId:2,1 reelid:", 2, 1, ""},
        {"REV:1 MediumRollId:99 reelid:X", 0, 0, "X"},
        {"REV:1 MediumRollId:2,1 reelid:A B", 2, 1, "A"}, {"", 0, 0, ""}};
    // clang-format on
    for (auto const& [text, medium, generation, reel] : reads) {
        MediumRoll const m(text);
        EXPECT_TRUE(m.type().medium == medium && m.type().generation == generation) << text;
        EXPECT_STREQ(m.get_reelid(), reel) << text;
    }
    EXPECT_EQ(MediumRoll(static_cast<char const*>(nullptr)).is_valid(), 0);

    configb store;
    film.write_to_config(&store);
    EXPECT_STREQ(store.find("MediumRoll2,1"), "REV:1 MediumRollId:2,1 reelid:A001");
    EXPECT_STREQ(store.find("camreel"), "A001");
    MediumRoll video(MediumRollVideo, MediumRoll1stGen), copy(MediumRollVideo, MediumRoll2ndGen);
    video.set_reelid("T1");
    copy.set_reelid("T2");
    video.write_to_config(&store);
    copy.write_to_config(&store);
    EXPECT_STREQ(store.find("reelid"), "T1");
    EXPECT_STREQ(store.find("reelid1"), "T2");
    MediumRoll const stored(id(2, 1), &store);
    EXPECT_TRUE(stored.type() == id(2, 1) && std::string(stored.get_reelid()) == "A001");
    EXPECT_EQ(MediumRoll(id(4, 3), &store).is_valid() + MediumRoll(id(2, 1), nullptr).is_valid() +
                  invalid_MediumRoll()->is_valid() + get_invalid_MediumRollIdent().medium,
              0);
}

TEST(getMediumRollfromInputDetails, MediaOfEveryRateAndScan) {
    // Checked against the other tables: the editing medium of a picture runs
    // at its rate, in its scan (50 and 60 fps are progressive whatever the
    // scan), and its playout medium stands 13 after it.
    for (int rate = -1; rate <= 35; ++rate) {
        for (int scan = -1; scan <= 6; ++scan) {
            SCOPED_TRACE(std::to_string(rate) + " scan " + std::to_string(scan));
            auto const r               = static_cast<Tov::FrameRate>(rate);
            auto const sm              = static_cast<Tov::Image::ScanMode>(scan);
            MediumRollMedium const in  = getMediumRollfromInputDetails(sm, r);
            MediumRollMedium const out = getMediumRollfromOutputDetails(sm, r);
            Tov::PictureSettings const d{sm, r};
            EXPECT_TRUE(getMediumRollfromInputFormat(d) == in &&
                        getMediumRollfromOutputFormat(d) == out);
            if (!(rate >= 1 && rate <= 10 && rate != 6 && rate != 7)) {
                EXPECT_TRUE(in == 0 && out == 0 &&
                            getOutputMediumfromFrameRate(r) == MediumRollPlayout24p);
                continue;
            }
            EXPECT_TRUE(out == in + 13 && getFrameRatefromMedium(in) == r);
            EXPECT_EQ(mediumRollIsFrameProgressive(in), Tov::Image::isProgressive(sm) || rate >= 8);
            EXPECT_EQ(getOutputMediumfromFrameRate(r),
                      getMediumRollfromOutputDetails(Tov::Image::ScanMode_Progressive, r));
        }
    }
}

TEST(getFrameRatefromMedium, RateScanAndSampleOfEveryMedium) {
    for (int m = -1; m <= 42; ++m) {
        SCOPED_TRACE(m);
        auto const medium = static_cast<MediumRollMedium>(m);
        // Picture media 15..27 by rate and scan (p progressive, i interlaced,
        // d double-rate progressive); each playout medium stands 13 after its picture.
        static constexpr int rates[]  = {1, 2, 1, 2, 3, 3, 4, 5, 4, 5, 8, 9, 10};
        static constexpr char scans[] = "ppiipippiiddd";
        int const pic                 = m >= 28 && m <= 40 ? m - 13 : m;
        bool const known              = pic >= 15 && pic <= 27;
        int const rate                = known ? rates[pic - 15] : 0;
        bool const progressive        = known && scans[pic - 15] != 'i',
                   twice              = known && scans[pic - 15] == 'd';
        double const frame            = Tov::getFrameDuration(static_cast<Tov::FrameRate>(rate));
        EXPECT_TRUE(getFrameRatefromMedium(medium) == rate &&
                    mediumRollIsFrameProgressive(medium) == progressive &&
                    mediumIsDoubleRateProgressive(medium) == twice &&
                    getSampleDurationFromMedium(medium) == (progressive ? frame : frame * 0.5));
    }
}

TEST(getDefaultLabelTypeForMedium, FollowsTheConfiguration) {
    ScopedConfig restore;
    std::tuple<int, int, int> const rows[] = {
        {15, 8, 8},  {18, 8, 8},  {28, 8, 8}, {31, 8, 8},  {19, 5, 5},  {33, 5, 5},
        {21, 6, 6},  {24, 6, 6},  {37, 6, 6}, {25, 5, 31}, {38, 5, 31}, {26, 6, 32},
        {27, 6, 32}, {40, 6, 32}, {2, 0, 0},  {13, 0, 0},  {0, 0, 0},   {41, 0, 0}};
    for (auto const& [medium, by_default, for_rate] : rows) {
        auto const m = static_cast<MediumRollMedium>(medium);
        EXPECT_EQ(getDefaultLabelTypeForMedium(m), by_default) << medium;
        EXPECT_EQ(getLabelTypeForMediumFrameRate(m), for_rate) << medium;
    }
    configb::host().set("use_25fps_timecode_for_50P", "0", nullptr);
    EXPECT_TRUE(getDefaultLabelTypeForMedium(MediumRoll50p) == LABEL_TC_50 &&
                getDefaultLabelTypeForMedium(MediumRoll60p) == LABEL_NTSC);
    configb::host().set("use_30fps_timecode_for_60P", "0", nullptr);
    EXPECT_EQ(getDefaultLabelTypeForMedium(MediumRollPlayout60pM), LABEL_TC_60);
}

TEST(getDefaultEditMediumForProject, ProjectDefaults) {
    Tov::ScopedProject restore;
    std::tuple<int, int, int> const rows[] = {{3, 20, 33}, {4, 23, 37},  {5, 23, 37}, {8, 25, 33},
                                              {9, 26, 37}, {10, 26, 37}, {1, 17, 30}, {2, 17, 30},
                                              {6, 17, 30}, {0, 17, 30},  {32, 17, 30}};
    for (auto const& [rate, edit, playout] : rows) {
        Tov::ProjectSettings s;
        s.frame_rate = static_cast<Tov::FrameRate>(rate);
        Tov::CurrentProject::apply(s);
        EXPECT_EQ(getDefaultEditMediumForProject(s.frame_rate), edit) << rate;
        EXPECT_EQ(getDefaultEditMediumForProject(), edit) << rate;
        EXPECT_EQ(getDefaultEditPlayoutMediumForProject(), playout) << rate;
    }
}

}  // namespace
}  // namespace marlix
