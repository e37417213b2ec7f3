#pragma once

/// @file
/// Text a person gave, echoed back in a message: escaped so a terminal
/// shows it as it was, and cut so a runaway line stays one line.

#include <cstddef>
#include <string>
#include <string_view>

#include "marlix/export.h"

namespace marlix::front {

/// About how many characters of an echoed text a message shows.
inline constexpr std::size_t shown_length = 80;

/// text as a message shows it: control characters as `\r`, `\n`, `\t` or
/// `\xHH` (C1 controls as `\u0085`), bytes that are not UTF-8 as `\xHH`, a
/// byte-order mark as `\ufeff` and a backslash as `\\`; cut after about
/// shown_length characters, with "..." where it was cut.
MARLIX_API std::string shown_text(std::string_view text);

/// shown_text between single quotes: 'text'.
MARLIX_API std::string quoted(std::string_view text);

}  // namespace marlix::front
