// Rates by name: the table of known rates, their names and fractions, and
// what each is to the converters and the host.

#include <cstdio>
#include <cstring>
#include <string>

#include "marlix/host/host_services.h"
#include "marlix/internal/ascii.h"
#include "marlix/smpte/detail/smpte_support.h"
#include "marlix/smpte/timecode.h"

namespace marlix::smpte {

using detail::known;
using detail::known_rates;
using detail::refused;

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
    char name[sizeof "-2147483648/-2147483648"];  // the longest fraction
    if (text.empty() || text.size() >= sizeof name || text.find('\0') != text.npos)
        return refused{error::unknown_rate};
    std::size_t n = 0;
    for (char c : text) name[n++] = marlix::detail::to_lower(c);
    name[n]       = '\0';
    bool const df = n > 2 && std::strcmp(name + n - 2, "df") == 0;
    if (df) name[n -= 2] = '\0';
    for (auto const& k : known_rates) {
        if (k.r.drop != df) continue;
        // The name without its "df", or the fraction num/den.
        std::size_t const len = std::strlen(k.name) - (df ? 2 : 0);
        if (std::strlen(name) == len && std::strncmp(k.name, name, len) == 0)
            return {k.r, error::none};
        char fraction[sizeof name];
        std::snprintf(fraction, sizeof fraction, "%d/%d", k.r.num, k.r.den);
        if (std::strcmp(name, fraction) == 0) return {k.r, error::none};
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

}  // namespace marlix::smpte
