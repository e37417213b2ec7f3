#pragma once

// The timecode parsers written the plain way, with sscanf and the label
// formats, as the reference the library's own scanner is checked against.
// Numbers are scanned as long long (the same items as "%d", without the
// truncation), and a field or sample outside 32 bits is taken as no sample,
// as the library does.

#include <climits>
#include <cstdio>

#include "marlix/base/special_samples.h"

namespace reference {

inline bool fits(long long v) { return v >= INT_MIN && v <= INT_MAX; }

inline long long join(long long h, long long m, long long s, long long f, int fps, bool drop) {
    if (!drop) return ((h * 60 + m) * 60 + s) * fps + f;
    long long const u = m % 10;
    long long n       = (h * 6 + m / 10) * 17982;
    if (u > 0) n += 1800 + (u - 1) * 1798;
    if (s > 0) n += u != 0 ? 28 + (s - 1) * 30 : s * 30;
    return u != 0 && s == 0 ? n + f - 2 : n + f;
}

inline int finish(long long h, long long m, long long s, long long f, int fps, bool drop,
                  bool negative) {
    if (!fits(h) || !fits(m) || !fits(s) || !fits(f)) return marlix::INVALID_SAMPLE;
    long long v = join(h, m, s, f, fps, drop);
    if (negative) v = -v;
    return fits(v) ? static_cast<int>(v) : marlix::INVALID_SAMPLE;
}

// get_abs_sample(char const*) of a timecode converter.
inline int parse_text(char const* t, int fps, bool drop, int flags) {
    long long h = 0, m = 0, s = 0, f = 0;
    char c = 0;
    if (drop) {
        if (t[0] == '-') return 0;
        if (std::sscanf(t, "%lld:%lld:%lld%c%lld", &h, &m, &s, &c, &f) != 5)
            return marlix::INVALID_SAMPLE;
        return finish(h, m, s, f, fps, true, false);
    }
    bool const neg = t[0] == '-';
    if (flags & 1) {
        if (std::sscanf(t, neg ? "-%lld:%lld:%lld%c%lld" : "%lld:%lld:%lld%c%lld", &h, &m, &s, &c,
                        &f) != 5)
            return marlix::INVALID_SAMPLE;
    } else if (flags & 2) {
        if (std::sscanf(t, neg ? "-%lld:%lld%c%lld" : "%lld:%lld%c%lld", &m, &s, &c, &f) != 4)
            return marlix::INVALID_SAMPLE;
    } else if (flags & 4) {
        if (std::sscanf(t, neg ? "-%lld%c%lld" : "%lld%c%lld", &s, &c, &f) != 3)
            return marlix::INVALID_SAMPLE;
    } else {
        return marlix::INVALID_SAMPLE;
    }
    return finish(h, m, s, f, fps, false, neg);
}

// get_abs_sample_from_packed_string of a timecode converter.
inline int parse_packed(char const* t, int fps, bool drop) {
    long long h = 0, m = 0, s = 0, f = 0;
    if (std::sscanf(t, "%2lld%2lld%2lld%2lld", &h, &m, &s, &f) != 4) return marlix::INVALID_SAMPLE;
    return finish(h, m, s, f, fps, drop, false);
}

}  // namespace reference
