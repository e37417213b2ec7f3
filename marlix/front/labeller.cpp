#include "marlix/front/labeller.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "marlix/base/wrap32.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/front/detail/label_form_reading.h"

namespace marlix::front {

namespace {

// What read answers for a terminated copy of text (on the stack when it is
// short); INVALID_SAMPLE for a text with a NUL inside, which no label has.
template <class Read>
long32 read_terminated(std::string_view text, Read read) {
    if (text.find('\0') != text.npos) return INVALID_SAMPLE;
    char local[64];
    if (text.size() < sizeof local) {
        text.copy(local, text.size());
        local[text.size()] = '\0';
        return read(local);
    }
    std::string const whole(text);
    return read(whole.c_str());
}

result<long32> sample_or_refusal(long32 s) {
    if (s == INVALID_SAMPLE) return {INVALID_SAMPLE, reason::unreadable};
    return {s};
}

void copy_prefix(label_point& point, char const* prefix) {
    std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", prefix);
}

bool eight_digits(std::string_view text) {
    return text.size() == 8 && text.find_first_not_of("0123456789") == text.npos;
}

// Eight digits, HHMMSSFF, spelt as the label they pack.
std::string spelt_packed(std::string_view text) {
    return std::string(text.substr(0, 2)) + ":" + std::string(text.substr(2, 2)) + ":" +
           std::string(text.substr(4, 2)) + ":" + std::string(text.substr(6));
}

}  // namespace

labeller::labeller()  = default;
labeller::~labeller() = default;

// The points name the converter the labeller owns, if any: a moved-from
// labeller falls back to the placeholder converter, never to the one that
// moved away.
labeller::labeller(labeller&& other) noexcept
    : owned_(std::move(other.owned_)),
      point_(other.point_),
      reader_(other.reader_),
      mode_(other.mode_),
      refusal_(std::move(other.refusal_)) {
    other.point_  = label_point();
    other.reader_ = label_point();
}

labeller& labeller::operator=(labeller&& other) noexcept {
    if (this != &other) {
        owned_        = std::move(other.owned_);
        point_        = other.point_;
        reader_       = other.reader_;
        mode_         = other.mode_;
        refusal_      = std::move(other.refusal_);
        other.point_  = label_point();
        other.reader_ = label_point();
    }
    return *this;
}

labeller::labeller(label_cvt* shared, label_cvt* owned)
    : owned_(owned), point_(0, owned != nullptr ? owned : shared), reader_(point_) {}

result<labeller> labeller::make(label_t t, int fields, reading mode) {
    if (fields != TC_ALL_FIELDS && label_type_family(t) != UserLabelTimecode)
        return {{}, reason::fields_not_timecode};
    // The shared table is built on first use; a heap that refused it leaves
    // every slot empty.
    if (t >= 0 && t < label_type_count && get_static_label_cvt(t) == nullptr)
        return {{}, reason::no_memory};
    if (!has_own_converter(t)) return {{}, reason::no_converter};
    result<labeller> out;
    if (fields == TC_ALL_FIELDS) {
        label_cvt* const shared = get_static_label_cvt(t);
        if (shared == nullptr) return {{}, reason::no_memory};
        out.value = labeller(shared, nullptr);
    } else {
        label_cvt* const owned = make_timecode_label_cvt(t, fields);
        if (owned == nullptr) return {{}, reason::no_memory};
        out.value = labeller(nullptr, owned);
    }
    out.value.mode_ = mode;
    return out;
}

bool labeller::has_prefix() const { return point_.cvt()->has_prefix(); }

int labeller::prefix_length() const { return has_prefix() ? point_.cvt()->get_prefix_length() : 0; }

void labeller::set_prefix(std::string_view prefix) {
    std::size_t const n = prefix.size() < label_point::prefix_capacity
                              ? prefix.size()
                              : static_cast<std::size_t>(label_point::prefix_capacity);
    prefix.copy(point_.prefix_text, n);
    point_.prefix_text[n] = '\0';
    copy_prefix(reader_, point_.prefix_text);
}

void labeller::set_prefix(char const* prefix) {
    set_prefix(prefix != nullptr ? std::string_view(prefix) : std::string_view());
}

result<bool> labeller::set_typed_prefix(std::string_view prefix) {
    if (mode_ == reading::lax || prefix.empty()) {  // "": none given
        set_prefix(prefix);
        return {true};
    }
    label_form form = normalise_prefix(type(), prefix);
    if (!form.ok()) {
        refusal_ = std::move(form.why);
        return {false, reason::malformed_prefix};
    }
    set_prefix(form.text);
    return {true};
}

char const* labeller::text(long32 sample) { return point_.cvt()->get_abs_string(&point_, sample); }

long32 labeller::normalise(long32 sample) const {
    return point_.cvt()->normalise_sample_unit(sample);
}

result<long32> labeller::sample(std::string_view text) {
    if (mode_ == reading::strict) return read_strictly(text, true);
    return sample_or_refusal(
        read_terminated(text, [this](char const* whole) { return read_whole(whole).value; }));
}

result<long32> labeller::packed_sample(std::string_view text) {
    if (mode_ == reading::strict) {
        bool const digits = family() == UserLabelTimecode && eight_digits(text);
        if (family() == UserLabelTimecode && !digits) {
            refusal_ = "expected 8 digits, HHMMSSFF";
            return {INVALID_SAMPLE, reason::malformed_label};
        }
        return read_strictly(digits ? spelt_packed(text) : std::string(text), false);
    }
    label_cvt* const c = point_.cvt();
    return sample_or_refusal(read_terminated(
        text, [c](char const* whole) { return c->get_abs_sample_from_packed_string(whole); }));
}

result<long32> labeller::plain_sample(std::string_view text) {
    if (family() == UserLabelTimecode && eight_digits(text)) return packed_sample(text);
    if (mode_ == reading::strict) return read_strictly(text, false);
    label_cvt* const c = point_.cvt();
    return sample_or_refusal(
        read_terminated(text, [c](char const* whole) { return c->get_abs_sample(whole); }));
}

long32 labeller::span(long32 a, long32 b) const { return normalise(wrap_sub(b, a)); }

std::uint32_t labeller::smpte_word(long32 sample) {
    return point_.cvt()->get_abs_smpte_string(&point_, sample);
}

labeller::smpte_reading labeller::read_smpte_word(std::uint32_t word) const {
    smpte_reading out;
    unsigned w = word;
    out.count  = point_.cvt()->get_samples_from_SMPTETc(w, out.drop);
    out.sample = out.count;
    if (type() == LABEL_NTSC_DROP) {
        // The label the word spells, its BCD fields read as the decoder
        // reads them: hours tens 2 bits, minutes and seconds tens 3 bits,
        // frames tens 2 bits.
        auto digit = [word](int shift, unsigned mask) {
            return static_cast<int>((word >> shift) & mask);
        };
        char text[sizeof "315:715:715;315"];  // widest: a units digit of 15
        std::snprintf(text, sizeof text, "%d%d:%d%d:%d%d;%d%d", digit(28, 0x3), digit(24, 0xf),
                      digit(20, 0x7), digit(16, 0xf), digit(12, 0x7), digit(8, 0xf), digit(4, 0x3),
                      digit(0, 0xf));
        out.sample = point_.cvt()->get_abs_sample(text);
    }
    return out;
}

// The form is read by the type's shared converter (all timecode fields),
// and must print back as it is: a 3-perf frame past the end of its foot
// reads as some position, but not as itself. Timecode has no prefix to
// keep.
result<long32> labeller::read_strictly(std::string_view text, bool keep_prefix) {
    label_form form = detail::read_label_form(type(), text, false);
    if (!form.ok()) {
        refusal_ = std::move(form.why);
        return {INVALID_SAMPLE, reason::malformed_label};
    }
    // A timecode's form is the converter's print of the count read.
    if (form.sample != INVALID_SAMPLE) return {form.sample};
    label_cvt* const c = get_static_label_cvt(type());
    label_point check(0, c);
    check.set_sample(form.text.c_str());
    long32 const s = check.get_sample();
    if (s == INVALID_SAMPLE) {
        refusal_ = "beyond the type's labels";
        return {INVALID_SAMPLE, reason::malformed_label};
    }
    std::string_view const back = c->get_abs_string(&check, s);
    if (back != form.text) {
        refusal_ = "no such label (the position it names prints as '" + std::string(back) + "')";
        return {INVALID_SAMPLE, reason::malformed_label};
    }
    if (keep_prefix) reader_.set_prefix(form.text.c_str());
    return {s};
}

result<long32> labeller::sample(std::string const& text) {
    if (mode_ == reading::strict) return sample(std::string_view(text));
    if (std::memchr(text.data(), '\0', text.size()) != nullptr)
        return {INVALID_SAMPLE, reason::unreadable};
    return read_whole(text.c_str());
}

result<long32> labeller::sample(char const* text) {
    if (text == nullptr) return {INVALID_SAMPLE, reason::unreadable};
    if (mode_ == reading::strict) return sample(std::string_view(text));
    return read_whole(text);
}

result<long32> labeller::read_whole(char const* text) {
    reader_.set_sample(text);  // the prefix first, then the label
    return sample_or_refusal(reader_.get_sample());
}

label_template const& labeller::label_template_of(int which) const {
    return point_.cvt()->templates[which == 0 ? 0 : 1];
}

result<bool> set_start_prefix(label& l, std::string_view prefix) {
    if (prefix.find_first_of(" \t:") != prefix.npos) return {false, reason::prefix_not_kept};
    std::size_t const n =
        std::min(prefix.size(), static_cast<std::size_t>(label_point::prefix_capacity));
    std::size_t const end = std::min(n, prefix.find('\0'));
    prefix.copy(l.start.prefix_text, end);
    l.start.prefix_text[end] = '\0';
    return {true};
}

result<bool> set_start_text(label& l, std::string_view text, reading mode, std::string* why) {
    auto made = labeller::make(l.type(), TC_ALL_FIELDS, mode);
    if (!made) return {false, made.why};
    auto const s = made.value.sample(text);
    if (why != nullptr) *why = made.value.refusal();
    if (!s) return {false, s.why};
    l.set_start(s.value);
    if (made.value.has_prefix()) l.start.set_prefix(made.value.prefix_read());
    return {true};
}

result<bool> set_typed_start_prefix(label& l, std::string_view prefix, reading mode,
                                    std::string* why) {
    if (mode == reading::lax) return set_start_prefix(l, prefix);
    label_form form = normalise_prefix(l.type(), prefix);
    if (!form.ok()) {
        if (why != nullptr) *why = std::move(form.why);
        return {false, reason::malformed_prefix};
    }
    return set_start_prefix(l, form.text);
}

result<double> position_of(label const& l, std::string_view text, reading mode, std::string* why) {
    auto made = labeller::make(l.type(), TC_ALL_FIELDS, mode);
    if (!made) return {0, made.why};
    auto const s = made.value.sample(text);
    if (why != nullptr) *why = made.value.refusal();
    if (!s) return {0, s.why};
    return {l.get_posn(s.value)};
}

result<bool> set_start_text(edit_label& l, std::string_view text, reading mode, std::string* why) {
    auto const set = set_start_text(static_cast<label&>(l), text, mode, why);
    if (set) l.dirty = true;
    return set;
}

converter_facts facts_of(label_t t) {
    label_cvt* const c = t >= 0 && t < label_type_count ? get_static_label_cvt(t) : nullptr;
    if (c == nullptr) return {};
    return {c->samples_per_unit(), c->get_modulus(), c->templates[0].text};
}

result<std::string> label_text(label_t t, long32 sample, char const* prefix, reading mode,
                               std::string* why) {
    auto made = labeller::make(t, TC_ALL_FIELDS, mode);
    if (!made) return {{}, made.why};
    if (prefix != nullptr) {
        auto const given = made.value.set_typed_prefix(prefix);
        if (why != nullptr) *why = made.value.refusal();
        if (!given) return {{}, given.why};
    }
    return {made.value.text(sample)};
}

result<long32> label_sample(label_t t, std::string_view text, char const* prefix, reading mode,
                            std::string* why) {
    auto made = labeller::make(t, TC_ALL_FIELDS, mode);
    if (!made) return {INVALID_SAMPLE, made.why};
    if (prefix != nullptr) {
        auto const given = made.value.set_typed_prefix(prefix);
        if (!given) {
            if (why != nullptr) *why = made.value.refusal();
            return {INVALID_SAMPLE, given.why};
        }
    }
    auto const s = made.value.sample(text);
    if (why != nullptr) *why = made.value.refusal();
    return s;
}

result<relabeller> relabeller::make(label_t from, label_t to, char const* prefix, reading mode,
                                    std::string* why) {
    result<relabeller> out;
    auto in = labeller::make(from, TC_ALL_FIELDS, mode);
    if (!in) return {{}, in.why};
    auto printer = labeller::make(to, TC_ALL_FIELDS, mode);
    if (!printer) return {{}, printer.why};
    int const in_prefix  = in.value.prefix_length();
    int const out_prefix = printer.value.prefix_length();
    if (prefix != nullptr && std::string_view(prefix).size() < static_cast<std::size_t>(out_prefix))
        return {{}, reason::prefix_too_short};
    if (prefix == nullptr && out_prefix > 0 && in_prefix != out_prefix)
        return {{}, reason::prefix_lengths_differ};
    out.value.from_ = std::move(in.value);
    out.value.to_   = std::move(printer.value);
    if (prefix != nullptr) {
        auto const given = out.value.to_.set_typed_prefix(prefix);
        if (!given) {
            if (why != nullptr) *why = out.value.to_.refusal();
            return {{}, given.why};
        }
    }
    out.value.keep_prefix_ = prefix == nullptr && out_prefix > 0;
    return out;
}

result<char const*> relabeller::operator()(std::string_view text) {
    auto const s = from_.sample(text);
    if (!s) return {nullptr, s.why};
    // The roll of the text read, as the reader took it.
    if (keep_prefix_) to_.set_prefix(from_.prefix_read());
    return {to_.text(s.value)};
}

}  // namespace marlix::front
