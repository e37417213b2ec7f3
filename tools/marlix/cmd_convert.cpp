// Commands over one converter: print, parse, smpte, span, template.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const print_usage[] =
    "usage: marlix print -t TYPE [--flags N] [--normalise] [--lax] [-p PREFIX] SAMPLE...\n"
    "The label text of each sample, exactly as the converter prints it (a\n"
    "leading blank included). A sample counts the type's units: frames for\n"
    "timecode and film frames, perforations for 35 mm keycode, ink and feet\n"
    "(frames on 16 mm). --normalise first brings the sample into the\n"
    "converter's range as a label point does.\n"
    "TYPE is an EDL name (any case: P, ND, F35, ...), a class name, a frame\n"
    "rate naming its timecode type ({label rates})\n"
    "or #N for catalogue number N (0..41; see 'marlix types').\n"
    "--flags picks the timecode fields always printed (1 hours, 2 minutes,\n"
    "4 seconds, 8 frames; default 15). -p/--prefix gives the roll prefix the\n"
    "labels carry, as typed ('KU 22 9012' at keycode, 4 letters or digits at\n"
    "ink); --lax sets it as it is, the label point's prefix text.\n";

char const parse_usage[] =
    "usage: marlix parse -t TYPE [--flags N] [--packed] [--lax] [-p PREFIX] TEXT...\n"
    "The sample of each label text (frames, or perforations for 35 mm keycode,\n"
    "ink and feet), or 'invalid'. --packed reads the digits-only form (HHMMSSFF\n"
    "for timecode). TYPE as for 'marlix print'. A text is read strictly: a\n"
    "label that exists at the type, in a form people write it (blanks around\n"
    "it, the printed leading blank optional; keycode also 'KU 22 9012 1234+00'\n"
    "and 'KX654321-0070+00'), and a refusal names the field and why. --lax\n"
    "reads it as the type's converter does.\n";

char const smpte_usage[] =
    "usage: marlix smpte -t TYPE SAMPLE...\n"
    "       marlix smpte -t TYPE --decode WORD...\n"
    "The packed SMPTE timecode word of each sample as 0x%08X (binary-coded\n"
    "decimal HH MM SS FF, bit 6 set for drop-frame types; 0 for a negative\n"
    "sample). With --decode, for each word (0x hexadecimal, or decimal)\n"
    "'sample=N drop=0|1', the frames counted at the type's nominal rate; for a\n"
    "drop-frame type 'sample=N count=C drop=0|1', N the label's sample and C\n"
    "the nominal count. The decoder reads the frames tens digit from two bits\n"
    "(4 and 5) and bit 6 is the drop flag, so at 48 to 60 fps a label whose\n"
    "frames tens digit is 4 or 5 packs a word that decodes as drop-frame with\n"
    "another frame count.\n";

char const span_usage[] =
    "usage: marlix span -t TYPE [--lax] FIRST SECOND\n"
    "The span in samples from one label to another, brought into the type's\n"
    "range as a label point does (a timecode span across midnight is positive).\n"
    "Keycode, ink and feet types print perforations (frames on 16 mm), then\n"
    "whole frames and feet+frames.\n"
    "FIRST and SECOND are label texts; timecode also takes eight packed digits\n"
    "HHMMSSFF, read strictly as parse reads them (--lax: as the converter\n"
    "does). 'invalid' when either does not read. With no operands, each\n"
    "line of standard input holds FIRST and SECOND separated by white space.\n";

char const template_usage[] =
    "usage: marlix template -t TYPE\n"
    "Both templates of the type's converter and the three texts printed for\n"
    "invalid, past-the-end and before-the-start samples.\n";

// -p/--prefix: the prefix the command's labels carry.
std::optional<std::string> prefix_option(parsed_args const& args) {
    auto p = args.value("-p");
    if (!p) p = args.value("--prefix");
    return p;
}

namespace {

struct converter_args {
    parsed_args args;
    marlix::front::labeller labels;
    int status = exit_ok;  // exit_usage when the arguments are wrong
};

converter_args converter_command(args_t const& args, std::vector<std::string> with_value,
                                 std::vector<std::string> const& switches) {
    converter_args out;
    with_value.insert(with_value.end(), {"-t", "--type", "--flags"});
    std::vector<std::string> all_switches = switches;
    all_switches.push_back("--lax");
    out.args = parse_args(args, with_value, all_switches);
    if (!out.args.error.empty()) {
        out.status = usage_error(out.args.error);
        return out;
    }
    auto type_text = out.args.value("-t");
    if (!type_text) type_text = out.args.value("--type");
    if (!type_text) {
        out.status = usage_error("a label type is needed: -t TYPE");
        return out;
    }
    std::string why;
    auto const type = parse_label_type(*type_text, why);
    if (!type) {
        out.status = usage_error(why);
        return out;
    }
    int flags = marlix::TC_ALL_FIELDS;
    if (auto f = out.args.value("--flags")) {
        auto const n = parse_integer(*f, 0, 15);
        if (!n) {
            out.status = usage_error("--flags takes a number from 0 to 15, not '" + *f + "'");
            return out;
        }
        flags = static_cast<int>(*n);
    }
    auto const mode =
        out.args.has("--lax") ? marlix::front::reading::lax : marlix::front::reading::strict;
    auto made = make_labeller(*type, flags, why, mode);
    if (!made) {
        out.status = usage_error(why);
        return out;
    }
    out.labels = std::move(*made);
    if (auto const prefix = prefix_option(out.args)) {
        auto const given = out.labels.set_typed_prefix(*prefix);
        if (!given)
            out.status = usage_error(
                "-p '" + *prefix + "': " +
                marlix::front::describe(given.why, out.labels.refusal(), out.labels.type()));
    }
    return out;
}

std::optional<marlix::long32> parse_sample(std::string const& text) {
    auto const n = parse_integer(text, INT32_MIN, INT32_MAX);
    if (!n) return std::nullopt;
    return static_cast<marlix::long32>(*n);
}

constexpr char not_a_sample[] = "not a sample number (a whole number that fits 32 bits)";

}  // namespace

int run_print(args_t const& args) {
    converter_args c = converter_command(args, {"-p", "--prefix"}, {"--normalise"});
    if (c.status != exit_ok) return c.status;
    bool const normalise = c.args.has("--normalise");
    return for_each_item(c.args.operands, [&](std::string const& item) {
        auto s = parse_sample(item);
        if (!s) return item_result::failure(not_a_sample);
        if (normalise) *s = c.labels.normalise(*s);
        return item_result::text(c.labels.text(*s));
    });
}

int run_parse(args_t const& args) {
    converter_args c = converter_command(args, {"-p", "--prefix"}, {"--packed"});
    if (c.status != exit_ok) return c.status;
    bool const packed = c.args.has("--packed");
    return for_each_item(c.args.operands, [&](std::string const& item) {
        auto const s = packed ? c.labels.packed_sample(item) : c.labels.sample(item);
        if (!s)
            return item_result::failure(
                packed && s.why == marlix::front::reason::unreadable
                    ? std::string("does not read as a packed digit string of type ") +
                          c.labels.type_str()
                    : marlix::front::describe(s.why, c.labels.refusal(), c.labels.type()));
        return item_result::success(record::bare().integer("sample", s.value));
    });
}

namespace {

std::optional<long long> parse_word(std::string const& raw) {
    std::string const item = trim_blanks(raw);
    if (item.size() > 2 && item[0] == '0' && (item[1] == 'x' || item[1] == 'X')) {
        if (item.size() > 10 || item.find_first_not_of("0123456789abcdefABCDEF", 2) != item.npos)
            return std::nullopt;
        return static_cast<long long>(std::strtoull(item.c_str() + 2, nullptr, 16));
    }
    return parse_integer(item, 0, 0xffffffffLL);
}

}  // namespace

int run_smpte(args_t const& args) {
    converter_args c = converter_command(args, {}, {"--decode"});
    if (c.status != exit_ok) return c.status;
    if (c.args.has("--decode")) {
        bool const drop_type = c.labels.type() == marlix::LABEL_NTSC_DROP;
        return for_each_item(c.args.operands, [&](std::string const& item) {
            auto const w = parse_word(item);
            if (!w) return item_result::failure("not a 32-bit word (0x hexadecimal or decimal)");
            auto const read = c.labels.read_smpte_word(static_cast<std::uint32_t>(*w));
            record r        = record::fields();
            if (drop_type)
                r.integer("sample", read.sample).integer("count", read.count);
            else
                r.integer("sample", read.count);
            return item_result::success(std::move(r.flag("drop", read.drop ? 1 : 0)));
        });
    }
    return for_each_item(c.args.operands, [&](std::string const& item) {
        auto const s = parse_sample(item);
        if (!s) return item_result::failure(not_a_sample);
        char word[sizeof "0x12345678"];
        std::snprintf(word, sizeof word, "0x%08X", static_cast<unsigned>(c.labels.smpte_word(*s)));
        return item_result::text(word);
    });
}

int run_span(args_t const& args) {
    converter_args c = converter_command(args, {}, {});
    if (c.status != exit_ok) return c.status;
    auto refused = [&](std::string const& text, marlix::front::reason why) {
        return item_result::failure(
            marlix::front::quoted(text) + ": " +
            marlix::front::describe(why, c.labels.refusal(), c.labels.type()));
    };
    auto span = [&](std::string const& first, std::string const& second) {
        auto const a = c.labels.plain_sample(first);
        if (!a) return refused(first, a.why);
        auto const b = c.labels.plain_sample(second);
        if (!b) return refused(second, b.why);
        marlix::long32 const perfs = c.labels.span(a.value, b.value);
        record r                   = record::bare().integer("sample", perfs);
        // Film types: the span in whole frames and in feet+frames too.
        auto const g = marlix::film::geometry_of(marlix::label_t_to_key_label_t(c.labels.type()));
        if (g.perfs_per_frame > 0) {
            std::int64_t const frames = perfs / g.perfs_per_frame;
            r.integer("frames", frames)
                .text("feet_frames", marlix::film::feet_frames_text(frames, g));
        }
        return item_result::success(std::move(r));
    };
    return for_each_pair(c.args.operands, span);
}

char const convert_usage[] =
    "usage: marlix convert --from TYPE --to TYPE [-p PREFIX] TEXT...\n"
    "Reads each label with one type and prints the same sample with another\n"
    "type that counts the same samples: keycode, feet+frames and ink of one\n"
    "gauge (F35 keycode to foot_35_label footage, for example), or a type to\n"
    "itself. The printed label keeps the prefix (roll) of the text it was read\n"
    "from when both types have prefixes of one length; between prefix lengths\n"
    "(F35 to I35 or F35_6, feet to keycode) -p PREFIX gives the new prefix,\n"
    "as the second type's labels carry it ('KU 22 9012' at F35). Texts and\n"
    "prefixes are read strictly; --lax reads them as the first type's\n"
    "converter does, and takes a longer prefix cut to fit.\n";

namespace {

// What a label type's samples count: the perforations or frames of one
// film stock, or the frames of one timecode type. Types that count the same
// thing convert into each other sample for sample.
int sample_kind(marlix::label_t t) {
    using namespace marlix;
    if (label_type_family(t) == UserLabelTimecode) return 1000 + t;
    label_t const key = label_t_to_key_label_t(t);
    if (key >= LABEL_KEYCODE_35_4 && key <= LABEL_KEYCODE_35_6) return LABEL_KEYCODE_35;
    if (key >= LABEL_KEYCODE_16_4 && key <= LABEL_KEYCODE_16_6) return LABEL_KEYCODE_16;
    if (key >= LABEL_KEYCODE_353_4 && key <= LABEL_KEYCODE_353_6) return LABEL_KEYCODE_353;
    if (key != LABEL_NONE) return key;
    return 2000 + t;
}

}  // namespace

int run_convert(args_t const& args) {
    parsed_args const p = parse_args(args, {"--from", "--to", "-p", "--prefix"}, {"--lax"});
    if (!p.error.empty()) return usage_error(p.error);
    auto const from_text = p.value("--from"), to_text = p.value("--to");
    if (!from_text || !to_text) return usage_error("convert needs --from TYPE and --to TYPE");
    std::string why;
    auto const from = parse_label_type(*from_text, why);
    if (!from) return usage_error(why);
    auto const to = parse_label_type(*to_text, why);
    if (!to) return usage_error(why);
    auto const reader = make_labeller(*from, marlix::TC_ALL_FIELDS, why);
    if (!reader) return usage_error(why);
    auto const printer = make_labeller(*to, marlix::TC_ALL_FIELDS, why);
    if (!printer) return usage_error(why);
    if (sample_kind(*from) != sample_kind(*to))
        return usage_error(std::string(reader->type_str()) + " and " + printer->type_str() +
                           " count different samples: convert between the keycode, feet and"
                           " ink types of one gauge");
    auto const prefix = prefix_option(p);
    auto const mode = p.has("--lax") ? marlix::front::reading::lax : marlix::front::reading::strict;
    std::string detail;
    auto made = marlix::front::relabeller::make(*from, *to, prefix ? prefix->c_str() : nullptr,
                                                mode, &detail);
    using marlix::front::reason;
    if (made.why == reason::prefix_too_short)
        return usage_error("-p '" + *prefix + "' is shorter than the " +
                           std::to_string(printer->prefix_length()) + " prefix characters of " +
                           printer->type_str());
    if (made.why == reason::prefix_lengths_differ)
        return usage_error(std::string(reader->type_str()) + " and " + printer->type_str() +
                           " have prefixes of different lengths: give the new one with -p");
    if (made.why == reason::malformed_prefix)
        return usage_error("-p '" + *prefix +
                           "': " + marlix::front::describe(made.why, detail, *to));
    if (!made) return usage_error(marlix::front::describe(made.why, "", *to));
    return for_each_item(p.operands, [&](std::string const& item) {
        auto const text = made.value(item);
        if (!text)
            return item_result::failure(
                marlix::front::describe(text.why, made.value.from().refusal(), *from));
        return item_result::text(text.value);
    });
}

int run_template(args_t const& args) {
    converter_args c = converter_command(args, {}, {});
    if (c.status != exit_ok) return c.status;
    if (!c.args.operands.empty()) return usage_error("template takes no operands");
    marlix::label_template const& t0 = c.labels.label_template_of(0);
    marlix::label_template const& t1 = c.labels.label_template_of(1);
    emit_record(record::fields()
                    .text("template0", t0.text)
                    .text("template1", t1.text)
                    .text("invalid", t0.invalid_text)
                    .text("past_end", t0.past_end_text)
                    .text("before_start", t0.before_start_text));
    return exit_ok;
}

}  // namespace marlix_cli
