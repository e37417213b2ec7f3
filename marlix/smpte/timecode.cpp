#include "marlix/smpte/timecode.h"

#include <charconv>
#include <cstring>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/host/host_services.h"
#include "marlix/internal/digit_pairs.h"
#include "marlix/internal/drop_frame.h"
#include "marlix/internal/narrow32.h"
#include "marlix/values/label_point.h"
#include "marlix/xlate/cadence_tables.h"

namespace marlix::smpte {

namespace {

struct named_rate {
    char const* name;
    rate r;
};
constexpr named_rate known_rates[] = {
    {"23.976", rate_23_976},
    {"24", rate_24},
    {"25", rate_25},
    {"29.97", rate_29_97},
    {"29.97df", rate_29_97_df},
    {"30", rate_30},
    {"47.952", rate_47_952},
    {"48", rate_48},
    {"50", rate_50},
    {"59.94", rate_59_94},
    {"59.94df", rate_59_94_df},
    {"60", rate_60},
};

constexpr bool known(rate r) {
    for (auto const& k : known_rates)
        if (k.r == r) return true;
    return false;
}

constexpr bool fits32(long long v) { return v >= INT32_MIN && v <= INT32_MAX; }

constexpr long long floor_div(long long a, long long b) {
    long long const q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
constexpr long long floor_mod(long long a, long long b) { return a - floor_div(a, b) * b; }

using detail::is_digit;

// A refusal, as a result of any type: its value is the empty one the
// header promises, so that a caller who skips ok() reads no plausible
// rate or position.
template <class T>
constexpr T nothing() {
    return T{};
}
template <>
constexpr rate nothing<rate>() {
    return no_rate;
}
template <>
constexpr timecode nothing<timecode>() {
    return timecode(0, no_rate);
}
struct refused {
    error why;
    template <class T>
    constexpr operator result<T>() const {
        return {nothing<T>(), why};
    }
};

// Frames of a label at a rate, drop-frame counting included.
long long label_frames(long long h, long long m, long long s, long long f, rate r) {
    return detail::drop_frame_frames(h, m, s, f, r.nominal(), r.dropped_per_minute());
}

// The label digits of a non-negative frame count: the count of frames a
// label names, as if no frame number were dropped.
long long label_count(long long frames, rate r) {
    return detail::drop_frame_label_count(frames, r.nominal(), r.dropped_per_minute());
}

// Two digits of v (below 100: every field but hours, which wrap or take
// the long path).
char* put2(char* out, std::uint32_t v) {
    std::memcpy(out, detail::digit_pairs.text + 2 * (v % 100), 2);
    return out + 2;
}

// The film frame on show in a field, and the first field of a film frame,
// from the cadence tables at phase 0 (2:3: A on fields 0-1, B 2-4, C 5-6,
// D 7-9 of each ten).
struct field_cadence {
    cadence_pair pair;
    int film_frames, fields;
};
constexpr field_cadence two_three{cadence_pair::film24_to_60_fields, 4, 10};
constexpr field_cadence pal_24_25{cadence_pair::film24_to_50_fields, 24, 50};

long long film_at_field(field_cadence c, long long field) {
    cadence_table const inverse = cadence_inverse(c.pair);
    return c.film_frames * floor_div(field, c.fields) +
           inverse.at(0, static_cast<int>(floor_mod(field, c.fields)));
}

}  // namespace

char const* error_text(error e) {
    switch (e) {
        case error::none: return "no error";
        case error::empty: return "empty text";
        case error::syntax: return "not a timecode [-]HH:MM:SS:FF";
        case error::field_range: return "field out of range";
        case error::dropped_label:
            return "dropped label: drop-frame counting skips this frame number";
        case error::drop_separator: return "separator marks drop-frame, and the rate is not";
        case error::trailing_text: return "trailing text after the frames";
        case error::out_of_range: return "out of the 32-bit frame range";
        case error::unknown_rate: return "not a known frame rate";
        case error::rate_mismatch: return "timecodes of different rates";
        case error::no_pulldown: return "no pulldown cadence between these rates";
    }
    return "unknown error";
}

result<rate> parse_rate(std::string_view text) {
    char name[24];
    if (text.empty() || text.size() >= sizeof name) return refused{error::unknown_rate};
    std::size_t n = 0;
    for (char c : text) name[n++] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    name[n]       = '\0';
    bool const df = n > 2 && std::strcmp(name + n - 2, "df") == 0;
    if (df) name[n -= 2] = '\0';
    // Fractions name the same rates.
    struct fraction {
        char const* text;
        char const* name;
    };
    static constexpr fraction fractions[] = {
        {"24000/1001", "23.976"}, {"24/1", "24"},           {"25/1", "25"}, {"30000/1001", "29.97"},
        {"30/1", "30"},           {"48000/1001", "47.952"}, {"48/1", "48"}, {"50/1", "50"},
        {"60000/1001", "59.94"},  {"60/1", "60"},
    };
    char const* base = name;
    for (auto const& f : fractions)
        if (std::strcmp(name, f.text) == 0) base = f.name;
    for (auto const& k : known_rates) {
        std::size_t const len = std::strlen(base);
        if (std::strncmp(k.name, base, len) == 0 &&
            (df ? std::strcmp(k.name + len, "df") == 0 : k.name[len] == '\0'))
            return {k.r, error::none};
    }
    return refused{error::unknown_rate};
}

char const* rate_names() {
    static std::string const names = [] {
        std::string out;
        for (auto const& k : known_rates) out += (out.empty() ? "" : " ") + std::string(k.name);
        return out;
    }();
    return names.c_str();
}

char const* rate_name(rate r) {
    for (auto const& k : known_rates)
        if (k.r == r) return k.name;
    return "";
}

label_t converter_type(rate r) {
    if (!known(r) || (r.drop && r.nominal() != 30)) return LABEL_NONE;
    switch (r.nominal()) {
        case 24: return LABEL_TC_24;
        case 25: return LABEL_PAL;
        case 30: return r.drop ? LABEL_NTSC_DROP : LABEL_NTSC;
        case 48: return LABEL_TC_48;
        case 50: return LABEL_TC_50;
        default: return LABEL_TC_60;
    }
}

Tov::FrameRate host_frame_rate(rate r) {
    if (!known(r)) return Tov::FrameRate_None;
    double const fps = static_cast<double>(r.num) / r.den;
    for (int n = Tov::FrameRate_24; n <= Tov::FrameRate_59_94; ++n) {
        auto const host = static_cast<Tov::FrameRate>(n);
        if (Tov::getFramesPerSecond(host) == fps) return host;
    }
    return Tov::FrameRate_None;
}

result<host_rate_choice> parse_host_rate(std::string_view text) {
    if (text.size() > 1 && text[0] == '#') {
        int n                 = 0;
        char const* const end = text.data() + text.size();
        auto const [at, ec]   = std::from_chars(text.data() + 1, end, n);
        auto const host       = static_cast<Tov::FrameRate>(n);
        if (ec != std::errc() || at != end || Tov::getFramesPerSecond(host) <= 0.0)
            return refused{error::unknown_rate};
        return {{host, false}, error::none};
    }
    auto const r = parse_rate(text);
    if (!r) return refused{r.why};
    Tov::FrameRate const host = host_frame_rate(r.value);
    if (host == Tov::FrameRate_None) return refused{error::unknown_rate};
    return {{host, r.value.drop}, error::none};
}

result<timecode> read(std::string_view s, rate r, read_options options) {
    if (!known(r)) return refused{error::unknown_rate};
    if (s.empty()) return refused{error::empty};
    std::size_t i       = 0;
    bool const negative = s[0] == '-';
    if (negative) ++i;
    // Hours: two digits, or with any_hours two to nine.
    long long hh      = 0;
    std::size_t start = i;
    while (i < s.size() && is_digit(s[i]) && i - start < 9) hh = hh * 10 + (s[i++] - '0');
    std::size_t const hour_digits = i - start;
    if (hour_digits < 2 || (hour_digits > 2 && !options.any_hours)) return refused{error::syntax};
    char sep[3];
    long long field[3];  // minutes, seconds, frames
    for (int k = 0; k < 3; ++k) {
        if (i + 3 > s.size() || !is_digit(s[i + 1]) || !is_digit(s[i + 2]))
            return refused{error::syntax};
        sep[k]   = s[i];
        field[k] = (s[i + 1] - '0') * 10 + (s[i + 2] - '0');
        i += 3;
    }
    if (i < s.size()) return refused{is_digit(s[i]) ? error::syntax : error::trailing_text};
    bool const inner_colons  = sep[0] == ':' && sep[1] == ':';
    bool const all_semicolon = sep[0] == ';' && sep[1] == ';' && sep[2] == ';';
    bool const frame_sep_ok  = sep[2] == ':' || sep[2] == ';' || sep[2] == '.' || sep[2] == ',';
    if (!(inner_colons && frame_sep_ok) && !all_semicolon) return refused{error::syntax};
    if (!r.drop && (sep[2] != ':' || all_semicolon)) return refused{error::drop_separator};
    long long const mm = field[0], ss = field[1], ff = field[2];
    if (mm > 59 || ss > 59 || ff >= r.nominal() || (hh > 23 && !options.any_hours))
        return refused{error::field_range};
    if (mm % 10 != 0 && ss == 0 && ff < r.dropped_per_minute())
        return refused{error::dropped_label};
    long long const frames = label_frames(hh, mm, ss, ff, r);
    long long const value  = negative ? -frames : frames;
    if (!fits32(value)) return refused{error::out_of_range};
    return {timecode(static_cast<std::int32_t>(value), r), error::none};
}

namespace {

struct label_fields {
    std::uint32_t hh, mm, ss, ff;
};

// The fields of a frame count's label at N frames a labelled second with D
// frame numbers dropped a minute, with every divisor known when compiled.
template <std::uint32_t N, std::uint32_t D>
label_fields split(std::uint32_t m, bool wrap_day) {
    constexpr std::uint32_t day = 24 * (3600 * N - 54 * D);
    if (wrap_day && m >= day) m %= day;
    if constexpr (D != 0) {
        auto const count = static_cast<std::uint64_t>(detail::drop_frame_label_count(m, N, D));
        std::uint64_t const secs = count / N;
        return {static_cast<std::uint32_t>(secs / 3600), static_cast<std::uint32_t>(secs / 60 % 60),
                static_cast<std::uint32_t>(secs % 60), static_cast<std::uint32_t>(count % N)};
    } else {
        std::uint32_t const secs = m / N;
        return {secs / 3600, secs / 60 % 60, secs % 60, m % N};
    }
}

label_fields split_any(std::uint32_t m, rate r, bool wrap_day) {
    switch (2LL * r.nominal() + (r.drop ? 1 : 0)) {
        case 48: return split<24, 0>(m, wrap_day);
        case 50: return split<25, 0>(m, wrap_day);
        case 60: return split<30, 0>(m, wrap_day);
        case 61: return split<30, 2>(m, wrap_day);
        case 96: return split<48, 0>(m, wrap_day);
        case 100: return split<50, 0>(m, wrap_day);
        case 120: return split<60, 0>(m, wrap_day);
        case 121: return split<60, 4>(m, wrap_day);
        default: break;
    }
    // Another rate: the same arithmetic with divisors read at run time.
    long long const n = r.nominal() < 1 ? 1 : r.nominal();
    long long v       = m;
    if (wrap_day && r.frames_per_day() > 0) v %= r.frames_per_day();
    v                    = label_count(v, r);
    long long const secs = v / n;
    return {static_cast<std::uint32_t>(secs / 3600), static_cast<std::uint32_t>(secs / 60 % 60),
            static_cast<std::uint32_t>(secs % 60), static_cast<std::uint32_t>(v % n)};
}

}  // namespace

std::size_t write(timecode t, char* out, std::size_t size, bool wrap_day) {
    rate const r = t.frame_rate();
    char scratch[text_capacity];
    // Straight into the caller's buffer when it holds any label.
    char* const text        = size >= text_capacity ? out : scratch;
    char* p                 = text;
    std::uint32_t magnitude = static_cast<std::uint32_t>(t.frames());
    if (t.frames() < 0) {
        *p++      = '-';
        magnitude = 0u - magnitude;
    }
    label_fields const f = split_any(magnitude, r, wrap_day);
    if (f.hh < 100) {
        p = put2(p, f.hh);
    } else {  // only without the day's wrap: as many digits as it takes
        char digits[12];
        int k = 0;
        for (std::uint32_t v = f.hh; v != 0; v /= 10) digits[k++] = static_cast<char>('0' + v % 10);
        while (k > 0) *p++ = digits[--k];
    }
    *p++                     = ':';
    p                        = put2(p, f.mm);
    *p++                     = ':';
    p                        = put2(p, f.ss);
    *p++                     = r.drop ? ';' : ':';
    p                        = put2(p, f.ff);
    *p                       = '\0';
    std::size_t const length = static_cast<std::size_t>(p - text);
    if (text != out && size > 0) {
        std::size_t const copied = length < size ? length : size - 1;
        std::memcpy(out, text, copied + 1);
        out[copied] = '\0';
    }
    return length;
}

std::string to_string(timecode t, bool wrap_day) {
    char text[text_capacity];
    std::size_t const n = write(t, text, sizeof text, wrap_day);
    return std::string(text, n);
}

std::string native_text(timecode t) {
    label_t const type = converter_type(t.frame_rate());
    if (type == LABEL_NONE) return "";
    label_cvt* const cvt = get_static_label_cvt(type);
    if (cvt == nullptr) return "";
    label_point point(0, cvt);
    return cvt->get_abs_string(&point, t.frames());
}

result<timecode> add(timecode t, std::int64_t frames) {
    if (frames > INT32_MAX || frames < -static_cast<std::int64_t>(UINT32_MAX))
        return refused{error::out_of_range};
    long long const sum = static_cast<long long>(t.frames()) + frames;
    if (!fits32(sum)) return refused{error::out_of_range};
    return {timecode(static_cast<std::int32_t>(sum), t.frame_rate()), error::none};
}

result<std::int32_t> duration(timecode in, timecode out) {
    if (!(in.frame_rate() == out.frame_rate())) return refused{error::rate_mismatch};
    long long const d = static_cast<long long>(out.frames()) - in.frames();
    if (!fits32(d)) return refused{error::out_of_range};
    return {static_cast<std::int32_t>(d), error::none};
}

std::int64_t pulldown_first_field(std::int64_t film_frame) {
    cadence_table const forward = cadence_forward(cadence_pair::film24_to_60_fields);
    return two_three.fields * floor_div(film_frame, two_three.film_frames) +
           forward.at(0, static_cast<int>(floor_mod(film_frame, two_three.film_frames)));
}

std::int64_t pulldown_film_frame(std::int64_t field) { return film_at_field(two_three, field); }

result<timecode> convert(timecode t, rate to, method m, sync_point sync) {
    rate const from = t.frame_rate();
    if (!known(from) || !known(to)) return refused{error::unknown_rate};
    long long v = t.frames();
    switch (m) {
        case method::frame: break;
        case method::realtime:
            // The frame on show at the instant frame v starts.
            v = floor_div(v * from.den * to.num, static_cast<long long>(from.num) * to.den);
            break;
        case method::pulldown: {
            bool const film_23976 = from == rate_23_976 || to == rate_23_976;
            bool const video_2997 = from.num == 30000 || to.num == 30000;
            bool const film_24    = from == rate_24 || to == rate_24;
            bool const video_30   = from == rate_30 || to == rate_30;
            if (!((film_23976 && video_2997) || (film_24 && video_30)))
                return refused{error::no_pulldown};
            if (from.nominal() == 24) {  // film to video: the first frame showing it
                long long const field = pulldown_first_field(v - sync.film_frame);
                v                     = sync.video_frame + floor_div(field + 1, 2);
            } else {  // video to film: the film frame of the first field
                v = sync.film_frame + pulldown_film_frame(2 * (v - sync.video_frame));
            }
            break;
        }
    }
    if (!fits32(v)) return refused{error::out_of_range};
    return {timecode(static_cast<std::int32_t>(v), to), error::none};
}

result<pulled_frame> pull(std::int64_t video_frame, rate video) {
    if (!known(video)) return refused{error::unknown_rate};
    switch (video.nominal()) {
        case 24: return {{video_frame, false}, error::none};
        case 25: {
            long long const first = film_at_field(pal_24_25, 2 * video_frame);
            return {{first, film_at_field(pal_24_25, 2 * video_frame + 1) != first}, error::none};
        }
        case 30: {
            long long const first = film_at_field(two_three, 2 * video_frame);
            return {{first, film_at_field(two_three, 2 * video_frame + 1) != first}, error::none};
        }
        default: return refused{error::no_pulldown};
    }
}

}  // namespace marlix::smpte
