#pragma once

// The marlix tool's commands. Each takes the arguments after its name (the
// global options already applied) and answers the exit status.

#include <string>
#include <vector>

namespace marlix_cli {

using args_t = std::vector<std::string>;

struct command {
    char const* name;
    char const* summary;
    char const* usage;  // the text of 'marlix help NAME'
    int (*run)(args_t const& args);
};

int run_types(args_t const& args);
int run_print(args_t const& args);
int run_parse(args_t const& args);
int run_smpte(args_t const& args);
int run_span(args_t const& args);
int run_template(args_t const& args);
int run_convert(args_t const& args);
int run_label(args_t const& args);
int run_medium(args_t const& args);
int run_roll(args_t const& args);
int run_legacy(args_t const& args);
int run_xlate(args_t const& args);
int run_cadence(args_t const& args);
int run_tc(args_t const& args);
int run_pull(args_t const& args);
int run_edl(args_t const& args);
int run_cutlist(args_t const& args);
int run_log(args_t const& args);
extern char const types_usage[];
extern char const print_usage[];
extern char const parse_usage[];
extern char const smpte_usage[];
extern char const span_usage[];
extern char const template_usage[];
extern char const convert_usage[];
extern char const label_usage[];
extern char const medium_usage[];
extern char const roll_usage[];
extern char const legacy_usage[];
extern char const xlate_usage[];
extern char const cadence_usage[];
extern char const tc_usage[];
extern char const pull_usage[];
extern char const edl_usage[];
extern char const cutlist_usage[];
extern char const log_usage[];

}  // namespace marlix_cli
