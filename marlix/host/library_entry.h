#pragma once

#include "marlix/export.h"

// The library's interface version, "10.0.V.9.0"; the same pointer on every
// call, valid for the life of the library.
extern "C" MARLIX_API char const* marlixDllVersionStr(void);

namespace marlix {
// The release of this build ("0.1.0"), as in marlix/version.h.
MARLIX_API char const* library_version();
}  // namespace marlix
