#pragma once

#include "marlix/internal/narrow32.h"

// A scanner for the fixed scanf formats of label texts ("%d:%d:%d%c%d",
// "%2d%2d%2d%2d" and their kin), giving exactly the items sscanf assigns:
// each number may be preceded by white space and a sign, a %c takes any one
// character, literal characters must match, and scanning stops at the first
// item that fails. Numbers are read as 64-bit values that saturate at
// scan_saturation, so a field that does not fit 32 bits is seen as such
// rather than wrapped. Not installed; used by the converters only.

#include <cstddef>

namespace marlix::detail {

struct scan_op {
    enum kind_t : unsigned char { literal, number, character } kind;
    char ch;              // the literal
    unsigned char width;  // maximum characters of a number (sign included); 0: no limit
};

// A number of at most width characters (0: any), like "%d" and "%2d".
inline constexpr scan_op scan_number(unsigned char width = 0) {
    return {scan_op::number, '\0', width};
}
// The character c, like a literal character of a scanf format.
inline constexpr scan_op scan_literal(char c) { return {scan_op::literal, c, {}}; }
// Any one character, like "%c".
inline constexpr scan_op scan_character() { return {scan_op::character, '\0', {}}; }

inline constexpr long long scan_saturation = decimal_saturation;

inline constexpr bool scan_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Scans text with the ops into out (one slot per number or character op).
// Answers the number of items assigned, or -1 when the text ends before the
// first item is assigned (scanf's EOF).
template <std::size_t N>
inline int scan_fields(char const* text, scan_op const (&ops)[N], long long* out) {
    char const* p = text;
    int done      = 0;
    for (scan_op const& op : ops) {
        if (op.kind == scan_op::literal) {
            if (*p == '\0') return done == 0 ? -1 : done;
            if (*p != op.ch) return done;
            ++p;
            continue;
        }
        if (op.kind == scan_op::character) {
            if (*p == '\0') return done == 0 ? -1 : done;
            out[done++] = static_cast<unsigned char>(*p++);
            continue;
        }
        while (scan_space(*p)) ++p;
        if (*p == '\0') return done == 0 ? -1 : done;
        int width     = op.width == 0 ? -1 : op.width;
        bool negative = false;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
            if (width > 0) --width;
        }
        long long value    = 0;
        char const* digits = p;
        while (width != 0 && *p >= '0' && *p <= '9') {
            value = value >= scan_saturation / 10 ? scan_saturation : value * 10 + (*p - '0');
            ++p;
            if (width > 0) --width;
        }
        if (p == digits) return done;
        out[done++] = negative ? -value : value;
    }
    return done;
}

}  // namespace marlix::detail
