// Loads libmarlix into a fresh process, optionally after announcing a
// debug-flavour component of the host, and reports what the library's
// load-time check did. Usage: flavour_probe LIBRARY plain|debug

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

socklen_t address_of(char const* name, sockaddr_un& a) {
    std::memset(&a, 0, sizeof a);
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path + 1, name, std::strlen(name));
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + std::strlen(name));
}

bool exists(char const* name) {
    int const fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un a;
    socklen_t const n = address_of(name, a);
    bool const taken  = bind(fd, reinterpret_cast<sockaddr*>(&a), n) != 0 && errno == EADDRINUSE;
    close(fd);
    return taken;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    char debug_name[64], release_name[64];
    std::snprintf(debug_name, sizeof debug_name, "TovApp_PID_%08x_IsDebug",
                  static_cast<unsigned>(getpid()));
    std::snprintf(release_name, sizeof release_name, "TovApp_PID_%08x_IsRelease",
                  static_cast<unsigned>(getpid()));
    if (std::strcmp(argv[2], "debug") == 0) {
        int const fd = socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un a;
        socklen_t const n = address_of(debug_name, a);
        if (bind(fd, reinterpret_cast<sockaddr*>(&a), n) != 0) return 3;
    }
    std::printf("release_marker_before=%d\n", exists(release_name) ? 1 : 0);
    std::fflush(stdout);
    void* lib = dlopen(argv[1], RTLD_NOW);
    if (lib == nullptr) {
        std::printf("dlopen failed: %s\n", dlerror());
        return 4;
    }
    auto version = reinterpret_cast<char const* (*)()>(dlsym(lib, "marlixDllVersionStr"));
    std::printf("version=%s\n", version != nullptr ? version() : "?");
    std::printf("release_marker_after=%d\n", exists(release_name) ? 1 : 0);
    // The unit tests' hooks the library exports (none in the shipped one).
    int hooks = 0;
    for (char const* hook :
         {"_ZN6marlix13create_markerEPKc", "_ZN6marlix13marker_existsEPKc",
          "_ZN6marlix16report_assertionEPKcS1_i", "_ZN6marlix17debug_marker_nameERA64_cj",
          "_ZN6marlix19release_marker_nameERA64_cj",
          "_ZN6marlix21build_converter_slotsERA50_PNS_9label_cvtE"})
        hooks += dlsym(lib, hook) != nullptr ? 1 : 0;
    std::printf("exported_hooks=%d\n", hooks);
    return 0;
}
