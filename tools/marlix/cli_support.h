#pragma once

// Shared pieces of the marlix command-line tool: global project options,
// operand parsing, and the item loop every command runs through.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "marlix/marlix.h"
#include "record.h"

namespace marlix_cli {

// Exit statuses.
inline constexpr int exit_ok          = 0;
inline constexpr int exit_item_failed = 1;
inline constexpr int exit_usage       = 2;
inline constexpr int exit_output_lost = 3;  // a write to standard output failed

// The usage text of the command being run: usage errors show its first
// line. Null before a command is chosen.
void set_command_usage(char const* usage);

// Reports a usage error with the command's usage line (or a hint to
// --help) and answers exit_usage.
int usage_error(std::string const& message);

// One frame rate as the tool writes it: the SMPTE layer's rate (its
// grammar: "23.976", "29.97df", "30000/1001"), the host's frame rate, and
// the timecode label type that counts it (LABEL_NONE where none does).
struct rate_name {
    marlix::smpte::rate rate;
    Tov::FrameRate host_rate;
    marlix::label_t timecode;
};
// The rate a text names, or nothing.
std::optional<rate_name> find_rate_name(std::string const& text);
// A help text with its rate lists filled in from the library's rate table:
// "{rates}" names every rate, "{label rates}" those a label converter counts.
std::string help_text(char const* text);

// The frame rate names, for help and messages: "23.976 24 25 ...".
std::string rate_names_text();

// A project rate option: a rate name, or '#N' for the host's rate number
// N (1..10, 31..34). Sets drop when the name says drop-frame.
std::optional<Tov::FrameRate> parse_rate(std::string const& text, bool* drop = nullptr);

// The timecode rate of the global --project-rate (drop-frame with
// --drop-frame); nothing when none was given, or with the reason in why when
// the project rate is no timecode rate.
std::optional<marlix::smpte::rate> project_timecode_rate(std::string& why);

// A label type: an EDL name (any case), a converter class name, a frame
// rate (its timecode type) or '#N' for catalogue number N (0..41). Null
// with the reason in why.
std::optional<marlix::label_t> parse_label_type(std::string const& text, std::string& why);

// The labels of a type, the timecode fields flags printed, reading texts
// as mode says; nothing with the reason in why when the type has no
// converter here.
std::optional<marlix::front::labeller> make_labeller(
    marlix::label_t type, int flags, std::string& why,
    marlix::front::reading mode = marlix::front::reading::strict);

// A whole decimal number within low..high, optional sign; blanks around it
// are ignored.
std::optional<long long> parse_integer(std::string const& text, long long low, long long high);
// A finite or infinite decimal number as strtod reads it, blanks around it
// ignored.
std::optional<double> parse_double(std::string const& text);
// The text without the blanks (spaces, tabs) around it.
std::string trim_blanks(std::string const& text);

// What one item produced: its record, or the reason it failed. A failed
// item's record holds members its JSON object shows before "error".
struct item_result {
    bool ok;
    record out;
    std::string why = {};
    static item_result success(record&& r) { return {true, std::move(r)}; }
    // A record of one text member, "text".
    static item_result text(std::string line) {
        item_result r{true, record::bare()};
        r.out.text("text", std::move(line));
        return r;
    }
    static item_result failure(std::string why, record r = record::bare()) {
        return {false, std::move(r), std::move(why)};
    }
};

// Set by the global --json option.
void set_json_output(bool on);
bool json_output();

// Runs fn over the operands, or with none over the lines of standard input
// (a UTF-8 byte-order mark at the start is dropped; LF, CRLF and a lone CR
// end a line). Prints one line per item: the record, or "invalid" with the
// reason on standard error, naming the line of standard input it came
// from. In JSON each item is an object of "input" and the record's
// members, or "error" with the reason and nothing on standard error.
// Output is buffered and flushed before every read that may block, so a
// program talking through pipes gets each answer. Answers exit_ok or
// exit_item_failed.
int for_each_item(std::vector<std::string> const& operands,
                  std::function<item_result(std::string const&)> const& fn);

// How a line of standard input holds two operands; false when it does not.
using pair_split = bool (*)(std::string const& line, std::string& first, std::string& second);
// Two operands separated by blanks, nothing else.
bool split_blanks(std::string const& line, std::string& first, std::string& second);

// As for_each_item, for commands of two operands: the two operands, or
// with none two per line of standard input, split by split (a line that
// does not split fails with the reason not_a_pair). In JSON "input" is an
// array: the two operands, or the blank-separated words of a line that
// does not split.
int for_each_pair(std::vector<std::string> const& operands,
                  std::function<item_result(std::string const&, std::string const&)> const& fn,
                  pair_split split       = split_blanks,
                  char const* not_a_pair = "a line holds two operands");

// One output line that is no item's answer (a table row, a keep string
// written): its text form, or in JSON an object of its members.
void emit_record(record const& r);

// Writes one line to standard output (buffered).
void emit_line(std::string const& text);
// Flushes standard output; false with the reason printed when any write
// failed.
bool finish_output();

// Splits a command's arguments into options and operands. Options are the
// names listed in with_value (which take the next argument, or "=value")
// and flags; anything else that starts with '-' and is not a number is an
// unknown option. "--" ends the options.
struct parsed_args {
    std::vector<std::pair<std::string, std::string>> options;  // name, value
    std::vector<std::string> operands;
    std::string error;  // non-empty on a usage error

    bool has(std::string const& name) const;
    std::optional<std::string> value(std::string const& name) const;
};
parsed_args parse_args(std::vector<std::string> const& args,
                       std::vector<std::string> const& with_value,
                       std::vector<std::string> const& flags);

// Applies the global project options at the front of args (before the
// command) to the default host and removes them; answers an error
// message, empty when all is well.
std::string take_global_options(std::vector<std::string>& args);

// Sends the library's diagnostics to standard error, leaving out those a
// call reports in its own words unless --diagnostics is given.
void install_diagnostics_sink();

// True for the name of a global option ("--drop-frame", "--project-rate").
bool is_global_option(std::string const& arg);

/// The rate an option names ("--rate 29.97df"), or nothing with the usage
/// error's text: the option missing, or naming no rate.
std::optional<marlix::smpte::rate> rate_option(parsed_args const& p, char const* name,
                                               std::string& error);

/// The whole of a file, or of standard input for "-"; false with the
/// reason.
bool read_all(std::string const& name, std::string& out, std::string& why);

}  // namespace marlix_cli
