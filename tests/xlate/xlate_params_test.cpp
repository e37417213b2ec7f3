#include "marlix/xlate/xlate_params.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "marlix/host/host_config.h"

namespace marlix {
namespace {

TEST(MPosn_Xlate_Params, InitSamplesTheProject) {
    Tov::ScopedProject restore;
    Tov::ProjectSettings s;
    s.frame_rate             = Tov::FrameRate_29_97;
    s.output_rate            = Tov::FrameRate_59_94;
    s.output_scan            = Tov::Image::ScanMode_InterlacedUpperFirst;
    s.in_camera_film_speed   = Tov::FrameRate_25;
    s.audio_sync_pulled_down = true;
    s.output_pulled_down     = true;
    Tov::CurrentProject::apply(s);
    MPosn_Xlate_Params const p;
    EXPECT_TRUE(p.transfer == transfer_frame_for_frame && p.enabled && p.sequence == 0 &&
                p.transfer_rate == 0 && p.video_medium == 0 && p.id == invalid_cookie &&
                !p.vidproj_24p_source);
    EXPECT_TRUE(p.project_rate == Tov::FrameRate_29_97 && p.cel_resolution == 1.0 / 30 &&
                p.output_rate == Tov::FrameRate_59_94 && p.output_has_1001 &&
                p.audio_sync_pulled_down && p.camera_fps == 25.0 && p.output_pulled_down);
    // A gearing sets the output and leaves the rest.
    MPosn_Xlate_Params const g(Tov::OutputGearing(Tov::FrameRate_25, false));
    EXPECT_TRUE(g.output_rate == Tov::FrameRate_25 && !g.output_has_1001 && !g.output_pulled_down &&
                g.transfer == transfer_frame_for_frame && g.video_medium == 0 &&
                g.audio_sync_pulled_down);
    MPosn_Xlate_Params l;
    l.init_for_labelgroup(transfer_cadence, 3);
    EXPECT_EQ(l.transfer, transfer_cadence);
    EXPECT_EQ(l.sequence, 3);
    EXPECT_EQ(l.transfer_rate, Tov::FrameRate_59_94);
    EXPECT_EQ(l.video_medium, MediumRoll60pM);  // the output format's editing medium
}

TEST(MPosn_Xlate_Params, SpecialisedInitialisers) {
    ScopedConfig restore_config;
    Tov::ScopedProject restore;
    MPosn_Xlate_Params p;
    p.transfer_rate      = Tov::FrameRate_30;
    p.video_medium       = MediumRoll30i;
    p.transfer           = transfer_cadence;
    p.sequence           = 4;
    p.output_pulled_down = false;
    p.init_to_default_playout_generation();  // phase 0 and pulled playout, the rest kept
    EXPECT_TRUE(p.sequence == 0 && p.output_pulled_down && p.transfer == transfer_cadence &&
                p.transfer_rate == Tov::FrameRate_30 && p.video_medium == MediumRoll30i);
    p.init_to_default_filmvid_conversion(Tov::FrameRate_25);
    EXPECT_EQ(p.transfer, transfer_frame_for_frame);
    EXPECT_EQ(p.transfer_rate, Tov::FrameRate_25);
    EXPECT_EQ(p.video_medium, MediumRoll25i);
    configb::host().set("default_film_video_conversion_pulldown", "2", nullptr);
    p.init_to_default_filmvid_conversion(Tov::FrameRate_29_97);
    EXPECT_EQ(p.transfer, transfer_cadence);
    EXPECT_EQ(p.video_medium, MediumRoll30i);
}

TEST(modify_sequence_to_playfile_std, MovesThePhaseWithinItsCycle) {
    std::tuple<transfer_type, Tov::FrameRate, int, int, int> const cases[] = {
        {transfer_cadence, Tov::FrameRate_30, 2, 7, 4},
        {transfer_cadence, Tov::FrameRate_25, 2, 7, 9},
        {transfer_cadence, Tov::FrameRate_50, 20, 7, 2},
        {transfer_frame_for_frame, Tov::FrameRate_30, 2, 7, 2},
        {transfer_cadence, Tov::FrameRate_30, 1, -3, -2},  // truncating remainder
        {transfer_cadence, Tov::FrameRate_30, 4, 2147483647, (4 + 2147483647LL) % 5},
    };
    for (auto const& [transfer, rate, sequence, n, expected] : cases) {
        MPosn_Xlate_Params p;
        p.transfer      = transfer;
        p.transfer_rate = rate;
        p.sequence      = sequence;
        p.modify_sequence_to_playfile_std(n);
        EXPECT_EQ(p.sequence, expected) << sequence << " + " << n;
    }
    MPosn_Conversion_Params q;
    EXPECT_EQ(q.standard, 3);
    q.modify_sequence_to_playfile_std(3);
    EXPECT_EQ(q.sequence, 0);  // no pulldown: unchanged
    q.pulldown = true;
    q.standard = 2;
    q.modify_sequence_to_playfile_std(27);
    EXPECT_EQ(q.sequence, 2);
    q.init_to_playout_generation();
    EXPECT_EQ(q.standard, 0);
    EXPECT_FALSE(q.active);
    q.init_to_default_filmvid_conversion();
    EXPECT_TRUE(q.active);
    EXPECT_EQ(q.variant, 1);
    q.init();
    q.init_to_default_filmvid_conversion();
    EXPECT_EQ(q.variant, 2);
}

}  // namespace
}  // namespace marlix
