#include "marlix/front/pull.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

namespace {

using namespace marlix;
using front::reason;

smpte::rate rate_of(char const* name) { return smpte::parse_rate(name).value; }

// The keycode of each video frame, in the sync point's roll; a frame whose
// film lies beyond either end of the roll is refused, naming that end.
TEST(keycode_pull, KeycodesWithinTheSyncPointsRoll) {
    struct {
        label_t stock;
        char const* rate;
        char const* sync;
        char const* video;
        char const* text;  // or why the frame is refused
        bool split;
    } const cases[] = {
        {LABEL_KEYCODE_35, "29.97df", "KU2290121234+00=01:00:00;00", "01:00:00;02",
         "KU2290121234+01", true},
        {LABEL_KEYCODE_35, "29.97df", "KU 22 9012 1234+00=01:00:00;00", "00:59:59;29",
         "KU2290121233+15", false},
        {LABEL_KEYCODE_35, "25", "KU2290120000+00=00:00:00:00", "00:00:00:12", "KU2290120000+11",
         true},
        {LABEL_KEYCODE_16, "24", "KU2290120000+00=01:00:00:00", "01:00:01:00", "KU2290120001&04",
         false},
        {LABEL_KEYCODE_353, "23.976", "KU2290121234+01.2=00:00:00:00", "00:00:00:01",
         "KU2290121234+02.2", false},
        // The roll's ends: no wrap into the other end of the roll.
        {LABEL_KEYCODE_35, "29.97df", "KU2290120000+00=01:00:00;00", "00:59:59;29",
         "before its first frame, KU2290120000+00", false},
        {LABEL_KEYCODE_35, "29.97df", "KU2290129999+15=01:00:00;00", "01:00:00;00",
         "KU2290129999+15", false},
        {LABEL_KEYCODE_35, "29.97df", "KU2290129999+15=01:00:00;00", "01:00:00;01",
         "past its last frame, KU2290129999+15", false},
        {LABEL_KEYCODE_35, "29.97df", "KU2290129999+10=01:00:00;00", "01:00:00;10",
         "past its last frame, KU2290129999+15", false},
        {LABEL_KEYCODE_35, "30", "KU2290120000+00=00:00:00:00", "-23:59:59:29",
         "before its first frame, KU2290120000+00", false},
        {LABEL_KEYCODE_353, "24", "KU2290120000+01.2=00:00:00:00", "-00:00:00:01",
         "before its first frame, KU2290120000+01.2", false},
    };
    for (auto const& c : cases) {
        smpte::rate const r = rate_of(c.rate);
        auto made           = front::keycode_pull::make(c.stock, r, c.sync);
        ASSERT_TRUE(made) << c.sync;
        auto const k      = made.value(smpte::read(c.video, r).value);
        bool const inside = c.text[0] == 'K';
        EXPECT_EQ(k.why, inside ? reason::none : reason::outside_roll) << c.sync << " " << c.video;
        EXPECT_EQ(inside ? std::string(k.value.text) : made.value.refusal(), c.text) << c.video;
        EXPECT_EQ(k.value.split, c.split) << c.video;
    }
    auto made = front::keycode_pull::make(LABEL_KEYCODE_35, smpte::rate_25, "KU2290120000+00=0");
    EXPECT_EQ(made.why, reason::sync_video_timecode);
    made =
        front::keycode_pull::make(LABEL_KEYCODE_35, smpte::rate_25, "KU2290120000+00=00:00:00:00");
    ASSERT_TRUE(made);
    EXPECT_EQ(made.value(smpte::timecode(0, smpte::rate_24)).why, reason::timecode_rate_differs);
}

// Each side of a sync point refused with its reason and the detail of the
// reading; the pull's own refusals before it.
TEST(keycode_pull, SyncPointsSayWhichSideFailedAndWhy) {
    for (auto [stock, rate, sync, why, detail] : {
             std::tuple{LABEL_PAL, "25", "x=00:00:00:00", reason::not_keycode_stock, ""},
             {LABEL_KEYCODE, "25", "x=00:00:00:00", reason::no_converter, ""},
             {LABEL_KEYCODE_35, "50", "x=00:00:00:00", reason::no_film_pull, "50"},
             {LABEL_KEYCODE_35, "25", "KU2290120000+00", reason::not_a_sync_point, "KEYCODE=TC"},
             {LABEL_KEYCODE_35, "25", "KU2290120000+16=00:00:00:00", reason::sync_keycode,
              "frames 16 is not below 16"},
             {LABEL_KEYCODE_35, "29.97df", "KU2290120000+00=00:01:00;00",
              reason::sync_video_timecode,
              "dropped label: drop-frame counting skips this frame number"},
         }) {
        std::string got;
        EXPECT_EQ(front::keycode_pull::make(stock, rate_of(rate), sync, &got).why, why) << sync;
        EXPECT_EQ(got, detail) << sync;
    }
    // from, to, text: the film side is the 24-frame rate, either way round.
    for (auto [from, to, text, why, detail, film, video] : {
             std::tuple{"23.976", "29.97df", "00:00:01:00=00:01:00;02", reason::none, "", 24, 1800},
             {"29.97df", "23.976", "00:00:01:00=00:01:00;02", reason::none, "", 24, 1800},
             {"24", "30", " 00:00:00:01 = 00:00:00:02 ", reason::none, "", 1, 2},
             {"23.976", "29.97df", "00:00:01:24=00:01:00;02", reason::sync_film_timecode,
              "field out of range", 0, 0},
             {"29.97df", "23.976", "00:00:01:00=00:01:00:02x", reason::sync_video_timecode,
              "trailing text after the frames", 0, 0},
             {"23.976", "29.97df", "00:00:01:00", reason::not_a_sync_point, "FILMTC=VIDEOTC", 0, 0},
         }) {
        std::string got;
        auto const s = front::read_pulldown_sync(text, rate_of(from), rate_of(to), &got);
        EXPECT_TRUE(s.why == why && got == detail) << text << ": " << got;
        EXPECT_TRUE(s.value.film_frame == film && s.value.video_frame == video) << text;
    }
}

// Footage and ink numbers run with the keycode, from what they read on the
// sync point's film frame; stocks without them, and texts that are none,
// are refused.
TEST(keycode_pull, FootageAndInkRunWithTheFilm) {
    // feet+frames text of a frame count, as the footage and ink types print it
    auto const feet = [](long n, int per_foot, char sep) {
        char text[64];  // two longs of 20 digits at most, a sign, a separator
        std::snprintf(text, sizeof text, "%s%04ld%c%02ld", n < 0 ? "-" : "",
                      std::labs(n) / per_foot, sep, std::labs(n) % per_foot);
        return std::string(text);
    };
    struct {
        label_t stock;
        char const* rate;
        int key_per_foot, foot_per_foot, ink_per_foot;
        char const* ink;  // the ink number at the sync point, 100 feet in
        char const* ink_prefix;
    } const cases[] = {
        {LABEL_KEYCODE_35, "29.97df", 16, 16, 16, "0123 0100+00", "0123"},
        {LABEL_KEYCODE_16, "25", 20, 40, 20, "AB12 0100+00", "AB12"},
        {LABEL_KEYCODE_35_6, "59.94", 16, 16, 16, "ZZ990100+00", "ZZ99"},
    };
    for (auto const& c : cases) {
        smpte::rate const r = rate_of(c.rate);
        auto made           = front::keycode_pull::make(c.stock, r, "KU2290121234+00=01:00:00:00");
        ASSERT_TRUE(made) << c.rate;
        ASSERT_TRUE(made.value.set_footage("12+00"));
        ASSERT_TRUE(made.value.set_ink(c.ink));
        long const key_at_sync = 1234L * c.key_per_foot;
        for (std::int32_t n = -60; n < 200; ++n) {
            smpte::timecode const v(smpte::read("01:00:00:00", r).value.frames() + n, r);
            auto const k = made.value(v);
            ASSERT_TRUE(k) << n;
            std::string const key = k.value.text;
            long const frames = std::atol(key.substr(key.size() - 7, 4).c_str()) * c.key_per_foot +
                                std::atol(key.substr(key.size() - 2).c_str()) - key_at_sync;
            EXPECT_EQ(k.value.footage, feet(12L * c.foot_per_foot + frames, c.foot_per_foot, '.'))
                << c.rate << " " << key;
            EXPECT_EQ(k.value.ink, std::string(c.ink_prefix) +
                                       feet(100L * c.ink_per_foot + frames, c.ink_per_foot, '+'))
                << c.rate << " " << key;
        }
    }
    auto made =
        front::keycode_pull::make(LABEL_KEYCODE_35, smpte::rate_24, "KU2290121234+00=00:00:00:00");
    ASSERT_TRUE(made);
    EXPECT_STREQ(made.value(smpte::timecode(0, smpte::rate_24)).value.footage, "");
    std::string why;
    EXPECT_EQ(made.value.set_footage("0+0x", &why).why, reason::sync_count);
    EXPECT_EQ(front::describe(reason::sync_count, why, made.value.footage_type()),
              "not a label of type foot_35_label: expected digits of feet, '+' or '.', 2 digits");
    EXPECT_EQ(made.value.set_ink("0123", &why).why, reason::sync_count);
    for (auto [stock, ink, text] : {std::tuple{LABEL_KEYCODE_655_80, false, "footage"},
                                    {LABEL_KEYCODE_655_80, true, "ink number"},
                                    {LABEL_KEYCODE_353, true, "ink number"}}) {
        made = front::keycode_pull::make(stock, smpte::rate_24, "KU2290121234+00.1=00:00:00:00");
        if (stock != LABEL_KEYCODE_353)
            made = front::keycode_pull::make(stock, smpte::rate_24, "KU2290121234+00=00:00:00:00");
        ASSERT_TRUE(made) << stock;
        auto const set =
            ink ? made.value.set_ink("0123 0000+00", &why) : made.value.set_footage("0+00", &why);
        EXPECT_EQ(set.why, reason::no_gauge_count) << stock;
        EXPECT_EQ(why, text);
    }
}

}  // namespace
