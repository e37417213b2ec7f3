#include "marlix/internal/ascii.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace marlix::detail {
namespace {

// Every byte against the alphabet written out: classes and case are ASCII's
// alone, so bytes past 0x7f and every punctuation mark stay as they are.
TEST(ascii, EveryByteByTheAlphabetWrittenOut) {
    constexpr std::string_view upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                               lower = "abcdefghijklmnopqrstuvwxyz", digits = "0123456789",
                               spaces = " \t\n\v\f\r";
    for (int b = 0; b < 256; ++b) {
        char const c        = static_cast<char>(b);
        std::size_t const u = upper.find(c), l = lower.find(c);
        bool const letter    = u != upper.npos || l != lower.npos;
        std::size_t const sp = spaces.find(c);
        EXPECT_EQ(is_upper(c), u != upper.npos) << b;
        EXPECT_EQ(is_lower(c), l != lower.npos) << b;
        EXPECT_EQ(is_letter(c), letter) << b;
        EXPECT_EQ(is_digit(c), digits.find(c) != digits.npos) << b;
        EXPECT_EQ(is_blank(c), sp != spaces.npos && sp < 2) << b;
        EXPECT_EQ(is_space(c), sp != spaces.npos) << b;
        EXPECT_EQ(to_lower(c), u != upper.npos ? lower[u] : c) << b;
        EXPECT_EQ(to_upper(c), l != lower.npos ? upper[l] : c) << b;
    }
    EXPECT_TRUE(same_ignoring_case("Kn StArT", "KN START"));
    EXPECT_TRUE(same_ignoring_case("", ""));
    EXPECT_FALSE(same_ignoring_case("KN START", "KN STAR"));
    EXPECT_FALSE(same_ignoring_case("KN START", "KN STARU"));
    for (char const* other : {"\xc9", "`", "{", "~"})  // 0x20 apart, but no letters
        EXPECT_FALSE(same_ignoring_case(std::string_view(other), std::string(1, other[0] ^ 0x20)));
}

}  // namespace
}  // namespace marlix::detail
