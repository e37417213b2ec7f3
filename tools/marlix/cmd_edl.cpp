// marlix edl: edit decision lists read, checked, shown and rewritten.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const edl_usage[] =
    "usage: marlix edl check --rate R [--strict] [--json] FILE...\n"
    "       marlix edl show --rate R [--strict] [--json] FILE\n"
    "       marlix edl format --rate R [--tolerant] FILE\n"
    "       marlix edl convert --rate R --to R [--method frame|realtime|pulldown]\n"
    "                          [--sync FILMTC=VIDEOTC] [--reel-sync REEL=FILMTC=VIDEOTC]...\n"
    "                          [--sources keep] [--json --output OUT] FILE\n"
    "CMX 3600 edit decision lists (and the File16/32/128 layouts). FILE '-' is\n"
    "standard input. R: {rates}; a list\n"
    "does not carry its rate. At 29.97 and 59.94, FCM: lines alone choose\n"
    "drop-frame (R with df: drop-frame before the first FCM: line); ':', ';',\n"
    "'.' or ',' may stand before the frames in either mode.\n"
    "check: each finding, as FILE:LINE: error|warning: EVENT: message (EVENT\n"
    "'-' outside any event); exit status 1 when one is an error.\n"
    "show: one line per edit, as name=value fields.\n"
    "format: the canonical rewrite: CMX 3600 columns, timecodes in the SMPTE\n"
    "form of their mode, comments and M2, AUD, SPLIT and FCM lines where they\n"
    "stood, LF line ends, UTF-8. A list with an error is refused, with the\n"
    "first error, unless --tolerant.\n"
    "convert: the list at rate --to, in canonical form; a list with an error is\n"
    "refused. Between drop-frame and non-drop at one rate the frames stay and\n"
    "--method may be left out. frame keeps every count (a speed change);\n"
    "realtime puts each in on the frame on show at its instant, keeps record\n"
    "events contiguous and gives each source out as its in plus the new record\n"
    "length; pulldown is 2:3 between 23.976 and 29.97 (or 24 and 30), the record\n"
    "side from --sync (default 00:00:00:00=00:00:00:00), each source reel from\n"
    "its --reel-sync, or its timecodes left as written with --sources keep. M2\n"
    "speeds keep their multiple of the rate; transition lengths and split\n"
    "delays move with the record side. Each edit whose record length rounding\n"
    "changed is reported on standard error (with --json: one object each on\n"
    "standard output, and the list goes to OUT).\n"
    "check and show read on past errors and report them all; with --strict\n"
    "they stop at the first. --json: one object per finding or edit.\n";

namespace {

namespace edl   = marlix::edl;
namespace smpte = marlix::smpte;

std::string event_text(std::int32_t event) {
    if (event < 0) return "-";
    char text[sizeof("-2147483648")];
    std::snprintf(text, sizeof text, "%03d", static_cast<int>(event));
    return text;
}

char const* level_text(edl::finding const& f) {
    return f.level() == edl::severity::error ? "error" : "warning";
}

std::string finding_line(std::string const& file, edl::finding const& f, bool with_column) {
    std::string where = file + ":" + std::to_string(f.line);
    if (with_column && f.column > 0) where += ":" + std::to_string(f.column);
    return where + ": " + level_text(f) + ": " + event_text(f.event) + ": " + edl::describe(f);
}

std::string finding_json(std::string const& file, edl::finding const& f) {
    std::string out = "{\"file\": " + json_string(file) + ", \"line\": " + std::to_string(f.line);
    out += ", \"column\": " + (f.column > 0 ? std::to_string(f.column) : std::string("null"));
    out += ", \"event\": " + (f.event >= 0 ? std::to_string(f.event) : std::string("null"));
    out += std::string(", \"severity\": \"") + level_text(f) + "\", \"kind\": \"" +
           edl::finding_name(f.kind) + "\", \"message\": " + json_string(edl::describe(f)) + "}";
    return out;
}

// The channels as names: V, A1 .. A99.
std::vector<std::string> channel_names(edl::channel_set c) {
    std::vector<std::string> names;
    if (c.video) names.emplace_back("V");
    for (int n = 1; n <= edl::channel_set::max_audio; ++n)
        if (c.audio(n)) names.push_back("A" + std::to_string(n));
    return names;
}

std::string speed_json(std::int32_t tenths) {
    char text[sizeof("-214748364.8")];
    long long const v = tenths < 0 ? -static_cast<long long>(tenths) : tenths;
    std::snprintf(text, sizeof text, "%s%lld.%lld", tenths < 0 ? "-" : "", v / 10, v % 10);
    return text;
}

// The comments after an edit: its '*' lines and the lines kept as comments.
std::vector<std::string_view> comments(edl::document const& doc, edl::edit const& e) {
    std::vector<std::string_view> out;
    for (std::size_t k = e.first_line;
         k < std::size_t{e.first_line} + e.line_count && k < doc.lines.size(); ++k)
        if (doc.lines[k].kind == edl::line_kind::comment ||
            doc.lines[k].kind == edl::line_kind::other)
            out.push_back(doc.text(doc.lines[k].text));
    return out;
}

std::string edit_json(edl::document const& doc, edl::edit const& e) {
    auto const text_or_null = [&](edl::span s) {
        return s.size == 0 ? std::string("null") : json_string(doc.text(s));
    };
    std::string out =
        "{\"event\": " + std::to_string(e.event) + ", \"line\": " + std::to_string(e.line);
    out += ", \"reel\": " + json_string(doc.text(e.reel)) + ", \"channels\": [";
    bool first = true;
    for (auto const& c : channel_names(e.all_channels())) {
        out += first ? "" : ", ";
        out += json_string(c);
        first = false;
    }
    out += "], \"transition\": " + json_string(edl::transition_text(e.how));
    out += ", \"transition_frames\": " + std::to_string(e.how.frames);
    char const* names[]           = {"source_in", "source_out", "record_in", "record_out"};
    smpte::timecode const times[] = {e.source_in, e.source_out, e.record_in, e.record_out};
    for (std::size_t k = 0; k < 4; ++k)
        out += std::string(", \"") + names[k] + "\": " + json_string(smpte::to_string(times[k]));
    out += ", \"source_frames\": " +
           std::to_string(std::int64_t{e.source_out.frames()} - e.source_in.frames());
    out += ", \"record_frames\": " +
           std::to_string(std::int64_t{e.record_out.frames()} - e.record_in.frames());
    out +=
        ", \"speed\": " + (e.has_motion ? speed_json(e.speed.speed_tenths) : std::string("null"));
    out += ", \"clip\": " + text_or_null(e.clip) + ", \"to_clip\": " + text_or_null(e.to_clip) +
           ", \"source_file\": " + text_or_null(e.source_file) + ", \"comments\": [";
    first = true;
    for (auto const c : comments(doc, e)) {
        out += first ? "" : ", ";
        out += json_string(c);
        first = false;
    }
    return out + "]}";
}

record edit_record(edl::document const& doc, edl::edit const& e) {
    std::string channels;
    for (auto const& c : channel_names(e.all_channels()))
        channels += (channels.empty() ? "" : ",") + c;
    record r =
        record::fields()
            .integer("event", e.event)
            .integer("line", e.line)
            .text("reel", std::string(doc.text(e.reel)))
            .text("channels", channels)
            .text("transition", edl::transition_text(e.how))
            .integer("transition_frames", e.how.frames)
            .text("source_in", smpte::to_string(e.source_in))
            .text("source_out", smpte::to_string(e.source_out))
            .text("record_in", smpte::to_string(e.record_in))
            .text("record_out", smpte::to_string(e.record_out))
            .integer("source_frames", std::int64_t{e.source_out.frames()} - e.source_in.frames())
            .integer("record_frames", std::int64_t{e.record_out.frames()} - e.record_in.frames());
    if (e.has_motion) r.real("speed", e.speed.speed_tenths / 10.0);
    if (e.clip.size != 0) r.text("clip", std::string(doc.text(e.clip)));
    if (e.to_clip.size != 0) r.text("to_clip", std::string(doc.text(e.to_clip)));
    if (e.source_file.size != 0) r.text("source_file", std::string(doc.text(e.source_file)));
    return r;
}

std::string rounding_json(std::string const& file, edl::rounding const& r) {
    // The exact length to three decimals, as describe() gives it.
    std::string const text = edl::describe(r);
    std::size_t const open = text.rfind('(');
    std::size_t const end  = text.find(' ', open);
    return "{\"file\": " + json_string(file) + ", \"line\": " + std::to_string(r.line) +
           ", \"event\": " + std::to_string(r.event) +
           ", \"record_frames\": " + std::to_string(r.before) +
           ", \"new_record_frames\": " + std::to_string(r.after) +
           ", \"exact_frames\": " + text.substr(open + 1, end - open - 1) + "}";
}

bool write_file(std::string const& name, std::string const& text, std::string& why) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (f == nullptr) {
        why = std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (!ok) why = std::strerror(errno);
    if (std::fclose(f) != 0 && ok) {
        ok  = false;
        why = std::strerror(errno);
    }
    return ok;
}

int edl_convert(args_t const& args) {
    parsed_args const p = parse_args(
        args, {"--rate", "--to", "--method", "--sync", "--reel-sync", "--sources", "--output"},
        {"--json"});
    if (!p.error.empty()) return usage_error(p.error);
    std::string error;
    auto const from_rate = rate_option(p, "--rate", error);
    if (!from_rate) return usage_error(error);
    auto const to_rate = rate_option(p, "--to", error);
    if (!to_rate) return usage_error(error);
    smpte::rate const from = *from_rate, to = *to_rate;
    edl::convert_options o;
    o.to = to;
    if (auto const text = p.value("--method")) {
        o.method = marlix::front::find_method(*text);
        if (!o.method) return usage_error("--method takes frame, realtime or pulldown");
    }
    bool const one_rate = from.num == to.num && from.den == to.den;
    if (!o.method && !one_rate)
        return usage_error(std::string("between ") + smpte::rate_name(from) + " and " +
                           smpte::rate_name(to) +
                           " a method is needed: --method frame, realtime or pulldown");
    bool const pulldown = o.method == smpte::method::pulldown;
    if (pulldown && (one_rate || !smpte::convert(smpte::timecode(0, from), to, *o.method).ok()))
        return usage_error(std::string("no 2:3 pulldown from ") + smpte::rate_name(from) + " to " +
                           smpte::rate_name(to) + " (23.976 and 29.97, or 24 and 30)");
    for (auto const& [name, value] : p.options) {
        if ((name == "--sync" || name == "--reel-sync" || name == "--sources") && !pulldown)
            return usage_error(name + " goes with --method pulldown");
        std::string why;
        if (name == "--sync") {
            auto const read = marlix::front::read_pulldown_sync(value, from, to, &why);
            if (!read) return usage_error("--sync: " + marlix::front::describe(read.why, why));
            o.sync = read.value;
        } else if (name == "--reel-sync") {
            auto read = edl::read_reel_sync(value, from, to, &why);
            if (!read) return usage_error("--reel-sync: " + marlix::front::describe(read.why, why));
            o.reel_syncs.push_back(std::move(read.value));
        } else if (name == "--sources") {
            if (value != "keep") return usage_error("--sources takes keep");
            o.keep_sources = true;
        }
    }
    bool const json   = p.has("--json") || json_output();
    auto const output = p.value("--output");
    if (json && !output)
        return usage_error("--json writes the report: the list needs --output OUT");
    if (p.operands.size() != 1)
        return usage_error("edl convert reads one list: FILE, or - for standard input");
    std::string const& file = p.operands.front();
    std::string bytes, why;
    if (!read_all(file, bytes, why)) {
        std::fprintf(stderr, "marlix: %s: %s\n", file.c_str(), why.c_str());
        return exit_item_failed;
    }
    edl::document const doc = edl::read(bytes, from);
    if (!doc.ok()) {
        for (edl::finding const& f : doc.findings)
            if (f.level() == edl::severity::error)
                std::fprintf(stderr, "marlix: %s\n", finding_line(file, f, false).c_str());
        return exit_item_failed;
    }
    edl::conversion const c = edl::convert(doc, o);
    if (!c.ok()) {
        std::string where = file;
        if (c.line > 0) where += ":" + std::to_string(c.line) + ": " + event_text(c.event);
        std::fprintf(stderr, "marlix: %s: %s\n", where.c_str(), edl::describe(c).c_str());
        return exit_item_failed;
    }
    std::string const text = edl::write(c.doc);
    if (output) {
        if (!write_file(*output, text, why)) {
            std::fprintf(stderr, "marlix: %s: %s\n", output->c_str(), why.c_str());
            return exit_item_failed;
        }
    } else if (!text.empty()) {
        emit_line(text.substr(0, text.size() - 1));
    }
    for (edl::rounding const& r : c.changed) {
        if (json) {
            emit_line(rounding_json(file, r));
        } else {
            finish_output();
            std::fprintf(stderr, "marlix: %s:%u: %s: record length rounded: %s\n", file.c_str(),
                         static_cast<unsigned>(r.line), event_text(r.event).c_str(),
                         edl::describe(r).c_str());
        }
    }
    return exit_ok;
}

}  // namespace

int run_edl(args_t const& args) {
    if (args.empty()) return usage_error("edl takes check, show, format or convert");
    std::string const job = args.front();
    if (job == "convert") return edl_convert(args_t(args.begin() + 1, args.end()));
    if (job != "check" && job != "show" && job != "format")
        return usage_error("no edl command '" + job + "' (check, show, format or convert)");
    parsed_args const p = parse_args(args_t(args.begin() + 1, args.end()), {"--rate"},
                                     {"--strict", "--tolerant", "--json"});
    if (!p.error.empty()) return usage_error(p.error);
    std::string rate_error;
    auto const r = rate_option(p, "--rate", rate_error);
    if (!r) return usage_error(rate_error);
    if (p.operands.empty()) return usage_error("a list is needed: FILE, or - for standard input");
    if (job != "check" && p.operands.size() != 1)
        return usage_error("edl " + job + " reads one list");
    if (p.has("--json")) set_json_output(true);
    bool const strict = job == "format" ? !p.has("--tolerant") : p.has("--strict");

    int status = exit_ok;
    for (std::string const& file : p.operands) {
        std::string bytes, why;
        if (!read_all(file, bytes, why)) {
            std::fprintf(stderr, "marlix: %s: %s\n", file.c_str(), why.c_str());
            status = exit_item_failed;
            continue;
        }
        edl::document const doc =
            edl::read(bytes, *r, {strict ? edl::mode::strict : edl::mode::tolerant});
        if (!doc.ok()) status = exit_item_failed;
        if (job == "check") {
            for (edl::finding const& f : doc.findings)
                emit_line(json_output() ? finding_json(file, f) : finding_line(file, f, strict));
            continue;
        }
        // show and format report errors on standard error, as other commands do.
        for (edl::finding const& f : doc.findings)
            if (f.level() == edl::severity::error)
                std::fprintf(stderr, "marlix: %s\n", finding_line(file, f, strict).c_str());
        if (job == "show") {
            for (edl::edit const& e : doc.edits)
                json_output() ? emit_line(edit_json(doc, e)) : emit_record(edit_record(doc, e));
        } else if (doc.ok() || !strict) {
            std::string const text = edl::write(doc);
            if (!text.empty()) emit_line(text.substr(0, text.size() - 1));
        }
    }
    return status;
}

}  // namespace marlix_cli
