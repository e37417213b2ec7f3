#include "marlix/xlate/position_xlate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "marlix/host/host_config.h"
#include "marlix/medium/medium_mapping.h"

namespace marlix {
namespace {

using M = MediumRollMedium;
M m(int v) { return static_cast<M>(v); }

// Captures the diagnostics of a scope; standard output is left alone.
struct captured {
    std::string text;
    diagnostic_sink_record previous;
    captured() {
        previous = set_diagnostic_sink(
            [](char const* t, void* c) { static_cast<captured*>(c)->text += t; }, this);
    }
    ~captured() { set_diagnostic_sink(previous.sink, previous.context); }
};

Tov::ProjectSettings project(int rate, int output, bool pulled = false, int camera = 1) {
    Tov::ProjectSettings s;
    s.frame_rate           = static_cast<Tov::FrameRate>(rate);
    s.output_rate          = static_cast<Tov::FrameRate>(output);
    s.output_pulled_down   = pulled;
    s.in_camera_film_speed = static_cast<Tov::FrameRate>(camera);
    return s;
}

TEST(mPosn_Xlate, SharedStepsEqualMediaSignAndGenericMedia) {
    Tov::ScopedProject restore(project(1, 1));
    captured c;
    EXPECT_EQ(mPosn_Xlate(1e99, MediumRollFilm, MediumRollFilm), 1e99);
    EXPECT_EQ(mPosn_Xlate(3.25, m(5), m(5)), 3.25);  // outside the accepted set, still equal
    EXPECT_EQ(c.text,
              "mPosn_Xlate() - un-handled medium type - FROM<5> to<5>\nmPosn_Xlate() - un-handled "
              "medium type - from<5> TO<5>\n");
    c.text.clear();
    EXPECT_EQ(mPosn_Xlate(1e99, MediumRollFilm, MediumRollAudio), 1e99);
    EXPECT_EQ(c.text, "mPosn_Xlate():- invalid MediumPosn\n");
    for (double x : {0.5, 1.0, 7.25}) {
        for (auto [from, to] : {std::pair{MediumRollFilm, MediumRollTOVCel},
                                std::pair{MediumRollTOVCel, MediumRoll25i},
                                std::pair{MediumRollAudio, MediumRollTOVClock},
                                std::pair{MediumRoll30i, MediumRollFilm}}) {
            EXPECT_EQ(mPosn_Xlate(-x, from, to), -mPosn_Xlate(x, from, to))
                << x << " " << from << "->" << to;
        }
    }
    MPosn_Xlate_Params p;
    p.video_medium      = MediumRoll25i;
    p.sequence          = -1;
    double const direct = mPosn_Xlate(2.0, MediumRollFilm, MediumRoll25i, p, false);
    EXPECT_EQ(p.sequence, 0);
    EXPECT_EQ(mPosn_Xlate(2.0, MediumRollFilm, MediumRollVideo, p, false), direct);
    EXPECT_EQ(mPosn_Xlate(2.0, MediumRoll24PVideo, MediumRollFilm, p, false),
              mPosn_Xlate(2.0, MediumRoll24p, MediumRollFilm, p, false));
    EXPECT_EQ(mPosn_Xlate(2.0, MediumRollTOVCel, MediumRollPlayoutVideo, p, false),
              mPosn_Xlate(2.0, MediumRollTOVCel, MediumRollPlayout24p, p, false));  // 24p output
    p.sequence = -1;
    mPosn_Xlate(2.0, MediumRollFilm, MediumRollFilm, p, false);
    EXPECT_EQ(p.sequence, -1);  // equal media: the record is not touched
}

TEST(mPosn_Xlate, WorkedValues) {
    {
        Tov::ScopedProject restore(project(1, 3));
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, MediumRollTOVCel, MediumRollTOVClock), 0.96);
        EXPECT_DOUBLE_EQ(mPosn_Xlate(0.96, MediumRollTOVClock, MediumRollTOVCel), 1.0);
        EXPECT_DOUBLE_EQ(transform_CELtime_to_TOVtime(transform_TOVtime_to_CELtime(3.5)), 3.5);
        EXPECT_DOUBLE_EQ(mPosn_Xlate_CelToClock(1.0), 0.96);
        EXPECT_DOUBLE_EQ(mPosn_Xlate_ClockToCel(1.0, Tov::OutputGearing(Tov::FrameRate_30, false)),
                         1.25);
        for (int playout = 28; playout <= 40; ++playout) {
            EXPECT_EQ(mPosn_Xlate(2.5, MediumRollTOVClock, m(playout)), 2.5);
            EXPECT_EQ(mPosn_Xlate(2.5, m(playout), MediumRollTOVClock), 2.5);
        }
    }
    {
        Tov::ScopedProject restore(project(1, 1, false, 3));  // shot at 25 fps
        EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, MediumRollFilm, MediumRollAudio), 0.96);
    }
    {
        Tov::ScopedProject restore(project(4, 4));
        captured c;
        MPosn_Xlate_Params p;
        EXPECT_EQ(mPosn_Xlate(1.0, MediumRollTOVCel, MediumRoll25p, p, false), 1e99);
        EXPECT_EQ(mPosn_Xlate(-1.0, MediumRollTOVCel, MediumRoll25p, p, false), -1e99);
        EXPECT_EQ(
            c.text.find(
                "mPosn_Xlate(): Invalid source shot standard for project - cookie<invalid>\n"),
            0u);
        c.text.clear();
        EXPECT_EQ(mPosn_Xlate(1.0, MediumRollFilm, MediumRoll25p, p, false), 1e99);
        EXPECT_EQ(c.text,
                  "mPosn_Xlate(): Invalid film->vid conversion for project - cookie<invalid>\n");
    }
}

TEST(mPosn_Xlate, CadenceLegsAsStated) {
    Tov::ScopedProject restore(project(1, 1));
    MPosn_Xlate_Params p;
    p.transfer                = transfer_cadence;
    double const fields_3_2[] = {0, 2, 5, 7, 10};
    for (int k = 0; k < 5; ++k) {
        double const film = k / 24.0;
        EXPECT_NEAR(mPosn_Xlate(film, MediumRollFilm, MediumRoll30i, p, false) * 2 * 30,
                    fields_3_2[k], 1e-9)
            << k;
        double const rounded = k == 2 ? 6 : k == 3 ? 8 : fields_3_2[k];
        EXPECT_NEAR(mPosn_Xlate(film, MediumRollFilm, MediumRoll30i, p, true) * 2 * 30, rounded,
                    1e-9)
            << k;
    }
    Tov::ScopedProject pal(project(1, 3));
    MPosn_Xlate_Params q;
    q.transfer = transfer_cadence;
    for (int k = 0; k <= 24; ++k)
        EXPECT_NEAR(mPosn_Xlate(k / 24.0, MediumRollFilm, MediumRoll25p, q, false) * 25,
                    k == 24 ? 25 : k, 1e-9);
    q.project_rate = Tov::FrameRate_24;
    EXPECT_NEAR(mPosn_Xlate(24 / 25.0, MediumRoll25p, MediumRollFilm, q, false) * 24, 23, 1e-9);

    Tov::ScopedProject pulled(project(1, 4, true));
    int const film_of_field[] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
    for (int f = 0; f < 10; ++f)
        EXPECT_NEAR(mPosn_Xlate(f / 60.0, MediumRollPlayout30i, MediumRollTOVCel) * 24,
                    film_of_field[f], 1e-9)
            << f;
    Tov::ScopedProject pulled25(project(1, 3, true));
    EXPECT_NEAR(mPosn_Xlate(12 / 24.0, MediumRollTOVCel, MediumRollPlayout25i) * 50, 25, 1e-9);
    EXPECT_NEAR(mPosn_Xlate(24 / 24.0, MediumRollTOVCel, MediumRollPlayout25i) * 50, 50, 1e-9);
}

TEST(mPosn_Xlate, FilmAndVideoRoundTripThroughEveryCadence) {
    Tov::ScopedProject restore(project(1, 1));
    struct {
        int project_rate, camera;
        M video;
        int phases;
    } const cases[] = {
        {1, 1, MediumRoll25p, 25}, {1, 1, MediumRoll25i, 25}, {1, 1, MediumRoll30p, 5},
        {1, 1, MediumRoll30i, 5},  {1, 1, MediumRoll30iM, 5}, {1, 1, MediumRoll60p, 5},
        {1, 6, MediumRoll25p, 25}, {1, 6, MediumRoll25i, 25}, {1, 6, MediumRoll30p, 5},
        {1, 6, MediumRoll30i, 5},
    };
    for (auto const& c : cases) {
        Tov::ScopedProject s(project(c.project_rate, 1, false, c.camera));
        for (int phase = 0; phase < c.phases; ++phase) {
            // 48 fps film on 60 fields at phases 2 and 4: the cadence tables
            // count forward from A(r) and back from D(4) there, as printed.
            bool const printed_mismatch =
                c.camera == 6 && c.video == MediumRoll30i && (phase == 2 || phase == 4);
            if (printed_mismatch) continue;
            MPosn_Xlate_Params p;
            p.transfer = transfer_cadence;
            p.sequence = phase;
            for (int film = 0; film <= 10000; ++film) {
                for (int sign : {1, -1}) {
                    if (film == 0 && sign < 0) continue;  // -0 is 0
                    double const pos   = sign * film / 24.0;
                    double const video = mPosn_Xlate(pos, MediumRollFilm, c.video, p, false);
                    if (sign * video < 0) continue;  // the frame starts before the clip
                    double const back = mPosn_Xlate(video, c.video, MediumRollFilm, p, false);
                    if (c.camera == 6 && (c.video == MediumRoll25p || c.video == MediumRoll30p)) {
                        // Two film frames of 48 start in one video frame: both
                        // come back as the first of them.
                        ASSERT_NEAR(std::fabs(back - pos) * 24, 0, 1.0001)
                            << c.video << " phase " << phase << " film " << film;
                        ASSERT_NEAR(mPosn_Xlate(back, MediumRollFilm, c.video, p, false), video,
                                    1e-9);
                    } else {
                        ASSERT_NEAR(back * 24, pos * 24, 1e-6)
                            << c.video << " phase " << phase << " film " << film;
                    }
                }
            }
        }
    }
}

TEST(mPosn_Xlate, ImplementerDecisionsAreInverse) {
    // Clock and sound: the camera step of clock to sound undoes sound to clock.
    struct {
        int rate, output, transfer, camera;
        bool source24, synced;
    } const projects[] = {{3, 3, 3, 1, false, false}, {3, 3, 7, 1, false, false},
                          {4, 5, 3, 1, false, false}, {9, 10, 3, 6, false, false},
                          {4, 4, 7, 1, true, false},  {8, 8, 3, 6, true, true},
                          {1, 3, 3, 1, false, false}, {5, 5, 0, 1, false, false}};
    for (auto const& pr : projects) {
        Tov::ScopedProject s(project(pr.rate, pr.output, false, pr.camera));
        MPosn_Xlate_Params p;
        p.transfer               = static_cast<transfer_type>(pr.transfer);
        p.transfer_rate          = Tov::FrameRate_29_97;
        p.vidproj_24p_source     = pr.source24;
        p.audio_sync_pulled_down = pr.synced;
        double const clock       = mPosn_Xlate(10.0, MediumRollAudio, MediumRollTOVClock, p, false);
        EXPECT_NEAR(mPosn_Xlate(clock, MediumRollTOVClock, MediumRollAudio, p, false), 10.0, 1e-9)
            << pr.rate;
    }
    // Cel and 50p playout in a double-film project, and pulled 30/60 playout.
    for (auto const& [output, pulled, playout] :
         {std::tuple{8, false, MediumRollPlayout50p}, std::tuple{4, true, MediumRollPlayout30i},
          std::tuple{10, true, MediumRollPlayout60pM}}) {
        Tov::ScopedProject s(project(6, output, pulled));
        for (int frame = 0; frame < 500; ++frame) {
            double const cel = frame / 48.0;
            double const out = mPosn_Xlate(cel, MediumRollTOVCel, playout);
            ASSERT_NEAR(mPosn_Xlate(out, playout, MediumRollTOVCel) * 48, frame, 1e-6)
                << playout << " " << frame;
        }
    }
}

TEST(mPosn_Xlate, FailedFirstLegReportsTwice) {
    Tov::ScopedProject restore(project(4, 4));
    captured c;
    MPosn_Xlate_Params p;
    p.video_medium = MediumRoll25i;  // the other television family
    EXPECT_EQ(mPosn_Xlate(-1.0, MediumRollFilm, MediumRollTOVCel, p, false), -1e99);
    EXPECT_EQ(c.text,
              "mPosn_Xlate(): Invalid source shot standard for project - cookie<invalid>\n");
    c.text.clear();
    EXPECT_EQ(mPosn_Xlate(1.0, MediumRollFilm, MediumRollTOVClock, p, false),
              1e99);  // film, cel, clock
    EXPECT_EQ(c.text,
              "mPosn_Xlate(): Invalid source shot standard for project - "
              "cookie<invalid>\nmPosn_Xlate():- invalid "
              "MediumPosn\n");
}

TEST(mPosn_Xlate, EveryRouteOnAProjectMatrix) {
    captured c;
    int const rates[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 31, 32, 33, 34};
    for (int rate : rates) {
        for (bool pulled : {false, true}) {
            Tov::ScopedProject s(project(rate, rate == 0 ? 1 : rate, pulled));
            for (int from = 0; from <= 41; ++from) {
                for (int to = 0; to <= 41; ++to) {
                    MPosn_Xlate_Params p;
                    p.transfer = transfer_cadence;
                    p.video_medium =
                        getDefaultEditMediumForProject(static_cast<Tov::FrameRate>(rate));
                    double const x = mPosn_Xlate(1.5, m(from), m(to), p, false);
                    double const y = mPosn_Xlate(-1.5, m(from), m(to), p, false);
                    ASSERT_FALSE(std::isnan(x)) << rate << " " << from << "->" << to;
                    ASSERT_EQ(y, -x) << rate << " " << from << "->" << to;
                    if (from == to) {
                        ASSERT_EQ(x, 1.5);
                    }
                }
            }
        }
    }
}

TEST(celPosn_to_SampleNr, SampleNumbersAndCelPositions) {
    Tov::ScopedProject restore(project(3, 3));
    for (long32 n : {0, 1, -1, 12345, -987654, 2147483647, -2147483647 - 1})
        EXPECT_EQ(celPosn_to_SampleNr(sampleNr_to_CelPosn(n)), n) << n;
    EXPECT_EQ(celPosn_to_SampleNr(10.0 / 25 - 0.00005 / 25), 10);
    EXPECT_EQ(celPosn_to_SampleNr(10.0 / 25 - 0.0002 / 25), 9);
    EXPECT_EQ(celPosn_to_SampleNr(1e300), INVALID_SAMPLE);
    EXPECT_EQ(is_film_project(), 0);
    Tov::ScopedProject film(project(2, 2));
    EXPECT_EQ(is_film_project(), 0);
    Tov::ScopedProject film24(project(1, 1));
    EXPECT_EQ(is_film_project(), 1);
    Tov::ScopedProject film48(project(6, 6));
    EXPECT_EQ(is_film_project(), 1);
}

TEST(mPosn_Xlate, EntryPointsOverrideTheRate) {
    Tov::ScopedProject restore(project(1, 1));
    MPosn_Xlate_Params p;
    mPosn_Xlate(1.0, MediumRollFilm, MediumRollTOVCel, p, Tov::FrameRate_25);
    EXPECT_EQ(p.project_rate, Tov::FrameRate_25);
    EXPECT_EQ(p.cel_resolution, 0.04);
    mPosn_Xlate(1.0, MediumRollAudio, MediumRollTOVCel, p, Tov::FrameRate_30, cookie(1, 2, 3));
    EXPECT_TRUE(p.audio_sync_pulled_down);
    edit_label label(LABEL_PAL, MediumRollIdent(MediumRollAudio, MediumRoll2ndGen));
    EXPECT_EQ(mPosn_Xlate(1.0, MediumRollFilm, &label),
              mPosn_Xlate(1.0, MediumRollFilm, MediumRollAudio));
    EXPECT_EQ(mPosn_Xlate(1.0, MediumRollFilm, &label, Tov::FrameRate_24),
              mPosn_Xlate(1.0, MediumRollFilm, MediumRollAudio, Tov::FrameRate_24));
}

}  // namespace
}  // namespace marlix
