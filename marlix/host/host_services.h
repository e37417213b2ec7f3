#pragma once

/// @file
/// The host services the library calls: the current project, the frame-rate
/// table, output gearing and picture settings, object identifiers, host
/// strings, the heap record converters are allocated through, and diagnostic
/// output. This is the library's default host: an embedding application can
/// use it as it is, drive it through the settings API below, or replace the
/// heap functions and the diagnostic sink with its own.
///
/// Settings are process state and are read on every call (nothing is cached
/// by the library). They are not locked: set them before calling in from
/// other threads, or serialise calls as for the rest of the library.

#include <cstddef>
#include <cstdint>
#include <string>

#include "marlix/export.h"
#include "marlix/host/frame_rate.h"

namespace Tov {

/// Frames per second: 24, 24000/1001, 25, 30, 30000/1001, 48, 48000/1001, 50,
/// 60, 60000/1001 for 1..10; 31..34 run at 24, 25, 30 and 48. Any other value
/// (0 included) has no rate and answers 0.0.
MARLIX_API double getFramesPerSecond(FrameRate r);

/// Seconds per frame, 1 / getFramesPerSecond(r); 0.0 for a rate without one.
MARLIX_API double getFrameDuration(FrameRate r);

/// True for the 1000/1001 rates 2, 5, 7 and 10.
MARLIX_API bool has1001Factor(FrameRate r);

/// One frame of the rate in cel units, seconds of nominal project time: the
/// reciprocal of the nominal rate (1/24 for both 24 and 23.976, 1/30 for 29.97
/// and so on). Cel time ignores the 1000/1001 factor; the clock does not.
/// 0.0 for a rate without one.
MARLIX_API double getCelResolution(FrameRate r);

namespace Image {
/// Scan mode of a picture: 3 and 4 are progressive, every other value is
/// interlaced.
enum ScanMode : std::int32_t {
    ScanMode_Unknown              = 0,
    ScanMode_InterlacedUpperFirst = 1,
    ScanMode_InterlacedLowerFirst = 2,
    ScanMode_Progressive          = 3,
    ScanMode_ProgressiveSegmented = 4,
};
MARLIX_API bool isProgressive(ScanMode s);
}  // namespace Image

/// A picture format; only the scan mode and the frame rate are read.
struct PictureSettings {
    Image::ScanMode scan_mode = Image::ScanMode_Progressive;
    FrameRate frame_rate      = FrameRate_24;
    Image::ScanMode getScanMode() const { return scan_mode; }
    FrameRate getFrameRate() const { return frame_rate; }
};
namespace OutputFormat {
using Details = PictureSettings;
}

/// The settings of the current project, as one plain value. The defaults
/// describe a 24 fps film project shot at 24 fps, playing out 24p without
/// pulldown.
struct ProjectSettings {
    FrameRate frame_rate           = FrameRate_24;
    bool drop_frame_timecode       = false;
    FrameRate in_camera_film_speed = FrameRate_24;
    FrameRate output_rate          = FrameRate_24;
    Image::ScanMode output_scan    = Image::ScanMode_Progressive;
    bool output_pulled_down        = false;
    bool audio_sync_pulled_down    = false;
    /// Cel resolution of the project; 0.0 follows the project rate
    /// (getCelResolution(frame_rate)).
    double cel_resolution = 0.0;

    friend bool operator==(ProjectSettings const& a, ProjectSettings const& b) {
        return a.frame_rate == b.frame_rate && a.drop_frame_timecode == b.drop_frame_timecode &&
               a.in_camera_film_speed == b.in_camera_film_speed && a.output_rate == b.output_rate &&
               a.output_scan == b.output_scan && a.output_pulled_down == b.output_pulled_down &&
               a.audio_sync_pulled_down == b.audio_sync_pulled_down &&
               a.cel_resolution == b.cel_resolution;
    }
    friend bool operator!=(ProjectSettings const& a, ProjectSettings const& b) { return !(a == b); }
};

class MARLIX_API CurrentProject {
public:
    /// The default host holds the current revision of the settings only; for
    /// any other revision it answers FrameRate_None and an unknown format.
    enum Revision : std::int32_t { Current = 0 };

    static FrameRate getFrameRate(int revision);
    static bool getUseDropFrameTimecode();
    static FrameRate getInCameraFilmSpeed();
    static FrameRate getOutputImageTOVFrameRate();
    static bool outputFormatIsPulledDown();
    static bool vidprojAudSyncIsPulledDown();
    static OutputFormat::Details getOutputImageFormat(int revision);
    static double getCelResolution();

    /// The settings API of the default host.
    static ProjectSettings settings();
    static void apply(ProjectSettings const& s);
    static void reset();  ///< back to the defaults of ProjectSettings
};

/// Restores the project settings it saw at construction when it goes out of
/// scope; tests and tools use it so that settings do not leak.
class MARLIX_API ScopedProject {
public:
    ScopedProject();
    explicit ScopedProject(ProjectSettings const& s);  ///< saves, then applies s
    ~ScopedProject();
    ScopedProject(ScopedProject const&)            = delete;
    ScopedProject& operator=(ScopedProject const&) = delete;

private:
    ProjectSettings saved_;
};

/// Settings for the calling thread alone while the object lives: every
/// project query the thread makes answers from them, and other threads keep
/// seeing the current project. Nests (the innermost holds). The C API and
/// the Python module translate one call under settings of its own so.
class MARLIX_API ThreadProject {
public:
    explicit ThreadProject(ProjectSettings const& s);
    ~ThreadProject();
    ThreadProject(ThreadProject const&)            = delete;
    ThreadProject& operator=(ThreadProject const&) = delete;

private:
    ProjectSettings settings_;
    ProjectSettings const* outer_;
};

/// The output frame rate and pulldown choice of a playout.
class MARLIX_API OutputGearing {
public:
    enum ConstructionOptions : std::int32_t {
        Option_Explicit       = 0,  ///< a 24 fps gearing without pulldown
        Option_CurrentProject = 1,  ///< the current project's output
    };
    /// Option 1 takes the current project's output rate and pulldown; any
    /// other option gives a 24 fps gearing without pulldown.
    explicit OutputGearing(ConstructionOptions option);
    OutputGearing(FrameRate rate, bool use_pulldown);
    ~OutputGearing();
    OutputGearing(OutputGearing const&)            = default;
    OutputGearing& operator=(OutputGearing const&) = default;

    FrameRate getFrameRate() const { return rate_; }
    bool getUsePulldown() const { return use_pulldown_; }

private:
    FrameRate rate_;
    bool use_pulldown_;
};

namespace Heap {
/// The allocation record: the first entry allocates (a byte count in, memory
/// or a null pointer out), the second releases.
struct Functions {
    void* (*allocate)(std::size_t bytes);
    void (*release)(void* memory);
};

class MARLIX_API Selector {
public:
    /// The record in force; asked at each allocation and release.
    static Functions const& getHeapFunctions();
    /// Installs a record (both entries non-null; a record with a null entry is
    /// refused) and answers the one it replaced. The default is malloc/free.
    static Functions setHeapFunctions(Functions const& f);
};
}  // namespace Heap

}  // namespace Tov

namespace marlix {

/// A host string: owns its text.
class MARLIX_API String {
public:
    String() = default;
    explicit String(char const* text) : text_(text ? text : "") {}
    char const* c_str() const { return text_.c_str(); }
    operator char const*() const { return text_.c_str(); }
    std::size_t length() const { return text_.size(); }

private:
    std::string text_;
};

/// An object identifier of the host: three 32-bit words. The default
/// identifier is invalid_cookie.
class MARLIX_API cookie {
public:
    cookie();
    cookie(std::uint32_t a, std::uint32_t b, std::uint32_t c) : words{a, b, c} {}
    /// Text form: the three words as eight lower-case hexadecimal digits each,
    /// joined by '-' ("00000001-0000002a-00000000"); "invalid" for the invalid
    /// identifier.
    String asString() const;
    bool isValid() const;
    friend bool operator==(cookie const& a, cookie const& b) {
        return a.words[0] == b.words[0] && a.words[1] == b.words[1] && a.words[2] == b.words[2];
    }
    friend bool operator!=(cookie const& a, cookie const& b) { return !(a == b); }

    std::uint32_t words[3];
};

/// The invalid identifier: all three words 0xffffffff.
MARLIX_API extern cookie const invalid_cookie;

/// Diagnostic output. vimb_printf formats like printf (at most 1023
/// characters; longer text is cut) and hands the text to the installed sink.
/// The default sink writes to standard error.
using diagnostic_sink = void (*)(char const* text, void* context);
MARLIX_API void vimb_printf(char const* format, ...) __attribute__((format(printf, 1, 2)));

struct diagnostic_sink_record {
    diagnostic_sink sink;
    void* context;
};
/// Installs a sink (a null sink restores the default) and answers the one it
/// replaced.
MARLIX_API diagnostic_sink_record set_diagnostic_sink(diagnostic_sink sink, void* context);
/// True while the default sink (standard error) is installed.
MARLIX_API bool diagnostic_sink_is_default();

/// Keeps the diagnostics the constructing thread writes while it lives (the
/// sink gets them as well): how a caller learns why a call it made was
/// refused, to say so in its own words. Taps nest; the innermost keeps.
class MARLIX_API message_tap {
public:
    /// The most text a tap keeps; later text is dropped.
    static constexpr std::size_t capacity = 4096;
    message_tap();
    ~message_tap();
    message_tap(message_tap const&)            = delete;
    message_tap& operator=(message_tap const&) = delete;
    /// Every diagnostic kept so far, one after another.
    std::string const& text() const { return text_; }

private:
    friend void vimb_printf(char const*, ...);
    message_tap* outer_;
    std::string text_;
};
/// True inside a sink while the thread that wrote the text has a
/// message_tap: its caller will report the refusal in its own words, so a
/// front end may leave the text off its screen.
MARLIX_API bool diagnostic_is_tapped();

/// Most translation messages also go to standard output, as the host has
/// always printed them. An embedder whose standard output carries its own
/// data (JSON, a pipe) turns that copy off: every message then reaches the
/// diagnostics sink only. On by default; safe to switch from any thread.
MARLIX_API void set_messages_to_standard_output(bool on);
MARLIX_API bool messages_to_standard_output();

}  // namespace marlix
