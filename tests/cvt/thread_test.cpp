// Eight threads print and read labels of every converter family through
// the shared converters, each with its own label points, prefixes, labels
// and translation records, and check every answer exactly. Run under
// ThreadSanitizer too: any shared working state shows there as a race, and
// here as a wrong answer.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "marlix/marlix.h"

namespace marlix {
namespace {

TEST(threads, EveryConverterFamilyRoundTripsFromEightThreadsAtOnce) {
    std::vector<label_t> types;  // every type with a converter of its own
    for (int t = LABEL_PAL; t < label_type_count; ++t)
        if (has_own_converter(static_cast<label_t>(t))) types.push_back(static_cast<label_t>(t));
    constexpr std::size_t thread_count = 8;
    constexpr int rounds               = 20000;
    std::vector<std::string> failures(thread_count);
    std::vector<std::thread> threads;
    for (std::size_t id = 0; id < thread_count; ++id) {
        threads.emplace_back([&, id] {
            char prefix[16];
            std::snprintf(prefix, sizeof prefix, "K%zuX%05zu", id % 10,
                          id * 1111 % 100000);  // this thread's roll
            MPosn_Xlate_Params params;  // a 24 fps film project, whatever the host does later
            params.project_rate = Tov::FrameRate_24;
            params.transfer     = transfer_cadence;
            for (int n = 0; n < rounds && failures[id].empty(); ++n) {
                label_t const t = types[(static_cast<std::size_t>(n) + id) % types.size()];
                label_point point(0, t);
                long32 const unit = point.cvt()->samples_per_unit();  // whole frames only
                long32 const s    = static_cast<long32>(
                    (n * 7919 + static_cast<long long>(id) * 104729) % 150000 * unit);
                point.set_sample(s);
                std::snprintf(point.prefix_text, sizeof point.prefix_text, "%s", prefix);
                std::string const text = point.get_string();
                label_point back(0, t);
                back.set_sample(text.c_str());
                if (back.get_sample() != point.get_sample() ||
                    (point.cvt()->has_prefix() &&
                     text.compare(0, static_cast<std::size_t>(point.cvt()->get_prefix_length()),
                                  prefix,
                                  static_cast<std::size_t>(point.cvt()->get_prefix_length())) != 0))
                    failures[id] = std::to_string(t) + " " + std::to_string(s) + " " + text;
                label l(t);
                l.set_start(s);
                long32 const length = n * point.cvt()->samples_per_unit();  // whole frames
                l.set_length(length);
                char const* keep = l.make_keep_string(nullptr);
                label const reread(keep);
                char again[label::keep_string_capacity];
                if (std::strcmp(reread.make_keep_string(again), keep) != 0)
                    failures[id] = std::string("keep ") + keep + " / " + again;
                double const film    = (n % 960) / 24.0;
                MPosn_Xlate_Params p = params;
                double const video   = mPosn_Xlate(film, MediumRollFilm, MediumRoll30i, p, false);
                if (std::fabs(mPosn_Xlate(video, MediumRoll30i, MediumRollFilm, p, false) - film) >
                    1e-9)
                    failures[id] = "xlate " + std::to_string(film);
            }
        });
    }
    for (auto& t : threads) t.join();
    for (std::size_t id = 0; id < thread_count; ++id)
        EXPECT_EQ(failures[id], "") << "thread " << id;
}

}  // namespace
}  // namespace marlix
