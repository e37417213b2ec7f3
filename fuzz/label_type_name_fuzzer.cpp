// get_label_type: any text gives a label type whose shared converter has
// that class name, or 0.

#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "marlix/marlix.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    fuzz_text text(data, size);
    label_t const t = get_label_type(text.get());
    if (t < 0 || t >= label_type_count) std::abort();
    if (t != LABEL_NONE && std::strcmp(get_static_label_cvt(t)->type_str(), text.get()) != 0)
        std::abort();
    return 0;
}
