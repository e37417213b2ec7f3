#pragma once

// What the list reader, checker and writer share. Not installed.

#include <cstdint>
#include <string>

#include "marlix/edl/document.h"
#include "marlix/internal/ascii.h"

namespace marlix::edl::detail {

using marlix::detail::is_blank;
using marlix::detail::is_digit;

// Whether source frames of a motion edit are a span n record frames at
// speed_tenths could give at fps frames a labelled second, by any writer's
// rule, the speed taken anywhere that prints the same.
bool span_explained(std::int64_t source, std::int64_t n, std::int32_t speed_tenths,
                    std::int32_t fps);

// The checks across lines: lengths, motion, transitions, event numbers,
// record order and each channel's overlaps and gaps. Sorts the findings by
// line; when strict, drops those after the first error.
void check(document& doc, bool strict);

// The narrowest layout whose reel column holds every edit's reel; File128
// where none does.
layout narrowest_layout(document const& doc);

// A speed in tenths of a frame a second as people read it: "-0.5", "12.0".
std::string speed_text(std::int32_t tenths);

}  // namespace marlix::edl::detail
