// The value that marks a record slot without data.
#pragma once

#include <cstdint>

namespace qx40 {

inline constexpr std::int32_t kEmptySample = 0x7FFFFFFF;

}  // namespace qx40
