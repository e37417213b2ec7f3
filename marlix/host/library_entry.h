#pragma once

#include "marlix/export.h"

// The library's interface version, "10.0.V.9.0"; the same pointer on every
// call, valid for the life of the library.
extern "C" MARLIX_API char const* marlixDllVersionStr(void);

namespace marlix {
// The release of this build ("0.1.0"), as in marlix/version.h.
MARLIX_API char const* library_version();

// The assertion report: the library reports through it when, at load, it
// finds debug-flavour components of the host in the process. The report
// goes to the diagnostics sink (and to standard error when the sink is
// another), then to the installed handler, which answers true for OK (stop
// in the debugger) or false for Cancel (carry on). The default handler
// answers Cancel, so a process without a user carries on.
using assertion_handler = bool (*)(char const* title, char const* text);
// Installs a handler (null restores the default) and answers the previous.
MARLIX_API assertion_handler set_assertion_handler(assertion_handler handler);
MARLIX_API void report_assertion(char const* expression, char const* file, int line);

// The process-wide markers of the build-flavour check, formatted from a
// process id: "TovApp_PID_%08x_IsDebug" and "TovApp_PID_%08x_IsRelease".
// A marker is an abstract-namespace UNIX socket of that name: it exists
// while a descriptor bound to it is open, and disappears with the process.
inline constexpr int marker_name_capacity = 64;
MARLIX_API void debug_marker_name(char (&name)[marker_name_capacity], unsigned process_id);
MARLIX_API void release_marker_name(char (&name)[marker_name_capacity], unsigned process_id);
// Whether a marker of that name exists; creating one keeps its descriptor
// open for the life of the process and answers false when it cannot.
MARLIX_API bool marker_exists(char const* name);
MARLIX_API bool create_marker(char const* name);
}  // namespace marlix
