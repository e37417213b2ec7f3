// A program built against the installed marlix, to prove the package works.
#include <marlix/marlix.h>

#include <cstdio>
#include <cstring>

int main() {
    if (marlix::edlstr_to_label_type("nd") != marlix::LABEL_NTSC_DROP) return 1;
    if (std::strcmp(marlixDllVersionStr(), "10.0.V.9.0") != 0) return 1;
    namespace smpte = marlix::smpte;
    if (!(smpte::timecode(1, smpte::rate_25) < smpte::timecode(2, smpte::rate_25))) return 1;
    std::printf("consumer ok %s\n", MARLIX_VERSION);
    return 0;
}
