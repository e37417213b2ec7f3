#pragma once

// What the C interface's files share: the guards that keep exceptions from
// crossing into C, the bounded copy of text into a caller's buffer, and the
// ties between the C numbers and the C++ enumerations they stand for.

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "marlix/front/result.h"
#include "marlix/marlix_c.h"
#include "marlix/smpte/timecode.h"
#include "marlix/types/label_types.h"

namespace marlix::capi {

// Runs f, the body of an entry point, and answers its status: a failed
// allocation is MARLIX_ERR_NO_MEMORY, any other exception
// MARLIX_ERR_INTERNAL.
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

// The same for an entry point that answers no status: fallback when f
// throws, nothing for a void f.
template <class T, class F>
T guarded_or(T fallback, F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        return fallback;
    }
}

template <class F>
void guarded_void(F&& f) noexcept {
    try {
        f();
    } catch (...) {
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

// The timecode statuses are the timecode layer's errors, offset: both run
// without gaps from the first error to the last.
inline constexpr int tc_status_offset = MARLIX_ERR_TC_EMPTY - static_cast<int>(smpte::error::empty);
static_assert(MARLIX_ERR_TC_NO_PULLDOWN - tc_status_offset ==
              static_cast<int>(smpte::error::no_pulldown));

// A front door look-up answered through out: its value, or refused.
template <class T, class Out>
marlix_status found_into(front::result<T> const& found, Out* out, marlix_status refused) {
    if (!found) return refused;
    *out = static_cast<Out>(found.value);
    return MARLIX_OK;
}

}  // namespace marlix::capi
