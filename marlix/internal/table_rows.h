#pragma once

// The library's constant tables indexed by an enumeration: a compile-time
// check of their order, and the row type of the finding tables. Not
// installed.

#include <cstddef>

namespace marlix::detail {

// True when row i of rows names value first + i in its key member.
template <class Row, std::size_t N, class Key>
constexpr bool rows_in_order(Row const (&rows)[N], Key Row::*key, int first = 0) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<int>(rows[i].*key) != first + static_cast<int>(i)) return false;
    return true;
}

// A row of a table of findings: the kind, its name, how grave it is.
template <class Kind, class Severity>
struct finding_row {
    Kind kind;
    char const* name;
    Severity level;
};

}  // namespace marlix::detail
