// Label values: printing through a label point, positions to samples, and
// keep strings written and read.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "marlix/marlix.h"

namespace {

using marlix::long32;

std::vector<double> positions(double span) {
    std::vector<double> out(4096);
    std::uint64_t x = 99;
    for (double& p : out) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        p = static_cast<double>(x >> 11) / 9007199254740992.0 * span;
    }
    return out;
}

void BM_label_point_print(benchmark::State& state) {
    marlix::label_point point(0, static_cast<marlix::label_t>(state.range(0)));
    std::snprintf(point.prefix_text, sizeof point.prefix_text, "AB1234560000");
    state.SetLabel(point.type_str());
    long32 s = 0;
    for (auto _ : state) {
        point.set_sample(s += 7919);
        benchmark::DoNotOptimize(point.get_string());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_label_point_print)
    ->Arg(marlix::LABEL_PAL)
    ->Arg(marlix::LABEL_NTSC_DROP)
    ->Arg(marlix::LABEL_KEYCODE_35);

void BM_label_position_to_sample(benchmark::State& state) {
    marlix::label const l(static_cast<marlix::label_t>(state.range(0)));
    auto const p = positions(86400.0);
    state.SetLabel(l.type_str());
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(l.get_sample(p[i++ & 4095]));
}
BENCHMARK(BM_label_position_to_sample)->Arg(marlix::LABEL_PAL)->Arg(marlix::LABEL_KEYCODE_35);

void BM_keep_string_write(benchmark::State& state) {
    marlix::label l(static_cast<marlix::label_t>(state.range(0)));
    l.set_start(static_cast<long32>(900000));
    l.set_length(static_cast<long32>(250));
    char buffer[marlix::label::keep_string_capacity];
    state.SetLabel(l.type_str());
    for (auto _ : state) benchmark::DoNotOptimize(l.make_keep_string(buffer));
}
BENCHMARK(BM_keep_string_write)->Arg(marlix::LABEL_PAL)->Arg(marlix::LABEL_KEYCODE_35);

void BM_keep_string_read(benchmark::State& state) {
    marlix::label l(static_cast<marlix::label_t>(state.range(0)));
    l.set_start(static_cast<long32>(900000));
    l.set_length(static_cast<long32>(250));
    char buffer[marlix::label::keep_string_capacity];
    l.make_keep_string(buffer);
    state.SetLabel(l.type_str());
    for (auto _ : state) {
        marlix::label const read(buffer);
        benchmark::DoNotOptimize(read.get_start());
    }
}
BENCHMARK(BM_keep_string_read)->Arg(marlix::LABEL_PAL)->Arg(marlix::LABEL_KEYCODE_35);

}  // namespace
