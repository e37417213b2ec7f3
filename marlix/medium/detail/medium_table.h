#pragma once

// The video and playout media's facts: the one list of each medium's rate,
// scan and label types, read by the medium mapping and classified by the
// translation.

#include <cstddef>
#include <iterator>

#include "marlix/host/frame_rate.h"
#include "marlix/internal/table_rows.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/types/label_types.h"

namespace marlix::detail {

// Per video and playout medium (15..40): its frame rate, whether a sample
// is a whole frame, whether it runs at double rate, and its label types
// (the default, and the one of its own frame rate).
struct medium_facts {
    MediumRollMedium medium;
    Tov::FrameRate rate;
    bool frame_progressive;
    bool double_rate;
    label_t label_for_rate;
};
inline constexpr MediumRollMedium first_picture_medium = MediumRoll24p;
// clang-format off
inline constexpr medium_facts medium_fact_rows[] = {
    {MediumRoll24p, Tov::FrameRate_24, true, false, LABEL_TC_24},
    {MediumRoll24pM, Tov::FrameRate_23_976, true, false, LABEL_TC_24},
    {MediumRoll24i, Tov::FrameRate_24, false, false, LABEL_TC_24},
    {MediumRoll24iM, Tov::FrameRate_23_976, false, false, LABEL_TC_24},
    {MediumRoll25p, Tov::FrameRate_25, true, false, LABEL_PAL},
    {MediumRoll25i, Tov::FrameRate_25, false, false, LABEL_PAL},
    {MediumRoll30p, Tov::FrameRate_30, true, false, LABEL_NTSC},
    {MediumRoll30pM, Tov::FrameRate_29_97, true, false, LABEL_NTSC},
    {MediumRoll30i, Tov::FrameRate_30, false, false, LABEL_NTSC},
    {MediumRoll30iM, Tov::FrameRate_29_97, false, false, LABEL_NTSC},
    {MediumRoll50p, Tov::FrameRate_50, true, true, LABEL_TC_50},
    {MediumRoll60p, Tov::FrameRate_60, true, true, LABEL_TC_60},
    {MediumRoll60pM, Tov::FrameRate_59_94, true, true, LABEL_TC_60},
    {MediumRollPlayout24p, Tov::FrameRate_24, true, false, LABEL_TC_24},
    {MediumRollPlayout24pM, Tov::FrameRate_23_976, true, false, LABEL_TC_24},
    {MediumRollPlayout24i, Tov::FrameRate_24, false, false, LABEL_TC_24},
    {MediumRollPlayout24iM, Tov::FrameRate_23_976, false, false, LABEL_TC_24},
    {MediumRollPlayout25p, Tov::FrameRate_25, true, false, LABEL_PAL},
    {MediumRollPlayout25i, Tov::FrameRate_25, false, false, LABEL_PAL},
    {MediumRollPlayout30p, Tov::FrameRate_30, true, false, LABEL_NTSC},
    {MediumRollPlayout30pM, Tov::FrameRate_29_97, true, false, LABEL_NTSC},
    {MediumRollPlayout30i, Tov::FrameRate_30, false, false, LABEL_NTSC},
    {MediumRollPlayout30iM, Tov::FrameRate_29_97, false, false, LABEL_NTSC},
    {MediumRollPlayout50p, Tov::FrameRate_50, true, true, LABEL_TC_50},
    {MediumRollPlayout60p, Tov::FrameRate_60, true, true, LABEL_TC_60},
    {MediumRollPlayout60pM, Tov::FrameRate_59_94, true, true, LABEL_TC_60},
};
// clang-format on
static_assert(std::size(medium_fact_rows) == medium_count - first_picture_medium,
              "one row per video and playout medium 15..40");
static_assert(rows_in_order(medium_fact_rows, &medium_facts::medium, first_picture_medium),
              "row i describes medium 15 + i");

constexpr medium_facts const* facts_of(MediumRollMedium m) {
    if (m < first_picture_medium || m >= medium_count) return nullptr;
    return &medium_fact_rows[m - first_picture_medium];
}

}  // namespace marlix::detail
