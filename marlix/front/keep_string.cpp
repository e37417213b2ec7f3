#include "marlix/front/keep_string.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "marlix/base/special_samples.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/host/tokeniser.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/c_double.h"
#include "marlix/medium/medium_roll.h"

namespace marlix::front {

namespace {

// The fields of a keep string as the library writes them, one blank apart
// ("LABEL_REV:1 pal_label  10:00:00.00 250 0.0400000000 1"); an edit label
// adds its medium roll ("MediumRollId 21,2").
enum keep_field : int {
    field_revision,
    field_type,
    field_start,
    field_length,
    field_pitch,
    field_bounded,
    field_medium_name,
    field_medium_id,
};

using marlix::detail::is_digit;

// Digits to the end of text, from p; at least one.
bool digits_to_end(char const* p) {
    if (!is_digit(*p)) return false;
    while (is_digit(*p)) ++p;
    return *p == '\0';
}

// Whether a field's text is its value and nothing after it, as the reader
// takes each: a signed whole number (length, bounded), a number as the C
// library reads it in its "C" locale (pitch), the word MediumRollId, "m,g" or "m" (medium roll).
bool whole_field(char const* text, int field) {
    switch (field) {
        case field_length:
        case field_bounded: return digits_to_end(text + (*text == '+' || *text == '-'));
        case field_pitch: {
            std::string_view const t = text;
            return marlix::detail::read_c_double(t).length == t.size() && !t.empty();
        }
        case field_medium_id: {
            if (!is_digit(*text)) return false;
            while (is_digit(*text)) ++text;
            return *text == '\0' || (*text == ',' && digits_to_end(text + 1));
        }
        default: return true;  // the revision, type and start are judged by reading them
    }
}

// Whether two label texts spell the same label: the same characters once
// the separators between fields are left out (a stored "01:00:00:00" is the
// drop-frame label printed " 01:00:00;00").
bool same_label(std::string_view a, std::string_view b) {
    auto const fields = [](std::string_view s) {
        constexpr std::string_view separators = ":;.,+";
        std::string out;
        for (char const c : s)
            if (separators.find(c) == separators.npos) out += c;
        return out;
    };
    return fields(a) == fields(b);
}

// The start's text as the converter prints it, without its leading blank.
std::string_view printed_start(label const& l) {
    std::string_view const text = l.start.get_string();
    return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

// Why a keep string the library read into l is refused here.
reason refusal_of(char const* keep, label const& l) {
    if (l.revision < 1 || l.revision > 2 || l.type() == LABEL_DUMMY || !has_own_converter(l.type()))
        return reason::not_a_keep_string;
    tokeniser fields(keep, " ");
    int const n = fields.count();
    // The medium roll's name and identity follow bounded.
    bool const medium = n > field_medium_name &&
                        std::strcmp(fields.token(field_medium_name), MediumRollId_name_str()) == 0;
    int const last = medium ? field_medium_id : field_bounded;
    if (n - 1 > last) return reason::text_after_keep_string;
    if (medium && n - 1 < field_medium_id) return reason::not_a_keep_string;  // no identity
    for (int k = field_length; k < n; ++k)
        if (!whole_field(fields.token(k), k)) return reason::text_after_keep_string;
    // The start is stored as the label prints it; a text whose fields print
    // back otherwise names no label of the type (the reader's arithmetic
    // takes any digits: " 99:99:99.99" is 04:40:42.24).
    if (n > field_start && !same_label(printed_start(l), fields.token(field_start)))
        return reason::keep_start_not_label;
    return reason::none;
}

template <class L>
result<std::unique_ptr<L>> read_as(std::string_view keep) {
    if (keep.find('\0') != keep.npos) return {nullptr, reason::not_a_keep_string};
    std::string const text(keep);
    auto read = std::make_unique<L>(text.c_str());
    if (reason const why = refusal_of(text.c_str(), *read); why != reason::none)
        return {nullptr, why};
    return {std::move(read)};
}

long32 samples_per_frame(label const& l) {
    long32 const u = l.cvt()->samples_per_unit();
    return u > 0 ? u : 1;
}

std::size_t prefix_width(label const& l) {
    int const n = l.cvt()->get_prefix_length();
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

// The roll prefix the label holds itself, up to the type's prefix length
// (the converter shows another when the label holds none).
std::string_view own_prefix(label const& l) {
    return std::string_view(l.start.prefix_text).substr(0, prefix_width(l));
}

// What a label must be before its keep string is written.
reason unwritable(label const& l) {
    if (l.type() == LABEL_DUMMY || !has_own_converter(l.type())) return reason::no_converter;
    if (l.get_length() < 0) return reason::negative_length;
    if (l.get_length() % samples_per_frame(l) != 0) return reason::length_not_whole_frames;
    if (is_special_sample(l.get_start())) return reason::keep_string_not_kept;
    if (l.has_prefix()) {
        // A shorter prefix leaves the label showing the converter's last
        // roll, or the placeholder: no roll of its own.
        std::string_view const own = own_prefix(l);
        if (own.size() < prefix_width(l) ||
            own == std::string_view(l.cvt()->get_dummy_prefix()).substr(0, own.size()))
            return reason::prefix_needed;
        // The keep string is one line of fields separated by blanks.
        for (char const c : own)
            if (static_cast<unsigned char>(c) <= ' ' || c == ':' || c == '\x7f')
                return reason::prefix_not_kept;
    }
    return reason::none;
}

// How the label read back from l's keep string differs from l.
reason difference(label const& l, label const& back) {
    if (back.type() != l.type()) return reason::keep_string_not_kept;
    if (l.has_prefix() && own_prefix(back) != own_prefix(l)) return reason::prefix_not_kept;
    label_cvt* const c  = l.cvt();
    long32 const start  = c->normalise_sample_unit(l.get_start());
    long32 const stored = c->normalise_sample_unit(back.get_start());
    if (start != stored)
        return start % samples_per_frame(l) != 0 ? reason::start_not_on_frame
                                                 : reason::keep_string_not_kept;
    if (back.get_length() != l.get_length() || back.bounded != l.bounded)
        return reason::keep_string_not_kept;
    return reason::none;
}

}  // namespace

result<std::unique_ptr<label>> read_keep_string(std::string_view keep) {
    return read_as<label>(keep);
}

result<std::unique_ptr<edit_label>> read_edit_keep_string(std::string_view keep) {
    return read_as<edit_label>(keep);
}

long32 default_kept_length(label_t t) {
    label_cvt* const c = t >= 0 && t < label_type_count ? get_static_label_cvt(t) : nullptr;
    long32 const u     = c != nullptr && c->samples_per_unit() > 0 ? c->samples_per_unit() : 1;
    return label::default_length / u * u;
}

result<std::string> keep_string_of(label const& l) {
    if (reason const why = unwritable(l); why != reason::none) return {{}, why};
    char keep[label::keep_string_capacity];
    l.make_keep_string(keep);
    label const back(keep);
    if (reason const why = difference(l, back); why != reason::none) return {{}, why};
    // The pitch as written: a second writing gives the same text.
    char again[label::keep_string_capacity];
    if (std::strcmp(back.make_keep_string(again), keep) != 0)
        return {{}, reason::keep_string_not_kept};
    return {keep};
}

result<std::string> keep_string_of(edit_label const& l) {
    if (reason const why = unwritable(l); why != reason::none) return {{}, why};
    edit_label written(l);  // writing fills the label's own keep buffer
    char keep[edit_label::keep_buffer_capacity];
    written.make_keep_string(keep);
    edit_label back(keep);
    if (reason const why = difference(l, back); why != reason::none) return {{}, why};
    char again[edit_label::keep_buffer_capacity];
    if (!(back.get_MediumRoll() == l.get_MediumRoll()) ||
        std::strcmp(back.make_keep_string(again), keep) != 0)
        return {{}, reason::keep_string_not_kept};
    return {keep};
}

}  // namespace marlix::front
