#pragma once

/// @file
/// What the front door's jobs answer: a value, or the named reason it was
/// refused. The tool, the C interface and the Python module all report a
/// refusal with describe() (C maps each reason to a status), so each reason
/// has one wording everywhere.

#include <cstdint>
#include <string>
#include <string_view>

#include "marlix/base/result.h"
#include "marlix/export.h"
#include "marlix/types/label_types.h"

namespace marlix::front {

enum class reason : std::int32_t {
    none,
    unknown_label_type,       ///< no label type has this name
    bad_catalogue_number,     ///< "#N" with N outside the catalogue
    rate_without_converter,   ///< a known rate no converter counts (59.94 drop-frame)
    not_a_rate,               ///< a number that is no known rate
    no_converter,             ///< a label type without a converter of its own
    fields_not_timecode,      ///< timecode fields asked of another family
    no_memory,                ///< the host heap gave no memory
    unreadable,               ///< the text is no label of the type
    prefix_too_short,         ///< a new prefix shorter than the type's prefix
    prefix_lengths_differ,    ///< two types whose prefixes differ in length, no new prefix
    unknown_rate,             ///< no frame rate the host runs at has this name
    unknown_transfer,         ///< not a transfer name or number
    unknown_medium,           ///< not a medium name or number
    unknown_cadence,          ///< not a cadence pair FILM:VIDEO
    no_translation,           ///< no translation between the two media (the library said why)
    prefix_not_kept,          ///< a prefix a keep string would not read back (a blank or ':')
    not_a_keep_string,        ///< no keep string of a type with a converter of its own
    text_after_keep_string,   ///< text after a keep string's last field
    keep_start_not_label,     ///< a keep string's start that is no label of its type
    negative_length,          ///< a negative length, for a keep string
    length_not_whole_frames,  ///< a length a keep string, which stores frames, would cut
    start_not_on_frame,       ///< a start inside a frame whose label names the frame only
    prefix_needed,            ///< a prefix type's label with no roll prefix of its own
    keep_string_not_kept,     ///< a keep string that would read back as another label
    malformed_label,          ///< strictly read, no label of the type (a detail says why)
    malformed_prefix,         ///< strictly read, no prefix of the type (a detail says why)
    not_keycode_stock,        ///< a pull from a label type that is no keycode
    no_film_pull,             ///< a video rate no film frames are pulled down to
    not_a_sync_point,         ///< a sync point without the '=' between its sides
    sync_keycode,             ///< the sync point's keycode is no label of the stock
    sync_film_timecode,       ///< the sync point's film timecode does not read
    sync_video_timecode,      ///< the sync point's video timecode does not read
    timecode_rate_differs,    ///< a timecode at another rate than the job's
    outside_roll,             ///< a film frame outside the sync point's roll
    no_gauge_count,           ///< a stock without a footage or ink type of its gauge
    sync_count,               ///< the footage or ink number at the sync point does not read
    count_out_of_range,       ///< a footage or ink number past the 32-bit count
};
inline constexpr int reason_count = static_cast<int>(reason::count_out_of_range) + 1;

/// A short text of the reason ("not a label type"); "unknown reason" past
/// the enumeration.
MARLIX_API char const* reason_text(reason why);

/// The whole message of a refusal, naming what was refused: subject is the
/// name as the caller wrote it for the name reasons (for fields_not_timecode
/// the option that asked for fields, if any); the detail a strict reading
/// gave for malformed_label and malformed_prefix, a job gave for the sync
/// and roll reasons and the translation for no_translation; the rate for
/// no_film_pull, the form for not_a_sync_point; and type the label type for
/// the others ("'29' is not a frame rate (23.976 24 ...)", "does not read
/// as a label of type pal_label").
MARLIX_API std::string describe(reason why, std::string_view subject, label_t type = LABEL_NONE);

/// A value and why it is missing. On a refusal value is T's default: never a
/// usable answer.
template <class T>
using result = basic_result<T, reason>;

}  // namespace marlix::front
