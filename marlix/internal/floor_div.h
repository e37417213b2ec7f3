#pragma once

// Division rounding toward minus infinity, for frame arithmetic that runs
// on both sides of zero (a frame before the sync point still belongs to the
// cycle that starts before it). b is not 0.

namespace marlix::detail {

constexpr long long floor_div(long long a, long long b) {
    long long const q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
// In [0, b) for b above 0; from the remainder, so no product can overflow.
constexpr long long floor_mod(long long a, long long b) {
    long long const r = a % b;
    return r != 0 && (r < 0) != (b < 0) ? r + b : r;
}
constexpr long long ceil_div(long long a, long long b) { return -floor_div(-a, b); }

}  // namespace marlix::detail
