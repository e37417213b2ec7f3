#pragma once

/// @file
/// SMPTE timecode as people give it: the strict reading of the SMPTE layer,
/// with the blanks around the text that copies and pipes bring along.

#include <cstdint>
#include <string_view>

#include "marlix/export.h"
#include "marlix/smpte/timecode.h"

namespace marlix::front {

/// The text without the blanks (space, tab, CR, LF, VT, FF) around it: a
/// view into text.
MARLIX_API std::string_view trim_blanks(std::string_view text);

/// A timecode a person gives, read strictly at rate r: the blanks around it
/// trimmed, then smpte::read. The converters' native drop-frame text
/// (" 01:00:00;00") reads; refused as smpte::read refuses, empty when
/// nothing but blanks is left.
MARLIX_API smpte::result<smpte::timecode> read_timecode(std::string_view text, smpte::rate r,
                                                        smpte::read_options options = {});

/// t moved by frames on the clock of a day: the count is taken modulo the
/// labelled day, so 23:59:59;29 + 1 is 00:00:00;00 and 00:00:02:00 - 125 at
/// 25 fps is 23:59:57:00, whatever the size of frames. With wrap_day false,
/// smpte::add's signed answer (out_of_range beyond 32 bits).
MARLIX_API smpte::result<smpte::timecode> add_on_clock(smpte::timecode t, std::int64_t frames,
                                                       bool wrap_day = true);

/// The frames from in to out, out exclusive. An out earlier on the clock
/// than the in runs across midnight (23:59:50;00 to 00:00:05;00 is 450
/// frames at 29.97df); with signed_count, smpte::duration's signed answer.
/// rate_mismatch for two rates.
MARLIX_API smpte::result<std::int32_t> clock_duration(smpte::timecode in, smpte::timecode out,
                                                      bool signed_count = false);

}  // namespace marlix::front
