#pragma once

/// @file
/// The base of labels that begin with a fixed-length text prefix (the roll
/// identification of keycode and ink labels) followed by a zero-padded count.
/// It keeps the prefix bookkeeping: which prefix a label point shows, and the
/// prefix the converter remembers from the last point it served.

#include <algorithm>
#include <cstdint>

#include "marlix/cvt/label_cvt.h"
#include "marlix/export.h"

namespace marlix {

class MARLIX_API prefix_label : public catalogued<variable_label, LABEL_NONE> {
public:
    using variable_label::get_abs_sample;
    using variable_label::get_sample;

    static constexpr int max_label_length = 19;  ///< prefix and count, within last_prefix
    static constexpr int max_count_length = 9;   ///< the largest count that fits 32 bits

    /// label_length is clamped to [0, 19]; no templates are built here.
    prefix_label(int modulus, long32 samples_per_unit, int label_length);
    prefix_label(prefix_label const&)            = default;
    prefix_label& operator=(prefix_label const&) = default;

    /// n count digits, clamped to [0, min(9, label_len)]; max_count is
    /// 10^n - 1, and 9 for n of 1 or less. Templates are not rebuilt.
    void set_count_len(int n);

    bool has_prefix() override;
    int get_prefix_length() override;
    int get_count_length() override;
    void build_template() override;
    char* get_dummy_prefix() override;
    /// The prefix the point shows: its own when it holds one, else the one
    /// remembered from the last point, else the placeholder; that prefix is
    /// remembered. The answer is written into the point's text buffer (not
    /// the converter's memory), so that threads printing through one shared
    /// converter each see the prefix of their own point.
    char* get_prefix(label_point* point) override;
    /// Takes the first label_len characters of text (prefix and count) into
    /// the point, or the placeholder when neither text nor memory holds a
    /// prefix, and remembers the prefix part. A null text counts as "".
    void set_prefix(label_point* point, char const* text) override;

    int prefix_len = -1;
    int count_len  = -1;
    int max_count  = 0;
    char const* dummy_prefix;
    /// The remembered prefix. Readable as text from one thread; from several,
    /// read it through remembered_prefix().
    char last_prefix[max_label_length + 1];
    int label_len;

    /// A complete copy of the remembered prefix, whatever other threads are
    /// storing meanwhile.
    void remembered_prefix(char (&out)[max_label_length + 1]) const { read_memory(out); }

protected:
    /// The two template texts for a frame suffix ("+19", "+29.3").
    void set_prefix_templates(char const* suffix);
    /// The printable width of the prefix, 0 before set_count_len has run.
    int prefix_width() const { return std::max(prefix_len, 0); }
    /// "NEGATIVE", answered for a sample before the first count.
    static char const* negative_text() { return "NEGATIVE"; }
    /// The text of a count and frame into the point's buffer: the prefix,
    /// the count to count_digits digits (a count past max_count wraps once),
    /// the separator and the two-digit frame; with a phase (0 or more), the
    /// three-perforation ending "+FF.P" instead. Negative film (a negative
    /// count or frame) answers negative_text(). A count too large for the
    /// buffer is cut, never overrun.
    static constexpr int no_phase = -1;
    char const* print_counts(label_point* point, int count_digits, int count, int frame,
                             int phase = no_phase);
    /// s wrapped into [0, N), N = samples_per_unit * (max_count + 1) *
    /// modulus, the count cycle of keycode and ink. A cycle too long for 32
    /// bits leaves non-negative samples as they are and gives INVALID_SAMPLE
    /// for negative ones.
    long32 normalise_into_count_cycle(long32 s) const;

public:
    /// A prefix as the remembered memory holds it: the first characters of a
    /// text (up to its end), zero padded, packed into words.
    static constexpr int memory_word_count = 3;
    static_assert(memory_word_count * sizeof(std::uint64_t) > max_label_length);
    struct packed_prefix {
        std::uint64_t words[memory_word_count];
    };

private:
    void read_memory(char (&out)[max_label_length + 1]) const;
    void remember(packed_prefix const& next);
    /// The remembered prefix again, packed: a print compares its prefix with
    /// three loads, and a reader copies three words.
    std::uint64_t memory_words[memory_word_count] = {};
    /// Version of last_prefix and memory_words: even while they are
    /// complete. A copy of the converter starts at 0.
    struct version_word {
        unsigned value = 0;
        version_word() = default;
        version_word(version_word const&) {}
        version_word& operator=(version_word const&) { return *this; }
    } memory_version;
};

}  // namespace marlix
