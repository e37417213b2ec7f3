#pragma once

/// @file
/// One position in one label numbering system: a sample and the shared
/// converter that prints and parses it, with the label's prefix text (the
/// roll identification of keycode and ink labels). The point owns no
/// converter; all printing, parsing and normalisation goes through it.
///
/// Converters read sample and prefix_text and print into text_buffer, so the
/// fields are laid out as the converters expect them.

#include "marlix/base/long32.h"
#include "marlix/cvt/label_cvt.h"
#include "marlix/export.h"
#include "marlix/types/label_types.h"

namespace marlix {

class MARLIX_API label_point {
public:
    static constexpr int prefix_capacity = 20;  ///< prefix characters, plus a terminator
    static constexpr int text_capacity   = 20;  ///< printed label, terminator included

    /// Sample 0 with the dummy converter of label type 0.
    label_point();
    /// The shared converter of t and its normalised form of s. A type outside
    /// 0..41 gets the converter of type 0.
    label_point(long32 s, label_t t);
    /// Converter c (which must outlive the point; null means the converter of
    /// type 0) and its normalised form of s.
    label_point(long32 s, label_cvt* c);
    /// Copies sample (not normalised again), prefix and converter; the copy's
    /// prefix is editable whatever the source's was.
    label_point(label_point const& p);
    /// Copies every field, the prefix-editable flag and template included.
    label_point& operator=(label_point const& p);

    label_cvt* cvt() const { return converter; }
    label_t type() const;
    UserLabelType UserType() const;
    char const* type_str() const;
    /// The shared converter of t; sample and prefix stay as they are.
    void set_type(label_t t);
    bool same_type(label_point const& p) const;
    /// Between keycode types that split the 12 label characters differently
    /// between prefix and count: moves digits between prefix and sample.
    void modify_type(label_t t);
    /// modify_type to the member of the same stock with n (4..6) count digits.
    void modify_count_length(int n);
    label_template& get_template() { return *current_template; }
    void set_prefix_edittable(bool b);
    bool is_prefix_edittable() const { return prefix_edittable; }

    long32 get_sample() const { return sample; }
    /// The converter's normalised form of s.
    void set_sample(long32 s);
    /// The sample of a time value (not normalised further).
    void set_sample(double v);
    /// The converter first takes any prefix from the text, then parses it.
    void set_sample(char const* text);
    /// The sample of a stored text; the prefix is not touched.
    void set_keep_sample(char const* text);
    double get_V2tc() const;
    /// Moves the sample by n and normalises it (32-bit arithmetic, wrapping).
    void operator+=(long32 n);
    void operator-=(long32 n);
    /// A negative timecode sample gains one day; others are unchanged.
    void constrain_positive();

    /// Stores a prefix taken from text (which may be a whole label).
    void set_prefix(char const* text);
    /// The prefix the point shows, in text_buffer.
    char const* get_prefix();

    /// The printed label of the point's sample (the template's '?', '>' or
    /// '<' text for a special sample).
    char const* get_string();
    /// The text set_keep_sample reads back.
    char const* get_keep_string();
    /// Hours, minutes, seconds and frames of a timecode point; all 0 for
    /// other families.
    void get_hmsf(short& h, short& m, short& s, short& f);

    /// 1 when the type has a converter of its own (neither 0 nor 3).
    int is_valid() const;
    /// 1 when valid and the sample is not a special sample value.
    int is_useful() const;

    /// Compare samples only, whatever the types.
    bool operator<(label_point const& p) const { return sample < p.sample; }
    bool operator>(label_point const& p) const { return sample > p.sample; }
    bool operator<=(label_point const& p) const { return sample <= p.sample; }
    bool operator>=(label_point const& p) const { return sample >= p.sample; }
    /// Same type, same sample, and for prefix types the same prefix text
    /// (letter case counts).
    bool operator==(label_point const& p) const;
    bool operator!=(label_point const& p) const { return !(*this == p); }
    /// The sum or difference of two points of one type, normalised, with an
    /// empty prefix; the shared zero point (sample 0, type 0) for points of
    /// different types.
    label_point operator+(label_point const& p) const;
    label_point operator-(label_point const& p) const;

    long32 sample;                          ///< frames, fields or perforations
    label_cvt* converter;                   ///< shared, not owned, never null
    char prefix_text[prefix_capacity + 1];  ///< the label's prefix, terminated
    bool prefix_edittable;                  ///< selects current_template
    label_template* current_template;       ///< one of converter->templates
    char text_buffer[text_capacity];        ///< printed text of this point

private:
    void init();
    void use_converter(label_cvt* c);
    long32 samples_per_unit() const;
};

/// The shared zero point: sample 0 of label type 0.
MARLIX_API label_point const& zero_label_point();

}  // namespace marlix
