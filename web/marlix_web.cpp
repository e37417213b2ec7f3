// The JavaScript binding's native half: the Python module's functions over
// the front door, each answering {value} or {error: reason}. marlix.mjs
// gives them their camelCase names and options, and turns a reason into
// an Error. Arguments arrive already typed: names and rates as text,
// counts as numbers, options as booleans or text.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "marlix/edl/convert.h"
#include "marlix/edl/document.h"
#include "marlix/entry/library_entry.h"
#include "marlix/film/film_lists.h"
#include "marlix/film/list_tables.h"
#include "marlix/film/telecine_log.h"
#include "marlix/front/labeller.h"
#include "marlix/front/names.h"
#include "marlix/front/pull.h"
#include "marlix/front/shown_text.h"
#include "marlix/front/timecode_text.h"
#include "marlix/front/translate.h"
#include "marlix/host/host_services.h"
#include "marlix/medium/medium_mapping.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/smpte/timecode.h"
#include "marlix/version.h"
#include "marlix/xlate/cadence_tables.h"
#include "marlix/xlate/position_xlate.h"

namespace {

using emscripten::val;
using namespace marlix;
namespace smpte = marlix::smpte;

val answer(val v) {
    val out = val::object();
    out.set("value", std::move(v));
    return out;
}

val refusal(std::string const& why) {
    val out = val::object();
    out.set("error", why);
    return out;
}

// A value or the reason there is none, inside this file.
template <class T>
struct got {
    std::optional<T> value;
    std::string why;
};

template <class T>
got<T> refused(std::string why) {
    return {std::nullopt, std::move(why)};
}

// A number that must be a whole 32-bit count; what names it in a message.
got<std::int32_t> whole32(double n, char const* what) {
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.17g", n);
    if (n != std::floor(n))
        return refused<std::int32_t>(std::string(what) + " " + shown + " is not whole");
    if (!(n >= INT32_MIN && n <= INT32_MAX))
        return refused<std::int32_t>(std::string(what) + " " + shown + " does not fit 32 bits");
    return {static_cast<std::int32_t>(n), {}};
}

got<front::labeller> labeller_of(std::string const& type, val const& prefix, bool strict) {
    auto const found = front::find_label_type(type);
    if (!found) return refused<front::labeller>(front::describe(found.why, type));
    auto made = front::labeller::make(found.value, TC_ALL_FIELDS,
                                      strict ? front::reading::strict : front::reading::lax);
    if (!made) return refused<front::labeller>(front::describe(made.why, "", found.value));
    if (prefix.isString()) {
        std::string const p = prefix.as<std::string>();
        auto const given    = made.value.set_typed_prefix(p);
        if (!given)
            return refused<front::labeller>(
                "prefix " + front::quoted(p) + ": " +
                front::describe(given.why, made.value.refusal(), found.value));
    }
    return {std::move(made.value), {}};
}

val label_text(std::string const& type, double sample, val const& prefix, bool strict) {
    auto const s = whole32(sample, "sample");
    if (!s.value) return refusal(s.why);
    auto labels = labeller_of(type, prefix, strict);
    if (!labels.value) return refusal(labels.why);
    return answer(val(std::string(labels.value->text(*s.value))));
}

val label_sample(std::string const& type, std::string const& text, val const& prefix, bool strict) {
    auto labels = labeller_of(type, prefix, strict);
    if (!labels.value) return refusal(labels.why);
    auto const s = labels.value->sample(text);
    if (!s)
        return refusal(front::quoted(text) + ": " +
                       front::describe(s.why, labels.value->refusal(), labels.value->type()));
    return answer(val(s.value));
}

got<smpte::rate> rate_of(std::string const& name) {
    auto const r = smpte::parse_rate(front::trim_blanks(name));
    if (!r)
        return refused<smpte::rate>(front::quoted(name) + " is not a frame rate (" +
                                    smpte::rate_names() + ")");
    return {r.value, {}};
}

std::string timecode_refused(std::string const& text, smpte::error why) {
    return front::quoted(text) + ": " + smpte::error_text(why);
}

val tc_text(double frames, std::string const& rate, bool wrap) {
    auto const n = whole32(frames, "frame count");
    if (!n.value) return refusal(n.why);
    auto const r = rate_of(rate);
    if (!r.value) return refusal(r.why);
    return answer(val(smpte::to_string(smpte::timecode(*n.value, *r.value), wrap)));
}

val tc_frames(std::string const& text, std::string const& rate, bool strict) {
    auto const r = rate_of(rate);
    if (!r.value) return refusal(r.why);
    if (strict) {
        auto const t = front::read_timecode(text, *r.value);
        if (!t) return refusal(timecode_refused(text, t.why));
        return answer(val(t.value.frames()));
    }
    label_t const type = smpte::converter_type(*r.value);
    if (type == LABEL_NONE)
        return refusal(front::quoted(rate) + " has no label converter to read as; use strict");
    return label_sample("#" + std::to_string(static_cast<int>(type)), text, val::undefined(),
                        false);
}

// frames: a whole number in decimal digits, with a sign ('-' or none);
// or, when it is empty, the frames of the timecode by.
val tc_add(std::string const& text, std::string const& frames, std::string const& by,
           std::string const& rate, bool wrap) {
    auto const r = rate_of(rate);
    if (!r.value) return refusal(r.why);
    auto const t = front::read_timecode(text, *r.value);
    if (!t) return refusal(timecode_refused(text, t.why));
    std::int64_t n = 0;
    if (frames.empty()) {
        auto const u = front::read_timecode(by, *r.value);
        if (!u) return refusal(timecode_refused(by, u.why));
        n = u.value.frames();
    } else if (frames.find_first_not_of("0123456789", frames[0] == '-' ? 1 : 0) !=
                   std::string::npos ||
               frames == "-") {
        return refusal("frames " + front::quoted(frames) + " is not a whole number");
    } else if (wrap) {
        // Any whole number moves a clock: only its remainder in the day counts.
        bool const minus       = frames[0] == '-';
        std::int64_t const day = r.value->frames_per_day();
        for (std::size_t i = minus ? 1 : 0; i < frames.size(); ++i)
            n = (n * 10 + (frames[i] - '0')) % day;
        if (minus) n = -n;
    } else {
        errno = 0;
        n     = std::strtoll(frames.c_str(), nullptr, 10);
        if (errno == ERANGE)
            return refusal(std::string("frames: ") + smpte::error_text(smpte::error::out_of_range));
    }
    auto const sum = front::add_on_clock(t.value, n, wrap);
    if (!sum) return refusal(smpte::error_text(sum.why));
    return answer(val(smpte::to_string(sum.value, wrap)));
}

val tc_duration(std::string const& in_text, std::string const& out_text, std::string const& rate,
                bool signed_count) {
    auto const r = rate_of(rate);
    if (!r.value) return refusal(r.why);
    auto const in = front::read_timecode(in_text, *r.value);
    if (!in) return refusal(timecode_refused(in_text, in.why));
    auto const out = front::read_timecode(out_text, *r.value);
    if (!out) return refusal(timecode_refused(out_text, out.why));
    auto const d = front::clock_duration(in.value, out.value, signed_count);
    if (!d) return refusal(smpte::error_text(d.why));
    return answer(val(d.value));
}

// sync: "FILMTC=VIDEOTC" with the pulldown method, or empty.
val tc_convert(std::string const& text, std::string const& from_name, std::string const& to_name,
               std::string const& method, std::string const& sync) {
    auto const from = rate_of(from_name);
    if (!from.value) return refusal(from.why);
    auto const to = rate_of(to_name);
    if (!to.value) return refusal(to.why);
    auto const found = front::find_method(method);
    if (!found)
        return refusal("method: " + front::quoted(method) + " is not realtime, frame or pulldown");
    smpte::method const m = *found;
    smpte::sync_point at;
    if (!sync.empty()) {
        if (m != smpte::method::pulldown) return refusal("sync goes with method 'pulldown'");
        std::string why;
        auto const read = front::read_pulldown_sync(sync, *from.value, *to.value, &why);
        if (!read)
            return refusal("sync " + front::quoted(sync) + ": " + front::describe(read.why, why));
        at = read.value;
    }
    if (m == smpte::method::pulldown &&
        !smpte::convert(smpte::timecode(0, *from.value), *to.value, m).ok())
        return refusal(std::string("no 2:3 pulldown from ") + smpte::rate_name(*from.value) +
                       " to " + smpte::rate_name(*to.value) + " (23.976 and 29.97, or 24 and 30)");
    auto const t = front::read_timecode(text, *from.value);
    if (!t) return refusal(timecode_refused(text, t.why));
    auto const c = smpte::convert(t.value, *to.value, m, at);
    if (!c) return refusal(smpte::error_text(c.why));
    return answer(val(smpte::to_string(c.value)));
}

// [keycode, split] of the film frame in the first field of video timecode
// text, the sync "KEYCODE=TC" an A frame on the first field of video frame
// TC; with footage or ink (text, or undefined) given, [keycode, split,
// footage, ink], null for the one not given.
val pull(std::string const& text, std::string const& stock, std::string const& rate,
         std::string const& sync, val const& footage, val const& ink) {
    auto const type = front::find_label_type(stock);
    if (!type) return refusal(front::describe(type.why, stock));
    auto const r = rate_of(rate);
    if (!r.value) return refusal(r.why);
    std::string why;
    auto made = front::keycode_pull::make(type.value, *r.value, sync, &why);
    if (!made) return refusal(front::describe(made.why, why, type.value));
    front::keycode_pull& p = made.value;
    // A column's count at the sync point; a text that is none is named in
    // the column's own type.
    auto const count = [&](char const* what, val const& given, auto set,
                           label_t count_type) -> std::optional<std::string> {
        if (!given.isString()) return std::nullopt;
        std::string const t = given.as<std::string>();
        auto const done     = (p.*set)(t, &why);
        if (done) return std::nullopt;
        return what + front::quoted(t) + ": " +
               front::describe(done.why, why,
                               done.why == front::reason::sync_count ? count_type : type.value);
    };
    if (auto const e =
            count("footage ", footage, &front::keycode_pull::set_footage, p.footage_type()))
        return refusal(*e);
    if (auto const e = count("ink ", ink, &front::keycode_pull::set_ink, p.ink_type()))
        return refusal(*e);
    auto const v = front::read_timecode(text, *r.value);
    if (!v) return refusal(timecode_refused(text, v.why));
    auto const k = p(v.value);
    if (!k)
        return refusal(front::quoted(text) + ": " +
                       front::describe(k.why, p.refusal(), type.value));
    val out = val::array();
    out.call<void>("push", std::string(k.value.text));
    out.call<void>("push", k.value.split);
    if (footage.isString() || ink.isString()) {
        out.call<void>("push",
                       footage.isString() ? val(std::string(k.value.footage)) : val::null());
        out.call<void>("push", ink.isString() ? val(std::string(k.value.ink)) : val::null());
    }
    return answer(out);
}

got<Tov::FrameRate> host_rate_of(val const& value, char const* what, bool* drop = nullptr) {
    std::string const text = value.as<std::string>();
    auto const r           = front::find_host_rate(text);
    if (!r)
        return refused<Tov::FrameRate>(std::string(what) + ": " + front::quoted(text) +
                                       " is not a frame rate (" + smpte::rate_names() +
                                       ", or \"#N\" for the host's rate number)");
    if (drop != nullptr) *drop = r.value.drop;
    return {r.value.rate, {}};
}

got<MediumRollMedium> medium_of(std::string const& text, char const* what) {
    auto const m = front::find_medium(text);
    if (!m)
        return refused<MediumRollMedium>(std::string(what) + ": " + front::quoted(text) +
                                         " is not a medium");
    return {m.value, {}};
}

// options: the camelCase settings of the Python module's xlate, each
// absent or given (rates, media and the transfer as text).
val xlate(double position, std::string const& from_name, std::string const& to_name, val const& o) {
    auto const from = medium_of(from_name, "fromMedium");
    if (!from.value) return refusal(from.why);
    auto const to = medium_of(to_name, "toMedium");
    if (!to.value) return refusal(to.why);
    auto const given   = [&](char const* key) { return !o[key].isUndefined(); };
    double const phase = given("sequence") ? o["sequence"].as<double>() : -1;
    if (!(phase >= -1 && phase <= 255) || phase != std::floor(phase))
        return refusal("sequence takes a phase -1..255");
    int const sequence     = static_cast<int>(phase);
    Tov::ProjectSettings s = Tov::CurrentProject::settings();
    if (given("projectRate")) {
        bool drop    = false;
        auto const r = host_rate_of(o["projectRate"], "projectRate", &drop);
        if (!r.value) return refusal(r.why);
        s.frame_rate = s.output_rate = *r.value;  // the output follows unless given
        if (drop) s.drop_frame_timecode = true;
    }
    if (given("dropFrame")) s.drop_frame_timecode = o["dropFrame"].as<bool>();
    if (given("cameraSpeed")) {
        auto const r = host_rate_of(o["cameraSpeed"], "cameraSpeed");
        if (!r.value) return refusal(r.why);
        s.in_camera_film_speed = *r.value;
    }
    if (given("outputRate")) {
        auto const r = host_rate_of(o["outputRate"], "outputRate");
        if (!r.value) return refusal(r.why);
        s.output_rate = *r.value;
    }
    if (given("outputScan")) {
        std::string const scan = o["outputScan"].as<std::string>();
        if (scan != "p" && scan != "i")
            return refusal("outputScan: " + front::quoted(scan) + " is not 'p' or 'i'");
        s.output_scan = scan == "p" ? Tov::Image::ScanMode_Progressive
                                    : Tov::Image::ScanMode_InterlacedUpperFirst;
    }
    if (given("outputPulledDown")) s.output_pulled_down = o["outputPulledDown"].as<bool>();
    if (given("audioSyncPulledDown"))
        s.audio_sync_pulled_down = o["audioSyncPulledDown"].as<bool>();
    Tov::ThreadProject const scope(s);  // the default video medium is the call's project's

    MPosn_Xlate_Params params;
    if (given("transfer")) {
        std::string const text = o["transfer"].as<std::string>();
        auto const t           = front::find_transfer(text);
        if (!t)
            return refusal("transfer: " + front::quoted(text) +
                           " is not none, frame, pulldown or a number 0.." +
                           std::to_string(front::max_transfer_number));
        params.transfer = t.value;
    }
    params.sequence = sequence;
    if (given("transferRate")) {
        auto const r = host_rate_of(o["transferRate"], "transferRate");
        if (!r.value) return refusal(r.why);
        params.transfer_rate = *r.value;
    }
    params.video_medium = getDefaultEditMediumForProject();
    if (given("videoMedium")) {
        auto const m = medium_of(o["videoMedium"].as<std::string>(), "videoMedium");
        if (!m.value) return refusal(m.why);
        params.video_medium = *m.value;
    }
    params.vidproj_24p_source = given("source24p") && o["source24p"].as<bool>();
    bool const round          = given("roundToFrame") && o["roundToFrame"].as<bool>();
    std::string why;
    auto const r = front::translate(position, *from.value, *to.value, params, round, &why);
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.15g", position);
    if (!r)
        return refusal(std::string("no translation of ") + shown + " from " +
                       medium_name(*from.value) + " to " + medium_name(*to.value) +
                       (why.empty() ? "" : ": " + why));
    return answer(val(r.value));
}

val cadence(std::string const& pair_text, double phase_given) {
    auto const found = front::find_cadence(pair_text);
    if (!found)
        return refusal(front::quoted(pair_text) +
                       " is not a cadence: 24 or 48, ':', then 25p, 25i, 30p or 30i");
    cadence_pair const pair = found.value;
    int const phases        = cadence_phase_count(pair);
    if (!(phase_given >= 0 && phase_given < phases) || phase_given != std::floor(phase_given)) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%.15g", phase_given);
        return refusal(std::string("phase ") + shown + " of " + pair_text + ": 0.." +
                       std::to_string(phases - 1));
    }
    int const phase = static_cast<int>(phase_given);
    int const units = cadence_shape_of(pair).fields ? 2 * phases : phases;
    val out         = val::array();
    for (int unit = 0; unit < units; ++unit) {
        char name[cadence_frame_name_capacity];
        cadence_frame_name(pair, cadence_frame_on_show(pair, phase, unit), name);
        out.call<void>("push", std::string(name));
    }
    return answer(out);
}

// Text given as a JavaScript string (UTF-8 here) or as bytes (a
// Uint8Array, kept as they are: the EDL reader tells UTF-8 from
// ISO-8859-1 itself).
std::string bytes_of(val const& given) {
    if (given.isString()) return given.as<std::string>();
    std::string out(given["length"].as<std::size_t>(), '\0');
    if (!out.empty())
        val(emscripten::typed_memory_view(out.size(), reinterpret_cast<unsigned char*>(out.data())))
            .call<void>("set", given);
    return out;
}

val text_or_null(std::string_view text) {
    return text.empty() ? val::null() : val(std::string(text));
}

val number(std::int64_t n) { return val(static_cast<double>(n)); }

template <class T, class F>
val array_of(std::vector<T> const& items, F const& each) {
    val out = val::array();
    for (T const& item : items) out.call<void>("push", each(item));
    return out;
}

// Edit decision lists: a document as a plain object, its edits and
// findings under the Python module's names, camelCase.

val edit_object(edl::document const& doc, edl::edit const& e) {
    val o = val::object();
    o.set("event", e.event);
    o.set("line", e.line);
    o.set("reel", std::string(doc.text(e.reel)));
    edl::channel_set const all = e.all_channels();
    val channels               = val::array();
    if (all.video) channels.call<void>("push", std::string("V"));
    for (int n = 1; n <= edl::channel_set::max_audio; ++n)
        if (all.audio(n)) channels.call<void>("push", "A" + std::to_string(n));
    o.set("channels", channels);
    o.set("channelField", edl::channel_text(e.channels));
    o.set("transition", edl::transition_text(e.how));
    o.set("transitionFrames", e.how.frames);
    o.set("sourceIn", smpte::to_string(e.source_in));
    o.set("sourceOut", smpte::to_string(e.source_out));
    o.set("recordIn", smpte::to_string(e.record_in));
    o.set("recordOut", smpte::to_string(e.record_out));
    o.set("sourceFrames", number(std::int64_t{e.source_out.frames()} - e.source_in.frames()));
    o.set("recordFrames", number(std::int64_t{e.record_out.frames()} - e.record_in.frames()));
    o.set("speed", e.has_motion ? val(e.speed.speed_tenths / 10.0) : val::null());
    o.set("clip", text_or_null(doc.text(e.clip)));
    o.set("toClip", text_or_null(doc.text(e.to_clip)));
    o.set("keyClip", text_or_null(doc.text(e.key_clip)));
    o.set("sourceFile", text_or_null(doc.text(e.source_file)));
    val comments = val::array();
    for (std::size_t k = e.first_line;
         k < std::size_t{e.first_line} + e.line_count && k < doc.lines.size(); ++k)
        if (doc.lines[k].kind == edl::line_kind::comment ||
            doc.lines[k].kind == edl::line_kind::other)
            comments.call<void>("push", std::string(doc.text(doc.lines[k].text)));
    o.set("comments", comments);
    return o;
}

val document_object(edl::document const& doc) {
    val o = val::object();
    o.set("title", std::string(doc.text(doc.title)));
    o.set("rate", std::string(smpte::rate_name(doc.rate)));
    o.set("edits", array_of(doc.edits, [&](edl::edit const& e) { return edit_object(doc, e); }));
    o.set("findings", array_of(doc.findings, [](edl::finding const& f) {
              val x = val::object();
              x.set("line", f.line);
              x.set("column", f.column > 0 ? val(f.column) : val::null());
              x.set("event", f.event >= 0 ? val(f.event) : val::null());
              x.set("kind", std::string(edl::finding_name(f.kind)));
              x.set("severity",
                    std::string(f.level() == edl::severity::error ? "error" : "warning"));
              x.set("message", edl::describe(f));
              return x;
          }));
    o.set("ok", doc.ok());
    o.set("latin1", doc.latin1);
    o.set("text", edl::write(doc));
    return o;
}

val edl_read(val const& text, std::string const& rate, bool strict) {
    auto const r = rate_of(rate);
    if (!r.value) return refusal(r.why);
    return answer(document_object(
        edl::read(bytes_of(text), *r.value, {strict ? edl::mode::strict : edl::mode::tolerant})));
}

// method: a method's name, or empty for none; sync: "FILMTC=VIDEOTC" or
// empty; reel_syncs: [reel, "FILMTC=VIDEOTC"] pairs.
val edl_convert(val const& text, std::string const& rate, std::string const& to,
                std::string const& method, std::string const& sync, val const& reel_syncs,
                bool keep_sources) {
    auto const from = rate_of(rate);
    if (!from.value) return refusal(from.why);
    auto const r = rate_of(to);
    if (!r.value) return refusal(r.why);
    edl::convert_options o;
    o.to = *r.value;
    if (!method.empty()) {
        o.method = front::find_method(method);
        if (!o.method)
            return refusal("method: " + front::quoted(method) +
                           " is not frame, realtime or pulldown");
    }
    std::size_t const reels = reel_syncs["length"].as<std::size_t>();
    if ((!sync.empty() || reels > 0 || keep_sources) && o.method != smpte::method::pulldown)
        return refusal("sync, reelSyncs and keepSources go with method 'pulldown'");
    edl::document const doc = edl::read(bytes_of(text), *from.value);
    std::string failed;
    auto const read_sync = [&](std::string const& given, std::string const& what) {
        std::string why;
        auto const read = front::read_pulldown_sync(given, doc.rate, o.to, &why);
        if (!read && failed.empty())
            failed = what + " " + front::quoted(given) + ": " + front::describe(read.why, why);
        return read.value;
    };
    if (!sync.empty()) o.sync = read_sync(sync, "sync");
    for (std::size_t k = 0; k < reels; ++k) {
        std::string const reel = reel_syncs[k][0].as<std::string>();
        o.reel_syncs.push_back(
            {reel, read_sync(reel_syncs[k][1].as<std::string>(), "reel " + reel + " sync")});
    }
    if (!failed.empty()) return refusal(failed);
    o.keep_sources             = keep_sources;
    edl::conversion const done = edl::convert(doc, o);
    if (!done.ok()) {
        std::string where;
        if (done.line > 0) {
            char event[sizeof("event -2147483648: ")];
            int const n =
                std::snprintf(event, sizeof event, "event %03d: ", static_cast<int>(done.event));
            assert(n >= 0 && static_cast<std::size_t>(n) < sizeof event);
            (void)n;
            where = "line " + std::to_string(done.line) + ": " + event;
        }
        return refusal(where + edl::describe(done));
    }
    val out = val::object();
    out.set("document", document_object(done.doc));
    out.set("changed", array_of(done.changed, [](edl::rounding const& c) {
                val x = val::object();
                x.set("event", c.event);
                x.set("line", c.line);
                x.set("before", c.before);
                x.set("after", c.after);
                x.set("exact", static_cast<double>(c.exact_num) / static_cast<double>(c.exact_den));
                x.set("message", edl::describe(c));
                return x;
            }));
    return answer(out);
}

// Film lists: a list matched back through telecine logs, its rows as plain
// objects under the Python module's names, camelCase, and each list that
// has rows as a table of the cells the tool prints.

char const* severity_text(film::severity s) {
    switch (s) {
        case film::severity::note: return "note";
        case film::severity::warning: return "warning";
        case film::severity::error: return "error";
    }
    return "error";
}

val optical_side_object(film::optical_side const& s) {
    val o = val::object();
    o.set("reel", s.reel);
    o.set("clip", s.clip);
    o.set("labroll", s.labroll);
    o.set("camroll", s.camroll);
    o.set("black", s.black);
    o.set("matched", s.matched);
    o.set("sourceIn", smpte::to_string(s.source_in));
    o.set("keyIn", s.key_in);
    o.set("keyOut", s.key_out);
    o.set("frames", number(s.frames));
    return o;
}

val change_object(film::change_row const& c) {
    val o = val::object();
    o.set("kind", std::string(film::change_name(c.kind)));
    o.set("end", std::string(c.end == film::change_end::head   ? "head"
                             : c.end == film::change_end::tail ? "tail"
                                                               : ""));
    o.set("at", number(c.at));
    o.set("atFeet", c.at_feet);
    o.set("event", c.event);
    o.set("reel", c.reel);
    o.set("clip", c.clip);
    o.set("labroll", c.labroll);
    o.set("camroll", c.camroll);
    o.set("keyPrefix", c.key_prefix);
    o.set("keyIn", c.key_in);
    o.set("keyOut", c.key_out);
    o.set("firstSample", c.first_sample);
    o.set("lastSample", c.last_sample);
    o.set("frames", number(c.frames));
    return o;
}

// {list, columns, rows, csv} of a table with rows; undefined for none.
void add_table(val& tables, char const* list, film::list_table const& rows) {
    if (rows.empty()) return;
    val t = val::object();
    t.set("list", std::string(list));
    t.set("columns", array_of(rows.front(), [](film::table_cell const& c) { return val(c.name); }));
    t.set("rows", array_of(rows, [](film::table_row const& r) {
              return array_of(r, [](film::table_cell const& c) { return val(c.text); });
          }));
    t.set("csv", film::table_csv(rows));
    tables.call<void>("push", t);
}

// options: rate, leader and handles always given; stock, transfer and
// previous given or undefined; reelMap as [reel, tape] pairs and
// dissolveLengths as numbers, or undefined.
val film_lists(val const& list, val const& logs, val const& o, std::string const& title) {
    std::string const rate = o["rate"].as<std::string>();
    auto const r           = smpte::parse_rate(front::trim_blanks(rate));
    if (!r) return refusal(front::quoted(rate) + " is not a frame rate");
    film::log_options lo;
    if (o["stock"].isString()) {
        std::string const stock = o["stock"].as<std::string>();
        auto const t            = front::find_converter_type(stock);
        if (!t || film::geometry_of(t.value).perfs_per_frame == 0)
            return refusal(front::quoted(stock) + " is no keycode stock");
        lo.stock = t.value;
    }
    if (o["transfer"].isString()) {
        std::string const transfer = o["transfer"].as<std::string>();
        if (transfer != "24:25" && transfer != "frame")
            return refusal(front::quoted(transfer) + " is no transfer (24:25 or frame)");
        lo.pal_24_25 = transfer == "24:25";
    }
    auto const handles = whole32(o["handles"].as<double>(), "handles");
    if (!handles.value) return refusal(handles.why);
    if (*handles.value < 0 || *handles.value > 10000)
        return refusal("handles are frames 0 to 10000, not " + std::to_string(*handles.value));
    film::list_options options;
    options.handles = *handles.value;
    if (!o["dissolveLengths"].isUndefined()) {
        options.lab_lengths.clear();
        val const lengths = o["dissolveLengths"];
        for (std::size_t k = 0, n = lengths["length"].as<std::size_t>(); k < n; ++k) {
            double const l = lengths[k].as<double>();
            if (!(l >= 1 && l <= INT32_MAX) || l != std::floor(l))
                return refusal("a dissolve length is 1 frame or more");
            options.lab_lengths.push_back(static_cast<std::int32_t>(l));
        }
    }
    if (!o["reelMap"].isUndefined()) {
        val const map = o["reelMap"];
        for (std::size_t k = 0, n = map["length"].as<std::size_t>(); k < n; ++k)
            options.reel_map.emplace_back(map[k][0].as<std::string>(), map[k][1].as<std::string>());
    }
    std::vector<film::telecine_log> read;
    for (std::size_t k = 0, n = logs["length"].as<std::size_t>(); k < n; ++k)
        read.push_back(film::read_log(bytes_of(logs[k]), lo));
    label_t stock = lo.stock;
    for (auto const& l : read)
        if (stock == LABEL_NONE) stock = l.stock;
    options.pal_24_25        = lo.pal_24_25;
    std::string const leader = o["leader"].as<std::string>();
    options.leader_perfs     = film::read_footage(leader, film::geometry_of(stock));
    if (options.leader_perfs < 0)
        return refusal(front::quoted(leader) + " is no footage FT+FR of the stock");
    film::clip_index const index(read);
    film::film_lists const lists =
        film::make_lists(edl::read(bytes_of(list), r.value), index, options);
    film::change_list changes;
    bool const has_previous = !o["previous"].isUndefined();
    if (has_previous)
        changes = film::make_change_list(
            film::make_lists(edl::read(bytes_of(o["previous"]), r.value), index, options), lists);

    auto const tc = [](smpte::timecode t) { return smpte::to_string(t); };
    val out       = val::object();
    out.set("cuts", array_of(lists.cuts, [&](film::cut_row const& c) {
                val x = val::object();
                x.set("event", c.event);
                x.set("line", c.line);
                x.set("reel", c.reel);
                x.set("recordIn", tc(c.record_in));
                x.set("recordOut", tc(c.record_out));
                x.set("matched", c.matched);
                x.set("clip", c.clip);
                x.set("tape", c.tape);
                x.set("camroll", c.camroll);
                x.set("labroll", c.labroll);
                x.set("scene", c.scene);
                x.set("take", c.take);
                x.set("keyIn", c.key_in);
                x.set("keyOut", c.key_out);
                x.set("inkIn", c.ink_in);
                x.set("inkOut", c.ink_out);
                x.set("frames", number(c.frames));
                x.set("feetFrames", c.feet_frames);
                x.set("runningFrames", number(c.running_frames));
                x.set("runningFeet", c.running_feet);
                x.set("adjust", c.adjust);
                x.set("notes", c.notes);
                return x;
            }));
    auto const events = [](std::vector<std::int32_t> const& e) {
        return array_of(e, [](std::int32_t n) { return val(n); });
    };
    // Pieces of negative, pulled or used twice, alike.
    auto const piece = [&](auto const& p) {
        val x = val::object();
        x.set("labroll", p.labroll);
        x.set("camroll", p.camroll);
        x.set("clip", p.clip);
        x.set("keyIn", p.key_in);
        x.set("keyOut", p.key_out);
        x.set("frames", number(p.frames));
        x.set("events", events(p.events));
        return x;
    };
    out.set("pulls", array_of(lists.pulls, piece));
    out.set("missing", array_of(lists.missing, [](film::missing_row const& m) {
                val x = val::object();
                x.set("event", m.event);
                x.set("line", m.line);
                x.set("reel", m.reel);
                x.set("kind", std::string(film::missing_name(m.kind)));
                x.set("clip", m.clip);
                return x;
            }));
    out.set("dupes", array_of(lists.dupes, piece));
    out.set("opticals", array_of(lists.opticals, [&](film::optical_row const& p) {
                val x = val::object();
                x.set("event", p.event);
                x.set("line", p.line);
                x.set("kind", std::string(film::optical_name(p.kind)));
                x.set("wipe", p.wipe);
                x.set("lab", p.lab);
                x.set("length", p.length);
                x.set("filmFrames", number(p.film_frames));
                x.set("centre", tc(p.centre));
                x.set("centreFeet", p.centre_feet);
                x.set("speedTenths", p.speed_tenths);
                x.set("outgoing", p.has_out ? optical_side_object(p.out) : val::null());
                x.set("incoming", optical_side_object(p.in));
                return x;
            }));
    out.set("sounds", array_of(lists.sounds, [&](film::sound_row const& s) {
                val x = val::object();
                x.set("event", s.event);
                x.set("line", s.line);
                x.set("reel", s.reel);
                x.set("clip", s.clip);
                x.set("soundroll", s.soundroll);
                x.set("found", s.found);
                x.set("soundIn", s.found ? tc(s.sound_in) : std::string());
                x.set("soundOut", s.found ? tc(s.sound_out) : std::string());
                x.set("recordIn", tc(s.record_in));
                x.set("recordOut", tc(s.record_out));
                return x;
            }));
    out.set("changes", array_of(changes.rows, change_object));
    val by_reel = val::array();
    for (std::uint32_t const k : changes.reel_order)
        if (k < changes.rows.size()) by_reel.call<void>("push", change_object(changes.rows[k]));
    out.set("changesByReel", by_reel);
    val totals = val::object();
    totals.set("events", number(lists.totals.events));
    totals.set("frames", number(lists.totals.frames));
    totals.set("feetFrames", lists.totals.feet_frames);
    totals.set("recordFrames", number(lists.totals.record_frames));
    totals.set("runningTime", lists.totals.running_time);
    out.set("totals", totals);
    // The logs' findings with their log's index, then the list run's with
    // their event.
    val findings = val::array();
    for (std::size_t k = 0; k < read.size(); ++k)
        for (film::log_finding const& f : read[k].findings) {
            val x = val::object();
            x.set("log", static_cast<int>(k));
            x.set("event", -1);
            x.set("line", f.line);
            x.set("kind", std::string(film::finding_name(f.kind)));
            x.set("severity", std::string(severity_text(f.level())));
            x.set("message", film::describe(f));
            findings.call<void>("push", x);
        }
    for (film::list_finding const& f : lists.findings) {
        val x = val::object();
        x.set("log", -1);
        x.set("event", f.event);
        x.set("line", f.line);
        x.set("kind", std::string(film::finding_name(f.kind)));
        x.set("severity", std::string(severity_text(f.level())));
        x.set("message", film::describe(f));
        findings.call<void>("push", x);
    }
    out.set("findings", findings);
    out.set("audioEdl", edl::write(film::audio_edl(lists, title)));
    val tables = val::array();
    add_table(tables, "cut", film::cut_table(lists));
    add_table(tables, "pull", film::pull_table(lists));
    add_table(tables, "missing", film::missing_table(lists));
    add_table(tables, "dupe", film::dupe_table(lists));
    add_table(tables, "optical", film::optical_table(lists, false));
    add_table(tables, "lab", film::optical_table(lists, true));
    add_table(tables, "sound", film::sound_table(lists));
    if (has_previous) {
        film::list_table rows = film::change_table(changes, false);
        film::list_table by   = film::change_table(changes, true);
        rows.insert(rows.end(), by.begin(), by.end());
        add_table(tables, "change", rows);
    }
    out.set("tables", tables);
    return answer(out);
}

// The diagnostics sink: a JavaScript function, or none for the library's
// default (standard error). One function at a time, kept here.
val& diagnostic_function() {
    static val* f = new val(val::null());  // never destroyed: a sink may run at exit
    return *f;
}

void to_function(char const* text, void*) {
    std::string_view line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    diagnostic_function()(std::string(line));
}

void on_diagnostic(val const& fn) {
    diagnostic_function() = fn;
    set_diagnostic_sink(fn.isNull() ? nullptr : &to_function, nullptr);
}

std::string version() { return library_version(); }

}  // namespace

EMSCRIPTEN_BINDINGS(marlix) {
    // The library's messages stay off standard output, as in Python.
    set_messages_to_standard_output(false);
    emscripten::function("label_text", &label_text);
    emscripten::function("label_sample", &label_sample);
    emscripten::function("tc_text", &tc_text);
    emscripten::function("tc_frames", &tc_frames);
    emscripten::function("tc_add", &tc_add);
    emscripten::function("tc_duration", &tc_duration);
    emscripten::function("tc_convert", &tc_convert);
    emscripten::function("pull", &pull);
    emscripten::function("xlate", &xlate);
    emscripten::function("edl_read", &edl_read);
    emscripten::function("edl_convert", &edl_convert);
    emscripten::function("film_lists", &film_lists);
    emscripten::function("on_diagnostic", &on_diagnostic);
    emscripten::function("cadence", &cadence);
    emscripten::function("version", &version);
}
