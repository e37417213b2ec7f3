#include "marlix/internal/c_double.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace marlix::detail {

namespace {

constexpr bool is_hex_digit(char c) {
    return is_digit(c) || (to_lower(c) >= 'a' && to_lower(c) <= 'f');
}

// Significant digits kept before the rest only count as a sticky nonzero
// digit: 767 decimal digits decide the rounding of any double, and 14
// hexadecimal digits hold its 53 bits.
constexpr std::size_t decimal_kept = 780;
constexpr std::size_t hex_kept     = 32;

// The digits are handed to strtod without a point, scaled by an exponent,
// so that the locale's decimal point never matters.
c_double read_number(std::string_view text, bool c_library) {
    std::size_t i   = 0;
    auto const peek = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    if (c_library)
        while (is_space(peek(i))) ++i;
    bool const negative = peek(i) == '-';
    if (negative || (c_library && peek(i) == '+')) ++i;
    auto const answer = [&](double v, std::size_t end, bool in_range) {
        return c_double{negative ? -v : v, end, in_range};
    };
    auto const spells = [&](std::string_view word) {
        for (std::size_t k = 0; k < word.size(); ++k)
            if (to_lower(peek(i + k)) != word[k]) return false;
        return true;
    };
    if (spells("inf"))
        return answer(std::numeric_limits<double>::infinity(), i + (spells("infinity") ? 8 : 3),
                      true);
    if (spells("nan")) {
        std::size_t end = i + 3, k = end + 1;
        if (peek(end) == '(') {
            while (is_letter(peek(k)) || is_digit(peek(k)) || peek(k) == '_') ++k;
            if (peek(k) == ')') end = k + 1;
        }
        return answer(std::numeric_limits<double>::quiet_NaN(), end, true);
    }

    bool const hex =
        c_library && peek(i) == '0' && to_lower(peek(i + 1)) == 'x' &&
        (is_hex_digit(peek(i + 2)) || (peek(i + 2) == '.' && is_hex_digit(peek(i + 3))));
    char digits[2 + decimal_kept + 1 + sizeof "p-99999999999999999999"];
    std::size_t n = 0;
    if (hex) {
        digits[n++] = '0';
        digits[n++] = 'x';
        i += 2;
    }
    std::size_t const first = n, last = n + (hex ? hex_kept : decimal_kept);
    long long shift = 0;  // the value is digits * base^shift
    bool any = false, sticky = false;
    auto const take = [&](char c, bool fraction) {
        any = true;
        if (n == first && c == '0') {
            if (fraction) --shift;
        } else if (n < last) {
            digits[n++] = c;
            if (fraction) --shift;
        } else {
            sticky |= c != '0';
            if (!fraction) ++shift;
        }
    };
    auto const digit = [&](char c) { return hex ? is_hex_digit(c) : is_digit(c); };
    for (; digit(peek(i)); ++i) take(peek(i), false);
    if (peek(i) == '.')
        for (++i; digit(peek(i)); ++i) take(peek(i), true);
    if (!any) return {};

    long long exponent = hex ? 4 * shift : shift;  // of 2 or of 10
    if (to_lower(peek(i)) == (hex ? 'p' : 'e')) {
        std::size_t k    = i + 1;
        bool const minus = peek(k) == '-';
        if (minus || peek(k) == '+') ++k;
        if (is_digit(peek(k))) {
            long long e = 0;  // saturates far past any double's range
            for (; is_digit(peek(k)); ++k) e = e < 1000000000 ? e * 10 + (peek(k) - '0') : e;
            exponent += minus ? -e : e;
            i = k;
        }
    }
    if (n == first) return answer(0.0, i, true);
    if (sticky) {
        digits[n++] = '1';
        exponent -= hex ? 4 : 1;
    }
    std::snprintf(digits + n, sizeof digits - n, hex ? "p%lld" : "e%lld", exponent);
    int const saved_errno = errno;
    double const v        = std::strtod(digits, nullptr);
    errno                 = saved_errno;
    return answer(v, i, v != 0 && std::isfinite(v));
}

}  // namespace

c_double read_c_double(std::string_view text) { return read_number(text, true); }

c_double read_from_chars_double(std::string_view text) { return read_number(text, false); }

}  // namespace marlix::detail
