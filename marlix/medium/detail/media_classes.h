#pragma once

// Rates and media by class, worked out at compile time from the host's rate
// table and the medium mapping table, never listed again: the project-rate
// classes and the media families the translation's rules branch on, and
// the rate groups of edit labels and medium roll identities.

#include "marlix/host/detail/rate_table.h"
#include "marlix/host/frame_rate.h"
#include "marlix/medium/detail/medium_table.h"
#include "marlix/medium/medium_roll.h"

namespace marlix::detail {

using Tov::FrameRate;

// --- rates by class -------------------------------------------------------------

// What the rules need to know of a host rate: its nominal frames a second
// (24, 25, 30, 48, 50 or 60; 0 for a rate of no class), whether it runs
// 1000/1001 slow, and whether it is one of the project rates grouped with
// a nominal rate (FrameRate_Project24 .. FrameRate_Project48).
struct rate_class {
    int nominal        = 0;
    bool has_1001      = false;
    bool project_group = false;

    // 24 or 48 fps film (23.976 and 47.952 included): 1, 2, 31 / 6, 7, 34.
    constexpr bool single_film() const { return nominal == 24; }
    constexpr bool double_film() const { return nominal == 48; }
    constexpr bool film() const { return single_film() || double_film(); }
    // Film at a whole rate: 24, 48 and their project rates (1, 6, 31, 34).
    constexpr bool whole_film() const { return film() && !has_1001; }
    // The 25 and 30 families, project rates included: 3, 8, 32 / 4, 5, 9,
    // 10, 33.
    constexpr bool pal() const { return nominal == 25 || nominal == 50; }
    constexpr bool ntsc() const { return nominal == 30 || nominal == 60; }
    // The video rates proper, without the project rates: 3, 8 / 4, 5, 9, 10.
    constexpr bool pal_video() const { return pal() && !project_group; }
    constexpr bool ntsc_video() const { return ntsc() && !project_group; }
    constexpr bool video() const { return pal_video() || ntsc_video(); }
    // 50 and 60 fps (8, 9, 10): a frame of the project is a field of 25i or
    // 30i.
    constexpr bool double_rate() const {
        return (nominal == 50 || nominal == 60) && !project_group;
    }
    // 24 and 48 fps film without the project rates (1, 2 / 6, 7).
    constexpr bool single_film_rate() const { return single_film() && !project_group; }
    constexpr bool double_film_rate() const { return double_film() && !project_group; }
};

// Classes of the rates the host's table knows, by rate number; any other
// rate has no class.
struct rate_classes {
    static constexpr int count = 64;
    rate_class of[count];
    constexpr rate_classes() : of{} {
        for (auto const& row : Tov::detail::rate_rows) {
            rate_class& c = of[row.rate];
            c.nominal     = static_cast<int>(row.nominal_fps);
            c.has_1001    = row.has_1001;
            c.project_group =
                row.rate >= Tov::FrameRate_Project24 && row.rate <= Tov::FrameRate_Project48;
        }
    }
};
inline constexpr rate_classes rate_class_table{};

constexpr rate_class classify(FrameRate r) {
    return r >= 0 && r < rate_classes::count ? rate_class_table.of[r] : rate_class{};
}

// --- media ------------------------------------------------------------------------

constexpr bool is_film(MediumRollMedium m) {
    return m == MediumRollFilm || m == MediumRollLabFilm || m == MediumRollCompFilm;
}
constexpr bool is_video(MediumRollMedium m) { return m >= MediumRoll24p && m <= MediumRoll60pM; }
constexpr bool is_playout(MediumRollMedium m) {
    return m >= MediumRollPlayout24p && m <= MediumRollPlayout60pM;
}

// What the rules need to know of a medium, from the medium mapping table:
// its rate and that rate's class, the rate of a frame of its family at
// single rate (25, 30 or 29.97 for 50p, 60p and 60pM), and whether its
// samples are whole frames at single rate (24p, 25p, 30p, 30pM and their
// playouts: the frame cadences, not the field ones). Media without a row
// have no rate.
struct medium_class_row {
    FrameRate rate        = Tov::FrameRate_None;
    rate_class facts      = {};
    FrameRate single_rate = Tov::FrameRate_None;
    bool frame_cadence    = false;
};
struct medium_classes {
    medium_class_row of[medium_count];
    constexpr medium_classes() : of{} {
        for (auto const& row : medium_fact_rows) {
            medium_class_row& c = of[row.medium];
            c.rate              = row.rate;
            c.facts             = classify(row.rate);
            c.single_rate       = !c.facts.double_rate()  ? row.rate
                                  : c.facts.nominal == 50 ? Tov::FrameRate_25
                                  : c.facts.has_1001      ? Tov::FrameRate_29_97
                                                          : Tov::FrameRate_30;
            c.frame_cadence     = row.frame_progressive && !row.double_rate;
        }
    }
};
inline constexpr medium_classes medium_class_table{};

constexpr medium_class_row medium_row(MediumRollMedium m) {
    return m >= 0 && m < medium_count ? medium_class_table.of[m] : medium_class_row{};
}
constexpr FrameRate medium_rate(MediumRollMedium m) { return medium_row(m).rate; }
constexpr rate_class medium_class(MediumRollMedium m) { return medium_row(m).facts; }
constexpr FrameRate single_rate_of(MediumRollMedium m) { return medium_row(m).single_rate; }
constexpr bool frame_cadence_medium(MediumRollMedium m) { return medium_row(m).frame_cadence; }
constexpr bool runs_1001(MediumRollMedium m) { return medium_class(m).has_1001; }

// The routing table's groups: "24p video" is every 24 fps video medium
// (24i and the 1000/1001 ones included); "25 video" 25p, 25i and 50p;
// "30 video" 30p, 30i and 60p, the whole-rate ones only.
constexpr bool is_24p_video(MediumRollMedium m) {
    return is_video(m) && medium_class(m).single_film();
}
constexpr bool is_25_video(MediumRollMedium m) { return is_video(m) && medium_class(m).pal(); }
constexpr bool is_30_video(MediumRollMedium m) {
    return is_video(m) && medium_class(m).ntsc() && !medium_class(m).has_1001;
}
// A playout medium's family: its nominal rate at single rate (24, 25, 30),
// 0 for other media.
constexpr int playout_family(MediumRollMedium m) {
    return is_playout(m) ? classify(single_rate_of(m)).nominal : 0;
}
}  // namespace marlix::detail
