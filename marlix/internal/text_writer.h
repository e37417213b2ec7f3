#pragma once

// Writes label text into a fixed buffer without formatted output: the same
// characters "%.*s", "%c", "%0*d" and "%.*d" would give, cut (and always
// terminated) at the buffer's end like snprintf. Not installed.

#include <cstddef>

#include "marlix/internal/digit_pairs.h"

namespace marlix::detail {

class text_writer {
public:
    template <std::size_t N>
    explicit text_writer(char (&buffer)[N]) : start_(buffer), p_(buffer), end_(buffer + N - 1) {}

    void put(char c) {
        if (p_ < end_) *p_++ = c;
    }
    // At most n characters of s.
    void put(char const* s, int n) {
        for (int i = 0; i < n && s[i] != '\0'; ++i) put(s[i]);
    }
    // "%0*d": at least width characters, the sign counted among them.
    void put_padded(long long v, int width) {
        if (v < 0) {
            put('-');
            put_digits(0ull - static_cast<unsigned long long>(v), width - 1);
        } else {
            put_digits(static_cast<unsigned long long>(v), width);
        }
    }
    // "%.*d": at least digits digits, the sign in front of them.
    void put_precise(long long v, int digits) {
        if (v < 0) put('-');
        put_digits(
            v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v),
            digits);
    }
    char* finish() {
        *p_ = '\0';
        return start_;
    }

private:
    // Digits of v, least significant first, two at a time from the pair
    // table; then the padding and the digits in reading order.
    void put_digits(unsigned long long v, int width) {
        char digits[24];
        int n = 0;
        for (; v >= 100; v /= 100) {
            char const* pair = digit_pair(static_cast<unsigned>(v % 100));
            digits[n++]      = pair[1];
            digits[n++]      = pair[0];
        }
        char const* const last = digit_pair(static_cast<unsigned>(v));
        digits[n++]            = last[1];
        if (v >= 10) digits[n++] = last[0];
        for (int i = n; i < width; ++i) put('0');
        while (n > 0) put(digits[--n]);
    }

    char* start_;
    char* p_;
    char* end_;
};

}  // namespace marlix::detail
