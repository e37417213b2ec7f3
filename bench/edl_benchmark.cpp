// Reading and checking a large edit decision list, beside 'wc -l' over the
// same file in the same run: 100 000 events with 6-digit event numbers, a
// clip name each and a dissolve every tenth event, about 10 MB.
//
// Usage: edl_benchmark [EVENTS [KEEP]], KEEP a path to keep the list at. Prints the size, each
// reader's best time of five and its throughput in MB/s.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "best_time.h"
#include "marlix/edl/document.h"

namespace {

using marlix_bench::best_seconds;

namespace edl   = marlix::edl;
namespace smpte = marlix::smpte;

std::string list_of(long events) {
    std::string out = "TITLE: BENCHMARK\nFCM: NON-DROP FRAME\n";
    long record     = 108000;  // 01:00:00:00 at 30 a labelled second
    auto tc         = [](long f, char* text) {
        std::snprintf(text, 12, "%02ld:%02ld:%02ld:%02ld", f / 108000 % 24, f / 1800 % 60,
                              f / 30 % 60, f % 30);
    };
    char a[12], b[12], c[12], d[12], line[160];
    for (long n = 1; n <= events; ++n) {
        long const length = 4 + n % 30;  // a day of record time holds them all
        long const source = 36000 + (n * 7919) % 2000000;
        tc(source, a);
        tc(source + length, b);
        tc(record, c);
        tc(record + length, d);
        if (n % 10 == 0) {
            std::snprintf(line, sizeof line, "%06ld  A%03ld     AA/V  C        %s %s %s %s\n", n,
                          n % 1000, a, a, c, c);
            out += line;
            std::snprintf(line, sizeof line, "%06ld  B%03ld     AA/V  D    003 %s %s %s %s\n", n,
                          n % 1000, a, b, c, d);
        } else {
            std::snprintf(line, sizeof line, "%06ld  A%03ld     AA/V  C        %s %s %s %s\n", n,
                          n % 1000, a, b, c, d);
        }
        out += line;
        std::snprintf(line, sizeof line, "* FROM CLIP NAME: A%03ld_C%04ld.MOV\n", n % 1000,
                      n % 10000);
        out += line;
        record += length;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    long const events      = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
    std::string const text = list_of(events);
    char path[]            = "/tmp/marlix_edl_benchXXXXXX";
    int const fd           = mkstemp(path);
    std::FILE* f           = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) {
        std::fprintf(stderr, "edl_benchmark: cannot write %s\n", path);
        return 1;
    }
    std::fclose(f);
    double const mb = static_cast<double>(text.size()) / 1e6;

    std::size_t edits = 0, findings = 0;
    double const ours    = best_seconds([&] {
        edl::document const doc = edl::read(text, smpte::rate_29_97);
        edits                   = doc.edits.size();
        findings                = doc.findings.size();
    });
    std::string const wc = std::string("wc -l ") + path + " >/dev/null";
    double const theirs  = best_seconds([&] {
        if (std::system(wc.c_str()) != 0) std::fprintf(stderr, "edl_benchmark: wc failed\n");
    });
    double const written = best_seconds([&] {
        edl::document const doc = edl::read(text, smpte::rate_29_97);
        (void)edl::write(doc).size();
    });
    if (argc > 2 && std::rename(path, argv[2]) != 0) std::perror(argv[2]);
    std::remove(path);
    std::printf("%ld events, %zu edits, %zu findings, %.1f MB\n", events, edits, findings, mb);
    std::printf("edl::read (read and check) %8.1f ms %8.1f MB/s\n", ours * 1e3, mb / ours);
    std::printf("read, then write           %8.1f ms %8.1f MB/s\n", written * 1e3, mb / written);
    std::printf("wc -l (with its process)   %8.1f ms %8.1f MB/s\n", theirs * 1e3, mb / theirs);
    return 0;
}
