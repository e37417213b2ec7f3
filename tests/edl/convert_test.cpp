#include "marlix/edl/convert.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>

namespace marlix::edl {
namespace {

using smpte::rate;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// 2:3 from a sync, counted here from the cadence itself: film frame n
// starts on field 10 * (n div 4) + {0, 2, 5, 7}[n mod 4], and a video frame
// shows the film frame of its first field.
std::int64_t film_to_video(std::int64_t n, smpte::sync_point s) {
    static constexpr int first_field[] = {0, 2, 5, 7};
    std::int64_t const d               = n - s.film_frame;
    std::int64_t const field = 10 * floor_div(d, 4) + first_field[d - 4 * floor_div(d, 4)];
    return s.video_frame + floor_div(field + 1, 2);
}
std::int64_t video_to_film(std::int64_t v, smpte::sync_point s) {
    static constexpr int film_of_field[] = {0, 0, 1, 1, 1, 2, 2, 3, 3, 3};
    std::int64_t const f                 = 2 * (v - s.video_frame);
    return s.film_frame + 4 * floor_div(f, 10) + film_of_field[f - 10 * floor_div(f, 10)];
}

// Random clean lists at a rate: contiguous record events with an
// occasional gap, dissolves, M2 motion (spans by the rule of the frame
// shown last) and split delays, over reels R1..R4.
class list_maker {
public:
    explicit list_maker(unsigned seed) : rng_(seed) {}
    int pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    std::string make(rate r, int min_length) {
        auto tc = [&](std::int64_t f) {
            return smpte::to_string(smpte::timecode(static_cast<std::int32_t>(f), r));
        };
        int const N      = r.nominal();
        std::string list = "TITLE: GENERATED\n";
        if (r.drop) list += "FCM: DROP FRAME\n";
        std::int64_t record = 3600LL * N + pick(5000);
        for (int event = 1, count = 2 + pick(25); event <= count; ++event) {
            std::string const reel = "R" + std::to_string(1 + pick(4));
            int const length       = min_length + pick(300);
            std::int64_t const src = 3600LL * N * (1 + pick(12)) + pick(20000);
            int const kind         = pick(8);
            char number[16];
            std::snprintf(number, sizeof number, "%03d  ", event);
            auto const line = [&](std::string const& what, std::int64_t in, std::int64_t out,
                                  std::int64_t length_recorded) {
                return number + what + " " + tc(in) + " " + tc(out) + " " + tc(record) + " " +
                       tc(record + length_recorded) + "\n";
            };
            if (kind == 0) {  // a dissolve from the outgoing source
                char how[16];
                std::snprintf(how, sizeof how, "%03d", 1 + pick(length));
                list += line(reel + " V C", src, src, 0) +
                        line(std::string("R9 V D ") + how, src + 100, src + 100 + length, length);
            } else if (kind == 1) {  // motion
                int const speeds[]      = {0, 120, 360, 500, -240, 487};
                int const v             = speeds[pick(6)];
                int const size          = v < 0 ? -v : v;
                std::int64_t const span = (length - 1) * std::int64_t{size} / (10 * N) + 1;
                list += line(reel + " V C", src, src + span, length) + "M2   " + reel + " " +
                        (v < 0 ? "-" : "") + std::to_string(size / 10) + "." +
                        std::to_string(size % 10) + " " + tc(src) + "\n";
            } else {
                list += line(reel + " AA/V C", src, src + length, length);
                if (kind == 2) list += "SPLIT: AUDIO DELAY= " + tc(1 + pick(length)) + "\n";
                if (kind == 3) list += "* FROM CLIP NAME: CLIP " + std::to_string(event) + "\n";
            }
            record += length + (pick(6) == 0 ? 1 + pick(40) : 0);
        }
        return list;
    }

private:
    std::mt19937 rng_;
};

std::set<std::string> finding_kinds(document const& doc) {
    std::set<std::string> kinds;
    for (finding const& f : doc.findings) kinds.insert(finding_name(f.kind));
    return kinds;
}

bool is_subset(std::set<std::string> const& a, std::set<std::string> const& b) {
    for (auto const& k : a)
        if (b.count(k) == 0) return false;
    return true;
}

void expect_same_edit(edit const& a, edit const& b) {
    EXPECT_EQ(a.record_in, b.record_in);
    EXPECT_EQ(a.record_out, b.record_out);
    EXPECT_EQ(a.source_in, b.source_in);
    EXPECT_EQ(a.source_out, b.source_out);
    EXPECT_EQ(a.how.frames, b.how.frames);
    EXPECT_EQ(a.speed.speed_tenths, b.speed.speed_tenths);
    EXPECT_EQ(a.split.frames, b.split.frames);
}

// What the conversion wrote reads back to the same edits at the new rate.
void expect_reads_back(conversion const& c) {
    document const again = edl::read(write(c.doc), c.doc.rate);
    ASSERT_EQ(again.edits.size(), c.doc.edits.size());
    for (std::size_t k = 0; k < again.edits.size(); ++k)
        expect_same_edit(again.edits[k], c.doc.edits[k]);
}

// Relabelling and frame for frame: every frame number stays.
TEST(edl_convert, DropFrameAndFrameForFrameKeepEveryFrame) {
    struct {
        rate from, to;
        bool method_needed;
    } const cases[] = {
        {smpte::rate_29_97_df, smpte::rate_29_97, false},
        {smpte::rate_29_97, smpte::rate_29_97_df, false},
        {smpte::rate_59_94_df, smpte::rate_59_94, false},
        {smpte::rate_59_94, smpte::rate_59_94_df, false},
        {smpte::rate_25, smpte::rate_24, true},
        {smpte::rate_24, smpte::rate_25, true},
        {smpte::rate_23_976, smpte::rate_25, true},
        {smpte::rate_25, smpte::rate_29_97_df, true},
    };
    list_maker lists(11);
    for (auto const& c : cases) {
        for (int round = 0; round < 40; ++round) {
            std::string const text = lists.make(c.from, 1);
            SCOPED_TRACE(std::string(smpte::rate_name(c.from)) + " to " + smpte::rate_name(c.to) +
                         "\n" + text);
            document const in = edl::read(text, c.from);
            ASSERT_TRUE(in.ok());
            convert_options o;
            o.to = c.to;
            if (c.method_needed) {
                EXPECT_EQ(convert(in, o).why, convert_error::method_needed);
                o.method = smpte::method::frame;
            }
            conversion const out = convert(in, o);
            ASSERT_TRUE(out.ok()) << describe(out);
            EXPECT_TRUE(out.changed.empty());
            EXPECT_TRUE(is_subset(finding_kinds(out.doc), finding_kinds(in)));
            ASSERT_EQ(out.doc.edits.size(), in.edits.size());
            for (std::size_t k = 0; k < in.edits.size(); ++k) {
                edit const &a = in.edits[k], &b = out.doc.edits[k];
                smpte::timecode const was[] = {a.source_in, a.source_out, a.record_in, a.record_out,
                                               a.speed.entry};
                smpte::timecode const now[] = {b.source_in, b.source_out, b.record_in, b.record_out,
                                               b.speed.entry};
                for (std::size_t i = 0; i < 4 + (a.has_motion ? 1 : 0); ++i) {
                    EXPECT_EQ(now[i].frames(), was[i].frames());
                    EXPECT_EQ(now[i].frame_rate(), c.to);
                }
                EXPECT_EQ(b.how.frames, a.how.frames);
                EXPECT_EQ(b.split.frames, a.split.frames);
                if (c.from.nominal() == c.to.nominal()) {
                    EXPECT_EQ(b.speed.speed_tenths, a.speed.speed_tenths);
                }
            }
            // The FCM: lines give the new mode, the first before any event.
            bool const has_modes = c.to.nominal() % 30 == 0 && c.to.den == 1001;
            ASSERT_EQ(has_modes, !out.doc.lines.empty() &&
                                     out.doc.lines[0].kind == line_kind::frame_code_mode);
            for (kept_line const& l : out.doc.lines)
                if (l.kind == line_kind::frame_code_mode) {
                    EXPECT_EQ(l.value, c.to.drop ? 1 : 0);
                }
            expect_reads_back(out);
        }
    }
}

// Real time: ins on the frame on show at their instant, record events as
// contiguous as they were, each length the rounding changed reported.
TEST(edl_convert, RealTimeLandsOnTheFrameOnShow) {
    struct {
        rate from, to;
    } const cases[] = {
        {smpte::rate_25, smpte::rate_23_976},   {smpte::rate_25, smpte::rate_24},
        {smpte::rate_24, smpte::rate_25},       {smpte::rate_29_97_df, smpte::rate_25},
        {smpte::rate_50, smpte::rate_59_94_df}, {smpte::rate_23_976, smpte::rate_29_97},
    };
    list_maker lists(23);
    for (auto const& c : cases) {
        // The frame on show, from the definition: k/to <= v/from < (k+1)/to.
        std::int64_t const per_to   = std::int64_t{c.to.den} * c.from.num;
        std::int64_t const per_from = std::int64_t{c.from.den} * c.to.num;
        auto on_show                = [&](std::int64_t k, std::int64_t v) {
            return k * per_to <= v * per_from && v * per_from < (k + 1) * per_to;
        };
        for (int round = 0; round < 40; ++round) {
            std::string const text = lists.make(c.from, 2);
            SCOPED_TRACE(std::string(smpte::rate_name(c.from)) + " to " + smpte::rate_name(c.to) +
                         "\n" + text);
            document const in = edl::read(text, c.from);
            ASSERT_TRUE(in.ok());
            convert_options o;
            o.to                 = c.to;
            o.method             = smpte::method::realtime;
            conversion const out = convert(in, o);
            ASSERT_TRUE(out.ok()) << describe(out);
            EXPECT_TRUE(is_subset(finding_kinds(out.doc), finding_kinds(in)));
            std::set<std::uint32_t> reported, changed;
            for (rounding const& r : out.changed) {
                reported.insert(r.line);
                EXPECT_EQ(r.exact_num * per_to, std::int64_t{r.before} * per_from * r.exact_den);
            }
            for (std::size_t k = 0; k < in.edits.size(); ++k) {
                edit const &a = in.edits[k], &b = out.doc.edits[k];
                EXPECT_TRUE(on_show(b.record_in.frames(), a.record_in.frames()));
                EXPECT_TRUE(on_show(b.record_out.frames(), a.record_out.frames()));
                EXPECT_TRUE(on_show(b.source_in.frames(), a.source_in.frames()));
                std::int64_t const before = a.record_out.frames() - a.record_in.frames();
                std::int64_t const after  = b.record_out.frames() - b.record_in.frames();
                if (!a.has_motion) {
                    EXPECT_EQ(b.source_out.frames() - b.source_in.frames(), after);
                    // The source out is the in plus a rounded length: within two frames.
                    EXPECT_LT(std::abs(2 * b.source_out.frames() * per_to -
                                       2 * a.source_out.frames() * per_from),
                              4 * per_to);
                }
                if (after * per_to != before * per_from) changed.insert(a.line);
                if (k > 0 && a.record_in == in.edits[k - 1].record_out) {
                    EXPECT_EQ(b.record_in, out.doc.edits[k - 1].record_out);
                }
            }
            EXPECT_EQ(reported, changed);
            expect_reads_back(out);
        }
    }
    EXPECT_EQ(describe(rounding{1, 3, 37, 35, 888, 25}), "37 frames become 35 (35.520 exact)");
    EXPECT_EQ(describe(rounding{1, 3, 37, 35, 888, 0}), "37 frames become 35 (0.000 exact)");
}

// The outgoing line of a dissolve may record nothing; under M2 it keeps no
// source at the new rate either, however fast.
TEST(edl_convert, MotionOverNoRecordKeepsNoSource) {
    for (char const* speed : {"012.0", "999.9"}) {
        document const in =
            edl::read(std::string("001  A V C 01:00:00:00 01:00:00:01 01:00:00:00 01:00:00:00\n") +
                          "M2   A " + speed + " 01:00:00:00\n" +
                          "001  B V D 024 02:00:00:00 02:00:02:00 01:00:00:00 01:00:02:00\n",
                      smpte::rate_24);
        ASSERT_TRUE(in.ok()) << speed;
        convert_options o;
        o.to                 = smpte::rate_25;
        o.method             = smpte::method::realtime;
        conversion const out = convert(in, o);
        ASSERT_TRUE(out.ok()) << describe(out);
        EXPECT_EQ(out.doc.edits.at(0).source_out, out.doc.edits.at(0).source_in) << speed;
    }
}

// 2:3 through a record sync and a sync a reel: film to video and back gives
// the film list again; video to film and back gives each frame the first
// video frame of its film frame.
TEST(edl_convert, PulldownBothWays) {
    struct {
        rate film, video;
    } const cases[] = {
        {smpte::rate_23_976, smpte::rate_29_97},
        {smpte::rate_23_976, smpte::rate_29_97_df},
        {smpte::rate_24, smpte::rate_30},
    };
    list_maker lists(37);
    for (auto const& c : cases) {
        for (int round = 0; round < 30; ++round) {
            convert_options to_video, to_film;
            to_video.to     = c.video;
            to_film.to      = c.film;
            to_video.method = to_film.method = smpte::method::pulldown;
            to_video.sync = to_film.sync = {86400 + lists.pick(100), 107892 + lists.pick(100)};
            for (char const* reel : {"R1", "R2", "R3", "R4", "R9"}) {
                reel_sync const r{reel, {lists.pick(100), lists.pick(100)}};
                to_video.reel_syncs.push_back(r);
                to_film.reel_syncs.push_back(r);
            }
            for (bool from_film : {true, false}) {
                rate const first       = from_film ? c.film : c.video;
                std::string const text = lists.make(first, 2);
                SCOPED_TRACE(text);
                document const in = edl::read(text, first);
                ASSERT_TRUE(in.ok());
                conversion const there = convert(in, from_film ? to_video : to_film);
                ASSERT_TRUE(there.ok()) << describe(there);
                EXPECT_TRUE(is_subset(finding_kinds(there.doc), finding_kinds(in)));
                conversion const back = convert(there.doc, from_film ? to_film : to_video);
                ASSERT_TRUE(back.ok()) << describe(back);
                for (std::size_t k = 0; k < in.edits.size(); ++k) {
                    edit const &a = in.edits[k], &b = there.doc.edits[k], &z = back.doc.edits[k];
                    smpte::sync_point const s    = to_video.sync;
                    std::int64_t const record_in = from_film
                                                       ? film_to_video(a.record_in.frames(), s)
                                                       : video_to_film(a.record_in.frames(), s);
                    EXPECT_EQ(b.record_in.frames(), record_in);
                    if (from_film) {
                        expect_same_edit(z, a);
                    } else {
                        EXPECT_EQ(z.record_in.frames(),
                                  film_to_video(video_to_film(a.record_in.frames(), s), s));
                        EXPECT_EQ(z.record_out.frames(),
                                  film_to_video(video_to_film(a.record_out.frames(), s), s));
                    }
                }
            }
        }
    }
}

TEST(edl_convert, RefusesWithANamedReason) {
    // to, method, sync, reel syncs, keep sources
    convert_options const pull{smpte::rate_29_97, smpte::method::pulldown, {}, {{"AX", {}}}, false};
    convert_options const keep{smpte::rate_29_97, smpte::method::pulldown, {}, {}, true};
    convert_options const bare{smpte::rate_29_97, smpte::method::pulldown, {}, {}, false};
    convert_options const real{smpte::rate_24, smpte::method::realtime, {}, {}, false};
    convert_options const to_df{smpte::rate_29_97_df, {}, {}, {}, false};
    convert_options const up{smpte::rate_60, smpte::method::frame, {}, {}, false};
    convert_options const slow{smpte::rate_24, smpte::method::frame, {}, {}, false};
    convert_options const up30{smpte::rate_30, smpte::method::frame, {}, {}, false};
    convert_options const to_29{smpte::rate{29, 1, false}, smpte::method::frame, {}, {}, false};
    convert_options const real60{smpte::rate_60, smpte::method::realtime, {}, {}, false};
    char const one[] = "001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n";
    std::string const outside =
        "a timecode falls outside the day (00:00:00:00 to 24:00:00:00) at the new rate";
    struct {
        char const* list;
        rate from;
        convert_options const& o;
        convert_error why;
        std::int32_t event;
        std::string message;
    } const cases[] = {
        {one, smpte::rate_23_976, pull, convert_error::none, -1, ""},
        {one, smpte::rate_23_976, keep, convert_error::none, -1, ""},
        {"001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n"
         "002 BX V C 01:00:00:00 01:00:01:00 01:00:01:00 01:00:02:00\n",
         smpte::rate_23_976, pull, convert_error::no_reel_sync, 2,
         "reel BX has no pulldown sync (give one, or keep the sources)"},
        // 40000 frames at 24 are 100000 at 60: one too many for the field.
        {"001 AX V C 00:00:00:00 00:00:01:00 00:00:00:00 00:00:01:00\n"
         "002 AX V C 00:00:01:00 00:00:01:00 00:00:01:00 00:00:01:00\n"
         "002 BX V D 40000 00:00:00:00 00:27:46:16 00:00:01:00 00:27:47:16\n",
         smpte::rate_24, real60, convert_error::length_too_long, 2,
         "the transition is longer than 99999 frames at the new rate"},
        {one, smpte::rate_23_976, bare, convert_error::no_reel_sync, 1,
         "reel AX has no pulldown sync (give one, or keep the sources)"},
        {one, smpte::rate_25, pull, convert_error::no_pulldown, -1,
         "no 2:3 pulldown between the two rates"},
        {"001 AX V C 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:20\n", smpte::rate_25, real,
         convert_error::list_has_errors, -1, "the list has errors (edl check names them)"},
        {"001 AX V C 01:00:00:00 01:00:00:01 01:00:00:00 01:00:00:01\n"
         "002 AX V C 01:00:00:00 01:00:00:01 01:00:00:01 01:00:00:02\n",
         smpte::rate_25, real, convert_error::edit_vanishes, 1,
         "the edit is shorter than a frame at the new rate"},
        {"001 AX V C 23:59:59:00 23:59:59:29 23:59:59:00 23:59:59:29\n", smpte::rate_29_97, to_df,
         convert_error::outside_day, 1, outside},
        {"001 AX V C 23:59:00:00 23:59:01:00 23:59:00:00 23:59:01:00\n", smpte::rate_25, slow,
         convert_error::outside_day, 1, outside},
        // A reverse M2 whose source runs back past 00:00:00:00 at the new rate.
        {"001 AX V C 00:00:01:24 00:00:00:00 01:00:00:00 01:00:01:00\nM2 AX -050.0 00:00:01:24\n",
         smpte::rate_25, real60, convert_error::outside_day, 1, outside},
        // A split delay of 2073600 frames: a whole day at 24.
        {"001 AX AA/V C 00:00:00:00 00:00:01:00 00:00:00:00 00:00:01:00\n"
         "SPLIT: AUDIO DELAY= 23:02:24:00\n",
         smpte::rate_25, slow, convert_error::outside_day, 1, outside},
        {"001 AX V C 01:00:00:00 01:00:14:11 01:00:00:00 01:00:00:02\nM2   AX 9000.0 01:00:00:00\n",
         smpte::rate_25, up, convert_error::speed_too_fast, 1,
         "the M2 speed is faster than 9999.9 frames a second at the new rate"},
        {one, smpte::rate_24, to_29, convert_error::unknown_rate, -1,
         "no timecode counts at that rate"},
        {"", smpte::rate{29, 1, false}, up, convert_error::unknown_rate, -1,
         "no timecode counts at that rate"},
        // 7999.9 at 24 is 9999.875 at 30: 9999.9, the fastest there is.
        {"001 AX V C 01:00:00:00 01:00:13:22 01:00:00:00 01:00:00:02\nM2   AX 7999.9 01:00:00:00\n",
         smpte::rate_24, up30, convert_error::none, -1, ""},
        {"001 AX V C 01:00:00:00 01:00:13:22 01:00:00:00 01:00:00:02\nM2   AX 8000.0 01:00:00:00\n",
         smpte::rate_24, up30, convert_error::speed_too_fast, 1,
         "the M2 speed is faster than 9999.9 frames a second at the new rate"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.list);
        conversion const out = convert(edl::read(c.list, c.from), c.o);
        EXPECT_EQ(convert_error_name(out.why), std::string(convert_error_name(c.why)));
        EXPECT_EQ(out.event, c.why == convert_error::none ? -1 : c.event);
        EXPECT_EQ(describe(out), c.message);
        if (!out.ok()) {
            EXPECT_TRUE(out.doc.edits.empty());
        }
    }
    // Sources kept stay as written; sources with a sync move.
    document const film = edl::read(cases[0].list, smpte::rate_23_976);
    EXPECT_EQ(convert(film, keep).doc.edits[0].source_in, film.edits[0].source_in);
    EXPECT_EQ(convert(film, pull).doc.edits[0].source_in.frame_rate(), smpte::rate_29_97);

    struct {
        char const* text;
        char const* reel;
        front::reason why;
    } const syncs[] = {
        {"A001=01:00:00:00=01:00:00:00", "A001", front::reason::none},
        {"A=B=01:00:00:00=01:00:00:00", "A=B", front::reason::none},
        {"01:00:00:00=01:00:00:00", "", front::reason::not_a_sync_point},
        {"=01:00:00:00=01:00:00:00", "", front::reason::not_a_sync_point},
        {"=", "", front::reason::not_a_sync_point},
        {"A001=01:00:00:24=01:00:00:00", "", front::reason::sync_film_timecode},
        {"A001=01:00:00:00=01:00:00:30", "", front::reason::sync_video_timecode},
    };
    for (auto const& s : syncs) {
        auto const r = read_reel_sync(s.text, smpte::rate_23_976, smpte::rate_29_97);
        EXPECT_EQ(r.why, s.why) << s.text;
        EXPECT_EQ(r.value.reel, s.reel) << s.text;
    }
}

}  // namespace
}  // namespace marlix::edl
