#pragma once

// MARLIX_API marks the exported surface of libmarlix; the library is built
// with hidden visibility, so everything without it stays internal.
#define MARLIX_API __attribute__((visibility("default")))
