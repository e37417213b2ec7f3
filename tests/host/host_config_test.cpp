#include "marlix/host/host_config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace marlix {
namespace {

std::string temp_path(char const* tag) {
    return ::testing::TempDir() + "marlix_config_" + tag + ".txt";
}

std::string read_file(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(std::string const& path, std::string const& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

TEST(configb, InCopiesAtMost63CharactersAndAnswersZeroWhenFound) {
    configb store;
    for (std::size_t length : {21u, 63u, 64u, 300u}) {
        std::string const value(length, 'v');
        ASSERT_TRUE(store.set("name", value.c_str(), nullptr));
        char buffer[configb::in_buffer_size + 8];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(store.in("name", buffer), 0);
        EXPECT_EQ(std::string(buffer), value.substr(0, 63));
        EXPECT_EQ(std::string(buffer + configb::in_buffer_size, 8), "########") << length;
    }
    char untouched[configb::in_buffer_size] = "keep";
    EXPECT_NE(store.in("absent", untouched), 0);
    EXPECT_STREQ(untouched, "keep");
    EXPECT_NE(store.in(nullptr, untouched), 0);
    EXPECT_NE(store.in("name", nullptr), 0);
}

TEST(configb, RefusesNamesAndValuesThatCannotRoundTrip) {
    configb store;
    // Only the first two can be written out and read back as they are.
    // clang-format off
    std::pair<char const*, char const*> const cases[] = {
        {"LABEL3", "LABEL_REV:3 pal_label  01:00:00.00 25 0.0400000000 1"},
        {"MediumRoll2,1", "a=b: c"}, {"", "x"}, {"a=b", "x"}, {"line\nbreak", "x"},
        {"name", "two\nlines"}, {"name", "cr\r"}, {nullptr, "x"}, {"name", nullptr}};
    // clang-format on
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(store.set(cases[i].first, cases[i].second, nullptr), i < 2) << i;
    EXPECT_EQ(store.size(), 2u);
    strp_field field;
    field.set("CAM 7", 0);
    EXPECT_TRUE(store.set("camreel", field));
    EXPECT_STREQ(store.find("camreel"), "CAM 7");
    field.set(nullptr, 0);
    EXPECT_STREQ(field.get(), "");
}

TEST(config_int, ReadsWholeNumbersFromTheHostStoreElseTheDefault) {
    ScopedConfig restore;
    // clang-format off
    std::pair<char const*, int> const cases[] = {
        {"1", 1}, {"0", 0}, {"-7", -7}, {" 42 ", 42}, {"+3", 3}, {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"2147483648", 99}, {"99999999999999999999", 99},
        {"", 99}, {"1.5", 99}, {"yes", 99}, {"- 1", 99}, {"12ab", 99}};
    // clang-format on
    for (auto const& [value, expected] : cases) {
        ASSERT_TRUE(configb::host().set("video_in_film_pulldown", value, nullptr));
        EXPECT_EQ(config_int("video_in_film_pulldown", 99), expected) << value;
    }
    EXPECT_EQ(config_int("use_25fps_timecode_for_50P", 1), 1);
    EXPECT_EQ(config_int(nullptr, 5), 5);
}

TEST(ScopedConfig, RestoresTheHostStore) {
    configb::host().set("outer", "1", nullptr);
    {
        ScopedConfig guard;
        configb::host().set("inner", "2", nullptr);
        configb::host().erase("outer");
        EXPECT_EQ(config_int("inner", 0), 2);
    }
    EXPECT_EQ(config_int("inner", 0), 0);
    EXPECT_EQ(config_int("outer", 0), 1);
    configb::host().erase("outer");
}

TEST(configb, FileRoundTripsByteForByte) {
    configb store;
    store.set("LABEL1", "LABEL_REV:3 pal_label  01:00:00.00 25 0.0400000000 1", nullptr);
    store.set("MediumRoll2,1", "REV:1 2:1 reelid:A:B  x", nullptr);
    store.set("empty", "", nullptr);
    store.set("eq", "a=b=c", nullptr);
    store.set("trailing", "blank ", nullptr);
    std::string const path = temp_path("roundtrip");
    ASSERT_TRUE(store.save(path.c_str()));
    std::string const first = read_file(path);

    configb again;
    EXPECT_EQ(again.load(path.c_str()), 0);
    EXPECT_EQ(again.size(), store.size());
    EXPECT_STREQ(again.find("MediumRoll2,1"), "REV:1 2:1 reelid:A:B  x");
    EXPECT_STREQ(again.find("trailing"), "blank ");
    std::string const second_path = temp_path("roundtrip2");
    ASSERT_TRUE(again.save(second_path.c_str()));
    EXPECT_EQ(read_file(second_path), first);
    std::remove(path.c_str());
    std::remove(second_path.c_str());
}

TEST(configb, LoadSkipsMalformedLinesAndReadsCrlf) {
    std::string const path = temp_path("malformed");
    write_file(path, "a=1\r\n\nno equals sign\n=novalue\nb = spaced\nlast=x");
    configb store;
    EXPECT_EQ(store.load(path.c_str()), 2);
    EXPECT_STREQ(store.find("a"), "1");
    EXPECT_STREQ(store.find("b "), " spaced");
    EXPECT_STREQ(store.find("last"), "x");
    EXPECT_EQ(store.size(), 3u);
    EXPECT_EQ(store.load("/nonexistent/dir/file"), -1);
    EXPECT_FALSE(store.save("/nonexistent/dir/file"));
    std::remove(path.c_str());
}

}  // namespace
}  // namespace marlix
