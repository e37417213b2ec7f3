#pragma once

/// @file
/// Label texts as people write them: checked field by field and put in the
/// form the type's converter prints, or refused with the field and why.
/// The converters' own reading serves stored records and takes what it can;
/// people's text (the tool's operands, the C and Python calls, the labels in
/// logs and lists) comes through here first.

#include <string>
#include <string_view>

#include "marlix/base/long32.h"
#include "marlix/base/special_samples.h"
#include "marlix/export.h"
#include "marlix/types/label_types.h"

namespace marlix::front {

/// How a front end reads a label text: strictly (a label that exists at the
/// type, in a form people write it) or as the converter alone reads it.
enum class reading { strict, lax };

/// What normalising a text gave: the text as the type's converter prints
/// it, or why it is no label (or prefix) of the type ("frames 99 is not
/// below 25").
struct label_form {
    std::string text;
    std::string why;  ///< empty when the text was read
    /// The position, where the text alone tells it (a timecode's frame
    /// count, negative ones included); INVALID_SAMPLE else.
    long32 sample = INVALID_SAMPLE;
    bool ok() const { return why.empty(); }
};

/// A label text of type t in its printed form. Surrounding blanks are
/// trimmed and the printed leading blank is optional.
/// - Timecode: [-]HH:MM:SS:FF as timecode is read at the type's rate (two
///   digits a field, hours 0-23, frames below the rate, no dropped label;
///   ';', '.' or ',' before the frames at drop-frame), and the type's own
///   frame separator ('.' at 25, '+' at 24).
/// - Feet: digits of feet (printed 4 at least), '+' or '.', two digits of
///   frames below the frames per foot, and at 3-perf '.' and the phase 1-3.
/// - Film frames: an optional '-' and digits (printed 6 at least).
/// - Keycode: 2 letters, the prefix digits, the key count, '+' (or '&' at
///   16 mm), two digits of frames below the frames per key, and at 3-perf
///   '.' and the phase 1-3. Blanks may part the letters, the first two
///   prefix digits, the rest of the prefix and the count ("KU 22 9012
///   1234+00"), and a '-' the prefix from the count ("KX654321-0070+00").
/// - Ink: 4 letters or digits, a blank or '-' if wished, the count, '+'
///   ('&' at 16 mm too) and two digits of frames.
/// Letters are taken in either case and printed in capitals. A form that
/// passes may still name no label: the caller reads it and checks that it
/// prints back (3-perf frames past the end of their foot).
MARLIX_API label_form normalise_label(label_t t, std::string_view text);

/// A roll prefix as a person types it, in the form labels carry it:
/// keycode "KU 22 9012" as "KU229012", ink 4 letters or digits. A type
/// without a prefix takes none (any text is refused).
MARLIX_API label_form normalise_prefix(label_t t, std::string_view text);

}  // namespace marlix::front
