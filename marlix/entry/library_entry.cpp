#include "marlix/entry/library_entry.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "marlix/host/host_services.h"
#include "marlix/internal/test_hooks.h"
#include "marlix/values/detail/natural_pitch.h"
#include "marlix/values/edit_label.h"
#include "marlix/version.h"

namespace {
constexpr char interface_version[] = "10.0.V.9.0";
}

char const* marlixDllVersionStr(void) { return interface_version; }

namespace marlix {

char const* library_version() { return MARLIX_VERSION; }

namespace {

constexpr char assertion_title[] = "TovAssert - Assertion Failed";
constexpr char assertion_format[] =
    "Assertion failed:\n\n%s line %d:\n\n%s\n\nPress OK to debug or Cancel to ignore.";
constexpr char flavour_expression[] =
    "( \"Build inconsistency - debug build components are linking with release build "
    "components!\", 0 )";
constexpr char flavour_file[] = "New";
constexpr int flavour_line    = 203;

bool answer_cancel(char const*, char const*) { return false; }
assertion_handler current_handler = answer_cancel;

// Marker sockets are closed on exec where the platform says so at
// creation. Apple's sockets take neither SOCK_CLOEXEC nor abstract names,
// so there the flavour check has no marker to find.
#if defined(SOCK_CLOEXEC)
constexpr int marker_socket_type = SOCK_DGRAM | SOCK_CLOEXEC;
#else
constexpr int marker_socket_type = SOCK_DGRAM;
#endif

// An abstract UNIX socket address: a leading NUL, then the name.
socklen_t marker_address(char const* name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family  = AF_UNIX;
    std::size_t const n = std::min(std::strlen(name), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name, n);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

}  // namespace

assertion_handler set_assertion_handler(assertion_handler handler) {
    assertion_handler const previous = current_handler;
    current_handler                  = handler != nullptr ? handler : answer_cancel;
    return previous;
}

void detail::report_assertion(char const* expression, char const* file, int line) {
    char text[512];
    std::snprintf(text, sizeof text, assertion_format, file, line, expression);
    text[sizeof text - 1] = '\0';
    // No message box here: the report goes to the diagnostics sink and to
    // standard error (once, when the sink is standard error itself).
    vimb_printf("%s\n%s\n", assertion_title, text);
    if (!diagnostic_sink_is_default()) std::fprintf(stderr, "%s\n%s\n", assertion_title, text);
    if (current_handler(assertion_title, text)) std::raise(SIGTRAP);
}

void detail::debug_marker_name(char (&name)[marker_name_capacity], unsigned process_id) {
    std::snprintf(name, sizeof name, "TovApp_PID_%08x_IsDebug", process_id);
}

void detail::release_marker_name(char (&name)[marker_name_capacity], unsigned process_id) {
    std::snprintf(name, sizeof name, "TovApp_PID_%08x_IsRelease", process_id);
}

bool detail::marker_exists(char const* name) {
    // Binding the name fails with EADDRINUSE exactly when the marker exists;
    // a probe that succeeds is closed again at once.
    int const fd = ::socket(AF_UNIX, marker_socket_type, 0);
    if (fd < 0) return false;
    sockaddr_un address;
    socklen_t const length = marker_address(name, address);
    bool const exists =
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 && errno == EADDRINUSE;
    ::close(fd);
    return exists;
}

bool detail::create_marker(char const* name) {
    int const fd = ::socket(AF_UNIX, marker_socket_type, 0);
    if (fd < 0) return false;
    sockaddr_un address;
    socklen_t const length = marker_address(name, address);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        ::close(fd);
        return false;
    }
    return true;  // the descriptor stays open: the marker lives with the process
}

namespace detail {
// Zero until filled below: the invalid labels built before it read 0.0.
double natural_pitch_table[label_type_count];
}  // namespace detail

// The library's static objects, built at load in this order (one
// translation unit, so the order is the order of definition whatever the
// linker does) and destroyed at unload in the reverse order. The shared
// converters are not among them: the first of these objects builds them,
// and they are never freed.
namespace {

// 1. The invalid edit label: type 0 on medium roll (0, 0).
edit_label invalid_edit_label_object{label(LABEL_NONE), MediumRollIdent()};

// 2. The invalid label: type 0.
label invalid_label_object(LABEL_NONE);

// 3. The natural-pitch table, from the host's frame rates.
struct natural_pitch_filler {
    natural_pitch_filler() { detail::fill_natural_pitch_table(detail::natural_pitch_table); }
} natural_pitch_fill;

// 4. The build-flavour check: a debug-flavour component of the host already
// in this process is reported; either way the release marker announces
// this release-flavour component to later ones. A failure to create the
// marker is ignored.
struct build_flavour_check {
    build_flavour_check() {
        unsigned const pid = static_cast<unsigned>(::getpid());
        char debug_name[marker_name_capacity];
        char release_name[marker_name_capacity];
        detail::debug_marker_name(debug_name, pid);
        detail::release_marker_name(release_name, pid);
        if (detail::marker_exists(debug_name))
            detail::report_assertion(flavour_expression, flavour_file, flavour_line);
        detail::create_marker(release_name);
    }
} flavour_check;

// 5. The shared zero point: sample 0 of type 0.
label_point const zero_point(0, LABEL_NONE);

}  // namespace

edit_label* invalid_edit_label() { return &invalid_edit_label_object; }
label* get_invalid_label() { return &invalid_label_object; }
label_point const& zero_label_point() { return zero_point; }

}  // namespace marlix
