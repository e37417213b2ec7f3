#pragma once

// What the C interface's files share: the guard that keeps exceptions from
// crossing into C, and the bounded copy of text into a caller's buffer.

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "marlix/marlix_c.h"
#include "marlix/types/label_types.h"

namespace marlix::capi {

template <class F>
marlix_status guarded(F&& f) noexcept {
    try {
        return f();
    } catch (std::bad_alloc const&) {
        return MARLIX_ERR_NO_MEMORY;
    } catch (...) {
        return MARLIX_ERR_INTERNAL;
    }
}

// Copies text into the caller's buffer, cut to size - 1 characters.
inline marlix_status copy_out(std::string_view text, char* out, std::size_t size) {
    if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
    std::size_t const n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n == text.size() ? MARLIX_OK : MARLIX_ERR_TRUNCATED;
}

inline bool is_label_type(int32_t t) { return t >= 0 && t < label_type_count; }

}  // namespace marlix::capi
