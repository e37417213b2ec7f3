#pragma once
// The best wall time of five runs of a job, in seconds: the figure the
// stand-alone benchmarks print, least disturbed by the rest of the machine.
#include <chrono>

namespace marlix_bench {

template <class F>
double best_seconds(F&& job) {
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        auto const start = std::chrono::steady_clock::now();
        job();
        std::chrono::duration<double> const took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
    }
    return best;
}

}  // namespace marlix_bench
