// The translation on fuzzed positions, media, parameters and projects drawn
// from whole domains: no fault and no undefined behaviour, the sign rule,
// equal media as identity, and no non-finite answer but the input itself.

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "fuzz_draw.h"
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
    s.frame_rate             = draw_enum<Tov::FrameRate>(in, -1, 36);
    s.output_rate            = draw_enum<Tov::FrameRate>(in, -1, 36);
    s.in_camera_film_speed   = draw_enum<Tov::FrameRate>(in, -1, 12);
    s.output_scan            = draw_enum<Tov::Image::ScanMode>(in, 0, 5);
    s.output_pulled_down     = in.ConsumeBool();
    s.audio_sync_pulled_down = in.ConsumeBool();
    Tov::ScopedProject project(s);

    MPosn_Xlate_Params p;
    p.transfer           = draw_enum<transfer_type>(in, -1, 9);
    p.sequence           = draw_int(in, -1, 300);
    p.transfer_rate      = draw_enum<Tov::FrameRate>(in, -1, 36);
    p.video_medium       = draw_enum<MediumRollMedium>(in, -1, 45);
    p.vidproj_24p_source = in.ConsumeBool();
    if (in.ConsumeBool()) p.camera_fps = draw_double(in);
    auto const from   = draw_enum<MediumRollMedium>(in, -1, 45);
    auto const to     = draw_enum<MediumRollMedium>(in, -1, 45);
    bool const round  = in.ConsumeBool();
    double const posn = draw_double(in);

    MPosn_Xlate_Params q = p;
    double const x       = mPosn_Xlate(posn, from, to, p, round);
    if (from == to && !(x == posn || (std::isnan(x) && std::isnan(posn)))) std::abort();
    // Only equal media hand a non-finite input back; everything else is a
    // finite position or the invalid position.
    if (!std::isfinite(x) && !(x == posn || (std::isnan(x) && std::isnan(posn)))) std::abort();
    if (std::isnan(posn) || std::fabs(posn) == invalid_position || posn == 0) return 0;
    q.sequence     = p.sequence;  // the first call may have set -1 to 0
    double const y = mPosn_Xlate(-posn, from, to, q, round);
    if (!(y == -x || (std::isnan(x) && std::isnan(y)))) std::abort();
    return 0;
}
