#pragma once

#include "marlix/base/long32.h"

namespace marlix {

/// Sample values that stand for the absence of a position, library-wide.
inline constexpr long32 INVALID_SAMPLE      = -100000000;  ///< no valid sample
inline constexpr long32 SAMPLE_PAST_END     = 100000001;   ///< after a bounded span
inline constexpr long32 SAMPLE_BEFORE_START = 100000002;   ///< before a bounded span

inline constexpr bool is_special_sample(long32 s) {
    return s == INVALID_SAMPLE || s == SAMPLE_PAST_END || s == SAMPLE_BEFORE_START;
}

/// The invalid position and time value.
inline constexpr double invalid_position = 1e99;

}  // namespace marlix
