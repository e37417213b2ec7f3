// marlix tc: strict SMPTE timecode at every common rate; marlix pull: the
// keycode of the film frame in each video frame, from a sync point.

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

// Each subcommand's usage line, the first of which begins "usage:".
#define TC_TEXT_USAGE "marlix tc text [--rate R] [--no-wrap] [--native] FRAME..."
#define TC_FRAMES_USAGE "marlix tc frames [--rate R] [--any-hours] TC..."
#define TC_CHECK_USAGE "marlix tc check [--rate R] [--any-hours] TC..."
#define TC_ADD_USAGE "marlix tc add [--rate R] [--any-hours] [--no-wrap] TC FRAMES|TC"
#define TC_DURATION_USAGE "marlix tc duration [--rate R] [--any-hours] [--signed] IN OUT"
#define TC_CONVERT_USAGE                                                     \
    "marlix tc convert --from R --to R [--method realtime|frame|pulldown]\n" \
    "                         [--sync FILMTC=VIDEOTC] TC..."

char const tc_usage[] =
    "usage: " TC_TEXT_USAGE
    "\n"
    "       " TC_FRAMES_USAGE
    "\n"
    "       " TC_CHECK_USAGE
    "\n"
    "       " TC_ADD_USAGE
    "\n"
    "       " TC_DURATION_USAGE
    "\n"
    "       " TC_CONVERT_USAGE
    "\n"
    "SMPTE timecode HH:MM:SS:FF (';' before the frames at drop-frame rates).\n"
    "R: {rates} (or\n"
    "30000/1001 and its kin); without --rate, the global --project-rate (with\n"
    "--drop-frame). FRAME counts frames from 00:00:00:00.\n"
    "text: the label of each frame count (a negative count is '-' and the label\n"
    "of its magnitude; the day wraps unless --no-wrap; --native prints it as the\n"
    "label converter of the rate does, ' 01:00:00.00').\n"
    "frames, check: strict reading: two digits a field, hours 0-23 (any with\n"
    "--any-hours), frames below the rate; ':' everywhere, and at drop-frame\n"
    "rates ';', '.' or ',' before the frames or ';' everywhere. Every command\n"
    "ignores blanks around a timecode (the --native text's too). check prints ok\n"
    "or 'invalid' with the reason (syntax, field out of range, dropped label,\n"
    "drop-frame separator at a non-drop rate, trailing text, 32-bit range).\n"
    "add: TC moved by FRAMES (signed, 64-bit) or by the frames of a second TC,\n"
    "on the clock of a day: 23:59:59:24 + 1 is 00:00:00:00, and 00:00:01:00 - 50\n"
    "is 23:59:59:00 at 25; --no-wrap gives the signed answer (-00:00:01:00).\n"
    "duration: the frames from IN to OUT, OUT exclusive as EDLs count; an OUT\n"
    "earlier than IN runs across midnight, unless --signed.\n"
    "With no operands, add and duration read two per line of standard input.\n"
    "convert: realtime (default) gives the frame on show at the same instant;\n"
    "frame keeps the count (a speed change, 25 to 24); pulldown is 2:3 between\n"
    "23.976 film and 29.97 video, or 24 and 30. The sync puts an A frame (film\n"
    "timecode FILMTC) on the first field of video frame VIDEOTC; by default\n"
    "both are 00:00:00:00. Film to video gives the first video frame whose\n"
    "first field shows the film frame, video to film the film frame of the\n"
    "video frame's first field.\n";

char const pull_usage[] =
    "usage: marlix pull --stock TYPE --rate R --sync KEYCODE=TC [--footage FT+FR]\n"
    "                   [--ink INK] TC...\n"
    "The keycode of the film frame shown in the first field of each video\n"
    "timecode, printed as the stock's label converter prints it, followed by\n"
    "' split' when the frame's second field shows the next film frame. The\n"
    "sync KEYCODE is an A frame starting on the first field of video frame TC.\n"
    "TYPE is a keycode type (F35, F16, F353 ...); R the video rate: 29.97 and\n"
    "30 pull 2:3, 59.94 and 60 2:3 frame by frame (A B C D on 2 3 2 3 frames),\n"
    "25 the 24:25 cadence, 23.976 and 24 one film frame a video frame.\n"
    "--footage gives a footage column, a counter that reads FT+FR on the sync\n"
    "point's film frame; --ink an ink number column, INK (prefix and count,\n"
    "'0123 1234+05') printed on that frame. Both read as the stock's footage\n"
    "and ink types read them, and come before ' split'.\n";

// Timecodes as people give them: blanks around the text are trimmed, so
// the converters' native text (tc text --native) reads back.
using marlix::front::read_timecode;

namespace {

namespace smpte = marlix::smpte;

item_result timecode_answer(std::string text) {
    return item_result::success(record::bare().text("timecode", std::move(text)));
}

item_result timecode_result(smpte::result<smpte::timecode> const& t, bool wrap = true) {
    if (!t) return item_result::failure(smpte::error_text(t.why));
    return timecode_answer(smpte::to_string(t.value, wrap));
}

item_result frames_answer(long long frames) {
    return item_result::success(record::bare().integer("frames", frames));
}

int tc_convert(parsed_args const& p) {
    std::string error;
    auto const from = rate_option(p, "--from", error);
    if (!from) return usage_error(error);
    auto const to = rate_option(p, "--to", error);
    if (!to) return usage_error(error);
    smpte::method m = smpte::method::realtime;
    if (auto const text = p.value("--method")) {
        auto const found = marlix::front::find_method(*text);
        if (!found) return usage_error("--method takes realtime, frame or pulldown");
        m = *found;
    }
    smpte::sync_point sync;
    if (auto const text = p.value("--sync")) {
        if (m != smpte::method::pulldown) return usage_error("--sync goes with --method pulldown");
        std::string why;
        auto const read = marlix::front::read_pulldown_sync(*text, *from, *to, &why);
        if (!read) return usage_error("--sync: " + marlix::front::describe(read.why, why));
        sync = read.value;
    }
    if (m == smpte::method::pulldown && !smpte::convert(smpte::timecode(0, *from), *to, m).ok())
        return usage_error(std::string("no 2:3 pulldown from ") + smpte::rate_name(*from) + " to " +
                           smpte::rate_name(*to) + " (23.976 and 29.97, or 24 and 30)");
    return for_each_item(p.operands, [&](std::string const& item) {
        auto const t = read_timecode(item, *from);
        if (!t) return item_result::failure(smpte::error_text(t.why));
        return timecode_result(smpte::convert(t.value, *to, m, sync));
    });
}

}  // namespace

namespace {

// A tc subcommand: its usage line and the options it takes.
struct tc_subcommand {
    char const* name;
    char const* usage;
    std::vector<std::string> with_value, flags;
};

tc_subcommand const tc_subcommands[] = {
    {"text", "usage: " TC_TEXT_USAGE, {"--rate"}, {"--no-wrap", "--native"}},
    {"frames", "usage: " TC_FRAMES_USAGE, {"--rate"}, {"--any-hours"}},
    {"check", "usage: " TC_CHECK_USAGE, {"--rate"}, {"--any-hours"}},
    {"add", "usage: " TC_ADD_USAGE, {"--rate"}, {"--any-hours", "--no-wrap"}},
    {"duration", "usage: " TC_DURATION_USAGE, {"--rate"}, {"--any-hours", "--signed"}},
    {"convert", "usage: " TC_CONVERT_USAGE, {"--from", "--to", "--method", "--sync"}, {}},
};

// The rate of --rate, or else of the global --project-rate.
std::optional<smpte::rate> tc_rate(parsed_args const& p, std::string& error) {
    if (p.has("--rate")) return rate_option(p, "--rate", error);
    if (auto const r = project_timecode_rate(error)) return r;
    if (error.empty()) error = "a rate is needed: --rate R (or the global --project-rate R)";
    return std::nullopt;
}

// Whether text is a whole number as people write one: a sign, then digits,
// with blanks around it.
bool looks_whole(std::string const& text) {
    std::string const t    = trim_blanks(text);
    std::size_t const sign = !t.empty() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
    return t.size() > sign && t.find_first_not_of("0123456789", sign) == t.npos;
}

std::string timecode_refused(std::string const& text, smpte::error why) {
    return marlix::front::quoted(text) + ": " + smpte::error_text(why);
}

}  // namespace

int run_tc(args_t const& args) {
    set_command_usage("usage: marlix tc text|frames|check|add|duration|convert OPTIONS OPERANDS");
    if (args.empty()) return usage_error("tc needs text, frames, check, add, duration or convert");
    std::string const what   = args.front();
    tc_subcommand const* sub = nullptr;
    for (auto const& c : tc_subcommands)
        if (what == c.name) sub = &c;
    if (sub == nullptr)
        return usage_error("tc has no " + marlix::front::quoted(what) +
                           ": text, frames, check, add, duration or convert");
    set_command_usage(sub->usage);
    args_t const rest(args.begin() + 1, args.end());
    parsed_args const p = parse_args(rest, sub->with_value, sub->flags);
    if (!p.error.empty()) return usage_error("tc " + what + ": " + p.error);
    if (what == "convert") return tc_convert(p);
    std::string error;
    auto const r = tc_rate(p, error);
    if (!r) return usage_error(error);
    smpte::read_options const options{p.has("--any-hours")};
    if (what == "text") {
        bool const wrap = !p.has("--no-wrap"), native = p.has("--native");
        if (native && smpte::converter_type(*r) == marlix::LABEL_NONE)
            return usage_error(std::string("no label converter counts ") + smpte::rate_name(*r));
        return for_each_item(p.operands, [&](std::string const& item) {
            auto const n = parse_integer(item, INT32_MIN, INT32_MAX);
            if (!n)
                return item_result::failure(looks_whole(item)
                                                ? "the frame count is out of the 32-bit range"
                                                : "not a frame count (a 32-bit whole number)");
            smpte::timecode const t(static_cast<std::int32_t>(*n), *r);
            return timecode_answer(native ? smpte::native_text(t) : smpte::to_string(t, wrap));
        });
    }
    if (what == "frames" || what == "check") {
        bool const check = what == "check";
        return for_each_item(p.operands, [&](std::string const& item) {
            auto const t = read_timecode(item, *r, options);
            // check answers "ok": false in JSON beside the reason.
            if (!t)
                return item_result::failure(smpte::error_text(t.why),
                                            check ? record::bare().mark("ok", false) : record{});
            if (check) return item_result::success(record::bare().mark("ok", true));
            return frames_answer(t.value.frames());
        });
    }
    if (what == "add") {
        bool const wrap = !p.has("--no-wrap");
        return for_each_pair(p.operands, [&](std::string const& a, std::string const& b) {
            auto const t = read_timecode(a, *r, options);
            if (!t) return item_result::failure(timecode_refused(a, t.why));
            if (looks_whole(b)) {
                auto const n = parse_integer(b, INT64_MIN, INT64_MAX);
                if (!n)
                    return item_result::failure(marlix::front::quoted(b) +
                                                ": frames out of the 64-bit range");
                return timecode_result(marlix::front::add_on_clock(t.value, *n, wrap), wrap);
            }
            auto const u = read_timecode(b, *r, options);
            if (!u)
                return item_result::failure(
                    marlix::front::quoted(b) +
                    " is neither frames nor a timecode: " + smpte::error_text(u.why));
            return timecode_result(marlix::front::add_on_clock(t.value, u.value.frames(), wrap),
                                   wrap);
        });
    }
    bool const signed_count = p.has("--signed");
    return for_each_pair(p.operands, [&](std::string const& a, std::string const& b) {
        auto const in = read_timecode(a, *r, options), out = read_timecode(b, *r, options);
        if (!in) return item_result::failure(timecode_refused(a, in.why));
        if (!out) return item_result::failure(timecode_refused(b, out.why));
        auto const d = marlix::front::clock_duration(in.value, out.value, signed_count);
        if (!d) return item_result::failure(smpte::error_text(d.why));
        return frames_answer(d.value);
    });
}

int run_pull(args_t const& args) {
    parsed_args const p =
        parse_args(args, {"--stock", "--rate", "--sync", "--footage", "--ink"}, {});
    if (!p.error.empty()) return usage_error(p.error);
    auto const stock_text = p.value("--stock");
    if (!stock_text) return usage_error("a stock is needed: --stock TYPE");
    std::string why;
    auto const stock = parse_label_type(*stock_text, why);
    if (!stock) return usage_error(why);
    std::string error;
    auto const r = rate_option(p, "--rate", error);
    if (!r) return usage_error(error);
    auto const sync_text = p.value("--sync");
    if (!sync_text) return usage_error("a sync point is needed: --sync KEYCODE=TC");
    auto made = marlix::front::keycode_pull::make(*stock, *r, *sync_text, &why);
    if (!made) {
        bool const sync_side = made.why == marlix::front::reason::not_a_sync_point ||
                               made.why == marlix::front::reason::sync_keycode ||
                               made.why == marlix::front::reason::sync_video_timecode;
        return usage_error((sync_side ? "--sync: " : "") +
                           marlix::front::describe(made.why, why, *stock));
    }
    marlix::front::keycode_pull& pull = made.value;
    using count_setter = marlix::front::result<bool> (marlix::front::keycode_pull::*)(
        std::string_view, std::string*);
    struct {
        char const* option;
        count_setter set;
        marlix::label_t type;
    } const counts[] = {
        {"--footage", &marlix::front::keycode_pull::set_footage, pull.footage_type()},
        {"--ink", &marlix::front::keycode_pull::set_ink, pull.ink_type()},
    };
    for (auto const& c : counts) {
        auto const text = p.value(c.option);
        if (!text) continue;
        auto const set = (pull.*c.set)(*text, &why);
        if (!set)
            return usage_error(
                std::string(c.option) + ": " +
                marlix::front::describe(
                    set.why, why, set.why == marlix::front::reason::sync_count ? c.type : *stock));
    }
    return for_each_item(p.operands, [&](std::string const& item) {
        auto const v = read_timecode(item, *r);
        if (!v) return item_result::failure(smpte::error_text(v.why));
        auto const k = pull(v.value);
        if (!k) return item_result::failure(marlix::front::describe(k.why, pull.refusal()));
        record row = record::bare().text("text", k.value.text);
        if (p.value("--footage")) row.text("footage", k.value.footage);
        if (p.value("--ink")) row.text("ink", k.value.ink);
        row.mark("split", k.value.split);
        return item_result::success(std::move(row));
    });
}

}  // namespace marlix_cli
