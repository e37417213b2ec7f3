#include "marlix/xlate/position_xlate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>

#include "marlix/host/host_config.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/values/edit_label.h"
#include "tests/support/captured_messages.h"

namespace marlix {
namespace {

using M = MediumRollMedium;
M m(int v) { return static_cast<M>(v); }
using captured = test_support::captured_messages;

// Short names for the media the tables name most.
constexpr M film = MediumRollFilm, audio = MediumRollAudio, clock = MediumRollTOVClock,
            cel = MediumRollTOVCel, out24p = MediumRollPlayout24p, out24pM = MediumRollPlayout24pM,
            out25p = MediumRollPlayout25p, out25i = MediumRollPlayout25i,
            out30p = MediumRollPlayout30p, out30pM = MediumRollPlayout30pM,
            out30i = MediumRollPlayout30i, out50p = MediumRollPlayout50p,
            out60pM = MediumRollPlayout60pM, v24p = MediumRoll24p, v24pM = MediumRoll24pM,
            v25p = MediumRoll25p, v25i = MediumRoll25i, v30p = MediumRoll30p, v30i = MediumRoll30i,
            v30iM = MediumRoll30iM, v50p = MediumRoll50p, v60p = MediumRoll60p;

// The core translation with the caller's record.
double xl(double x, M from, M to, MPosn_Xlate_Params& p, bool round_to_frame = false) {
    return mPosn_Xlate(x, from, to, p, round_to_frame);
}

Tov::ProjectSettings project(int rate, int output, bool pulled = false, int camera = 1) {
    Tov::ProjectSettings s;
    s.frame_rate           = static_cast<Tov::FrameRate>(rate);
    s.output_rate          = static_cast<Tov::FrameRate>(output);
    s.output_pulled_down   = pulled;
    s.in_camera_film_speed = static_cast<Tov::FrameRate>(camera);
    return s;
}

TEST(mPosn_Xlate, SharedStepsEqualMediaAndGenericMedia) {
    Tov::ScopedProject restore(project(1, 1));
    captured c;
    MPosn_Xlate_Params p;
    p.video_medium      = v25i;
    p.sequence          = -1;
    double const direct = xl(2.0, film, v25i, p);
    EXPECT_EQ(p.sequence, 0);
    EXPECT_EQ(xl(2.0, film, MediumRollVideo, p), direct);
    EXPECT_EQ(xl(2.0, MediumRoll24PVideo, film, p), xl(2.0, v24p, film, p));
    EXPECT_EQ(xl(2.0, cel, MediumRollPlayoutVideo, p), xl(2.0, cel, out24p, p));  // 24p output
    p.sequence = -1;
    xl(2.0, film, film, p);
    EXPECT_EQ(p.sequence, -1);  // equal media: the record is not touched
}

// Refusals: the invalid position with the sign of the input, and the
// messages, one for each failed step.
TEST(mPosn_Xlate, RefusalsAndTheirMessages) {
    captured c;
    std::string const shot =
        "mPosn_Xlate(): Invalid source shot standard for project - cookie<invalid>\n";
    std::string const invalid = "mPosn_Xlate():- invalid MediumPosn\n";
    std::string const film_vid =
        "mPosn_Xlate(): Invalid film->vid conversion for project - cookie<invalid>\n";
    std::tuple<int, M, M, M, double, double, std::string> const rows[] = {
        {4, film, v25p, MediumRollNone, 1.0, 1e99, film_vid},
        {4, film, v25p, MediumRollNone, 0.0, 1e99, film_vid},
        // The other television family as the film's video.
        {4, film, cel, v25i, -1.0, -1e99, shot},
        {4, film, clock, v25i, 1.0, 1e99, shot + invalid},
        {1, film, audio, MediumRollNone, 1e99, 1e99, invalid},
        {1, m(5), m(5), MediumRollNone, 3.25, 3.25,  // outside the accepted set, still equal
         "mPosn_Xlate() - un-handled medium type - FROM<5> to<5>\nmPosn_Xlate() - un-handled "
         "medium type - from<5> TO<5>\n"}};
    for (auto const& [rate, from, to, video, x, y, message] : rows) {
        Tov::ScopedProject s(project(rate, rate));
        MPosn_Xlate_Params p;
        p.video_medium = video;
        c.text.clear();
        EXPECT_EQ(xl(x, from, to, p), y) << from << "->" << to;
        EXPECT_EQ(c.text.rfind(message, 0), 0u) << c.text;
    }
}

// The single-rate project classes (rates 31..34) and a film project's
// sound, whose rules name the project or transfer rate.
TEST(mPosn_Xlate, ProjectRateRules) {
    captured c;
    constexpr double k = 1.001;
    auto const none = transfer_none, frame = transfer_frame_for_frame;
    int const r25 = Tov::FrameRate_25, r30 = Tov::FrameRate_30, r2997 = Tov::FrameRate_29_97;
    // project rate, from, to, transfer, transfer rate, position, result
    // clang-format off
    std::tuple<int, M, M, transfer_type, int, double, double> const rows[] = {
        {33, out30p, audio, none, r2997, 1.0, k}, {33, out30p, audio, none, r30, 1.0, 1.0},
        {33, out30pM, audio, none, r2997, 1.0, 1.0}, {33, out30pM, audio, none, r30, 1.0, 1 / k},
        {33, out30p, audio, frame, r2997, 1.0, 1.25}, {32, out25p, audio, none, r25, 1.0, 1.0},
        {33, out30pM, audio, frame, r2997, 1.0, 1 / k}, {31, out24p, audio, none, r25, 1.0, 0.96},
        {32, film, v25i, none, r25, 1.0, 0.96}, {33, film, v30i, none, r30, 1.0, 0.8},
        // Sound of a film project by its transfer rate (30: pulled down by default).
        {1, cel, audio, none, r25, 1.0, 0.96}, {1, cel, audio, none, r30, 1.0, 1.0},
        {1, cel, audio, none, r2997, 1.0, k}, {1, audio, cel, none, r25, 0.96, 1.0},
        {1, audio, cel, none, r30, 1.0, 1.0}, {1, audio, cel, none, r2997, k, 1.0},
        // Sound to clock of a video project without a transfer: the 1000/1001
        // step between the transfer rate and the output rate.
        {5, audio, clock, none, r30, 1.0, k}, {5, audio, clock, none, r2997, 1.0, 1.0},
        {4, audio, clock, none, r2997, 1.0, 1 / k},
        // ... and between sound and cel, the step of the transfer rate alone.
        {4, audio, cel, none, r2997, 1.0, 1 / k}, {4, cel, audio, none, r2997, 1.0, k},
        // Video to film counts whole video frames of the project rate.
        {32, v25i, film, none, r25, 310.0, 12 / 24.0},
        {33, v30i, film, none, r30, 310.0, 10 / 24.0},
        {32, v25p, film, frame, r25, 300.0, 12 / 24.0},
        // A single-rate project's cel frames become film frames one for one;
        // film to cel counts whole 24ths of film in cel frames of the project rate.
        {32, cel, film, none, r25, 2.0, 50 / 24.0}, {34, cel, film, none, r25, 0.5, 1.0},
        {32, film, cel, none, r25, 100.0, 4 / 25.0}, {34, film, cel, none, r25, 100.0, 4 / 48.0},
        // A video project shows its cel on a 24 playout as it is, and on the
        // 1000/1001 one at the slower clock.
        {4, cel, out24p, none, r30, 2.0, 2.0}, {4, cel, out24pM, none, r30, 2.0, 2.002},
        // A 48 fps film project not pulled plays out at 25 and 30 two of its frames
        // a playout frame.
        {6, cel, out25p, none, r25, 1.0, 0.96}, {6, cel, out30p, none, r30, 1.0, 0.8},
        // Sound to cel of the 25 and 30 project classes, frame for frame.
        {32, audio, cel, frame, r25, 1.0, 1.0}, {33, audio, cel, frame, r30, 1.0, 1.0},
        {32, v25i, cel, none, r25, 15000.0, 0.04}};
    // clang-format on
    for (auto const& [rate, from, to, transfer, transfer_rate, x, y] : rows) {
        Tov::ScopedProject s(project(rate, rate));
        MPosn_Xlate_Params p;
        p.transfer      = transfer;
        p.transfer_rate = static_cast<Tov::FrameRate>(transfer_rate);
        EXPECT_NEAR(xl(x, from, to, p), y, 1e-12)
            << rate << ": " << from << "->" << to << " transfer " << transfer << " at " << x;
    }
    // A film project played out frame for frame at 30 runs at 0.8 of its
    // speed, 1.001 slower again at 29.97; clock to sound undoes the same.
    for (auto [out, f] : {std::pair{Tov::FrameRate_30, 0.8}, {Tov::FrameRate_29_97, 0.8 * k}}) {
        Tov::ScopedProject s(project(1, out));
        MPosn_Xlate_Params p;
        EXPECT_NEAR(xl(1.0, cel, clock, p), f, 1e-12) << out;
        EXPECT_NEAR(xl(f, clock, cel, p), 1.0, 1e-12) << out;
        EXPECT_NEAR(xl(f, clock, audio, p), 1.0, 1e-12) << out;
    }
    // The 25 and 30 project classes take sound to cel as it is, and give
    // it back 25/24 and 1.25 longer.
    for (auto [rate, f] : {std::pair{32, 25 / 24.0}, {33, 1.25}}) {
        Tov::ScopedProject s(project(rate, rate));
        MPosn_Xlate_Params p;
        EXPECT_NEAR(xl(xl(1.0, audio, cel, p), cel, audio, p), f, 1e-12) << rate;
    }
    // A single-rate project's cel does not follow the camera's speed, as a
    // film project's would.
    Tov::ScopedProject s(
        project(Tov::FrameRate_Project24, Tov::FrameRate_Project24, false, Tov::FrameRate_25));
    MPosn_Xlate_Params p;
    EXPECT_NEAR(xl(2.0, cel, film, p), 2.0, 1e-12);
    // A camera within 1/10000 frame a second of 48 or 24 runs at exactly that.
    Tov::ScopedProject film24(project(1, 1));
    for (auto [fps, sound] : {std::pair{48.00005, 1.0}, {23.99995, 2.0}, {47.9998, 48 / 47.9998}}) {
        p.camera_fps = fps;
        EXPECT_NEAR(xl(2.0, film, audio, p), sound, 1e-15) << fps;
    }
}

// The picture a 25 or 30 fps video project was shot on: its own family,
// or a 24p picture where the project has a 24p source (at 25 fps only a
// 24p picture of 24 fps exactly). Cel to film goes through that check.
TEST(mPosn_Xlate, ShotStandardOfAVideoProject) {
    captured c;
    for (int rate : {3, 4}) {
        Tov::ScopedProject s(project(rate, rate));
        for (M video : {v24p, v24pM, v25i, v30i}) {
            for (bool source : {false, true}) {
                MPosn_Xlate_Params p;
                p.vidproj_24p_source = source;
                p.video_medium       = video;
                bool const ok        = rate == 3 ? video == v25i || (video == v24p && source)
                                                 : video == v30i || (video != v25i && source);
                EXPECT_EQ(xl(1.0, cel, film, p), ok ? (rate == 3 ? 25 / 24.0 : 1.25) : 1e99)
                    << rate << ": " << video << (source ? " from a 24p source" : "");
            }
        }
    }
}

TEST(mPosn_Xlate, CadenceLegsByTheirTables) {
    Tov::ScopedProject restore(project(1, 1));
    MPosn_Xlate_Params p;
    p.transfer = transfer_cadence;
    // 3:2 fields of film frames 0..4, and raised to whole frames.
    double const fields_3_2[] = {0, 2, 5, 7, 10}, rounded[] = {0, 2, 6, 8, 10};
    for (int k = 0; k < 5; ++k) {
        EXPECT_NEAR(xl(k / 24.0, film, v30i, p) * 60, fields_3_2[k], 1e-9) << k;
        EXPECT_NEAR(xl(k / 24.0, film, v30i, p, true) * 60, rounded[k], 1e-9) << k;
    }
    Tov::ScopedProject pal(project(1, 3));
    MPosn_Xlate_Params q;
    q.transfer = transfer_cadence;
    for (int k = 0; k <= 24; ++k)
        EXPECT_NEAR(xl(k / 24.0, film, v25p, q) * 25, k == 24 ? 25 : k, 1e-9) << k;
    q.project_rate = Tov::FrameRate_24;
    EXPECT_NEAR(xl(24 / 25.0, v25p, film, q) * 24, 23, 1e-9);

    // Single film pulled to playout: frame k holds three fields where k mod
    // 2 is 0 (3:2 on 30i) or k mod 12 is 0 (24 frames on 50 fields), two
    // otherwise; it starts on the first field of its run, and every field of
    // the run shows it.
    for (auto [output, playout, every, fps] : {std::tuple{4, out30i, 2, 60}, {3, out25i, 12, 50}}) {
        Tov::ScopedProject pulled(project(1, output, true));
        for (int k = 0, field = 0; k < 60; ++k) {
            EXPECT_NEAR(mPosn_Xlate(k / 24.0, cel, playout) * fps, field, 1e-9)
                << playout << " frame " << k;
            for (int end = field + (k % every == 0 ? 3 : 2); field < end; ++field)
                EXPECT_NEAR(mPosn_Xlate(field / double(fps), playout, cel) * 24, k, 1e-9)
                    << playout << " field " << field;
        }
    }
    // Double film pulled: 48 frames on 50 fields, frame n on field
    // n + 2(n div 48) + [n mod 48 > 0] + [n mod 48 > 25], field i back to
    // frame i - [i > 1] - [i > 25] of its group (so frame 25's field goes to
    // frame 24); 8 frames on 10 fields of 30i, none starting on fields 2 and
    // 6, which show the frame before.
    Tov::ScopedProject pulled25(project(6, 3, true));
    for (int n = 0; n < 150; ++n) {
        int const r = n % 48, i = n % 50, field = n + 2 * (n / 48) + (r > 0) + (r > 25);
        EXPECT_NEAR(mPosn_Xlate(n / 48.0, cel, out25i) * 50, field, 1e-9) << n;
        int const frame = 48 * (n / 50) + i - (i > 1) - (i > 25);
        EXPECT_NEAR(mPosn_Xlate(n / 50.0, out25i, cel) * 48, frame, 1e-9) << n;
    }
    Tov::ScopedProject pulled30(project(6, 4, true));
    for (int field = 0, frame = -1; field < 40; ++field) {
        bool const starts = field % 10 != 2 && field % 10 != 6;
        frame += starts;
        EXPECT_NEAR(mPosn_Xlate(field / 60.0, out30i, cel) * 48, frame, 1e-9) << field;
        if (starts) {
            EXPECT_NEAR(mPosn_Xlate(frame / 48.0, cel, out30i) * 60, field, 1e-9) << frame;
        }
    }
}

TEST(mPosn_Xlate, FilmAndVideoRoundTripThroughEveryCadence) {
    Tov::ScopedProject restore(project(1, 1));
    // camera, video, phases
    std::tuple<int, M, int> const cases[] = {
        {1, v25p, 25}, {1, v25i, 25}, {1, v30p, 5},  {1, v30i, 5}, {1, v30iM, 5},
        {1, v60p, 5},  {6, v25p, 25}, {6, v25i, 25}, {6, v30p, 5}, {6, v30i, 5}};
    for (auto const& [camera, medium, phases] : cases) {
        Tov::ScopedProject s(project(1, 1, false, camera));
        for (int phase = 0; phase < phases; ++phase) {
            // 48 fps film on 60 fields at phases 2 and 4: the cadence tables
            // count forward from A(r) and back from D(4) there.
            if (camera == 6 && medium == v30i && (phase == 2 || phase == 4)) continue;
            MPosn_Xlate_Params p;
            p.transfer = transfer_cadence;
            p.sequence = phase;
            for (int f = -10000; f <= 10000; ++f) {
                double const pos = f / 24.0, video = xl(pos, film, medium, p);
                if ((f < 0 ? -video : video) < 0) continue;  // the frame starts before the clip
                double const back = xl(video, medium, film, p);
                if (camera == 6 && (medium == v25p || medium == v30p)) {
                    // Two film frames of 48 start in one video frame: both
                    // come back as the first of them.
                    ASSERT_NEAR(std::fabs(back - pos) * 24, 0, 1.0001)
                        << medium << " phase " << phase << " film " << f;
                    ASSERT_NEAR(xl(back, film, medium, p), video, 1e-9);
                } else {
                    ASSERT_NEAR(back * 24, pos * 24, 1e-6)
                        << medium << " phase " << phase << " film " << f;
                }
            }
        }
    }
}

TEST(mPosn_Xlate, OppositeDirectionsAreInverse) {
    captured c;
    // Clock and sound: the camera step of clock to sound undoes sound to clock.
    // rate, output, transfer, camera, 24p source, sound sync pulled down
    std::tuple<int, int, int, int, bool, bool> const projects[] = {
        {3, 3, 3, 1, false, false},  {3, 3, 7, 1, false, false}, {4, 5, 3, 1, false, false},
        {9, 10, 3, 6, false, false}, {4, 4, 7, 1, true, false},  {8, 8, 3, 6, true, true},
        {1, 3, 3, 1, false, false},  {5, 5, 0, 1, false, false}};
    for (auto const& [rate, output, transfer, camera, source24, synced] : projects) {
        Tov::ScopedProject s(project(rate, output, false, camera));
        MPosn_Xlate_Params p;
        p.transfer               = static_cast<transfer_type>(transfer);
        p.transfer_rate          = Tov::FrameRate_29_97;
        p.vidproj_24p_source     = source24;
        p.audio_sync_pulled_down = synced;
        double const t           = xl(10.0, audio, clock, p);
        EXPECT_NEAR(xl(t, clock, audio, p), 10.0, 1e-9) << rate << " " << output;
    }
    // Cel and 50p playout in a double-film project, and pulled 30/60 playout.
    for (auto const& [output, pulled, playout] :
         {std::tuple{8, false, out50p}, {4, true, out30i}, {10, true, out60pM}}) {
        Tov::ScopedProject s(project(6, output, pulled));
        for (int frame = 0; frame < 500; ++frame) {
            double const out = mPosn_Xlate(frame / 48.0, cel, playout);
            ASSERT_NEAR(mPosn_Xlate(out, playout, cel) * 48, frame, 1e-6)
                << playout << " " << frame;
        }
    }
}

// Media by the time base they count in; a project states, for each, how
// many of its seconds one second of cel time is.
namespace rule {
enum cls { film, audio, clock, cel, v24, v24M, v25, v30, v30M, p24, p24M, p25, p30, p30M, n_cls };
// The class of each accepted medium 2..40 (n_cls for the others).
cls class_of(int m) {
    static constexpr cls by_medium[] = {
        n_cls, n_cls, film, n_cls, audio, n_cls, n_cls, clock, n_cls, n_cls, film, film, cel, n_cls,
        n_cls, v24,   v24M, v24,   v24M,  v25,   v25,   v30,   v30M,  v30,   v30M, v25,  v30, v30M,
        p24,   p24M,  p24,  p24M,  p25,   p25,   p30,   p30M,  p30,   p30M,  p25,  p30,  p30M};
    return by_medium[m];
}
}  // namespace rule
constexpr double FAIL = -1, OPEN = -2;  // the project refuses the medium / one way only

// Every accepted pair of media, in four projects, frame for frame transfer,
// against an independent statement of the rules: each medium's scale
// against cel time, worked out by hand from the rule table. A direct rule
// and the two legs through cel agree wherever the rules are consistent;
// the clock and playout identities are direct rules of their own.
TEST(mPosn_Xlate, EveryRouteAgainstTheRuleTable) {
    constexpr double k = 1.001, q = 0.96, r = 1.25;
    struct {
        int rate, output, camera;
        M video;
        double scale[rule::n_cls];  // film, audio, clock, cel, v24, v24M, v25, v30, v30M, p24..p30M
        // clang-format off
    } const projects[] = {
        // 24 fps film shown at 25 fps without pulldown: the clock runs 0.96.
        {1, 3, 1, v25i, {1, 1, q, 1, 1, k, q, 0.8, 0.8 * k, 1, k, q, 0.8, 0.8 * k}},
        // 25 fps video shot at 24: sound runs 25/24 of video time.
        {3, 3, 1, v25i,
        {1 / q, 1 / q, 1, 1, 1 / q, k / q, 1, FAIL, FAIL, OPEN, OPEN, 1, FAIL, FAIL}},
        // 30 fps video shot at 24.
        {4, 4, 1, v30i, {r, r, 1, 1, r, r * k, FAIL, 1, k, OPEN, OPEN, FAIL, 1, k}},
        // 60 fps video shot at 48: film frames are 1/48 s, counted at 24.
        {9, 9, 6, v60p, {2.5, r, 1, 1, r, r * k, OPEN, 1, k, OPEN, OPEN, FAIL, 1, k}},
    };
    // clang-format on
    auto playout = [](int m) { return m >= 28 && m <= 40; };
    auto family  = [](int m) { return m <= 31 ? 24 : (m == 32 || m == 33 || m == 38) ? 25 : 30; };
    int const accepted[] = {2,  4,  7,  10, 11, 12, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                            25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40};
    double const x       = 300300;  // whole frames and fields at every rate, before and after
    captured c;
    for (auto const& pr : projects) {
        Tov::ScopedProject s(project(pr.rate, pr.output, false, pr.camera));
        for (int from : accepted) {
            for (int to : accepted) {
                if (from == to) continue;
                SCOPED_TRACE(testing::Message() << pr.rate << ": " << from << "->" << to);
                MPosn_Xlate_Params p;
                p.video_medium = pr.video;
                double const a = pr.scale[rule::class_of(from)], b = pr.scale[rule::class_of(to)];
                double const y = xl(x, m(from), m(to), p);
                ASSERT_EQ(xl(-x, m(from), m(to), p), -y);
                bool const identity = (from == 7 && playout(to)) || (to == 7 && playout(from)) ||
                                      (playout(from) && playout(to) && family(from) == family(to));
                // Sound from video or 24 fps playout: no rule looks at the project.
                bool const unchecked = to == 4 && ((from >= 15 && from <= 27) || from <= 31);
                if (identity) {
                    ASSERT_EQ(y, x);
                } else if (a == OPEN || b == OPEN || (a == FAIL && unchecked)) {
                    continue;
                } else if (a == FAIL || b == FAIL) {
                    ASSERT_EQ(y, 1e99);
                } else {
                    ASSERT_NEAR(y, x * b / a, 1e-9 * x);
                }
            }
        }
    }
}

// Sound in a 24 fps film project. To the clock, by output rate and
// pulldown: video output runs the clock at 0.96 or 0.8 of film time, a
// pulled output at film time, and 1000/1001 outputs 1.001 slower again.
TEST(mPosn_Xlate, SoundOfFilmProjects) {
    constexpr double k                            = 1.001;
    std::tuple<int, bool, double> const outputs[] = {
        {1, false, 1.0}, {4, false, 0.8}, {5, false, 0.8 * k}, {4, true, 1.0}, {5, true, k}};
    for (auto [output, pulled, factor] : outputs) {
        Tov::ScopedProject s(project(1, output, pulled));
        MPosn_Xlate_Params p;
        for (double const x : {1.0, 3600.0})
            EXPECT_NEAR(xl(x, audio, clock, p), x * factor, 1e-9) << output << " " << pulled;
    }
    // From playout: a transfer at a 1000/1001 rate slows the sound by 1.001
    // only where nothing was transferred; a transfer carries its own rate.
    // Checked as the ratio between transfer rates 30 and 29.97.
    Tov::ScopedProject s(project(1, 4));
    for (M const from : {out24p, out24pM, out25p, out30p, out30pM}) {
        for (transfer_type const t : {transfer_none, transfer_frame_for_frame}) {
            MPosn_Xlate_Params p;
            p.transfer         = t;
            p.transfer_rate    = Tov::FrameRate_30;
            double const plain = xl(3000, from, audio, p);
            p.transfer_rate    = Tov::FrameRate_29_97;
            double const slow  = xl(3000, from, audio, p);
            ASSERT_LT(plain, 1e99) << from << " " << t;
            EXPECT_NEAR(slow, plain * (t == transfer_none ? 1.001 : 1), 1e-9) << from << " " << t;
        }
    }
    // From playout it takes 0.8 (NTSC transfers) or 0.96 (PAL) only where
    // video_in_film_pulldown does not hold; unset, it holds for NTSC
    // transfers and not for PAL ones.
    ScopedConfig restore;
    for (M const from : {out24p, out25p, out30p}) {
        for (auto const& [rate, factor, by_default] :
             {std::tuple{Tov::FrameRate_30, 0.8, true}, {Tov::FrameRate_25, 0.96, false}}) {
            MPosn_Xlate_Params p;
            p.transfer       = transfer_none;
            p.transfer_rate  = rate;
            auto const sound = [&](char const* setting) {
                if (setting == nullptr)
                    configb::host().erase("video_in_film_pulldown");
                else
                    configb::host().set("video_in_film_pulldown", setting, nullptr);
                return xl(3000, from, audio, p);
            };
            double const on = sound("1"), off = sound("0");
            EXPECT_NEAR(off, on * factor, 1e-9) << from << " " << rate;
            EXPECT_EQ(sound(nullptr), by_default ? on : off) << from << " " << rate;
        }
    }
}

// Pairs of rules that undo each other, on frame-aligned positions: the
// first leg scales by its factor and the way back returns the
// position exactly.
TEST(mPosn_Xlate, InverseRulesRoundTrip) {
    constexpr double k = 1.001;
    // rate, output, camera, video, from, to, step, factor
    // clang-format off
    std::tuple<int, int, int, M, M, M, double, double> const rows[] = {
        {1, 3, 1, v25i, cel, clock, 1 / 24.0, 0.96}, {1, 1, 1, v24p, audio, v24pM, 1 / 24.0, k},
        {1, 4, 1, v30i, audio, out30pM, 1 / 24.0, 0.8 * k},
        {2, 2, 1, v24pM, film, cel, 1 / 24.0, 1},
        {3, 3, 1, v25i, audio, cel, 1 / 24.0, 0.96}, {3, 3, 1, v25i, film, v25i, 1 / 24.0, 0.96},
        {3, 3, 1, v25i, cel, v50p, 1 / 50.0, 1},     {8, 8, 6, v50p, audio, out50p, 1 / 48.0, 0.96},
        {4, 4, 1, v30i, audio, out30p, 1 / 24.0, 0.8}, {4, 4, 1, v30i, cel, v30iM, 1 / 60.0, k},
        {4, 4, 1, v30iM, film, cel, 1 / 24.0, 0.8},  {9, 9, 6, v60p, film, audio, 1 / 24.0, 0.5},
        // 48 fps film projects: a film frame shot at 24 is two project frames.
        {6, 6, 1, v50p, film, cel, 1 / 24.0, 1},     {6, 6, 6, v50p, film, cel, 1 / 24.0, 0.5},
        // 48 fps film transferred frame for frame to 25: two film frames a video frame.
        {1, 3, 6, v25i, v25i, film, 1 / 25.0, 25.0 / 12}};
    // clang-format on
    for (auto const& [rate, output, camera, video, a, b, step, factor] : rows) {
        Tov::ScopedProject s(project(rate, output, false, camera));
        MPosn_Xlate_Params p;
        p.video_medium = video;
        for (int n = 0; n <= 2000; ++n) {
            double const x = n * step, y = xl(x, a, b, p);
            ASSERT_NEAR(y, x * factor, 1e-9) << rate << " " << a << "->" << b << " " << n;
            ASSERT_NEAR(xl(y, b, a, p), x, 1e-9) << rate << " " << b << "->" << a << " " << n;
        }
    }
}

// Positions without a frame number: NaN and the infinities, and finite
// positions beyond the 32-bit frame range, give the invalid position from
// step 5 on, identity routes included; equal media return the input.
TEST(mPosn_Xlate, PositionsOutsideTheFrameRangeFail) {
    Tov::ScopedProject s(project(1, 1));
    captured c;
    double const inf = HUGE_VAL, nan = std::nan("");
    auto const none = transfer_none, cadence = transfer_cadence;
    std::tuple<M, M, transfer_type> const routes[] = {{film, v30i, cadence},
                                                      {film, audio, none},
                                                      {clock, out24p, none},
                                                      {cel, out30i, cadence},
                                                      {out25i, cel, cadence}};
    std::pair<double, double> const inputs[]       = {
              {nan, 1e99}, {inf, 1e99}, {-inf, -1e99}, {1e300, 1e99}, {-3.6e7, -1e99}};
    for (auto const& [from, to, transfer] : routes) {
        for (bool pulled : {false, true}) {
            Tov::ScopedProject out(project(1, 4, pulled));
            MPosn_Xlate_Params p;
            p.transfer = transfer;
            for (auto [in, out_value] : inputs) {
                c.text.clear();
                EXPECT_EQ(xl(in, from, to, p), out_value) << in << " " << from << "->" << to;
                EXPECT_EQ(c.text.rfind("mPosn_Xlate(): position ", 0), 0u) << c.text;
                EXPECT_NE(c.text.find(" outside the translation's range"), std::string::npos);
            }
            EXPECT_TRUE(std::isnan(xl(nan, from, from, p)));
        }
    }
    // The range's ends themselves translate.
    double const end = 2147483647.0 / 60;
    for (double x : {end, -end}) EXPECT_EQ(mPosn_Xlate(x, clock, out24p), x) << x;
    // A finite input whose result leaves the range fails as well.
    Tov::ScopedProject fast(project(1, 4));
    EXPECT_EQ(mPosn_Xlate(3.5e7, clock, cel), 1e99);
    EXPECT_NEAR(mPosn_Xlate(2.5e7, clock, cel), 3.125e7, 1e-6);
    // Any phase: field rows are 2s modulo 256 without overflow.
    MPosn_Xlate_Params p, q;
    p.transfer = q.transfer = transfer_cadence;
    for (auto [extreme, same] : {std::pair{INT32_MAX, 255}, {INT32_MIN, 0}}) {
        for (M to : {v30i, v30p, v25i}) {
            p.sequence = extreme;
            q.sequence = same;
            for (double x : {0.0, 1 / 24.0, 3 / 24.0})
                EXPECT_EQ(xl(x, film, to, p), xl(x, film, to, q))
                    << extreme << " " << to << " " << x;
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
    for (auto [rate, is_film] : {std::pair{3, 0}, {2, 0}, {1, 1}, {6, 1}}) {
        Tov::ScopedProject p(project(rate, rate));
        EXPECT_EQ(is_film_project(), is_film) << rate;
    }
}

// The entry points and the clock and cel helpers, in a film project shot
// at 25 and shown at 25: film to sound and cel to clock both run 0.96.
TEST(mPosn_Xlate, EntryPointsAndHelpers) {
    captured c;
    Tov::ScopedProject restore(project(1, 3, false, 3));
    EXPECT_DOUBLE_EQ(mPosn_Xlate_CelToClock(1.0), 0.96);
    EXPECT_DOUBLE_EQ(mPosn_Xlate_ClockToCel(1.0, Tov::OutputGearing(Tov::FrameRate_30, false)),
                     1.25);
    EXPECT_DOUBLE_EQ(transform_CELtime_to_TOVtime(transform_TOVtime_to_CELtime(3.5)), 3.5);
    MPosn_Xlate_Params p;
    mPosn_Xlate(1.0, film, cel, p, Tov::FrameRate_25);
    EXPECT_TRUE(p.project_rate == Tov::FrameRate_25 && p.cel_resolution == 0.04);
    mPosn_Xlate(1.0, audio, cel, p, Tov::FrameRate_30, cookie(1, 2, 3));
    EXPECT_TRUE(p.audio_sync_pulled_down);
    edit_label label(LABEL_PAL, MediumRollIdent(audio, MediumRoll2ndGen));
    EXPECT_DOUBLE_EQ(mPosn_Xlate(1.0, film, &label), 0.96);
    EXPECT_EQ(mPosn_Xlate(1.0, film, &label, Tov::FrameRate_24),
              mPosn_Xlate(1.0, film, audio, Tov::FrameRate_24));
}

// With the standard-output copy off, a message reaches the sink only.
TEST(mPosn_Xlate, QuietSwitchKeepsStandardOutputClean) {
    Tov::ScopedProject restore(project(4, 4));
    for (bool copy : {true, false}) {
        captured c;
        set_messages_to_standard_output(copy);
        testing::internal::CaptureStdout();
        EXPECT_EQ(mPosn_Xlate(1.0, cel, v25p), 1e99);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), copy ? c.text : "");
        EXPECT_NE(c.text.find("Invalid source shot standard"), std::string::npos);
        // A position out of range is said to the sink alone, copy or not.
        c.text.clear();
        testing::internal::CaptureStdout();
        EXPECT_EQ(mPosn_Xlate(1e99, film, audio), 1e99);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_NE(c.text.find("invalid MediumPosn"), std::string::npos) << c.text;
    }
}

}  // namespace
}  // namespace marlix
