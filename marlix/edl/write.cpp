// The canonical text of a list, and the words findings are reported in.

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>

#include "marlix/edl/detail/edl_support.h"

namespace marlix::edl {

namespace {

// The widths of the fixed columns after the reel.
constexpr std::size_t channel_width    = 5;
constexpr std::size_t transition_width = 4;

void pad(std::string& out, std::string_view text, std::size_t width) {
    out.append(text);
    if (text.size() < width) out.append(width - text.size(), ' ');
}

void put_timecode(std::string& out, smpte::timecode t) {
    char text[smpte::text_capacity];
    smpte::write(t, text, sizeof text);  // terminated, whatever its length
    out.append(text);
}

// [-]DDD.D: a speed as M2 lines print it.
std::string m2_speed_field(std::int32_t tenths) {
    char text[sizeof("-2147483648.0")];
    std::int64_t const v = std::abs(std::int64_t{tenths});
    [[maybe_unused]] int const n =
        std::snprintf(text, sizeof text, "%s%03lld.%lld", tenths < 0 ? "-" : "",
                      static_cast<long long>(v / 10), static_cast<long long>(v % 10));
    assert(n > 0 && static_cast<std::size_t>(n) < sizeof text);
    return text;
}

std::string frames_text(long long frames, char const* format) {
    char text[sizeof("-9223372036854775808")];
    [[maybe_unused]] int const n = std::snprintf(text, sizeof text, format, frames);
    assert(n > 0 && static_cast<std::size_t>(n) < sizeof text);
    return text;
}

}  // namespace

layout detail::narrowest_layout(document const& doc) {
    std::size_t longest = 0;
    for (edit const& e : doc.edits) longest = std::max<std::size_t>(longest, e.reel.size);
    for (layout l : {layout::cmx_3600, layout::file_16, layout::file_32})
        if (longest <= reel_width(l)) return l;
    return layout::file_128;
}

std::size_t reel_width(layout l) {
    switch (l) {
        case layout::cmx_3600: return 8;
        case layout::file_16: return 16;
        case layout::file_32: return 32;
        case layout::file_128: return 128;
    }
    return 8;
}

std::string channel_text(channel_set c) {
    bool const a1 = c.audio(1), a2 = c.audio(2);
    int name  = 2;  // the highest audio channel above 2, else A2
    int count = 0;
    for (int n = 1; n <= channel_set::max_audio; ++n)
        if (c.audio(n)) {
            ++count;
            if (n > 2) name = n;
        }
    if (count == 0) return c.video ? "V" : "NONE";
    if (count == 1 && a1) return c.video ? "B" : "A";
    if (count == 2 && a1 && a2) return c.video ? "AA/V" : "AA";
    return "A" + frames_text(name, "%lld") + (c.video ? "/V" : "");
}

std::string transition_text(transition const& t) {
    std::string text;
    switch (t.kind) {
        case transition_kind::cut: text = "C"; break;
        case transition_kind::dissolve: text = "D"; break;
        case transition_kind::wipe: text = "W" + frames_text(t.wipe % 1000, "%03lld"); break;
        case transition_kind::key: text = "K"; break;
        case transition_kind::key_background: text = "K B"; break;
        case transition_kind::key_overlay: text = "K O"; break;
    }
    if (t.fade) text += " (F)";
    return text;
}

std::string write(document const& doc) {
    std::string out;
    out.reserve(doc.body.size());
    std::size_t const width = reel_width(detail::narrowest_layout(doc));
    auto const write_lines  = [&](std::size_t first, std::size_t count) {
        for (std::size_t k = first; k < first + count && k < doc.lines.size(); ++k) {
            kept_line const& l = doc.lines[k];
            switch (l.kind) {
                case line_kind::frame_code_mode:
                    out += l.value != 0 ? "FCM: DROP FRAME" : "FCM: NON-DROP FRAME";
                    break;
                case line_kind::motion: {
                    auto const target = static_cast<std::size_t>(l.value);
                    if (target >= doc.edits.size() || !doc.edits[target].has_motion) {
                        out += doc.text(l.text);
                        break;
                    }
                    motion const& m = doc.edits[target].speed;
                    out += "M2   ";
                    pad(out, doc.text(m.reel), width);
                    out += ' ';
                    std::string const speed = m2_speed_field(m.speed_tenths);
                    out.append(speed.size() < 6 ? 6 - speed.size() : 0, ' ');
                    out += speed;
                    out += ' ';
                    put_timecode(out, m.entry);
                    break;
                }
                case line_kind::comment:
                case line_kind::audio:
                case line_kind::split:
                case line_kind::other: out += doc.text(l.text); break;
            }
            out += '\n';
        }
    };
    if (doc.has_title) {
        out += "TITLE:";
        if (doc.title.size != 0) (out += ' ') += doc.text(doc.title);
        out += '\n';
    }
    write_lines(0, doc.header_lines());
    for (edit const& e : doc.edits) {
        out += frames_text(e.event, "%03lld");
        out += "  ";
        pad(out, doc.text(e.reel), width);
        out += ' ';
        pad(out, channel_text(e.channels), channel_width);
        out += ' ';
        pad(out, transition_text(e.how), transition_width);
        out += ' ';
        out += e.how.frames_written ? frames_text(e.how.frames, "%03lld") : "   ";
        for (smpte::timecode const t : {e.source_in, e.source_out, e.record_in, e.record_out}) {
            out += ' ';
            put_timecode(out, t);
        }
        out += '\n';
        write_lines(e.first_line, e.line_count);
    }
    return out;
}

}  // namespace marlix::edl
