// What each finding is called, how grave it is and how it reads.

#include <cstdlib>
#include <iterator>

#include "marlix/edl/detail/edl_support.h"
#include "marlix/edl/document.h"
#include "marlix/internal/table_rows.h"

namespace marlix::edl {

namespace {

using finding_row                    = marlix::detail::finding_row<finding_kind, severity>;
constexpr finding_row finding_rows[] = {
    {finding_kind::none, "none", severity::warning},
    {finding_kind::unknown_rate, "unknown_rate", severity::error},
    {finding_kind::bad_timecode, "bad_timecode", severity::error},
    {finding_kind::record_reversed, "record_reversed", severity::error},
    {finding_kind::zero_length, "zero_length", severity::error},
    {finding_kind::length_mismatch, "length_mismatch", severity::error},
    {finding_kind::speed_mismatch, "speed_mismatch", severity::error},
    {finding_kind::transition_too_long, "transition_too_long", severity::error},
    {finding_kind::reel_too_long, "reel_too_long", severity::error},
    {finding_kind::unreadable_event, "unreadable_event", severity::error},
    {finding_kind::unreadable_motion, "unreadable_motion", severity::error},
    {finding_kind::drop_frame_at_rate, "drop_frame_at_rate", severity::error},
    {finding_kind::record_overlap, "record_overlap", severity::warning},
    {finding_kind::record_gap, "record_gap", severity::warning},
    {finding_kind::out_of_record_order, "out_of_record_order", severity::warning},
    {finding_kind::event_reused, "event_reused", severity::warning},
    {finding_kind::unknown_line, "unknown_line", severity::warning},
    {finding_kind::latin1_text, "latin1_text", severity::warning},
};
static_assert(std::size(finding_rows) == finding_kind_count, "one row per finding kind");
static_assert(marlix::detail::rows_in_order(finding_rows, &finding_row::kind),
              "row i describes finding kind i");

finding_row const* row(finding_kind k) {
    auto const i = static_cast<std::size_t>(k);
    return i < std::size(finding_rows) ? &finding_rows[i] : nullptr;
}

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

severity severity_of(finding_kind k) {
    finding_row const* r = row(k);
    return r != nullptr ? r->level : severity::error;
}

char const* finding_name(finding_kind k) {
    finding_row const* r = row(k);
    return r != nullptr ? r->name : "unknown";
}

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
