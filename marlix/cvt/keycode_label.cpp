#include "marlix/cvt/keycode_label.h"

#include <cstdio>
#include <cstring>

#include "marlix/base/wrap32.h"
#include "marlix/internal/c_number.h"
#include "marlix/internal/text_writer.h"
#include "marlix/internal/three_perf.h"
#include "marlix/values/label_point.h"

namespace marlix {

namespace {

constexpr int keycode_label_length = 12;
// The frame digits of a keycode text start before this position.
constexpr int frame_position_limit = 15;
constexpr int max_frame_characters = 2;
// The longest count field read; longer fields are not looked at.
constexpr int max_count_field = 11;
// Keep texts are read up to this many characters.
constexpr int keep_text_limit = 63;

constexpr char placeholder_prefix[] = "XX000000";

constexpr long32 perfs_per_353_keycode = detail::three_perf_perfs_per_foot;

}  // namespace

keycode_label::keycode_label(int modulus_, long32 samples_per_unit_)
    : catalogued(modulus_, samples_per_unit_, keycode_label_length) {}

long32 keycode_label::normalise_sample_unit(long32 s) { return normalise_into_count_cycle(s); }

long32 keycode_label::get_abs_sample_from_packed_string(char const* s) { return get_abs_sample(s); }

long32 keycode_label::get_sample_span_from_packed_strings(char const* first, char const* second) {
    return normalise_sample_unit(wrap_sub(get_abs_sample_from_packed_string(second),
                                          get_abs_sample_from_packed_string(first)));
}

char const* keycode_label::get_abs_string(label_point* point, long32 sample) {
    if (is_special_sample(sample)) return get_invalid_string(point, sample);
    keycode_counts const c = split_counts(sample);
    // A sample just before 0 whose count truncates to 0 prints as count 0
    // while its frame offset is still 0 (keycode_35 at -1 to -3).
    return print_counts(point, count_digits(), c.count, c.frame_offset);
}

char const* keycode_label::get_abs_perfs_string(label_point* point, long32 sample) {
    if (is_special_sample(sample)) return "";
    detail::text_writer out(point->text_buffer);
    out.put_padded(get_perf_offset(sample), 2);
    return out.finish();
}

bool keycode_label::parse_counts(char const* s, keycode_counts& c) const {
    if (s == nullptr || prefix_len < 0) return false;
    std::size_t const length  = std::strlen(s);
    std::size_t const cursor0 = static_cast<std::size_t>(prefix_len + count_len);
    if (length < cursor0) return false;  // the count field is incomplete

    char field[max_count_field + 1];
    int const field_length = count_len < max_count_field ? count_len : max_count_field;
    std::memcpy(field, s + prefix_len, static_cast<std::size_t>(field_length));
    field[field_length] = '\0';
    char const* digits  = field;
    while (*digits == '_') ++digits;
    long long const n = detail::read_c_number(digits);
    if (n < 0 || n > max_count) return false;
    c.count = static_cast<int>(n);

    std::size_t cursor = cursor0;
    if (cursor == length) {
        c.frame_offset = 0;
        return true;
    }
    while (cursor < length && !(s[cursor] >= '0' && s[cursor] <= '9') &&
           cursor < static_cast<std::size_t>(frame_position_limit))
        ++cursor;
    if (cursor >= static_cast<std::size_t>(frame_position_limit) || cursor == length ||
        length - cursor > static_cast<std::size_t>(max_frame_characters))
        return false;
    c.frame_offset = static_cast<int>(detail::read_c_number(s + cursor));
    return true;
}

long32 keycode_label::get_abs_sample(char const* s) {
    keycode_counts c;
    return parse_counts(s, c) ? join_counts(c) : INVALID_SAMPLE;
}

void keycode_label::get_counts(long32 sample) {
    keycode_counts const c = split_counts(sample);
    count                  = c.count;
    frame_offset           = c.frame_offset;
}
int keycode_label::get_perf_offset(long32) { return 0; }
long32 keycode_label::get_perfs() { return join_counts({count, frame_offset, 0}); }
// keycode_label itself has no stock: its counts stay as they are and no
// text reads as a sample.
keycode_label::keycode_counts keycode_label::split_counts(long32) const {
    return {count, frame_offset, 0};
}
long32 keycode_label::join_counts(keycode_counts) const { return INVALID_SAMPLE; }

// The stock rule. A modulus or samples per unit below 1 (a converter built
// with such arguments) counts as 1 here, so that nothing divides by zero.
long long keycode_label::perfs_per_interval() const {
    return detail::saturating_mul(detail::divisor_of(unit_samples), detail::divisor_of(modulus));
}

keycode_label::keycode_counts keycode_label::rule_counts(long32 p) const {
    long long const k = perfs_per_interval();
    if (k <= INT32_MAX) {  // every stock: in 32 bits
        int const k32 = static_cast<int>(k);
        return {p / k32, p % k32 / detail::divisor_of_int(unit_samples)};
    }
    return {static_cast<int>(p / k), static_cast<int>(p % k / detail::divisor_of(unit_samples))};
}

int keycode_label::rule_perf_offset(long32 p) const {
    return static_cast<int>(p % perfs_per_interval());
}

long32 keycode_label::rule_perfs(keycode_counts c) const {
    if (c.frame_offset < 0 || c.frame_offset >= modulus) return INVALID_SAMPLE;
    long long const perfs = detail::saturating_mul(
        detail::saturating_add(detail::saturating_mul(c.count, modulus), c.frame_offset),
        unit_samples);
    return detail::fits_long32(perfs) ? static_cast<long32>(perfs) : INVALID_SAMPLE;
}

keycode_353::keycode_353() : keycode_label(22, 3) {}

int keycode_353::perfs_per_keyKode() { return perfs_per_353_keycode; }

keycode_label::keycode_counts keycode_353::split_counts(long32 p) const {
    detail::three_perf_position const at = detail::three_perf_split(p);
    return {static_cast<int>(at.feet), at.frame, at.phase};
}

long32 keycode_353::join_counts(keycode_counts c) const {
    if (c.frame_offset < 0 || c.frame_offset >= modulus) return INVALID_SAMPLE;
    long long const perfs = static_cast<long long>(c.count) * perfs_per_353_keycode - c.perf_phase +
                            static_cast<long long>(c.frame_offset) * 3;
    return detail::fits_long32(perfs) ? static_cast<long32>(perfs) : INVALID_SAMPLE;
}

void keycode_353::get_counts(long32 p) {
    keycode_counts const c = split_counts(p);
    count                  = c.count;
    frame_offset           = c.frame_offset;
    perf_phase             = c.perf_phase;
}

long32 keycode_353::get_perfs() { return join_counts({count, frame_offset, perf_phase}); }

int keycode_353::get_perf_offset(long32 p) { return p % perfs_per_353_keycode; }

char const* keycode_353::get_abs_string(label_point* point, long32 sample) {
    return get_keep_string(point, sample);
}

char const* keycode_353::get_abs_perfs_string(label_point* point, long32 sample) {
    return keycode_label::get_abs_perfs_string(point, sample);
}

long32 keycode_353::get_abs_sample(char const* s) { return get_keep_sample(s); }

char const* keycode_353::get_keep_string(label_point* point, long32 sample) {
    if (is_special_sample(sample)) return get_invalid_string(point, sample);
    keycode_counts const c = split_counts(sample);
    // Samples -1 to -4 still have count 0 and frame 0, with a phase digit
    // of 2 to 5 that reads back to them; before that the frame offset is
    // negative: negative film.
    return print_counts(point, count_digits(), c.count, c.frame_offset, c.perf_phase);
}

long32 keycode_353::get_keep_sample(char const* s) {
    if (s == nullptr) return INVALID_SAMPLE;
    char copy[keep_text_limit + 1];
    std::size_t const n = detail::copy_text(copy, s);
    if (n < 2) return INVALID_SAMPLE;
    int const phase = static_cast<int>(detail::read_c_number(copy + n - 1)) - 1;
    copy[n - 2]     = '\0';  // cut the point and the phase digit
    keycode_counts c;
    if (!parse_counts(copy, c)) return INVALID_SAMPLE;
    c.perf_phase = phase;
    return join_counts(c);
}

void keycode_353::build_template() {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "+%lld.3", (modulus - 1LL) / 10 * 10 + 9);
    set_prefix_templates(suffix);
}

void keycode_label::set_label_form(int count_digits, char frame_separator) {
    set_count_len(count_digits);
    separator    = frame_separator;
    dummy_prefix = placeholder_prefix;
    build_template();
}

}  // namespace marlix
