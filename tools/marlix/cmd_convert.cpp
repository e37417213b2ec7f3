// Commands over one converter: print, parse, smpte, span, template.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const print_usage[] =
    "usage: marlix print -t TYPE [--flags N] [--normalise] [-p PREFIX] SAMPLE...\n"
    "The label text of each sample, exactly as the converter prints it (a\n"
    "leading blank included). --normalise first brings the sample into the\n"
    "converter's range as a label point does. TYPE is an EDL name (any case),\n"
    "a class name or a number 0..41; --flags picks the timecode fields always\n"
    "printed (1 hours, 2 minutes, 4 seconds, 8 frames; default 15). -p/--prefix\n"
    "sets the label point's prefix text first (keycode: roll and count, ink).\n";

char const parse_usage[] =
    "usage: marlix parse -t TYPE [--flags N] [--packed] [-p PREFIX] TEXT...\n"
    "The sample of each label text, or 'invalid'. --packed reads the digits-only\n"
    "form (HHMMSSFF for timecode).\n";

char const smpte_usage[] =
    "usage: marlix smpte -t TYPE SAMPLE...\n"
    "       marlix smpte -t TYPE --decode WORD...\n"
    "The packed SMPTE timecode word of each sample as 0x%08X; with --decode,\n"
    "'sample=N drop=0|1' for each word (hexadecimal with 0x, or decimal).\n";

char const span_usage[] =
    "usage: marlix span -t TYPE FIRST SECOND\n"
    "The span in samples from one packed digit string to another (a span across\n"
    "midnight is positive). With no operands, each line of standard input holds\n"
    "FIRST and SECOND separated by white space.\n";

char const template_usage[] =
    "usage: marlix template -t TYPE\n"
    "Both templates of the type's converter and the three texts printed for\n"
    "invalid, past-the-end and before-the-start samples.\n";

namespace {

struct converter_args {
    parsed_args args;
    std::unique_ptr<marlix::label_cvt> cvt;
    int status = exit_ok;  // exit_usage when the arguments are wrong
};

converter_args converter_command(args_t const& args, std::vector<std::string> with_value,
                                 std::vector<std::string> const& switches) {
    converter_args out;
    with_value.insert(with_value.end(), {"-t", "--type", "--flags"});
    out.args = parse_args(args, with_value, switches);
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
    auto const type = parse_label_type(*type_text);
    if (!type) {
        out.status = usage_error("'" + *type_text + "' is not a label type");
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
    std::string why;
    out.cvt = make_converter(*type, flags, why);
    if (!out.cvt) out.status = usage_error(why);
    return out;
}

std::optional<marlix::long32> parse_sample(std::string const& text) {
    auto const n = parse_integer(text, INT32_MIN, INT32_MAX);
    if (!n) return std::nullopt;
    return static_cast<marlix::long32>(*n);
}

constexpr char not_a_sample[] = "not a sample number (a whole number that fits 32 bits)";

}  // namespace

// -p/--prefix: the label point's prefix text, as the host would hold it.
void apply_prefix_option(parsed_args const& args, marlix::label_point& point) {
    auto p = args.value("-p");
    if (!p) p = args.value("--prefix");
    if (p) std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", p->c_str());
}

int run_print(args_t const& args) {
    converter_args c = converter_command(args, {"-p", "--prefix"}, {"--normalise"});
    if (c.status != exit_ok) return c.status;
    bool const normalise = c.args.has("--normalise");
    marlix::label_point point(0, c.cvt.get());
    apply_prefix_option(c.args, point);
    return for_each_item(c.args.operands, [&](std::string const& item) {
        auto s = parse_sample(item);
        if (!s) return item_result::failure(not_a_sample);
        if (normalise) *s = c.cvt->normalise_sample_unit(*s);
        return item_result::success(c.cvt->get_abs_string(&point, *s));
    });
}

int run_parse(args_t const& args) {
    converter_args c = converter_command(args, {"-p", "--prefix"}, {"--packed"});
    if (c.status != exit_ok) return c.status;
    bool const packed = c.args.has("--packed");
    marlix::label_point point(0, c.cvt.get());
    apply_prefix_option(c.args, point);
    return for_each_item(c.args.operands, [&](std::string const& item) {
        marlix::long32 s;
        if (packed) {
            s = c.cvt->get_abs_sample_from_packed_string(item.c_str());
        } else {
            point.set_sample(item.c_str());  // the prefix first, then the parse
            s = point.get_sample();
        }
        if (s == marlix::INVALID_SAMPLE)
            return item_result::failure(std::string("does not read as a ") +
                                        (packed ? "packed digit string" : "label") + " of type " +
                                        c.cvt->type_str());
        return item_result::success(std::to_string(s));
    });
}

int run_smpte(args_t const& args) {
    converter_args c = converter_command(args, {}, {"--decode"});
    if (c.status != exit_ok) return c.status;
    marlix::label_point point(0, c.cvt.get());
    if (c.args.has("--decode")) {
        return for_each_item(c.args.operands, [&](std::string const& item) {
            std::optional<long long> w;
            if (item.size() > 2 && item[0] == '0' && (item[1] == 'x' || item[1] == 'X')) {
                char* end            = nullptr;
                unsigned long long v = std::strtoull(item.c_str() + 2, &end, 16);
                bool const hex_digits =
                    item.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos;
                if (hex_digits && *end == '\0' && item.size() <= 10) w = static_cast<long long>(v);
            } else {
                w = parse_integer(item, 0, 0xffffffffLL);
            }
            if (!w) return item_result::failure("not a 32-bit word (0x hexadecimal or decimal)");
            unsigned word          = static_cast<unsigned>(*w);
            bool drop              = false;
            marlix::long32 const s = c.cvt->get_samples_from_SMPTETc(word, drop);
            return item_result::success("sample=" + std::to_string(s) +
                                        " drop=" + (drop ? "1" : "0"));
        });
    }
    return for_each_item(c.args.operands, [&](std::string const& item) {
        auto const s = parse_sample(item);
        if (!s) return item_result::failure(not_a_sample);
        char word[sizeof "0x12345678"];
        std::snprintf(word, sizeof word, "0x%08X", c.cvt->get_abs_smpte_string(&point, *s));
        return item_result::success(word);
    });
}

int run_span(args_t const& args) {
    converter_args c = converter_command(args, {}, {});
    if (c.status != exit_ok) return c.status;
    auto span = [&](std::string const& first, std::string const& second) {
        marlix::long32 const s =
            c.cvt->get_sample_span_from_packed_strings(first.c_str(), second.c_str());
        return item_result::success(std::to_string(s));
    };
    if (!c.args.operands.empty()) {
        if (c.args.operands.size() != 2) return usage_error("span takes FIRST and SECOND");
        return for_each_item(
            {c.args.operands[0] + " " + c.args.operands[1]},
            [&](std::string const&) { return span(c.args.operands[0], c.args.operands[1]); });
    }
    return for_each_item({}, [&](std::string const& line) {
        std::istringstream in(line);
        std::string first, second, extra;
        if (!(in >> first >> second) || (in >> extra))
            return item_result::failure("a line holds FIRST and SECOND");
        return span(first, second);
    });
}

char const convert_usage[] =
    "usage: marlix convert --from TYPE --to TYPE [-p PREFIX] TEXT...\n"
    "Reads each label with one type and prints the same sample with another\n"
    "type that counts the same samples: keycode, feet+frames and ink of one\n"
    "gauge (F35 keycode to foot_35_label footage, for example), or a type to\n"
    "itself. -p sets the prefix printed by the second type (keycode, ink).\n";

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
    parsed_args const p = parse_args(args, {"--from", "--to", "-p", "--prefix"}, {});
    if (!p.error.empty()) return usage_error(p.error);
    auto const from_text = p.value("--from"), to_text = p.value("--to");
    if (!from_text || !to_text) return usage_error("convert needs --from TYPE and --to TYPE");
    auto const from = parse_label_type(*from_text), to = parse_label_type(*to_text);
    if (!from) return usage_error("'" + *from_text + "' is not a label type");
    if (!to) return usage_error("'" + *to_text + "' is not a label type");
    std::string why;
    auto const in = make_converter(*from, marlix::TC_ALL_FIELDS, why);
    if (!in) return usage_error(why);
    auto const out = make_converter(*to, marlix::TC_ALL_FIELDS, why);
    if (!out) return usage_error(why);
    if (sample_kind(*from) != sample_kind(*to))
        return usage_error(std::string(in->type_str()) + " and " + out->type_str() +
                           " count different samples: convert between the keycode, feet and"
                           " ink types of one gauge");
    marlix::label_point reader(0, in.get()), writer(0, out.get());
    apply_prefix_option(p, writer);
    return for_each_item(p.operands, [&](std::string const& item) {
        reader.set_sample(item.c_str());
        marlix::long32 const s = reader.get_sample();
        if (s == marlix::INVALID_SAMPLE)
            return item_result::failure(std::string("does not read as a label of type ") +
                                        in->type_str());
        return item_result::success(out->get_abs_string(&writer, s));
    });
}

int run_template(args_t const& args) {
    converter_args c = converter_command(args, {}, {});
    if (c.status != exit_ok) return c.status;
    if (!c.args.operands.empty()) return usage_error("template takes no operands");
    marlix::label_template const& t0 = c.cvt->templates[0];
    marlix::label_template const& t1 = c.cvt->templates[1];
    std::printf(
        "template0=\"%s\" template1=\"%s\" invalid=\"%s\" past_end=\"%s\" before_start=\"%s\"\n",
        t0.text, t1.text, t0.invalid_text, t0.past_end_text, t0.before_start_text);
    return exit_ok;
}

}  // namespace marlix_cli
