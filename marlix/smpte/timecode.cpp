#include "marlix/smpte/timecode.h"

#include <algorithm>
#include <cstring>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/internal/c_number.h"
#include "marlix/internal/digit_pairs.h"
#include "marlix/internal/drop_frame.h"
#include "marlix/internal/narrow32.h"
#include "marlix/smpte/detail/smpte_support.h"
#include "marlix/values/label_point.h"

namespace marlix::smpte {

namespace {

using detail::known;
using detail::refused;
using marlix::detail::fits_long32;
using marlix::detail::is_digit;

// The drop-frame counting of a rate (none dropped without drop-frame).
constexpr marlix::detail::drop_frame_scheme scheme(rate r) {
    return {r.nominal(), r.dropped_per_minute()};
}
static_assert(scheme(rate_29_97_df).frames_per_day() == rate_29_97_df.frames_per_day());
static_assert(scheme(rate_59_94_df).frames_per_day() == rate_59_94_df.frames_per_day());

// Two digits of v (below 100: every field but hours, which wrap or take
// the long path).
char* put2(char* out, std::uint32_t v) { return marlix::detail::put_digit_pair(out, v % 100); }

}  // namespace

result<timecode> read(std::string_view s, rate r, read_options options) {
    if (!known(r)) return refused{error::unknown_rate};
    if (s.empty()) return refused{error::empty};
    std::size_t i       = 0;
    bool const negative = s[0] == '-';
    if (negative) ++i;
    // Hours: two digits, or with any_hours two to nine.
    long long hh                  = 0;
    std::size_t const start       = i;
    std::size_t const hours_limit = std::min(s.size(), start + 9);  // nine digits at most
    while (i < hours_limit && is_digit(s[i])) hh = hh * 10 + (s[i++] - '0');
    std::size_t const hour_digits = i - start;
    if (hour_digits < 2 || (hour_digits > 2 && !options.any_hours)) return refused{error::syntax};
    constexpr int later_fields = 3;  // minutes, seconds, frames
    char sep[later_fields];
    long long field[later_fields];
    for (int k = 0; k < later_fields; ++k) {
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
    long long const frames = scheme(r).frames(hh, mm, ss, ff);
    long long const value  = negative ? -frames : frames;
    if (!fits_long32(value)) return refused{error::out_of_range};
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
    constexpr marlix::detail::drop_frame_scheme counting{N, D};
    constexpr auto day = static_cast<std::uint32_t>(counting.frames_per_day());
    if (wrap_day && m >= day) m %= day;
    if constexpr (D != 0) {
        auto const count         = static_cast<std::uint64_t>(counting.label_count(m));
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
    long long const n = marlix::detail::divisor_of(r.nominal());
    long long v       = m;
    if (wrap_day && r.frames_per_day() > 0) v %= r.frames_per_day();
    v                    = scheme(r).label_count(v);
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
        char digits[sizeof "4294967295"];
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
    // Bounds on the step rather than on the sum: no step, however large,
    // overflows the arithmetic.
    std::int64_t const now = t.frames();
    if (frames < INT32_MIN - now || frames > INT32_MAX - now) return refused{error::out_of_range};
    return {timecode(static_cast<std::int32_t>(now + frames), t.frame_rate()), error::none};
}

result<std::int32_t> duration(timecode in, timecode out) {
    if (!(in.frame_rate() == out.frame_rate())) return refused{error::rate_mismatch};
    long long const d = static_cast<long long>(out.frames()) - in.frames();
    if (!fits_long32(d)) return refused{error::out_of_range};
    return {static_cast<std::int32_t>(d), error::none};
}

}  // namespace marlix::smpte
