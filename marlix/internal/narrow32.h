#pragma once

// 32-bit results of wider arithmetic, one function per overflow policy and
// the policy in its name: beyond 32 bits a result is the invalid sample,
// wraps modulo 2^32 (as 32-bit label arithmetic always has) or saturates
// at the nearest 32-bit value. Doubles are truncated toward zero first.

#include <cstdint>

#include "marlix/base/long32.h"
#include "marlix/base/special_samples.h"
#include "marlix/internal/ascii.h"

namespace marlix::detail {

inline constexpr bool fits_long32(long long v) { return v >= INT32_MIN && v <= INT32_MAX; }

inline constexpr long32 narrow_or_invalid(long long v) {
    return fits_long32(v) ? static_cast<long32>(v) : INVALID_SAMPLE;
}

inline constexpr long32 narrow_wrapping(long long v) {
    return static_cast<long32>(static_cast<std::uint32_t>(v));
}

inline constexpr long32 narrow_saturating(long long v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<long32>(v);
}

// NaN, the infinities and values beyond 32 bits: INVALID_SAMPLE.
inline constexpr long32 truncate_or_invalid(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INVALID_SAMPLE;
    return static_cast<long32>(v);
}

// NaN counts as below every value.
inline constexpr long32 truncate_saturating(double v) {
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (!(v < 2147483647.0)) return INT32_MAX;
    return static_cast<long32>(v);
}

// Where decimal readers stop growing a number: far beyond 32 bits, far
// from overflowing 64, so a number too long for 32 bits is seen as such.
inline constexpr long long decimal_saturation = 1'000'000'000'000'000LL;

}  // namespace marlix::detail
