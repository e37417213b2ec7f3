#include "marlix/front/shown_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace marlix::front {

namespace {

// The length of the UTF-8 sequence at text[i] and its code point, or 0
// when the bytes there are no well-formed sequence (overlong forms,
// surrogates and code points past U+10FFFF included).
std::size_t utf8_at(std::string_view text, std::size_t i, std::uint32_t& code) {
    auto const byte       = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char const b = byte(i);
    std::size_t n{};  // with low, set by each lead byte that starts a sequence
    std::uint32_t low{};
    if (b < 0x80) {
        code = b;
        return 1;
    }
    if (b >= 0xc2 && b <= 0xdf) {
        n = 2, code = b & 0x1fu, low = 0x80;
    } else if (b >= 0xe0 && b <= 0xef) {
        n = 3, code = b & 0x0fu, low = 0x800;
    } else if (b >= 0xf0 && b <= 0xf4) {
        n = 4, code = b & 0x07u, low = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xc0u) != 0x80) return 0;
        code = code << 6 | (byte(i + k) & 0x3fu);
    }
    bool const surrogate = code >= 0xd800 && code <= 0xdfff;
    return code < low || code > 0x10ffff || surrogate ? 0 : n;
}

void append_escape(std::string& out, char const* format, unsigned value) {
    char buffer[sizeof "\\u0000"];
    int const n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n > 0) out.append(buffer, std::min(static_cast<std::size_t>(n), sizeof buffer - 1));
}

}  // namespace

std::string shown_text(std::string_view text) {
    std::string out;
    std::size_t shown = 0;  // characters shown, an escape counting as one
    for (std::size_t i = 0; i < text.size(); ++shown) {
        if (shown == shown_length) {
            out += "...";
            break;
        }
        std::uint32_t code  = 0;
        std::size_t const n = utf8_at(text, i, code);
        if (n == 0) {
            append_escape(out, "\\x%02x", static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        switch (code) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (code < 0x20 || code == 0x7f)
                    append_escape(out, "\\x%02x", code);
                else if ((code >= 0x80 && code < 0xa0) || code == 0xfeff)
                    append_escape(out, "\\u%04x", code);
                else
                    out.append(text, i, n);
        }
        i += n;
    }
    return out;
}

std::string quoted(std::string_view text) { return "'" + shown_text(text) + "'"; }

}  // namespace marlix::front
