#include "marlix/front/label_form.h"

#include <array>
#include <cstddef>

#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/front/detail/label_form_reading.h"
#include "marlix/front/names.h"
#include "marlix/front/timecode_text.h"
#include "marlix/internal/ascii.h"
#include "marlix/smpte/timecode.h"
#include "marlix/values/label_point.h"

namespace marlix::front {

namespace {

// What a type's printed labels look like, read off its converter's label of
// sample 0 (" 00:00:00.00", " 0000+00.1", "XX0000000000&00", "000000").
struct shape {
    UserLabelType family = UserLabelNone;
    bool lead_blank      = false;  // a blank where a negative label has '-'
    char separator       = '+';    // before the frames
    bool phase           = false;  // 3-perf: '.' and the phase digit last
    bool sixteen         = false;  // 16 mm: '&' before the frames too
    int prefix_length    = 0;      // keycode and ink
    int number_length    = 0;      // the key or ink count, the feet, the film frames
    int frames_below     = 0;      // frames per key or foot; the timecode's nominal rate
    smpte::rate rate{};            // timecode
};

using marlix::detail::is_blank;
using marlix::detail::is_digit;
using marlix::detail::is_letter;
using marlix::detail::to_upper;

smpte::rate rate_of(label_t t) {
    for (auto r : {smpte::rate_24, smpte::rate_25, smpte::rate_29_97, smpte::rate_29_97_df,
                   smpte::rate_48, smpte::rate_50, smpte::rate_60})
        if (smpte::converter_type(r) == t) return r;
    return {};
}

shape shape_of_converter(label_t t) {
    shape s;
    if (!has_own_converter(t)) return s;  // the dummy's slot reads nothing
    label_cvt* const c = get_static_label_cvt(t);
    if (c == nullptr) return s;
    label_point point(0, c);
    std::string_view const printed = c->get_abs_string(&point, 0);
    s.family                       = c->UserType();
    s.frames_below                 = c->get_modulus();
    s.lead_blank                   = !printed.empty() && printed[0] == ' ';
    std::string_view const body    = printed.substr(s.lead_blank ? 1 : 0);
    label_t const key              = label_t_to_key_label_t(t);
    s.sixteen = key == LABEL_KEYCODE_16 || (key >= LABEL_KEYCODE_16_4 && key <= LABEL_KEYCODE_16_6);
    switch (s.family) {
        case UserLabelTimecode:
            s.rate         = rate_of(t);
            s.frames_below = s.rate.nominal();
            s.separator    = body.size() > 8 ? body[8] : ':';
            break;
        case UserLabelKeycode:
        case UserLabelInk:
            s.prefix_length = c->get_prefix_length();
            s.number_length = c->get_count_length();
            [[fallthrough]];
        case UserLabelFeet: {
            std::size_t const number =
                s.family == UserLabelFeet
                    ? body.find_first_not_of("0123456789")
                    : static_cast<std::size_t>(s.prefix_length + s.number_length);
            if (s.family == UserLabelFeet) s.number_length = static_cast<int>(number);
            s.separator = number < body.size() ? body[number] : '+';
            s.phase     = body.size() > number + 3;
            break;
        }
        default: s.number_length = static_cast<int>(body.size()); break;
    }
    return s;
}

shape const& shape_of(label_t t) {
    static std::array<shape, label_type_count> const shapes = [] {
        std::array<shape, label_type_count> out{};
        for (int k = 0; k < label_type_count; ++k)
            out[static_cast<std::size_t>(k)] = shape_of_converter(static_cast<label_t>(k));
        return out;
    }();
    static shape const none{};
    return t >= 0 && t < label_type_count ? shapes[static_cast<std::size_t>(t)] : none;
}

std::string number(int n) { return std::to_string(n); }

std::string two_digits(long long n) {
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// Reads a text left to right; each take answers whether the text goes on as
// asked.
struct scanner {
    std::string_view text;
    std::size_t at = 0;

    bool done() const { return at == text.size(); }
    bool take(char c) {
        if (at < text.size() && text[at] == c) return ++at, true;
        return false;
    }
    void skip_blanks() {
        while (at < text.size() && is_blank(text[at])) ++at;
    }
    // Between min and max digits (as many as there are), appended to out;
    // their value in n.
    bool digits(int min, int max, std::string& out, long long& n) {
        int count = 0;
        n         = 0;
        while (count < max && at < text.size() && is_digit(text[at])) {
            n = n * 10 + (text[at] - '0');
            out += text[at++];
            ++count;
        }
        return count >= min;
    }
    bool digits(int count, std::string& out) {
        long long ignored{};
        return digits(count, count, out, ignored);
    }
};

std::string frames_check(long long frames, int below) {
    if (frames < below) return {};
    return "frames " + two_digits(frames) + " is not below " + number(below);
}

std::string phase_check(long long phase) {
    if (phase >= 1 && phase <= 3) return {};
    return "3-perf phase " + std::to_string(phase) + " is not 1-3";
}

std::string separators(shape const& s) {
    std::string out = "'+'";
    if (s.separator != '+') out += std::string(" or '") + s.separator + "'";
    if (s.sixteen && s.separator != '&') out += " or '&'";
    return out;
}

std::string phase_shape(shape const& s) { return s.phase ? ", '.', 1 digit" : ""; }

// The rest of a feet, keycode or ink text after its separator: two digits
// of frames below the frames per foot or key, and at 3-perf '.' and the
// phase; out, the form so far, gets the printed separator and them.
// What a refusal says a text should have been, made only for a refusal.
using shape_text = std::string (*)(shape const&);

label_form frames_form(scanner& in, shape const& s, std::string out, shape_text expected) {
    out += s.separator;
    long long frames{}, phase{};  // each set by the digits read
    if (!in.digits(2, 2, out, frames)) return {{}, expected(s)};
    if (s.phase) {
        std::string digit;
        if (!in.take('.') || !in.digits(1, 1, digit, phase)) return {{}, expected(s)};
        out += '.';
        out += digit;
    }
    if (!in.done()) return {{}, expected(s)};
    std::string why = frames_check(frames, s.frames_below);
    if (why.empty() && s.phase) why = phase_check(phase);
    if (!why.empty()) return {{}, why};
    return {out, {}};
}

std::string field_name(int k) {
    static char const* const names[] = {"hours", "minutes", "seconds", "frames"};
    return names[k];
}

label_form timecode_form(shape const& s, label_t t, std::string_view text, bool with_text) {
    std::string copy(text);
    std::size_t const sign = !copy.empty() && copy[0] == '-' ? 1 : 0;
    // The converter's own frame separator reads as ':'.
    if (copy.size() > sign + 8 && copy[sign + 8] == s.separator && s.separator != ';')
        copy[sign + 8] = ':';
    auto const r = smpte::read(copy, s.rate);
    switch (r.why) {
        case smpte::error::none: break;
        case smpte::error::empty: return {{}, "no text"};
        case smpte::error::field_range: {
            int const limits[] = {23, 59, 59, s.frames_below - 1};
            for (int k = 0; k < 4; ++k) {
                std::size_t const at = sign + 3 * static_cast<std::size_t>(k);
                int const v          = (copy[at] - '0') * 10 + (copy[at + 1] - '0');
                if (v <= limits[k]) continue;
                if (k == 3) return {{}, frames_check(v, s.frames_below)};
                return {{}, field_name(k) + " " + two_digits(v) + " is not 0-" + number(limits[k])};
            }
            return {{}, smpte::error_text(r.why)};
        }
        case smpte::error::dropped_label:
            return {{}, "dropped label (drop-frame counting skips it)"};
        case smpte::error::drop_separator:
            return {{},
                    std::string("'") + copy[sign + 8] + "' marks drop-frame, which " +
                        type_name(t) + " does not count"};
        case smpte::error::trailing_text: return {{}, "text after the frames"};
        default:
            return {{}, std::string("expected HH:MM:SS") + s.separator + "FF, two digits a field"};
    }
    if (!with_text) return {{}, {}, r.value.frames()};
    label_cvt* const c = get_static_label_cvt(t);
    label_point point(0, c);
    return {c->get_abs_string(&point, r.value.frames()), {}, r.value.frames()};
}

std::string feet_shape(shape const& s) {
    return "expected digits of feet, '+' or '.', 2 digits" + phase_shape(s);
}

std::string count_shape(shape const&) { return "expected digits"; }

// Feet and film frame counts print at least number_length digits, and more
// as the count grows; ten digits hold any 32-bit position.
label_form number_form(shape const& s, std::string_view text) {
    constexpr int most_digits = 10;
    scanner in{text};
    std::string out;
    bool const negative = in.take('-');
    out += negative ? "-" : s.lead_blank ? " " : "";
    std::string digits;
    long long value{};
    bool const feet           = s.family == UserLabelFeet;
    shape_text const expected = feet ? feet_shape : count_shape;
    if (!in.digits(1, most_digits, digits, value)) return {{}, expected(s)};
    // Zeros before the printed width are no part of the count ("01234.00").
    while (digits.size() > static_cast<std::size_t>(s.number_length) && digits[0] == '0')
        digits.erase(0, 1);
    if (digits.size() < static_cast<std::size_t>(s.number_length))
        out.append(static_cast<std::size_t>(s.number_length) - digits.size(), '0');
    out += digits;
    if (!feet && !in.done()) return {{}, expected(s)};
    label_form form{out, {}};
    if (feet) {
        if (!in.take('+') && !in.take('.')) return {{}, expected(s)};
        form = frames_form(in, s, std::move(out), expected);
    }
    // A sign before no count at all names zero, which prints unsigned
    // ("-0000.00"; at 3-perf the phase digit is no count).
    std::string_view const count =
        std::string_view(form.text).substr(0, form.text.size() - (s.phase ? 2 : 0));
    if (form.ok() && negative && count.find_first_of("123456789") == count.npos)
        form.text.replace(0, 1, s.lead_blank ? " " : "");
    return form;
}

// The prefix of a keycode or ink text, capitals, onto out.
bool take_prefix(scanner& in, shape const& s, std::string& out) {
    if (s.family == UserLabelInk) {
        for (int k = 0; k < s.prefix_length; ++k) {
            if (in.done() || !(is_letter(in.text[in.at]) || is_digit(in.text[in.at]))) return false;
            out += to_upper(in.text[in.at++]);
        }
        return true;
    }
    for (int k = 0; k < 2; ++k) {
        if (in.done() || !is_letter(in.text[in.at])) return false;
        out += to_upper(in.text[in.at++]);
    }
    in.skip_blanks();
    int const rest = s.prefix_length - 2;
    if (rest <= 2) return in.digits(rest, out);
    if (!in.digits(2, out)) return false;
    in.skip_blanks();
    return in.digits(rest - 2, out);
}

std::string prefix_shape(shape const& s) {
    if (s.family == UserLabelInk)
        return "expected " + number(s.prefix_length) + " letters or digits";
    return "expected 2 letters, " + number(s.prefix_length - 2) + " digits";
}

std::string film_number_shape(shape const& s) {
    return prefix_shape(s) + ", " + number(s.number_length) + " digits, " + separators(s) +
           ", 2 digits" + phase_shape(s);
}

label_form film_number_form(shape const& s, std::string_view text) {
    shape_text const expected = film_number_shape;
    scanner in{text};
    std::string out;
    if (!take_prefix(in, s, out)) return {{}, expected(s)};
    in.skip_blanks();
    if (!in.take('-')) in.skip_blanks();
    if (!in.digits(s.number_length, out)) return {{}, expected(s)};
    if (!in.take('+') && !in.take(s.separator) && !(s.sixteen && in.take('&')))
        return {{}, expected(s)};
    return frames_form(in, s, std::move(out), expected);
}

}  // namespace

label_form detail::read_label_form(label_t t, std::string_view text, bool with_text) {
    shape const& s = shape_of(t);
    text           = trim_blanks(text);
    if (text.find('\0') != text.npos) return {{}, "a NUL inside the text"};
    switch (s.family) {
        case UserLabelTimecode: return timecode_form(s, t, text, with_text);
        case UserLabelFeet:
        case UserLabelFilmFrames: return number_form(s, text);
        case UserLabelKeycode:
        case UserLabelInk: return film_number_form(s, text);
        default: return {{}, type_name(t) + " prints no labels to read"};
    }
}

label_form normalise_label(label_t t, std::string_view text) {
    return detail::read_label_form(t, text, true);
}

label_form normalise_prefix(label_t t, std::string_view text) {
    shape const& s = shape_of(t);
    if (s.prefix_length == 0) return {{}, type_name(t) + " labels have no prefix"};
    scanner in{trim_blanks(text)};
    std::string out;
    if (!take_prefix(in, s, out) || !in.done()) return {{}, prefix_shape(s)};
    return {out, {}};
}

}  // namespace marlix::front
