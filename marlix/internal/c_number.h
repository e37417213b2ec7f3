#pragma once

// The number at the start of a text as the C library's atol and atoi read
// it (leading white space, an optional sign, decimal digits, nothing read
// gives 0), saturating at c_number_saturation instead of overflowing, so a
// number too long for 32 bits is seen as such.

#include <cctype>
#include <cstddef>

namespace marlix::detail {

inline constexpr long long c_number_saturation = 1'000'000'000'000'000LL;

inline long long read_c_number(char const* p) {
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
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

inline bool fits_long32(long long v) { return v >= -2147483647LL - 1 && v <= 2147483647LL; }

}  // namespace marlix::detail
