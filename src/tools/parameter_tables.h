#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quillo {

// The parameter runs of the traced figures. In each, t starts at 0 and every step adds
// an extended-precision constant, the sum being stored back as a double, so a run
// passes through the same values every time it is drawn.
enum class ParameterRun : uint8_t {
  kWeb,   // 257 values, step pi / 128 (WEB, ALIENS)
  kCpu,   // 3000 values, step pi / 1500 (CPU, DO LOOP, TWISTER)
  kBios,  // 480 values, step pi / 240
};

enum class Trig : uint8_t { kSin, kCos };

// The values t_i of a run with their sines and cosines.
struct ParameterTable {
  std::vector<double> t;
  std::vector<double> sin;
  std::vector<double> cos;
};

// The table of run, computed on first use and then shared.
const ParameterTable& TableOf(ParameterRun run);

// sin(m * t_i) or cos(m * t_i) for every t_i of run: exactly the values the direct calls
// give. The tables of the last few multipliers of each run are kept, since a drag
// repeats its specs (and WEB its distances) from one figure to the next.
std::shared_ptr<const std::vector<double>> ScaledTrig(ParameterRun run, Trig f, int32_t m);

}  // namespace quillo
