// Differential fuzzing of the timecode parsers against sscanf: for every
// class, every flags value and both the text and the packed forms, the
// library must give exactly what the sscanf-based reference gives. A parsed
// sample must also print and read back within the day.

#include <cstdlib>
#include <memory>

#include "fuzz_input.h"
#include "marlix/cvt/timecode_label.h"
#include "marlix/values/label_point.h"
#include "tests/support/timecode_reference.h"

namespace {

std::unique_ptr<marlix::timecode_label> make(int which, int flags) {
    using namespace marlix;
    switch (which % 7) {
        case 0: return std::make_unique<pal_label>(flags);
        case 1: return std::make_unique<ntsc_label>(flags);
        case 2: return std::make_unique<ntsc_drop_label>(flags);
        case 3: return std::make_unique<tc_24_label>(flags);
        case 4: return std::make_unique<tc_48_label>(flags);
        case 5: return std::make_unique<tc_50_label>(flags);
        default: return std::make_unique<tc_60_label>(flags);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    if (size < 1) return 0;
    int const which   = data[0] & 7;
    int const flags   = (data[0] >> 3) & 15;
    bool const packed = (data[0] & 0x80) != 0;
    fuzz_text text(data + 1, size - 1);
    auto const cvt  = make(which, flags);
    bool const drop = cvt->type() == LABEL_NTSC_DROP;
    int const fps   = cvt->get_modulus();

    long32 const got = packed ? cvt->get_abs_sample_from_packed_string(text.get())
                              : cvt->get_abs_sample(text.get());
    int const want   = packed ? reference::parse_packed(text.get(), fps, drop)
                              : reference::parse_text(text.get(), fps, drop, flags);
    if (got != want) std::abort();

    long32 const day = cvt->normalise_sample_unit(got);
    if (day < 0 || day > cvt->get_frames_per_day()) std::abort();
    if (flags == TC_ALL_FIELDS && got != INVALID_SAMPLE) {
        label_point point(0, cvt.get());
        long32 const in_day = day == cvt->get_frames_per_day() ? 0 : day;
        char const* printed = cvt->get_abs_string(&point, in_day);
        if (cvt->get_abs_sample(printed) != in_day) std::abort();
    }
    return 0;
}
