#pragma once

// One position in one label numbering system: a sample and the shared
// converter that prints and parses it. The point owns no converter.
//
// Converters read sample and prefix_text and print into text_buffer, so the
// fields are laid out as the converters expect them.

#include "marlix/cvt/label_cvt.h"
#include "marlix/export.h"
#include "marlix/types/long32.h"

namespace marlix {

class MARLIX_API label_point {
public:
    static constexpr int prefix_capacity = 20;  // prefix characters, plus a terminator
    static constexpr int text_capacity   = 20;  // printed label, terminator included

    // Sample 0 with the dummy converter (label type 0).
    label_point();
    // Sample c->normalise_sample_unit(s) with converter c, which must
    // outlive the point; prefix editable.
    label_point(long32 s, label_cvt* c);

    label_cvt* cvt() const { return converter; }
    long32 get_sample() const { return sample; }
    // The converter's normalised form of s.
    void set_sample(long32 s);
    // The converter first takes any prefix from the text, then parses it.
    void set_sample(char const* text);
    // Stores a prefix taken from text (which may be a whole label).
    void set_prefix(char const* text);
    // The prefix the point shows, in text_buffer.
    char const* get_prefix();
    // The printed label of the point's sample.
    char const* get_string();

    long32 sample;                          // frames, fields or perforations
    label_cvt* converter;                   // shared, not owned, never null
    char prefix_text[prefix_capacity + 1];  // the label's prefix, terminated
    bool prefix_edittable;                  // selects current_template
    label_template* current_template;       // one of converter->templates
    char text_buffer[text_capacity];        // printed text of this point
};

}  // namespace marlix
