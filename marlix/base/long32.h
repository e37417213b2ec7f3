#pragma once

#include <cstdint>

namespace marlix {

/// The signed 32-bit integer that samples, counts and spans are held in.
/// Label arithmetic was defined on a 32-bit 'long'; keeping the width fixed
/// keeps every stored value and every wrap the same on every platform.
using long32 = std::int32_t;

}  // namespace marlix
