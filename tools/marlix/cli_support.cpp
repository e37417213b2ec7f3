#include "cli_support.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <sstream>

namespace marlix_cli {

namespace {
char const* command_usage = nullptr;
int write_errno           = 0;  // errno of the first failed write

void note_write_error() {
    if (write_errno == 0) write_errno = errno != 0 ? errno : EIO;
}
}  // namespace

void set_command_usage(char const* usage) { command_usage = usage; }

int usage_error(std::string const& message) {
    if (command_usage != nullptr) {
        char const* end = std::strchr(command_usage, '\n');
        int const n     = end != nullptr ? static_cast<int>(end - command_usage)
                                         : static_cast<int>(std::strlen(command_usage));
        std::fprintf(stderr, "marlix: %s\n%.*s\n", message.c_str(), n, command_usage);
    } else {
        std::fprintf(stderr, "marlix: %s\n(see 'marlix --help')\n", message.c_str());
    }
    return exit_usage;
}

std::string trim_blanks(std::string const& text) {
    std::size_t const first = text.find_first_not_of(" \t");
    if (first == text.npos) return "";
    std::size_t const last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<long long> parse_integer(std::string const& raw, long long low, long long high) {
    std::string const text = trim_blanks(raw);
    if (text.empty() || text.size() > 20) return std::nullopt;
    if (text.find_first_of(" \t\n\v\f\r") != text.npos) return std::nullopt;
    char* end         = nullptr;
    errno             = 0;
    long long const v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
    if (v < low || v > high) return std::nullopt;
    return v;
}

std::optional<double> parse_double(std::string const& raw) {
    std::string const text = trim_blanks(raw);
    if (text.empty() || text.find_first_of(" \t\n\v\f\r") != text.npos) return std::nullopt;
    char* end      = nullptr;
    double const v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0') return std::nullopt;
    return v;
}

// Every rate option and -t read rates through the SMPTE layer's grammar;
// the host's rate is the one of the same frames per second.
std::optional<rate_name> find_rate_name(std::string const& raw) {
    auto const r = marlix::smpte::parse_rate(trim_blanks(raw));
    if (!r) return std::nullopt;
    Tov::FrameRate const host = marlix::smpte::host_frame_rate(r.value);
    if (host == Tov::FrameRate_None) return std::nullopt;
    return rate_name{r.value, host, marlix::smpte::converter_type(r.value)};
}

std::string rate_names_text() { return marlix::smpte::rate_names(); }

std::string help_text(char const* text) {
    std::string label_rates;
    std::istringstream names(marlix::smpte::rate_names());
    for (std::string name; names >> name;) {
        auto const r = marlix::smpte::parse_rate(name);
        if (r && marlix::smpte::converter_type(r.value) != marlix::LABEL_NONE)
            label_rates += (label_rates.empty() ? "" : " ") + name;
    }
    std::string out = text;
    for (auto [key, value] : {std::pair<std::string, std::string>{"{rates}", rate_names_text()},
                              {"{label rates}", label_rates}})
        for (auto at = out.find(key); at != out.npos; at = out.find(key, at + value.size()))
            out.replace(at, key.size(), value);
    return out;
}

std::optional<Tov::FrameRate> parse_rate(std::string const& text, bool* drop) {
    auto const r = marlix::front::find_host_rate(trim_blanks(text));
    if (!r) return std::nullopt;
    if (drop != nullptr) *drop = r.value.drop;
    return r.value.rate;
}

std::optional<marlix::label_t> parse_label_type(std::string const& text, std::string& why) {
    using marlix::front::reason;
    auto const found = marlix::front::find_label_type(text);
    if (found) return found.value;
    why = marlix::front::describe(found.why, text);
    // The tool's own hints: where 59.94 drop-frame is served, and how a
    // catalogue number is written.
    if (found.why == reason::rate_without_converter)
        why += "; the strict SMPTE timecode commands ('marlix tc') read and write it";
    if (found.why == reason::not_a_rate) why += "; write a catalogue number as '#N'";
    return std::nullopt;
}

std::optional<marlix::front::labeller> make_labeller(marlix::label_t type, int flags,
                                                     std::string& why,
                                                     marlix::front::reading mode) {
    auto made = marlix::front::labeller::make(type, flags, mode);
    if (made) return std::move(made.value);
    why = marlix::front::describe(made.why, "--flags", type);
    return std::nullopt;
}

void emit_line(std::string const& text) {
    if (fwrite_unlocked(text.data(), 1, text.size(), stdout) != text.size() ||
        fputc_unlocked('\n', stdout) == EOF)
        note_write_error();
}

bool finish_output() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) note_write_error();
    if (write_errno == 0) return true;
    std::fprintf(stderr, "marlix: write error: %s\n", std::strerror(write_errno));
    return false;
}

namespace {

// Lines of standard input, read in large blocks. Standard output is
// flushed before every read, so that whoever sends one request at a time
// through a pipe has every answer before marlix waits for more.
class line_reader {
public:
    bool next(std::string& line) {
        line.clear();
        for (;;) {
            if (pos_ == len_ && !fill()) {
                if (line.empty() && !partial_) return false;
                partial_ = false;
                return finish(line);
            }
            if (skip_lf_) {
                skip_lf_ = false;
                if (buffer_[pos_] == '\n') {
                    ++pos_;
                    continue;
                }
            }
            char const* begin = buffer_ + pos_;
            char const* end   = buffer_ + len_;
            char const* stop  = begin;
            while (stop < end && *stop != '\n' && *stop != '\r') ++stop;
            line.append(begin, stop);
            pos_ = static_cast<std::size_t>(stop - buffer_);
            if (stop == end) {
                partial_ = true;
                continue;
            }
            skip_lf_ = *stop == '\r';  // CRLF is one line end
            ++pos_;
            partial_ = false;
            return finish(line);
        }
    }
    long line_number() const { return number_; }

private:
    bool finish(std::string& line) {
        if (++number_ == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        return true;
    }
    bool fill() {
        if (eof_) return false;
        if (std::fflush(stdout) != 0) note_write_error();
        ssize_t n;
        do {
            n = ::read(0, buffer_, sizeof buffer_);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            eof_ = true;
            return false;
        }
        pos_ = 0;
        len_ = static_cast<std::size_t>(n);
        return true;
    }

    char buffer_[1 << 16];
    std::size_t pos_ = 0, len_ = 0;
    long number_  = 0;
    bool eof_     = false;
    bool skip_lf_ = false;
    bool partial_ = false;  // a line started in an earlier block
};

}  // namespace

namespace {
bool json_mode = false;

// A JSON array of texts.
std::string json_array(std::vector<std::string> const& items) {
    std::string out = "[";
    for (auto const& item : items) {
        if (out.size() > 1) out += ", ";
        append_json_string(item, out);
    }
    return out + "]";
}

// The output line being built; kept to spare an allocation per item.
std::string output_line;

std::string& line_buffer() {
    output_line.clear();
    return output_line;
}

std::vector<std::string> blank_words(std::string const& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// One item's answer. input is the item as JSON shows it; text names it in
// messages.
int answer(item_result const& r, std::string const& input, std::string const& text, long line) {
    std::string& out = line_buffer();
    if (json_mode) {
        out += "{\"input\": ";
        out += input;
        append_json_members(r.out, out);
        if (!r.ok) {
            out += ", \"error\": ";
            append_json_string(r.why, out);
        }
        out += '}';
        emit_line(out);
        return r.ok ? exit_ok : exit_item_failed;
    }
    if (r.ok) {
        append_text(r.out, out);
        emit_line(out);
        return exit_ok;
    }
    emit_line("invalid");
    std::fflush(stdout);  // keep the two streams in order for a reader of both
    std::string const shown = marlix::front::quoted(text);
    if (line > 0)
        std::fprintf(stderr, "marlix: line %ld: %s: %s\n", line, shown.c_str(), r.why.c_str());
    else
        std::fprintf(stderr, "marlix: %s: %s\n", shown.c_str(), r.why.c_str());
    return exit_item_failed;
}

// Calls fn with each operand, or with none each line of standard input and
// its number.
template <class F>
void for_each_line(std::vector<std::string> const& operands, F&& fn) {
    if (!operands.empty()) {
        for (auto const& item : operands) fn(item, 0);
        return;
    }
    auto reader = std::make_unique<line_reader>();
    std::string line;
    while (reader->next(line)) fn(line, reader->line_number());
}
}  // namespace

void set_json_output(bool on) { json_mode = on; }
bool json_output() { return json_mode; }

void emit_record(record const& r) {
    std::string& out = line_buffer();
    if (json_mode) {
        append_json_members(r, out);
        out.replace(0, std::min<std::size_t>(out.size(), 2), "{");
        out += '}';
    } else {
        append_text(r, out);
    }
    emit_line(out);
}

int for_each_item(std::vector<std::string> const& operands,
                  std::function<item_result(std::string const&)> const& fn) {
    int status = exit_ok;
    for_each_line(operands, [&](std::string const& item, long line) {
        std::string const input = json_mode ? json_string(item) : std::string();
        if (answer(fn(item), input, item, line) != exit_ok) status = exit_item_failed;
    });
    return status;
}

bool split_blanks(std::string const& line, std::string& first, std::string& second) {
    std::istringstream in(line);
    std::string extra;
    return (in >> first >> second) && !(in >> extra);
}

int for_each_pair(std::vector<std::string> const& operands,
                  std::function<item_result(std::string const&, std::string const&)> const& fn,
                  pair_split split, char const* not_a_pair) {
    if (!operands.empty() && operands.size() != 2) return usage_error("two operands are needed");
    int status = exit_ok;
    auto run   = [&](std::string const& item, long line) {
        std::string a       = operands.empty() ? "" : operands[0],
                    b       = operands.empty() ? "" : operands[1];
        bool const is_pair  = !operands.empty() || split(item, a, b);
        item_result const r = is_pair ? fn(a, b) : item_result::failure(not_a_pair);
        std::string const input =
            !json_mode ? std::string()
                         : json_array(is_pair ? std::vector<std::string>{a, b} : blank_words(item));
        if (answer(r, input, item, line) != exit_ok) status = exit_item_failed;
    };
    if (!operands.empty())
        run(operands[0] + " " + operands[1], 0);
    else
        for_each_line(operands, run);
    return status;
}

bool read_all(std::string const& name, std::string& out, std::string& why) {
    std::FILE* f = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (f == nullptr) {
        why = std::strerror(errno);
        return false;
    }
    char block[1 << 16];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) out.append(block, n);
    bool const failed = std::ferror(f) != 0;
    if (failed) why = std::strerror(errno);
    if (f != stdin) std::fclose(f);
    return !failed;
}

std::optional<marlix::smpte::rate> rate_option(parsed_args const& p, char const* name,
                                               std::string& error) {
    auto const text = p.value(name);
    if (!text) {
        error = std::string("a rate is needed: ") + name + " R";
        return std::nullopt;
    }
    auto const r = marlix::smpte::parse_rate(trim_blanks(*text));
    if (!r) {
        error = marlix::front::quoted(*text) + " is not a frame rate (" + rate_names_text() + ")";
        return std::nullopt;
    }
    return r.value;
}

}  // namespace marlix_cli
