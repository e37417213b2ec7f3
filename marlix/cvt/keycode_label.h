#pragma once

/// @file
/// Film keycode: a roll prefix, a count that rises by one at each keycode
/// mark and the frame after the mark ("AB1234561234+15"). Samples count
/// perforations (frames on 16 mm, which has one perforation a frame).
/// keycode_label prints and parses; each stock class supplies the arithmetic
/// of its gauge and pitch; each concrete label class fixes the count length,
/// separator, placeholder prefix and templates.

#include "marlix/cvt/catalogued.h"
#include "marlix/cvt/prefix_label.h"
#include "marlix/export.h"

namespace marlix {

class MARLIX_API keycode_label : public catalogued<prefix_label, LABEL_KEYCODE> {
public:
    using prefix_label::get_abs_sample;
    using prefix_label::get_sample;

    keycode_label(int modulus, long32 samples_per_unit);

    /// get_abs_sample(text) through the virtual call.
    long32 get_abs_sample_from_packed_string(char const* s) override;
    long32 get_sample_span_from_packed_strings(char const* first, char const* second) override;
    /// "NEGATIVE" for a sample before count 0; a count past the largest
    /// printable one wraps once. A count that still does not fit prints
    /// with more digits, cut to the point's text buffer.
    char const* get_abs_string(label_point* point, long32 sample) override;
    /// "%02d" of the perforation within the keycode interval; "" for special
    /// samples.
    char const* get_abs_perfs_string(label_point* point, long32 sample) override;
    /// Reads the count after the prefix and the frame after the count; a
    /// text shorter than prefix and count gives INVALID_SAMPLE.
    long32 get_abs_sample(char const* s) override;

    /// Scratch fields, written by get_counts and read by get_perfs only:
    /// printing and parsing keep their counts in the call, so one converter
    /// serves any number of threads at once.
    int count        = 0;  ///< keycode count
    int frame_offset = 0;  ///< frame after the keycode mark

    /// A sample's position in keycode terms.
    struct keycode_counts {
        int count        = 0;
        int frame_offset = 0;
        int perf_phase   = 0;  ///< three-perforation stock only
    };

protected:
    /// Wraps s into [0, N), N = samples_per_unit * (max_count + 1) * modulus.
    /// A cycle too long for 32 bits leaves non-negative samples as they are
    /// and gives INVALID_SAMPLE for negative ones.
    long32 normalise_sample_unit(long32 s) override;

    /// get_counts and get_perfs move a sample through the scratch fields,
    /// by split_counts and join_counts, which the stocks define.
    virtual void get_counts(long32 sample);
    virtual int get_perf_offset(long32 sample);
    virtual long32 get_perfs();
    virtual keycode_counts split_counts(long32 sample) const;
    virtual long32 join_counts(keycode_counts c) const;

    /// The rule every stock but the three-perforation one follows, with
    /// F = modulus frames and S = unit_samples perforations a frame (each
    /// taken as 1 when below 1).
    long long perfs_per_interval() const;
    keycode_counts rule_counts(long32 sample) const;
    int rule_perf_offset(long32 sample) const;
    long32 rule_perfs(keycode_counts c) const;
    /// The count and frame of a keycode text; false where it does not read.
    bool parse_counts(char const* text, keycode_counts& c) const;
    /// The form of a concrete label: count digits, the separator before the
    /// frame, the placeholder prefix; then its templates.
    void set_label_form(int count_digits, char frame_separator);
    /// The count digits a print shows: count_len, 0 before set_count_len.
    int count_digits() const { return count_len < 0 ? 0 : count_len; }
};

/// A stock by its arithmetic: Frames frames a keycode interval, Perfs
/// perforations a frame, counted by the stock rule.
template <int Frames, int Perfs>
class keycode_stock : public keycode_label {
public:
    keycode_stock() : keycode_label(Frames, Perfs) {}
    int perfs_per_keyKode() override { return Frames * Perfs; }

private:
    int get_perf_offset(long32 sample) override { return rule_perf_offset(sample); }
    keycode_counts split_counts(long32 sample) const override { return rule_counts(sample); }
    long32 join_counts(keycode_counts c) const override { return rule_perfs(c); }
};

/// The stock classes: the arithmetic of one gauge and pitch.
class MARLIX_API keycode_35 : public keycode_stock<16, 4> {};
class MARLIX_API keycode_16 : public keycode_stock<20, 1> {};
class MARLIX_API keycode_352 : public keycode_stock<32, 2> {};
class MARLIX_API keycode_358 : public keycode_stock<8, 8> {};
class MARLIX_API keycode_655_80 : public keycode_stock<16, 5> {};
class MARLIX_API keycode_658_80 : public keycode_stock<10, 8> {};
class MARLIX_API keycode_6510_80 : public keycode_stock<8, 10> {};
class MARLIX_API keycode_655_120 : public keycode_stock<24, 5> {};
class MARLIX_API keycode_658_120 : public keycode_stock<15, 8> {};
class MARLIX_API keycode_6510_120 : public keycode_stock<12, 10> {};
class MARLIX_API keycode_6515_120 : public keycode_stock<8, 15> {};

/// 35 mm three-perforation: 64 perforations a keycode do not divide into
/// frames of three, so a frame starts 0, 1 or 2 perforations before
/// count * 64 + frame * 3; that phase is printed as a final digit 1..3
/// ("AB1234561234+01.2").
class MARLIX_API keycode_353 : public keycode_label {
public:
    using keycode_label::get_abs_sample;

    keycode_353();
    int perfs_per_keyKode() override;
    char const* get_abs_string(label_point* point, long32 sample) override;
    char const* get_abs_perfs_string(label_point* point, long32 sample) override;
    long32 get_abs_sample(char const* s) override;
    char const* get_keep_string(label_point* point, long32 sample) override;
    /// The phase from the text's last character (reading at most its first
    /// 63 characters), the rest as a keycode; INVALID_SAMPLE for a text of
    /// fewer than two characters.
    long32 get_keep_sample(char const* s) override;
    void build_template() override;

    /// Scratch: 0..2 perforations before the nominal start, written by
    /// get_counts only (printing and parsing keep it in the call).
    int perf_phase = 0;

private:
    void get_counts(long32 sample) override;
    long32 get_perfs() override;
    int get_perf_offset(long32 sample) override;
    keycode_counts split_counts(long32 sample) const override;
    long32 join_counts(keycode_counts c) const override;
};

/// A concrete label: its stock, its catalogue row, the digits of its count
/// and the separator before the frame.
template <class Stock, label_t T, int CountDigits, char Separator>
class keycode_label_of : public catalogued<Stock, T> {
public:
    keycode_label_of() { this->set_label_form(CountDigits, Separator); }
};

/// The concrete label classes.
class MARLIX_API keycode_35_label : public keycode_label_of<keycode_35, LABEL_KEYCODE_35, 4, '+'> {
};
class MARLIX_API keycode_35_label_4
    : public keycode_label_of<keycode_35, LABEL_KEYCODE_35_4, 4, '+'> {};
class MARLIX_API keycode_35_label_5
    : public keycode_label_of<keycode_35, LABEL_KEYCODE_35_5, 5, '+'> {};
class MARLIX_API keycode_35_label_6
    : public keycode_label_of<keycode_35, LABEL_KEYCODE_35_6, 6, '+'> {};
class MARLIX_API keycode_16_label : public keycode_label_of<keycode_16, LABEL_KEYCODE_16, 4, '&'> {
};
class MARLIX_API keycode_16_label_4
    : public keycode_label_of<keycode_16, LABEL_KEYCODE_16_4, 4, '&'> {};
class MARLIX_API keycode_16_label_5
    : public keycode_label_of<keycode_16, LABEL_KEYCODE_16_5, 5, '&'> {};
class MARLIX_API keycode_16_label_6
    : public keycode_label_of<keycode_16, LABEL_KEYCODE_16_6, 6, '&'> {};
class MARLIX_API keycode_353_label
    : public keycode_label_of<keycode_353, LABEL_KEYCODE_353, 4, '+'> {};
class MARLIX_API keycode_353_label_4
    : public keycode_label_of<keycode_353, LABEL_KEYCODE_353_4, 4, '+'> {};
class MARLIX_API keycode_353_label_5
    : public keycode_label_of<keycode_353, LABEL_KEYCODE_353_5, 5, '+'> {};
class MARLIX_API keycode_353_label_6
    : public keycode_label_of<keycode_353, LABEL_KEYCODE_353_6, 6, '+'> {};
class MARLIX_API keycode_352_label
    : public keycode_label_of<keycode_352, LABEL_KEYCODE_352, 4, '+'> {};
class MARLIX_API keycode_358_label
    : public keycode_label_of<keycode_358, LABEL_KEYCODE_358, 4, '+'> {};
class MARLIX_API keycode_655_80_label
    : public keycode_label_of<keycode_655_80, LABEL_KEYCODE_655_80, 4, '+'> {};
class MARLIX_API keycode_658_80_label
    : public keycode_label_of<keycode_658_80, LABEL_KEYCODE_658_80, 4, '+'> {};
class MARLIX_API keycode_6510_80_label
    : public keycode_label_of<keycode_6510_80, LABEL_KEYCODE_6510_80, 4, '+'> {};
class MARLIX_API keycode_655_120_label
    : public keycode_label_of<keycode_655_120, LABEL_KEYCODE_655_120, 4, '+'> {};
class MARLIX_API keycode_658_120_label
    : public keycode_label_of<keycode_658_120, LABEL_KEYCODE_658_120, 4, '+'> {};
class MARLIX_API keycode_6510_120_label
    : public keycode_label_of<keycode_6510_120, LABEL_KEYCODE_6510_120, 4, '+'> {};
class MARLIX_API keycode_6515_120_label
    : public keycode_label_of<keycode_6515_120, LABEL_KEYCODE_6515_120, 4, '+'> {};

}  // namespace marlix
