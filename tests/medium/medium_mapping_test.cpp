#include "marlix/medium/medium_mapping.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "marlix/host/host_config.h"

namespace marlix {
namespace {

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
            EXPECT_EQ(getMediumRollfromInputFormat(d), in);
            EXPECT_EQ(getMediumRollfromOutputFormat(d), out);
            bool const known = rate >= 1 && rate <= 10 && rate != 6 && rate != 7;
            if (!known) {
                EXPECT_EQ(in, 0);
                EXPECT_EQ(out, 0);
                EXPECT_EQ(getOutputMediumfromFrameRate(r), MediumRollPlayout24p);
                continue;
            }
            EXPECT_EQ(out, in + 13);
            EXPECT_EQ(getFrameRatefromMedium(in), r);
            bool const double_rate = rate >= 8;
            EXPECT_EQ(mediumRollIsFrameProgressive(in),
                      Tov::Image::isProgressive(sm) || double_rate);
            EXPECT_EQ(getOutputMediumfromFrameRate(r),
                      getMediumRollfromOutputDetails(Tov::Image::ScanMode_Progressive, r));
        }
    }
    EXPECT_EQ(getMediumRollfromInputDetails(Tov::Image::ScanMode_Progressive, Tov::FrameRate_30),
              MediumRoll30p);
    EXPECT_EQ(getMediumRollfromInputDetails(Tov::Image::ScanMode_Unknown, Tov::FrameRate_30),
              MediumRoll30i);
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
        EXPECT_EQ(getFrameRatefromMedium(medium), rate);
        EXPECT_EQ(mediumRollIsFrameProgressive(medium), progressive);
        EXPECT_EQ(mediumIsDoubleRateProgressive(medium), twice);
        double const frame = Tov::getFrameDuration(static_cast<Tov::FrameRate>(rate));
        EXPECT_EQ(getSampleDurationFromMedium(medium), progressive ? frame : frame * 0.5);
    }
    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(MediumRoll25i), 0.02);
    EXPECT_DOUBLE_EQ(getSampleDurationFromMedium(MediumRoll25p), 0.04);
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
    EXPECT_EQ(getDefaultLabelTypeForMedium(MediumRoll50p), LABEL_TC_50);
    EXPECT_EQ(getDefaultLabelTypeForMedium(MediumRoll60p), LABEL_NTSC);
    configb::host().set("use_30fps_timecode_for_60P", "0", nullptr);
    EXPECT_EQ(getDefaultLabelTypeForMedium(MediumRollPlayout60pM), LABEL_TC_60);
    configb::host().set("use_25fps_timecode_for_50P", "1", nullptr);
    EXPECT_EQ(getDefaultLabelTypeForMedium(MediumRoll50p), LABEL_PAL);
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
