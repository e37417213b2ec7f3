// Feet and frames texts for the three gauges, and film frame counts.

#include "label_parse_check.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    if (size < 1) return 0;
    static constexpr label_t types[] = {LABEL_FOOT_35, LABEL_FOOT_16, LABEL_FOOT_353,
                                        LABEL_FILM_FRAMES};
    label_t const t                  = types[data[0] % 4];
    fuzz_text text(data + 1, size - 1);
    check_label_parse(t, text.get(), t == LABEL_FILM_FRAMES);
    return 0;
}
