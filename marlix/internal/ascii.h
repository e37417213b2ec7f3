#pragma once

// ASCII classes and case, the same in every locale: what people type and the
// files they hand us are read byte for byte, whatever locale the host set.
// Bytes past 0x7f are in no class and have no case.

#include <cstddef>
#include <string_view>

namespace marlix::detail {

inline constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline constexpr bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
inline constexpr bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
inline constexpr bool is_letter(char c) { return is_upper(c) || is_lower(c); }
inline constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }
/// Blank, or a line or page end: " \t\n\v\f\r".
inline constexpr bool is_space(char c) { return is_blank(c) || (c >= '\n' && c <= '\r'); }
inline constexpr char to_lower(char c) {
    return is_upper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
inline constexpr char to_upper(char c) {
    return is_lower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

/// Equal but for the case of letters.
inline constexpr bool same_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (to_lower(a[i]) != to_lower(b[i])) return false;
    return true;
}

}  // namespace marlix::detail
