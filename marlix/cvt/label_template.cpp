#include "marlix/cvt/label_template.h"

#include <cstring>

#include "marlix/base/special_samples.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/narrow32.h"

namespace marlix {

namespace {

using detail::is_digit;
using detail::is_letter;
bool is_alnum(char c) { return is_letter(c) || is_digit(c); }

// Characters compare as signed 8-bit codes, so bytes above 127 sort below
// every printable character.
int code(char c) { return static_cast<signed char>(c); }

void fill(char const* text, char* out, char mark) {
    int i = 0;
    for (; text[i] != '\0'; ++i) {
        char const c = text[i];
        out[i]       = (is_alnum(c) || c == '+' || c == '-' || c == '?') ? mark : c;
    }
    out[i] = '\0';
}

}  // namespace

label_template::label_template(char const* src) { set(src); }

void label_template::set(char const* src) {
    if (src == nullptr) src = "";
    std::strncpy(text, src, sizeof text - 1);
    text[max_length] = '\0';
    length           = static_cast<int>(std::strlen(text));
    init_error_strings();
}

void label_template::init_error_strings() {
    fill(text, invalid_text, '?');
    fill(text, past_end_text, '>');
    fill(text, before_start_text, '<');
    length = static_cast<int>(std::strlen(text));
}

int label_template::at_separator(int i) const {
    if (!valid_index(i)) return 1;
    char const c = text[i];
    return !is_alnum(c) && c != ' ' && c != '-' && c != '?' ? 1 : 0;
}

int label_template::valid_char(char c, int i) const {
    if (!valid_index(i)) return 0;
    char const t = text[i];
    if (t == '~') return 0;
    if (t == '?') return code(c) > 32 ? 1 : 0;
    if (at_separator(i)) return 0;
    if (is_letter(t)) return code(c) >= 'A' && code(c) <= code(t) ? 1 : 0;
    if (is_digit(t)) return code(c) >= '0' && code(c) <= code(t) ? 1 : 0;
    if (t == '-') return c == ' ' || c == '-' || c == '+' ? 1 : 0;
    return 0;
}

char const* label_template::get_invalid_string(long32 sample) const {
    if (sample == SAMPLE_PAST_END) return past_end_text;
    if (sample == SAMPLE_BEFORE_START) return before_start_text;
    return invalid_text;
}

}  // namespace marlix
