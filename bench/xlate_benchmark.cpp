// Position translation: a direct leg and a two-leg route, with the record
// filled once and the project and configuration read on every call.

#include <benchmark/benchmark.h>

#include "marlix/marlix.h"

namespace {

void BM_xlate(benchmark::State& state, marlix::MediumRollMedium from, marlix::MediumRollMedium to,
              bool pulldown) {
    Tov::ProjectSettings s;
    s.frame_rate  = Tov::FrameRate_24;
    s.output_rate = Tov::FrameRate_25;
    Tov::ScopedProject project(s);
    marlix::MPosn_Xlate_Params params;
    params.video_medium = marlix::MediumRoll25i;
    if (pulldown) params.transfer = marlix::transfer_cadence;
    double x = 0.0;
    for (auto _ : state) {
        x += 0.04;
        benchmark::DoNotOptimize(marlix::mPosn_Xlate(x, from, to, params, false));
    }
}
BENCHMARK_CAPTURE(BM_xlate, cel_to_clock_direct, marlix::MediumRollTOVCel,
                  marlix::MediumRollTOVClock, false);
BENCHMARK_CAPTURE(BM_xlate, film_to_25i_pulldown_direct, marlix::MediumRollFilm,
                  marlix::MediumRoll25i, true);
BENCHMARK_CAPTURE(BM_xlate, audio_to_film_two_legs, marlix::MediumRollAudio, marlix::MediumRollFilm,
                  false);
BENCHMARK_CAPTURE(BM_xlate, playout_to_25i_two_legs, marlix::MediumRollPlayout25i,
                  marlix::MediumRoll25i, false);

}  // namespace
