#pragma once

/// @file
/// The host's frame-rate enumeration on its own, for headers that name a
/// rate and need nothing else of the host.

#include <cstdint>

namespace Tov {

/// The host's frame-rate enumeration, held and compared as an integer. The
/// named values are the rates the library knows; any other value is legal to
/// hold and falls to each mapping's default row.
enum FrameRate : std::int32_t {
    FrameRate_None   = 0,
    FrameRate_24     = 1,
    FrameRate_23_976 = 2,  ///< 24 x 1000/1001
    FrameRate_25     = 3,
    FrameRate_30     = 4,
    FrameRate_29_97  = 5,  ///< 30 x 1000/1001
    FrameRate_48     = 6,
    FrameRate_47_952 = 7,  ///< 48 x 1000/1001
    FrameRate_50     = 8,
    FrameRate_60     = 9,
    FrameRate_59_94  = 10,  ///< 60 x 1000/1001
    /// Project rates grouped with 24, 25, 30 and 48 fps: they run at those
    /// nominal rates in the frame-rate table.
    FrameRate_Project24 = 31,
    FrameRate_Project25 = 32,
    FrameRate_Project30 = 33,
    FrameRate_Project48 = 34,
};

}  // namespace Tov
