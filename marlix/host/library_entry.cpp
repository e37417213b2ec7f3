#include "marlix/host/library_entry.h"

#include "marlix/internal/natural_pitch.h"
#include "marlix/values/edit_label.h"
#include "marlix/version.h"

namespace {
constexpr char interface_version[] = "10.0.V.9.0";
}

char const* marlixDllVersionStr(void) { return interface_version; }

namespace marlix {

char const* library_version() { return MARLIX_VERSION; }

namespace detail {
// Zero until filled below: the invalid labels built before it read 0.0.
double natural_pitch_table[label_type_count];
}  // namespace detail

// The library's static objects, built at load in this order (one
// translation unit, so the order is the order of definition whatever the
// linker does) and destroyed at unload in the reverse order. The shared
// converters are not among them: the first of these objects builds them,
// and they are never freed.
namespace {

// 1. The invalid edit label: type 0 on medium roll (0, 0).
edit_label invalid_edit_label_object{label(LABEL_NONE), MediumRollIdent()};

// 2. The invalid label: type 0.
label invalid_label_object(LABEL_NONE);

// 3. The natural-pitch table, from the host's frame rates.
struct natural_pitch_filler {
    natural_pitch_filler() { detail::fill_natural_pitch_table(detail::natural_pitch_table); }
} natural_pitch_fill;

// 5. The shared zero point: sample 0 of type 0.
label_point const zero_point(0, LABEL_NONE);

}  // namespace

edit_label* invalid_edit_label() { return &invalid_edit_label_object; }
label* get_invalid_label() { return &invalid_label_object; }
label_point const& zero_label_point() { return zero_point; }

}  // namespace marlix
