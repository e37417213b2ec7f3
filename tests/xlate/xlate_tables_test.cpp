#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "marlix/host/host_config.h"
#include "marlix/xlate/cadence_tables.h"
#include "marlix/xlate/xlate_params.h"

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
    // The values taken from the project; the fixed ones show in every translation.
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
    // The output format's rate and editing medium.
    EXPECT_TRUE(l.transfer_rate == Tov::FrameRate_59_94 && l.video_medium == MediumRoll60pM);
}

TEST(MPosn_Xlate_Params, SpecialisedInitialisers) {
    ScopedConfig restore_config;
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
    EXPECT_TRUE(p.transfer == transfer_frame_for_frame && p.transfer_rate == Tov::FrameRate_25 &&
                p.video_medium == MediumRoll25i);
    MPosn_Conversion_Params q;
    EXPECT_EQ(q.mode, 1);
    q.mode = 7;
    q.init_to_default_filmvid_conversion();
    EXPECT_EQ(q.mode, 1);
    configb::host().set("default_film_video_conversion_pulldown", "2", nullptr);
    p.init_to_default_filmvid_conversion(Tov::FrameRate_29_97);
    EXPECT_TRUE(p.transfer == transfer_cadence && p.video_medium == MediumRoll30i);
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
    q.modify_sequence_to_playfile_std(3);
    EXPECT_EQ(q.sequence, 0);  // no pulldown: unchanged
    q.pulldown = true;
    // standard, from, by, to: 25 phases at standard 2, else 5.
    for (auto const& [standard, from, n, to] :
         {std::array{2, 0, 27, 2}, {2, 0, 7, 7}, {3, 0, 7, 2}, {0, 4, 27, 1}}) {
        q.standard = standard;
        q.sequence = from;
        q.modify_sequence_to_playfile_std(n);
        EXPECT_EQ(q.sequence, to) << standard << ": " << from << " + " << n;
    }
    q.init_to_playout_generation();
    EXPECT_TRUE(q.standard == 0 && !q.active);
    q.init_to_default_filmvid_conversion();
    EXPECT_TRUE(q.active && q.variant == 1);
    q.init();
    EXPECT_EQ(q.variant, 0);
    q.init_to_default_filmvid_conversion();
    EXPECT_EQ(q.variant, 2);
}

std::string times(int n, std::string const& s) {
    std::string out;
    while (n-- > 0) out += s;
    return out;
}

// Every cell of every table against the cadence written out unit by unit:
// how many film frames start in each video frame or field of a group. A
// unit shows the film frame on show there (where two start in it, the
// first). A row (the clip's first unit in the group) counts film frames
// from the first that starts at or after it; a row within a film frame
// counts from the frame on show, except the rows listed, which count on.
TEST(cadence_tables, EveryCellFollowsTheCadence) {
    using P = cadence_pair;
    std::vector<int> evens;  // 24 into 50 fields: rows 24, 26 .. 46
    for (int r = 24; r <= 46; r += 2) evens.push_back(r);
    std::string const twelve = times(11, "10") + "100";  // a third field on the 12th frame
    struct {
        P pair;
        std::string starts;
        std::vector<int> on_forward, on_inverse;
    } const cadences[] = {
        {P::film24_to_25_frames, times(24, "1") + "0", {}, {}},  // one frame repeated in 25
        {P::film24_to_50_fields, times(2, twelve), evens, evens},
        {P::film48_to_25_frames,
         times(23, "2") + "11",
         {},
         {}},  // two a frame, one in the last two
        // 48 on fields: one field in 25 (in 5 at 60) without a new frame.
        {P::film48_to_50_fields, times(2, times(24, "1") + "0"), {24}, {24}},
        {P::film24_to_30_frames, "11110", {}, {}},       // 4 into 5: D twice
        {P::film24_to_60_fields, "1010010100", {}, {}},  // 2:3: A 2, B 3, C 2, D 3
        {P::film48_to_30_frames, "22211", {}, {}},
        {P::film48_to_60_fields, times(2, "11110"), {4}, {}},
    };
    for (auto const& c : cadences) {
        SCOPED_TRACE(static_cast<int>(c.pair));
        int const units = static_cast<int>(c.starts.size());
        auto new_at = [&](int u) { return c.starts[static_cast<std::size_t>(u % units)] - '0'; };
        std::vector<int> first;  // each film frame's first unit, over three groups
        for (int u = 0; u < 3 * units; ++u)
            for (int i = 0; i < new_at(u); ++i) first.push_back(u);
        auto at_or_after = [&](int u) {
            int m = 0;
            while (first[static_cast<std::size_t>(m)] < u) ++m;
            return m;
        };
        auto shown = [&](int u) { return new_at(u) == 0 ? at_or_after(u) - 1 : at_or_after(u); };
        auto first_frame = [&](int r, std::vector<int> const& on) {
            bool const counts_on = std::find(on.begin(), on.end(), r) != on.end();
            return counts_on ? at_or_after(r) : shown(r);
        };
        int const films             = static_cast<int>(first.size()) / 3;
        cadence_table const forward = cadence_forward(c.pair), inverse = cadence_inverse(c.pair);
        ASSERT_TRUE(forward.rows == units && forward.columns == films);
        for (int r = 0; r < units; ++r)
            for (int k = 0; k < films; ++k)
                ASSERT_EQ(forward.at(r, k),
                          first[static_cast<std::size_t>(first_frame(r, c.on_forward) + k)] - r)
                    << "forward row " << r << " frame " << k;
        // 48 on 60 fields keeps nine inverse rows, row 8 a copy of row 4.
        ASSERT_TRUE(inverse.rows == (c.pair == P::film48_to_60_fields ? 9 : units) &&
                    inverse.columns == units);
        for (int r = 0; r < inverse.rows; ++r) {
            int const row = c.pair == P::film48_to_60_fields && r == 8 ? 4 : r;
            for (int j = 0; j < units; ++j)
                ASSERT_EQ(inverse.at(r, j), shown(row + j) - first_frame(row, c.on_inverse))
                    << "inverse row " << r << " unit " << j;
        }
    }
}

// Round trips through every row are checked through the translation's
// cadence legs; here, the look-up's own arithmetic.
// Cadences by their names, and the frames they show at and past their ends.
TEST(cadence_tables, NamesAndFramesOnShow) {
    for (auto [text, pair] : {std::pair{"24:25i", cadence_pair::film24_to_50_fields},
                              {"24:50p", cadence_pair::film24_to_50_fields},
                              {"48:25p", cadence_pair::film48_to_25_frames},
                              {"48:50p", cadence_pair::film48_to_50_fields},
                              {"48:30p", cadence_pair::film48_to_30_frames},
                              {"48:60p", cadence_pair::film48_to_60_fields}}) {
        cadence_pair p = cadence_pair::film24_to_25_frames;
        EXPECT_TRUE(find_cadence_pair(text, p) && p == pair) << text;
    }
    cadence_pair p{};
    EXPECT_FALSE(find_cadence_pair("12:30i", p));
    auto const fields = cadence_pair::film24_to_60_fields;
    EXPECT_EQ(cadence_frame_on_show(fields, 5, 0), -1);
    EXPECT_EQ(cadence_frame_on_show(fields, -1, 0), -1);
    EXPECT_EQ(cadence_frame_on_show(fields, 0, -1), -1);
    char name[cadence_frame_name_capacity];
    for (auto [pair, frame, text] : {std::tuple{fields, 3, "D"},
                                     {fields, -1, "<"},
                                     {cadence_pair::film48_to_50_fields, 30, "30"}}) {
        cadence_frame_name(pair, frame, name);
        EXPECT_STREQ(name, text) << frame;
    }
}

TEST(cadence_lookup, KnownValues) {
    cadence_table const frames = cadence_forward(cadence_pair::film24_to_25_frames);
    EXPECT_EQ(cadence_lookup(frames, 0, 24, 24, 25), 25);  // the next cycle
    cadence_table const back = cadence_inverse(cadence_pair::film24_to_25_frames);
    EXPECT_EQ(cadence_lookup(back, 0, 24, 25, 24), 23);
    EXPECT_EQ(cadence_lookup(back, 256, 24, 25, 24), 23);  // the row is a byte
    EXPECT_EQ(cadence_lookup(back, 0, -1, 25, 24), 0);
    EXPECT_TRUE(cadence_lookup(back, 0, 24, 0, 24) == 0 && cadence_lookup(back, 0, 24, 25, 0) == 0);
    // The smallest group and stride that still look up, and the first n whose
    // product leaves no room for a cell.
    constexpr long long limit = (LLONG_MAX - SCHAR_MAX) / 2;
    EXPECT_TRUE(cadence_lookup_fits(0, 1, 1) && cadence_lookup_fits(limit, 1, 2));
    EXPECT_FALSE(cadence_lookup_fits(limit + 1, 1, 2));
    // Outside a table, 0, where the cell after a row's last is the next row's
    // first.
    for (int p = 0; p < cadence_pair_count; ++p)
        for (cadence_table const& t : {cadence_forward(static_cast<cadence_pair>(p)),
                                       cadence_inverse(static_cast<cadence_pair>(p))}) {
            EXPECT_TRUE(t.at(0, t.columns) == 0 && t.at(0, -1) == 0) << p;
            EXPECT_TRUE(t.at(t.rows, 0) == 0 && t.at(-1, 0) == 0) << p;
        }
}

}  // namespace
}  // namespace marlix
