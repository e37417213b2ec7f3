#pragma once

#include "marlix/internal/narrow32.h"

// The number at the start of a text as the C library's atol and atoi read
// it (leading white space, an optional sign, decimal digits, nothing read
// gives 0), saturating at c_number_saturation instead of overflowing, so a
// number too long for 32 bits is seen as such.

#include <algorithm>
#include <cstddef>

namespace marlix::detail {

inline constexpr long long c_number_saturation = decimal_saturation;

inline long long read_c_number(char const* p) {
    while (is_space(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        v = v >= c_number_saturation / 10 ? c_number_saturation : v * 10 + (*p - '0');
    return negative ? -v : v;
}

// Copies at most N - 1 characters of text into out, terminates it and
// answers how many were copied: stored texts are read this far and no
// further.
template <std::size_t N>
std::size_t copy_text(char (&out)[N], char const* text) {
    std::size_t n = 0;
    for (; n + 1 < N && text[n] != '\0'; ++n) out[n] = text[n];
    out[n] = '\0';
    return n;
}

// 64-bit products and sums of converter fields, which a caller may set to
// any int: they saturate at +-2^62 instead of overflowing, far beyond any
// 32-bit sample, so a result that does not fit is still seen as such.
inline constexpr long long wide_limit = 1LL << 62;

inline constexpr long long clamp_wide(long long v) {
    return std::clamp(v, -wide_limit, wide_limit);
}
inline long long saturating_mul(long long a, long long b) {
    long long r{};
    if (__builtin_mul_overflow(a, b, &r)) return (a < 0) != (b < 0) ? -wide_limit : wide_limit;
    return clamp_wide(r);
}
inline long long saturating_add(long long a, long long b) {
    return clamp_wide(clamp_wide(a) + clamp_wide(b));  // each within 2^62: no overflow
}

// A divisor taken from a converter field: below 1 it counts as 1, so that
// no field value divides by zero.
inline constexpr long long divisor_of(long long v) { return std::max(v, 1LL); }
// The same for an int divisor, kept in 32 bits: a 32-bit division is much
// cheaper than a 64-bit one on the print paths.
inline constexpr int divisor_of_int(int v) { return std::max(v, 1); }

}  // namespace marlix::detail
