#include "cli_support.h"

#include <unistd.h>

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
                                                     std::string& why) {
    auto made = marlix::front::labeller::make(type, flags);
    if (made) return std::move(made.value);
    why = made.why == marlix::front::reason::fields_not_timecode
              ? std::string("--flags applies to timecode types, not ") +
                    marlix::label_type_class_name(type)
              : marlix::front::describe(made.why, "", type);
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

std::string json_string(std::string const& text) {
    std::string out = "\"";
    for (char c : text) {
        unsigned char const u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A bare value that JSON reads as a number: -?digits[.digits][e[+-]digits].
bool json_number(std::string const& v) {
    std::size_t i = 0;
    if (i < v.size() && v[i] == '-') ++i;
    std::size_t const int_start = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
    if (i == int_start || (v[int_start] == '0' && i - int_start > 1)) return false;
    if (i < v.size() && v[i] == '.') {
        std::size_t const f = ++i;
        while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
        if (i == f) return false;
    }
    if (i < v.size() && (v[i] == 'e' || v[i] == 'E')) {
        ++i;
        if (i < v.size() && (v[i] == '+' || v[i] == '-')) ++i;
        std::size_t const e = i;
        while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
        if (i == e) return false;
    }
    return i == v.size();
}

// The members of a name=value line: quoted values as strings, bare ones as
// numbers where JSON reads them so, else as strings.
std::string json_fields(std::string const& line) {
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::size_t const eq = line.find('=', i);
        if (i >= line.size() || eq == std::string::npos) break;
        std::string const name = line.substr(i, eq - i);
        std::string value;
        bool is_text = false;
        i            = eq + 1;
        if (i < line.size() && line[i] == '"') {
            is_text = true;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
                value += line[i];
            }
            ++i;
        } else {
            std::size_t const end = line.find(' ', i);
            value = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i     = end == std::string::npos ? line.size() : end;
        }
        out += ", " + json_string(name) + ": " +
               (!is_text && json_number(value) ? value : json_string(value));
    }
    return out;
}

std::string json_input(std::string const& item, output_shape shape) {
    if (!shape.pair_input) return json_string(item);
    std::istringstream in(item);
    std::string a, b;
    in >> a >> b;
    return "[" + json_string(a) + ", " + json_string(b) + "]";
}

std::string json_value(std::string const& text, output_shape shape) {
    if (shape.fields) return json_fields(text);
    return std::string(", ") + json_string(shape.key) + ": " +
           (shape.number && json_number(text) ? text : json_string(text));
}
}  // namespace

void set_json_output(bool on) { json_mode = on; }
bool json_output() { return json_mode; }

std::string quoted(std::string const& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}
std::string field(char const* name, long long value) {
    return std::string(name) + "=" + std::to_string(value);
}
std::string field(char const* name, std::string const& text) {
    return std::string(name) + "=" + quoted(text);
}

void emit_record(std::string const& line, output_shape shape) {
    if (!json_mode) {
        emit_line(line);
        return;
    }
    std::string const members = json_value(line, shape);
    emit_line("{" + members.substr(2) + "}");
}

int for_each_item(std::vector<std::string> const& operands,
                  std::function<item_result(std::string const&)> const& fn, output_shape shape) {
    int status = exit_ok;
    auto run   = [&](std::string const& item, long line) {
        item_result const r = fn(item);
        if (json_mode) {
            std::string object = "{\"input\": " + json_input(item, shape);
            if (r.ok) {
                object += json_value(r.text, shape);
                if (!r.json_members.empty()) object += ", " + r.json_members;
            } else {
                object += ", \"error\": " + json_string(r.text);
                status = exit_item_failed;
            }
            emit_line(object + "}");
            return;
        }
        if (r.ok) {
            emit_line(r.text + r.text_suffix);
            return;
        }
        emit_line("invalid");
        std::fflush(stdout);  // keep the two streams in order for a reader of both
        if (line > 0)
            std::fprintf(stderr, "marlix: line %ld: '%s': %s\n", line, item.c_str(),
                           r.text.c_str());
        else
            std::fprintf(stderr, "marlix: '%s': %s\n", item.c_str(), r.text.c_str());
        status = exit_item_failed;
    };
    if (!operands.empty()) {
        for (auto const& item : operands) run(item, 0);
    } else {
        auto reader = std::make_unique<line_reader>();
        std::string line;
        while (reader->next(line)) run(line, reader->line_number());
    }
    return status;
}

int for_each_pair(std::vector<std::string> const& operands, output_shape shape,
                  std::function<item_result(std::string const&, std::string const&)> const& fn) {
    shape.pair_input = true;
    if (!operands.empty()) {
        if (operands.size() != 2) return usage_error("two operands are needed");
        return for_each_item(
            {operands[0] + " " + operands[1]},
            [&](std::string const&) { return fn(operands[0], operands[1]); }, shape);
    }
    return for_each_item(
        {},
        [&](std::string const& line) {
            std::istringstream in(line);
            std::string a, b, extra;
            if (!(in >> a >> b) || (in >> extra))
                return item_result::failure("a line holds two operands");
            return fn(a, b);
        },
        shape);
}

}  // namespace marlix_cli
