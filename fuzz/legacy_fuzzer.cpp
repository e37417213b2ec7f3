// The three legacy functions on fuzzed arguments and label text: no fault,
// no write past the 9 characters of an output, and the phase outputs in
// their documented ranges.

#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_draw.h"
#include "marlix/marlix.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    FuzzedDataProvider in(data, size);
    auto const type           = draw_enum<label_type>(in, -1, 45);
    int const drop            = draw_int(in, 0, 1);
    auto const transfer       = draw_enum<transfer_type>(in, -1, 8);
    auto const edit           = draw_enum<edit_type>(in, -1, 2);
    int const phase           = draw_int(in, -2, 26);
    int const foot_phase      = draw_int(in, -1, 4);
    int const frames_per_foot = draw_int(in, -2, 64);
    auto const flags          = in.ConsumeIntegral<unsigned char>();
    auto const delta          = in.ConsumeIntegral<long32>();
    auto const frame          = in.ConsumeIntegral<long32>();
    std::string text          = in.ConsumeRemainingBytesAsString();
    text                      = text.c_str();  // up to the first NUL, as a C string

    char out[9 + 8];
    std::memset(out, '#', sizeof out);
    video_frames_to_timecode(frame, out, type, drop);
    for (std::size_t i = 9; i < sizeof out; ++i)
        if (out[i] != '#') std::abort();

    std::string label = text;
    int fp = 0, ph = 0;
    long32 n = 0;
    if (label_to_frames(label.data(), foot_phase, &fp, phase, &ph, &n, type, drop, transfer, edit,
                        frames_per_foot) != 0) {
        if (static_cast<int>(type) == 26 && (fp < 1 || fp > 3)) std::abort();
    }
    std::memset(out, '#', sizeof out);
    std::string again = text;
    label_plus_frames(out, &fp, &ph, again.data(), foot_phase, phase, delta, type, drop,
                      frames_per_foot, flags, transfer, edit);
    for (std::size_t i = 9; i < sizeof out; ++i)
        if (out[i] != '#') std::abort();
    return 0;
}
