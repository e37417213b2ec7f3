#include "marlix/film/film_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "marlix/front/labeller.h"

namespace marlix::film {
namespace {

using strings = std::vector<std::string>;

// A film frame in a field of the 2:3 cadence: A on 2 fields, B on 3, C on
// 2, D on 3. The model the lists are held to, counted field by field.
std::int64_t film_in_field(std::int64_t field) {
    static constexpr int cycle[] = {0, 0, 1, 1, 1, 2, 2, 3, 3, 3};
    std::int64_t const q         = field >= 0 ? field / 10 : -((-field + 9) / 10);
    return 4 * q + cycle[field - 10 * q];
}

struct camera_roll {
    std::string tape, prefix, camroll, labroll;
    std::int32_t start = 0, frames = 0;  // video frames
    std::int32_t key = 0;                // perforations of the film frame Start shows
    int pullin       = 0;                // A B X C D
};

std::string tc(std::int32_t frames, smpte::rate r) {
    return smpte::to_string(smpte::timecode(frames, r));
}

std::string key_text(label_t stock, std::int32_t sample, std::string const& prefix) {
    auto const t = front::label_text(stock, sample, prefix.c_str());
    EXPECT_TRUE(t.ok());
    std::string out;
    for (char const c : t.value)
        if (c != ' ') out += c;
    return out;
}

std::int32_t sample_of(label_t stock, std::string const& key) {
    auto const s = front::label_sample(stock, key);
    EXPECT_TRUE(s.ok()) << key;
    return s.value;
}

std::string log_text(std::vector<camera_roll> const& rolls, label_t stock, smpte::rate r) {
    std::string out = "Heading\nFIELD_DELIM\tTABS\nFPS\t" + std::string(smpte::rate_name(r)) +
                      "\n\nColumn\nName\tTape\tStart\tEnd\tKN Start\tPullin\tCamroll\tLabroll\n\n"
                      "Data\n";
    for (std::size_t k = 0; k < rolls.size(); ++k) {
        camera_roll const& c = rolls[k];
        out += "clip" + std::to_string(k) + "\t" + c.tape + "\t" + tc(c.start, r) + "\t" +
               tc(c.start + c.frames, r) + "\t" + key_text(stock, c.key, c.prefix) + "\t" +
               "ABXCD"[c.pullin] + "\t" + c.camroll + "\t" + c.labroll + "\n";
    }
    return out;
}

// Two rolls at 24 frames a second, frame for frame: on tape T the frame at
// 01:00:00:00 + f is KU2290121000+00 + f, on tape U KU2290132000+00 + f.
std::vector<telecine_log> two_rolls(smpte::rate r = smpte::rate_24) {
    return {read_log("Heading\nFILM_FORMAT\t35mm\nFPS\t" + std::string(smpte::rate_name(r)) +
                     "\nColumn\nName\tTape\tStart\tEnd\tKN Start\tPullin\tLabroll\nData\n"
                     "t\tT\t01:00:00:00\t01:10:00:00\tKU2290121000+00\tA\tL1\n"
                     "u\tU\t02:00:00:00\t02:10:00:00\tKU2290132000+00\tA\tL1\n")};
}
std::int32_t const t_key = 64000, u_key = 128000;  // samples of T's and U's first frame
std::int32_t const hour = 86400;                   // 01:00:00:00 at 24

std::string edl_line(int event, char const* reel, char const* how, std::int32_t src_in,
                     std::int32_t src_out, std::int32_t rec_in, std::int32_t rec_out,
                     smpte::rate r = smpte::rate_24) {
    char head[40];
    std::snprintf(head, sizeof head, "%03d %-4s V %-8s ", event, reel, how);
    return head + tc(src_in, r) + " " + tc(src_out, r) + " " + tc(rec_in, r) + " " +
           tc(rec_out, r) + "\n";
}

// Logs, their index, and the lists of an EDL cut against them (at 24
// unless told).
struct lister {
    std::vector<telecine_log> logs;
    clip_index index{logs};
    film_lists operator()(std::string const& edl, list_options const& o = {},
                          smpte::rate r = smpte::rate_24) const {
        return make_lists(edl::read(edl, r), index, o);
    }
};

// Each row as text, to compare a whole list at once.
template <class Row, class F>
strings texts(std::vector<Row> const& rows, F f) {
    strings out;
    for (Row const& r : rows) out.push_back(f(r));
    return out;
}
std::string text_of(list_finding const& f) {
    return std::to_string(f.event) + ":" + finding_name(f.kind);
}
std::string text_of(missing_row const& m) {
    return std::to_string(m.event) + ":" + missing_name(m.kind);
}
template <class Row>
strings texts(std::vector<Row> const& rows) {
    return texts(rows, [](Row const& r) { return text_of(r); });
}
std::string events_text(std::vector<std::int32_t> const& events) {
    std::string out;
    for (std::int32_t e : events) out += " " + std::to_string(e);
    return out;
}

// Camera rolls telecined with random pull-ins, cut at random into lists of
// 500 events; each list's cuts are checked against the field model.
void check_given_back(label_t stock, smpte::rate rate, std::uint32_t seed, bool pal = false) {
    SCOPED_TRACE(std::string(smpte::rate_name(rate)) + " stock " + std::to_string(stock));
    std::mt19937 random(seed);
    auto const pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    stock_geometry const g = geometry_of(stock);
    ASSERT_GT(g.perfs_per_frame, 0);
    bool const pulldown = rate.nominal() == 30;
    bool const exact    = !pulldown && rate.nominal() != 60 && !pal;
    cadence const ratio = cadence_of(rate, pullin::a, pal);
    std::vector<camera_roll> rolls;
    for (int k = 0; k < 8; ++k)  // keys: 320 perforations are whole keys of each stock
        rolls.push_back({"TAPE" + std::to_string(k), "KU2290" + std::to_string(10 + k),
                         "A" + std::to_string(k % 3), "L" + std::to_string(k % 2),
                         rate.nominal() * 3600 + pick(0, 100000), pick(400, 3000),
                         pick(0, 300) * 320 + pick(0, 15) * g.perfs_per_frame,
                         pulldown ? pick(0, 4) : 0});
    lister const lists_of{{read_log(log_text(rolls, stock, rate), {stock, smpte::no_rate, pal})}};
    ASSERT_TRUE(lists_of.logs[0].ok());
    list_options options;
    options.leader_perfs = 12 * g.perfs_per_foot;
    options.pal_24_25    = pal;
    for (int list_number = 0; list_number < 2; ++list_number) {
        struct cut {
            std::size_t roll;
            std::int32_t in, length;  // from the roll's Start, video frames
        };
        std::vector<cut> cuts;
        std::string edl     = "TITLE: given back\n";
        std::int32_t record = rate.nominal() * 3600;
        for (int e = 1; e <= 500; ++e) {
            auto const roll           = static_cast<std::size_t>(pick(0, 7));
            std::int32_t const length = pick(1, 150);
            cut const c{roll, pick(0, rolls[roll].frames - length), length};
            cuts.push_back(c);
            camera_roll const& r = rolls[roll];
            char line[160];
            std::snprintf(line, sizeof line, "%03d  %-8s V     C        %s %s %s %s\n", e,
                          r.tape.c_str(), tc(r.start + c.in, rate).c_str(),
                          tc(r.start + c.in + length, rate).c_str(), tc(record, rate).c_str(),
                          tc(record + length, rate).c_str());
            edl += line;
            record += length;
        }
        edl::document const doc = edl::read(edl, rate);
        ASSERT_TRUE(doc.ok());
        film_lists const lists = make_lists(doc, lists_of.index, options);
        ASSERT_EQ(lists.cuts.size(), cuts.size());
        EXPECT_TRUE(lists.missing.empty());
        std::int64_t fields = 0, cut_frames = 0, video = 0;  // the record so far
        for (std::size_t k = 0; k < cuts.size(); ++k) {
            cut const& c         = cuts[k];
            camera_roll const& r = rolls[c.roll];
            cut_row const& row   = lists.cuts[k];
            SCOPED_TRACE("event " + std::to_string(k + 1));
            ASSERT_TRUE(row.matched) << row.notes;
            EXPECT_EQ(row.clip, "clip" + std::to_string(c.roll));
            EXPECT_EQ(row.camroll, r.camroll);
            std::int32_t const in   = sample_of(stock, row.key_in);
            std::int32_t const last = sample_of(stock, row.key_out);
            EXPECT_EQ(row.key_in.substr(0, 8), r.prefix);
            std::int64_t const frames = (std::int64_t{last} - in) / g.perfs_per_frame + 1;
            EXPECT_EQ(frames, row.frames);
            // Film frames from the film frame Start's first field shows.
            std::int64_t const first = (std::int64_t{in} - r.key) / g.perfs_per_frame;
            fields += 2 * std::int64_t{c.length};
            video += c.length;
            cut_frames += frames;
            EXPECT_EQ(row.running_frames, 12 * g.perfs_per_foot / g.perfs_per_frame + cut_frames);
            if (exact) {  // frame for frame
                EXPECT_EQ(first, c.in);
                EXPECT_EQ(frames, c.length);
                EXPECT_EQ(row.adjust, 0);
                continue;
            }
            EXPECT_LE(std::abs(row.adjust), 1);
            if (!pulldown) {  // 2:3 at 60 frames, 24:25 at 25: the running total
                EXPECT_LE(2 * std::llabs(ratio.den * cut_frames - ratio.num * video), ratio.den);
                EXPECT_LE(std::llabs(ratio.den * first - ratio.num * std::int64_t{c.in}),
                          ratio.den);
                continue;
            }
            // Film runs evenly at 4/5 of a frame a video frame: the head is
            // the film frame that starts nearest the source in, and the end
            // within a frame and a half of the source out.
            std::int64_t const base = film_in_field(2 * r.pullin);
            std::int64_t const head = 10 * (first + base) - 8 * (c.in + r.pullin);
            EXPECT_TRUE(head > -5 && head <= 5) << head;
            std::int64_t const tail =
                10 * (first + base + frames) - 8 * (c.in + c.length + r.pullin);
            EXPECT_LT(std::llabs(tail), 15) << tail;
            // The film of the record so far is fields * 2/5 frames.
            EXPECT_LT(std::llabs(5 * cut_frames - 2 * fields), 5) << cut_frames;
        }
        EXPECT_EQ(lists.totals.frames, cut_frames);
        EXPECT_EQ(lists.totals.events, 500);
    }
}

TEST(film_lists_matchback, LayoutsComeBackFromTheirCuts) {
    std::uint32_t seed = 1;
    for (label_t const s :
         {LABEL_KEYCODE_35, LABEL_KEYCODE_353, LABEL_KEYCODE_16, LABEL_KEYCODE_655_80})
        for (smpte::rate const r :
             {smpte::rate_23_976, smpte::rate_24, smpte::rate_29_97, smpte::rate_29_97_df})
            check_given_back(s, r, seed++);
    check_given_back(LABEL_KEYCODE_35, smpte::rate_59_94, seed++);
    check_given_back(LABEL_KEYCODE_16, smpte::rate_25, seed++, true);
    check_given_back(LABEL_KEYCODE_353, smpte::rate_25, seed++, false);
}

// At 59.94 a video frame is a field of 29.97, so a clip's pull-in puts each
// cut on the film frame it puts it on at 29.97.
TEST(film_lists_matchback, PullInsAt59_94AsAt29_97) {
    for (int pullin = 0; pullin < 5; ++pullin) {
        std::string keys[2];
        for (int k = 0; k < 2; ++k) {
            smpte::rate const r    = k == 0 ? smpte::rate_29_97 : smpte::rate_59_94;
            std::int32_t const per = k + 1;  // frames to a 29.97 frame
            camera_roll const roll{"T",          "KU229012", "A1",  "L1",
                                   108000 * per, 3000 * per, 64000, pullin};
            lister const lists_of{
                {read_log(log_text({roll}, LABEL_KEYCODE_35, r), {LABEL_KEYCODE_35, r, false})}};
            std::string list;
            for (std::int32_t j = 0; j < 10; ++j)
                list += edl_line(static_cast<int>(j + 1), "T", "C", (108000 + 7 * j) * per,
                                 (108005 + 7 * j) * per, (108000 + 5 * j) * per,
                                 (108005 + 5 * j) * per, r);
            film_lists const lists = lists_of(list, {}, r);
            ASSERT_EQ(lists.cuts.size(), 10u);
            EXPECT_TRUE(lists.missing.empty());
            for (cut_row const& c : lists.cuts) keys[k] += c.key_in + " ";
        }
        EXPECT_EQ(keys[0], keys[1]) << "pull-in " << pullin;
    }
}

// Reels found by map, by name, by a unique prefix, by clip name; what
// is missing; the pull list joins cuts that abut on one roll.
TEST(film_lists_lists, MatchingMissingAndPulls) {
    lister const lists_of{{read_log(
        "Heading\nFILM_FORMAT\t35mm, 4perf\nFPS\t24\nColumn\n"
        "Name\tTape\tStart\tEnd\tKN Start\tCamroll\tLabroll\tInk Number\n"
        "Data\n"
        "one\tTAPE000123\t01:00:00:00\t01:00:10:00\tKU2290121000+00\tA1\tL1\tAB12 0100+00\n"
        "two\tSECOND\t02:00:00:00\t02:00:10:00\tKU2290132000+00\tA2\tL1\t\n"
        "three\tNOKEYS\t03:00:00:00\t03:00:10:00\t\tA3\tL2\t\n"
        "four\tLONGTAPE_A\t04:00:00:00\t04:00:10:00\tKU2290144000+00\tA4\tL2\t\n"
        "five\tLONGTAPE_B\t04:00:00:00\t04:00:10:00\tKU2290155000+00\tA5\tL2\t\n")}};
    list_options options;
    options.reel_map       = {{"S2", "SECOND"}};
    film_lists const lists = lists_of(
        "001 TAPE0001 V C 01:00:01:00 01:00:02:00 01:00:00:00 01:00:01:00\n"
        "002 S2       V C 02:00:00:00 02:00:00:12 01:00:01:00 01:00:01:12\n"
        "003 TAPE0001 V C 01:00:02:00 01:00:03:00 01:00:01:12 01:00:02:12\n"
        "004 BL       V C 00:00:00:00 00:00:01:00 01:00:02:12 01:00:03:12\n"
        "005 NOKEYS   V C 03:00:00:00 03:00:01:00 01:00:03:12 01:00:04:12\n"
        "006 UNKNOWN  V C 05:00:00:00 05:00:01:00 01:00:04:12 01:00:05:12\n"
        "007 SECOND   V C 02:00:09:00 02:00:11:00 01:00:05:12 01:00:07:12\n"
        "008 LONGTAPE V C 04:00:00:00 04:00:01:00 01:00:07:12 01:00:08:12\n"
        "009 X        V C 04:00:00:00 04:00:01:00 01:00:08:12 01:00:09:12\n"
        "* FROM CLIP NAME: four\n"
        "010 Y        V C 04:00:10:00 04:00:11:00 01:00:09:12 01:00:10:12\n"
        "* FROM CLIP NAME: four\n"  // the name's clip does not hold the source
        "011 TAPE0001 A C 01:00:00:00 01:00:01:00 01:00:10:12 01:00:11:12\n",
        options);
    // Clip, key in and out, ink in of each cut; the audio edit gives none.
    EXPECT_EQ(texts(lists.cuts,
                    [](cut_row const& c) {
                        return c.clip + "|" + c.key_in + "|" + c.key_out + "|" + c.ink_in;
                    }),
              (strings{"one|KU2290121001+08|KU2290121002+15|AB120101+08",
                       "two|KU2290132000+00|KU2290132000+11|",
                       "one|KU2290121003+00|KU2290121004+07|AB120103+00", "|||", "three|||", "|||",
                       "two|KU2290132013+08|KU2290132016+07|", "|||",
                       "four|KU2290144000+00|KU2290144001+07|", "|||"}));
    EXPECT_EQ(texts(lists.missing), (strings{"5:no_key_numbers", "6:no_clip", "7:outside_clip",
                                             "8:no_clip", "10:no_clip"}));
    EXPECT_EQ(texts(lists.findings), (strings{"1:reel_by_prefix", "3:reel_by_prefix",
                                              "8:ambiguous_reel", "9:reel_by_clip_name"}));
    // Lab roll L1: events 1 and 3 abut on roll 12, then roll 13; L2 roll 14.
    EXPECT_EQ(
        texts(lists.pulls,
              [](pull_row const& p) {
                  return p.labroll + " " + p.key_in + " " + p.key_out + events_text(p.events);
              }),
        (strings{"L1 KU2290121001+08 KU2290121004+07 1 3", "L1 KU2290132000+00 KU2290132000+11 2",
                 "L1 KU2290132013+08 KU2290132016+07 7", "L2 KU2290144000+00 KU2290144001+07 9"}));
    EXPECT_EQ(lists.totals.events, 10);
    EXPECT_EQ(lists.totals.record_frames, 10 * 24 + 12);
    EXPECT_EQ(lists.totals.feet_frames, "15+12");
    EXPECT_EQ(lists.totals.running_time, "00:00:10:12");
}

// Cuts round to whole film frames by the running total, and list in record
// order, edits at the same record in in the list's order.
TEST(film_lists_lists, CutsRoundByTheRunningTotalInRecordOrder) {
    // A frame the running total adds past a clip's last film frame (a flash
    // frame, or the next slate) is reported, and the cut keeps it.
    lister const logged{
        {read_log("Heading\nFILM_FORMAT\t35mm\nFPS\t29.97\nColumn\nName\tTape\tStart\tEnd\tKN "
                  "Start\tPullin\nData\n"
                  "short\tT1\t01:00:00:00\t01:00:00:05\tKU2290121000+00\tA\n"
                  "long\tT2\t01:00:00:00\t01:00:10:00\tKU2290132000+00\tA\n")}};
    // 3 video frames are 2.4 film frames: 2 cut, then 3 to make up 4.8.
    film_lists const lists = logged(
        "001 T2 V C 01:00:01:00 01:00:01:03 01:00:00:00 01:00:00:03\n"
        "002 T1 V C 01:00:00:02 01:00:00:05 01:00:00:03 01:00:00:06\n",
        {}, smpte::rate_29_97);
    ASSERT_EQ(lists.cuts.size(), 2u);
    EXPECT_EQ(lists.cuts[0].frames, 2);
    cut_row const& past = lists.cuts[1];
    EXPECT_EQ(std::to_string(past.frames) + " " + std::to_string(past.adjust) + " " + past.key_in +
                  " " + past.key_out,
              "3 1 KU2290121000+02 KU2290121000+04");  // the clip shows up to +03
    EXPECT_EQ(texts(lists.findings), strings{"2:rounding_past_clip"});
    EXPECT_NE(past.notes.find("past the clip"), std::string::npos);
    // Cuts of one video frame at 29.97: 0.8 film frames each, so the running
    // total cuts 1, 1, then none, and says so.
    smpte::rate const r = smpte::rate_29_97;
    lister const at_30{two_rolls(r)};
    std::string edl;
    for (int k = 0; k < 3; ++k)
        edl += edl_line(k + 1, "T", "C", 30 * 3600 + 10 * k, 30 * 3600 + 10 * k + 1, k, k + 1, r);
    EXPECT_EQ(texts(at_30(edl, {}, r).cuts,
                    [](cut_row const& c) {
                        return std::to_string(c.frames) + " " + std::to_string(c.adjust) + " " +
                               c.notes;
                    }),
              (strings{"1 0 ", "1 0 ",
                       "0 -1 shorter than a film frame: no frame cut; rounding: -1 frame"}));
    // Record order, ties in list order.
    lister const at_24{two_rolls()};
    film_lists const sorted = at_24(edl_line(3, "T", "C", hour + 48, hour + 72, 48, 72) +
                                    edl_line(2, "T", "C", hour + 24, hour + 48, 0, 24) +
                                    edl_line(1, "T", "C", hour, hour + 24, 0, 24));
    EXPECT_EQ(texts(sorted.cuts, [](cut_row const& c) { return std::to_string(c.event); }),
              (strings{"2", "1", "3"}));
}

// The holder of a frame among clips in any overlap, against a scan: the
// latest to start of those that hold it.
TEST(film_lists_lists, HolderOfAFrameAmongOverlappingClips) {
    std::mt19937 random(7);
    auto const pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 200; ++round) {
        clip_index::tape_clips tape;
        for (int k = 0, count = pick(0, 40); k < count; ++k) {
            std::int32_t const start = pick(0, 100);
            tape.clips.push_back({start, start + pick(-3, 60), 0, static_cast<std::uint32_t>(k)});
        }
        tape.index();
        for (std::int32_t frame = -1; frame <= 165; ++frame) {
            clip_index::entry const* want = nullptr;
            for (clip_index::entry const& c : tape.clips)
                if (c.start <= frame && frame < c.end) want = &c;
            ASSERT_EQ(tape.holder(frame), want) << round << " " << frame;
        }
    }
}

TEST(film_lists_lists, FeetAndFramesOfEachGauge) {
    std::tuple<label_t, std::int64_t, char const*> const rows[] = {
        {LABEL_KEYCODE_35, 16 * 12 + 3, "12+03"}, {LABEL_KEYCODE_16, 85, "2+05"},
        {LABEL_KEYCODE_353, 22, "1+00"},          {LABEL_KEYCODE_655_80, 13, "1+00"},
        {LABEL_KEYCODE_35, -17, "-1+01"},         {LABEL_NONE, 5, "5"},
    };
    for (auto const& [stock, frames, text] : rows)
        EXPECT_EQ(feet_frames_text(frames, geometry_of(stock)), text) << frames;
    // Footage as people type it, in perforations (16 mm: frames); a bare
    // number is frames.
    std::tuple<char const*, label_t, std::int64_t> const typings[] = {
        {"12&00", LABEL_KEYCODE_16, 480},
        {"1.9", LABEL_KEYCODE_16, 49},
        {"99", LABEL_KEYCODE_35, 396},
        {"0+01", LABEL_KEYCODE_353, 3},
        {"1+2+3", LABEL_KEYCODE_35, -1},
        {"", LABEL_KEYCODE_35, -1},
        {"+", LABEL_KEYCODE_35, -1},
        {"-1+00", LABEL_KEYCODE_35, -1},
        {"1234567890+00", LABEL_KEYCODE_35, -1},
        {"123456789+00", LABEL_KEYCODE_35, 123456789LL * 64},
    };
    for (auto const& [text, stock, perfs] : typings)
        EXPECT_EQ(read_footage(text, geometry_of(stock)), perfs) << text;
}

// On 16 mm, where a frame is one sample, cuts a frame apart are two pieces
// to pull, and cuts that abut are one. A 35 mm roll cut in between keeps
// its own keys, in the pull list and in the change list.
TEST(film_lists_lists, PullsAndChangesOverTwoStocks) {
    std::string const heading = "FPS\t24\nColumn\nName\tTape\tStart\tEnd\tKN Start\nData\n";
    lister const lists_of{{read_log("Heading\nFILM_FORMAT\t16mm\n" + heading +
                                    "t\tT\t01:00:00:00\t01:10:00:00\tKU2290121000+00\n"),
                           read_log("Heading\nFILM_FORMAT\t35mm\n" + heading +
                                    "u\tU\t01:00:00:00\t01:10:00:00\tKU2290132000+00\n")}};
    // Out of key order in the record: the pull list puts them in key order.
    film_lists const lists = lists_of(edl_line(1, "T", "C", hour + 20, hour + 30, 0, 10) +
                                      edl_line(2, "U", "C", hour, hour + 10, 10, 20) +
                                      edl_line(3, "T", "C", hour, hour + 10, 20, 30) +
                                      edl_line(4, "T", "C", hour + 11, hour + 20, 30, 39));
    EXPECT_EQ(texts(lists.pulls, [](pull_row const& p) { return p.key_in + " " + p.key_out; }),
              (strings{"KU2290121000&00 KU2290121000&09", "KU2290121000&11 KU2290121001&09",
                       "KU2290132000+00 KU2290132000+09"}));
    // The change list from nothing adds each cut, in its own stock's keys.
    EXPECT_EQ(
        texts(make_change_list(lists_of(""), lists).rows,
              [](change_row const& r) { return r.key_in; }),
        (strings{"KU2290121001&00", "KU2290132000+00", "KU2290121000&00", "KU2290121000&11"}));
}

// Two cuts of one roll g frames apart (negative g: overlapping), with h
// frames of handle each side: they share 2h - g frames when g < 2h, from
// the second's first frame less h to the first's last frame plus h.
TEST(film_lists_more, DupesAtAndAroundTheHandles) {
    lister const lists_of{two_rolls()};
    list_options options;
    std::pair<int, int> const rows[] = {{1, 0}, {1, 1}, {1, 2}, {1, 3},  {0, 0}, {0, -4},
                                        {0, 1}, {2, 3}, {2, 4}, {3, -2}, {5, 9}, {5, 10}};
    for (auto const& [handles, gap] : rows) {
        SCOPED_TRACE("handles " + std::to_string(handles) + " gap " + std::to_string(gap));
        options.handles        = handles;
        film_lists const lists = lists_of(
            edl_line(1, "T", "C", hour + 100, hour + 110, hour, hour + 10) +
                edl_line(2, "U", "C", 2 * hour, 2 * hour + 5, hour + 10, hour + 15) +
                edl_line(3, "T", "C", hour + 110 + gap, hour + 120 + gap, hour + 15, hour + 25),
            options);
        int const shared = 2 * handles - gap;
        if (shared <= 0) {
            EXPECT_TRUE(lists.dupes.empty());
            continue;
        }
        ASSERT_EQ(lists.dupes.size(), 1u);
        dupe_row const& d = lists.dupes[0];
        EXPECT_EQ(d.frames, shared);
        EXPECT_EQ(d.key_in,
                  key_text(LABEL_KEYCODE_35, t_key + 4 * (110 + gap - handles), "KU229012"));
        EXPECT_EQ(d.key_out, key_text(LABEL_KEYCODE_35, t_key + 4 * (109 + handles), "KU229012"));
        EXPECT_EQ(d.events, (std::vector<std::int32_t>{1, 3}));
    }
    options.handles = 0;
    // One event's two cuts end to end under another's: the same events on
    // both runs make one row.
    film_lists const joined = lists_of(edl_line(1, "T", "C", hour + 100, hour + 110, 0, 10) +
                                           edl_line(1, "T", "C", hour + 110, hour + 120, 10, 20) +
                                           edl_line(2, "T", "C", hour + 100, hour + 130, 20, 50),
                                       options);
    ASSERT_EQ(joined.dupes.size(), 1u);
    EXPECT_EQ(joined.dupes[0].frames, 20);
    EXPECT_EQ(joined.dupes[0].events, (std::vector<std::int32_t>{1, 2}));
    // Cuts staggered a frame apart down a roll: a row at each frame, each
    // naming every cut there, until the list stops with a finding.
    std::string staggered;
    for (int k = 0; k < 3000; ++k)
        staggered += edl_line(k % 999 + 1, "T", "C", hour + k, hour + k + 3000, 0, 3000);
    film_lists const many = lists_of(staggered, options);
    std::size_t uses      = 0;
    for (dupe_row const& d : many.dupes) uses += d.events.size();
    EXPECT_LE(uses, max_dupe_uses);
    EXPECT_GT(uses, max_dupe_uses / 2);
    ASSERT_FALSE(many.findings.empty());
    EXPECT_EQ(many.findings.back().kind, list_finding_kind::dupes_cut_short);
    // Handles stop at a roll's first frame: two cuts from frame 0 with a
    // frame of handle share frames 0 to 5.
    lister const from_zero{
        {read_log("Heading\nFILM_FORMAT\t35mm\nFPS\t24\nColumn\nName\tTape\tStart\tEnd\tKN Start\n"
                  "Data\nz\tZ\t01:00:00:00\t01:10:00:00\tKU2290120000+00\n")}};
    options.handles       = 1;
    film_lists const head = from_zero(edl_line(1, "Z", "C", hour, hour + 10, 0, 10) +
                                          edl_line(2, "Z", "C", hour, hour + 5, 10, 15),
                                      options);
    ASSERT_EQ(head.dupes.size(), 1u);
    EXPECT_EQ(head.dupes[0].first_sample, 0);
    EXPECT_EQ(head.dupes[0].frames, 6);
}

// A dissolve of one second, where the pulldown cadence and the cut meet
// cleanly: the outgoing side is the film after the outgoing cut, the
// incoming side the start of the incoming cut.
TEST(film_lists_more, OpticalSidesFollowTheCuts) {
    smpte::rate const r = smpte::rate_29_97;
    lister const lists_of{two_rolls(r)};
    std::int32_t const fps = r.nominal(), h = fps * 3600;
    film_lists const lists =
        lists_of(edl_line(1, "T", "C", h + fps, h + 3 * fps, 0, 2 * fps, r) +
                     edl_line(2, "T", "C", h + 3 * fps, h + 3 * fps, 2 * fps, 2 * fps, r) +
                     edl_line(2, "U", "D 030", 2 * h + fps, 2 * h + 4 * fps, 2 * fps, 5 * fps, r),
                 {}, r);
    ASSERT_EQ(lists.cuts.size(), 2u);
    ASSERT_EQ(lists.opticals.size(), 1u);
    optical_row const& o = lists.opticals[0];
    std::int64_t const n = 24 * 30 / fps;  // film frames of 30 video frames
    EXPECT_EQ(o.film_frames, n);
    ASSERT_TRUE(o.has_out && o.out.matched && o.in.matched);
    EXPECT_EQ(o.out.first_sample, lists.cuts[0].last_sample + 4);
    EXPECT_EQ(o.out.last_sample, lists.cuts[0].last_sample + 4 * n);
    EXPECT_EQ(o.in.first_sample, lists.cuts[1].first_sample);
    EXPECT_EQ(o.in.last_sample, lists.cuts[1].first_sample + 4 * (n - 1));
    EXPECT_EQ(o.centre.frames(), 2 * fps + 15);
}

// The kinds' names as lists, tables and JSON give them, each in its
// enumeration's order, and "unknown" outside it.
TEST(film_lists_more, KindNamesAndSeverities) {
    std::string names;
    for (int k = -1; k <= optical_kind_count; ++k)
        names += std::string(optical_name(static_cast<optical_kind>(k))) + " ";
    for (int k = 0; k < change_kind_count; ++k)
        names += std::string(change_name(static_cast<change_kind>(k))) + " ";
    for (int k = 0; k <= missing_kind_count; ++k)
        names += std::string(missing_name(static_cast<missing_kind>(k))) + " ";
    EXPECT_EQ(names,
              "unknown dissolve wipe fade_in fade_out speed unknown add remove lengthen shorten "
              "no_clip no_key_numbers outside_clip unknown ");
    // Findings: notes and the one error by name, the rest warnings.
    for (int k = 0; k <= list_finding_kind_count; ++k) {
        auto const kind        = static_cast<list_finding_kind>(k);
        std::string const name = finding_name(kind);
        severity const want    = name == "none" || name == "reel_by_clip_name" ? severity::note
                                 : name == "rate_differs" || name == "unknown" ? severity::error
                                                                               : severity::warning;
        EXPECT_EQ(severity_of(kind), want) << name;
    }
}

// Each effect's kind, print and film: lab lengths apart from opticals,
// fades from black, M2 speeds; an audio line between a wipe's two sides.
TEST(film_lists_more, OpticalKindsAndPrints) {
    lister const lists_of{two_rolls()};
    auto const audio = [](std::string line) {
        line.replace(line.find(" V "), 3, " A ");
        return line;
    };
    std::string const edl =
        edl_line(1, "T", "C", hour + 24, hour + 72, 0, 48) +
        edl_line(2, "T", "C", hour + 72, hour + 72, 48, 48) +
        edl_line(2, "U", "D 024", 2 * hour + 24, 2 * hour + 72, 48, 96) +
        edl_line(3, "U", "C", 2 * hour + 72, 2 * hour + 72, 96, 96) +
        audio(edl_line(3, "U", "C", 2 * hour + 72, 2 * hour + 72, 96, 96)) +
        edl_line(3, "T", "W001 025", hour + 120, hour + 168, 96, 144) +
        edl_line(4, "BL", "C", 0, 0, 144, 144) +
        edl_line(4, "U", "D 032", 2 * hour + 120, 2 * hour + 168, 144, 192) +
        edl_line(5, "T", "C", hour + 240, hour + 264, 192, 216) +
        "M2   T       012.0                01:00:10:00\n" +
        edl_line(6, "U", "D 020", 2 * hour + 300, 2 * hour + 348, 216, 264) +
        audio(edl_line(7, "U", "D 010", 2 * hour + 400, 2 * hour + 424, 264, 288));  // no optical
    list_options options;
    options.leader_perfs = 12 * 64;
    for (bool const own_lengths : {false, true}) {
        if (own_lengths) options.lab_lengths = {20, 25};
        film_lists const lists = lists_of(edl, options);
        // Event, kind, lab, film frames after the roll's first of the outgoing
        // (-1: none) and incoming sides, film frames, centre. Event 6 has no
        // outgoing line: only its incoming side is known.
        std::tuple<int, optical_kind, bool, std::int32_t, std::int32_t, std::int64_t,
                   char const*> const wants[] = {
            {2, optical_kind::dissolve, !own_lengths, 72, 24, 24, "15+12"},
            {3, optical_kind::wipe, false, 72, 120, 25, "18+12"},
            {4, optical_kind::fade_in, !own_lengths, -1, 120, 32, "22+00"},
            {5, optical_kind::speed, false, -1, 240, 12, "24+12"},
            {6, optical_kind::dissolve, own_lengths, -1, 300, 20, "26+02"},
        };
        ASSERT_EQ(lists.opticals.size(), std::size(wants));
        for (std::size_t k = 0; k < std::size(wants); ++k) {
            SCOPED_TRACE(k);
            optical_row const& o                                                = lists.opticals[k];
            auto const& [event, kind, lab, out_first, in_first, frames, centre] = wants[k];
            EXPECT_EQ(o.event, event);
            EXPECT_EQ(o.kind, kind);
            EXPECT_EQ(o.lab, lab);
            EXPECT_EQ(o.film_frames, frames);
            EXPECT_EQ(o.centre_feet, centre);
            std::int32_t const in_key = o.in.reel == "T" ? t_key : u_key;
            EXPECT_EQ(o.in.first_sample, in_key + 4 * in_first);
            EXPECT_EQ(o.in.last_sample, in_key + 4 * (in_first + frames - 1));
            if (out_first >= 0) {
                EXPECT_EQ(o.out.first_sample, (o.out.reel == "T" ? t_key : u_key) + 4 * out_first);
            }
        }
        EXPECT_TRUE(lists.opticals[2].out.black);
        EXPECT_EQ(lists.opticals[3].speed_tenths, 120);
        EXPECT_EQ(lists.opticals[0].speed_tenths, 240);
    }
    // A dissolve of no frames needs no film from either side.
    film_lists const none =
        lists_of(edl_line(1, "T", "C", hour + 24, hour + 72, 0, 48) +
                     edl_line(2, "T", "C", hour + 72, hour + 72, 48, 48) +
                     edl_line(2, "U", "D 000", 2 * hour + 24, 2 * hour + 72, 48, 96),
                 options);
    ASSERT_EQ(none.opticals.size(), 1u);
    EXPECT_EQ(none.opticals[0].film_frames, 0);
    // A list that opens with a dissolve has no outgoing side.
    film_lists const opening = lists_of(edl_line(1, "T", "D 024", hour, hour + 48, 0, 48), options);
    ASSERT_EQ(opening.opticals.size(), 1u);
    EXPECT_FALSE(opening.opticals[0].has_out);
    // Black reels by their names give leader, and a list may open with a
    // fade in from black.
    film_lists const black = lists_of(
        edl_line(1, "BL", "C", 0, 0, 0, 0) + edl_line(1, "T", "D 024", hour, hour + 48, 0, 48) +
        edl_line(2, "BLK", "C", 0, 24, 48, 72) + edl_line(3, "BLACK", "C", 0, 24, 72, 96) +
        edl_line(4, "BLAC", "C", 0, 24, 96, 120));
    EXPECT_EQ(
        texts(black.cuts, [](cut_row const& c) { return c.notes; }),
        (strings{"dissolve 24: overlap needed", "black: leader", "black: leader", "no log clip"}));
    ASSERT_EQ(black.opticals.size(), 1u);
    EXPECT_EQ(black.opticals[0].kind, optical_kind::fade_in);
    EXPECT_EQ(black.opticals[0].in.key_in, "KU2290121000+00");
}

// A reverse M2 runs back from its entry: the film it needs ends there.
TEST(film_lists_more, ReverseSpeedNeedsTheFilmBeforeItsEntry) {
    lister const lists_of{two_rolls()};
    // -12 fps over 48 record frames at 24: 24 source frames, entry 01:00:10:00
    film_lists const lists = lists_of(edl_line(1, "T", "C", hour + 240, hour + 216, 0, 48) +
                                      "M2   T       -012.0               01:00:10:00\n");
    ASSERT_EQ(lists.opticals.size(), 1u);
    optical_row const& o = lists.opticals[0];
    EXPECT_EQ(o.speed_tenths, -120);
    EXPECT_EQ(o.in.key_in, "KU2290121013+09");   // frame 217
    EXPECT_EQ(o.in.key_out, "KU2290121015+00");  // frame 240, the entry
    EXPECT_EQ(o.in.frames, 24);
    EXPECT_EQ(lists.cuts.at(0).notes, "M2 -12.0 fps: optical");
    // 24.1 fps over one record frame runs into a second source frame.
    film_lists const one = lists_of(edl_line(1, "T", "C", hour + 240, hour + 242, 0, 1) +
                                    "M2   T       024.1                01:00:10:00\n");
    ASSERT_EQ(one.opticals.size(), 1u);
    EXPECT_EQ(one.opticals[0].in.frames, 2);
    // Below one frame a second the sign must survive the whole part's 0.
    EXPECT_EQ(lists_of(edl_line(1, "T", "C", hour + 240, hour + 239, 0, 48) +
                       "M2   T       -000.5               01:00:10:00\n")
                  .cuts.at(0)
                  .notes,
              "M2 -0.5 fps: optical");
}

// Sound timecodes from a laid-out log: the Sound TC at the clip's Start
// plus the cut's offset into the clip, counted by hand (clip b's sound is
// drop-frame: 157 frames on from 11:00:58;00 cross into a minute that
// skips ;00 and ;01); and the audio list the writer makes of them, its
// mode changing where the sound's does.
TEST(film_lists_more, SoundPullAndAudioList) {
    lister const lists_of{
        {read_log("Heading\nFILM_FORMAT\t35mm\nFPS\t29.97\nColumn\n"
                  "Name\tTape\tStart\tEnd\tKN Start\tSoundroll\tSound TC\nData\n"
                  "a\tT\t01:00:00:00\t01:00:20:00\tKU2290121000+00\tS1\t00:00:00:00\n"
                  "b\tT\t01:00:20:00\t01:00:40:00\tKU2290121031+00\tS2\t11:00:58;00\n"
                  "c\tT\t01:01:00:00\t01:01:20:00\tKU2290121062+00\t\t\n")}};
    film_lists const lists = lists_of(
        "TITLE: R1\nFCM: NON-DROP FRAME\n"
        "001 T  V  C 01:00:00:00 01:00:03:02 00:59:58:00 01:00:01:02\n"
        "002 T  AA/V C 01:00:25:07 01:00:27:14 01:00:01:02 01:00:03:09\n"
        "003 T  V  C 01:01:01:00 01:01:02:00 01:00:03:09 01:00:04:09\n"
        "004 BL V  C 00:00:00:00 00:00:01:00 01:00:04:09 01:00:05:09\n"
        "005 T  V  C 01:00:19:29 01:00:20:05 01:00:05:09 01:00:05:15\n",
        {}, smpte::rate_29_97);
    EXPECT_EQ(texts(lists.sounds,
                    [](sound_row const& s) {
                        return std::to_string(s.event) + " " + s.soundroll + " " +
                               (s.found ? smpte::to_string(s.sound_in) + " " +
                                              smpte::to_string(s.sound_out)
                                        : "-");
                    }),
              (strings{"1 S1 00:00:00:00 00:00:03:02", "2 S2 11:01:03;09 11:01:05;16", "3  -",
                       "5 S1 00:00:19:29 00:00:20:05"}));
    std::string const audio = edl::write(audio_edl(lists, "R1 SOUND"));
    EXPECT_EQ(audio,
              "TITLE: R1 SOUND\n"
              "FCM: NON-DROP FRAME\n"
              "001  S1       AA    C        00:00:00:00 00:00:03:02 00:59:58:00 01:00:01:02\n"
              "FCM: DROP FRAME\n"
              "002  S2       AA    C        11:01:03;09 11:01:05;16 01:00:04;20 01:00:06;27\n"
              "FCM: NON-DROP FRAME\n"
              "005  S1       AA    C        00:00:19:29 00:00:20:05 01:00:05:09 01:00:05:15\n");
    // A sound not found stays out of the list, the first one too.
    edl::document const found =
        audio_edl(lists_of("003 T V C 01:01:01:00 01:01:02:00 01:00:03:09 01:00:04:09\n"
                           "004 T V C 01:00:00:00 01:00:03:02 01:00:04:09 01:00:07:11\n",
                           {}, smpte::rate_29_97),
                  "");
    ASSERT_EQ(found.edits.size(), 1u);
    EXPECT_EQ(found.edits[0].event, 4);
}

// Generated cuts edited at random (trims, inserts, deletions, moves): the
// change list, replayed on the previous cut by its footage positions,
// gives the new cut.
TEST(film_lists_more, ChangeListReplaysToTheNewCut) {
    lister const lists_of{two_rolls()};
    std::mt19937 random(28);
    auto const pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    struct shot {
        bool u;
        std::int32_t in, length;  // source frames from the roll's first
    };
    list_options options;
    options.leader_perfs = 12 * 64;
    auto const list_of   = [&](std::vector<shot> const& shots) {
        std::string edl;
        std::int32_t rec = hour;
        for (std::size_t k = 0; k < shots.size(); ++k) {
            shot const& s         = shots[k];
            std::int32_t const at = (s.u ? 2 : 1) * hour + s.in;
            edl += edl_line(static_cast<int>(k + 1), s.u ? "U" : "T", "C", at, at + s.length, rec,
                              rec + s.length);
            rec += s.length;
        }
        return lists_of(edl, options);
    };
    auto const random_shot = [&] { return shot{pick(0, 1) == 1, pick(0, 4000), pick(1, 80)}; };
    struct have {
        std::string key_prefix;
        std::int64_t first_sample, last_sample, start, end;
        bool old;
    };
    auto const keys = [](auto const& c) {
        return c.key_prefix + " " + std::to_string(c.first_sample) + " " +
               std::to_string(c.last_sample);
    };
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        std::vector<shot> before(static_cast<std::size_t>(pick(0, 25)));
        for (shot& s : before) s = random_shot();
        std::vector<shot> after = before;
        for (int edits = pick(1, 6); edits > 0; --edits) {
            int const what = after.empty() ? 1 : pick(0, 4);
            auto const at =
                after.begin() + (after.empty() ? 0 : pick(0, static_cast<int>(after.size()) - 1));
            if (what == 0) {  // trim the head
                int const d = std::min(pick(-at->length + 1, 30), at->in);
                at->in -= d;
                at->length += d;
            } else if (what == 1) {
                after.insert(at, random_shot());
            } else if (what == 2) {
                after.erase(at);
            } else if (what == 3) {  // trim the tail
                at->length = std::max(1, at->length + pick(-40, 40));
            } else {  // move
                shot const s = *at;
                after.erase(at);
                after.insert(after.begin() + pick(0, static_cast<int>(after.size())), s);
            }
        }
        film_lists const was = list_of(before), now = list_of(after);
        change_list const changes = make_change_list(was, now);
        std::vector<have> cut;
        for (cut_row const& c : was.cuts)
            cut.push_back({c.key_prefix, c.first_sample, c.last_sample, c.running_frames - c.frames,
                           c.running_frames, true});
        for (change_row const& r : changes.rows) {
            std::int64_t const perfs = 4 * r.frames;
            if (r.kind == change_kind::add) {
                auto const it = std::find_if(cut.begin(), cut.end(), [&](have const& h) {
                    return h.old && h.start >= r.at;
                });
                cut.insert(it, {r.key_prefix, r.first_sample, r.last_sample, 0, 0, false});
                continue;
            }
            auto const it = std::find_if(cut.begin(), cut.end(), [&](have const& h) {
                return h.old && (r.end == change_end::tail ? h.end : h.start) == r.at;
            });
            if (it == cut.end()) {
                ADD_FAILURE() << "no cut of the previous list at " << r.at;
                break;
            }
            bool const longer = r.kind == change_kind::lengthen;
            if (r.kind == change_kind::remove)
                cut.erase(it);
            else if (r.end == change_end::head)
                it->first_sample += longer ? -perfs : perfs;
            else
                it->last_sample += longer ? perfs : -perfs;
        }
        EXPECT_EQ(texts(cut, keys), texts(now.cuts, keys));
        // Reel order holds every row once.
        std::vector<std::uint32_t> order = changes.reel_order;
        std::sort(order.begin(), order.end());
        for (std::size_t k = 0; k < order.size(); ++k) EXPECT_EQ(order[k], k);
        EXPECT_EQ(order.size(), changes.rows.size());
    }
    // Shots without key numbers that run backwards or stand still are the
    // same shots in both versions: nothing changes.
    film_lists const once = lists_of(
        "001 R1 V C 03:00:02:00 03:00:01:00 01:00:00:00 01:00:01:00\n"
        "002 R1 V C 03:00:05:00 03:00:05:00 01:00:01:00 01:00:02:00\n"
        "M2 R1 000.0 03:00:05:00\n");
    EXPECT_TRUE(make_change_list(once, once).rows.empty());
}

}  // namespace
}  // namespace marlix::film
