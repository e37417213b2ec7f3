// marlix xlate: positions translated between media; marlix cadence: a text
// picture of a pulldown cadence.

#include <cstdio>
#include <string>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const xlate_usage[] =
    "usage: marlix xlate --from MEDIUM --to MEDIUM [--transfer none|frame|pulldown|N]\n"
    "                    [--sequence N] [--transfer-rate R] [--video-medium MEDIUM]\n"
    "                    [--24p-source] [--round-to-frame] [--precision N] POSITION...\n"
    "Each position translated from one medium's time base to another's under the\n"
    "current project (see the global options): film positions are film frames / 24,\n"
    "sound, clock, video and playout positions seconds, cel positions project\n"
    "frames times the cel resolution. Prints the shortest text that reads back to\n"
    "the same double (for scripts), or with --precision N that many significant\n"
    "digits (for people); 'invalid' with the library's diagnostics on standard\n"
    "error. The output rate is the project rate unless --output-rate is given.\n"
    "MEDIUM is a number or a name without its MediumRoll prefix (Film, Audio,\n"
    "TOVClock, TOVCel, 24pM, 30i, Playout30iM, Video, PlayoutVideo, ...).\n";

char const cadence_usage[] =
    "usage: marlix cadence FILM-RATE:VIDEO [--sequence N] [--count N]\n"
    "Which film frame is on show in each video frame of one cadence cycle (or\n"
    "N frames), the two fields of an interlaced frame side by side: 24:30i at\n"
    "phase 0 gives AA BB BC CD DD. Film frames are lettered from A; a cycle of\n"
    "more than 26 film frames numbers them from 0, fields separated by '/'\n"
    "(0/0 1/1 ...). A film frame that started before the clip shows as '<'.\n"
    "FILM-RATE is 24 or 48; VIDEO is 25p, 25i, 30p or 30i (50p and 60p count as\n"
    "fields of 25 and 30).\n";

namespace {

std::optional<marlix::MediumRollMedium> parse_medium(std::string const& text) {
    auto const m = marlix::front::find_medium(text);
    if (!m) return std::nullopt;
    return m.value;
}

}  // namespace

int run_xlate(args_t const& args) {
    parsed_args const p = parse_args(args,
                                     {"--from", "--to", "--transfer", "--sequence",
                                      "--transfer-rate", "--video-medium", "--precision"},
                                     {"--24p-source", "--round-to-frame"});
    if (!p.error.empty()) return usage_error(p.error);
    auto const from_text = p.value("--from"), to_text = p.value("--to");
    if (!from_text || !to_text) return usage_error("xlate needs --from MEDIUM and --to MEDIUM");
    auto const from = parse_medium(*from_text), to = parse_medium(*to_text);
    if (!from) return usage_error(marlix::front::quoted(*from_text) + " is not a medium");
    if (!to) return usage_error(marlix::front::quoted(*to_text) + " is not a medium");
    marlix::MPosn_Xlate_Params params;
    if (auto t = p.value("--transfer")) {
        auto const transfer = marlix::front::find_transfer(trim_blanks(*t));
        if (!transfer)
            return usage_error("--transfer takes none, frame, pulldown or a number 0.." +
                               std::to_string(marlix::front::max_transfer_number));
        params.transfer = transfer.value;
    }
    if (auto s = p.value("--sequence")) {
        auto const n = parse_integer(*s, -1, 255);
        if (!n) return usage_error("--sequence takes a phase -1..255");
        params.sequence = static_cast<int>(*n);
    }
    if (auto r = p.value("--transfer-rate")) {
        auto const rate = parse_rate(*r);
        if (!rate)
            return usage_error(marlix::front::quoted(*r) + " is not a frame rate (" +
                               rate_names_text() + ")");
        params.transfer_rate = *rate;
    }
    if (auto v = p.value("--video-medium")) {
        auto const m = parse_medium(*v);
        if (!m) return usage_error(marlix::front::quoted(*v) + " is not a medium");
        params.video_medium = *m;
    } else {
        params.video_medium = marlix::getDefaultEditMediumForProject();
    }
    int precision = 0;  // 0: the shortest text that reads back
    if (auto d = p.value("--precision")) {
        auto const n = parse_integer(*d, 1, 17);
        if (!n) return usage_error("--precision takes 1..17 significant digits");
        precision = static_cast<int>(*n);
    }
    params.vidproj_24p_source = p.has("--24p-source");
    bool const round          = p.has("--round-to-frame");
    return for_each_item(p.operands, [&](std::string const& item) {
        auto const position = parse_double(item);
        if (!position) return item_result::failure("not a position (a number)");
        std::string why;
        auto const translated =
            marlix::front::translate(*position, *from, *to, params, round, &why);
        if (!translated)
            return item_result::failure("no translation from " +
                                        std::string(marlix::medium_name(*from)) + " to " +
                                        marlix::medium_name(*to) + ": " + why);
        return item_result::success(record::bare().real("position", translated.value, precision));
    });
}

int run_cadence(args_t const& args) {
    parsed_args const p = parse_args(args, {"--sequence", "--count"}, {});
    if (!p.error.empty()) return usage_error(p.error);
    if (p.operands.size() != 1) return usage_error("cadence takes one FILM-RATE:VIDEO");
    auto const found = marlix::front::find_cadence(p.operands.front());
    if (!found)
        return usage_error("cadence takes FILM-RATE:VIDEO: 24 or 48, then 25p, 25i, 30p or 30i");
    marlix::cadence_pair const pair   = found.value;
    marlix::cadence_shape const shape = marlix::cadence_shape_of(pair);
    int const phases                  = marlix::cadence_phase_count(pair);
    int sequence                      = 0;
    if (auto s = p.value("--sequence")) {
        auto const n = parse_integer(*s, 0, phases - 1);
        if (!n) return usage_error("--sequence takes a phase 0.." + std::to_string(phases - 1));
        sequence = static_cast<int>(*n);
    }
    int count = phases;  // video frames
    if (auto c = p.value("--count")) {
        auto const n = parse_integer(*c, 1, 1000);
        if (!n) return usage_error("--count takes 1..1000");
        count = static_cast<int>(*n);
    }
    bool const letters  = shape.film_frames <= 26;
    int const per_frame = shape.fields ? 2 : 1;
    std::string line;
    for (int frame = 0; frame < count; ++frame) {
        if (!line.empty()) line += ' ';
        for (int field = 0; field < per_frame; ++field) {
            if (field > 0 && !letters) line += '/';
            char name[marlix::cadence_frame_name_capacity];
            marlix::cadence_frame_name(
                pair, marlix::cadence_frame_on_show(pair, sequence, frame * per_frame + field),
                name);
            line += name;
        }
    }
    emit_record(record::bare().text("text", line));
    return exit_ok;
}

}  // namespace marlix_cli
