// marlix label write | read | at: labelled spans and their keep strings.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const label_usage[] =
    "usage: marlix label write -t TYPE --start TEXT|SAMPLE [--length N] [--bounded]\n"
    "                          [--pitch P] [-p PREFIX] [--medium M,G]\n"
    "       marlix label read KEEP...\n"
    "       marlix label at KEEP OFFSET...\n"
    "       marlix label at KEEP --position SECONDS...\n"
    "write prints the keep string of a label (unbounded unless --bounded; the\n"
    "natural pitch of the type unless --pitch, in seconds per sample). --length\n"
    "counts samples (perforations for 35 mm keycode, ink and feet), while the\n"
    "keep string stores frames. A label whose keep string would not read back\n"
    "to the same values is refused (exit 1): a prefix with a blank or a colon,\n"
    "a pitch that is not a positive finite number. read prints type= start=\n"
    "start_sample= length= pitch= bounded= revision= for each keep string. at\n"
    "prints the label text at relative samples, or at absolute positions in\n"
    "seconds, with '>>>>>>' and '<<<<<<' outside a bounded span. With --medium,\n"
    "write gives an edit-label keep string (the medium roll sets the running\n"
    "speed of timecode), and read shows the medium roll of those that name one.\n";

namespace {

// A label that cannot be written: one line on standard error, no output.
int refuse(std::string const& why) {
    std::fprintf(stderr, "marlix: label write: %s\n", why.c_str());
    return exit_item_failed;
}

int label_write(args_t const& args) {
    parsed_args const p = parse_args(
        args, {"-t", "--type", "--start", "--length", "--pitch", "-p", "--prefix", "--medium"},
        {"--bounded"});
    if (!p.error.empty()) return usage_error(p.error);
    if (!p.operands.empty()) return usage_error("label write takes no operands");
    auto type_text = p.value("-t");
    if (!type_text) type_text = p.value("--type");
    if (!type_text) return usage_error("a label type is needed: -t TYPE");
    std::string why;
    auto const type = parse_label_type(*type_text, why);
    if (!type) return usage_error(why);
    marlix::label l(*type);
    l.set_bounded(p.has("--bounded") ? 1 : 0);
    auto prefix = p.value("-p");
    if (!prefix) prefix = p.value("--prefix");
    if (prefix && !marlix::front::set_start_prefix(l, *prefix))
        return refuse("the prefix '" + *prefix +
                      "' holds a blank or a colon and would not read back");
    if (auto const start = p.value("--start")) {
        if (auto const n = parse_integer(*start, INT32_MIN, INT32_MAX)) {
            l.set_start(static_cast<marlix::long32>(*n));
        } else {
            l.set_start(start->c_str());
            if (l.get_start() == marlix::INVALID_SAMPLE)
                return usage_error("--start '" + *start + "' does not read as a label of type " +
                                   l.type_str());
        }
    }
    if (auto const length = p.value("--length")) {
        auto const n = parse_integer(*length, INT32_MIN, INT32_MAX);
        if (!n) return usage_error("--length takes a whole number of samples");
        l.set_length(static_cast<marlix::long32>(*n));
    }
    std::optional<double> pitch_value;
    if (auto const pitch = p.value("--pitch")) {
        auto const v = parse_double(*pitch);
        if (!v) return usage_error("--pitch takes seconds per sample");
        if (!(*v > 0) || !std::isfinite(*v))
            return refuse("the pitch '" + *pitch +
                          "' is not a positive finite number of seconds per sample");
        pitch_value = v;
    }
    if (auto const medium = p.value("--medium")) {
        marlix::MediumRollIdent id;
        marlix::MediumRollId_from_string(medium->c_str(), id, l.UserType());
        if (id.medium == 0)
            return usage_error("--medium '" + *medium + "' is not a medium roll identity");
        marlix::edit_label e(l, id);  // the medium sets the timecode pitch
        if (pitch_value) e.set_pitch(*pitch_value);
        char keep[marlix::edit_label::keep_buffer_capacity];
        e.make_keep_string(keep);
        marlix::edit_label back(keep);
        char again[marlix::edit_label::keep_buffer_capacity];
        if (std::strcmp(back.make_keep_string(again), keep) != 0)
            return refuse(std::string("the keep string '") + keep + "' would not read back");
        emit_record(record::bare().text("text", keep));
        return exit_ok;
    }
    if (pitch_value) l.set_pitch(*pitch_value);
    char keep[marlix::label::keep_string_capacity];
    l.make_keep_string(keep);
    marlix::label const back(keep);
    char again[marlix::label::keep_string_capacity];
    if (std::strcmp(back.make_keep_string(again), keep) != 0)
        return refuse(std::string("the keep string '") + keep + "' would not read back");
    emit_record(record::bare().text("text", keep));
    return exit_ok;
}

int label_read(args_t const& args) {
    return for_each_item(args, [](std::string const& keep) {
        marlix::edit_label l(keep.c_str());
        if (l.revision < 1 || l.revision > 2 || l.type() == marlix::LABEL_DUMMY)
            return item_result::failure("not a keep string of a known label type");
        record r = record::fields();
        r.text("type", l.type_str())
            .text("start", l.start.get_string())
            .integer("start_sample", l.get_start())
            .integer("length", l.get_length())
            .real("pitch", l.get_pitch())
            .flag("bounded", l.bounded)
            .integer("revision", l.revision);
        if (keep.find(marlix::MediumRollId_name_str()) != std::string::npos) {
            char id[marlix::medium_id_text_capacity];
            marlix::MediumRollId_to_string(id, l.get_MediumRoll());
            r.text("medium_roll", id)
                .text("user", marlix::MediumRollId_to_UserString(l.get_MediumRoll()));
        }
        return item_result::success(std::move(r));
    });
}

int label_at(args_t const& args) {
    parsed_args const p = parse_args(args, {}, {"--position"});
    if (!p.error.empty()) return usage_error(p.error);
    if (p.operands.empty()) return usage_error("label at needs a keep string");
    marlix::label const l(p.operands.front().c_str());
    if (l.revision < 1 || l.revision > 2 || l.type() == marlix::LABEL_DUMMY)
        return usage_error("'" + p.operands.front() +
                           "' is not a keep string of a known label type");
    bool const position = p.has("--position");
    args_t const items(p.operands.begin() + 1, p.operands.end());
    return for_each_item(items, [&](std::string const& item) {
        if (position) {
            auto const v = parse_double(item);
            if (!v) return item_result::failure("not a position in seconds");
            marlix::long32 const s = l.abs_posn_to_sample(*v);
            if (s == marlix::INVALID_SAMPLE)
                return item_result::failure("no sample lies at that position");
            return item_result::text(l.get_string(static_cast<marlix::long32>(
                static_cast<std::uint32_t>(s) - static_cast<std::uint32_t>(l.get_start()))));
        }
        auto const n = parse_integer(item, INT32_MIN, INT32_MAX);
        if (!n) return item_result::failure("not a relative sample (a 32-bit whole number)");
        return item_result::text(l.get_string(static_cast<marlix::long32>(*n)));
    });
}

}  // namespace

int run_label(args_t const& args) {
    if (args.empty()) return usage_error("label needs write, read or at");
    args_t const rest(args.begin() + 1, args.end());
    if (args.front() == "write") return label_write(rest);
    if (args.front() == "read") return label_read(rest);
    if (args.front() == "at") return label_at(rest);
    return usage_error("label has no '" + args.front() + "': write, read or at");
}

}  // namespace marlix_cli
