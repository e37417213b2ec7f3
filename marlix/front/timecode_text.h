#pragma once

/// @file
/// SMPTE timecode as people give it: the strict reading of the SMPTE layer,
/// with the blanks around the text that copies and pipes bring along.

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

}  // namespace marlix::front
