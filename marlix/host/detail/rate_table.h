#pragma once

// The host's frame-rate table: the one list of the rates the library knows,
// read by the host services and classified by the translation.

#include <iterator>

#include "marlix/host/frame_rate.h"

namespace Tov::detail {

// One row per rate the frame-rate table knows: the rate, its nominal frames
// per second and whether it runs 1000/1001 slow.
struct rate_row {
    FrameRate rate;
    double nominal_fps;
    bool has_1001;
};
inline constexpr rate_row rate_rows[] = {
    {FrameRate_24, 24.0, false},        {FrameRate_23_976, 24.0, true},
    {FrameRate_25, 25.0, false},        {FrameRate_30, 30.0, false},
    {FrameRate_29_97, 30.0, true},      {FrameRate_48, 48.0, false},
    {FrameRate_47_952, 48.0, true},     {FrameRate_50, 50.0, false},
    {FrameRate_60, 60.0, false},        {FrameRate_59_94, 60.0, true},
    {FrameRate_Project24, 24.0, false}, {FrameRate_Project25, 25.0, false},
    {FrameRate_Project30, 30.0, false}, {FrameRate_Project48, 48.0, false},
};
static_assert(std::size(rate_rows) == 14, "ten broadcast rates and four project rates");

constexpr rate_row const* find_rate(FrameRate r) {
    for (auto const& row : rate_rows)
        if (row.rate == r) return &row;
    return nullptr;
}

}  // namespace Tov::detail
