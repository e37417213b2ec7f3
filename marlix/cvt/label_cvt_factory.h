#pragma once

/// @file
/// The shared converters, one per label type, built together on first use
/// and kept for the life of the process; and the factory that builds a
/// converter of any label type for a caller to own.

#include <memory>

#include "marlix/cvt/label_cvt.h"
#include "marlix/export.h"

namespace marlix {

/// The shared converter of label type t (0..41); types without a class of
/// their own (0..4, 9, 13, 17) share one dummy_label. Null for any other
/// value, and for a slot whose allocation failed. The first call builds the
/// table; concurrent first calls are safe (one thread builds, the others
/// wait for it).
MARLIX_API label_cvt* get_static_label_cvt(label_t t);

/// A new converter of type t, owned by the caller (delete it through
/// label_cvt*, or use make_label_cvt); a dummy_label for types without a
/// class; null when the host heap gives no memory.
MARLIX_API label_cvt* make_any_label_cvt(label_t t);

/// The same, held by an owning handle.
using label_cvt_ptr = std::unique_ptr<label_cvt>;
inline label_cvt_ptr make_label_cvt(label_t t) { return label_cvt_ptr(make_any_label_cvt(t)); }

/// A new timecode converter of type t printing the fields chosen (a sum of
/// the TC_* field flags), owned by the caller; null for a type of another
/// family, and when the host heap gives no memory.
MARLIX_API label_cvt* make_timecode_label_cvt(label_t t, int fields);

/// The label type whose shared converter's type_str() is name (exact,
/// case-sensitive); 0 when none is, and for the base class names.
MARLIX_API label_t get_label_type(char const* name);

/// True when the shared converter of t is of type t: 3 (the dummy) and
/// 5..41 but 9, 13 and 17. The others borrow the dummy's.
MARLIX_API bool has_own_converter(label_t t);

}  // namespace marlix
