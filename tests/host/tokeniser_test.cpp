#include "marlix/host/tokeniser.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace marlix {
namespace {

std::vector<std::string> all_tokens(tokeniser& t) {
    std::vector<std::string> out;
    for (char const* s = t.first(); s != nullptr; s = t.next()) out.emplace_back(s);
    return out;
}

TEST(tokeniser, RunsOfSeparatorsGiveNoEmptyToken) {
    using list = std::vector<std::string>;
    // clang-format off
    std::tuple<char const*, char const*, list> const cases[] = {
        {"LABEL_REV:3 pal_label  01:00:00.00 25", " ",
        {"LABEL_REV:3", "pal_label", "01:00:00.00", "25"}},
        {"REV:1 2:1 reelid:A", ": ", {"REV", "1", "2", "1", "reelid", "A"}},
        {"  lead and trail  ", " ", {"lead", "and", "trail"}}, {"::: :", ": ", {}}, {"", " ", {}},
        {"one", " ", {"one"}}, {"a b", "", {"a b"}}, {"a b", nullptr, {"a b"}},
    };
    // clang-format on
    for (auto const& [text, separators, tokens] : cases) {
        SCOPED_TRACE(text);
        tokeniser t(text, separators);
        EXPECT_EQ(t.count(), static_cast<int>(tokens.size()));
        EXPECT_EQ(all_tokens(t), tokens);
        EXPECT_EQ(t.next(), nullptr);  // stays at the end
    }
    tokeniser none(nullptr, " ");
    EXPECT_EQ(none.count(), 0);
    EXPECT_EQ(none.first(), nullptr);
}

TEST(tokeniser, IndexAccessMovesTheCurrentPosition) {
    tokeniser t("a b c d", " ");
    EXPECT_STREQ(t.next(), "a");  // next() before first() starts at the beginning
    EXPECT_STREQ(t.token(2), "c");
    EXPECT_STREQ(t.next(), "d");
    EXPECT_EQ(t.next(), nullptr);
    EXPECT_EQ(t.token(4), nullptr);
    EXPECT_EQ(t.token(-1), nullptr);
    EXPECT_STREQ(t.token(0), "a");
    EXPECT_STREQ(t.next(), "b");
}

TEST(tokeniser, LongTextsAndManyTokens) {
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 500; ++i) {
        expected.push_back("t" + std::to_string(i));
        text += expected.back() + (i % 3 == 0 ? "   " : " ");
    }
    tokeniser t(text.c_str(), " ");
    EXPECT_EQ(t.count(), 500);
    EXPECT_EQ(all_tokens(t), expected);
    std::string const one_long(10000, 'z');
    tokeniser single(one_long.c_str(), " ");
    ASSERT_EQ(single.count(), 1);
    EXPECT_EQ(std::string(single.first()), one_long);
}

}  // namespace
}  // namespace marlix
