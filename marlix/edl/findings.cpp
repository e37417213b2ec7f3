// What each finding is called, how grave it is and how it reads.

#include <cstdlib>
#include <iterator>

#include "marlix/edl/detail/edl_support.h"
#include "marlix/edl/document.h"
#include "marlix/internal/table_rows.h"

namespace marlix::edl {

namespace {

// The kinds' names, in the enumeration's order.
constexpr char const* finding_names[] = {
    "none",           "unknown_rate",     "bad_timecode",        "record_reversed",
    "zero_length",    "length_mismatch",  "speed_mismatch",      "transition_too_long",
    "reel_too_long",  "unreadable_event", "unreadable_motion",   "drop_frame_at_rate",
    "record_overlap", "record_gap",       "out_of_record_order", "event_reused",
    "unknown_line",   "latin1_text"};
static_assert(std::size(finding_names) == finding_kind_count, "a name for every finding kind");

std::string number(long long v) { return std::to_string(v); }

std::string timecode_text(std::int64_t frames, smpte::rate r) {
    return smpte::to_string(smpte::timecode(static_cast<std::int32_t>(frames), r));
}

std::string channel_name(std::int32_t c) { return c == 0 ? "V" : "A" + number(c); }

}  // namespace

std::string detail::speed_text(std::int32_t tenths) {
    std::string const sign = tenths < 0 ? "-" : "";
    long long const v      = std::abs(static_cast<long long>(tenths));
    return sign + number(v / 10) + "." + number(v % 10);
}

// After none (a warning), the enumeration lists the errors, then the
// warnings to its end.
severity severity_of(finding_kind k) {
    bool const warning = k == finding_kind::none || (k >= finding_kind::record_overlap &&
                                                     static_cast<int>(k) < finding_kind_count);
    return warning ? severity::warning : severity::error;
}

char const* finding_name(finding_kind k) { return marlix::detail::name_in(finding_names, k); }

bool document::ok() const {
    for (finding const& f : findings)
        if (f.level() == severity::error) return false;
    return true;
}

std::string describe(finding const& f) {
    static constexpr char const* fields[] = {"source in", "source out", "record in", "record out",
                                             "M2 entry"};
    switch (f.kind) {
        case finding_kind::none: return "no finding";
        case finding_kind::unknown_rate: return "not a frame rate timecodes count";
        case finding_kind::bad_timecode: {
            auto const which = static_cast<std::size_t>(f.which);
            return std::string(which < std::size(fields) ? fields[which] : "timecode") + " at " +
                   smpte::rate_name(f.rate) + ": " + smpte::error_text(f.tc_error);
        }
        case finding_kind::record_reversed:
            return "record in " + timecode_text(f.first, f.rate) + " is after record out " +
                   timecode_text(f.second, f.rate);
        case finding_kind::zero_length:
            return "record in equals record out (" + timecode_text(f.first, f.rate) +
                   ") outside a transition or key";
        case finding_kind::length_mismatch:
            return "source length " + number(f.first) + " differs from record length " +
                   number(f.second) + ", and no M2 explains it";
        case finding_kind::speed_mismatch:
            return "M2 speed " + detail::speed_text(f.which) + " explains no source length of " +
                   number(f.first) + " over " + number(f.second) + " record frames";
        case finding_kind::transition_too_long:
            return "transition of " + number(f.first) + " frames is longer than its edit's " +
                   number(f.second);
        case finding_kind::reel_too_long:
            return "reel name of " + number(f.first) + " characters is longer than 128";
        case finding_kind::unreadable_event:
            return std::string("event line does not read: ") + f.what;
        case finding_kind::unreadable_motion:
            return std::string("M2 line does not read: ") + f.what;
        case finding_kind::drop_frame_at_rate:
            return std::string("FCM: DROP FRAME at ") + f.what + ", which has no drop-frame count";
        case finding_kind::record_overlap:
            return channel_name(f.channel) + ": overlaps the edit before by " + number(f.first) +
                   " frames";
        case finding_kind::record_gap:
            return channel_name(f.channel) + ": gap of " + number(f.first) +
                   " frames after the edit before";
        case finding_kind::out_of_record_order: return "recorded before the event above";
        case finding_kind::event_reused:
            return "event number used again away from its event's lines";
        case finding_kind::unknown_line: return "line not understood, kept as a comment";
        case finding_kind::latin1_text:
            return "not UTF-8: read as ISO-8859-1, written back as UTF-8";
    }
    return "unknown finding";
}

}  // namespace marlix::edl
