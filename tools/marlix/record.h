#pragma once

// What a command answers, as values: a record of named members, and the
// one writer that renders it as the text form or as a JSON object.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace marlix_cli {

// One member's value: a whole number, a floating number, a flag (a mark is
// a flag the bare text form shows by name) or a text.
struct value {
    enum class kind { integer, real, flag, mark, text };
    kind type;
    long long number = 0;  // integer; flag: its number in the text form
    double real      = 0;
    int digits       = 0;  // real: significant digits, 0 for the shortest text that reads back
    std::string text = {};
};

struct member {
    char const* name = "";  // a string literal
    value v{value::kind::integer};
};

// An output line. Its text form is either the bare values separated by
// blanks, or name=value fields (texts in double quotes, a '"' or '\\'
// inside escaped with '\\'); its JSON form an object of the members in
// order. Built with chained calls: record::bare().text("text", line).
class record {
public:
    bool named = false;

    static record bare() { return record(false); }
    static record fields() { return record(true); }
    record() = default;

    record& integer(char const* name, long long v) &;
    // Text as %.*g with digits (1..17), or the shortest that reads back.
    record& real(char const* name, double v, int digits = 0) &;
    // 0|1 (or any number) in text; false|true (not zero) in JSON.
    record& flag(char const* name, long long v) &;
    // In a bare text form the name when set and nothing when not; else as
    // flag.
    record& mark(char const* name, bool v) &;
    record& text(char const* name, std::string v) &;

    // The same on a temporary, which then moves on without a copy.
    record&& integer(char const* name, long long v) && { return std::move(integer(name, v)); }
    record&& real(char const* name, double v, int digits = 0) && {
        return std::move(real(name, v, digits));
    }
    record&& flag(char const* name, long long v) && { return std::move(flag(name, v)); }
    record&& mark(char const* name, bool v) && { return std::move(mark(name, v)); }
    record&& text(char const* name, std::string v) && {
        return std::move(text(name, std::move(v)));
    }

    // Calls fn with each member in order.
    template <class F>
    void for_each(F&& fn) const {
        if (count_ > 0) fn(first_);
        for (auto const& m : rest_) fn(m);
    }

private:
    explicit record(bool n) : named(n) {}
    member& add(char const* name, value::kind type);

    // Most answers are one member: it is kept without an allocation.
    member first_{};
    std::size_t count_ = 0;
    std::vector<member> rest_;
};

// Appends the record in its text form to out.
void append_text(record const& r, std::string& out);

// Appends the members of r to out as JSON object members, each preceded by
// ", ".
void append_json_members(record const& r, std::string& out);

// Appends a JSON string of the bytes to out: '"' and '\\' escaped, control
// characters (C0, DEL, C1) as \u00XX, valid UTF-8 as it is, and each byte
// that is not part of valid UTF-8 as the lone surrogate U+DC00 + byte
// (\udcXX), which no valid UTF-8 text yields, so a reader can restore the
// bytes.
void append_json_string(std::string_view bytes, std::string& out);
std::string json_string(std::string_view bytes);

}  // namespace marlix_cli
