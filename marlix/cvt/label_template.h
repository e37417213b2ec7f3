#pragma once

/// @file
/// The printed shape of one label type, character by character, and the three
/// texts printed in place of a label without a valid position.
///
/// Template characters: a digit d is a counted digit of at most d; a letter L
/// a letter of at most L; '?' an editable prefix character; '~' a read-only
/// prefix character; '-' a sign; ' ' a blank position; anything else a
/// separator.

#include "marlix/base/long32.h"
#include "marlix/export.h"

namespace marlix {

class MARLIX_API label_template {
public:
    static constexpr int max_length = 23;

    char text[max_length + 1];               ///< the template characters
    char invalid_text[max_length + 1];       ///< letters, digits, '+', '-', '?' as '?'
    char past_end_text[max_length + 1];      ///< ... as '>'
    char before_start_text[max_length + 1];  ///< ... as '<'
    int length;                              ///< strlen(text), at most 23

    /// A null src is taken as "".
    label_template(char const* src = "");
    label_template(label_template const&)            = default;
    label_template& operator=(label_template const&) = default;

    /// Copies at most 23 characters of src and derives the other texts.
    void set(char const* src);
    void init_error_strings();

    /// 1 when 0 <= i < length. Bounded by the text's capacity too, so a
    /// length set by hand never leads outside the buffers.
    int valid_index(int i) const { return i >= 0 && i < length && i < max_length ? 1 : 0; }
    int get_length() const { return length; }
    /// text[i], or '?' when i is not a valid index.
    char get_char(int i) const { return valid_index(i) ? text[i] : '?'; }
    operator char const*() const { return text; }
    /// 1 when position i holds '~'; 0 for every other position and for an
    /// index outside the template.
    int read_only_char(int i) const { return valid_index(i) && text[i] == '~' ? 1 : 0; }
    /// 1 when i is not a valid index or position i is a separator.
    int at_separator(int i) const;
    /// 1 when c may be typed at position i.
    int valid_char(char c, int i) const;
    /// The '>' text for SAMPLE_PAST_END, the '<' text for SAMPLE_BEFORE_START,
    /// the '?' text for every other sample.
    char const* get_invalid_string(long32 sample) const;
};

}  // namespace marlix
