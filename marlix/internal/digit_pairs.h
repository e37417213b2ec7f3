#pragma once

// The two-digit texts of 0..99, for printing a label field at once, and the
// one writer of them. Not installed.

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
inline char* put_digit_pair(char* out, unsigned v) {
    char const* const pair = digit_pair(v);
    out[0]                 = pair[0];
    out[1]                 = pair[1];
    return out + 2;
}

}  // namespace marlix::detail
