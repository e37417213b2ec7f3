// The JavaScript binding's native half: the Python module's functions over
// the front door, each answering {value} or {error: reason}. marlix.mjs
// gives them their camelCase names and options, and turns a reason into
// an Error. Arguments arrive already typed: names and rates as text,
// counts as numbers, options as booleans or text.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "marlix/entry/library_entry.h"
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
// TC.
val pull(std::string const& text, std::string const& stock, std::string const& rate,
         std::string const& sync) {
    auto const type = front::find_label_type(stock);
    if (!type) return refusal(front::describe(type.why, stock));
    auto const r = rate_of(rate);
    if (!r.value) return refusal(r.why);
    std::string why;
    auto made = front::keycode_pull::make(type.value, *r.value, sync, &why);
    if (!made) return refusal(front::describe(made.why, why, type.value));
    auto const v = front::read_timecode(text, *r.value);
    if (!v) return refusal(timecode_refused(text, v.why));
    auto const k = made.value(v.value);
    if (!k)
        return refusal(front::quoted(text) + ": " +
                       front::describe(k.why, made.value.refusal(), type.value));
    val out = val::array();
    out.call<void>("push", std::string(k.value.text));
    out.call<void>("push", k.value.split);
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
    emscripten::function("cadence", &cadence);
    emscripten::function("version", &version);
}
