#pragma once

#include <cstdint>

#include "marlix/base/long32.h"

namespace marlix {

/// Sums and differences of 32-bit samples wrap modulo 2^32, as 32-bit label
/// arithmetic always has, without signed overflow.
inline constexpr long32 wrap_add(long32 a, long32 b) {
    return static_cast<long32>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline constexpr long32 wrap_sub(long32 a, long32 b) {
    return static_cast<long32>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

}  // namespace marlix
