#pragma once

/// @file
/// A span of material described in one label numbering system: a start
/// point, a length in samples, the pitch that turns samples into seconds and
/// whether the span is bounded. Positions are seconds (sample x pitch);
/// relative ones count from the start, absolute ones from sample 0; 1e99 is
/// the invalid position. The keep string is the one-line text form a host
/// stores labels under.

#include "marlix/export.h"
#include "marlix/values/label_point.h"

namespace marlix {

class configb;

class MARLIX_API label {
public:
    /// The shared keep-string buffer's size; a caller's buffer for
    /// make_keep_string must hold this many characters too.
    static constexpr int keep_string_capacity = 128;
    /// The length of a label made without one.
    static constexpr long32 default_length = 100000000;

    /// Bounded, default length, natural pitch of t.
    explicit label(label_t t = LABEL_NONE);
    /// Unbounded, starting at a copy of p (editable prefix).
    explicit label(label_point const& p);
    /// Unbounded, at sample 0 of converter c, which must outlive the label.
    explicit label(label_cvt& c);
    /// Reads a keep string; a text that is not a revision 1 or 2 keep string
    /// gives label type 0 with pitch 0.0. Without a length field the length is
    /// default_length; a length beyond 32 bits saturates.
    explicit label(char const* text);
    label(label const& l);
    /// Re-binds to the shared converter of l's type, even when l holds a
    /// converter of its own; takes l's prefix from l's start text.
    label& operator=(label const& l);

    label_cvt* cvt() const { return start.converter; }
    label_t type() const { return start.type(); }
    UserLabelType UserType() const { return start.UserType(); }
    char const* type_str() const { return start.type_str(); }
    bool has_prefix() const { return start.converter->has_prefix(); }
    int get_modulus() const { return start.converter->get_modulus(); }
    void set_prefix_editable(bool b) { start.set_prefix_edittable(b); }
    char const* get_prefix() { return start.get_prefix(); }
    void set_prefix(char const* s);
    void modify_count_length(int n) { start.modify_count_length(n); }
    /// The shared converter of t and its natural pitch.
    void set_type(label_t t);

    long32 get_start() const { return start.sample; }
    long32 get_end() const;
    void set_end(long32 e);
    void set_start(long32 s) { start.set_sample(s); }
    void set_start(double p);
    void set_start(char const* text) { start.set_sample(text); }
    void set_start(label_point& p);
    void set_start_from_V2tc(double t) { start.set_sample(t); }
    long32 get_length() const { return length; }
    void set_length(long32 n) { length = n; }
    void set_length(double p) { length = posn_to_sample(p); }
    double get_pitch() const { return pitch; }
    void set_pitch(double p) { pitch = p; }
    void set_bounded(int b) { bounded = b; }

    /// Relative samples of an absolute sample, a point, a label text or an
    /// absolute position; INVALID_SAMPLE outside a bounded span or for a
    /// point of another type.
    long32 get_sample(long32 s) const;
    long32 get_sample(label_point& p) const;
    long32 get_sample(char const* text) const;
    long32 get_sample(double p) const;
    long32 get_samples_from_SMPTETc(unsigned word, bool& drop) const;

    /// Seconds of a sample (1e99 for INVALID_SAMPLE), after normalisation.
    double sample_to_posn(long32 s) const;
    double get_posn(long32 s) const { return sample_to_posn(get_sample(s)); }
    double get_posn(label_point& p) const { return sample_to_posn(get_sample(p)); }
    double get_posn(char const* text) const { return sample_to_posn(get_sample(text)); }
    double get_posn(double p) const { return sample_to_posn(get_sample(p)); }
    double get_abs_posn(long32 r) const;
    double get_abs_posn(label_point& p) const;
    double get_abs_posn_extrapolate(long32 r) const;
    double get_abs_posn_extrapolate(label_point& p) const;
    double get_V2tc(long32 n) const;
    double get_V2tc(label_point& p) const { return get_V2tc(p.sample); }

    /// Label text at relative sample r; ">>>>>>" past the end and "<<<<<<"
    /// before the start of a bounded span.
    char const* get_string(long32 r) const;
    char const* get_perfs_string(long32 r) const;
    unsigned get_smpte_string(long32 r) const;
    char const* get_string(double p) const { return get_string(posn_to_sample(p)); }
    unsigned getSMPTETc(double p) const { return get_smpte_string(posn_to_sample(p)); }
    char const* get_string(label_point& p) const;
    label_point get_label_point(long32 r) const;
    label_point get_label_point(double p) const { return get_label_point(posn_to_sample(p)); }
    label_point get_unbounded_label_point(long32 r) const;
    label_point get_unbounded_label_point(double p) const {
        return get_unbounded_label_point(posn_to_sample(p));
    }

    /// 0 inside (or unbounded), SAMPLE_PAST_END or SAMPLE_BEFORE_START.
    long32 cmp(long32 r) const;
    int contains(long32 s) const;
    int contains(label_point& p) const;
    int contains(double p) const { return contains(posn_to_sample(p)); }
    /// Prefixes compared without regard to case, then the spans.
    int contains(label& l);
    bool operator==(label const& l) const;
    bool operator!=(label const& l) const { return !(*this == l); }

    /// The keep string, into buffer (keep_string_capacity characters) or the
    /// calling thread's own buffer when buffer is null; never longer than 127 characters.
    char* make_keep_string(char* buffer) const;
    operator char*() const { return make_keep_string(nullptr); }
    /// Stores the keep string as "LABEL<n>".
    void write_to_config(configb& store, int n) const;

    /// Relative position to a whole number of units, 1/250 of a sample of
    /// tolerance; absolute position to a sample, 1/500 of a sample of
    /// tolerance. INVALID_SAMPLE where there is no 32-bit answer.
    long32 posn_to_sample(double p) const;
    long32 abs_posn_to_sample(double p) const;

    /// Seconds per sample of a label type at its natural rate; 1.0 outside
    /// 0..41.
    static double get_natural_pitch(label_t t);

    mutable label_point start;  ///< printing writes into its text buffer
    long32 length;
    double pitch;
    int bounded;
    int revision;

private:
    void init();
    bool contains_rel(long32 r) const;
    long32 samples_per_unit() const { return start.converter->samples_per_unit(); }
};

/// The label of type 0 the library keeps for callers that need one.
MARLIX_API label* get_invalid_label();

}  // namespace marlix
