#include "marlix/medium/medium_mapping.h"

#include <gtest/gtest.h>

#include "marlix/host/host_config.h"

namespace marlix {
namespace {

TEST(getMediumRollfromInputDetails, MediaOfEveryRateAndScan) {
    struct {
        int rate, in_p, in_i, out_p, out_i;
    } const rows[] = {{1, 15, 17, 28, 30}, {2, 16, 18, 29, 31},  {3, 19, 20, 32, 33},
                      {4, 21, 23, 34, 36}, {5, 22, 24, 35, 37},  {8, 25, 25, 38, 38},
                      {9, 26, 26, 39, 39}, {10, 27, 27, 40, 40}, {0, 0, 0, 0, 0},
                      {6, 0, 0, 0, 0},     {7, 0, 0, 0, 0},      {11, 0, 0, 0, 0},
                      {31, 0, 0, 0, 0}};
    for (auto const& r : rows) {
        auto const rate = static_cast<Tov::FrameRate>(r.rate);
        for (int scan = -1; scan <= 6; ++scan) {
            SCOPED_TRACE(std::to_string(r.rate) + " scan " + std::to_string(scan));
            auto const s = static_cast<Tov::Image::ScanMode>(scan);
            bool const p = scan == 3 || scan == 4;
            EXPECT_EQ(getMediumRollfromInputDetails(s, rate), p ? r.in_p : r.in_i);
            EXPECT_EQ(getMediumRollfromOutputDetails(s, rate), p ? r.out_p : r.out_i);
            Tov::PictureSettings const d{s, rate};
            EXPECT_EQ(getMediumRollfromInputFormat(d), p ? r.in_p : r.in_i);
            EXPECT_EQ(getMediumRollfromOutputFormat(d), p ? r.out_p : r.out_i);
        }
        int const out = r.out_p != 0 ? r.out_p : 28;
        EXPECT_EQ(getOutputMediumfromFrameRate(rate), out) << r.rate;
    }
}

TEST(getFrameRatefromMedium, RateScanAndSampleOfEveryMedium) {
    for (int m = -1; m <= 42; ++m) {
        SCOPED_TRACE(m);
        auto const medium = static_cast<MediumRollMedium>(m);
        int rate          = 0;
        bool progressive = false, twice = false;
        // Each playout medium 28..40 stands 13 after its picture medium.
        int const pic = m >= 28 && m <= 40 ? m - 13 : m;
        switch (pic) {
            case 15: rate = 1, progressive = true; break;
            case 16: rate = 2, progressive = true; break;
            case 17: rate = 1; break;
            case 18: rate = 2; break;
            case 19: rate = 3, progressive = true; break;
            case 20: rate = 3; break;
            case 21: rate = 4, progressive = true; break;
            case 22: rate = 5, progressive = true; break;
            case 23: rate = 4; break;
            case 24: rate = 5; break;
            case 25: rate = 8, progressive = twice = true; break;
            case 26: rate = 9, progressive = twice = true; break;
            case 27: rate = 10, progressive = twice = true; break;
            default: break;
        }
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
    struct {
        int medium, by_default, for_rate;
    } const rows[] = {{15, 8, 8},  {18, 8, 8},  {28, 8, 8}, {31, 8, 8},  {19, 5, 5},  {33, 5, 5},
                      {21, 6, 6},  {24, 6, 6},  {37, 6, 6}, {25, 5, 31}, {38, 5, 31}, {26, 6, 32},
                      {27, 6, 32}, {40, 6, 32}, {2, 0, 0},  {13, 0, 0},  {0, 0, 0},   {41, 0, 0}};
    for (auto const& r : rows) {
        auto const m = static_cast<MediumRollMedium>(r.medium);
        EXPECT_EQ(getDefaultLabelTypeForMedium(m), r.by_default) << r.medium;
        EXPECT_EQ(getLabelTypeForMediumFrameRate(m), r.for_rate) << r.medium;
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
    struct {
        int rate, edit, playout;
    } const rows[] = {{3, 20, 33}, {4, 23, 37}, {5, 23, 37}, {8, 25, 33}, {9, 26, 37}, {10, 26, 37},
                      {1, 17, 30}, {2, 17, 30}, {6, 17, 30}, {0, 17, 30}, {32, 17, 30}};
    for (auto const& r : rows) {
        Tov::ProjectSettings s;
        s.frame_rate = static_cast<Tov::FrameRate>(r.rate);
        Tov::CurrentProject::apply(s);
        EXPECT_EQ(getDefaultEditMediumForProject(s.frame_rate), r.edit) << r.rate;
        EXPECT_EQ(getDefaultEditMediumForProject(), r.edit) << r.rate;
        EXPECT_EQ(getDefaultEditPlayoutMediumForProject(), r.playout) << r.rate;
    }
}

}  // namespace
}  // namespace marlix
