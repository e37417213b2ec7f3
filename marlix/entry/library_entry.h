#pragma once

#include "marlix/export.h"

/// @file
/// The library's interface version, "10.0.V.9.0"; the same pointer on every
/// call, valid for the life of the library.
extern "C" MARLIX_API char const* marlixDllVersionStr(void);

namespace marlix {
/// The release of this build ("0.1.0"), as in marlix/version.h.
MARLIX_API char const* library_version();

/// The assertion report: the library reports through it when, at load, it
/// finds debug-flavour components of the host in the process. The report
/// goes to the diagnostics sink (and to standard error when the sink is
/// another), then to the installed handler, which answers true for OK (stop
/// in the debugger) or false for Cancel (carry on). The default handler
/// answers Cancel, so a process without a user carries on.
using assertion_handler = bool (*)(char const* title, char const* text);
/// Installs a handler (null restores the default) and answers the previous.
MARLIX_API assertion_handler set_assertion_handler(assertion_handler handler);

}  // namespace marlix
