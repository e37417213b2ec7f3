#pragma once

/// @file
/// Keep strings as the front ends read and write them. Reading is the
/// library's own reading of stored keep strings, with what a person's copy
/// of one gets wrong refused; writing refuses a label whose keep string
/// would not carry it back.

#include <memory>
#include <string>
#include <string_view>

#include "marlix/base/long32.h"
#include "marlix/export.h"
#include "marlix/front/result.h"
#include "marlix/types/label_types.h"
#include "marlix/values/edit_label.h"
#include "marlix/values/label.h"

namespace marlix::front {

/// A keep string read as the library reads stored ones (label(char const*),
/// edit_label(char const*)), then refused with not_a_keep_string when it is
/// no revision 1 or 2 keep string of a type with a converter of its own (a
/// NUL inside included); text_after_keep_string when text follows its last
/// field (bounded, or the medium roll's "MediumRollId m,g" after it, which
/// both readers accept); keep_start_not_label when its start is no label as
/// the type prints it (" 99:99:99.99" would read as another). Null on a
/// refusal.
MARLIX_API result<std::unique_ptr<label>> read_keep_string(std::string_view keep);
MARLIX_API result<std::unique_ptr<edit_label>> read_edit_keep_string(std::string_view keep);

/// The length of a label of type t made without one: label::default_length
/// cut to whole frames, as a keep string carries it.
MARLIX_API long32 default_kept_length(label_t t);

/// The keep string of l, when reading it back gives l's values: the type,
/// the start (the same label: its sample brought into the type's range, and
/// a prefix type's roll), the length, bounded, and the pitch and an edit
/// label's medium roll as the keep string writes them. Refused with
/// no_converter for a type no keep string reader takes; negative_length; length_not_whole_frames
/// (the keep string stores frames); start_not_on_frame (a start inside a frame whose label names
/// the frame only); prefix_needed (a prefix type with no roll prefix of its
/// own would store another's, or the placeholder); prefix_not_kept;
/// keep_string_not_kept for any other difference (an invalid start).
MARLIX_API result<std::string> keep_string_of(label const& l);
MARLIX_API result<std::string> keep_string_of(edit_label const& l);

}  // namespace marlix::front
