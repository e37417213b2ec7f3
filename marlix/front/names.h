#pragma once

/// @file
/// Names as people type them, read once for every front end: label types by
/// any of their names, and the rate names that go with them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "marlix/export.h"
#include "marlix/front/result.h"
#include "marlix/host/frame_rate.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/smpte/timecode.h"
#include "marlix/types/label_types.h"
#include "marlix/types/transfer_type.h"
#include "marlix/xlate/cadence_tables.h"

namespace marlix::front {

/// A label type as a person names it. The whole text is the name, one of:
/// "#N", catalogue number N (0..41); a frame rate as the SMPTE layer reads
/// it ("25", "29.97df", "30000/1001"), naming the timecode type that counts
/// it; a class name ("pal_label"); an EDL name in any case ("P", "ND",
/// "F35"). Refused with unknown_label_type, bad_catalogue_number,
/// rate_without_converter or not_a_rate. Any type of the catalogue is
/// found, those without a converter of their own too.
MARLIX_API result<label_t> find_label_type(std::string_view text);

/// A type's class name ("pal_label"), or "#N" for a number outside the
/// catalogue.
MARLIX_API std::string type_name(label_t type);

/// As find_label_type, refusing with no_converter a type that has no
/// converter of its own (0, 1, 2, 4, 9, 13 and 17).
MARLIX_API result<label_t> find_converter_type(std::string_view text);

/// Whether the host knows the frame rate numbered n: a rate it runs at (1 to
/// 10) or a project rate (31 to 34).
MARLIX_API bool is_host_rate(long long n);

/// A host frame rate as users name one: a rate smpte::parse_rate reads that
/// the host runs at, with its drop-frame flag, or "#N" for the host's rate
/// number N (decimal digits) where is_host_rate(N); unknown_rate for any
/// other text. The one grammar of the tool's rate options, the C
/// interface's rate look-up and the Python module.
struct host_rate_choice {
    Tov::FrameRate rate = Tov::FrameRate_None;
    bool drop           = false;
};
MARLIX_API result<host_rate_choice> find_host_rate(std::string_view text);

/// The largest transfer number a person may give.
inline constexpr int max_transfer_number = 99;
/// A transfer as users name one: "none", "frame" (frame for frame),
/// "pulldown" (by cadence), or its number 0 to max_transfer_number in
/// decimal digits; unknown_transfer else.
MARLIX_API result<transfer_type> find_transfer(std::string_view text);
/// A transfer by its number; unknown_transfer outside 0..max_transfer_number.
MARLIX_API result<transfer_type> transfer_numbered(long long n);

/// A medium by its number (0..40) or its name as medium_name gives it, in any
/// case ("film", "30i", "PlayoutVideo"); unknown_medium else.
MARLIX_API result<MediumRollMedium> find_medium(std::string_view text);

/// A cadence as "FILM:VIDEO": FILM 24 or 48, VIDEO 25p, 25i, 30p or 30i (50p
/// and 60p count as the fields of 25 and 30);
/// unknown_cadence else.
MARLIX_API result<cadence_pair> find_cadence(std::string_view text);

/// How a position moves between rates, as people name it: "realtime",
/// "frame" or "pulldown"; nothing for another text.
MARLIX_API std::optional<smpte::method> find_method(std::string_view text);

}  // namespace marlix::front
