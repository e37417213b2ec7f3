#include <cstdio>
#include <string>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const types_usage[] =
    "usage: marlix types                 one row per label type 0..41\n"
    "       marlix types NAME...          each name read as a label type\n"
    "       marlix types --stdin          the same for each line of standard input\n"
    "       marlix types --default        the project's default timecode type\n"
    "\n"
    "Rows are NAME=VALUE pairs: value, class, edl_written, edl_read (empty for\n"
    "the empty rows of the name table, '-' where no name is read), family,\n"
    "foot, ink, key, tv_rate, tv_drop, duration (under the current project),\n"
    "and the shared converter's samples per unit, modulus and template.\n"
    "A NAME is any name -t takes (an EDL name in any case, a class name, a\n"
    "frame rate, #N), or an EDL field as lists carry it: up to its first white\n"
    "space and 11 characters.\n";

namespace {

void print_row(marlix::label_t t) {
    char const* read_name  = marlix::label_type_edl_read_name(t);
    marlix::TCInf const tv = marlix::label_type_to_TvStd(t);
    auto const facts       = marlix::front::facts_of(t);
    emit_record(record::fields()
                    .integer("value", t)
                    .text("class", marlix::label_type_class_name(t))
                    .text("edl_written", marlix::label_type_to_edlstr(t))
                    .text("edl_read", read_name == nullptr ? "-" : read_name)
                    .text("family", marlix::user_label_type_name(marlix::label_type_family(t)))
                    .integer("foot", marlix::label_t_to_foot_label_t(t))
                    .integer("ink", marlix::label_t_to_ink_label_t(t))
                    .integer("key", marlix::label_t_to_key_label_t(t))
                    .integer("tv_rate", tv.rate)
                    .flag("tv_drop", tv.drop_frame ? 1 : 0)
                    .integer("duration", marlix::label_t_to_duration_label_t(t))
                    .integer("samples_per_unit", facts.samples_per_unit)
                    .integer("modulus", facts.modulus)
                    .text("template", facts.template_text));
}

// A label type as its number and class name: "5 pal_label".
record type_record(marlix::label_t t) {
    return record::bare().integer("value", t).text("class", marlix::label_type_class_name(t));
}

}  // namespace

int run_types(args_t const& args) {
    parsed_args const p = parse_args(args, {}, {"--default", "--stdin"});
    if (!p.error.empty()) return usage_error(p.error);
    if (p.has("--default")) {
        if (!p.operands.empty()) return usage_error("types --default takes no operands");
        marlix::label_t const t = marlix::getDefaultLabelTypeForProject();
        emit_record(type_record(t));
        return exit_ok;
    }
    if (p.operands.empty() && !p.has("--stdin")) {
        for (int t = 0; t < marlix::label_type_count; ++t)
            print_row(static_cast<marlix::label_t>(t));
        return exit_ok;
    }
    // Any name the other commands' -t takes, then an EDL field as lists
    // carry it (up to its first blank).
    return for_each_item(p.operands, [](std::string const& name) {
        auto const found = marlix::front::find_label_type(trim_blanks(name));
        if (found) return item_result::success(type_record(found.value));
        marlix::label_t const t = marlix::edlstr_to_label_type(name.c_str());
        if (t == marlix::LABEL_NONE)
            return item_result::failure(marlix::front::reason_text(found.why));
        return item_result::success(type_record(t));
    });
}

}  // namespace marlix_cli
