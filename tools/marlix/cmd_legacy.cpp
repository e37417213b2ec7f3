// marlix legacy timecode | frames | plus: the fixed-width frame-label
// arithmetic, with the legacy label, transfer and edit numbers.

#include <cstdio>
#include <string>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const legacy_usage[] =
    "usage: marlix legacy timecode -t LABEL_TYPE [--drop] FRAME...\n"
    "       marlix legacy frames -t LABEL_TYPE [OPTIONS] LABEL...\n"
    "       marlix legacy plus -t LABEL_TYPE [OPTIONS] [--digit-flags N] LABEL DELTA\n"
    "Options: --drop, --transfer T (0 none, 1 4-into-5, 2 24-into-25, 3 frame for\n"
    "frame), --edit E (0 film frames, 1 video frames), --phase P, --foot-phase F,\n"
    "--frames-per-foot N. LABEL_TYPE is the legacy number 1..43 (1, 3, 22, 25, 42\n"
    "30 fps; 2, 5, 7, 21 25 fps; 36, 39 50; 37, 40 60; 4, 6, 34 24; 38, 41, 43\n"
    "48/24; 8, 11, 27 footage; 26 three-perforation footage). Frames count from\n"
    "1. frames prints frame= phase= foot_phase= result=; plus prints label=\n"
    "phase= foot_phase= result=. --digit-flags sets where footage wraps (10^k\n"
    "feet, k the set bits from bit 2; default 252, 10^6 feet). With no operands\n"
    "plus reads lines of LABEL and DELTA, the delta last.\n";

namespace {

// A legacy call's answer: refused where it answered 0, else the fields with
// the phases it moved to and its answer.
item_result legacy_answer(int r, record&& fields, int ph, int fp) {
    if (r == 0)
        return item_result::failure("the label type, edit, transfer or foot phase is refused");
    return item_result::success(
        std::move(fields).integer("phase", ph).integer("foot_phase", fp).integer("result", r));
}

struct legacy_options {
    marlix::label_type type{};
    int drop = 0, phase = 0, foot_phase = 1, frames_per_foot = 16;
    marlix::transfer_type transfer = marlix::transfer_none;
    marlix::edit_type edit         = marlix::edit_video_frames;
    unsigned char digit_flags      = 0xfc;
};

// Reads the options; answers an error message, empty when all is well.
std::string read_options(parsed_args const& p, legacy_options& o) {
    auto const type = p.value("-t");
    if (!type) return "a legacy label type is needed: -t LABEL_TYPE";
    auto const t = parse_integer(*type, 1, 43);
    if (!t) return "-t takes a legacy label type 1..43";
    o.type = static_cast<marlix::label_type>(*t);
    o.drop = p.has("--drop") ? 1 : 0;
    struct numeric {
        char const* name;
        long long low, high;
        int* field;
    } const numbers[] = {{"--phase", -1000, 1000, &o.phase},
                         {"--foot-phase", -1000, 1000, &o.foot_phase},
                         {"--frames-per-foot", -100000, 100000, &o.frames_per_foot}};
    for (auto const& n : numbers) {
        if (auto v = p.value(n.name)) {
            auto const x = parse_integer(*v, n.low, n.high);
            if (!x) return std::string(n.name) + " takes a whole number";
            *n.field = static_cast<int>(*x);
        }
    }
    if (auto v = p.value("--transfer")) {
        auto const x = parse_integer(*v, 0, 99);
        if (!x) return "--transfer takes a transfer number";
        o.transfer = static_cast<marlix::transfer_type>(*x);
    }
    if (auto v = p.value("--edit")) {
        auto const x = parse_integer(*v, 0, 99);
        if (!x) return "--edit takes 0 (film frames) or 1 (video frames)";
        o.edit = static_cast<marlix::edit_type>(*x);
    }
    if (auto v = p.value("--digit-flags")) {
        auto const x = parse_integer(*v, 0, 255);
        if (!x) return "--digit-flags takes 0..255";
        o.digit_flags = static_cast<unsigned char>(*x);
    }
    return "";
}

std::vector<std::string> const legacy_values = {
    "-t", "--phase", "--foot-phase", "--frames-per-foot", "--transfer", "--edit", "--digit-flags"};

// A line of LABEL and DELTA: the delta is the last word, the label (which
// may hold blanks) all before it.
bool split_delta_last(std::string const& line, std::string& label, std::string& delta) {
    std::size_t const end = line.find_last_not_of(" \t");
    std::size_t const cut =
        end == std::string::npos ? std::string::npos : line.find_last_of(" \t", end);
    if (cut == std::string::npos) return false;
    label = line.substr(0, cut);
    delta = line.substr(cut + 1, end - cut);
    return true;
}

// A label as the caller's 9-character buffer would hold it.
bool fits_label(std::string const& s) { return s.size() <= 8; }

}  // namespace

int run_legacy(args_t const& args) {
    if (args.empty()) return usage_error("legacy needs timecode, frames or plus");
    args_t const rest(args.begin() + 1, args.end());
    parsed_args const p = parse_args(rest, legacy_values, {"--drop"});
    if (!p.error.empty()) return usage_error(p.error);
    legacy_options o;
    if (std::string const e = read_options(p, o); !e.empty()) return usage_error(e);

    if (args.front() == "timecode") {
        return for_each_item(p.operands, [&](std::string const& item) {
            auto const frame = parse_integer(item, INT32_MIN, INT32_MAX);
            if (!frame) return item_result::failure("not a frame number (a 32-bit whole number)");
            char out[9];
            if (!marlix::video_frames_to_timecode(static_cast<marlix::long32>(*frame), out, o.type,
                                                  o.drop))
                return item_result::failure("the label type is not a timecode type");
            return item_result::text(out);
        });
    }
    if (args.front() == "frames") {
        return for_each_item(p.operands, [&](std::string const& item) {
            if (!fits_label(item))
                return item_result::failure("a legacy label has at most 8 characters");
            char label[9];
            std::snprintf(label, sizeof label, "%s", item.c_str());
            int fp = o.foot_phase, ph = -1;
            marlix::long32 frame = 0;
            int const r =
                marlix::label_to_frames(label, o.foot_phase, &fp, o.phase, &ph, &frame, o.type,
                                        o.drop, o.transfer, o.edit, o.frames_per_foot);
            return legacy_answer(r, record::fields().integer("frame", frame), ph, fp);
        });
    }
    if (args.front() == "plus") {
        auto add = [&](std::string const& text, std::string const& delta_text) {
            if (!fits_label(text))
                return item_result::failure("a legacy label has at most 8 characters");
            auto const delta = parse_integer(delta_text, INT32_MIN, INT32_MAX);
            if (!delta) return item_result::failure("the delta is not a 32-bit whole number");
            char label[9], out[9];
            std::snprintf(label, sizeof label, "%s", text.c_str());
            int fp = o.foot_phase, ph = o.phase;
            int const r = marlix::label_plus_frames(
                out, &fp, &ph, label, o.foot_phase, o.phase, static_cast<marlix::long32>(*delta),
                o.type, o.drop, o.frames_per_foot, o.digit_flags, o.transfer, o.edit);
            return legacy_answer(r, record::fields().text("label", r != 0 ? out : ""), ph, fp);
        };
        if (!p.operands.empty() && p.operands.size() != 2)
            return usage_error("legacy plus takes LABEL and DELTA");
        return for_each_pair(p.operands, add, split_delta_last, "a line holds LABEL and DELTA");
    }
    return usage_error("legacy has no '" + args.front() + "': timecode, frames or plus");
}

}  // namespace marlix_cli
