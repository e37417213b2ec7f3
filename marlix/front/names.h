#pragma once

// Names as people type them, read once for every front end: label types by
// any of their names, and the rate names that go with them.

#include <cstdint>
#include <string_view>

#include "marlix/export.h"
#include "marlix/front/result.h"
#include "marlix/host/frame_rate.h"
#include "marlix/types/label_types.h"

namespace marlix::front {

// A label type as a person names it. The whole text is the name, one of:
// "#N", catalogue number N (0..41); a frame rate as the SMPTE layer reads
// it ("25", "29.97df", "30000/1001"), naming the timecode type that counts
// it; a class name ("pal_label"); an EDL name in any case ("P", "ND",
// "F35"). Refused with unknown_label_type, bad_catalogue_number,
// rate_without_converter or not_a_rate. Any type of the catalogue is
// found, those without a converter of their own too.
MARLIX_API result<label_t> find_label_type(std::string_view text);

// As find_label_type, refusing with no_converter a type that has no
// converter of its own (0..4, 9, 13, 17).
MARLIX_API result<label_t> find_converter_type(std::string_view text);

// Whether the host knows the frame rate numbered n: a rate it runs at (1 to
// 10) or a project rate (31 to 34).
MARLIX_API bool is_host_rate(long long n);

// A host frame rate as users name one: a rate smpte::parse_rate reads that
// the host runs at, with its drop-frame flag, or "#N" for the host's rate
// number N (decimal digits) where is_host_rate(N); unknown_rate for any
// other text. The one grammar of the tool's rate options, the C
// interface's rate look-up and the Python module.
struct host_rate_choice {
    Tov::FrameRate rate = Tov::FrameRate_None;
    bool drop           = false;
};
MARLIX_API result<host_rate_choice> find_host_rate(std::string_view text);

}  // namespace marlix::front
