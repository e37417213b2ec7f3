#include "marlix/cvt/timecode_label.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "marlix/base/wrap32.h"
#include "marlix/host/host_services.h"
#include "marlix/internal/digit_pairs.h"
#include "marlix/internal/drop_frame.h"
#include "marlix/internal/narrow32.h"
#include "marlix/internal/scan_fields.h"
#include "marlix/values/label_point.h"

namespace marlix {

namespace {

constexpr long32 seconds_per_day = 86400;
// The largest rate whose day still counts in 32 bits.
constexpr int max_fps = INT32_MAX / seconds_per_day;

constexpr char template_29[] = "-29.59.59.29";
constexpr char template_49[] = "-29.59.59.49";
constexpr char template_59[] = "-29.59.59.59";

// Drop-frame counting at 29.97: 30 numbers a second, 2 dropped a minute.
constexpr long32 df_frames_per_day = detail::ntsc_drop_frame.frames_per_day();

// Scan formats, item for item as "%d:%d:%d%c%d", "%d:%d%c%d", "%d%c%d" and
// their forms with a leading '-'.
using detail::scan_op;
constexpr scan_op num               = detail::scan_number();
constexpr scan_op colon             = detail::scan_literal(':');
constexpr scan_op sep               = detail::scan_character();
constexpr scan_op minus             = detail::scan_literal('-');
constexpr scan_op pair              = detail::scan_number(2);
constexpr scan_op hmsf_format[]     = {num, colon, num, colon, num, sep, num};
constexpr scan_op msf_format[]      = {num, colon, num, sep, num};
constexpr scan_op sf_format[]       = {num, sep, num};
constexpr scan_op neg_hmsf_format[] = {minus, num, colon, num, colon, num, sep, num};
constexpr scan_op neg_msf_format[]  = {minus, num, colon, num, sep, num};
constexpr scan_op neg_sf_format[]   = {minus, num, sep, num};
constexpr scan_op packed_format[]   = {pair, pair, pair, pair};

// Split of a non-drop sample into its fields. Truncating division nests
// (s / (fps * 60) == s / fps / 60 for either sign), so the fields come from
// one cascade of divisions; at a rate known at compile time each becomes a
// multiplication.
inline void split_into(long32 s, long32 fps, long32 day, int& h, int& m, int& sec, int& f) {
    if (s < 0) s += day;
    if (s >= day) s %= day;
    f                    = s % fps;
    long32 const total_s = s / fps;
    sec                  = total_s % 60;
    long32 const total_m = total_s / 60;
    m                    = total_m % 60;
    h                    = total_m / 60;
}

template <int fps>
timecode_label::hmsf_fields split_fixed(long32 s) {
    timecode_label::hmsf_fields f{};
    split_into(s, fps, fps * seconds_per_day, f.hours, f.minutes, f.seconds, f.frames);
    return f;
}

// Binary-coded decimal of 0..99.
constexpr struct bcd_table_t {
    unsigned char value[100];
    constexpr bcd_table_t() : value{} {
        for (std::size_t i = 0; i < std::size(value); ++i)
            value[i] = static_cast<unsigned char>((i / 10) << 4 | (i % 10));
    }
} bcd_table;

// BCD of a field of a packed word: packed samples lie within the day, so
// every field is in 0..99.
inline unsigned bcd(int v) {
    auto const i = static_cast<std::size_t>(v);  // a negative v wraps past the end
    return i < std::size(bcd_table.value) ? bcd_table.value[i] : 0u;
}

using detail::put_digit_pair;

using detail::is_digit;

// The common text "[blanks]HH:MM:SS?FF" with exactly two digits a field, a
// separator that is not a digit and no digit after the frames: the items the
// full scan assigns are then plain to see. Answers false for any other
// text, which then takes the full scan.
inline bool scan_common(char const* p, long long* f) {
    while (*p == ' ') ++p;
    if (!(is_digit(p[0]) && is_digit(p[1]) && p[2] == ':' && is_digit(p[3]) && is_digit(p[4]) &&
          p[5] == ':' && is_digit(p[6]) && is_digit(p[7]) && p[8] != '\0' && !is_digit(p[8]) &&
          is_digit(p[9]) && is_digit(p[10]) && !is_digit(p[11])))
        return false;
    auto pair_at = [p](int i) { return (p[i] - '0') * 10 + (p[i + 1] - '0'); };
    f[0]         = pair_at(0);
    f[1]         = pair_at(3);
    f[2]         = pair_at(6);
    f[3]         = pair_at(9);
    return true;
}

// Rate of a label type's time values: seconds at the real rate for 25 fps
// and NTSC types, the sample number itself for the others.
double timecode_time_rate(label_t t) {
    switch (t) {
        case LABEL_PAL: return Tov::getFramesPerSecond(Tov::FrameRate_25);
        case LABEL_NTSC:
        case LABEL_NTSC_DROP: return Tov::getFramesPerSecond(Tov::FrameRate_29_97);
        default: return 1.0;
    }
}

char digit(int v) { return static_cast<char>('0' + v); }

}  // namespace

timecode_label::timecode_label(int fps, int flags_)
    : catalogued(std::clamp(fps, 1, max_fps), 1), flags(flags_), frames_per_day(0) {
    init();
}

void timecode_label::init() {
    separator      = '.';
    frames_per_day = modulus * seconds_per_day;
}

void timecode_label::get_abs_hmsf(long32 sample, short& h, short& m, short& s, short& f) {
    hmsf_fields const fields = split(sample);
    h                        = static_cast<short>(fields.hours);
    m                        = static_cast<short>(fields.minutes);
    s                        = static_cast<short>(fields.seconds);
    f                        = static_cast<short>(fields.frames);
}

long32 timecode_label::normalise_sample_unit(long32 s) {
    // Closed form of adding or taking away whole days until the sample lies
    // in [0, frames_per_day]: negative samples land in [0, day), samples
    // beyond a day in (0, day].
    if (s < 0) {
        long32 const r = s % frames_per_day;
        return r < 0 ? r + frames_per_day : 0;
    }
    if (s > frames_per_day) return (s - 1) % frames_per_day + 1;
    return s;
}

long32 timecode_label::get_abs_sample_from_packed_string(char const* s) {
    if (s == nullptr) return INVALID_SAMPLE;
    long long f[4];
    if (detail::scan_fields(s, packed_format, f) != 4) return INVALID_SAMPLE;
    return parsed_sample(f, false);
}

long32 timecode_label::get_sample_span_from_packed_strings(char const* first, char const* second) {
    return normalise_sample_unit(wrap_sub(get_abs_sample_from_packed_string(second),
                                          get_abs_sample_from_packed_string(first)));
}

char const* timecode_label::get_abs_string(label_point* point, long32 sample) {
    return sample_to_string(point, sample);
}

unsigned timecode_label::get_abs_smpte_string(label_point* point, long32 sample) const {
    return sample_to_smpte_string(point, sample);
}

long32 timecode_label::get_abs_sample(double t) {
    double const v = std::floor(timecode_time_rate(type()) * (t + 0.0001));
    if (!(v >= INT32_MIN && v <= INT32_MAX)) return INVALID_SAMPLE;  // NaN fails too
    return static_cast<long32>(v);
}

long32 timecode_label::get_abs_sample(char const* s) {
    if (s == nullptr) return INVALID_SAMPLE;
    bool const negative = s[0] == '-';
    long long f[5];
    if (flags & TC_HOURS) {
        if (!negative && scan_common(s, f)) return parsed_sample(f, false);
        int const n = negative ? detail::scan_fields(s, neg_hmsf_format, f)
                               : detail::scan_fields(s, hmsf_format, f);
        if (n != 5) return INVALID_SAMPLE;
        long long const fields[] = {f[0], f[1], f[2], f[4]};
        return parsed_sample(fields, negative);
    }
    if (flags & TC_MINUTES) {
        int const n = negative ? detail::scan_fields(s, neg_msf_format, f)
                               : detail::scan_fields(s, msf_format, f);
        if (n != 4) return INVALID_SAMPLE;
        long long const fields[] = {0, f[0], f[1], f[3]};
        return parsed_sample(fields, negative);
    }
    if (flags & TC_SECONDS) {
        int const n = negative ? detail::scan_fields(s, neg_sf_format, f)
                               : detail::scan_fields(s, sf_format, f);
        if (n != 3) return INVALID_SAMPLE;
        long long const fields[] = {0, 0, f[0], f[2]};
        return parsed_sample(fields, negative);
    }
    return INVALID_SAMPLE;
}

double timecode_label::get_V2tc(long32 sample) { return sample / timecode_time_rate(type()); }

void timecode_label::build_template() {
    templates[0].set(template_29);
    templates[1].set(template_29);
}

timecode_label::hmsf_fields timecode_label::split(long32 s) const {
    hmsf_fields f{};
    split_into(s, modulus, frames_per_day, f.hours, f.minutes, f.seconds, f.frames);
    return f;
}

void timecode_label::sample_to_hmsf(long32 s) const {
    hmsf_fields const f = split(s);
    hours               = f.hours;
    minutes             = f.minutes;
    seconds             = f.seconds;
    frames              = f.frames;
}

long32 timecode_label::hmsf_to_sample() const {
    return detail::narrow_or_invalid(join_fields(hours, minutes, seconds, frames));
}

long long timecode_label::join_fields(long long h, long long m, long long s, long long f) const {
    // No field is range-checked: minutes 75 or frames 30 at 25 fps just add.
    return ((h * 60 + m) * 60 + s) * modulus + f;
}

long32 timecode_label::parsed_sample(long long const* f, bool negative) const {
    // Fields that do not fit 32 bits, and samples that do not, have no
    // 32-bit answer: they give INVALID_SAMPLE rather than a wrapped number.
    for (int i = 0; i < 4; ++i)
        if (!detail::fits_long32(f[i])) return INVALID_SAMPLE;
    long long const v = join_fields(f[0], f[1], f[2], f[3]);
    return detail::narrow_or_invalid(negative ? -v : v);
}

char const* timecode_label::sample_to_string(label_point* point, long32 sample) {
    if (is_special_sample(sample)) return get_invalid_string(point, sample);
    char* out = point->text_buffer;
    // The magnitude of a negative sample, reduced to within a day so that
    // even the most negative 32-bit sample splits without overflow.
    std::uint32_t magnitude = static_cast<std::uint32_t>(sample);
    if (sample < 0) {
        *out++    = '-';
        magnitude = 0u - magnitude;
    } else {
        *out++ = ' ';
    }
    if (magnitude >= static_cast<std::uint32_t>(frames_per_day))
        magnitude %= static_cast<std::uint32_t>(frames_per_day);
    auto const [hh, mm, ss, ff] = split(static_cast<long32>(magnitude));

    if (flags == TC_ALL_FIELDS && hh < 100 && ff < 100) {  // two digits a field
        out    = put_digit_pair(out, static_cast<unsigned>(hh));
        *out++ = ':';
        out    = put_digit_pair(out, static_cast<unsigned>(mm));
        *out++ = ':';
        out    = put_digit_pair(out, static_cast<unsigned>(ss));
        *out++ = separator;
        out    = put_digit_pair(out, static_cast<unsigned>(ff));
        *out   = '\0';
        return point->text_buffer;
    }
    bool larger = false;  // a larger field was written: write the rest in full
    if ((flags & TC_HOURS) || hh >= 10) *out++ = digit(hh / 10);
    if ((flags & TC_HOURS) || hh > 0) {
        *out++ = digit(hh % 10);
        *out++ = ':';
        larger = true;
    }
    if (larger || (flags & TC_MINUTES) || mm >= 10) *out++ = digit(mm / 10);
    if (larger || (flags & TC_MINUTES) || mm > 0) {
        *out++ = digit(mm % 10);
        *out++ = ':';
        larger = true;
    }
    if (larger || (flags & TC_SECONDS) || ss >= 10) *out++ = digit(ss / 10);
    if (larger || (flags & TC_SECONDS) || ss > 0) {
        *out++ = digit(ss % 10);
    } else if (!(flags & TC_FRAMES)) {
        *out = '\0';
        return point->text_buffer;
    }
    *out++ = separator;
    *out++ = digit(ff / 10);
    *out++ = digit(ff % 10);
    *out   = '\0';
    return point->text_buffer;
}

unsigned timecode_label::sample_to_smpte_string(label_point*, long32 sample) const {
    if (is_special_sample(sample) || sample < 0) return 0;
    auto const [hh, mm, ss, ff] = split(sample);
    // Each field packs its tens and units digits as nibbles. Above 99 ff
    // (rates beyond 100 fps) the frame tens still fit their nibble up to
    // frame 159; a label with more ff has no word and packs as 0.
    if (ff >= 160) return 0;
    unsigned const frame_bits =
        ff < 100 ? bcd(ff) : static_cast<unsigned>(ff / 10) << 4 | static_cast<unsigned>(ff % 10);
    unsigned const word = bcd(hh) << 24 | bcd(mm) << 16 | bcd(ss) << 8 | frame_bits;
    return word | smpte_flag_bits;
}

ntsc_drop_label::ntsc_drop_label(int flags_) : catalogued(30, flags_) {
    separator       = ';';
    smpte_flag_bits = smpte_drop_frame_bit;
    frames_per_day  = df_frames_per_day;
    build_template();
}

long32 ntsc_drop_label::get_abs_sample(char const* s) {
    if (s == nullptr) return INVALID_SAMPLE;
    if (s[0] == '-') return 0;
    long long f[5];
    if (scan_common(s, f)) return parsed_sample(f, false);
    if (detail::scan_fields(s, hmsf_format, f) != 5) return INVALID_SAMPLE;
    long long const fields[] = {f[0], f[1], f[2], f[4]};
    return parsed_sample(fields, false);
}

timecode_label::hmsf_fields ntsc_drop_label::split(long32 s) const {
    if (s < 0) s += frames_per_day;
    if (s >= frames_per_day) s %= frames_per_day;
    long long const count = detail::ntsc_drop_frame.label_count(s);
    long long const secs  = count / 30;
    return {static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
            static_cast<int>(secs % 60), static_cast<int>(count % 30)};
}

long long ntsc_drop_label::join_fields(long long h, long long m, long long s, long long f) const {
    // A dropped number (00 or 01 of a dropping minute) is not refused: it
    // counts back into the previous minute.
    return detail::ntsc_drop_frame.frames(h, m, s, f);
}

template <int fps>
timecode_rate<fps>::timecode_rate(int flags_) : timecode_label(fps, flags_) {
    if (fps % 24 == 0) separator = '+';
    build_template();
}

// The widest frame number of the rate: 29 up to 30 fps, 49 up to 50, 59
// beyond.
template <int fps>
void timecode_rate<fps>::build_template() {
    char const* const text = fps <= 30 ? template_29 : fps <= 50 ? template_49 : template_59;
    templates[0].set(text);
    templates[1].set(text);
}

template <int fps>
timecode_label::hmsf_fields timecode_rate<fps>::split(long32 s) const {
    return split_fixed<fps>(s);
}

// The rates of the six whole-frame classes.
template class timecode_rate<24>;
template class timecode_rate<25>;
template class timecode_rate<30>;
template class timecode_rate<48>;
template class timecode_rate<50>;
template class timecode_rate<60>;

}  // namespace marlix
