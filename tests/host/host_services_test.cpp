#include "marlix/host/host_services.h"

#include <gtest/gtest.h>

#include <string>

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
        EXPECT_EQ(Tov::CurrentProject::getCelResolution(), 1 / 30.0);  // follows the project rate
        Tov::OutputGearing const g(Tov::OutputGearing::Option_CurrentProject);
        EXPECT_EQ(g.getFrameRate(), Tov::FrameRate_59_94);
        EXPECT_TRUE(g.getUsePulldown());
        Tov::OutputGearing const other(Tov::OutputGearing::Option_Explicit);
        EXPECT_EQ(other.getFrameRate(), Tov::FrameRate_24);
        EXPECT_FALSE(other.getUsePulldown());
        s.cel_resolution = 0.5;
        Tov::CurrentProject::apply(s);
        EXPECT_EQ(Tov::CurrentProject::getCelResolution(), 0.5);
        Tov::CurrentProject::reset();
        EXPECT_EQ(Tov::CurrentProject::settings(), Tov::ProjectSettings{});
    }
    EXPECT_EQ(Tov::CurrentProject::settings(), before);
}

TEST(cookie, InvalidValueAndTextForm) {
    marlix::cookie const fresh;
    EXPECT_TRUE(fresh == marlix::invalid_cookie);
    EXPECT_FALSE(fresh.isValid());
    EXPECT_STREQ(fresh.asString(), "invalid");
    marlix::cookie const c(1, 42, 0xdeadbeef);
    EXPECT_TRUE(c.isValid());
    EXPECT_STREQ(c.asString().c_str(), "00000001-0000002a-deadbeef");
}

int allocations = 0;
void* refuse(std::size_t) { return ++allocations, nullptr; }
void release(void*) {}

TEST(HeapSelector, ReplaceableAndRestorable) {
    Tov::Heap::Functions const original = Tov::Heap::Selector::getHeapFunctions();
    void* p                             = original.allocate(32);
    ASSERT_NE(p, nullptr);
    original.release(p);
    Tov::Heap::Functions const previous = Tov::Heap::Selector::setHeapFunctions({refuse, release});
    EXPECT_EQ(previous.allocate, original.allocate);
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate(16), nullptr);
    EXPECT_EQ(allocations, 1);
    // A record with a null entry is refused and leaves the failing one in force.
    Tov::Heap::Selector::setHeapFunctions(Tov::Heap::Functions{nullptr, release});
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate, refuse);
    Tov::Heap::Selector::setHeapFunctions(previous);
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate, original.allocate);
}

TEST(vimb_printf, GoesToTheInstalledSinkByteForByte) {
    struct captured {
        std::string text;
        int calls = 0;
    } c;
    auto const previous = marlix::set_diagnostic_sink(
        [](char const* text, void* context) {
            static_cast<captured*>(context)->text += text;
            ++static_cast<captured*>(context)->calls;
        },
        &c);
    marlix::vimb_printf("mPosn_Xlate(): %s - cookie<%s>\n", "Invalid", "invalid");
    EXPECT_EQ(c.text, "mPosn_Xlate(): Invalid - cookie<invalid>\n");
    c.text.clear();
    std::string const long_arg(5000, 'x');
    marlix::vimb_printf("%s", long_arg.c_str());
    EXPECT_EQ(c.text, long_arg.substr(0, 1023));  // cut, never overrun
    marlix::vimb_printf(nullptr);
    EXPECT_EQ(c.calls, 2);
    marlix::set_diagnostic_sink(previous.sink, previous.context);
}

}  // namespace
