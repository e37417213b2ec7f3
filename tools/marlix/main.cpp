// marlix: the command-line face of libmarlix. A thin layer over the public
// API: global project options are applied to the default host, then the
// command runs over its operands or over the lines of standard input.

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {
namespace {

constexpr command commands[] = {
    {"types", "the label type catalogue and EDL names", types_usage, run_types},
    {"print", "label text of samples", print_usage, run_print},
    {"parse", "samples of label texts", parse_usage, run_parse},
    {"smpte", "packed SMPTE timecode words, both ways", smpte_usage, run_smpte},
    {"span", "span between two packed digit strings", span_usage, run_span},
    {"template", "the printed shape of a label type", template_usage, run_template},
    {"convert", "a label read with one type, printed with another", convert_usage, run_convert},
    {"label", "labelled spans and their keep strings", label_usage, run_label},
    {"medium", "media, identities and their mappings", medium_usage, run_medium},
    {"roll", "medium roll keep strings", roll_usage, run_roll},
    {"legacy", "fixed-width frame-label arithmetic", legacy_usage, run_legacy},
    {"xlate", "positions translated between media", xlate_usage, run_xlate},
    {"cadence", "a picture of a pulldown cadence", cadence_usage, run_cadence},
    {"tc", "strict SMPTE timecode: text, frames, check, add, duration, convert", tc_usage, run_tc},
    {"pull", "the keycode of each video frame from a sync point", pull_usage, run_pull},
    {"edl", "edit decision lists: check, show, format, convert", edl_usage, run_edl},
    {"cutlist", "video lists matched back to key numbers: cut, pull, missing", cutlist_usage,
     run_cutlist},
    {"log", "telecine logs (ALE): check, show, find", log_usage, run_log},
};

constexpr char global_help[] =
    "usage: marlix [GLOBAL OPTIONS] COMMAND [ARGS...]\n"
    "       marlix --help | --version | help COMMAND\n"
    "\n"
    "Edge-label arithmetic for film, video and sound: timecode, keycode, ink\n"
    "numbers, feet+frames and film frames, and translation between media.\n"
    "\n"
    "Commands take operands, or with none read one item per line of standard\n"
    "input (LF, CRLF or CR line ends; a byte-order mark is dropped), and print\n"
    "exactly one line per item. A failed item prints 'invalid' and one line on\n"
    "standard error (naming its input line). Exit status: 0 all good, 1 some\n"
    "item failed, 2 usage error, 3 output lost (a write to standard output\n"
    "failed).\n"
    "\n"
    "Global options go before the command and set the current project:\n"
    "  --project-rate R          project frame rate (the output rate too, unless\n"
    "                            --output-rate is given)\n"
    "  --drop-frame              the project uses drop-frame timecode\n"
    "  --camera-speed R          in-camera film speed\n"
    "  --output-rate R           output image frame rate\n"
    "  --output-scan p|i         output scan: progressive or interlaced\n"
    "  --output-pulled-down      the output uses pulldown\n"
    "  --audio-sync-pulled-down  sound sync is pulled down\n"
    "  --config FILE             load the configuration store (NAME=VALUE lines)\n"
    "  --set NAME=VALUE          set a configuration entry (repeatable)\n"
    "  --json                    one JSON object per item: \"input\", the answer's\n"
    "                            typed members, \"error\" for a failed item\n"
    "  --diagnostics             show the library's own messages of a refusal\n"
    "                            the answer already explains (translations)\n"
    "A rate R is frames per second: {rates}\n"
    "(or 30000/1001 and its kin; 'df' in any case); #N is the host's rate\n"
    "number N (1..10, and the project rates 31..34).\n"
    "\n"
    "marlix COMMAND --help shows a command's own help.\n"
    "\n"
    "Commands:\n";

int print_help() {
    std::fputs(help_text(global_help).c_str(), stdout);
    for (auto const& c : commands) std::printf("  %-10s %s\n", c.name, c.summary);
    return exit_ok;
}

command const* find_command(std::string const& name) {
    for (auto const& c : commands)
        if (name == c.name) return &c;
    return nullptr;
}

}  // namespace
}  // namespace marlix_cli

namespace marlix_cli {
namespace {

// "--help" or "-h" among a command's options (before "--").
bool asks_for_help(args_t const& args) {
    for (auto const& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

int run(std::vector<std::string> args) {
    if (std::string const e = take_global_options(args); !e.empty()) return usage_error(e);
    if (args.empty()) return usage_error("no command given");
    std::string const name = args.front();
    args.erase(args.begin());
    if (name == "--help" || name == "-h") return print_help();
    if (name == "--version") {
        std::printf("marlix %s (interface %s)\n", marlix::library_version(), marlixDllVersionStr());
        return exit_ok;
    }
    if (name == "help") {
        if (args.empty()) return print_help();
        command const* c = find_command(args.front());
        if (c == nullptr) return usage_error("no command '" + args.front() + "'");
        std::fputs(help_text(c->usage).c_str(), stdout);
        return exit_ok;
    }
    command const* c = find_command(name);
    if (c == nullptr) return usage_error("no command '" + name + "'");
    if (asks_for_help(args)) {
        std::fputs(help_text(c->usage).c_str(), stdout);
        return exit_ok;
    }
    set_command_usage(c->usage);
    return c->run(args);
}

}  // namespace
}  // namespace marlix_cli

int main(int argc, char** argv) {
    using namespace marlix_cli;
    // Whole blocks to standard output; for_each_item flushes before it
    // waits for input, so answers through a pipe still come one by one.
    static char out_buffer[1 << 16];
    std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
    // Standard output carries answers only: the library's messages reach
    // standard error through the diagnostics sink.
    marlix::set_messages_to_standard_output(false);
    install_diagnostics_sink();
    int const status = run(std::vector<std::string>(argv + 1, argv + argc));
    if (!finish_output()) return exit_output_lost;
    return status;
}
