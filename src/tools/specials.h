#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quillo {

inline constexpr int kSpecCount = 128;

// The specials: 128 pairs of frequency multipliers for the red bar tools, and the
// entry that stepping and entering act on.
struct SpecTable {
  std::array<int32_t, kSpecCount> a{};
  std::array<int32_t, kSpecCount> b{};
  int32_t index = 0;
};

}  // namespace quillo
