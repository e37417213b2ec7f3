#pragma once

// The two-digit texts of 0..99, for printing a label field at once. Not
// installed; used by the timecode printers.

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

}  // namespace marlix::detail
