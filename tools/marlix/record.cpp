// The one writer of command answers: the text form keeps the tool's lines
// as scripts have always read them, and the JSON form types every member
// the same way in every command.

#include "record.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace marlix_cli {

member& record::add(char const* name, value::kind type) {
    member& m = count_++ == 0 ? first_ : rest_.emplace_back();
    m.name    = name;
    m.v.type  = type;
    return m;
}
record& record::integer(char const* name, long long v) & {
    add(name, value::kind::integer).v.number = v;
    return *this;
}
record& record::real(char const* name, double v, int digits) & {
    value& x = add(name, value::kind::real).v;
    x.real   = v;
    x.digits = digits;
    return *this;
}
record& record::flag(char const* name, long long v) & {
    add(name, value::kind::flag).v.number = v;
    return *this;
}
record& record::mark(char const* name, bool v) & {
    add(name, value::kind::mark).v.number = v ? 1 : 0;
    return *this;
}
record& record::text(char const* name, std::string v) & {
    add(name, value::kind::text).v.text = std::move(v);
    return *this;
}

namespace {

std::string real_text(value const& v) {
    char text[64];
    if (v.digits <= 0) {
        auto const r = std::to_chars(text, text + sizeof text, v.real);
        return std::string(text, r.ptr);
    }
    std::snprintf(text, sizeof text, "%.*g", v.digits, v.real);
    return text;
}

// The length of the valid UTF-8 sequence at s[i], or 0 where s[i] starts
// none (RFC 3629: no overlong forms, surrogates or code points past
// U+10FFFF).
std::size_t utf8_length(std::string_view s, std::size_t i) {
    auto const at = [&](std::size_t k) {
        return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u;
    };
    unsigned const b = at(0);
    std::size_t n;
    unsigned low = 0x80, high = 0xBF;  // the second byte's range
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at(1) < low || at(1) > high) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (at(k) < 0x80 || at(k) > 0xBF) return 0;
    return n;
}

void append_escape(std::string& out, unsigned code) {
    char esc[8];
    std::snprintf(esc, sizeof esc, "\\u%04x", code & 0xFFFFu);
    out += esc;
}

}  // namespace

void append_json_string(std::string_view bytes, std::string& out) {
    out += '"';
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned const b    = static_cast<unsigned char>(bytes[i]);
        std::size_t const n = utf8_length(bytes, i);
        if (n == 0) {
            append_escape(out, 0xDC00 + b);
            ++i;
        } else if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
            ++i;
        } else if (b < 0x20 || b == 0x7F) {
            append_escape(out, b);
            ++i;
        } else if (b == 0xC2 && static_cast<unsigned char>(bytes[i + 1]) < 0xA0) {
            append_escape(out, static_cast<unsigned char>(bytes[i + 1]));  // C1 control
            i += 2;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    out += '"';
}

std::string json_string(std::string_view bytes) {
    std::string out;
    append_json_string(bytes, out);
    return out;
}

namespace {
void append_number(long long n, std::string& out) {
    char text[24];
    auto const r = std::to_chars(text, text + sizeof text, n);
    out.append(text, static_cast<std::size_t>(r.ptr - text));
}
}  // namespace

void append_text(record const& r, std::string& out) {
    bool first = true;
    r.for_each([&](member const& m) {
        value const& v = m.v;
        if (v.type == value::kind::mark && !r.named && v.number == 0) return;
        if (!first) out += ' ';
        first = false;
        if (r.named) out.append(m.name).append("=");
        switch (v.type) {
            case value::kind::integer:
            case value::kind::flag: append_number(v.number, out); break;
            case value::kind::real: out += real_text(v); break;
            case value::kind::text:
                if (!r.named) {
                    out += v.text;
                    break;
                }
                out += '"';
                for (char c : v.text) {
                    if (c == '"' || c == '\\') out += '\\';
                    out += c;
                }
                out += '"';
                break;
            case value::kind::mark:
                if (r.named)
                    append_number(v.number, out);
                else
                    out += m.name;
                break;
        }
    });
}

void append_json_members(record const& r, std::string& out) {
    r.for_each([&](member const& m) {
        value const& v = m.v;
        out += ", ";
        append_json_string(m.name, out);
        out += ": ";
        switch (v.type) {
            case value::kind::integer: append_number(v.number, out); break;
            case value::kind::flag:
            case value::kind::mark: out += v.number != 0 ? "true" : "false"; break;
            case value::kind::text: append_json_string(v.text, out); break;
            case value::kind::real:
                // JSON has no infinity or NaN: those stay the texts "inf", "nan".
                if (std::isfinite(v.real))
                    out += real_text(v);
                else
                    append_json_string(real_text(v), out);
                break;
        }
    });
}

}  // namespace marlix_cli
