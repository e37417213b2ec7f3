#pragma once

// What the list reader, checker and writer share. Not installed.

#include "marlix/edl/document.h"

namespace marlix::edl::detail {

constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The checks across lines: lengths, motion, transitions, event numbers,
// record order and each channel's overlaps and gaps. Sorts the findings by
// line; when strict, drops those after the first error.
void check(document& doc, bool strict);

}  // namespace marlix::edl::detail
