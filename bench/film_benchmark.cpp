// Matching back a large list: 5 000 video events against telecine logs of
// 20 000 clips (200 tapes of 100 clips, 29.97 with every pull-in), each
// event finding its clip through the index by tape and timecode.
//
// Usage: film_benchmark [EVENTS [CLIPS]]. Prints the best time of five of
// reading the logs, and of building the index and making the lists; exits 1
// when the lists take 100 ms or more.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "best_time.h"
#include "marlix/film/film_lists.h"

namespace {

using marlix_bench::best_seconds;

namespace film  = marlix::film;
namespace smpte = marlix::smpte;

constexpr long clips_a_tape = 100;
constexpr long clip_frames  = 600;  // 20 s at 29.97, 480 film frames: 30 feet

std::string tc(long frames) {
    return smpte::to_string(smpte::timecode(static_cast<std::int32_t>(frames), smpte::rate_29_97));
}

std::string log_of(long clips) {
    std::string out =
        "Heading\nFIELD_DELIM\tTABS\nFILM_FORMAT\t35mm, 4 perf\nFPS\t29.97\n\nColumn\n"
        "Name\tTape\tStart\tEnd\tKN Start\tPullin\tCamroll\tLabroll\n\nData\n";
    char line[200];
    for (long n = 0; n < clips; ++n) {
        long const tape  = n / clips_a_tape;
        long const start = 108000 + (n % clips_a_tape) * clip_frames;
        std::snprintf(line, sizeof line,
                      "C%05ld\tTAPE%04ld\t%s\t%s\tKU%06ld%04ld+00\t%c\tA%03ld\tL%02ld\n", n, tape,
                      tc(start).c_str(), tc(start + clip_frames).c_str(), 100000 + tape,
                      (n % clips_a_tape) * 31, "ABXCD"[n % 5], tape, tape % 20);
        out += line;
    }
    return out;
}

std::string list_of(long events, long clips) {
    std::string out  = "TITLE: BENCHMARK\nFCM: NON-DROP FRAME\n";
    long record      = 108000;
    long const tapes = (clips + clips_a_tape - 1) / clips_a_tape;
    char line[160];
    for (long n = 1; n <= events; ++n) {
        long const clip   = (n * 7919) % clips;
        long const length = 10 + n % 80;
        long const in =
            108000 + (clip % clips_a_tape) * clip_frames + (n * 13) % (clip_frames - 90);
        std::snprintf(line, sizeof line, "%03ld  TAPE%04ld V     C        %s %s %s %s\n", n % 1000,
                      (clip / clips_a_tape) % tapes, tc(in).c_str(), tc(in + length).c_str(),
                      tc(record).c_str(), tc(record + length).c_str());
        out += line;
        record += length;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    long const events = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 5000;
    long const clips  = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 20000;
    if (events < 1 || clips < 1) return 2;
    std::string const log_text  = log_of(clips);
    std::string const list_text = list_of(events, clips);
    std::vector<film::telecine_log> logs;
    double const read                = best_seconds([&] { logs = {film::read_log(log_text)}; });
    marlix::edl::document const list = marlix::edl::read(list_text, smpte::rate_29_97);
    std::size_t matched              = 0;
    double const lists               = best_seconds([&] {
        film::clip_index const index(logs);
        film::film_lists const made = film::make_lists(list, index);
        matched                     = 0;
        for (film::cut_row const& c : made.cuts) matched += c.matched ? 1 : 0;
    });
    std::printf(
        "logs of %ld clips read in %.1f ms; %ld events matched back (%zu found) in %.1f ms\n",
        clips, read * 1e3, events, matched, lists * 1e3);
    return lists < 0.1 && matched == static_cast<std::size_t>(events) ? 0 : 1;
}
