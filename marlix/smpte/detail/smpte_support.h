#pragma once

// What the SMPTE layer's sources share: the table of known rates and the
// refusal every job answers. Not installed.

#include "marlix/smpte/timecode.h"

namespace marlix::smpte::detail {

struct named_rate {
    char const* name;
    rate r;
};
inline constexpr named_rate known_rates[] = {
    {"23.976", rate_23_976},
    {"24", rate_24},
    {"25", rate_25},
    {"29.97", rate_29_97},
    {"29.97df", rate_29_97_df},
    {"30", rate_30},
    {"47.952", rate_47_952},
    {"48", rate_48},
    {"50", rate_50},
    {"59.94", rate_59_94},
    {"59.94df", rate_59_94_df},
    {"60", rate_60},
};

constexpr bool known(rate r) {
    for (auto const& k : known_rates)
        if (k.r == r) return true;
    return false;
}

// A refusal, as a result of any type: its value is the empty one the
// header promises, so that a caller who skips ok() reads no plausible
// rate or position.
template <class T>
constexpr T nothing() {
    return T{};
}
template <>
constexpr rate nothing<rate>() {
    return no_rate;
}
template <>
constexpr timecode nothing<timecode>() {
    return timecode(0, no_rate);
}
struct refused {
    error why;
    template <class T>
    constexpr operator result<T>() const {
        return {nothing<T>(), why};
    }
};

}  // namespace marlix::smpte::detail
