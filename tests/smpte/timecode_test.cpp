#include "marlix/smpte/timecode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/values/label_point.h"

#if MARLIX_TEST_FFMPEG
extern "C" {
#    include <libavutil/timecode.h>
}
#endif

namespace marlix::smpte {
namespace {

// Every frame of a day writes FFmpeg's text (drop-frame and the 24-hour
// wrap as av_timecode_make_string gives them) and reads back to itself.
TEST(smpte, EveryFrameOfADayWritesFfmpegsTextAndReadsBack) {
    for (rate r : {rate_23_976, rate_24, rate_25, rate_29_97, rate_29_97_df, rate_50, rate_59_94_df,
                   rate_60}) {
        SCOPED_TRACE(rate_name(r));
#if MARLIX_TEST_FFMPEG
        AVTimecode ff;
        int const flags = AV_TIMECODE_FLAG_24HOURSMAX | (r.drop ? AV_TIMECODE_FLAG_DROPFRAME : 0);
        ASSERT_EQ(av_timecode_init(&ff, AVRational{r.num, r.den}, flags, 0, nullptr), 0);
#endif
        char ours[text_capacity];
        for (std::int32_t f = 0; f < r.frames_per_day(); ++f) {
            std::size_t const n = write(timecode(f, r), ours, sizeof ours);
#if MARLIX_TEST_FFMPEG
            char theirs[AV_TIMECODE_STR_SIZE];
            av_timecode_make_string(&ff, theirs, f);
            if (std::strcmp(ours, theirs) != 0) FAIL() << f << ": " << ours << " != " << theirs;
#endif
            auto const back = read(std::string_view(ours, n), r);
            if (!back || back.value.frames() != f)
                FAIL() << f << ": " << ours << " reads back wrong";
        }
    }
}

// Any buffer gets as much of the text as fits and its terminator, and
// nothing past its end; a buffer of no bytes is left untouched. The length
// is the whole text's.
TEST(smpte, WritesIntoBuffersOfEverySize) {
    std::string const whole = "-01:00:00;02";
    timecode const t(-(107892 + 2), rate_29_97_df);
    for (std::size_t size = 0; size <= text_capacity + 1; ++size) {
        char out[text_capacity + 2];
        std::memset(out, 'x', sizeof out - 1);
        out[sizeof out - 1] = '\0';
        EXPECT_EQ(write(t, out, size), whole.size()) << size;
        if (size > 0) {
            EXPECT_EQ(std::string(out), whole.substr(0, size - 1)) << size;
        }
        EXPECT_EQ(std::string(out + size, sizeof out - 1 - size),
                  std::string(sizeof out - 1 - size, 'x'))
            << size;
    }
    // A day's frames wrap to midnight, and not a frame before.
    EXPECT_EQ(to_string(timecode(2160000, rate_25)), "00:00:00:00");
    EXPECT_EQ(to_string(timecode(2159999, rate_25)), "23:59:59:24");
    EXPECT_EQ(to_string(timecode(2589408, rate_29_97_df)), "00:00:00;00");
    // A rate without a label scheme of its own prints by the same arithmetic.
    EXPECT_EQ(to_string(timecode(15 * 3661 + 2, rate{15, 1, false})), "01:01:01:02");
    EXPECT_EQ(to_string(timecode(15 * 86400 + 2, rate{15, 1, false})), "00:00:00:02");
}

TEST(smpte, StrictReadingNamesWhyItRefuses) {
    rate const df = rate_29_97_df, p = rate_25;
    using E = error;
    // Every text written reads back above; here, drop-frame counts without
    // FFmpeg's word for them, the other forms and the refusals.
    // clang-format off
    std::tuple<char const*, rate, error, std::int32_t> const cases[] = {
        {"00:10:00;00", df, E::none, 17982}, {"01:00:00;00", rate_59_94_df, E::none, 215784},
        {"00:01:00;04", rate_59_94_df, E::none, 3600}, {"-00:00:01:00", p, E::none, -25},
        {"00:01:00:02", df, E::none, 1800}, {"00;01;00;02", df, E::none, 1800},
        {"00:01:00.02", df, E::none, 1800}, {"00:01:00,02", df, E::none, 1800},
        {"", p, E::empty, 0}, {"1:00:00:00", p, E::syntax, 0}, {"01:00:00", p, E::syntax, 0},
        {"100:00:00:00", p, E::syntax, 0},
        {"01.00.00.00", p, E::syntax, 0}, {" 01:00:00:00", p, E::syntax, 0},
        {"00;01:00;02", df, E::syntax, 0}, {"00:00:00:011", p, E::syntax, 0},
        {"00:00:00:25", p, E::field_range, 0}, {"00:60:00:00", p, E::field_range, 0},
        {"00:00:60:00", p, E::field_range, 0}, {"24:00:00:00", p, E::field_range, 0},
        {"00:01:00;00", df, E::dropped_label, 0}, {"00:01:00;01", df, E::dropped_label, 0},
        {"00:01:00;03", rate_59_94_df, E::dropped_label, 0}, {"00:00:00;01", p, E::drop_separator, 0},
        {"00:00:00.01", p, E::drop_separator, 0}, {"00;00;00;01", rate_29_97, E::drop_separator, 0},
        {"00:00:00:01 ", p, E::trailing_text, 0}, {"00:00:00:01x", p, E::trailing_text, 0},
        {"01:00:00:00", rate{7, 3, false}, E::unknown_rate, 0}};
    // clang-format on
    for (auto const& [text, r, why, frames] : cases) {
        auto const t = read(text, r);
        EXPECT_EQ(t.why, why) << text << ": " << error_text(t.why);
        EXPECT_TRUE(why != E::none || t.value.frames() == frames) << text;
    }
    EXPECT_EQ(read("999:00:00:00", rate_60, {true}).value.frames(), 999 * 216000);
    EXPECT_EQ(read("9999:00:00:00", rate_60, {true}).why, error::out_of_range);
    EXPECT_EQ(read("000000001:00:00:00", rate_25, {true}).value.frames(), 90000);  // nine digits
    EXPECT_EQ(read("0000000001:00:00:00", rate_25, {true}).why, error::syntax);
    for (int hours : {99, 100, 999})
        EXPECT_EQ(to_string(timecode(hours * 216000, rate_60), false),
                  std::to_string(hours) + ":00:00:00");
    EXPECT_EQ(to_string(timecode(25 * 3600 * 25, rate_25)), "01:00:00:00");  // the day wraps
    EXPECT_EQ(to_string(timecode(-1800, rate_29_97_df)), "-00:01:00;02");
}

// The converters' own text for the seven rates they count, byte for byte.
TEST(smpte, NativeTextIsTheConvertersText) {
    std::pair<rate, label_t> const rates[] = {
        {rate_23_976, LABEL_TC_24}, {rate_25, LABEL_PAL},
        {rate_29_97, LABEL_NTSC},   {rate_29_97_df, LABEL_NTSC_DROP},
        {rate_48, LABEL_TC_48},     {rate_50, LABEL_TC_50},
        {rate_60, LABEL_TC_60}};
    for (auto const& [r, type] : rates) {
        label_point point(0, type);
        for (std::int32_t f : {0, 1, 1799, 1800, 17982, 107892, -25, 2589407})
            EXPECT_EQ(native_text(timecode(f, r)), point.cvt()->get_abs_string(&point, f))
                << rate_name(r) << " " << f;
    }
    EXPECT_EQ(native_text(timecode(0, rate_59_94_df)), "");
}

TEST(smpte, RatesArithmeticAndRealTime) {
    // "df" is cut from the end before a fraction is looked up.
    for (auto [text, r] :
         {std::pair{"29.97DF", rate_29_97_df}, std::pair{"30000/1001", rate_29_97},
          std::pair{"59.94df", rate_59_94_df}, std::pair{"25/1", rate_25},
          std::pair{"23.976", rate_23_976}, std::pair{"30000/1001df", rate_29_97_df},
          std::pair{"60000/1001DF", rate_59_94_df}}) {
        EXPECT_TRUE(parse_rate(text).ok() && parse_rate(text).value == r) << text;
    }
    for (char const* bad : {"", "29", "29.97dff", "df", "30000/1000", "23.98", "29.97d", "29.97dg",
                            "29.97fd", "25df", "24000/1001df", "30000/1001d"}) {
        auto const r = parse_rate(bad);
        EXPECT_TRUE(r.why == error::unknown_rate && r.value == no_rate) << bad;
    }
    EXPECT_EQ(parse_rate(std::string(4096, '9')).why, error::unknown_rate);  // past the name buffer
    EXPECT_EQ(rate_59_94_df.frames_per_day(), 5178816);
    EXPECT_TRUE((rate{-25, 1, false}.nominal() == 0 && rate{25, -1, false}.nominal() == 0));
    // Any step whose sum fits 32 bits, however far; none past, however far.
    constexpr std::int64_t wide = UINT32_MAX, huge = INT64_MAX, refused = INT64_MIN;
    std::tuple<std::int32_t, std::int64_t, std::int64_t> const steps[] = {
        {-1, INT32_MAX, INT32_MAX - 1},  {0, INT32_MAX, INT32_MAX}, {INT32_MIN, wide, INT32_MAX},
        {INT32_MAX, -wide, INT32_MIN},   {0, INT32_MIN, INT32_MIN}, {INT32_MAX, 1, refused},
        {0, wide / 2 + 1, refused},      {INT32_MIN, -1, refused},  {INT32_MIN, wide + 1, refused},
        {INT32_MAX, -wide - 1, refused}, {0, huge, refused},        {-1, -huge - 1, refused},
    };
    for (auto const& [from, step, sum] : steps) {
        auto const r = add(timecode(from, rate_25), step);
        EXPECT_EQ(r.ok() ? r.value.frames() : refused, sum) << from << " + " << step;
        EXPECT_EQ(r.why, sum == refused ? error::out_of_range : error::none)
            << from << " + " << step;
    }
    // The host's rate of each, drop-frame or not; none for a rate it lacks.
    std::pair<rate, Tov::FrameRate> const hosts[] = {
        {rate_24, Tov::FrameRate_24},          {rate_23_976, Tov::FrameRate_23_976},
        {rate_29_97_df, Tov::FrameRate_29_97}, {rate_59_94, Tov::FrameRate_59_94},
        {rate_59_94_df, Tov::FrameRate_59_94}, {no_rate, Tov::FrameRate_None}};
    for (auto const& [r, host] : hosts) EXPECT_EQ(host_frame_rate(r), host) << rate_name(r);

    timecode const in  = read("01:00:00;00", rate_29_97_df).value;
    timecode const out = read("01:00:10;00", rate_29_97_df).value;
    EXPECT_EQ(duration(in, out).value, 300 - 0);  // ten seconds less no dropped minute start
    EXPECT_EQ(duration(in, timecode(0, rate_25)).why, error::rate_mismatch);
    EXPECT_EQ(to_string(add(in, 1800).value), "01:01:00;02");
    EXPECT_LT(in, out);

    // Real time: the frame on show at the instant a frame starts.
    for (auto [f, from, to, shown] :
         {std::tuple{25, rate_25, rate_24, 24}, std::tuple{1, rate_25, rate_24, 0},
          std::tuple{-1, rate_25, rate_24, -1}, std::tuple{1001, rate_30, rate_29_97, 1000},
          std::tuple{1001, rate_60, rate_59_94, 1000}, std::tuple{1001, rate_48, rate_47_952, 1000},
          std::tuple{1000, rate_23_976, rate_24, 1001}})
        EXPECT_EQ(convert(timecode(f, from), to, method::realtime).value.frames(), shown) << f;
    EXPECT_EQ(convert(timecode(25, rate_25), rate_24, method::frame).value, timecode(25, rate_24));
    EXPECT_EQ(convert(timecode(0, rate_25), rate_29_97, method::pulldown).why, error::no_pulldown);
}

// One order for timecodes of any rates: frames, then num, den and drop.
TEST(smpte, EqualityAndOrderAgreeAcrossRates) {
    rate const slow_den{30000, 1000, false}, double_num{60, 2, false};
    std::tuple<timecode, timecode, int> const cases[] = {
        {timecode(100, rate_25), timecode(100, rate_25), 0},
        {timecode(99, rate_25), timecode(100, rate_25), -1},
        {timecode(100, rate_25), timecode(100, rate_24), 1},
        {timecode(99, rate_60), timecode(100, rate_24), -1},  // frames before rate
        {timecode(-1, rate_25), timecode(0, rate_25), -1},
        {timecode(100, slow_den), timecode(100, rate_29_97), -1},
        {timecode(100, double_num), timecode(100, rate_30), 1},
        {timecode(100, rate_29_97), timecode(100, rate_29_97_df), -1},
        {timecode(0, no_rate), timecode(0, rate_25), -1},
    };
    for (auto const& [a, b, order] : cases) {
        for (int const side : {1, -1}) {  // each pair both ways round
            timecode const x = side == 1 ? a : b, y = side == 1 ? b : a;
            int const o = side * order;
            EXPECT_TRUE((x == y) == (o == 0) && (x != y) == (o != 0) && (x < y) == (o < 0) &&
                        (x > y) == (o > 0) && (x <= y) == (o <= 0) && (x >= y) == (o >= 0))
                << to_string(x) << " " << rate_name(x.frame_rate()) << " vs " << to_string(y) << " "
                << rate_name(y.frame_rate());
        }
    }
}

// A refused result holds no position, rate or count a careless caller
// could use.
TEST(smpte, RefusalsHoldNothingUsable) {
    timecode const none(0, no_rate);
    std::pair<result<timecode>, error> const timecodes[] = {
        {read("25:00:00:00", rate_25), error::field_range},
        {read("01:00:00:00", rate{7, 3, false}), error::unknown_rate},
        {add(timecode(INT32_MAX, rate_25), 1), error::out_of_range},
        {convert(timecode(INT32_MAX, rate_24), rate_25, method::realtime), error::out_of_range},
        {convert(timecode(5, rate_25), rate_29_97, method::pulldown), error::no_pulldown},
        {convert(timecode(5, rate{7, 3, false}), rate_25, method::frame), error::unknown_rate},
    };
    for (auto const& [r, why] : timecodes)
        EXPECT_TRUE(r.why == why && r.value == none) << error_text(why);
    EXPECT_EQ(no_rate.nominal(), 0);
    EXPECT_EQ(parse_rate("29.79").value, no_rate);
    auto const length = duration(timecode(0, rate_25), timecode(9, rate_24));
    EXPECT_TRUE(length.why == error::rate_mismatch && length.value == 0);
    auto const pulled = pull(7, rate_50);
    EXPECT_TRUE(!pulled && pulled.value.film_frame == 0 && !pulled.value.split);
}

// 2:3 pulldown both ways over ten thousand film frames from several sync
// points, against the cadence written out: A takes 2 fields, B 3, C 2, D 3.
TEST(smpte, PulldownAndKeycodePullsFollowTheCadence) {
    std::vector<std::int64_t> first_field, film_on_field;
    for (std::int64_t n = 0; n <= 10001; ++n) {
        first_field.push_back(static_cast<std::int64_t>(film_on_field.size()));
        film_on_field.insert(film_on_field.end(), n % 2 == 0 ? 2 : 3, n);
    }
    for (auto [film, video] :
         {std::pair{rate_23_976, rate_29_97_df}, std::pair{rate_24, rate_30}}) {
        for (sync_point sync : {sync_point{0, 0}, sync_point{86400, 107892}, sync_point{-7, 13}}) {
            for (std::size_t n = 0; n < 10000; ++n) {
                std::int64_t const field = first_field[n];
                ASSERT_EQ(pulldown_first_field(static_cast<std::int64_t>(n)), field);
                timecode const f(sync.film_frame + static_cast<std::int32_t>(n), film);
                auto const v = convert(f, video, method::pulldown, sync);
                ASSERT_TRUE(v.ok() && v.value.frames() == sync.video_frame + (field + 1) / 2) << n;
                ASSERT_EQ(convert(v.value, film, method::pulldown, sync).value, f) << n;
                // Every video frame: the film frame of its first field, and
                // whether its second field shows another.
                auto const pulled = pull(static_cast<std::int64_t>(n), video).value;
                ASSERT_TRUE(pulled.film_frame == film_on_field[2 * n] &&
                            pulled.split == (film_on_field[2 * n + 1] != film_on_field[2 * n]))
                    << n;
                timecode const vn(sync.video_frame + static_cast<std::int32_t>(n), video);
                ASSERT_EQ(convert(vn, film, method::pulldown, sync).value.frames(),
                          sync.film_frame + film_on_field[2 * n]);
            }
        }
    }
    // 24:25: twelve frames on two fields each, then L and M share one.
    for (std::int64_t k = 0; k < 13; ++k) {
        auto const p = pull(k, rate_25).value;
        EXPECT_TRUE(p.film_frame == (k == 12 ? 11 : k) && p.split == (k == 12)) << k;
    }
    EXPECT_EQ(pull(7, rate_24).value.film_frame, 7);
    // 59.94 and 60 progressive: A B C D on 2 3 2 3 frames, none split.
    static constexpr std::int64_t progressive[] = {0, 0, 1, 1, 1, 2, 2, 3, 3, 3, 4, 4};
    for (std::size_t k = 0; k < std::size(progressive); ++k)
        for (rate const r : {rate_59_94, rate_60}) {
            auto const p = pull(static_cast<std::int64_t>(k), r).value;
            EXPECT_TRUE(p.film_frame == progressive[k] && !p.split) << k;
        }
    // Pulldown runs between 23.976 film and 29.97 video, or 24 and 30: no other pair.
    for (auto [from, to] : {std::pair{rate_24, rate_25},
                            {rate_25, rate_30},
                            {rate_24, rate_29_97},
                            {rate_23_976, rate_30}})
        EXPECT_EQ(convert(timecode(0, from), to, method::pulldown).why, error::no_pulldown);
    // At the ends of 64 bits: refused or held within the limit, never an
    // overflow (the sanitizer build checks).
    EXPECT_EQ(pull(pull_frame_limit + 1, rate_29_97).why, error::out_of_range);
    EXPECT_EQ(pull(-pull_frame_limit - 1, rate_25).why, error::out_of_range);
    EXPECT_TRUE(pull(-pull_frame_limit, rate_29_97) && pull(pull_frame_limit, rate_25));
    EXPECT_EQ(pulldown_first_field(INT64_MAX), pulldown_first_field(pull_frame_limit));
    EXPECT_EQ(pulldown_first_field(INT64_MIN), pulldown_first_field(-pull_frame_limit));
    EXPECT_EQ(pulldown_film_frame(INT64_MIN), 4 * (INT64_MIN / 10 - 1) + 1);  // field 2: B
}

}  // namespace
}  // namespace marlix::smpte
