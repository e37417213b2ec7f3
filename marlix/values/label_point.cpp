#include "marlix/values/label_point.h"

#include <cstring>
#include <string>

#include "marlix/base/wrap32.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/cvt/timecode_label.h"
#include "marlix/internal/c_number.h"

namespace marlix {

namespace {

// The converter of label type 0. Should the host heap have refused the
// shared one, a dummy of the library's own stands in, so that a point's
// converter is never null.
label_cvt* no_type_converter() {
    if (label_cvt* shared = get_static_label_cvt(LABEL_NONE)) return shared;
    static dummy_label fallback;
    return &fallback;
}

label_cvt* shared_or_none(label_t t) {
    label_cvt* c = get_static_label_cvt(t);
    return c != nullptr ? c : no_type_converter();
}

// Keycode cycles of 4 and of 5 or 6 count digits: the count's place value.
constexpr long32 four_digit_cycle = 640000;   // 10000 x 64
constexpr long32 longer_cycle     = 6400000;  // 100000 x 64
constexpr int shortest_count      = 4;
constexpr int longest_count       = 6;

void copy_prefix_text(char* out, char const* in) {
    std::memcpy(out, in, label_point::prefix_capacity);
    out[label_point::prefix_capacity] = '\0';
}

}  // namespace

void label_point::init() {
    sample = 0;
    std::memset(prefix_text, 0, sizeof prefix_text);
    std::memset(text_buffer, 0, sizeof text_buffer);
    converter        = no_type_converter();
    prefix_edittable = true;
    current_template = &converter->templates[0];
}

void label_point::use_converter(label_cvt* c) {
    converter        = c != nullptr ? c : no_type_converter();
    current_template = &converter->templates[prefix_edittable ? 0 : 1];
}

label_point::label_point() { init(); }

label_point::label_point(long32 s, label_t t) {
    init();
    use_converter(shared_or_none(t));
    sample = converter->normalise_sample_unit(s);
}

label_point::label_point(long32 s, label_cvt* c) {
    init();
    use_converter(c);
    sample = converter->normalise_sample_unit(s);
}

label_point::label_point(label_point const& p) {
    init();
    sample = p.sample;
    copy_prefix_text(prefix_text, p.prefix_text);
    use_converter(p.converter);  // editable prefix, template 0
}

label_point& label_point::operator=(label_point const& p) {
    if (&p == this) return *this;
    sample           = p.sample;
    converter        = p.converter;
    current_template = p.current_template;
    prefix_edittable = p.prefix_edittable;
    copy_prefix_text(prefix_text, p.prefix_text);
    return *this;
}

label_t label_point::type() const { return converter->type(); }
UserLabelType label_point::UserType() const { return converter->UserType(); }
char const* label_point::type_str() const { return converter->type_str(); }
long32 label_point::samples_per_unit() const { return converter->samples_per_unit(); }

void label_point::set_type(label_t t) { use_converter(shared_or_none(t)); }

bool label_point::same_type(label_point const& p) const { return type() == p.type(); }

void label_point::modify_type(label_t t) {
    if (!converter->has_prefix()) return;
    label_cvt* const next = shared_or_none(t);
    int const c_old       = converter->get_count_length();
    int const c_new       = next->get_count_length();
    if (c_old == c_new) return;
    if (c_old > c_new) {
        // Fewer count digits: the dropped digits leave the sample.
        sample %= c_new == shortest_count ? four_digit_cycle : longer_cycle;
    } else {
        // More count digits: the last prefix characters become the count's
        // leading digits.
        int const k     = c_new - c_old;
        int const first = next->get_prefix_length();
        std::string digits;
        for (int i = 0; i < k && first >= 0 && first + i < prefix_capacity; ++i)
            digits += prefix_text[first + i];
        long long const n     = detail::read_c_number(digits.c_str());
        long long const place = c_old == shortest_count ? four_digit_cycle : longer_cycle;
        sample                = static_cast<long32>(static_cast<std::uint32_t>(sample + n * place));
    }
    use_converter(next);
}

void label_point::modify_count_length(int n) {
    if (n < shortest_count || n > longest_count) return;
    struct family {
        label_t members[4];  // the plain type, then 4, 5 and 6 count digits
    };
    static constexpr family families[] = {
        {{LABEL_KEYCODE_35, LABEL_KEYCODE_35_4, LABEL_KEYCODE_35_5, LABEL_KEYCODE_35_6}},
        {{LABEL_KEYCODE_16, LABEL_KEYCODE_16_4, LABEL_KEYCODE_16_5, LABEL_KEYCODE_16_6}},
        {{LABEL_KEYCODE_353, LABEL_KEYCODE_353_4, LABEL_KEYCODE_353_5, LABEL_KEYCODE_353_6}},
    };
    label_t const t = type();
    for (auto const& f : families)
        for (label_t member : f.members)
            if (member == t) return modify_type(f.members[n - shortest_count + 1]);
}

void label_point::set_prefix_edittable(bool b) {
    prefix_edittable = b;
    use_converter(converter);
}

void label_point::set_sample(long32 s) { sample = converter->normalise_sample_unit(s); }
void label_point::set_sample(double v) { sample = converter->get_abs_sample(v); }

void label_point::set_sample(char const* text) {
    converter->set_prefix(this, text);
    sample = converter->get_abs_sample(text);
}

void label_point::set_keep_sample(char const* text) { sample = converter->get_keep_sample(text); }

double label_point::get_V2tc() const { return converter->get_V2tc(sample); }

void label_point::operator+=(long32 n) {
    sample = converter->normalise_sample_unit(wrap_add(sample, n));
}
void label_point::operator-=(long32 n) {
    sample = converter->normalise_sample_unit(wrap_sub(sample, n));
}

void label_point::constrain_positive() {
    if (UserType() != UserLabelTimecode || sample >= 0) return;
    if (auto const* tc = dynamic_cast<timecode_label const*>(converter))
        sample = wrap_add(sample, tc->get_frames_per_day());
}

void label_point::set_prefix(char const* text) { converter->set_prefix(this, text); }

char const* label_point::get_prefix() {
    char const* shown = converter->get_prefix(this);
    int const n       = converter->get_prefix_length();
    int i             = 0;
    for (; i < n && i < text_capacity - 1 && shown[i] != '\0'; ++i) text_buffer[i] = shown[i];
    text_buffer[i] = '\0';
    return text_buffer;
}

char const* label_point::get_string() { return converter->get_abs_string(this, sample); }
char const* label_point::get_keep_string() { return converter->get_keep_string(this, sample); }

void label_point::get_hmsf(short& h, short& m, short& s, short& f) {
    h = m = s = f = 0;
    if (UserType() != UserLabelTimecode) return;
    if (auto* tc = dynamic_cast<timecode_label*>(converter)) tc->get_abs_hmsf(sample, h, m, s, f);
}

int label_point::is_valid() const {
    label_t const t = type();
    return t != LABEL_NONE && t != LABEL_DUMMY ? 1 : 0;
}

int label_point::is_useful() const { return is_valid() && !is_special_sample(sample) ? 1 : 0; }

bool label_point::operator==(label_point const& p) const {
    if (!same_type(p) || sample != p.sample) return false;
    return !converter->has_prefix() || std::strcmp(prefix_text, p.prefix_text) == 0;
}

namespace {
label_point operator_result(label_point const& a, label_point const& b, bool add) {
    if (!a.same_type(b)) return zero_label_point();
    return label_point(add ? wrap_add(a.sample, b.sample) : wrap_sub(a.sample, b.sample),
                       a.converter);
}
}  // namespace

label_point label_point::operator+(label_point const& p) const {
    return operator_result(*this, p, true);
}
label_point label_point::operator-(label_point const& p) const {
    return operator_result(*this, p, false);
}

}  // namespace marlix
