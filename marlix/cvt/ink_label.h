#pragma once

// Ink numbers: a four-character prefix, a four-digit count and a frame
// ("AB121234+15"). Texts are normalised to 11 characters (cut, or padded in
// front with up to four '0') before they are parsed or give a prefix.

#include "marlix/cvt/prefix_label.h"
#include "marlix/export.h"

namespace marlix {

class MARLIX_API ink_label : public prefix_label {
public:
    using prefix_label::get_abs_sample;
    using prefix_label::get_sample;

    ink_label(int modulus, long32 samples_per_unit);

    char const* type_str() override;
    label_t type() override;
    UserLabelType UserType() override;
    char const* get_abs_string(label_point* point, long32 sample) override;
    long32 get_abs_sample(char const* s) override;
    void build_template() override;
    void set_prefix(label_point* point, char const* text) override;

    // The normalised form of text into out (at least normal_capacity bytes):
    // 12 or more characters keep the first 4 and the last 7; shorter texts
    // gain min(11 - length, 4) leading '0'.
    static constexpr int normal_capacity = 16;
    static void normalise_text(char const* text, char* out);

    int count        = 0;  // scratch: ink count of the last split
    int frame_offset = 0;  // scratch: frame within the count

protected:
    long32 normalise_sample_unit(long32 s) override;
    virtual void get_counts(long32 sample);
    void rule_counts(long32 sample);
};

class MARLIX_API ink_35_label : public ink_label {
public:
    ink_35_label();
    char const* type_str() override;
    label_t type() override;
    UserLabelType UserType() override;

private:
    void get_counts(long32 sample) override;
};

class MARLIX_API ink_16_label : public ink_label {
public:
    ink_16_label();
    char const* type_str() override;
    label_t type() override;
    UserLabelType UserType() override;

private:
    void get_counts(long32 sample) override;
};

}  // namespace marlix
