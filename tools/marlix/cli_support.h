#pragma once

// Shared pieces of the marlix command-line tool: global project options,
// operand parsing, and the item loop every command runs through.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "marlix/marlix.h"

namespace marlix_cli {

// Exit statuses.
inline constexpr int exit_ok          = 0;
inline constexpr int exit_item_failed = 1;
inline constexpr int exit_usage       = 2;

// Reports a usage error with a hint to --help and answers exit_usage.
int usage_error(std::string const& message);

// A frame rate written as frames per second ("23.976", "29.97", "50"...) or
// as the host's rate number (0..34).
std::optional<Tov::FrameRate> parse_rate(std::string const& text);

// A label type written as an EDL name (any case), a converter class name or
// a number 0..41.
std::optional<marlix::label_t> parse_label_type(std::string const& text);

// A converter of the label type, with the timecode fields flags; null with
// the reason in why when the type has no converter here.
std::unique_ptr<marlix::label_cvt> make_converter(marlix::label_t type, int flags,
                                                  std::string& why);

// A whole decimal number that fits 32 bits, optional sign, nothing else.
std::optional<long long> parse_integer(std::string const& text, long long low, long long high);

// What one item produced: the output line, or the reason it failed.
struct item_result {
    bool ok;
    std::string text;  // the output line when ok, the reason when not
    static item_result success(std::string line) { return {true, std::move(line)}; }
    static item_result failure(std::string why) { return {false, std::move(why)}; }
};

// Runs fn over the operands, or with none over the lines of standard input.
// Prints one line per item: the result, or "invalid" with the reason on
// standard error. Answers exit_ok or exit_item_failed.
int for_each_item(std::vector<std::string> const& operands,
                  std::function<item_result(std::string const&)> const& fn);

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

// Applies the global project options found anywhere in argv to the default
// host and removes them; answers an error message, empty when all is well.
std::string take_global_options(std::vector<std::string>& args);

}  // namespace marlix_cli
