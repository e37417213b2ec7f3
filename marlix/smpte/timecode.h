#pragma once

/// @file
/// SMPTE timecode as editors write it: exact rational rates (23.976 is
/// 24000/1001), drop-frame counting at 29.97 and 59.94, strict reading that
/// names why it refused, writing in the SMPTE form, arithmetic, conversion
/// between rates (real time, frame for frame, 2:3 pulldown from a sync
/// point) and keycode pulls. It sits above the label converters and the
/// translation, which keep the host's own label forms; values here are plain
/// data, safe to use from any thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "marlix/base/result.h"
#include "marlix/export.h"
#include "marlix/types/label_types.h"

namespace Tov {
enum FrameRate : std::int32_t;
}

namespace marlix::smpte {

/// Frames per second as num/den, and whether labels drop frame numbers.
struct rate {
    std::int32_t num = 25;
    std::int32_t den = 1;
    bool drop        = false;

    /// Frames a labelled second counts: 24, 25, 30, 48, 50 or 60 (num/den
    /// rounded up; 0 for a rate that is not positive).
    constexpr std::int32_t nominal() const {
        return num > 0 && den > 0
                   ? static_cast<std::int32_t>((static_cast<std::int64_t>(num) + den - 1) / den)
                   : 0;
    }
    /// Frame numbers dropped at the start of a dropping minute: 2 at 29.97,
    /// 4 at 59.94, 0 without drop-frame.
    constexpr std::int32_t dropped_per_minute() const { return drop ? nominal() / 15 : 0; }
    /// Frames of one labelled day (24 hours of labels).
    constexpr std::int64_t frames_per_day() const {
        return 24 * (3600LL * nominal() - 54LL * dropped_per_minute());
    }
    friend constexpr bool operator==(rate a, rate b) {
        return a.num == b.num && a.den == b.den && a.drop == b.drop;
    }
    friend constexpr bool operator!=(rate a, rate b) { return !(a == b); }
};

/// The zero rate {0, 0, false}: nominal() 0, known to no function here. A
/// failed result holds it where a rate would be.
inline constexpr rate no_rate{0, 0, false};

inline constexpr rate rate_23_976{24000, 1001, false};
inline constexpr rate rate_24{24, 1, false};
inline constexpr rate rate_25{25, 1, false};
inline constexpr rate rate_29_97{30000, 1001, false};
inline constexpr rate rate_29_97_df{30000, 1001, true};
inline constexpr rate rate_30{30, 1, false};
inline constexpr rate rate_47_952{48000, 1001, false};
inline constexpr rate rate_48{48, 1, false};
inline constexpr rate rate_50{50, 1, false};
inline constexpr rate rate_59_94{60000, 1001, false};
inline constexpr rate rate_59_94_df{60000, 1001, true};
inline constexpr rate rate_60{60, 1, false};

/// Why a text, a rate or a computation was refused.
enum class error : std::int32_t {
    none,
    empty,           ///< no text at all
    syntax,          ///< not [-]HH:MM:SS:FF (two digits a field)
    field_range,     ///< minutes or seconds above 59, frames at or above the rate, hours above 23
    dropped_label,   ///< a frame number drop-frame counting skips (00:01:00;00)
    drop_separator,  ///< ';', '.' or ',' marks drop-frame, and the rate is not
    trailing_text,   ///< more text after the frames
    out_of_range,    ///< beyond 32-bit frame numbers
    unknown_rate,    ///< not a rate this layer knows
    rate_mismatch,   ///< two timecodes of different rates
    no_pulldown,     ///< no pulldown cadence between the two rates
};
/// A short English text of the reason ("dropped label").
MARLIX_API char const* error_text(error e);

/// A value, or why there is none. On failure value holds nothing usable:
/// 0 for a number, no_rate for a rate, frame 0 at no_rate for a timecode,
/// {0, false} for a pulled frame.
template <class T>
using result = basic_result<T, error>;

/// A rate by name: one of rate_names() ("29.97df", "df" in any case), or
/// its fraction as the rate holds it (30000/1001, 25/1, 30000/1001df).
MARLIX_API result<rate> parse_rate(std::string_view text);
/// The name of a known rate ("29.97df"), or "" for another.
MARLIX_API char const* rate_name(rate r);
/// The names of every known rate, blank-separated, slowest first.
MARLIX_API char const* rate_names();
/// The label type whose converter counts this rate (LABEL_NONE at 59.94
/// drop-frame): the converters' native text exists for these.
MARLIX_API label_t converter_type(rate r);
/// The host's frame rate that runs at r (drop-frame or not):
/// Tov::FrameRate_24 .. FrameRate_59_94; FrameRate_None for another rate.
MARLIX_API Tov::FrameRate host_frame_rate(rate r);

/// A position: a signed frame count from the rate's zero label, with its
/// rate. Cheap to copy.
///
/// Equal when frames and rate are equal. Ordered by frames, then by rate
/// (num, den, then drop-frame after not), so the order is total and agrees
/// with ==: timecodes sort and key maps whatever their rates. Across rates
/// the order of frame counts says nothing about time; convert() to one rate
/// to compare instants.
class timecode {
public:
    constexpr timecode() = default;
    constexpr timecode(std::int32_t frames, rate r) : frames_(frames), rate_(r) {}
    constexpr std::int32_t frames() const { return frames_; }
    constexpr smpte::rate frame_rate() const { return rate_; }
    friend constexpr bool operator==(timecode a, timecode b) {
        return a.frames_ == b.frames_ && a.rate_ == b.rate_;
    }
    friend constexpr bool operator!=(timecode a, timecode b) { return !(a == b); }
    friend constexpr bool operator<(timecode a, timecode b) {
        return std::tie(a.frames_, a.rate_.num, a.rate_.den, a.rate_.drop) <
               std::tie(b.frames_, b.rate_.num, b.rate_.den, b.rate_.drop);
    }
    friend constexpr bool operator>(timecode a, timecode b) { return b < a; }
    friend constexpr bool operator<=(timecode a, timecode b) { return !(b < a); }
    friend constexpr bool operator>=(timecode a, timecode b) { return !(a < b); }

private:
    std::int32_t frames_{};
    smpte::rate rate_{};
};

struct read_options {
    bool any_hours = false;  ///< allow hours above 23 (and more than two digits)
};

/// Strict reading of [-]HH:MM:SS:FF. The rate decides drop-frame: at a
/// drop-frame rate ':' is fine, and ';', '.' or ',' before the frames (or
/// ';' in every place) too; at other rates those separators are refused.
MARLIX_API result<timecode> read(std::string_view text, rate r, read_options options = {});

/// The longest text write() produces, with its terminator.
inline constexpr std::size_t text_capacity = 24;

/// HH:MM:SS:FF (';' before the frames at drop-frame rates); a negative value
/// is '-' and the label of its magnitude. The label wraps at 24 hours unless
/// wrap_day is false. Writes at most size - 1 characters and a terminator,
/// answers the length of the whole text.
MARLIX_API std::size_t write(timecode t, char* out, std::size_t size, bool wrap_day = true);
MARLIX_API std::string to_string(timecode t, bool wrap_day = true);
/// The label as the converter of converter_type(rate) prints it (leading
/// blank, '.' or '+' separators), byte for byte; empty where there is none.
MARLIX_API std::string native_text(timecode t);

/// Arithmetic: out_of_range where the frame count leaves 32 bits.
MARLIX_API result<timecode> add(timecode t, std::int64_t frames);
/// Frames from in to out, out exclusive (as an EDL's record out): the
/// number of frames the event holds. Both of one rate (rate_mismatch else).
MARLIX_API result<std::int32_t> duration(timecode in, timecode out);

/// How a position moves to another rate.
enum class method : std::int32_t {
    realtime,  ///< the frame on show at the same instant
    frame,     ///< frame for frame (a speed change: 25 <-> 24)
    pulldown,  ///< 2:3 between 23.976 film and 29.97 video, or 24 and 30
};
/// Film frame film_frame is an A frame whose first field is the first field
/// of video frame video_frame.
struct sync_point {
    std::int32_t film_frame{};
    std::int32_t video_frame{};
};
MARLIX_API result<timecode> convert(timecode t, rate to, method m, sync_point sync = {});

/// The largest frame distance from a sync point the pulldown arithmetic
/// takes (2^61): its field counts stay within 64 bits.
inline constexpr std::int64_t pull_frame_limit = std::int64_t{1} << 61;

/// Film frame n after the sync starts at field 10 * (n div 4) + {0, 2, 5,
/// 7}[n mod 4] after the first field of the sync frame. n is taken within
/// +-pull_frame_limit.
MARLIX_API std::int64_t pulldown_first_field(std::int64_t film_frame);
/// The film frame on show in a field counted from the sync.
MARLIX_API std::int64_t pulldown_film_frame(std::int64_t field);

/// The film frame shown in the first field of a video frame, both counted
/// from the sync, and whether the frame's second field shows another film
/// frame: 2:3 at 29.97 and 30, 2:3 frame by frame at 59.94 and 60 (never
/// split), the 24:25 cadence at 25, one frame each at 23.976 and 24
/// (no_pulldown for other rates).
struct pulled_frame {
    std::int64_t film_frame{};
    bool split = false;
};
/// out_of_range beyond +-pull_frame_limit.
MARLIX_API result<pulled_frame> pull(std::int64_t video_frame, rate video);

}  // namespace marlix::smpte
