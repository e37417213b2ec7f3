#pragma once

// Doubles read and printed as the C library does in its "C" locale, whatever
// locale the host has set: the texts the library stores and reads back (keep
// strings) always have a '.' for their decimal point.

#include <cstddef>
#include <string_view>

#include "marlix/internal/ascii.h"

namespace marlix::detail {

/// A number read from the start of a text.
struct c_double {
    double value       = 0;
    std::size_t length = 0;  ///< characters read; 0 when they form no number
    /// false when nonzero digits overflowed to an infinity or underflowed to 0
    bool in_range = true;
};

/// The number at the start of text as strtod reads it in the "C" locale:
/// white space, a sign, then decimal digits with a '.' and an exponent
/// ("-1.5e3"), a hexadecimal number with a binary exponent ("0x1.8p3"),
/// "inf", "infinity", "nan" or "nan(" letters, digits and '_' ")", in
/// either case. Correctly rounded, as strtod is.
c_double read_c_double(std::string_view text);

/// The number at the start of text as std::from_chars reads a double in
/// its general format: no white space, no '+', no hexadecimal form.
c_double read_from_chars_double(std::string_view text);

/// Makes the decimal point of a number printf wrote with "%f", "%e" or "%g"
/// a '.', whatever bytes the locale gave it. The text only gets shorter.
inline void use_c_point(char* text) {
    char* p = text + (*text == '-');
    if (!is_digit(*p)) return;  // inf, nan
    while (is_digit(*p)) ++p;
    char const* q = p;  // the point: the bytes up to the fraction's digits
    while (*q != '\0' && !is_digit(*q) && *q != 'e') ++q;
    if (q == p || !is_digit(*q)) return;  // no point written ("%g" of a whole number)
    *p++ = '.';
    while ((*p++ = *q++) != '\0') {
    }
}

}  // namespace marlix::detail
