#pragma once

/// @file
/// Ink numbers: a four-character prefix, a four-digit count and a frame
/// ("AB121234+15"). Texts are normalised to 11 characters (cut, or padded in
/// front with up to four '0') before they are parsed or give a prefix.

#include "marlix/cvt/catalogued.h"
#include "marlix/cvt/prefix_label.h"
#include "marlix/export.h"

namespace marlix {

class MARLIX_API ink_label : public catalogued<prefix_label, LABEL_INK> {
public:
    using prefix_label::get_abs_sample;
    using prefix_label::get_sample;

    ink_label(int modulus, long32 samples_per_unit);

    char const* get_abs_string(label_point* point, long32 sample) override;
    long32 get_abs_sample(char const* s) override;
    void build_template() override;
    void set_prefix(label_point* point, char const* text) override;

    /// The normalised form of text into out (at least normal_capacity bytes):
    /// 12 or more characters keep the first 4 and the last 7; shorter texts
    /// gain min(11 - length, 4) leading '0'.
    static constexpr int normal_capacity = 16;
    static void normalise_text(char const* text, char* out);

    /// Scratch fields, written by get_counts only: printing keeps its counts
    /// in the call, so one converter serves any number of threads at once.
    int count        = 0;  ///< ink count
    int frame_offset = 0;  ///< frame within the count

    struct ink_counts {
        int count, frame_offset;
    };

protected:
    long32 normalise_sample_unit(long32 s) override;
    virtual void get_counts(long32 sample);
    /// The counts a print uses: the scratch fields as they are for ink_label
    /// itself, the gauge's rule for the concrete classes.
    virtual ink_counts split_counts(long32 sample) const;
    ink_counts rule_counts(long32 sample) const;
};

/// An ink gauge: Frames frames a count, Perfs perforations a frame, counted
/// by the rule.
template <int Frames, int Perfs, label_t T>
class ink_gauge : public catalogued<ink_label, T> {
public:
    ink_gauge() : catalogued<ink_label, T>(Frames, Perfs) { this->build_template(); }

private:
    void get_counts(long32 sample) override {
        ink_label::ink_counts const c = this->rule_counts(sample);
        this->count                   = c.count;
        this->frame_offset            = c.frame_offset;
    }
    ink_label::ink_counts split_counts(long32 sample) const override {
        return this->rule_counts(sample);
    }
};

class MARLIX_API ink_35_label : public ink_gauge<16, 4, LABEL_INK_35> {};
class MARLIX_API ink_16_label : public ink_gauge<20, 1, LABEL_INK_16> {};

}  // namespace marlix
