// Converter speed: printing, parsing and SMPTE words through a label point
// and the virtual interface, over a spread of samples across the day. With
// libavutil present the same operations run through FFmpeg for a ratio.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "marlix/marlix.h"

#if MARLIX_BENCH_FFMPEG
extern "C" {
#    include <libavutil/timecode.h>
}
#endif

namespace {

using marlix::label_cvt;
using marlix::label_point;
using marlix::long32;

constexpr std::size_t spread = 4096;  // samples per run, a power of two

// Samples spread over the whole day by a multiplicative step.
std::vector<long32> day_samples(long32 day) {
    std::vector<long32> out(spread);
    std::uint64_t x = 12345;
    for (auto& s : out) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        s = static_cast<long32>((x >> 33) % static_cast<std::uint64_t>(day));
    }
    return out;
}

std::unique_ptr<label_cvt> converter(int which) {
    if (which == 0) return std::make_unique<marlix::pal_label>();
    return std::make_unique<marlix::ntsc_drop_label>();
}

long32 day_of(int which) { return which == 0 ? 2160000 : 2589408; }

void BM_print(benchmark::State& state) {
    auto const cvt     = converter(static_cast<int>(state.range(0)));
    auto const samples = day_samples(day_of(static_cast<int>(state.range(0))));
    label_point point(0, cvt.get());
    label_cvt* c  = point.cvt();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c->get_abs_string(&point, samples[i++ & (spread - 1)]));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_print)->Arg(0)->Arg(1)->ArgNames({"drop"});

void BM_parse(benchmark::State& state) {
    auto const cvt     = converter(static_cast<int>(state.range(0)));
    auto const samples = day_samples(day_of(static_cast<int>(state.range(0))));
    label_point point(0, cvt.get());
    std::vector<std::string> texts;
    for (long32 s : samples) texts.emplace_back(cvt->get_abs_string(&point, s));
    label_cvt* c  = point.cvt();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(c->get_abs_sample(texts[i++ & (spread - 1)].c_str()));
}
BENCHMARK(BM_parse)->Arg(0)->Arg(1)->ArgNames({"drop"});

void BM_smpte(benchmark::State& state) {
    auto const cvt     = converter(static_cast<int>(state.range(0)));
    auto const samples = day_samples(day_of(static_cast<int>(state.range(0))));
    label_point point(0, cvt.get());
    label_cvt* c  = point.cvt();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(c->get_abs_smpte_string(&point, samples[i++ & (spread - 1)]));
}
BENCHMARK(BM_smpte)->Arg(0)->Arg(1)->ArgNames({"drop"});

// Film labels through the shared converters: keycode (35 mm, 16 mm and
// three-perforation), ink and feet, over a spread of samples of one cycle.
constexpr marlix::label_t film_types[] = {marlix::LABEL_KEYCODE_35,  marlix::LABEL_KEYCODE_16,
                                          marlix::LABEL_KEYCODE_353, marlix::LABEL_INK_35,
                                          marlix::LABEL_FOOT_35,     marlix::LABEL_FOOT_353};

void BM_film_print(benchmark::State& state) {
    label_cvt* c = marlix::get_static_label_cvt(film_types[state.range(0)]);
    auto samples = day_samples(600000);
    for (long32& s : samples) s = c->normalise_sample_unit(s);  // as a label point holds it
    label_point point(0, c);
    std::snprintf(point.prefix_text, sizeof point.prefix_text, "AB1234560000");
    state.SetLabel(c->type_str());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c->get_abs_string(&point, samples[i++ & (spread - 1)]));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_film_print)->DenseRange(0, 5);

void BM_film_parse(benchmark::State& state) {
    label_cvt* c = marlix::get_static_label_cvt(film_types[state.range(0)]);
    auto samples = day_samples(600000);
    for (long32& s : samples) s = c->normalise_sample_unit(s);
    label_point point(0, c);
    std::snprintf(point.prefix_text, sizeof point.prefix_text, "AB1234560000");
    std::vector<std::string> texts;
    for (long32 s : samples) texts.emplace_back(c->get_abs_string(&point, s));
    state.SetLabel(c->type_str());
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(c->get_abs_sample(texts[i++ & (spread - 1)].c_str()));
}
BENCHMARK(BM_film_parse)->DenseRange(0, 5);

#if MARLIX_BENCH_FFMPEG
AVTimecode ffmpeg_timecode(int which) {
    AVTimecode tc;
    AVRational const rate = which == 0 ? AVRational{25, 1} : AVRational{30000, 1001};
    av_timecode_init(&tc, rate, which == 0 ? 0 : AV_TIMECODE_FLAG_DROPFRAME, 0, nullptr);
    return tc;
}

void BM_ffmpeg_print(benchmark::State& state) {
    int const which     = static_cast<int>(state.range(0));
    AVTimecode const tc = ffmpeg_timecode(which);
    auto const samples  = day_samples(day_of(which));
    char buf[AV_TIMECODE_STR_SIZE];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            av_timecode_make_string(&tc, buf, static_cast<int>(samples[i++ & (spread - 1)])));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ffmpeg_print)->Arg(0)->Arg(1)->ArgNames({"drop"});

void BM_ffmpeg_parse(benchmark::State& state) {
    int const which     = static_cast<int>(state.range(0));
    AVTimecode const tc = ffmpeg_timecode(which);
    auto const samples  = day_samples(day_of(which));
    std::vector<std::string> texts;
    char buf[AV_TIMECODE_STR_SIZE];
    for (long32 s : samples) texts.emplace_back(av_timecode_make_string(&tc, buf, s));
    AVRational const rate = which == 0 ? AVRational{25, 1} : AVRational{30000, 1001};
    std::size_t i         = 0;
    for (auto _ : state) {
        AVTimecode parsed;
        av_timecode_init_from_string(&parsed, rate, texts[i++ & (spread - 1)].c_str(), nullptr);
        benchmark::DoNotOptimize(parsed.start);
    }
}
BENCHMARK(BM_ffmpeg_parse)->Arg(0)->Arg(1)->ArgNames({"drop"});

void BM_ffmpeg_smpte(benchmark::State& state) {
    int const which     = static_cast<int>(state.range(0));
    AVTimecode const tc = ffmpeg_timecode(which);
    auto const samples  = day_samples(day_of(which));
    std::size_t i       = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(av_timecode_get_smpte_from_framenum(
            &tc, static_cast<int>(samples[i++ & (spread - 1)])));
}
BENCHMARK(BM_ffmpeg_smpte)->Arg(0)->Arg(1)->ArgNames({"drop"});
#endif

}  // namespace

BENCHMARK_MAIN();
