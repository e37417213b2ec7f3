// marlix label write | read | at: labelled spans and their keep strings.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const label_usage[] =
    "usage: marlix label write -t TYPE --start TEXT|SAMPLE [--length N] [--bounded]\n"
    "                          [--pitch P] [-p PREFIX] [--medium M,G] [--lax]\n"
    "       marlix label read KEEP...\n"
    "       marlix label at KEEP OFFSET...\n"
    "       marlix label at KEEP --position SECONDS...\n"
    "write prints the keep string of a label (unbounded unless --bounded; the\n"
    "natural pitch of the type unless --pitch, in seconds per sample). --length\n"
    "counts samples (perforations for 35 mm keycode, ink and feet), while the\n"
    "keep string stores frames. A label whose keep string would not read back\n"
    "to the same values is refused (exit 1): a negative length, or one that is\n"
    "no whole number of frames; a start inside a frame whose label names the\n"
    "frame only; a keycode or ink label without its roll's prefix, or with a\n"
    "blank or a colon in it; a pitch that is not a positive finite number.\n"
    "The start TEXT and PREFIX are read strictly, as parse reads labels and\n"
    "print prefixes; --lax reads them as the type's converter does.\n"
    "read prints type= start= start_sample= length= pitch= bounded= revision=\n"
    "for each keep string; read and at refuse text after the last field (the\n"
    "medium roll's count as fields) and a start that is no label of the type. at\n"
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
        {"--bounded", "--lax"});
    if (!p.error.empty()) return usage_error(p.error);
    if (!p.operands.empty()) return usage_error("label write takes no operands");
    auto type_text = p.value("-t");
    if (!type_text) type_text = p.value("--type");
    if (!type_text) return usage_error("a label type is needed: -t TYPE");
    std::string why;
    auto const type = parse_label_type(*type_text, why);
    if (!type) return usage_error(why);
    marlix::label l(*type);
    l.set_length(marlix::front::default_kept_length(*type));
    l.set_bounded(p.has("--bounded") ? 1 : 0);
    auto const mode = p.has("--lax") ? marlix::front::reading::lax : marlix::front::reading::strict;
    auto prefix     = p.value("-p");
    if (!prefix) prefix = p.value("--prefix");
    if (prefix) {
        std::string detail;
        auto const given = marlix::front::set_typed_start_prefix(l, *prefix, mode, &detail);
        if (given.why == marlix::front::reason::malformed_prefix)
            return usage_error("-p '" + *prefix +
                               "': " + marlix::front::describe(given.why, detail, *type));
        if (!given)
            return refuse("the prefix '" + *prefix +
                          "' holds a blank or a colon and would not read back");
    }
    if (auto const start = p.value("--start")) {
        if (auto const n = parse_integer(*start, INT32_MIN, INT32_MAX)) {
            l.set_start(static_cast<marlix::long32>(*n));
        } else {
            std::string detail;
            auto const read = marlix::front::set_start_text(l, *start, mode, &detail);
            if (!read)
                return usage_error("--start '" + *start +
                                   "': " + marlix::front::describe(read.why, detail, *type));
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
    // A refused keep string names the value it would not carry back.
    auto const written = [&](marlix::front::result<std::string> const& keep) {
        using marlix::front::reason;
        if (!keep) {
            std::string const subject = keep.why == reason::start_not_on_frame
                                            ? std::to_string(l.get_start())
                                            : std::to_string(l.get_length());
            return refuse(marlix::front::describe(keep.why, subject, *type));
        }
        emit_record(record::bare().text("text", keep.value));
        return exit_ok;
    };
    if (auto const medium = p.value("--medium")) {
        marlix::MediumRollIdent id;
        marlix::MediumRollId_from_string(medium->c_str(), id, l.UserType());
        if (id.medium == 0)
            return usage_error("--medium '" + *medium + "' is not a medium roll identity");
        marlix::edit_label e(l, id);  // the medium sets the timecode pitch
        if (pitch_value) e.set_pitch(*pitch_value);
        return written(marlix::front::keep_string_of(e));
    }
    if (pitch_value) l.set_pitch(*pitch_value);
    return written(marlix::front::keep_string_of(l));
}

int label_read(args_t const& args) {
    return for_each_item(args, [](std::string const& keep) {
        auto const read = marlix::front::read_edit_keep_string(keep);
        if (!read) return item_result::failure(marlix::front::describe(read.why, keep));
        marlix::edit_label& l = *read.value;
        record r              = record::fields();
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
    auto const read = marlix::front::read_keep_string(p.operands.front());
    if (!read)
        return usage_error(marlix::front::quoted(p.operands.front()) + ": " +
                           marlix::front::describe(read.why, p.operands.front()));
    marlix::label const& l = *read.value;
    bool const position    = p.has("--position");
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
