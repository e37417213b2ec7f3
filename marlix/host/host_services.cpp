#include "marlix/host/host_services.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "marlix/host/detail/rate_table.h"

namespace Tov {

namespace {

using detail::find_rate;
using detail::rate_row;

// The current project as immutable snapshots: apply publishes a pointer to
// a snapshot of the new settings, and every query reads the pointer with one
// atomic load, so a reader on any thread sees some complete set of settings
// a writer applied, never a mix. Snapshots live as long as the process, one
// per distinct set of settings (a host changes its project rarely), so the
// one a reader holds never goes away.
struct project_store {
    std::mutex writers;
    std::vector<std::unique_ptr<ProjectSettings const>> snapshots;
    std::atomic<ProjectSettings const*> current;

    project_store() {
        snapshots.push_back(std::make_unique<ProjectSettings const>());
        current.store(snapshots.back().get());
    }
    void publish(ProjectSettings const& s) {
        std::lock_guard<std::mutex> const lock(writers);
        for (auto const& snapshot : snapshots) {
            if (*snapshot == s) {
                current.store(snapshot.get(), std::memory_order_release);
                return;
            }
        }
        snapshots.push_back(std::make_unique<ProjectSettings const>(s));
        current.store(snapshots.back().get(), std::memory_order_release);
    }
};

project_store& store() {
    static project_store s;
    return s;
}

// The settings of a ThreadProject of the calling thread, when one lives.
thread_local ProjectSettings const* thread_settings = nullptr;

ProjectSettings const& project() {
    if (thread_settings != nullptr) return *thread_settings;
    return *store().current.load(std::memory_order_acquire);
}

}  // namespace

double getFramesPerSecond(FrameRate r) {
    rate_row const* row = find_rate(r);
    if (row == nullptr) return 0.0;
    // 24000/1001 and its kin are the exact quotients of the nominal rate times
    // 1000 by 1001, the values every caller compares against.
    return row->has_1001 ? row->nominal_fps * 1000.0 / 1001.0 : row->nominal_fps;
}

double getFrameDuration(FrameRate r) {
    double const fps = getFramesPerSecond(r);
    return fps == 0.0 ? 0.0 : 1.0 / fps;
}

bool has1001Factor(FrameRate r) {
    rate_row const* row = find_rate(r);
    return row != nullptr && row->has_1001;
}

double getCelResolution(FrameRate r) {
    rate_row const* row = find_rate(r);
    return row == nullptr ? 0.0 : 1.0 / row->nominal_fps;
}

bool Image::isProgressive(ScanMode s) {
    return s == ScanMode_Progressive || s == ScanMode_ProgressiveSegmented;
}

// The host holds the current revision of the project's settings only; an
// earlier revision has no rate and no picture format.
FrameRate CurrentProject::getFrameRate(int revision) {
    return revision == Current ? project().frame_rate : FrameRate_None;
}
bool CurrentProject::getUseDropFrameTimecode() { return project().drop_frame_timecode; }
FrameRate CurrentProject::getInCameraFilmSpeed() { return project().in_camera_film_speed; }
FrameRate CurrentProject::getOutputImageTOVFrameRate() { return project().output_rate; }
bool CurrentProject::outputFormatIsPulledDown() { return project().output_pulled_down; }
bool CurrentProject::vidprojAudSyncIsPulledDown() { return project().audio_sync_pulled_down; }

OutputFormat::Details CurrentProject::getOutputImageFormat(int revision) {
    if (revision != Current) return PictureSettings{Image::ScanMode_Unknown, FrameRate_None};
    return PictureSettings{project().output_scan, project().output_rate};
}

double CurrentProject::getCelResolution() {
    ProjectSettings const& p = project();
    return p.cel_resolution > 0.0 ? p.cel_resolution : Tov::getCelResolution(p.frame_rate);
}

ProjectSettings CurrentProject::settings() { return project(); }
void CurrentProject::apply(ProjectSettings const& s) { store().publish(s); }
void CurrentProject::reset() { store().publish(ProjectSettings{}); }

ThreadProject::ThreadProject(ProjectSettings const& s) : settings_(s), outer_(thread_settings) {
    thread_settings = &settings_;
}
ThreadProject::~ThreadProject() { thread_settings = outer_; }

ScopedProject::ScopedProject() : saved_(CurrentProject::settings()) {}
ScopedProject::ScopedProject(ProjectSettings const& s) : saved_(CurrentProject::settings()) {
    CurrentProject::apply(s);
}
ScopedProject::~ScopedProject() { CurrentProject::apply(saved_); }

OutputGearing::OutputGearing(ConstructionOptions option)
    : rate_(FrameRate_24), use_pulldown_(false) {
    if (option == Option_CurrentProject) {
        rate_         = CurrentProject::getOutputImageTOVFrameRate();
        use_pulldown_ = CurrentProject::outputFormatIsPulledDown();
    }
}
OutputGearing::OutputGearing(FrameRate rate, bool use_pulldown)
    : rate_(rate), use_pulldown_(use_pulldown) {}
OutputGearing::~OutputGearing() = default;

namespace Heap {
namespace {
void* default_allocate(std::size_t bytes) { return std::malloc(bytes); }
void default_release(void* memory) { std::free(memory); }
Functions& heap_record() {
    static Functions record{default_allocate, default_release};
    return record;
}
}  // namespace

Functions const& Selector::getHeapFunctions() { return heap_record(); }

Functions Selector::setHeapFunctions(Functions const& f) {
    Functions const previous = heap_record();
    if (f.allocate != nullptr && f.release != nullptr) heap_record() = f;
    return previous;
}
}  // namespace Heap

}  // namespace Tov

namespace marlix {

cookie const invalid_cookie{0xffffffffu, 0xffffffffu, 0xffffffffu};

cookie::cookie() : words{0xffffffffu, 0xffffffffu, 0xffffffffu} {}

bool cookie::isValid() const { return !(*this == invalid_cookie); }

String cookie::asString() const {
    if (!isValid()) return String("invalid");
    char text[sizeof "ffffffff-ffffffff-ffffffff"];
    std::snprintf(text, sizeof text, "%08x-%08x-%08x", static_cast<unsigned>(words[0]),
                  static_cast<unsigned>(words[1]), static_cast<unsigned>(words[2]));
    return String(text);
}

namespace {
void stderr_sink(char const* text, void*) { std::fputs(text, stderr); }

diagnostic_sink_record& sink_record() {
    static diagnostic_sink_record record{stderr_sink, nullptr};
    return record;
}
}  // namespace

diagnostic_sink_record set_diagnostic_sink(diagnostic_sink sink, void* context) {
    diagnostic_sink_record const previous = sink_record();
    sink_record() = sink == nullptr ? diagnostic_sink_record{stderr_sink, nullptr}
                                    : diagnostic_sink_record{sink, context};
    return previous;
}

bool diagnostic_sink_is_default() { return sink_record().sink == stderr_sink; }

namespace {
std::atomic<bool> standard_output_copy{true};
}  // namespace

void set_messages_to_standard_output(bool on) { standard_output_copy.store(on); }
bool messages_to_standard_output() { return standard_output_copy.load(); }

namespace {
thread_local message_tap* innermost_tap = nullptr;
}  // namespace

message_tap::message_tap() : outer_(innermost_tap) { innermost_tap = this; }

message_tap::~message_tap() { innermost_tap = outer_; }

bool diagnostic_is_tapped() { return innermost_tap != nullptr; }

void vimb_printf(char const* format, ...) {
    if (format == nullptr) return;
    char text[1024];
    va_list args;
    va_start(args, format);
    int const n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0) return;
    if (message_tap* const tap = innermost_tap) {
        std::string& kept = tap->text_;
        kept.append(text, std::min(std::strlen(text), message_tap::capacity - kept.size()));
    }
    diagnostic_sink_record const record = sink_record();
    record.sink(text, record.context);
}

}  // namespace marlix
