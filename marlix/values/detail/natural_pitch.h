#pragma once

// The natural-pitch table of the label values: seconds per sample of each
// label type, zero until the library's load-time initialisation fills it.

#include "marlix/types/label_types.h"

namespace marlix::detail {

extern double natural_pitch_table[label_type_count];
// Fills the table from the host's frame rates.
void fill_natural_pitch_table(double (&table)[label_type_count]);

}  // namespace marlix::detail
