#pragma once

/// @file
/// Timecode converters: a sample is a frame count from midnight, printed as
/// hours, minutes, seconds and frames ("-29.59.59.29" template: sign, HH:MM:SS,
/// separator, FF) and parsed back; one sample per frame, wrapping at 24 hours.

#include "marlix/cvt/catalogued.h"
#include "marlix/cvt/label_cvt.h"
#include "marlix/export.h"

namespace marlix {

/// Which leading fields are always printed and parsed.
inline constexpr int TC_HOURS      = 1;
inline constexpr int TC_MINUTES    = 2;
inline constexpr int TC_SECONDS    = 4;
inline constexpr int TC_FRAMES     = 8;
inline constexpr int TC_ALL_FIELDS = 15;

class MARLIX_API timecode_label : public catalogued<variable_label, LABEL_TIMECODE> {
public:
    using variable_label::get_abs_sample;
    using variable_label::get_sample;

    /// fps frames per second; builds no template ("" until build_template()).
    timecode_label(int fps, int flags);

    long32 get_frames_per_day() const { return frames_per_day; }
    /// Splits sample and hands out the four fields.
    void get_abs_hmsf(long32 sample, short& h, short& m, short& s, short& f);

    /// Wraps into [0, frames_per_day]: exactly one day stays one day.
    long32 normalise_sample_unit(long32 s) override;
    void build_template() override;

    /// Printing.
    char const* get_abs_string(label_point* point, long32 sample) override;
    /// Packed BCD word HH MM SS FF, bit 6 set for drop-frame; 0 for special
    /// and negative samples.
    unsigned get_abs_smpte_string(label_point* point, long32 sample) const override;
    /// sample / rate: seconds for 25 fps and NTSC types, the sample itself for
    /// the others.
    double get_V2tc(long32 sample) override;

    /// Reading.
    /// Parses "[-]H:M:S?F" by flags; INVALID_SAMPLE when the items do not scan
    /// or the fields give a sample outside 32 bits.
    long32 get_abs_sample(char const* s) override;
    /// floor(rate * (t + 0.0001)); INVALID_SAMPLE when that is not a 32-bit
    /// number (NaN, infinities, huge times).
    long32 get_abs_sample(double t) override;
    /// Eight digits HHMMSSFF (each pair at most two characters, "%2d" each).
    long32 get_abs_sample_from_packed_string(char const* s) override;
    /// normalise_sample_unit(second - first): a span across midnight is positive.
    long32 get_sample_span_from_packed_strings(char const* first, char const* second) override;

    /// Split into the working fields; join them. Samples beyond one day are
    /// taken modulo the day (a sample below minus one day splits into
    /// negative fields). A join outside 32 bits answers INVALID_SAMPLE.
    virtual void sample_to_hmsf(long32 sample) const;
    virtual long32 hmsf_to_sample() const;

    int flags;
    /// Working fields: written by sample_to_hmsf and read by hmsf_to_sample
    /// only. Printing, packing and parsing keep their fields in the call, so
    /// one converter serves any number of threads at once; a caller that
    /// wants the fields of a sample calls sample_to_hmsf (or get_abs_hmsf)
    /// itself.
    mutable int hours   = 0;
    mutable int minutes = 0;
    mutable int seconds = 0;
    mutable int frames  = 0;
    long32 frames_per_day;

    struct hmsf_fields {
        int hours, minutes, seconds, frames;
    };

protected:
    /// Bits or-ed into every packed word: the drop-frame flag (bit 6) for
    /// the drop-frame class, none for the others.
    static constexpr unsigned smpte_drop_frame_bit = 0x40u;
    unsigned smpte_flag_bits                       = 0;

    /// The fields of a sample: the split every print and pack uses.
    virtual hmsf_fields split(long32 sample) const;
    char const* sample_to_string(label_point* point, long32 sample);
    unsigned sample_to_smpte_string(label_point* point, long32 sample) const;
    /// The join over 64-bit fields; the parsers feed it what they scanned.
    virtual long long join_fields(long long h, long long m, long long s, long long f) const;
    long32 parsed_sample(long long const* fields, bool negative) const;

private:
    void init();
};

/// A timecode that numbers every frame at fps frames a second, as every
/// rate class but drop-frame does: the split divides by a rate fixed at
/// compile time. The film rates (24 and 48) print '+' before the frames.
/// The library instantiates it for the six rates of its classes only.
template <int fps>
class MARLIX_API timecode_rate : public timecode_label {
public:
    explicit timecode_rate(int flags = TC_ALL_FIELDS);
    void build_template() override;

protected:
    hmsf_fields split(long32 sample) const override;
};

/// The rate classes: a rate's timecode with its catalogue row's identity.
/// Each takes the flags of the fields it always prints (an inherited
/// constructor keeps its base's public access).
class MARLIX_API pal_label : public catalogued<timecode_rate<25>, LABEL_PAL> {
    using catalogued::catalogued;
};
class MARLIX_API ntsc_label : public catalogued<timecode_rate<30>, LABEL_NTSC> {
    using catalogued::catalogued;
};
class MARLIX_API tc_24_label : public catalogued<timecode_rate<24>, LABEL_TC_24> {
    using catalogued::catalogued;
};
class MARLIX_API tc_48_label : public catalogued<timecode_rate<48>, LABEL_TC_48> {
    using catalogued::catalogued;
};
class MARLIX_API tc_50_label : public catalogued<timecode_rate<50>, LABEL_TC_50> {
    using catalogued::catalogued;
};
class MARLIX_API tc_60_label : public catalogued<timecode_rate<60>, LABEL_TC_60> {
    using catalogued::catalogued;
};

/// 29.97 fps drop-frame: frame numbers 00 and 01 are skipped at the start of
/// every minute except minutes 00, 10, 20, 30, 40 and 50.
class MARLIX_API ntsc_drop_label : public catalogued<timecode_label, LABEL_NTSC_DROP> {
public:
    using timecode_label::get_abs_sample;

    explicit ntsc_drop_label(int flags = TC_ALL_FIELDS);
    /// A text starting with '-' gives 0; otherwise always H:M:S?F.
    long32 get_abs_sample(char const* s) override;

protected:
    hmsf_fields split(long32 sample) const override;
    long long join_fields(long long h, long long m, long long s, long long f) const override;
};

}  // namespace marlix
