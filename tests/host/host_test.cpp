#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "marlix/host/host_config.h"
#include "marlix/host/host_services.h"
#include "marlix/host/tokeniser.h"
#include "tests/support/captured_messages.h"

namespace marlix {
namespace {

TEST(getFramesPerSecond, RateTable) {
    // Rates 1..10, then the four 31..34; every other number is no rate.
    double const fps[]   = {24, 24000 / 1001.0, 25, 30, 30000 / 1001.0,
                            48, 48000 / 1001.0, 50, 60, 60000 / 1001.0};
    double const extra[] = {24, 25, 30, 48};
    for (int rate = -1; rate <= 35; ++rate) {
        double const f       = rate >= 1 && rate <= 10    ? fps[rate - 1]
                               : rate >= 31 && rate <= 34 ? extra[rate - 31]
                                                          : 0.0;
        double const nominal = f == 0.0 ? 0.0 : static_cast<int>(f + 0.5);
        auto const r         = static_cast<Tov::FrameRate>(rate);
        EXPECT_EQ(Tov::getFramesPerSecond(r), f) << rate;
        EXPECT_EQ(Tov::getCelResolution(r), f == 0.0 ? 0.0 : 1 / nominal) << rate;
        EXPECT_EQ(Tov::has1001Factor(r), f != nominal) << rate;
        EXPECT_EQ(Tov::getFrameDuration(r), f == 0.0 ? 0.0 : 1.0 / f) << rate;
    }
    for (int s = -1; s < 8; ++s)
        EXPECT_EQ(Tov::Image::isProgressive(static_cast<Tov::Image::ScanMode>(s)),
                  s == 3 || s == 4);
}

TEST(CurrentProject, SettingsApplyAndScopedGuardRestores) {
    Tov::ProjectSettings const before = Tov::CurrentProject::settings();
    {
        Tov::ProjectSettings s;
        s.frame_rate             = Tov::FrameRate_29_97;
        s.drop_frame_timecode    = true;
        s.in_camera_film_speed   = Tov::FrameRate_48;
        s.output_rate            = Tov::FrameRate_59_94;
        s.output_scan            = Tov::Image::ScanMode_InterlacedLowerFirst;
        s.output_pulled_down     = true;
        s.audio_sync_pulled_down = true;
        Tov::ScopedProject guard(s);
        EXPECT_EQ(Tov::CurrentProject::settings(), s);
        EXPECT_EQ(Tov::CurrentProject::getOutputImageFormat(0).getScanMode(), s.output_scan);
        // Only the current revision is held.
        EXPECT_EQ(Tov::CurrentProject::getFrameRate(1), Tov::FrameRate_None);
        EXPECT_EQ(Tov::CurrentProject::getOutputImageFormat(1).getFrameRate(), Tov::FrameRate_None);
        // Hosts pass the option by number: 1 is the current project's
        // output, any other a 24 fps gearing without pulldown.
        using option = Tov::OutputGearing::ConstructionOptions;
        static_assert(Tov::OutputGearing::Option_CurrentProject == 1);
        Tov::OutputGearing const g(Tov::OutputGearing::Option_CurrentProject);
        EXPECT_TRUE(g.getFrameRate() == Tov::FrameRate_59_94 && g.getUsePulldown());
        for (option const o : {Tov::OutputGearing::Option_Explicit, option{2}, option{-1}}) {
            Tov::OutputGearing const other(o);
            EXPECT_TRUE(other.getFrameRate() == Tov::FrameRate_24 && !other.getUsePulldown());
        }
        s.cel_resolution = 0.5;
        Tov::CurrentProject::apply(s);
        EXPECT_EQ(Tov::CurrentProject::getCelResolution(), 0.5);
        Tov::CurrentProject::reset();
        EXPECT_EQ(Tov::CurrentProject::settings(), Tov::ProjectSettings{});
    }
    EXPECT_EQ(Tov::CurrentProject::settings(), before);
}

TEST(ProjectSettings, SettingsDifferingInAnyOneMemberAreUnequal) {
    using S                     = Tov::ProjectSettings;
    void (*const changes[])(S&) = {
        [](S& s) { s.frame_rate = Tov::FrameRate_25; },
        [](S& s) { s.drop_frame_timecode = true; },
        [](S& s) { s.in_camera_film_speed = Tov::FrameRate_25; },
        [](S& s) { s.output_rate = Tov::FrameRate_25; },
        [](S& s) { s.output_scan = Tov::Image::ScanMode_InterlacedLowerFirst; },
        [](S& s) { s.output_pulled_down = true; },
        [](S& s) { s.audio_sync_pulled_down = true; },
        [](S& s) { s.cel_resolution = 0.5; },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        S s;
        changes[i](s);
        EXPECT_TRUE(s != S{} && !(s == S{})) << i;
    }
}

TEST(cookie, InvalidValueAndTextForm) {
    marlix::cookie const fresh, c(1, 42, 0xdeadbeef);
    EXPECT_TRUE(fresh == marlix::invalid_cookie && !fresh.isValid() && c.isValid());
    EXPECT_TRUE(c != fresh && !(c != c));
    EXPECT_STREQ(fresh.asString(), "invalid");
    EXPECT_STREQ(c.asString().c_str(), "00000001-0000002a-deadbeef");
}

void* refuse(std::size_t) { return nullptr; }
void release(void*) {}

TEST(HeapSelector, ReplaceableAndRestorable) {
    auto const original = Tov::Heap::Selector::setHeapFunctions({refuse, release});
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate(16), nullptr);
    // A record with a null entry is refused and leaves the failing one in force.
    Tov::Heap::Selector::setHeapFunctions(Tov::Heap::Functions{nullptr, release});
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate, refuse);
    EXPECT_EQ(Tov::Heap::Selector::setHeapFunctions(original).allocate, refuse);
    void* p = Tov::Heap::Selector::getHeapFunctions().allocate(32);
    ASSERT_NE(p, nullptr);
    original.release(p);
}

TEST(vimb_printf, GoesToTheInstalledSinkByteForByte) {
    marlix::test_support::captured_messages c;
    marlix::vimb_printf("mPosn_Xlate(): %s - cookie<%s>\n", "Invalid", "invalid");
    EXPECT_EQ(c.text, "mPosn_Xlate(): Invalid - cookie<invalid>\n");
    c.text.clear();
    std::string const long_arg(5000, 'x');
    marlix::vimb_printf("%s", long_arg.c_str());
    EXPECT_EQ(c.text, long_arg.substr(0, 1023));  // cut, never overrun
    marlix::vimb_printf(nullptr);
    EXPECT_EQ(c.count, 2);
}

// A tap keeps what its thread writes, the sink still getting it; the
// innermost of nested taps keeps, other threads' text passes it by.
TEST(message_tap, KeepsThisThreadsDiagnosticsForItsCaller) {
    marlix::test_support::captured_messages c;
    bool tapped_in_sink = true;
    EXPECT_FALSE(marlix::diagnostic_is_tapped());
    marlix::message_tap outer;
    {
        marlix::message_tap inner;
        marlix::vimb_printf("inner %d\n", 1);
        EXPECT_TRUE(marlix::diagnostic_is_tapped());
        std::thread([&] {
            tapped_in_sink = marlix::diagnostic_is_tapped();
            marlix::vimb_printf("elsewhere\n");
        }).join();
        EXPECT_EQ(inner.text(), "inner 1\n");
    }
    std::string const long_arg(1000, 'x');
    for (int i = 0; i < 5; ++i) marlix::vimb_printf("%s", long_arg.c_str());
    EXPECT_EQ(outer.text(), std::string(marlix::message_tap::capacity, 'x'));
    EXPECT_FALSE(tapped_in_sink);
    EXPECT_EQ(c.count, 7);
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
    EXPECT_EQ(store.in("absent", untouched), -1);
    EXPECT_STREQ(untouched, "keep");
    EXPECT_EQ(store.in(nullptr, untouched), -1);
    EXPECT_EQ(store.in("name", nullptr), -1);
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
    for (bool const was_there : {true, false}) EXPECT_EQ(store.erase("camreel"), was_there);
    EXPECT_EQ(store.find("camreel"), nullptr);
    field.set(nullptr, 0);
    EXPECT_STREQ(field.get(), "");
}

TEST(config_int, ReadsWholeNumbersFromTheHostStoreElseTheDefault) {
    ScopedConfig restore;
    // clang-format off
    std::pair<char const*, int> const cases[] = {
        {"1", 1}, {"0", 0}, {"-7", -7}, {" 42 ", 42}, {"+3", 3}, {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"2147483648", 99}, {"99999999999999999999", 99},
        {"", 99}, {"1.5", 99}, {"yes", 99}, {"- 1", 99}, {"12ab", 99}, {"\t-5\t", -5}, {" ", 99},
        {"-", 99}, {" 9", 9}, {"--1", 99}, {"+-1", 99}, {"-+1", 99}, {"-2147483649", 99}};
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

std::string file_text(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(configb, FilesLoadSkippingMalformedLinesAndSaveByteForByte) {
    // One file a process: test runs of other builds may share the folder.
    std::string const path =
        ::testing::TempDir() + "marlix_config_" + std::to_string(getpid()) + ".txt";
    std::ofstream(path, std::ios::binary) << "a=1\r\n\nno equals sign\n=novalue\nb = spaced\nx=y=z";
    configb store;
    EXPECT_EQ(store.load(path.c_str()), 2);  // two malformed lines skipped
    EXPECT_TRUE(store.size() == 3 && std::string(store.find("a")) == "1" &&
                std::string(store.find("b ")) == " spaced" &&
                std::string(store.find("x")) == "y=z");
    store.set("empty", "", nullptr);
    store.set("trailing", "blank ", nullptr);
    ASSERT_TRUE(store.save(path.c_str()));
    std::string const first = file_text(path);
    configb again;
    EXPECT_EQ(again.load(path.c_str()), 0);
    EXPECT_TRUE(again.size() == 5 && std::string(again.find("trailing")) == "blank " &&
                std::string(again.find("empty")).empty());
    ASSERT_TRUE(again.save(path.c_str()));
    EXPECT_EQ(file_text(path), first);
    EXPECT_EQ(store.load("/nonexistent/dir/file"), -1);
    EXPECT_FALSE(store.save("/nonexistent/dir/file"));
    std::remove(path.c_str());
}

std::vector<std::string> all_tokens(tokeniser& t) {
    std::vector<std::string> out;
    for (char const* s = t.first(); s != nullptr; s = t.next()) out.emplace_back(s);
    return out;
}

TEST(tokeniser, RunsOfSeparatorsGiveNoEmptyToken) {
    using list = std::vector<std::string>;
    std::string const one_long(10000, 'z');
    std::string many, many_short;  // past the inline list, with and without the inline text
    list many_short_tokens(128, "a");
    for (int i = 0; i < 128; ++i) many_short += "a,";
    list many_tokens;
    for (int i = 0; i < 300; ++i) {
        many_tokens.push_back(std::to_string(i));
        many += many_tokens.back() + ",";
    }
    // clang-format off
    std::tuple<std::string, char const*, list> const cases[] = {
        {"LABEL_REV:3 pal_label  01:00:00.00 25", " ",
        {"LABEL_REV:3", "pal_label", "01:00:00.00", "25"}},
        {"REV:1 2:1 reelid:A", ": ", {"REV", "1", "2", "1", "reelid", "A"}},
        {"  lead and trail  ", " ", {"lead", "and", "trail"}}, {"::: :", ": ", {}}, {"", " ", {}},
        {"one", " ", {"one"}}, {"a b", "", {"a b"}}, {"a b", nullptr, {"a b"}},
        {one_long + " " + one_long, " ", {one_long, one_long}}, {many, ",", many_tokens},
        {many_short, ",", many_short_tokens},
    };
    // clang-format on
    for (auto const& [text, separators, tokens] : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        tokeniser t(text.c_str(), separators);
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
    EXPECT_EQ(t.token(4), nullptr);  // one past the last leaves nothing after it
    EXPECT_EQ(t.next(), nullptr);
}

}  // namespace
}  // namespace marlix
