// Keycode texts for every stock and count length (the first byte picks the
// label type).

#include "label_parse_check.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    if (size < 1) return 0;
    static constexpr label_t types[] = {
        LABEL_KEYCODE_35,      LABEL_KEYCODE_16,      LABEL_KEYCODE_353,     LABEL_KEYCODE_35_4,
        LABEL_KEYCODE_35_5,    LABEL_KEYCODE_35_6,    LABEL_KEYCODE_16_4,    LABEL_KEYCODE_16_5,
        LABEL_KEYCODE_16_6,    LABEL_KEYCODE_353_4,   LABEL_KEYCODE_353_5,   LABEL_KEYCODE_353_6,
        LABEL_KEYCODE_352,     LABEL_KEYCODE_358,     LABEL_KEYCODE_655_80,  LABEL_KEYCODE_658_80,
        LABEL_KEYCODE_6510_80, LABEL_KEYCODE_655_120, LABEL_KEYCODE_658_120, LABEL_KEYCODE_6510_120,
        LABEL_KEYCODE_6515_120};
    label_t const t = types[data[0] % (sizeof types / sizeof types[0])];
    fuzz_text text(data + 1, size - 1);
    // The three-perforation parse reads a phase digit the printer may not
    // give back (a 7 in the last place), so only the other stocks promise a
    // round trip.
    bool const three_perf =
        t == LABEL_KEYCODE_353 || (t >= LABEL_KEYCODE_353_4 && t <= LABEL_KEYCODE_353_6);
    check_label_parse(t, text.get(), !three_perf);
    return 0;
}
