#include "marlix/front/timecode_text.h"

namespace marlix::front {

namespace {

constexpr std::string_view blanks = " \t\r\n\v\f";

// n modulo a positive day, in [0, day).
std::int64_t on_clock(std::int64_t n, std::int64_t day) {
    std::int64_t const m = n % day;
    return m < 0 ? m + day : m;
}

}  // namespace

std::string_view trim_blanks(std::string_view text) {
    std::size_t const first = text.find_first_not_of(blanks);
    if (first == text.npos) return text.substr(text.size());
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

smpte::result<smpte::timecode> read_timecode(std::string_view text, smpte::rate r,
                                             smpte::read_options options) {
    return smpte::read(trim_blanks(text), r, options);
}

smpte::result<smpte::timecode> add_on_clock(smpte::timecode t, std::int64_t frames, bool wrap_day) {
    std::int64_t const day = t.frame_rate().frames_per_day();
    if (!wrap_day || day <= 0) return smpte::add(t, frames);
    std::int64_t const at = on_clock(on_clock(t.frames(), day) + on_clock(frames, day), day);
    return {smpte::timecode(static_cast<std::int32_t>(at), t.frame_rate()), smpte::error::none};
}

smpte::result<std::int32_t> clock_duration(smpte::timecode in, smpte::timecode out,
                                           bool signed_count) {
    auto const d           = smpte::duration(in, out);
    std::int64_t const day = in.frame_rate().frames_per_day();
    if (signed_count || !d || d.value >= 0 || day <= 0) return d;
    return {static_cast<std::int32_t>(on_clock(d.value, day)), smpte::error::none};
}

}  // namespace marlix::front
