// marlix cutlist and marlix log: telecine logs read and checked, video
// lists matched back to the negative's key numbers.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const cutlist_usage[] =
    "usage: marlix cutlist --rate R --edl FILE... --log FILE... [--list LIST]\n"
    "                      [--stock TYPE] [--transfer 24:25] [--reel-map FILE]\n"
    "                      [--leader FT+FR] [--handles N] [--previous FILE...]\n"
    "                      [--dissolve-lengths N,N,...] [--csv] [--json]\n"
    "Matches each video edit of the lists back to the camera negative through the\n"
    "telecine logs (ALE): its clip by tape and source range (a reel map of\n"
    "'REEL TAPE' lines, else the tape of that name, else the one tape the reel\n"
    "starts, else * FROM CLIP NAME), its source through the clip's pulldown\n"
    "(2:3 from Pullin at 29.97, 30, 59.94 and 60; 24:25 at 25 with --transfer,\n"
    "frame for frame else) to film frames, printed as key numbers of the stock\n"
    "(FILM_FORMAT, or --stock TYPE: a keycode type, 65 mm too). R: {rates}.\n"
    "Each EDL is a picture reel with its own lists and running footage from\n"
    "--leader (default 0+00).\n"
    "Rounding: each cut starts at the film frame its source in's first field\n"
    "shows; its length keeps the film cut so far within half a frame of the\n"
    "record so far; ADJ is the frame gained or lost against the cut's own length.\n"
    "Lists: cut (record order, key out the last frame), pull (negative by lab\n"
    "roll, camera roll and key number, with the events that use it), missing\n"
    "(edits with no clip, clips without key numbers, sources past their clip),\n"
    "dupe (negative two or more cuts use, --handles N frames each side counted,\n"
    "default 1),\n"
    "optical (dissolves, wipes, fades and M2 speeds: the film of each side, a\n"
    "transition from the incoming record in as the list lays it; dissolves and\n"
    "fades of a lab's lengths apart, --dissolve-lengths, default\n"
    "16,24,32,48,64,96,128), change (from the --previous lists, one per --edl:\n"
    "pieces to add, remove, lengthen, shorten at the previous running footage,\n"
    "in record order and in reel order), sound (each cut's Soundroll and sound\n"
    "timecode through the log's Sound TC), audio (the sound rolls as an EDL at\n"
    "the sound timecode's rate), all (every list but audio, and the totals).\n"
    "--json: one object per row (with a 'list' key under --list all); --csv:\n"
    "the same rows as CSV with a header.\n"
    "Exit status 1 when something is missing or a file has an error.\n";

char const log_usage[] =
    "usage: marlix log check [--stock TYPE] [--transfer 24:25] [--json] FILE...\n"
    "       marlix log show [--stock TYPE] [--json|--csv] FILE\n"
    "       marlix log find KEY --log FILE... [--stock TYPE] [--json]\n"
    "Telecine logs (ALE): tab-parted Heading, Column and Data sections.\n"
    "check: each finding, as FILE:LINE: error|warning|note: message (FILE: for\n"
    "the log as a whole); exit status 1 when one is an error. The checks: key\n"
    "numbers read strictly, KN End and KN Duration against Start..End through\n"
    "the clip's pulldown (whether KN End is exclusive or inclusive is decided\n"
    "per log and reported), overlapping ranges on a tape, missing key numbers.\n"
    "show: one line per clip: its line and each column's text.\n"
    "find: the tape and timecode of the video frame whose first field shows\n"
    "the key number's film frame.\n";

namespace {

namespace film  = marlix::film;
namespace smpte = marlix::smpte;
namespace edl   = marlix::edl;

char const* level_text(film::severity s) {
    switch (s) {
        case film::severity::note: return "note";
        case film::severity::warning: return "warning";
        case film::severity::error: return "error";
    }
    return "error";
}

std::string where(std::string const& file, std::uint32_t line) {
    return line == 0 ? file : file + ":" + std::to_string(line);
}

// The options both commands share: the stock and the transfer.
struct film_options {
    marlix::label_t stock = marlix::LABEL_NONE;
    bool pal              = false;
};

std::optional<std::string> read_film_options(parsed_args const& p, film_options& o) {
    if (auto const s = p.value("--stock")) {
        auto const t = marlix::front::find_converter_type(trim_blanks(*s));
        if (!t || film::geometry_of(t.value).perfs_per_frame == 0)
            return "'" + *s + "' is no keycode stock";
        o.stock = t.value;
    }
    if (auto const t = p.value("--transfer")) {
        if (*t == "24:25")
            o.pal = true;
        else if (*t != "frame")
            return "'" + *t + "' is no transfer (24:25 or frame)";
    }
    return std::nullopt;
}

bool load_log(std::string const& file, film_options const& o, smpte::rate r,
              std::vector<film::telecine_log>& logs) {
    std::string bytes, why;
    if (!read_all(file, bytes, why)) {
        std::fprintf(stderr, "marlix: %s: %s\n", file.c_str(), why.c_str());
        return false;
    }
    logs.push_back(film::read_log(bytes, {o.stock, r, o.pal}));
    return true;
}

// The lists' rows come from the library as named cells; the tool prints them
// as aligned text, as CSV with a header, or as JSON objects.
using film::list_table;
using film::table_cell;
using film::table_row;

enum class output { text, csv, json };

// Text of whole lines, each ending in LF, to standard output.
void emit_lines(std::string const& text) {
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == text.npos) end = text.size();
        emit_line(text.substr(at, end - at));
    }
}

void emit_rows(list_table const& rows, output how, char const* list_key) {
    if (rows.empty()) return;
    if (how == output::csv) return emit_lines(film::table_csv(rows));
    if (how == output::text) return emit_lines(film::table_text(rows));
    for (table_row const& r : rows) {
        std::string out = "{";
        if (list_key != nullptr) out += "\"list\": " + json_string(list_key) + ", ";
        bool first = true;
        for (table_cell const& c : r) {
            out += first ? "" : ", ";
            first = false;
            out += json_string(c.name) + ": ";
            out += c.null_when_empty && c.text.empty() ? std::string("null")
                   : c.number                          ? c.text
                                                       : json_string(c.text);
        }
        emit_line(out + "}");
    }
}

std::string n(long long v) { return std::to_string(v); }

bool read_reel_map(std::string const& file, film::list_options& o) {
    std::string bytes, why;
    if (!read_all(file, bytes, why)) {
        std::fprintf(stderr, "marlix: %s: %s\n", file.c_str(), why.c_str());
        return false;
    }
    std::size_t start = 0;
    for (std::uint32_t line = 1; start < bytes.size(); ++line) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == bytes.npos) end = bytes.size();
        std::string const text = trim_blanks(bytes.substr(start, end - start));
        start                  = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (text.empty() || text[0] == '#') continue;
        std::size_t const blank = text.find_first_of(" \t");
        if (blank == text.npos) {
            std::fprintf(stderr, "marlix: %s:%u: a reel map line is REEL TAPE\n", file.c_str(),
                         line);
            return false;
        }
        o.reel_map.emplace_back(text.substr(0, blank), trim_blanks(text.substr(blank)));
    }
    return true;
}

// The log findings worth a line on standard error: errors and warnings.
bool report_log(std::string const& file, film::telecine_log const& log) {
    for (film::log_finding const& f : log.findings)
        if (f.level() != film::severity::note)
            std::fprintf(stderr, "marlix: %s: %s: %s\n", where(file, f.line).c_str(),
                         level_text(f.level()), film::describe(f).c_str());
    return log.ok();
}

}  // namespace

int run_cutlist(args_t const& args) {
    // --edl and --log take every file up to the next option.
    std::vector<std::string> edls, logs, previous, rest;
    std::vector<std::string>* into = nullptr;
    for (std::size_t k = 0; k < args.size(); ++k) {
        std::string const& a = args[k];
        if (a == "--edl" || a == "--log" || a == "--previous") {
            into = a == "--edl" ? &edls : a == "--log" ? &logs : &previous;
        } else if (into != nullptr && (a.empty() || a[0] != '-' || a == "-")) {
            into->push_back(a);
        } else {
            into = nullptr;
            rest.push_back(a);
        }
    }
    parsed_args const p = parse_args(rest,
                                     {"--rate", "--list", "--stock", "--transfer", "--reel-map",
                                      "--leader", "--handles", "--dissolve-lengths"},
                                     {"--csv", "--json"});
    if (!p.error.empty()) return usage_error(p.error);
    if (!p.operands.empty()) return usage_error("files follow --edl, --log or --previous");
    std::string rate_error;
    auto const r = rate_option(p, "--rate", rate_error);
    if (!r) return usage_error(rate_error);
    if (edls.empty() || logs.empty())
        return usage_error("lists and logs are needed: --edl FILE... --log FILE...");
    std::string const list          = p.value("--list").value_or("cut");
    char const* const lists_known[] = {"cut",    "pull",  "missing", "dupe", "optical",
                                       "change", "sound", "audio",   "all"};
    if (std::find(std::begin(lists_known), std::end(lists_known), list) == std::end(lists_known))
        return usage_error("no list '" + list +
                           "' (cut, pull, missing, dupe, optical, change, sound, audio or all)");
    if (!previous.empty() && previous.size() != edls.size())
        return usage_error("--previous takes one list for each --edl list");
    if (list == "change" && previous.empty())
        return usage_error("the change list needs the previous lists: --previous FILE...");
    film_options fo;
    if (auto const e = read_film_options(p, fo)) return usage_error(*e);
    if (p.has("--json")) set_json_output(true);
    output const how = json_output() ? output::json : p.has("--csv") ? output::csv : output::text;

    int status = exit_ok;
    std::vector<film::telecine_log> loaded;
    for (std::string const& file : logs) {
        if (!load_log(file, fo, smpte::no_rate, loaded)) return exit_item_failed;
        if (!report_log(file, loaded.back())) status = exit_item_failed;
    }
    film::list_options options;
    options.pal_24_25 = fo.pal;
    if (auto const h = p.value("--handles")) {
        auto const v = parse_integer(*h, 0, 10000);
        if (!v) return usage_error("--handles takes frames 0 to 10000, not '" + *h + "'");
        options.handles = static_cast<std::int32_t>(*v);
    }
    if (auto const d = p.value("--dissolve-lengths")) {
        options.lab_lengths.clear();
        std::size_t start = 0;
        while (start <= d->size()) {
            std::size_t end = d->find(',', start);
            if (end == d->npos) end = d->size();
            auto const v = parse_integer(d->substr(start, end - start), 1, 99999);
            if (!v)
                return usage_error(
                    "--dissolve-lengths takes frames 1 to 99999 parted by commas, "
                    "not '" +
                    *d + "'");
            options.lab_lengths.push_back(static_cast<std::int32_t>(*v));
            start = end + 1;
        }
    }
    if (auto const m = p.value("--reel-map"); m && !read_reel_map(*m, options))
        return exit_item_failed;
    marlix::label_t stock = fo.stock;
    for (auto const& l : loaded)
        if (stock == marlix::LABEL_NONE) stock = l.stock;
    if (auto const leader = p.value("--leader")) {
        options.leader_perfs = film::read_footage(*leader, film::geometry_of(stock));
        if (options.leader_perfs < 0)
            return usage_error("'" + *leader + "' is no footage FT+FR of the stock");
    }
    film::clip_index const index(loaded);
    // A list read, its errors reported; false where the file does not read.
    auto const read_list = [&](std::string const& file, edl::document& doc) {
        std::string bytes, why;
        if (!read_all(file, bytes, why)) {
            std::fprintf(stderr, "marlix: %s: %s\n", file.c_str(), why.c_str());
            status = exit_item_failed;
            return false;
        }
        doc = edl::read(bytes, *r);
        for (edl::finding const& f : doc.findings)
            if (f.level() == edl::severity::error) {
                std::fprintf(stderr, "marlix: %s:%u: error: %s\n", file.c_str(), f.line,
                             edl::describe(f).c_str());
                status = exit_item_failed;
            }
        return true;
    };
    for (std::size_t k = 0; k < edls.size(); ++k) {
        std::string const& file = edls[k];
        edl::document doc;
        if (!read_list(file, doc)) continue;
        film::film_lists const lists = film::make_lists(doc, index, options);
        for (film::list_finding const& f : lists.findings) {
            if (f.level() == film::severity::note) continue;
            if (f.event < 0)
                std::fprintf(stderr, "marlix: %s: %s: %s\n", file.c_str(), level_text(f.level()),
                             film::describe(f).c_str());
            else
                std::fprintf(stderr, "marlix: %s:%u: %s: %03d: %s\n", file.c_str(), f.line,
                             level_text(f.level()), static_cast<int>(f.event),
                             film::describe(f).c_str());
        }
        if (!lists.missing.empty()) status = exit_item_failed;
        if (list == "audio") {
            edl::document const audio = film::audio_edl(lists, doc.text(doc.title));
            emit_lines(edl::write(audio));
            continue;
        }
        bool const all = list == "all";
        if (how == output::text)
            emit_line("# reel " + n(static_cast<long long>(k + 1)) + ": " + file);
        if (list == "cut" || all) {
            emit_rows(film::cut_table(lists), how, all ? "cut" : nullptr);
            if (how == output::text)
                emit_line("total: " + n(lists.totals.events) + " events, " +
                          lists.totals.feet_frames + " (" + n(lists.totals.frames) +
                          " frames), running time " + lists.totals.running_time);
        }
        if (list == "pull" || all) emit_rows(film::pull_table(lists), how, all ? "pull" : nullptr);
        if (list == "missing" || all)
            emit_rows(film::missing_table(lists), how, all ? "missing" : nullptr);
        if (list == "dupe" || all) {
            auto const rows = film::dupe_table(lists);
            if (all && how == output::text && !rows.empty()) emit_line("# dupes");
            emit_rows(rows, how, all ? "dupe" : nullptr);
        }
        if (list == "optical" || all) {
            for (bool const lab : {false, true}) {
                auto const rows = film::optical_table(lists, lab);
                if (how == output::text && !rows.empty())
                    emit_line(lab ? "# lab dissolves and fades" : "# opticals");
                emit_rows(rows, how, all ? "optical" : nullptr);
            }
        }
        if (list == "sound" || all) {
            auto const rows = film::sound_table(lists);
            if (all && how == output::text && !rows.empty()) emit_line("# sound");
            emit_rows(rows, how, all ? "sound" : nullptr);
        }
        if ((list == "change" || all) && !previous.empty()) {
            edl::document before;
            if (read_list(previous[k], before)) {
                film::film_lists const was      = film::make_lists(before, index, options);
                film::change_list const changes = film::make_change_list(was, lists);
                auto rows                       = film::change_table(changes, false);
                auto by_reel                    = film::change_table(changes, true);
                if (how == output::text) {
                    emit_line("# changes from " + previous[k] + ", in record order");
                    emit_rows(rows, how, nullptr);
                    emit_line("# in reel order");
                    emit_rows(by_reel, how, nullptr);
                } else {
                    rows.insert(rows.end(), by_reel.begin(), by_reel.end());
                    emit_rows(rows, how, all ? "change" : nullptr);
                }
            }
        }
        if (all && how != output::text) emit_rows({film::totals_row(lists)}, how, "totals");
    }
    return status;
}

int run_log(args_t const& args) {
    if (args.empty()) return usage_error("log takes check, show or find");
    std::string const job = args.front();
    if (job != "check" && job != "show" && job != "find")
        return usage_error("no log command '" + job + "' (check, show or find)");
    std::vector<std::string> rest, logs;
    bool in_logs = false;
    for (std::size_t k = 1; k < args.size(); ++k) {
        if (args[k] == "--log") {
            in_logs = true;
        } else if (in_logs && (args[k].empty() || args[k][0] != '-' || args[k] == "-")) {
            logs.push_back(args[k]);
        } else {
            in_logs = false;
            rest.push_back(args[k]);
        }
    }
    parsed_args const p =
        parse_args(rest, {"--stock", "--transfer", "--rate"}, {"--json", "--csv"});
    if (!p.error.empty()) return usage_error(p.error);
    film_options fo;
    if (auto const e = read_film_options(p, fo)) return usage_error(*e);
    smpte::rate rate{0, 0, false};  // the log's FPS decides unless given
    if (p.value("--rate")) {
        std::string error;
        auto const r = rate_option(p, "--rate", error);
        if (!r) return usage_error(error);
        rate = *r;
    }
    if (p.has("--json")) set_json_output(true);
    if (job == "find") {
        if (p.operands.size() != 1 || logs.empty())
            return usage_error("find takes one KEY and --log FILE...");
    } else if (p.operands.empty() || (job == "show" && p.operands.size() != 1)) {
        return usage_error(job == "show" ? "log show reads one log" : "a log is needed: FILE");
    } else {
        logs = p.operands;
    }
    int status = exit_ok;
    std::vector<film::telecine_log> loaded;
    for (std::string const& file : logs) {
        if (!load_log(file, fo, rate, loaded)) {
            status = exit_item_failed;
            continue;
        }
        film::telecine_log const& log = loaded.back();
        if (!log.ok()) status = exit_item_failed;
        if (job == "check") {
            for (film::log_finding const& f : log.findings) {
                if (json_output())
                    emit_line("{\"file\": " + json_string(file) +
                              ", \"line\": " + (f.line > 0 ? n(f.line) : std::string("null")) +
                              ", \"severity\": \"" + level_text(f.level()) + "\", \"kind\": \"" +
                              film::finding_name(f.kind) +
                              "\", \"message\": " + json_string(film::describe(f)) + "}");
                else
                    emit_line(where(file, f.line) + ": " + level_text(f.level()) + ": " +
                              film::describe(f));
            }
        } else if (job == "show") {
            report_log(file, log);
            list_table rows;
            for (film::clip const& c : log.clips) {
                table_row cells{{"line", n(c.line), true, false}};
                for (std::size_t k = 0; k < log.columns.size(); ++k)
                    cells.push_back({log.columns[k],
                                     k < c.fields.size() ? c.fields[k] : std::string(), false,
                                     false});
                rows.push_back(std::move(cells));
            }
            if (json_output() || p.has("--csv")) {
                emit_rows(rows, json_output() ? output::json : output::csv, nullptr);
            } else {
                for (table_row const& cells : rows) {
                    std::string line;
                    for (table_cell const& c : cells)
                        line += (line.empty() ? "" : " ") + c.name + "=" +
                                (c.number ? c.text : json_string(c.text));
                    emit_line(line);
                }
            }
        }
    }
    if (job != "find") return status;
    // The film frame of the key, in each clip of its roll that holds it.
    marlix::label_t stock = fo.stock;
    for (auto const& l : loaded)
        if (stock == marlix::LABEL_NONE) stock = l.stock;
    auto keys      = marlix::front::labeller::make(stock);
    auto const key = keys ? keys.value.sample(p.operands[0]) : decltype(keys.value.sample("")){};
    if (!keys || !key) {
        std::fprintf(stderr, "marlix: %s: %s\n", p.operands[0].c_str(),
                     keys && !keys.value.refusal().empty() ? keys.value.refusal().c_str()
                                                           : "no key number of the stock");
        return exit_item_failed;
    }
    std::string const prefix =
        std::string(keys.value.prefix_read())
            .substr(0, static_cast<std::size_t>(std::max(keys.value.prefix_length(), 0)));
    film::stock_geometry const g = film::geometry_of(stock);
    bool found                   = false;
    for (film::telecine_log const& log : loaded) {
        for (film::clip const& c : log.clips) {
            if (!c.has_range || !c.kn_start.present || c.kn_start.prefix != prefix) continue;
            std::int64_t const d = std::int64_t{key.value} - c.kn_start.sample;
            if (d < 0 || d % g.perfs_per_frame != 0) continue;
            std::int64_t const film_frame = d / g.perfs_per_frame;
            film::cadence const cad       = film::cadence_of(log.rate, c.phase, fo.pal);
            std::int64_t const length     = std::int64_t{c.end.frames()} - c.start.frames();
            std::int64_t v                = film_frame * cad.den / cad.num - 3;
            v                             = std::max<std::int64_t>(v, 0);
            while (v < length && film::last_film_frame(cad, v) < film_frame) ++v;
            if (v >= length) continue;
            found                = true;
            std::string const tc = smpte::to_string(
                smpte::timecode(static_cast<std::int32_t>(c.start.frames() + v), log.rate));
            std::string const tape(log.field(c, film::column::tape));
            std::string const name(log.field(c, film::column::name));
            if (json_output())
                emit_line("{\"key\": " + json_string(p.operands[0]) + ", \"tape\": " +
                          json_string(tape) + ", \"timecode\": " + json_string(tc) +
                          ", \"clip\": " + json_string(name) + ", \"line\": " + n(c.line) + "}");
            else
                emit_line(tape + " " + tc + " " + name);
        }
    }
    if (!found) {
        std::fprintf(stderr, "marlix: %s: in no logged clip\n", p.operands[0].c_str());
        return exit_item_failed;
    }
    return status;
}

}  // namespace marlix_cli
