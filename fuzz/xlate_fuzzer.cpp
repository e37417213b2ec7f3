// The translation on fuzzed positions, media, parameters and projects: no
// fault and no undefined behaviour, the sign rule, equal media as identity.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "marlix/marlix.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    static bool const quiet = [] {  // the messages are expected here
        set_diagnostic_sink([](char const*, void*) {}, nullptr);
        return std::freopen("/dev/null", "w", stdout) != nullptr;
    }();
    (void)quiet;
    FuzzedDataProvider in(data, size);
    Tov::ProjectSettings s;
    s.frame_rate           = static_cast<Tov::FrameRate>(in.ConsumeIntegralInRange<int>(-1, 36));
    s.output_rate          = static_cast<Tov::FrameRate>(in.ConsumeIntegralInRange<int>(-1, 36));
    s.in_camera_film_speed = static_cast<Tov::FrameRate>(in.ConsumeIntegralInRange<int>(-1, 12));
    s.output_scan        = static_cast<Tov::Image::ScanMode>(in.ConsumeIntegralInRange<int>(0, 5));
    s.output_pulled_down = in.ConsumeBool();
    s.audio_sync_pulled_down = in.ConsumeBool();
    Tov::ScopedProject project(s);

    MPosn_Xlate_Params p;
    p.transfer           = static_cast<transfer_type>(in.ConsumeIntegralInRange<int>(-1, 9));
    p.sequence           = in.ConsumeIntegralInRange<int>(-1, 300);
    p.transfer_rate      = static_cast<Tov::FrameRate>(in.ConsumeIntegralInRange<int>(-1, 36));
    p.video_medium       = static_cast<MediumRollMedium>(in.ConsumeIntegralInRange<int>(-1, 45));
    p.vidproj_24p_source = in.ConsumeBool();
    if (in.ConsumeBool()) p.camera_fps = in.ConsumeFloatingPoint<double>();
    auto const from   = static_cast<MediumRollMedium>(in.ConsumeIntegralInRange<int>(-1, 45));
    auto const to     = static_cast<MediumRollMedium>(in.ConsumeIntegralInRange<int>(-1, 45));
    bool const round  = in.ConsumeBool();
    double const posn = in.ConsumeFloatingPoint<double>();

    MPosn_Xlate_Params q = p;
    double const x       = mPosn_Xlate(posn, from, to, p, round);
    if (from == to && !(x == posn || (std::isnan(x) && std::isnan(posn)))) std::abort();
    if (std::isnan(posn) || std::fabs(posn) == invalid_position || posn == 0) return 0;
    q.sequence     = p.sequence;  // the first call may have set -1 to 0
    double const y = mPosn_Xlate(-posn, from, to, q, round);
    if (!(y == -x || (std::isnan(x) && std::isnan(y)))) std::abort();
    return 0;
}
