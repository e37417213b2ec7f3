#include "marlix/host/host_services.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(getFramesPerSecond, RateTable) {
    struct {
        int rate;
        double fps, cel;
        bool slow;
    } const cases[] = {
        {1, 24.0, 1 / 24.0, false},
        {2, 24000.0 / 1001, 1 / 24.0, true},
        {3, 25.0, 1 / 25.0, false},
        {4, 30.0, 1 / 30.0, false},
        {5, 30000.0 / 1001, 1 / 30.0, true},
        {6, 48.0, 1 / 48.0, false},
        {7, 48000.0 / 1001, 1 / 48.0, true},
        {8, 50.0, 1 / 50.0, false},
        {9, 60.0, 1 / 60.0, false},
        {10, 60000.0 / 1001, 1 / 60.0, true},
        {31, 24.0, 1 / 24.0, false},
        {32, 25.0, 1 / 25.0, false},
        {33, 30.0, 1 / 30.0, false},
        {34, 48.0, 1 / 48.0, false},
        {0, 0.0, 0.0, false},
        {11, 0.0, 0.0, false},
        {30, 0.0, 0.0, false},
        {-1, 0.0, 0.0, false},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.rate);
        auto const r = static_cast<Tov::FrameRate>(c.rate);
        EXPECT_EQ(Tov::getFramesPerSecond(r), c.fps);
        EXPECT_EQ(Tov::getCelResolution(r), c.cel);
        EXPECT_EQ(Tov::has1001Factor(r), c.slow);
        EXPECT_EQ(Tov::getFrameDuration(r), c.fps == 0.0 ? 0.0 : 1.0 / c.fps);
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
        EXPECT_EQ(Tov::CurrentProject::getFrameRate(0), Tov::FrameRate_29_97);
        EXPECT_TRUE(Tov::CurrentProject::getUseDropFrameTimecode());
        EXPECT_EQ(Tov::CurrentProject::getInCameraFilmSpeed(), Tov::FrameRate_48);
        EXPECT_EQ(Tov::CurrentProject::getOutputImageTOVFrameRate(), Tov::FrameRate_59_94);
        EXPECT_TRUE(Tov::CurrentProject::outputFormatIsPulledDown());
        EXPECT_TRUE(Tov::CurrentProject::vidprojAudSyncIsPulledDown());
        Tov::OutputFormat::Details const d = Tov::CurrentProject::getOutputImageFormat(0);
        EXPECT_EQ(d.getScanMode(), Tov::Image::ScanMode_InterlacedLowerFirst);
        EXPECT_EQ(d.getFrameRate(), Tov::FrameRate_59_94);
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
    }
    Tov::ProjectSettings const after = Tov::CurrentProject::settings();
    EXPECT_EQ(after.frame_rate, before.frame_rate);
    EXPECT_EQ(after.drop_frame_timecode, before.drop_frame_timecode);
    EXPECT_EQ(after.output_rate, before.output_rate);
    EXPECT_EQ(after.cel_resolution, before.cel_resolution);
}

TEST(CurrentProject, DefaultsAreA24FpsFilmProject) {
    Tov::ScopedProject restore;
    Tov::CurrentProject::reset();
    EXPECT_EQ(Tov::CurrentProject::getFrameRate(0), Tov::FrameRate_24);
    EXPECT_FALSE(Tov::CurrentProject::getUseDropFrameTimecode());
    EXPECT_EQ(Tov::CurrentProject::getInCameraFilmSpeed(), Tov::FrameRate_24);
    EXPECT_EQ(Tov::CurrentProject::getCelResolution(), 1 / 24.0);
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

namespace heap_probe {
int allocations = 0;
void* refuse(std::size_t) {
    ++allocations;
    return nullptr;
}
void release(void*) {}
}  // namespace heap_probe

TEST(HeapSelector, ReplaceableAndRestorable) {
    Tov::Heap::Functions const original = Tov::Heap::Selector::getHeapFunctions();
    void* p                             = original.allocate(32);
    ASSERT_NE(p, nullptr);
    original.release(p);

    Tov::Heap::Functions const failing{heap_probe::refuse, heap_probe::release};
    Tov::Heap::Functions const previous = Tov::Heap::Selector::setHeapFunctions(failing);
    EXPECT_EQ(previous.allocate, original.allocate);
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate(16), nullptr);
    EXPECT_EQ(heap_probe::allocations, 1);

    // A record with a null entry is refused and leaves the failing one in force.
    Tov::Heap::Selector::setHeapFunctions(Tov::Heap::Functions{nullptr, heap_probe::release});
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate, heap_probe::refuse);

    Tov::Heap::Selector::setHeapFunctions(previous);
    EXPECT_EQ(Tov::Heap::Selector::getHeapFunctions().allocate, original.allocate);
}

struct captured_text {
    std::string text;
    int calls = 0;
};
void capture(char const* text, void* context) {
    auto* c = static_cast<captured_text*>(context);
    c->text += text;
    ++c->calls;
}

TEST(vimb_printf, GoesToTheInstalledSinkByteForByte) {
    captured_text c;
    marlix::diagnostic_sink_record const previous = marlix::set_diagnostic_sink(capture, &c);
    marlix::vimb_printf("mPosn_Xlate(): %s - cookie<%s>\n", "Invalid", "invalid");
    EXPECT_EQ(c.text, "mPosn_Xlate(): Invalid - cookie<invalid>\n");
    EXPECT_EQ(c.calls, 1);

    c.text.clear();
    std::string const long_arg(5000, 'x');
    marlix::vimb_printf("%s", long_arg.c_str());
    EXPECT_EQ(c.text, long_arg.substr(0, 1023));  // cut, never overrun

    marlix::vimb_printf(nullptr);
    EXPECT_EQ(c.calls, 2);
    marlix::set_diagnostic_sink(previous.sink, previous.context);
}

}  // namespace
