#include "marlix/legacy/frame_label.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/values/label_point.h"

namespace marlix {
namespace {

label_type lt(int v) { return static_cast<label_type>(v); }

std::string digits_of(char const* text) {
    std::string d;
    for (char const* p = text; *p; ++p)
        if (*p >= '0' && *p <= '9') d += *p;
    return d;
}

// label_to_frames on a copy of text: the frame, or -1 where it refuses.
long32 frames_of(char const* text, int type, int drop = 0, int frames_per_foot = 0,
                 transfer_type t = transfer_none, edit_type e = edit_film_frames) {
    char label[16];
    std::snprintf(label, sizeof label, "%s", text);
    long32 frame = 0;
    int const ok = label_to_frames(label, 0, nullptr, 0, nullptr, &frame, lt(type), drop, t, e,
                                   frames_per_foot);
    return ok == 1 ? frame : -1;
}

// label_plus_frames on a copy of text: the printed label, or "refused".
std::string plus(char const* text, long32 delta, int type, int drop = 0, int frames_per_foot = 0,
                 unsigned char flags = 0, transfer_type t = transfer_none,
                 edit_type e = edit_film_frames, int* phase_out = nullptr) {
    char label[16], out[9];
    std::snprintf(label, sizeof label, "%s", text);
    int fp = 0, ph = 0;
    int const ok = label_plus_frames(out, &fp, phase_out ? phase_out : &ph, label, 0, 0, delta,
                                     lt(type), drop, frames_per_foot, flags, t, e);
    return ok >= 1 ? out : "refused";
}

TEST(video_frames_to_timecode, AgreesWithTheConvertersOnEveryFrameOfADay) {
    std::tuple<int, bool, label_t> const rates[] = {{4, false, LABEL_TC_24},
                                                    {2, false, LABEL_PAL},
                                                    {1, false, LABEL_NTSC},
                                                    {1, true, LABEL_NTSC_DROP}};
    for (auto const& [type, drop, converter] : rates) {
        SCOPED_TRACE(converter);
        label_cvt* cvt = get_static_label_cvt(converter);
        label_point point(0, cvt);
        long32 const day = cvt->normalise_sample_unit(-1) + 1;
        char out[9];
        for (long32 s = 0; s < day; ++s) {
            ASSERT_EQ(video_frames_to_timecode(s + 1, out, lt(type), drop), 1);
            std::string const expected = digits_of(cvt->get_abs_string(&point, s));
            if (expected != out) FAIL() << s << ": " << out << " wanted " << expected;
            long32 const frame = frames_of(out, type, drop, 0, transfer_none, edit_video_frames);
            if (frame != s + 1) FAIL() << s << " reads back as frame " << frame;
        }
    }
}

TEST(video_frames_to_timecode, KnownTexts) {
    // Frames within a day are checked against the converters above.
    std::tuple<long32, int, int, char const*> const cases[] = {
        {2160001, 2, 0, "00000000"},
        {4320001, 2, 0, "24000000"},
        {49, 38, 0, "00000100"},
        {51, 36, 0, "00000100"},
        {61, 37, 0, "00000100"},
        {-5000000, 2, 0, "-31-33-2"},  // negative fields, cut to 8 characters
        {-2589412, 1, 1, "23595925"}};
    for (auto const& [frame, type, drop, text] : cases) {
        char out[16];
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(video_frames_to_timecode(frame, out, lt(type), drop), 1) << frame;
        EXPECT_STREQ(out, text) << frame;
        for (std::size_t i = 9; i < sizeof out; ++i)
            EXPECT_EQ(out[i], '#') << "wrote past 9 characters";
    }
    char out[9];
    // Every timecode type counts its own frames a second: one second in is
    // 00000100.
    for (auto [fps, types] : {std::pair{30, std::vector<int>{1, 3, 22, 25, 42}},
                              {25, {2, 5, 7, 21}},
                              {50, {36, 39}},
                              {60, {37, 40}},
                              {24, {4, 6, 34}},
                              {48, {38, 41, 43}}})
        for (int t : types) {
            ASSERT_EQ(video_frames_to_timecode(fps + 1, out, lt(t), 0), 1) << t;
            EXPECT_STREQ(out, "00000100") << t;
        }
    for (int t : {0, 8, 9, 12, 26, 44, -1})
        EXPECT_EQ(video_frames_to_timecode(1, out, lt(t), 0), 0) << t;
    EXPECT_EQ(video_frames_to_timecode(1, nullptr, lt(1), 0), 0);
}

TEST(film_to_video_frame, PulldownRoundTripsForEveryPhase) {
    for (transfer_type t : {transfer_pulldown_4_5, transfer_pulldown_24_25}) {
        int const cycle = t == transfer_pulldown_4_5 ? 4 : 24;
        for (int phase = 0; phase < cycle; ++phase) {
            long32 previous = 0;
            for (long32 film = -1000; film <= 1000; ++film) {
                long32 video = 0, back = 0;
                int const code = film_to_video_frame(film, t, phase, -1, &video);
                ASSERT_EQ(code, cycle - phase <= 1 ? 2 : 1);
                ASSERT_EQ(video_to_film_frame(video, t, phase, nullptr, &back), 1);
                ASSERT_EQ(back, film)
                    << "transfer " << t << " phase " << phase << " video " << video;
                if (film > -1000) {
                    ASSERT_GT(video, previous);  // one video frame or two per film frame
                }
                previous = video;
            }
        }
    }
    // Every video frame belongs to the film frame whose video frame is the
    // first at or after it: an extra video frame goes with the film frame it
    // runs into.
    for (transfer_type t : {transfer_pulldown_4_5, transfer_pulldown_24_25}) {
        int const cycle = t == transfer_pulldown_4_5 ? 4 : 24;
        for (int phase = 0; phase < cycle; ++phase) {
            for (long32 video = -200; video <= 200; ++video) {
                long32 film = 0, previous = 0, own = 0;
                ASSERT_EQ(video_to_film_frame(video, t, phase, nullptr, &film), 1);
                film_to_video_frame(film - 1, t, phase, -1, &previous);
                film_to_video_frame(film, t, phase, -1, &own);
                ASSERT_TRUE(previous < video && video <= own)
                    << "transfer " << t << " phase " << phase << " video " << video << " film "
                    << film << " after " << previous << " up to " << own;
            }
        }
    }
    // The phase answered at a video frame, less one, restarts the cadence
    // there: from it the film frames run as they do from frame 0 at that phase.
    for (transfer_type t : {transfer_pulldown_4_5, transfer_pulldown_24_25}) {
        int const vcycle = t == transfer_pulldown_4_5 ? 5 : 25;
        for (int phase = 0; phase < vcycle - 1; ++phase)
            for (long32 video = -30; video <= 30; ++video) {
                int out      = 0;
                long32 first = 0, start = 0;
                video_to_film_frame(video, t, phase, &out, &first);
                int const restart = (out + vcycle - 1) % vcycle;
                video_to_film_frame(0, t, restart, nullptr, &start);
                for (long32 j = 1; j <= 2 * vcycle; ++j) {
                    long32 here = 0, there = 0;
                    video_to_film_frame(video + j, t, phase, nullptr, &here);
                    video_to_film_frame(j, t, restart, nullptr, &there);
                    ASSERT_EQ(here - first, there - start)
                        << "transfer " << t << " phase " << phase << " video " << video;
                }
            }
    }
    for (auto [film, video] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{5, 6}}) {
        long32 v = 0;
        film_to_video_frame(film, transfer_pulldown_4_5, 0, -1, &v);
        EXPECT_EQ(v, video) << film;
    }
    long32 v = -77;  // left as it is on a refusal; no answer pointer is fine
    EXPECT_EQ(film_to_video_frame(5, static_cast<transfer_type>(7), 0, -1, &v), 0);
    EXPECT_EQ(video_to_film_frame(5, static_cast<transfer_type>(4), 0, nullptr, &v), 0);
    EXPECT_EQ(v, -77);
    EXPECT_EQ(film_to_video_frame(5, transfer_pulldown_4_5, 0, -1, nullptr), 1);
    EXPECT_EQ(video_to_film_frame(5, transfer_pulldown_4_5, 0, nullptr, nullptr), 1);
    // The phase out at the first frames, and a phase of the whole film cycle.
    int out     = -9;
    long32 film = -9;
    EXPECT_TRUE(video_to_film_frame(1, transfer_pulldown_4_5, 0, &out, &film) == 1 && out == 0 &&
                film == 1);
    for (long32 video : {1, 2}) {
        EXPECT_EQ(video_to_film_frame(video, transfer_pulldown_4_5, 4, nullptr, &film), 1);
        EXPECT_EQ(film, 1) << video;
    }
}

TEST(label_to_frames, FootageAndTheThreePerforationWalk) {
    EXPECT_EQ(frames_of("001203", 8, 0, 0), -1);      // no frames a foot
    EXPECT_EQ(frames_of("0012005", 8, 0, 16), 1926);  // seven digits: feet 00120, frame 05
    // Frame 08 of a foot at each phase, against feet counted one by one
    // from foot 0's phase: 22 frames in a phase-3 foot, 21 otherwise.
    for (int feet : {0, 1, 2, 3, 4, 5, 7, 10, 101, 1234, 9999})
        for (int phase = 1; phase <= 3; ++phase) {
            int const phase0 = (phase - 1 - feet % 3 + 3) % 3 + 1;
            long32 expected  = 8 + 1;  // counted from 1
            for (int k = 0, p = phase0; k < feet; ++k, p = p % 3 + 1) expected += p == 3 ? 22 : 21;
            char label[16];
            std::snprintf(label, sizeof label, "%04d08", feet);
            int fp       = 0;
            long32 frame = 0;
            int const ok = label_to_frames(label, phase, &fp, 0, nullptr, &frame, lt(26), 0,
                                           transfer_none, edit_film_frames, 0);
            EXPECT_EQ(ok == 1 ? frame : -1, expected) << feet << " phase " << phase;
            EXPECT_EQ(fp, phase0) << feet << " phase " << phase;
        }
}

TEST(label_plus_frames, FootPhaseWalkAgainstAnIndependentCount) {
    // Walk 1500 frames forward from foot 0 at each phase one frame at a time
    // and check each printed footage against a count of feet of 21 frames,
    // 22 at phase 3, the phase moving 1 -> 2 -> 3 -> 1.
    for (int start : {1, 2, 3}) {
        long32 feet = 0, frame_in_foot = 0;
        int phase = start;
        for (long32 n = 0; n < 1500; ++n) {
            char label[] = "00000000";
            char out[9];
            int fp = 0, ph = 0;
            ASSERT_GE(label_plus_frames(out, &fp, &ph, label, start, 0, n, lt(26), 0, 0, 0xfc,
                                        transfer_none, edit_film_frames),
                      1);
            char expected[32];
            std::snprintf(expected, sizeof expected, "%06d%02d", static_cast<int>(feet % 1000000),
                          static_cast<int>(frame_in_foot % 100));
            ASSERT_STREQ(out, expected) << start << ": " << n;
            ASSERT_EQ(fp, phase) << start << ": " << n;
            if (++frame_in_foot == (phase == 3 ? 22 : 21)) {
                frame_in_foot = 0;
                ++feet;
                phase = phase == 3 ? 1 : phase + 1;
            }
        }
    }
}

TEST(label_plus_frames, CompositionsAndFailures) {
    EXPECT_EQ(plus("00000000", -1, 1, 1, 0, 0, transfer_none, edit_video_frames), "23595929");
    // Drop-frame only where asked, and only at 30.
    EXPECT_EQ(plus("00005929", 1, 1, 0, 0, 0, transfer_none, edit_video_frames), "00010000");
    EXPECT_EQ(plus("00005929", 1, 1, 1, 0, 0, transfer_none, edit_video_frames), "00010002");
    EXPECT_EQ(plus("00005924", 1, 2, 1, 0, 0, transfer_none, edit_video_frames), "00010000");
    // Types 38/41/43 count 24 in label_plus_frames, 48 in video_frames_to_timecode,
    // and answer 1 for a sum done.
    EXPECT_EQ(plus("00000000", 24, 38), "00000100");
    // 24 fps timecode of a video count goes through the pulldown, which must
    // know its transfer.
    EXPECT_EQ(plus("00000000", 5, 4, 0, 0, 0, transfer_pulldown_4_5, edit_video_frames),
              "00000004");
    EXPECT_EQ(plus("00000000", 5, 4, 0, 0, 0, static_cast<transfer_type>(9), edit_video_frames),
              "refused");
    for (int type : {38, 41, 43}) {
        char label[] = "00000000", out[9];
        int fp = 0, p = 0;
        EXPECT_EQ(label_plus_frames(out, &fp, &p, label, 0, 0, 24, lt(type), 0, 0, 0, transfer_none,
                                    edit_film_frames),
                  1)
            << type;
    }
    EXPECT_EQ(plus("00001203", 13, 8, 0, 16, 0x3c), "00001300");
    EXPECT_EQ(plus("00999915", 1, 8, 0, 16, 0x3c), "00000000");  // the wrap at 10^4 feet
    // A film count moves a pulldown phase, which a transfer it does not know
    // has not.
    EXPECT_EQ(plus("00001203", 13, 8, 0, 16, 0x3c, static_cast<transfer_type>(9)), "refused");
    // A film count through 4-into-5 pulldown tracks its phase.
    int ph = 0;
    for (auto [delta, phase] : {std::pair{5, 1}, std::pair{-1, 3}, std::pair{-6, 2}}) {
        plus("00000000", delta, 1, 0, 0, 0, transfer_pulldown_4_5, edit_film_frames, &ph);
        EXPECT_EQ(ph, phase) << delta;
    }
    // A video count moves the phase with it, modulo the video frames of a
    // pulldown cycle.
    for (auto [transfer, cycle] :
         {std::pair{transfer_pulldown_4_5, 5}, std::pair{transfer_pulldown_24_25, 25}}) {
        for (int phase = 0; phase < cycle; ++phase) {
            for (long32 delta = -30; delta <= 30; ++delta) {
                char label[] = "00000000", out[9];
                int fp = 0, moved = -1;
                ASSERT_GE(label_plus_frames(out, &fp, &moved, label, 0, phase, delta, lt(1), 0, 0,
                                            0, transfer, edit_video_frames),
                          1);
                ASSERT_EQ(moved, ((phase + delta) % cycle + cycle) % cycle)
                    << transfer << " phase " << phase << " + " << delta;
            }
        }
    }
    char tc[]     = "00000000";
    int phase_out = 5;
    long32 frame  = 0;
    EXPECT_EQ(label_to_frames(tc, 0, nullptr, 0, &phase_out, &frame, lt(1), 0,
                              static_cast<transfer_type>(9), edit_film_frames, 0),
              0);
    EXPECT_EQ(phase_out, -1);  // set first, kept on failure
    EXPECT_EQ(frames_of(tc, 1, 0, 0, transfer_none, static_cast<edit_type>(2)), -1);
    EXPECT_EQ(frames_of(tc, 9, 0, 16), -1);
    EXPECT_EQ(frames_of("ab", 2, 0, 0, transfer_none, edit_video_frames), 1);  // digits read as 0
    EXPECT_EQ(label_to_frames(nullptr, 0, nullptr, 0, nullptr, &frame, lt(1), 0, transfer_none,
                              edit_film_frames, 0),
              0);
    int fp = 0;
    char out[9];
    // Three-perforation feet wrap at 10^4 feet of 21, 21 and 22 frames: the
    // frame before foot 0 is frame 20 of foot 9999, whose phase is 1.
    EXPECT_EQ(label_plus_frames(out, &fp, &ph, tc, 1, 0, -1, lt(26), 0, 0, 0x3c, transfer_none,
                                edit_film_frames),
              1);
    EXPECT_TRUE(std::string(out) == "00999920" && fp == 1) << out << " " << fp;
    EXPECT_EQ(label_plus_frames(nullptr, &fp, &ph, tc, 0, 0, 1, lt(1), 0, 0, 0, transfer_none,
                                edit_video_frames),
              0);
    // Footage blanks become zeros before the read, also when it then fails.
    for (auto [type, phase, per_foot] :
         {std::tuple{26, 0, 0}, std::tuple{26, 4, 0}, std::tuple{8, 0, 0}}) {
        char blanks[] = "  0100";
        EXPECT_EQ(label_to_frames(blanks, phase, nullptr, 0, nullptr, &frame, lt(type), 0,
                                  transfer_none, edit_film_frames, per_foot),
                  0);
        EXPECT_STREQ(blanks, "000100") << type;
    }
    // Any int phase is taken without overflow.
    long32 video = 0;
    for (int phase : {INT32_MIN, INT32_MAX, -1}) {
        EXPECT_EQ(film_to_video_frame(5, transfer_pulldown_4_5, phase, -1, &video),
                  phase == INT32_MAX ? 2 : 1);
        EXPECT_EQ(video_to_film_frame(5, transfer_pulldown_24_25, phase, &ph, &frame), 1);
        EXPECT_EQ(label_plus_frames(out, &fp, &ph, tc, 0, phase, -7, lt(1), 0, 0, 0,
                                    transfer_pulldown_4_5, edit_video_frames),
                  1);
    }
}

}  // namespace
}  // namespace marlix
