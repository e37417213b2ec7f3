#pragma once

// Draws for the fuzz targets that take numbers: whole domains, not the
// ranges the library's own callers use. Integers come from all 32 bits as
// often as from a small range near the interesting values; doubles come as
// raw bit patterns (NaN, infinities, subnormals, the extremes) as often as
// ordinary frame-aligned positions.

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

// Any int: half the time from all 32 bits, half the time from lo..hi.
inline int draw_int(FuzzedDataProvider& in, int lo, int hi) {
    if (in.ConsumeBool()) return in.ConsumeIntegral<int>();
    return in.ConsumeIntegralInRange<int>(lo, hi);
}

// An enumeration value: mostly its own range, sometimes any int.
template <class E>
E draw_enum(FuzzedDataProvider& in, int lo, int hi) {
    int const v = in.ConsumeIntegralInRange<int>(0, 7) == 0
                      ? in.ConsumeIntegral<int>()
                      : in.ConsumeIntegralInRange<int>(lo, hi);
    return static_cast<E>(v);
}

inline double draw_double(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: {  // any bit pattern
            std::uint64_t const bits = in.ConsumeIntegral<std::uint64_t>();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        case 1: {  // the values that break arithmetic
            static constexpr double specials[] = {
                NAN,      HUGE_VAL, -HUGE_VAL, 0.0,   -0.0,  DBL_MAX, -DBL_MAX, DBL_MIN,
                4.9e-324, 1e99,     -1e99,     1e308, 1e300, 3.6e7,   -3.6e7,   2147483648.0};
            return specials[in.ConsumeIntegralInRange<std::size_t>(0, std::size(specials) - 1)];
        }
        case 2:  // a whole frame at 24, 25, 30, 48, 50, 60 and their 1000/1001 forms
            return in.ConsumeIntegralInRange<int>(-2000000, 2000000) / 1200.0 *
                   (in.ConsumeBool() ? 1.001 : 1.0);
        default:  // an ordinary position in seconds
            return in.ConsumeFloatingPointInRange<double>(-100000.0, 100000.0);
    }
}
