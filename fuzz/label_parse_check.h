#pragma once

// The checks every label parser fuzz target makes: the text parses without
// fault through the converter and through a label point, and a sample that
// parses prints and parses back to itself where the label type promises it.

#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "marlix/marlix.h"

inline void check_label_parse(marlix::label_t type, char* text, bool round_trip) {
    using namespace marlix;
    label_cvt* cvt = get_static_label_cvt(type);
    if (cvt == nullptr) std::abort();
    label_point point(0, cvt);
    point.set_sample(text);  // takes the prefix first, then parses
    long32 const s = point.get_sample();
    if (std::strlen(point.prefix_text) > label_point::prefix_capacity) std::abort();
    if (cvt->get_abs_sample_from_packed_string(text) != cvt->get_abs_sample(text) &&
        cvt->UserType() == UserLabelKeycode)
        std::abort();
    cvt->get_abs_perfs_string(&point, s);
    cvt->get_keep_sample(text);
    char const* printed = cvt->get_abs_string(&point, s);  // the point's buffer, written last
    if (std::strlen(printed) >= sizeof point.text_buffer) std::abort();
    if (round_trip && !is_special_sample(s) && s >= 0) {
        char copy[sizeof point.text_buffer];
        std::memcpy(copy, printed, sizeof copy);
        if (cvt->get_abs_sample(copy) != s) std::abort();
    }
}
