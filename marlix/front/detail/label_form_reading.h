#pragma once

// normalise_label for the front door's own readers, which want the position
// and not always the text: a timecode's form is then left empty.

#include <string_view>

#include "marlix/front/label_form.h"

namespace marlix::front::detail {

label_form read_label_form(label_t t, std::string_view text, bool with_text);

}  // namespace marlix::front::detail
