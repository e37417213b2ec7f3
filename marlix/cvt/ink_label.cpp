#include "marlix/cvt/ink_label.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "marlix/internal/c_number.h"
#include "marlix/values/label_point.h"

namespace marlix {

namespace {
constexpr int ink_label_length      = 8;  // prefix and count
constexpr int ink_count_length      = 4;
constexpr int ink_prefix_length     = 4;
constexpr int normal_length         = 11;  // prefix, count, separator, frame
constexpr int max_padding           = 4;
constexpr char placeholder_prefix[] = "XXXX";
}  // namespace

ink_label::ink_label(int modulus_, long32 samples_per_unit_)
    : catalogued(modulus_, samples_per_unit_, ink_label_length) {
    set_count_len(ink_count_length);
    dummy_prefix = placeholder_prefix;
}

void ink_label::normalise_text(char const* text, char* out) {
    if (text == nullptr) text = "";
    std::size_t const length = std::strlen(text);
    if (length > static_cast<std::size_t>(normal_length)) {
        std::memcpy(out, text, 4);
        std::memcpy(out + 4, text + length - 7, 7);
        out[normal_length] = '\0';
        return;
    }
    int const zeros = std::clamp(normal_length - static_cast<int>(length), 0, max_padding);
    std::memset(out, '0', static_cast<std::size_t>(zeros));
    std::memcpy(out + zeros, text, length + 1);
}

void ink_label::set_prefix(label_point* point, char const* text) {
    if (!has_prefix()) return;
    char normal[normal_capacity];
    normalise_text(text, normal);
    prefix_label::set_prefix(point, normal);
}

long32 ink_label::get_abs_sample(char const* s) {
    // A text shorter than a prefix holds no count: padding it with zeros
    // would read one out of the prefix characters.
    if (s == nullptr || std::strlen(s) < static_cast<std::size_t>(ink_prefix_length))
        return INVALID_SAMPLE;
    char normal[normal_capacity];
    normalise_text(s, normal);
    std::size_t const length               = std::strlen(normal);
    char count_field[ink_count_length + 1] = {};
    if (length > 4) std::memcpy(count_field, normal + 4, std::min<std::size_t>(length - 4, 4));
    long long const n = detail::read_c_number(count_field);
    if (n < 0 || n > max_count) return INVALID_SAMPLE;
    long long frame = 0;
    if (length > static_cast<std::size_t>(ink_label_length)) {
        // Exactly one separator skipped; the normal form leaves at most two
        // frame characters after it.
        char const* rest = normal + ink_label_length + 1;
        frame            = detail::read_c_number(rest);
        if (frame < 0) return INVALID_SAMPLE;
    }
    if (frame >= modulus) return INVALID_SAMPLE;
    long long const v = detail::saturating_mul(
        detail::saturating_add(detail::saturating_mul(modulus, n), frame), unit_samples);
    return detail::fits_long32(v) ? static_cast<long32>(v) : INVALID_SAMPLE;
}

char const* ink_label::get_abs_string(label_point* point, long32 sample) {
    if (is_special_sample(sample)) return get_invalid_string(point, sample);
    ink_counts const c = split_counts(sample);
    // As keycode: count 0 with frame 0 just before 0 (ink_35 at -1 to -3)
    // prints; a negative count or frame offset is negative film.
    return print_counts(point, ink_count_length, c.count, c.frame_offset);
}

void ink_label::build_template() {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "+%lld", (modulus - 1LL) / 10 * 10 + 9);
    set_prefix_templates(suffix);
}

long32 ink_label::normalise_sample_unit(long32 s) { return normalise_into_count_cycle(s); }

void ink_label::get_counts(long32) {}
ink_label::ink_counts ink_label::split_counts(long32) const { return {count, frame_offset}; }

ink_label::ink_counts ink_label::rule_counts(long32 s) const {
    // A samples per unit or modulus below 1 counts as 1: no division by zero.
    int const frames = s / detail::divisor_of_int(unit_samples);
    int const m      = detail::divisor_of_int(modulus);
    return {frames / m, frames % m};
}

}  // namespace marlix
