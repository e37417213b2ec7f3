// Keep strings as they come back from stored records: read one, write it,
// read that back and write again; the second round trip must be stable, the
// front ends' reader takes what their writer gives, and nothing may be read
// or written out of bounds.

#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "marlix/marlix.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    fuzz_text text(data, size);
    label const first(text.get());
    char written[label::keep_string_capacity];
    first.make_keep_string(written);
    if (std::strlen(written) >= sizeof written) std::abort();
    label const second(written);
    char again[label::keep_string_capacity];
    second.make_keep_string(again);
    label const third(again);
    char stable[label::keep_string_capacity];
    third.make_keep_string(stable);
    if (std::strcmp(again, stable) != 0) std::abort();
    // What the front ends write, they read: a keep string that carries its
    // label back is no text with anything after its last field, and its
    // start is a label.
    if (auto const kept = front::keep_string_of(first);
        kept && !front::read_keep_string(kept.value))
        std::abort();
    // Every query on a label read from hostile text stays in bounds.
    first.get_string(static_cast<long32>(0));
    first.get_perfs_string(first.get_length());
    first.get_posn(first.get_start());
    first.posn_to_sample(first.get_pitch());
    return 0;
}
