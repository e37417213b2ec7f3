#pragma once

/// @file
/// A whole list moved to another rate or frame-code mode: drop-frame and
/// non-drop relabelled frame for frame, a speed change that keeps every
/// count, real time with the record events kept contiguous, and 2:3
/// pulldown from sync points on the record side and on each source reel.
/// Lengths that rounding changes are reported edit by edit.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "marlix/edl/document.h"
#include "marlix/export.h"
#include "marlix/front/result.h"
#include "marlix/smpte/timecode.h"

namespace marlix::edl {

/// A source reel's own pulldown sync: its tape has its own A frame.
struct reel_sync {
    std::string reel;
    smpte::sync_point sync;
};

struct convert_options {
    smpte::rate to = smpte::rate_25;  ///< the new rate and frame-code mode
    /// How positions move. May be left out between the drop-frame and
    /// non-drop modes of one rate, where every frame stays; needed between
    /// rates.
    std::optional<smpte::method> method;
    smpte::sync_point sync;             ///< pulldown: the record side's sync
    std::vector<reel_sync> reel_syncs;  ///< pulldown: each source reel's sync
    bool keep_sources = false;          ///< pulldown: source timecodes stay as written
};

/// Why a list was not converted. The zero is none.
enum class convert_error : std::int32_t {
    none,
    list_has_errors,  ///< the list has an error finding: it is fixed first
    unknown_rate,     ///< the new rate is no rate timecodes count
    method_needed,    ///< between two rates, with no method
    no_pulldown,      ///< pulldown between rates with no 2:3 cadence
    no_reel_sync,     ///< pulldown: a source reel with no sync, sources not kept
    outside_day,      ///< a converted timecode before 00:00:00:00 or from 24:00:00:00 on
    edit_vanishes,    ///< an edit with record frames has none at the new rate
    length_too_long,  ///< a transition past 99999 frames
    speed_too_fast,   ///< an M2 speed past 9999.9 frames a second
};
inline constexpr int convert_error_count = static_cast<int>(convert_error::speed_too_fast) + 1;

/// The error's name as the tool's JSON gives it ("no_reel_sync").
MARLIX_API char const* convert_error_name(convert_error e);

/// An edit whose record length rounding changed: after differs from the
/// exact length exact_num / exact_den (in lowest terms) at the new rate.
struct rounding {
    std::int32_t event{};
    std::uint32_t line{};   ///< the edit's line in the list converted
    std::int32_t before{};  ///< record frames at the list's rate
    std::int32_t after{};   ///< record frames at the new rate
    std::int64_t exact_num{};
    std::int64_t exact_den = 1;
};

/// "25 frames become 23 (23.976 exact)": the exact length to three decimals.
MARLIX_API std::string describe(rounding const& r);

/// A converted list, or why there is none.
struct conversion {
    convert_error why  = convert_error::none;
    std::int32_t event = -1;        ///< where refused: the edit's event, -1 for the list as a whole
    std::uint32_t line{};           ///< where refused: the edit's line, 0 for the list
    std::string reel;               ///< no_reel_sync: the reel
    document doc;                   ///< the new list (empty when refused), checked afresh
    std::vector<rounding> changed;  ///< in list order

    bool ok() const { return why == convert_error::none; }
};

/// The whole message of a refusal, without line and event ("reel B007 has
/// no pulldown sync"); "" for none.
MARLIX_API std::string describe(conversion const& c);

/// The list at the new rate. Record ins and outs move by the method (real
/// time: the frame on show at the instant); a source in moves by the method
/// too (pulldown: by its reel's sync), and its out follows from the record
/// length, by the M2 speed where there is one. M2 speeds keep their
/// multiple of the rate; transition lengths and split delays, counted from
/// the record in, move with the record side. FCM: lines give the new mode,
/// and a list at 29.97 or 59.94 opens with one.
MARLIX_API conversion convert(document const& doc, convert_options const& options);

/// "REEL=FILMTC=VIDEOTC": the reel, then a sync read as
/// front::read_pulldown_sync reads it (the reel runs to the last '=' but
/// one). Refused with not_a_sync_point (no reel, or no '=') and the sync's
/// own reasons; why, if given, receives the subject describe() takes.
MARLIX_API front::result<reel_sync> read_reel_sync(std::string_view text, smpte::rate from,
                                                   smpte::rate to, std::string* why = nullptr);

}  // namespace marlix::edl
