#pragma once

// The two-digit texts of 0..99, for printing a label field at once, and the
// one writer of them. Not installed.

#include <cstring>

namespace marlix::detail {

struct digit_pairs_t {
    char text[200];
    constexpr digit_pairs_t() : text{} {
        for (int i = 0; i < 100; ++i) {
            text[2 * i]     = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
inline constexpr digit_pairs_t digit_pairs;

// The two characters of v in 0..99.
constexpr char const* digit_pair(unsigned v) { return digit_pairs.text + 2 * v; }

// Writes the two digits of v (0..99) at out, unterminated; answers the end.
// One two-byte copy: the compilers make it a single load and store.
inline char* put_digit_pair(char* out, unsigned v) {
    std::memcpy(out, digit_pair(v), 2);
    return out + 2;
}

}  // namespace marlix::detail
