#include "marlix/cvt/label_template.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "marlix/cvt/special_samples.h"

namespace marlix {
namespace {

TEST(label_template, SetCutsAt23AndDerivesTheThreeTexts) {
    std::tuple<char const*, char const*, char const*, char const*, char const*> const cases[] = {
        {"-29.59.59.29", "-29.59.59.29", "???.??.??.??", ">>>.>>.>>.>>", "<<<.<<.<<.<<"},
        {"", "", "", "", ""},
        {"~~ ??+9#a:Z", "~~ ??+9#a:Z", "~~ ????#?:?", "~~ >>>>#>:>", "~~ <<<<#<:<"},
        {"123456789012345678901234567890", "12345678901234567890123", "???????????????????????",
         ">>>>>>>>>>>>>>>>>>>>>>>", "<<<<<<<<<<<<<<<<<<<<<<<"},
    };
    for (auto const& [src, text, invalid, past, before] : cases) {
        SCOPED_TRACE(src);
        label_template t(src);
        EXPECT_STREQ(t.text, text);
        EXPECT_STREQ(t.invalid_text, invalid);
        EXPECT_STREQ(t.past_end_text, past);
        EXPECT_STREQ(t.before_start_text, before);
        EXPECT_EQ(t.get_length(), static_cast<int>(std::string(text).size()));
        EXPECT_STREQ(static_cast<char const*>(t), text);
    }
    label_template null_src(nullptr);
    EXPECT_EQ(null_src.get_length(), 0);
}

TEST(label_template, ValidCharFollowsTheCharacterLanguage) {
    label_template const tc("-29.59.59.29");
    label_template const prefix("?~ A-Z9");
    // clang-format off
    std::tuple<label_template const*, char, int, int> const cases[] = {
        {&tc, '2', 1, 1}, {&tc, '3', 1, 0}, {&tc, '0', 1, 1}, {&tc, '/', 1, 0}, {&tc, '6', 4, 0},
        {&tc, '5', 4, 1}, {&tc, '9', 11, 1}, {&tc, ' ', 0, 1}, {&tc, '+', 0, 1}, {&tc, '-', 0, 1},
        {&tc, '1', 0, 0}, {&tc, '5', 3, 0}, {&tc, '.', 3, 0}, {&tc, '1', 12, 0}, {&tc, '1', -1, 0},
        {&prefix, ' ', 0, 0}, {&prefix, '!', 0, 1}, {&prefix, '\x7f', 0, 1},
        {&prefix, static_cast<char>(0x80), 0, 0},  // codes compare as signed 8-bit values
        {&prefix, 'A', 1, 0}, {&prefix, '1', 2, 0}, {&prefix, 'A', 3, 1}, {&prefix, 'B', 3, 0},
        {&prefix, 'Q', 5, 1}, {&prefix, 'a', 5, 0}, {&prefix, '@', 5, 0}, {&prefix, '9', 6, 1},
    };
    // clang-format on
    for (auto const& [t, c, i, ok] : cases)
        EXPECT_EQ(t->valid_char(c, i), ok)
            << std::string(t->text) + " '" + c + "' at " + std::to_string(i);
}

TEST(label_template, PositionKinds) {
    label_template const tc("-29.59.59.29");
    EXPECT_EQ(tc.at_separator(3), 1);
    EXPECT_EQ(tc.at_separator(0), 0);
    EXPECT_EQ(tc.at_separator(1), 0);
    EXPECT_EQ(tc.at_separator(12), 1);
    EXPECT_EQ(tc.get_char(12), '?');
    EXPECT_EQ(tc.get_char(-1), '?');
    EXPECT_EQ(tc.get_char(2), '9');
    label_template const kinds("~+#.: ?-A");
    int const separators[] = {1, 1, 1, 1, 1, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(kinds.at_separator(i), separators[i]) << i;
    EXPECT_EQ(kinds.read_only_char(0), 1);
    EXPECT_EQ(kinds.read_only_char(1), 0);
    EXPECT_EQ(kinds.read_only_char(40), 0);
    for (char c = 1; c < 127; ++c) EXPECT_EQ(kinds.valid_char(c, 0), 0);

    label_template const empty("");
    EXPECT_EQ(empty.get_char(0), '?');
    EXPECT_EQ(empty.at_separator(0), 1);
    EXPECT_EQ(empty.valid_char('1', 0), 0);
}

TEST(label_template, InvalidStringBySentinel) {
    label_template const tc("-29.59.59.29");
    EXPECT_STREQ(tc.get_invalid_string(SAMPLE_PAST_END), ">>>.>>.>>.>>");
    EXPECT_STREQ(tc.get_invalid_string(SAMPLE_BEFORE_START), "<<<.<<.<<.<<");
    EXPECT_STREQ(tc.get_invalid_string(INVALID_SAMPLE), "???.??.??.??");
    EXPECT_STREQ(tc.get_invalid_string(5), "???.??.??.??");
    label_template copy("");
    copy = tc;
    EXPECT_STREQ(copy.past_end_text, ">>>.>>.>>.>>");
    EXPECT_EQ(copy.length, 12);
}

}  // namespace
}  // namespace marlix
