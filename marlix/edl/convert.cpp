// A list moved to another rate: every timecode through one rule per side
// (record, and each source reel), lengths that depend on the record in
// counted from it, and the checks run again over the result.

#include "marlix/edl/convert.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "marlix/edl/detail/edl_support.h"
#include "marlix/front/pull.h"

namespace marlix::edl {

namespace {

constexpr std::int32_t max_transition_frames = 99999;  // five digits
constexpr std::int32_t max_speed_tenths      = 99999;  // 9999.9 fps, as M2 lines print

// How the frames of a side move.
enum class move_kind { keep_frames, realtime, pulldown, keep_timecode };

struct side {
    move_kind how = move_kind::keep_frames;
    smpte::sync_point sync;
};

// Findings the checks across lines give, which the new list gets afresh.
bool from_checks(finding_kind k) {
    switch (k) {
        case finding_kind::record_reversed:
        case finding_kind::zero_length:
        case finding_kind::length_mismatch:
        case finding_kind::speed_mismatch:
        case finding_kind::transition_too_long:
        case finding_kind::record_overlap:
        case finding_kind::record_gap:
        case finding_kind::out_of_record_order:
        case finding_kind::event_reused: return true;
        case finding_kind::none:
        case finding_kind::unknown_rate:
        case finding_kind::bad_timecode:
        case finding_kind::reel_too_long:
        case finding_kind::unreadable_event:
        case finding_kind::unreadable_motion:
        case finding_kind::drop_frame_at_rate:
        case finding_kind::unknown_line:
        case finding_kind::latin1_text: return false;
    }
    return false;
}

// v * num / den rounded half away from zero; den > 0.
std::int64_t scale_rounded(std::int64_t v, std::int64_t num, std::int64_t den) {
    std::int64_t const p = std::abs(v) * num;
    std::int64_t const q = (2 * p + den) / (2 * den);
    return v < 0 ? -q : q;
}

class converter {
public:
    converter(document const& doc, convert_options const& o) : in_(doc), o_(o) {}
    conversion run();

private:
    document const& in_;
    convert_options const& o_;
    conversion out_;
    side record_;
    bool counts_kept_ = true;  // frame counts and lengths stay as they are

    bool refuse(convert_error e, edit const* at = nullptr) {
        out_.why = e;
        if (at != nullptr) {
            out_.event = at->event;
            out_.line  = at->line;
        }
        return false;
    }
    smpte::result<smpte::timecode> move(smpte::timecode t, side const& s) const;
    bool place(smpte::timecode t, side const& s, edit const& at, smpte::timecode& into);
    // A length counted from the record in, moved with the record side.
    bool length_from(smpte::timecode in, smpte::timecode in_moved, std::int64_t frames,
                     edit const& at, std::int64_t& into);
    bool source_side(edit const& e, side& into);
    bool convert_edit(edit& e);
    void rewrite_split_lines(edit const& before, edit& e, std::int64_t delay_moved);
    void set_frame_code_modes();
};

smpte::result<smpte::timecode> converter::move(smpte::timecode t, side const& s) const {
    switch (s.how) {
        case move_kind::keep_frames: return {smpte::timecode(t.frames(), o_.to)};
        case move_kind::keep_timecode: return {t};
        case move_kind::realtime: return smpte::convert(t, o_.to, smpte::method::realtime);
        case move_kind::pulldown: return smpte::convert(t, o_.to, smpte::method::pulldown, s.sync);
    }
    return {t};
}

// The new position of t, which must label a frame of the day.
bool converter::place(smpte::timecode t, side const& s, edit const& at, smpte::timecode& into) {
    auto const moved = move(t, s);
    if (!moved || moved.value.frames() < 0 ||
        moved.value.frames() >= moved.value.frame_rate().frames_per_day())
        return refuse(convert_error::outside_day, &at);
    into = moved.value;
    return true;
}

bool converter::length_from(smpte::timecode in, smpte::timecode in_moved, std::int64_t frames,
                            edit const& at, std::int64_t& into) {
    if (counts_kept_ || frames == 0) {
        into = frames;
        return true;
    }
    auto const end   = smpte::add(in, frames);
    auto const moved = end ? move(end.value, record_) : end;
    if (!moved) return refuse(convert_error::outside_day, &at);
    into = std::int64_t{moved.value.frames()} - in_moved.frames();
    return true;
}

bool converter::source_side(edit const& e, side& into) {
    if (record_.how != move_kind::pulldown) {
        into = record_;
        return true;
    }
    if (o_.keep_sources) {
        into.how = move_kind::keep_timecode;
        return true;
    }
    std::string_view const reel = in_.text(e.reel);
    for (reel_sync const& r : o_.reel_syncs)
        if (r.reel == reel) {
            into.how  = move_kind::pulldown;
            into.sync = r.sync;
            return true;
        }
    out_.reel = std::string(reel);
    return refuse(convert_error::no_reel_sync, &e);
}

bool converter::convert_edit(edit& e) {
    edit const before = e;
    side source;
    if (!source_side(e, source)) return false;
    if (!place(before.record_in, record_, e, e.record_in) ||
        !place(before.record_out, record_, e, e.record_out) ||
        !place(before.source_in, source, e, e.source_in))
        return false;
    std::int64_t const record_was =
        std::int64_t{before.record_out.frames()} - before.record_in.frames();
    std::int64_t const record_now = std::int64_t{e.record_out.frames()} - e.record_in.frames();
    if (record_was > 0 && record_now <= 0) return refuse(convert_error::edit_vanishes, &e);

    // Speeds keep their multiple of the rate wherever the sources move.
    std::int32_t const fps_was = before.record_in.frame_rate().nominal();
    std::int32_t const fps_now = o_.to.nominal();
    if (e.has_motion && source.how != move_kind::keep_timecode) {
        std::int64_t const speed = scale_rounded(before.speed.speed_tenths, fps_now, fps_was);
        if (speed > max_speed_tenths || speed < -max_speed_tenths)
            return refuse(convert_error::speed_too_fast, &e);
        e.speed.speed_tenths = static_cast<std::int32_t>(speed);
        if (!place(before.speed.entry, source, e, e.speed.entry)) return false;
    }

    std::int64_t const source_was =
        std::int64_t{before.source_out.frames()} - before.source_in.frames();
    if (source.how == move_kind::keep_timecode || counts_kept_) {
        if (!place(before.source_out, source, e, e.source_out)) return false;
        // Frame for frame, a speed that printed to 0.1 fps may explain the
        // kept span only a tenth away.
        if (e.has_motion && counts_kept_) {
            std::int64_t const span    = std::abs(source_was);
            std::int32_t const nearest = e.speed.speed_tenths;
            for (std::int32_t const step : {0, -1, 1}) {
                std::int64_t const v = std::int64_t{nearest} + step;
                if (v < -max_speed_tenths || v > max_speed_tenths) continue;
                if (detail::span_explained(span, record_now, static_cast<std::int32_t>(v),
                                           fps_now)) {
                    e.speed.speed_tenths = static_cast<std::int32_t>(v);
                    break;
                }
            }
        }
    } else {
        // The source out follows the record length: at normal speed the
        // same count, under M2 the span the speed gives.
        std::int64_t span           = record_now;
        std::int64_t const span_was = std::abs(source_was);
        if (e.has_motion && span_was != record_was && record_now > 0) {
            std::int64_t const v = std::abs(std::int64_t{e.speed.speed_tenths});
            span                 = (record_now - 1) * v / (10LL * fps_now) + 1;
        }
        auto const out = smpte::add(e.source_in, source_was < 0 ? -span : span);
        if (!out || out.value.frames() < 0 || out.value.frames() >= o_.to.frames_per_day())
            return refuse(convert_error::outside_day, &e);
        e.source_out = out.value;
    }

    std::int64_t frames = 0;
    if (!length_from(before.record_in, e.record_in, before.how.frames, e, frames)) return false;
    if (frames > max_transition_frames) return refuse(convert_error::length_too_long, &e);
    e.how.frames = static_cast<std::int32_t>(frames < 0 ? 0 : frames);
    if (e.has_split) {
        std::int64_t delay = 0;
        if (!length_from(before.record_in, e.record_in, before.split.frames, e, delay))
            return false;
        if (delay < 0 || delay >= o_.to.frames_per_day())
            return refuse(convert_error::outside_day, &e);
        rewrite_split_lines(before, e, delay);
    }

    // The exact new length: record_was * (to / from), in lowest terms.
    if (!counts_kept_) {
        smpte::rate const from = before.record_in.frame_rate();
        std::int64_t num       = std::int64_t{from.den} * o_.to.num;
        std::int64_t den       = std::int64_t{from.num} * o_.to.den;
        std::int64_t const g   = std::gcd(num, den);
        num /= g;
        den /= g;
        std::int64_t exact = record_was * num;
        if (record_now * den != exact) {
            std::int64_t const h = std::gcd(exact, den);
            out_.changed.push_back({e.event, e.line, static_cast<std::int32_t>(record_was),
                                    static_cast<std::int32_t>(record_now), exact / h, den / h});
        }
    }
    return true;
}

// The delay's timecode ends each SPLIT: line of the edit; it is written
// again at the new rate.
void converter::rewrite_split_lines(edit const& before, edit& e, std::int64_t delay_moved) {
    constexpr std::size_t tc_size = 11;  // HH:MM:SS:FF
    document& doc                 = out_.doc;
    std::size_t const end = std::min(std::size_t{e.first_line} + e.line_count, doc.lines.size());
    for (std::size_t k = e.first_line; k < end; ++k) {
        kept_line& l = doc.lines[k];
        if (l.kind != line_kind::split) continue;
        std::string const text(doc.text(l.text));
        if (text.size() < tc_size) continue;
        // Only the edit's own delay is known; another line keeps its text.
        char label[tc_size];
        std::memcpy(label, text.data() + text.size() - tc_size, tc_size);
        label[2] = label[5] = label[8] = ':';
        auto const was =
            smpte::read(std::string_view(label, tc_size), before.record_in.frame_rate());
        if (!was || was.value.frames() != before.split.frames) continue;
        std::string const now =
            text.substr(0, text.size() - tc_size) +
            smpte::to_string(smpte::timecode(static_cast<std::int32_t>(delay_moved), o_.to));
        l.text = {static_cast<std::uint32_t>(doc.body.size()),
                  static_cast<std::uint32_t>(now.size())};
        doc.body += now;
    }
    e.split.frames = static_cast<std::int32_t>(delay_moved);
}

// Every FCM: line gives the new mode; at a rate with both modes the list
// opens with one, so that it reads back whichever mode the reader assumes.
void converter::set_frame_code_modes() {
    document& doc = out_.doc;
    for (kept_line& l : doc.lines)
        if (l.kind == line_kind::frame_code_mode) l.value = o_.to.drop ? 1 : 0;
    if (*smpte::rate_name(smpte::rate{o_.to.num, o_.to.den, true}) == '\0') return;
    bool opened = false;
    for (std::size_t k = 0; k < doc.header_lines(); ++k)
        opened = opened || doc.lines[k].kind == line_kind::frame_code_mode;
    if (opened) return;
    char const* const text = o_.to.drop ? "FCM: DROP FRAME" : "FCM: NON-DROP FRAME";
    kept_line l;
    l.kind  = line_kind::frame_code_mode;
    l.text  = {static_cast<std::uint32_t>(doc.body.size()),
               static_cast<std::uint32_t>(std::strlen(text))};
    l.value = o_.to.drop ? 1 : 0;
    doc.body += text;
    doc.lines.insert(doc.lines.begin(), l);
    for (edit& e : doc.edits) ++e.first_line;
}

conversion converter::run() {
    smpte::rate const from = in_.rate;
    smpte::rate const to   = o_.to;
    if (*smpte::rate_name(from) == '\0' || *smpte::rate_name(to) == '\0') {
        refuse(convert_error::unknown_rate);
        return std::move(out_);
    }
    if (!in_.ok()) {
        refuse(convert_error::list_has_errors);
        return std::move(out_);
    }
    bool const one_rate = from.num == to.num && from.den == to.den;
    if (o_.method == smpte::method::pulldown) {
        if (one_rate || !smpte::convert(smpte::timecode(0, from), to, smpte::method::pulldown)) {
            refuse(convert_error::no_pulldown);
            return std::move(out_);
        }
        record_      = {move_kind::pulldown, o_.sync};
        counts_kept_ = false;
    } else if (one_rate || o_.method == smpte::method::frame) {
        record_.how = move_kind::keep_frames;
    } else if (o_.method == smpte::method::realtime) {
        record_.how  = move_kind::realtime;
        counts_kept_ = false;
    } else {
        refuse(convert_error::method_needed);
        return std::move(out_);
    }

    out_.doc      = in_;
    out_.doc.rate = to;
    for (edit& e : out_.doc.edits)
        if (!convert_edit(e)) {
            out_.doc = document{};
            out_.changed.clear();
            return std::move(out_);
        }
    set_frame_code_modes();
    std::vector<finding> kept;
    for (finding const& f : out_.doc.findings)
        if (!from_checks(f.kind)) kept.push_back(f);
    out_.doc.findings = std::move(kept);
    detail::check(out_.doc, false);
    return std::move(out_);
}

}  // namespace

char const* convert_error_name(convert_error e) {
    switch (e) {
        case convert_error::none: return "none";
        case convert_error::list_has_errors: return "list_has_errors";
        case convert_error::unknown_rate: return "unknown_rate";
        case convert_error::method_needed: return "method_needed";
        case convert_error::no_pulldown: return "no_pulldown";
        case convert_error::no_reel_sync: return "no_reel_sync";
        case convert_error::outside_day: return "outside_day";
        case convert_error::edit_vanishes: return "edit_vanishes";
        case convert_error::length_too_long: return "length_too_long";
        case convert_error::speed_too_fast: return "speed_too_fast";
    }
    return "unknown";
}

std::string describe(conversion const& c) {
    switch (c.why) {
        case convert_error::none: return "";
        case convert_error::list_has_errors: return "the list has errors (edl check names them)";
        case convert_error::unknown_rate: return "no timecode counts at that rate";
        case convert_error::method_needed:
            return "between two rates a method is needed: frame, realtime or pulldown";
        case convert_error::no_pulldown: return "no 2:3 pulldown between the two rates";
        case convert_error::no_reel_sync:
            return "reel " + c.reel + " has no pulldown sync (give one, or keep the sources)";
        case convert_error::outside_day:
            return "a timecode falls outside the day (00:00:00:00 to 24:00:00:00) at the new rate";
        case convert_error::edit_vanishes:
            return "the edit is shorter than a frame at the new rate";
        case convert_error::length_too_long:
            return "the transition is longer than 99999 frames at the new rate";
        case convert_error::speed_too_fast:
            return "the M2 speed is faster than 9999.9 frames a second at the new rate";
    }
    return "unknown reason";
}

std::string describe(rounding const& r) {
    // The exact length to three decimals, rounded half up: num / den >= 0.
    std::int64_t const thousandths =
        r.exact_den > 0 ? (r.exact_num * 2000 + r.exact_den) / (2 * r.exact_den) : 0;
    char text[96];
    int const n = std::snprintf(text, sizeof text, "%d frames become %d (%lld.%03lld exact)",
                                static_cast<int>(r.before), static_cast<int>(r.after),
                                static_cast<long long>(thousandths / 1000),
                                static_cast<long long>(thousandths % 1000));
    assert(n > 0 && static_cast<std::size_t>(n) < sizeof text);
    return std::string(
        text, n > 0 && static_cast<std::size_t>(n) < sizeof text ? static_cast<std::size_t>(n) : 0);
}

conversion convert(document const& doc, convert_options const& options) {
    return converter(doc, options).run();
}

front::result<reel_sync> read_reel_sync(std::string_view text, smpte::rate from, smpte::rate to,
                                        std::string* why) {
    std::size_t const last = text.rfind('=');
    std::size_t const cut  = last == text.npos ? text.npos : text.substr(0, last).rfind('=');
    if (cut == text.npos || cut == 0) {
        if (why != nullptr) *why = "REEL=FILMTC=VIDEOTC";
        return {reel_sync{}, front::reason::not_a_sync_point};
    }
    auto const sync = front::read_pulldown_sync(text.substr(cut + 1), from, to, why);
    if (!sync) return {reel_sync{}, sync.why};
    return {reel_sync{std::string(text.substr(0, cut)), sync.value}};
}

}  // namespace marlix::edl
