// The three legacy functions on fuzzed arguments and label text: no fault,
// no write past the 9 characters of an output, and the phase outputs in
// their documented ranges.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "marlix/marlix.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    FuzzedDataProvider in(data, size);
    auto const type           = static_cast<label_type>(in.ConsumeIntegralInRange<int>(-1, 45));
    int const drop            = in.ConsumeIntegralInRange<int>(0, 1);
    auto const transfer       = static_cast<transfer_type>(in.ConsumeIntegralInRange<int>(-1, 8));
    auto const edit           = static_cast<edit_type>(in.ConsumeIntegralInRange<int>(-1, 2));
    int const phase           = in.ConsumeIntegralInRange<int>(-2, 26);
    int const foot_phase      = in.ConsumeIntegralInRange<int>(-1, 4);
    int const frames_per_foot = in.ConsumeIntegralInRange<int>(-2, 64);
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
