// The SMPTE layer: strict reading and writing over a spread of frames
// across the day, at 25, 29.97 drop-frame and 59.94 drop-frame. FFmpeg's
// figures for the same jobs are BM_ffmpeg_print and BM_ffmpeg_parse.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "marlix/smpte/timecode.h"

namespace {

namespace smpte = marlix::smpte;

constexpr std::size_t spread = 4096;

smpte::rate rate_of(std::int64_t which) {
    return which == 0 ? smpte::rate_25 : which == 1 ? smpte::rate_29_97_df : smpte::rate_59_94_df;
}

std::vector<std::int32_t> day_frames(smpte::rate r) {
    std::vector<std::int32_t> out(spread);
    std::uint64_t x = 12345;
    for (auto& f : out) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        f = static_cast<std::int32_t>((x >> 33) % static_cast<std::uint64_t>(r.frames_per_day()));
    }
    return out;
}

void BM_smpte_write(benchmark::State& state) {
    smpte::rate const r = rate_of(state.range(0));
    auto const frames   = day_frames(r);
    char text[smpte::text_capacity];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            smpte::write(smpte::timecode(frames[i++ & (spread - 1)], r), text, sizeof text));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_smpte_write)->DenseRange(0, 2)->ArgNames({"rate"});

void BM_smpte_read(benchmark::State& state) {
    smpte::rate const r = rate_of(state.range(0));
    std::vector<std::string> texts;
    for (std::int32_t f : day_frames(r)) texts.push_back(smpte::to_string(smpte::timecode(f, r)));
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(smpte::read(texts[i++ & (spread - 1)], r));
}
BENCHMARK(BM_smpte_read)->DenseRange(0, 2)->ArgNames({"rate"});

}  // namespace
