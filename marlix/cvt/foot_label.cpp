#include "marlix/cvt/foot_label.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "marlix/internal/ascii.h"
#include "marlix/internal/c_number.h"
#include "marlix/internal/narrow32.h"
#include "marlix/internal/scan_fields.h"
#include "marlix/internal/text_writer.h"
#include "marlix/internal/three_perf.h"
#include "marlix/values/label_point.h"

namespace marlix {

namespace {

constexpr long long perfs_per_353_foot = detail::three_perf_perfs_per_foot;
constexpr int keep_text_limit          = 63;
constexpr int film_frames_modulus      = 999999;

using detail::is_digit;

char const* skip_space(char const* p) {
    while (detail::is_space(*p)) ++p;
    return p;
}

}  // namespace

foot_label::foot_label(int modulus_, int samples_per_frame_, int feet_digits_)
    : catalogued(modulus_, samples_per_frame_),
      feet_digits(std::clamp(feet_digits_, 0, max_feet_digits)),
      samples_per_frame(samples_per_frame_) {
    foot_label::build_template();
}

char const* foot_label::get_abs_string(label_point* point, long32 sample) {
    if (is_special_sample(sample)) return get_invalid_string(point, sample);
    return samples_to_feet(point, sample);
}

long32 foot_label::get_abs_sample(char const* s) {
    if (s == nullptr) return INVALID_SAMPLE;
    return feet_to_samples(s);
}

void foot_label::build_template() {
    templates[0].set("");
    templates[1].set("");
}

long long foot_label::feet_wrap() const {
    long long w = 10;
    for (int i = 0; i < feet_digits; ++i) w *= 10;
    return w;
}

void foot_label::set_foot_templates(char const* suffix) {
    char text[label_template::max_length + 1];
    int i     = 0;
    text[i++] = '-';
    for (int d = 0; d < feet_digits && i < label_template::max_length; ++d) text[i++] = '9';
    std::snprintf(text + i, sizeof text - static_cast<std::size_t>(i), "%s", suffix);
    templates[0].set(text);
    templates[1].set(text);
}

char* foot_label::samples_to_feet(label_point* point, long32 sample) {
    char const sign     = sample < 0 ? '-' : ' ';
    long long const a   = std::abs(static_cast<long long>(sample));
    long long frames    = a / detail::divisor_of(samples_per_frame);
    long long const top = detail::saturating_mul(detail::divisor_of(modulus), feet_wrap());
    // The feet wrap at 10^(feet_digits + 1). Past twice that, where one
    // wrap would still leave more feet than the label has digits, the wrap
    // repeats, so that a printed footage reads back to itself.
    if (frames >= top) frames %= top;
    detail::text_writer out(point->text_buffer);
    out.put(sign);
    out.put_padded(frames / detail::divisor_of(modulus), feet_digits);
    out.put('.');
    out.put_padded(frames % detail::divisor_of(modulus), 2);
    return out.finish();
}

long32 foot_label::feet_to_samples(char const* text) {
    char const* p       = skip_space(text);
    bool const negative = *p == '-';
    if (negative) ++p;
    long long total = detail::saturating_mul(detail::read_c_number(p), modulus);
    if (*p != '\0') {
        while (is_digit(*p)) ++p;
        if (*p != '\0' && !is_digit(*p)) ++p;
    }
    total = detail::saturating_add(total, detail::read_c_number(p));
    if (negative) total = -total;
    return detail::narrow_or_invalid(detail::saturating_mul(total, samples_per_frame));
}

foot_35_label::foot_35_label(int digits) : catalogued(16, 4, digits) { build_template(); }
void foot_35_label::build_template() { set_foot_templates(".19"); }

foot_16_label::foot_16_label(int digits) : catalogued(40, 1, digits) { build_template(); }
void foot_16_label::build_template() { set_foot_templates(".39"); }

foot_353_label::foot_353_label(int digits) : catalogued(22, 3, digits) { build_template(); }
void foot_353_label::build_template() { set_foot_templates("+29.3"); }

char* foot_353_label::samples_to_feet(label_point* point, long32 sample) {
    char const sign                      = sample < 0 ? '-' : ' ';
    long long const a                    = std::abs(static_cast<long long>(sample));
    detail::three_perf_position const at = detail::three_perf_split(a);
    long long f                          = at.feet;
    if (f >= feet_wrap()) f %= feet_wrap();  // as for the other gauges
    // The split stays in the call (no scratch field is written), so one
    // converter serves any number of threads at once.
    detail::text_writer out(point->text_buffer);
    out.put(sign);
    out.put_padded(f, feet_digits);
    detail::put_three_perf_frame(out, at.frame, at.phase);
    return out.finish();
}

long32 foot_353_label::feet_to_samples(char const* text) {
    char const* p       = skip_space(text);
    bool const negative = *p == '-';
    if (negative) ++p;
    char copy[keep_text_limit + 1];
    std::size_t const n = detail::copy_text(copy, p);
    int const phase     = n == 0 ? 0 : static_cast<int>(detail::read_c_number(copy + n - 1)) - 1;
    long long const f   = detail::read_c_number(copy);
    // The frames follow the one character after the feet's digits.
    char const* c = copy;
    while (is_digit(*c)) ++c;
    long long const frame = *c == '\0' ? 0 : detail::read_c_number(c + 1);
    long long total       = detail::saturating_add(f * perfs_per_353_foot - phase,
                                                   detail::saturating_mul(frame, samples_per_frame));
    if (negative) total = -total;
    return detail::narrow_or_invalid(total);
}

film_frames_label::film_frames_label() : catalogued(film_frames_modulus, 1) { build_template(); }

char const* film_frames_label::get_abs_string(label_point* point, long32 sample) {
    if (is_special_sample(sample)) return get_invalid_string(point, sample);
    detail::text_writer out(point->text_buffer);
    out.put_precise(sample, 6);  // "%.6d": six digits at least, sign before them
    return out.finish();
}

long32 film_frames_label::get_abs_sample(char const* s) {
    if (s == nullptr) return INVALID_SAMPLE;
    constexpr detail::scan_op number_format[] = {detail::scan_number()};
    long long v{};
    if (detail::scan_fields(s, number_format, &v) != 1) return INVALID_SAMPLE;
    return detail::narrow_or_invalid(v);
}

void film_frames_label::build_template() {
    templates[0].set("-999999");
    templates[1].set("-999999");
}

}  // namespace marlix
