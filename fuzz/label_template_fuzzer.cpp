// Fuzzes label_template: any text and any typed character at any index,
// checking the template's invariants without reading out of bounds.

#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "marlix/cvt/label_template.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    if (size < 2) return 0;
    char const typed = static_cast<char>(data[0]);
    fuzz_text text(data + 1, size - 1);
    label_template t(text.get());
    if (t.length != static_cast<int>(std::strlen(t.text)) || t.length > 23) std::abort();
    for (char const* derived : {t.invalid_text, t.past_end_text, t.before_start_text})
        if (static_cast<int>(std::strlen(derived)) != t.length) std::abort();
    for (int i = -2; i <= t.length + 2; ++i) {
        int const ok = t.valid_char(typed, i);
        if (ok != 0 && ok != 1) std::abort();
        if (ok && (!t.valid_index(i) || t.read_only_char(i))) std::abort();
        if (ok && t.at_separator(i) && t.get_char(i) != '?') std::abort();
        if (!t.valid_index(i) && (t.get_char(i) != '?' || !t.at_separator(i))) std::abort();
    }
    return 0;
}
