#include "marlix/host/library_entry.h"

#include "marlix/version.h"

namespace {
constexpr char interface_version[] = "10.0.V.9.0";
}

char const* marlixDllVersionStr(void) { return interface_version; }

namespace marlix {
char const* library_version() { return MARLIX_VERSION; }
}  // namespace marlix
