#include "marlix/front/names.h"

#include <charconv>
#include <iterator>
#include <string>
#include <utility>
#include <version>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/front/labeller.h"
#include "marlix/front/shown_text.h"
#include "marlix/host/host_services.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/c_double.h"
#include "marlix/internal/narrow32.h"
#include "marlix/internal/test_hooks.h"
#include "marlix/smpte/timecode.h"

namespace marlix {

// Where the standard library has no std::from_chars for double: the same
// grammar and range, read without it. Built everywhere, so that the tests
// hold it to from_chars where the library has both.
bool detail::looks_numeric_by_grammar(std::string_view text) {
    c_double const r = read_from_chars_double(text);
    return r.length != 0 && r.in_range;
}

namespace front {

namespace {

// Whether text is a decimal number, as a frame rate would be written: it
// starts with one that std::from_chars reads into a double in range.
bool looks_numeric(std::string_view text) {
#if defined(__cpp_lib_to_chars)
    double v{};
    auto const r = std::from_chars(text.data(), text.data() + text.size(), v);
    return r.ec == std::errc() && r.ptr != text.data();
#else
    return detail::looks_numeric_by_grammar(text);
#endif
}

}  // namespace

result<label_t> find_label_type(std::string_view text) {
    if (text.size() > 1 && text[0] == '#') {
        int n            = -1;
        auto const r     = std::from_chars(text.data() + 1, text.data() + text.size(), n);
        bool const whole = r.ec == std::errc() && r.ptr == text.data() + text.size();
        if (whole && n >= 0 && n < label_type_count) return {static_cast<label_t>(n)};
        return {LABEL_NONE, reason::bad_catalogue_number};
    }
    if (auto const r = smpte::parse_rate(text); r.ok()) {
        label_t const t = smpte::converter_type(r.value);
        if (t == LABEL_NONE) return {LABEL_NONE, reason::rate_without_converter};
        return {t};
    }
    for (int t = 0; t < label_type_count; ++t)
        if (text == label_type_class_name(static_cast<label_t>(t)))
            return {static_cast<label_t>(t)};
    // The EDL reader takes a name followed by more text; a type name is the
    // whole text, so blanks and longer texts are refused here.
    if (!text.empty() && text.size() <= 11 && text.find_first_of(" \t\n\v\f\r") == text.npos &&
        text.find('\0') == text.npos) {
        char name[12] = {};
        text.copy(name, text.size());
        if (label_t const t = edlstr_to_label_type(name); t != LABEL_NONE) return {t};
    }
    return {LABEL_NONE, looks_numeric(text) ? reason::not_a_rate : reason::unknown_label_type};
}

result<label_t> find_converter_type(std::string_view text) {
    auto const found = find_label_type(text);
    if (found && !has_own_converter(found.value)) return {LABEL_NONE, reason::no_converter};
    return found;
}

bool is_host_rate(long long n) {
    return n >= 0 && detail::fits_long32(n) &&
           Tov::getFramesPerSecond(static_cast<Tov::FrameRate>(n)) > 0.0;
}

result<host_rate_choice> find_host_rate(std::string_view text) {
    if (text.size() > 1 && text[0] == '#') {
        int n                 = 0;
        char const* const end = text.data() + text.size();
        auto const [at, ec]   = std::from_chars(text.data() + 1, end, n);
        if (ec != std::errc() || at != end || !is_host_rate(n)) return {{}, reason::unknown_rate};
        return {{static_cast<Tov::FrameRate>(n), false}};
    }
    auto const r = smpte::parse_rate(text);
    if (!r) return {{}, reason::unknown_rate};
    Tov::FrameRate const host = smpte::host_frame_rate(r.value);
    if (host == Tov::FrameRate_None) return {{}, reason::unknown_rate};
    return {{host, r.value.drop}};
}

namespace {

// The transfers users name.
constexpr std::pair<std::string_view, transfer_type> transfer_names[] = {
    {"none", transfer_none}, {"frame", transfer_frame_for_frame}, {"pulldown", transfer_cadence}};

}  // namespace

result<transfer_type> find_transfer(std::string_view text) {
    for (auto const& [name, t] : transfer_names)
        if (text == name) return {t};
    long long n           = -1;
    char const* const end = text.data() + text.size();
    auto const [at, ec]   = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || at != end) return {{}, reason::unknown_transfer};
    return transfer_numbered(n);
}

result<transfer_type> transfer_numbered(long long n) {
    if (n < 0 || n > max_transfer_number) return {{}, reason::unknown_transfer};
    return {static_cast<transfer_type>(n)};
}

result<MediumRollMedium> find_medium(std::string_view text) {
    MediumRollMedium m{};
    std::string const name(text);  // the medium table reads a terminated name
    if (name.find('\0') != name.npos || !marlix::find_medium(name.c_str(), m))
        return {{}, reason::unknown_medium};
    return {m};
}

result<cadence_pair> find_cadence(std::string_view text) {
    cadence_pair p{};
    if (!find_cadence_pair(text, p)) return {{}, reason::unknown_cadence};
    return {p};
}

namespace {

// The short text of each reason, in the enumeration's order.
constexpr char const* reason_texts[] = {
    "no error",
    "not a label type",
    "not a catalogue number",
    "59.94 drop-frame timecode has no label converter",
    "not a frame rate",
    "no converter of its own",
    "timecode fields of a type that is no timecode",
    "no memory for a converter",
    "does not read as a label of the type",
    "the prefix is shorter than the type's prefix",
    "the two types have prefixes of different lengths",
    "not a known frame rate",
    "not a transfer: none, frame, pulldown or a number 0..99",  // max_transfer_number
    "not a medium",
    "not a cadence FILM-RATE:VIDEO: 24 or 48, then 25p, 25i, 30p, 30i, 50p or 60p",
    "no translation",
    "the prefix holds a blank or a colon and would not read back",
    "not a keep string of a label type with a converter",
    "text after the keep string's last field",
    "the keep string's start is no label of its type (it would read as another)",
    "the length is negative",
    "the length is not a whole number of frames, which the keep string stores",
    "the start lies inside a frame, and its label names the frame",
    "the label has no roll prefix of its own",
    "the keep string would read back as another label",
    "not a label of the type",
    "not a prefix of the type",
    "not a keycode type",
    "no film pull at this video rate",
    "not a sync point: '=' joins its two sides",
    "the sync point's keycode is not a label of the stock",
    "the sync point's film timecode is invalid",
    "the sync point's video timecode is invalid",
    "the timecode is not at the video rate",
    "the film frame lies outside the sync point's roll",
    "the stock has no footage or ink type of its gauge",
    "the footage or ink number at the sync point is not a label of its type",
    "the footage or ink number lies outside the 32-bit count",
};
static_assert(std::size(reason_texts) == reason_count, "a text for every reason");
static_assert(max_transfer_number == 99, "the transfer reason's text names the limit");

// "4 samples a frame": what a type's converter counts in one unit.
std::string per_frame(label_t type) {
    return std::to_string(facts_of(type).samples_per_unit) + " samples a frame";
}

}  // namespace

char const* reason_text(reason why) {
    auto const n = static_cast<std::size_t>(why);
    return n < std::size(reason_texts) ? reason_texts[n] : "unknown reason";
}

std::string type_name(label_t type) {
    char const* const known = label_type_class_name(type);
    return known != nullptr ? known : "#" + std::to_string(static_cast<int>(type));
}

std::string describe(reason why, std::string_view subject, label_t type) {
    std::string const quoted = front::quoted(subject);
    std::string const detail = subject.empty() ? "" : ": " + std::string(subject);
    std::string const named  = type_name(type);
    switch (why) {
        case reason::unknown_label_type: return quoted + " is not a label type";
        case reason::bad_catalogue_number:
            return quoted + ": a catalogue number is #0 to #" +
                   std::to_string(label_type_count - 1);
        case reason::rate_without_converter: return quoted + ": " + reason_text(why);
        case reason::not_a_rate:
            return quoted + " is not a frame rate (" + smpte::rate_names() + ")";
        case reason::no_converter:
            return "label type #" + std::to_string(static_cast<int>(type)) + " (" + named +
                   ") has no converter of its own";
        case reason::fields_not_timecode:
            return (subject.empty() ? std::string("timecode fields apply")
                                    : std::string(subject) + " applies") +
                   " to timecode types, not " + named;
        case reason::unreadable: return "does not read as a label of type " + named;
        case reason::negative_length: return "length " + std::string(subject) + " is negative";
        case reason::length_not_whole_frames:
            return "length " + std::string(subject) + " is not a whole number of frames of " +
                   named + " (" + per_frame(type) + "), which the keep string stores";
        case reason::start_not_on_frame:
            return "start " + std::string(subject) + " lies inside a frame of " + named + " (" +
                   per_frame(type) + "), and its label names the frame only";
        case reason::prefix_needed:
            return "labels of type " + named + " need the roll's prefix: the keep string would " +
                   "store another roll's, or the placeholder";
        case reason::malformed_label: return "not a label of type " + named + detail;
        case reason::malformed_prefix: return "not a prefix of type " + named + detail;
        case reason::no_translation:
        case reason::sync_film_timecode:
        case reason::sync_video_timecode:
        case reason::outside_roll: return reason_text(why) + detail;
        case reason::not_keycode_stock: return named + " is not a keycode type";
        case reason::no_film_pull:
            return "no film pull at " + std::string(subject) +
                   ": 29.97 and 30 pull 2:3, 59.94 and 60 2:3 frame by frame, 25 the 24:25 "
                   "cadence, 23.976 and 24 one film frame a video frame";
        case reason::not_a_sync_point:
            return subject.empty() ? reason_text(why) : "a sync point is " + std::string(subject);
        case reason::sync_keycode:
            return "the sync point's keycode is not a label of type " + named + detail;
        case reason::no_gauge_count:
            return named + " has no " + std::string(subject) + " type of its gauge";
        case reason::sync_count: return "not a label of type " + named + detail;
        default: return reason_text(why);
    }
}

std::optional<smpte::method> find_method(std::string_view text) {
    if (text == "realtime") return smpte::method::realtime;
    if (text == "frame") return smpte::method::frame;
    if (text == "pulldown") return smpte::method::pulldown;
    return std::nullopt;
}

}  // namespace front
}  // namespace marlix
