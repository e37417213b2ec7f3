#pragma once

/// @file
/// Label jobs in one call: the text of a sample and the sample of a text,
/// at a label type, with the roll prefix a person gives. A labeller serves
/// many calls of one type (a batch); label_text and label_sample serve one.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "marlix/base/long32.h"
#include "marlix/cvt/label_cvt.h"
#include "marlix/cvt/timecode_label.h"
#include "marlix/export.h"
#include "marlix/front/label_form.h"
#include "marlix/front/result.h"
#include "marlix/types/label_types.h"
#include "marlix/values/edit_label.h"
#include "marlix/values/label.h"
#include "marlix/values/label_point.h"

namespace marlix::front {

/// Prints and reads labels of one type. Not for concurrent use: each thread
/// makes its own (they share the library's converters).
class MARLIX_API labeller {
public:
    /// The longest label text, terminator included.
    static constexpr int text_capacity = label_point::text_capacity;

    /// A labeller of type t. fields, other than TC_ALL_FIELDS, picks the
    /// timecode fields always printed (timecode types only:
    /// fields_not_timecode else). Refused with no_converter for a type
    /// without a converter of its own, no_memory when the host heap is out.
    /// Texts are read strictly unless mode is reading::lax.
    static result<labeller> make(label_t t, int fields = TC_ALL_FIELDS,
                                 reading mode = reading::strict);

    /// The placeholder converter's labeller, as a refused make() leaves it.
    labeller();
    /// The moved-from labeller is left as the default one; texts it gave
    /// before are no longer valid.
    labeller(labeller&& other) noexcept;
    labeller& operator=(labeller&& other) noexcept;
    ~labeller();

    label_t type() const { return point_.type(); }
    char const* type_str() const { return point_.type_str(); }
    bool has_prefix() const;
    /// Prefix characters the type's labels carry (0 without a prefix).
    int prefix_length() const;

    /// The prefix printed labels show (the roll identification), cut to the
    /// label point's capacity. Until set, a label shows the converter's
    /// remembered or placeholder prefix.
    void set_prefix(std::string_view prefix);
    void set_prefix(char const* prefix);  // null: no prefix
    /// A prefix as a person types it: read strictly, normalise_prefix gives
    /// the prefix set or malformed_prefix (refusal() says why, the prefix
    /// unchanged; a type without prefixes takes none); read laxly, or empty,
    /// as set_prefix.
    result<bool> set_typed_prefix(std::string_view prefix);
    /// Why the last refused text or prefix is no label or prefix of the type
    /// (strict reading; empty else).
    std::string const& refusal() const { return refusal_; }
    /// The label text of a sample, as the converter prints it (leading blank
    /// included); valid until the next text() of this labeller, and while it
    /// is neither moved nor destroyed.
    char const* text(long32 sample);
    /// The sample brought into the type's range as a label point does.
    long32 normalise(long32 sample) const;
    /// The sample of a label text: the prefix the text holds first, then the
    /// label. Strictly read, the text is a label of the type in a form
    /// normalise_label takes, and it prints back to that form:
    /// malformed_label else, refusal() naming the field and why. Laxly
    /// read, as the converter reads it: unreadable for a text that is none
    /// (a NUL inside included).
    result<long32> sample(std::string_view text);
    /// The same for a whole string, read in place, and for a C string.
    result<long32> sample(std::string const& text);
    result<long32> sample(char const* text);  // null: unreadable
    /// The sample of the digits-only form (HHMMSSFF for timecode), read
    /// strictly as sample() reads the label it spells; laxly, unreadable
    /// for a text that is none.
    result<long32> packed_sample(std::string_view text);
    /// The sample of a label text, the prefix not kept; at a timecode type
    /// eight digits are the packed form (HHMMSSFF, read with the same
    /// strictness). Refused as sample() refuses.
    result<long32> plain_sample(std::string_view text);
    /// Samples from a to b, brought into the type's range (a timecode span
    /// across midnight is positive).
    long32 span(long32 a, long32 b) const;

    /// The packed SMPTE word of a sample (binary-coded HH MM SS FF, bit 6 for
    /// drop-frame types; 0 for a negative sample).
    std::uint32_t smpte_word(long32 sample);
    /// A packed word read back: count is the frames at the type's nominal
    /// rate; at a drop-frame type sample is the sample of the label the word
    /// spells (as a decoder reads the digits), elsewhere the count.
    struct smpte_reading {
        long32 sample{}, count{};
        bool drop = false;
    };
    smpte_reading read_smpte_word(std::uint32_t word) const;

    UserLabelType family() const { return point_.cvt()->UserType(); }
    long32 samples_per_unit() const { return point_.cvt()->samples_per_unit(); }
    int modulus() const { return point_.cvt()->get_modulus(); }

    /// The prefix of the text sample() read last.
    char const* prefix_read() const { return reader_.prefix_text; }
    /// The converter's templates (0: prefix editable, 1: not), for display.
    label_template const& label_template_of(int which) const;

private:
    explicit labeller(label_cvt* shared, label_cvt* owned);
    result<long32> read_whole(char const* text);
    result<long32> read_strictly(std::string_view text, bool keep_prefix);

    std::unique_ptr<label_cvt> owned_;  ///< a converter with chosen fields
    label_point point_;                 ///< writes texts
    label_point reader_;                ///< reads texts
    reading mode_ = reading::strict;
    std::string refusal_;
};

/// Gives the start of a labelled span the prefix a person typed, cut to the
/// point's capacity. prefix_not_kept, the label untouched, for a prefix with
/// a blank or a colon: the keep string separates its fields with those, so
/// it would read back as another label.
MARLIX_API result<bool> set_start_prefix(label& l, std::string_view prefix);

/// Starts a labelled span at the label a person typed, of the span's type:
/// the text read as labeller::sample reads it, the prefix with it. Refused
/// as labeller::make or labeller::sample refuses (why, if given, receiving
/// the reason), the label untouched.
MARLIX_API result<bool> set_start_text(label& l, std::string_view text,
                                       reading mode = reading::strict, std::string* why = nullptr);
/// Gives a span's start the roll prefix a person typed: read strictly as
/// labeller::set_typed_prefix reads it (malformed_prefix, why receiving the
/// reason), then kept as set_start_prefix keeps it.
MARLIX_API result<bool> set_typed_start_prefix(label& l, std::string_view prefix,
                                               reading mode     = reading::strict,
                                               std::string* why = nullptr);
/// The position in seconds, in the span, of the label a person typed (of
/// the span's type, read as labeller::sample reads it); refused as it
/// refuses. Outside a bounded span, the invalid position.
MARLIX_API result<double> position_of(label const& l, std::string_view text,
                                      reading mode = reading::strict, std::string* why = nullptr);
/// The same for an edit label, which a new start makes dirty.
MARLIX_API result<bool> set_start_text(edit_label& l, std::string_view text,
                                       reading mode = reading::strict, std::string* why = nullptr);

/// What the shared converter of a type (the dummy's for a type without a
/// converter of its own) answers of itself, for a catalogue; zeros and ""
/// past the catalogue.
struct converter_facts {
    long32 samples_per_unit{};
    int modulus{};
    char const* template_text = "";  ///< template 0, for the life of the process
};
MARLIX_API converter_facts facts_of(label_t t);

/// One call: the text of sample at type t with the given prefix (null: none
/// given), a typed prefix as labeller::set_typed_prefix reads it. Refused as
/// labeller::make refuses, or malformed_prefix (why, if given, receiving
/// the reason).
MARLIX_API result<std::string> label_text(label_t t, long32 sample, char const* prefix = nullptr,
                                          reading mode     = reading::strict,
                                          std::string* why = nullptr);
/// One call: the sample of text at type t, the prefix given first (null:
/// none). Refused as labeller::make refuses, or as labeller::sample does;
/// why, if given, receives labeller::refusal().
MARLIX_API result<long32> label_sample(label_t t, std::string_view text,
                                       char const* prefix = nullptr, reading mode = reading::strict,
                                       std::string* why = nullptr);

/// Reads labels of one type and prints the same positions as labels of
/// another (keycode to feet, one stock to another).
class MARLIX_API relabeller {
public:
    /// From type from to type to. With a prefix, the printed labels carry it
    /// (prefix_too_short when it is shorter than to's prefix); without one,
    /// they carry the prefix of the text read, which needs both types'
    /// prefixes of one length (prefix_lengths_differ). Read strictly, the
    /// prefix is a typed one of type to (malformed_prefix, why receiving
    /// the reason, else), and so are the texts.
    static result<relabeller> make(label_t from, label_t to, char const* prefix = nullptr,
                                   reading mode = reading::strict, std::string* why = nullptr);

    labeller& from() { return from_; }
    labeller& to() { return to_; }
    /// The label of the text's position at the second type; unreadable when
    /// the text is no label of the first. Valid until the next call, and while
    /// the relabeller is neither moved nor destroyed. from().refusal() says
    /// why a strict reading refused.
    result<char const*> operator()(std::string_view text);

private:
    labeller from_, to_;
    bool keep_prefix_ = false;
};

}  // namespace marlix::front
