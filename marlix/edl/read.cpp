// Reading a list: bytes to UTF-8 text, text to lines, lines to edits and
// kept lines. Fields are cut by column position where a line has the
// CMX 3600 (or File16/32/128) columns, by blanks where it does not. Nothing
// here allocates per field: texts are spans into the document's body.

#include <algorithm>
#include <cstring>
#include <limits>
#include <span>

#include "marlix/edl/detail/edl_support.h"
#include "marlix/edl/document.h"

namespace marlix::edl {

namespace {

using detail::is_blank;
using detail::is_digit;

constexpr char utf8_bom[] = "\xEF\xBB\xBF";
// Spans hold 32-bit offsets; ISO-8859-1 text may double when it becomes UTF-8.
constexpr std::size_t max_bytes = std::numeric_limits<std::uint32_t>::max() / 2;

// The offset of the first byte that is not part of valid UTF-8 (RFC 3629:
// no overlong forms, surrogates or code points past U+10FFFF), or npos.
std::size_t first_invalid_utf8(std::string_view s) {
    auto const* p       = reinterpret_cast<unsigned char const*>(s.data());
    std::size_t const n = s.size();
    std::size_t i       = 0;
    while (i < n) {
        // Eight ASCII bytes at once: the common case of a list.
        if (i + 8 <= n) {
            std::uint64_t w;
            std::memcpy(&w, p + i, 8);
            if ((w & 0x8080808080808080u) == 0) {
                i += 8;
                continue;
            }
        }
        unsigned const b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        unsigned low = 0x80, high = 0xBF;  // the second byte's range
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return i;
        }
        if (i + len > n || p[i + 1] < low || p[i + 1] > high) return i;
        for (std::size_t k = 2; k < len; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF) return i;
        i += len;
    }
    return std::string_view::npos;
}

// The 1-based line of the byte at offset (LF, CRLF and CR end lines).
std::uint32_t line_of(std::string_view s, std::size_t offset) {
    std::uint32_t line = 1;
    for (std::size_t i = 0; i < offset && i < s.size(); ++i)
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'))) ++line;
    return line;
}

bool starts_with(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

using marlix::detail::same_ignoring_case;

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// Blank-separated words of a line, at most max_tokens of them.
constexpr std::size_t max_tokens = 16;
struct tokens {
    std::string_view word[max_tokens];
    std::size_t count = 0;
    bool too_many     = false;
};
tokens split_words(std::string_view s) {
    tokens t;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && is_blank(s[i])) ++i;
        if (i == s.size()) break;
        std::size_t const start = i;
        while (i < s.size() && !is_blank(s[i])) ++i;
        if (t.count == max_tokens) {
            t.too_many = true;
            break;
        }
        t.word[t.count++] = s.substr(start, i - start);
    }
    return t;
}

// A decimal number of 1..digits digits, all of s.
bool read_number(std::string_view s, std::size_t digits, std::int32_t& out) {
    if (s.empty() || s.size() > digits) return false;
    std::int32_t v = 0;
    for (char c : s) {
        if (!is_digit(c)) return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

// A channel field: V, A, A2..A99, B, AA, AA/V, An/V or NONE.
bool read_channels(std::string_view s, channel_set& c) {
    c = channel_set{};
    if (s == "NONE") return true;
    if (s == "B") {
        c.video = true;
        c.add_audio(1);
        return true;
    }
    if (s.size() >= 2 && s.substr(s.size() - 2) == "/V") {
        c.video = true;
        s.remove_suffix(2);
        if (s == "V") return false;
    } else if (s == "V") {
        c.video = true;
        return true;
    }
    if (s == "A") {
        c.add_audio(1);
        return true;
    }
    if (s == "AA") {
        c.add_audio(1);
        c.add_audio(2);
        return true;
    }
    std::int32_t n = 0;
    if (s.size() < 2 || s[0] != 'A' || s[1] == '0' || !read_number(s.substr(1), 2, n)) return false;
    c.add_audio(n);
    return true;
}

// The transition and its length: the words between the channels and the
// timecodes. C, D, Wnnn, K, K B (KB), K O (KO), then (F) and a length.
bool read_transition(tokens const& t, std::size_t first, std::size_t end, transition& how) {
    how = transition{};
    if (first >= end) return false;
    std::string_view const code = t.word[first];
    std::size_t i               = first + 1;
    // The word at k before end, else nothing.
    auto const word = [&](std::size_t k) { return k < end ? t.word[k] : std::string_view{}; };
    if (code == "C") {
        how.kind = transition_kind::cut;
    } else if (code == "D") {
        how.kind = transition_kind::dissolve;
    } else if (code.size() == 4 && code[0] == 'W') {
        how.kind = transition_kind::wipe;
        if (!read_number(code.substr(1), 3, how.wipe)) return false;
    } else if (code == "K" || code == "KB" || code == "KO") {
        how.kind = code == "KB"   ? transition_kind::key_background
                   : code == "KO" ? transition_kind::key_overlay
                                  : transition_kind::key;
        if (code == "K" && (word(i) == "B" || word(i) == "O")) {
            how.kind =
                word(i) == "B" ? transition_kind::key_background : transition_kind::key_overlay;
            ++i;
        }
    } else {
        return false;
    }
    if (word(i) == "(F)") {
        how.fade = true;
        ++i;
    }
    if (!word(i).empty()) {
        if (!read_number(word(i), 5, how.frames)) return false;
        how.frames_written = true;
        ++i;
    }
    return i == end;
}

class reader {
public:
    reader(document& doc, read_options options) : doc_(doc), options_(options), mode_(doc.rate) {}

    void run(std::string_view body);

private:
    document& doc_;
    read_options options_;
    smpte::rate mode_{};               // the rate and drop-frame mode in force
    bool seen_content_       = false;  // a line other than blanks was read
    std::size_t event_start_ = 0;      // the first edit of the current event
    bool stop_               = false;

    span span_of(std::string_view s) const {
        return {static_cast<std::uint32_t>(s.data() - doc_.body.data()),
                static_cast<std::uint32_t>(s.size())};
    }
    finding& report(finding_kind k, std::uint32_t line, std::string_view at = {},
                    std::string_view s = {}) {
        finding f;
        f.kind = k;
        f.line = line;
        if (!at.empty() && at.data() >= s.data() && at.data() <= s.data() + s.size())
            f.column = static_cast<std::uint32_t>(at.data() - s.data()) + 1;
        if (!doc_.edits.empty()) f.event = doc_.edits.back().event;
        if (options_.mode == mode::strict && f.level() == severity::error) stop_ = true;
        return doc_.findings.emplace_back(f);
    }
    void keep(line_kind k, std::uint32_t line, std::string_view text, std::int32_t value = 0) {
        doc_.lines.push_back({k, line, span_of(text), value});
        if (!doc_.edits.empty()) ++doc_.edits.back().line_count;
    }

    void read_line(std::string_view s, std::uint32_t line);
    void read_event(std::string_view s, std::uint32_t line);
    bool read_event_columns(std::string_view s, edit& e);
    void read_motion(std::string_view s, std::string_view content, std::uint32_t line);
    void read_comment(std::string_view content);
    bool read_split(std::string_view content, split_delay& d);
    bool read_audio(std::string_view content, channel_set& c);
};

// A timecode of an event line at the mode in force: HH:MM:SS and the frames
// after ':', ';', '.' or ','. The separator says nothing of the mode: only
// FCM: lines do.
smpte::result<smpte::timecode> read_timecode(std::string_view s, smpte::rate r) {
    if (s.size() != 11) return {smpte::timecode(0, smpte::no_rate), smpte::error::syntax};
    char text[11];
    std::memcpy(text, s.data(), sizeof text);
    bool const inner = (text[2] == ':' || text[2] == ';') && (text[5] == ':' || text[5] == ';');
    bool const frame = text[8] == ':' || text[8] == ';' || text[8] == '.' || text[8] == ',';
    if (!inner || !frame) return {smpte::timecode(0, smpte::no_rate), smpte::error::syntax};
    text[2] = text[5] = text[8] = ':';
    return smpte::read(std::string_view(text, sizeof text), r);
}

void reader::run(std::string_view body) {
    std::size_t const n  = body.size();
    std::size_t i        = 0;
    std::uint32_t number = 0;
    doc_.edits.reserve(n / 96);
    while (i < n && !stop_) {
        std::size_t end = i;
        while (end < n && body[end] != '\n' && body[end] != '\r') ++end;
        std::string_view line = body.substr(i, end - i);
        ++number;
        i = end;
        if (i < n) i += body[i] == '\r' && i + 1 < n && body[i + 1] == '\n' ? 2u : 1u;
        // Before the first line of content, byte-order marks are no content
        // either (an editor's mark ahead of a list that opens with blanks).
        while (!seen_content_) {
            std::size_t const at = line.find_first_not_of(" \t");
            if (at == line.npos || !starts_with(line.substr(at), utf8_bom)) break;
            line.remove_prefix(at + 3);
        }
        while (!line.empty() && is_blank(line.back())) line.remove_suffix(1);
        if (line.empty()) continue;
        read_line(line, number);
    }
}

void reader::read_line(std::string_view s, std::uint32_t line) {
    std::string_view content = s;
    while (!content.empty() && is_blank(content.front())) content.remove_prefix(1);
    bool const first = !seen_content_;
    seen_content_    = true;
    if (is_digit(content.front())) return read_event(content, line);
    if (first && starts_with(content, "TITLE:")) {
        doc_.has_title = true;
        doc_.title     = span_of(trim(content.substr(6)));
        return;
    }
    if (starts_with(content, "FCM:")) {
        std::string_view const what = trim(content.substr(4));
        bool const drop             = same_ignoring_case(what, "DROP FRAME");
        if (!drop && !same_ignoring_case(what, "NON-DROP FRAME") &&
            !same_ignoring_case(what, "NON DROP FRAME")) {
            report(finding_kind::unknown_line, line);
            return keep(line_kind::other, line, s);
        }
        smpte::rate const wanted{doc_.rate.num, doc_.rate.den, drop};
        if (drop && *smpte::rate_name(wanted) == '\0') {
            finding& f = report(finding_kind::drop_frame_at_rate, line);
            f.what     = smpte::rate_name(doc_.rate);
        } else {
            mode_ = wanted;
        }
        return keep(line_kind::frame_code_mode, line, content, drop ? 1 : 0);
    }
    if (starts_with(content, "M2 ") || starts_with(content, "M2\t"))
        return read_motion(s, content, line);
    if (starts_with(content, "AUD") && (content.size() == 3 || is_blank(content[3]))) {
        channel_set c;
        if (doc_.edits.empty() || !read_audio(content, c)) {
            report(finding_kind::unknown_line, line);
            return keep(line_kind::other, line, s);
        }
        for (edit& e : std::span(doc_.edits).subspan(event_start_)) {
            e.added.audio_low |= c.audio_low;
            e.added.audio_high |= c.audio_high;
        }
        return keep(line_kind::audio, line, content);
    }
    if (starts_with(content, "SPLIT:")) {
        split_delay d;
        if (doc_.edits.empty() || !read_split(content, d)) {
            report(finding_kind::unknown_line, line);
            return keep(line_kind::other, line, s);
        }
        doc_.edits.back().has_split = true;
        doc_.edits.back().split     = d;
        return keep(line_kind::split, line, content);
    }
    if (content.front() == '*' || starts_with(content, "EFFECTS NAME IS")) {
        if (!doc_.edits.empty()) read_comment(content);
        return keep(line_kind::comment, line, s);
    }
    report(finding_kind::unknown_line, line);
    keep(line_kind::other, line, s);
}

// The clip and file names the comments give their edit.
void reader::read_comment(std::string_view content) {
    std::string_view rest = content.substr(1);
    while (!rest.empty() && is_blank(rest.front())) rest.remove_prefix(1);
    struct named {
        std::string_view prefix;
        span edit::*field;
    };
    static constexpr named names[] = {{"FROM CLIP NAME:", &edit::clip},
                                      {"TO CLIP NAME:", &edit::to_clip},
                                      {"KEY CLIP NAME:", &edit::key_clip},
                                      {"SOURCE FILE:", &edit::source_file}};
    if (content.front() != '*') return;
    for (auto const& n : names)
        if (starts_with(rest, n.prefix)) {
            doc_.edits.back().*n.field = span_of(trim(rest.substr(n.prefix.size())));
            return;
        }
}

bool reader::read_audio(std::string_view content, channel_set& c) {
    tokens const t = split_words(content.substr(3));
    if (t.count == 0 || t.too_many) return false;
    for (std::size_t k = 0; k < t.count; ++k) {
        std::int32_t n = 0;
        if (!read_number(t.word[k], 2, n) || n < 1) return false;
        c.add_audio(n);
    }
    return true;
}

// SPLIT: AUDIO DELAY= HH:MM:SS:FF, or VIDEO DELAY=.
bool reader::read_split(std::string_view content, split_delay& d) {
    tokens const t = split_words(content.substr(6));
    if (t.too_many) return false;
    std::size_t k = 0;
    if (k == t.count || (t.word[k] != "AUDIO" && t.word[k] != "VIDEO")) return false;
    d.video = t.word[k++] == "VIDEO";
    std::string_view tc;
    if (k < t.count && starts_with(t.word[k], "DELAY=")) {
        tc = t.word[k].substr(6);
        ++k;
    } else {
        return false;
    }
    if (tc.empty() && k < t.count) tc = t.word[k++];
    if (k != t.count) return false;
    auto const delay = read_timecode(tc, mode_);
    if (!delay) return false;
    d.frames = delay.value.frames();
    return true;
}

// M2 REEL SPEED ENTRY: tied to the edit of the current event with its reel,
// else to the event's last edit.
void reader::read_motion(std::string_view s, std::string_view content, std::uint32_t line) {
    tokens const t = split_words(content);
    auto refuse    = [&](char const* what, std::string_view at) {
        finding& f = report(finding_kind::unreadable_motion, line, at, s);
        f.what     = what;
        keep(line_kind::other, line, s);
    };
    if (doc_.edits.empty()) return refuse("an M2 line before any event", content);
    if (t.count != 4 || t.too_many) return refuse("not M2 REEL SPEED TIMECODE", content);
    // The speed: [-]digits[.digits], kept in tenths, rounded half away from zero.
    std::string_view v  = t.word[2];
    bool const negative = !v.empty() && v.front() == '-';
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) v.remove_prefix(1);
    std::size_t const dot        = v.find('.');
    std::string_view const whole = v.substr(0, dot);
    std::string_view const part  = dot == v.npos ? std::string_view() : v.substr(dot + 1);
    std::int32_t units = 0, tenths = 0, rest = 0;
    if (!read_number(whole, 4, units) ||
        (dot != v.npos && !part.empty() && !read_number(part.substr(0, 1), 1, tenths)))
        return refuse("speed", t.word[2]);
    for (std::size_t k = 1; k < part.size(); ++k)
        if (!is_digit(part[k])) return refuse("speed", t.word[2]);
    if (part.size() > 1) rest = part[1] >= '5' ? 1 : 0;
    std::int32_t const speed = units * 10 + tenths + rest;
    if (speed > 99999) return refuse("speed", t.word[2]);  // 9999.9 fps, as M2 lines print
    auto const entry = read_timecode(t.word[3], mode_);
    if (!entry) {
        finding& f = report(finding_kind::bad_timecode, line, t.word[3], s);
        f.which    = 4;
        f.tc_error = entry.why;
        f.rate     = mode_;
        return keep(line_kind::other, line, s);
    }
    std::size_t target = doc_.edits.size() - 1;
    for (std::size_t k = doc_.edits.size(); k-- > event_start_;)
        if (doc_.text(doc_.edits[k].reel) == t.word[1]) {
            target = k;
            break;
        }
    edit& e              = doc_.edits[target];
    e.has_motion         = true;
    e.speed.reel         = span_of(t.word[1]);
    e.speed.speed_tenths = negative ? -speed : speed;
    e.speed.entry        = entry.value;
    keep(line_kind::motion, line, content, static_cast<std::int32_t>(target));
}

// Fields by column: the event number's digits, two blanks, the reel in its
// layout's width, the channels in 5, the transition in 4, its length in 3
// and the four timecodes, one blank between fields.
bool reader::read_event_columns(std::string_view s, edit& e) {
    std::size_t d = 0;
    while (d < s.size() && is_digit(s[d])) ++d;
    for (layout l : {layout::cmx_3600, layout::file_16, layout::file_32, layout::file_128}) {
        std::size_t const w = reel_width(l);
        if (s.size() != d + w + 65) continue;
        std::size_t const tc = d + w + 18;  // the first timecode
        if (s[d] != ' ' || s[d + 1] != ' ' || s[d + 2 + w] != ' ' || s[d + w + 8] != ' ' ||
            s[d + w + 17] != ' ' || s[tc + 11] != ' ' || s[tc + 23] != ' ' || s[tc + 35] != ' ')
            return false;
        std::string_view const reel = trim(s.substr(d + 2, w));
        if (reel.empty() || reel.find_first_of(" \t") != reel.npos) return false;
        if (!read_channels(trim(s.substr(d + w + 3, 5)), e.channels)) return false;
        tokens const t = split_words(s.substr(d + w + 9, 8));
        if (!read_transition(t, 0, t.count, e.how)) return false;
        smpte::timecode* const slots[] = {&e.source_in, &e.source_out, &e.record_in, &e.record_out};
        for (std::size_t k = 0; k < 4; ++k) {
            auto const r = read_timecode(s.substr(tc + 12 * k, 11), mode_);
            if (!r) return false;
            *slots[k] = r.value;
        }
        e.reel = span_of(reel);
        return true;
    }
    return false;
}

void reader::read_event(std::string_view s, std::uint32_t line) {
    edit e;
    e.line      = line;
    auto refuse = [&](finding_kind k, char const* what, std::string_view at) -> finding& {
        finding& f = report(k, line, at, s);
        f.what     = what;
        keep(line_kind::other, line, s);
        return f;
    };
    std::size_t d = 0;
    while (d < s.size() && is_digit(s[d])) ++d;
    if (d < 3 || d > 6 || (d < s.size() && !is_blank(s[d]))) {
        refuse(finding_kind::unreadable_event, "an event number of 3 to 6 digits", s);
        return;
    }
    read_number(s.substr(0, d), 6, e.event);
    if (!read_event_columns(s, e)) {
        tokens const t = split_words(s);
        if (t.too_many || t.count < 8) {
            refuse(finding_kind::unreadable_event,
                   "not NUMBER REEL CHANNELS TRANSITION [LENGTH] and four timecodes", s);
            return;
        }
        std::string_view const reel = t.word[1];
        if (reel.size() > reel_width(layout::file_128)) {
            finding& f = refuse(finding_kind::reel_too_long, "", reel);
            f.first    = static_cast<std::int64_t>(reel.size());
            f.event    = e.event;
            return;
        }
        if (!read_channels(t.word[2], e.channels)) {
            refuse(finding_kind::unreadable_event, "channels", t.word[2]).event = e.event;
            return;
        }
        if (!read_transition(t, 3, t.count - 4, e.how)) {
            refuse(finding_kind::unreadable_event, "transition", t.word[3]).event = e.event;
            return;
        }
        smpte::timecode* const slots[] = {&e.source_in, &e.source_out, &e.record_in, &e.record_out};
        for (std::size_t k = 0; k < 4; ++k) {
            std::string_view const text = t.word[t.count - 4 + k];
            auto const r                = read_timecode(text, mode_);
            if (!r) {
                finding& f = refuse(finding_kind::bad_timecode, "", text);
                f.which    = static_cast<std::int32_t>(k);
                f.tc_error = r.why;
                f.rate     = mode_;
                f.event    = e.event;
                return;
            }
            *slots[k] = r.value;
        }
        e.reel = span_of(reel);
    }
    if (doc_.edits.empty() || doc_.edits.back().event != e.event) event_start_ = doc_.edits.size();
    e.first_line = static_cast<std::uint32_t>(doc_.lines.size());
    doc_.edits.push_back(e);
}

}  // namespace

document read(std::string_view bytes, smpte::rate r, read_options options) {
    document doc;
    doc.rate = r;
    if (*smpte::rate_name(r) == '\0') {
        finding f;
        f.kind = finding_kind::unknown_rate;
        doc.findings.push_back(f);
        return doc;
    }
    if (starts_with(bytes, utf8_bom)) bytes.remove_prefix(3);
    if (bytes.size() > max_bytes) {
        finding f;
        f.kind = finding_kind::unreadable_event;
        f.what = "a list larger than 2 GiB";
        doc.findings.push_back(f);
        return doc;
    }
    std::size_t const bad = first_invalid_utf8(bytes);
    if (bad == std::string_view::npos) {
        doc.body.assign(bytes);
    } else {
        // ISO-8859-1: each byte is the code point of its value.
        doc.latin1 = true;
        doc.body.reserve(bytes.size() + bytes.size() / 8);
        for (char c : bytes) {
            auto const b = static_cast<unsigned char>(c);
            if (b < 0x80) {
                doc.body.push_back(c);
            } else {
                doc.body.push_back(static_cast<char>(0xC0 | (b >> 6)));
                doc.body.push_back(static_cast<char>(0x80 | (b & 0x3F)));
            }
        }
        finding f;
        f.kind = finding_kind::latin1_text;
        f.line = line_of(bytes, bad);
        doc.findings.push_back(f);
    }
    reader in(doc, options);
    in.run(doc.body);
    doc.reels = detail::narrowest_layout(doc);
    detail::check(doc, options.mode == mode::strict);
    return doc;
}

}  // namespace marlix::edl
