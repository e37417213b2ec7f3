// Ink number texts for both gauges.

#include "label_parse_check.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    if (size < 1) return 0;
    fuzz_text text(data + 1, size - 1);
    check_label_parse(data[0] & 1 ? LABEL_INK_16 : LABEL_INK_35, text.get(), false);
    return 0;
}
