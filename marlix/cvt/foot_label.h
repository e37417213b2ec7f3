#pragma once

/// @file
/// Feet and frames: a signed footage with the frame inside the foot
/// (" 1234.15", "-1234.15"), and plain film frame counts ("000012"). These
/// converters keep negative samples: they do not normalise.

#include "marlix/cvt/catalogued.h"
#include "marlix/cvt/label_cvt.h"
#include "marlix/export.h"

namespace marlix {

class MARLIX_API foot_label : public catalogued<variable_label, LABEL_FOOT> {
public:
    using variable_label::get_abs_sample;
    using variable_label::get_sample;

    static constexpr int max_feet_digits = 9;

    char const* get_abs_string(label_point* point, long32 sample) override;
    /// Never fails for a footage that fits 32 bits; INVALID_SAMPLE beyond.
    long32 get_abs_sample(char const* s) override;
    void build_template() override;

    /// Scratch fields of the three-perforation split. Printing and parsing
    /// keep their split in the call and leave these as they are, so one
    /// converter serves any number of threads at once.
    int feet       = 0;
    int foot_frame = 0;
    /// Digits the feet are padded to: 0 to 9 as given (0 pads nothing, and
    /// the feet wrap at 10); a negative count is taken as 0 and more than 9
    /// as 9, more than any 32-bit footage has.
    int feet_digits;
    int samples_per_frame;

protected:
    foot_label(int modulus, int samples_per_frame, int feet_digits);
    virtual char* samples_to_feet(label_point* point, long32 sample);
    virtual long32 feet_to_samples(char const* text);
    /// Footage at which the printed feet wrap: 10^(feet_digits + 1).
    long long feet_wrap() const;
    void set_foot_templates(char const* suffix);
};

class MARLIX_API foot_35_label : public catalogued<foot_label, LABEL_FOOT_35> {
public:
    explicit foot_35_label(int feet_digits = 4);
    void build_template() override;
};

class MARLIX_API foot_16_label : public catalogued<foot_label, LABEL_FOOT_16> {
public:
    explicit foot_16_label(int feet_digits = 4);
    void build_template() override;
};

/// 35 mm three-perforation footage, 64 perforations a foot, with the phase
/// digit of the three-perforation keycode (" 1234+01.2").
class MARLIX_API foot_353_label : public catalogued<foot_label, LABEL_FOOT_353> {
public:
    explicit foot_353_label(int feet_digits = 4);
    void build_template() override;

    int perf_phase = 0;

private:
    char* samples_to_feet(label_point* point, long32 sample) override;
    /// The phase from the last character of the text's first 63; an empty
    /// text gives 0.
    long32 feet_to_samples(char const* text) override;
};

class MARLIX_API film_frames_label : public catalogued<variable_label, LABEL_FILM_FRAMES> {
public:
    using variable_label::get_abs_sample;
    using variable_label::get_sample;

    film_frames_label();
    /// At least six digits: 12 prints 000012, -12 prints -000012.
    char const* get_abs_string(label_point* point, long32 sample) override;
    /// The number at the start of the text (white space and a sign allowed);
    /// INVALID_SAMPLE when there is none or it does not fit 32 bits.
    long32 get_abs_sample(char const* s) override;
    void build_template() override;
};

}  // namespace marlix
