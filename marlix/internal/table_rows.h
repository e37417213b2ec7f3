#pragma once

// The library's constant tables indexed by an enumeration: a compile-time
// check of their order, and a name look-up. Not installed.

#include <cstddef>

namespace marlix::detail {

// True when row i of rows names value first + i in its key member.
template <class Row, std::size_t N, class Key>
constexpr bool rows_in_order(Row const (&rows)[N], Key Row::*key, int first = 0) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<int>(rows[i].*key) != first + static_cast<int>(i)) return false;
    return true;
}

// The name of enumeration value k in a table of names in the enumeration's
// order; otherwise for a value outside it.
template <std::size_t N, class Enum>
constexpr char const* name_in(char const* const (&names)[N], Enum k,
                              char const* otherwise = "unknown") {
    auto const n = static_cast<std::size_t>(k);
    return n < N ? names[n] : otherwise;
}

}  // namespace marlix::detail
