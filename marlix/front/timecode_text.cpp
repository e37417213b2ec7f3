#include "marlix/front/timecode_text.h"

namespace marlix::front {

namespace {

constexpr std::string_view blanks = " \t\r\n\v\f";

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

}  // namespace marlix::front
