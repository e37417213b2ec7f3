// Fuzzes the EDL name readers: every form must answer a type in 0..41 that
// agrees with the one-argument form, without reading past the text.

#include <cstdlib>

#include "fuzz_input.h"
#include "marlix/types/label_types.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    fuzz_text text(data, size);
    label_t const t = edlstr_to_label_type(text.get());
    if (t < 0 || t >= label_type_count) std::abort();
    label_t const film = edlstr_to_film_label_type(text.get());
    if (film != LABEL_NONE && film != t) std::abort();
    for (int family = 0; family < 8; ++family) {
        label_t const f = edlstr_to_label_type(text.get(), static_cast<UserLabelType>(family));
        if (f < 0 || f >= label_type_count) std::abort();
    }
    // A recognised name is written back as an EDL name that reads as the same
    // gauge and family (17 and 30 are the aliases of the catalogue).
    if (t != LABEL_NONE && t != LABEL_KEYCODE && t != LABEL_FILM_FRAMES) {
        if (edlstr_to_label_type(label_type_to_edlstr(t)) != t) std::abort();
    }
    return 0;
}
