// The program's own version: 208, shown as "2.08".
#pragma once

#include <cstdint>
#include <string>

namespace qx40 {

inline constexpr std::int32_t kProgramVersion = 208;

// v/100 "." (v/10) mod 10, v mod 10
inline std::string ProgramVersionText(std::int32_t v = kProgramVersion) {
    return std::to_string(v / 100) + "." + std::to_string((v / 10) % 10) + std::to_string(v % 10);
}

}  // namespace qx40
