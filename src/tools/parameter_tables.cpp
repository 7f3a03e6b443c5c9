#include "tools/parameter_tables.h"

#include <array>
#include <cmath>

namespace quillo {
namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

struct RunSpec {
  int count;
  long double step;
};

constexpr RunSpec SpecOf(ParameterRun run) {
  switch (run) {
    case ParameterRun::kWeb:
      return {257, kPi / 128};
    case ParameterRun::kCpu:
      return {3000, kPi / 1500};
    case ParameterRun::kBios:
      return {480, kPi / 240};
  }
  return {0, 0};
}

ParameterTable MakeTable(ParameterRun run) {
  const RunSpec spec = SpecOf(run);
  ParameterTable table;
  table.t.resize(spec.count);
  table.sin.resize(spec.count);
  table.cos.resize(spec.count);
  double t = 0.0;
  for (int i = 0; i < spec.count; ++i) {
    table.t[i] = t;
    table.sin[i] = std::sin(t);
    table.cos[i] = std::cos(t);
    t = static_cast<double>(t + spec.step);
  }
  return table;
}

constexpr int kRuns = 3;
constexpr int kKeptPerRun = 4;

struct Scaled {
  Trig f = Trig::kSin;
  int32_t m = 0;
  uint64_t lastUse = 0;
  std::shared_ptr<const std::vector<double>> values;
};

// The kept tables of one thread; pure functions of their key, so keeping them changes
// no result, only how often the sines are worked out.
struct ScaledCache {
  std::array<std::array<Scaled, kKeptPerRun>, kRuns> runs;
  uint64_t clock = 0;
};

}  // namespace

const ParameterTable& TableOf(ParameterRun run) {
  // Shared read-only tables of pure maths, built once (thread-safe static init).
  static const std::array<ParameterTable, kRuns> tables = {
      MakeTable(ParameterRun::kWeb), MakeTable(ParameterRun::kCpu), MakeTable(ParameterRun::kBios)};
  return tables[static_cast<int>(run)];
}

std::shared_ptr<const std::vector<double>> ScaledTrig(ParameterRun run, Trig f, int32_t m) {
  thread_local ScaledCache cache;
  std::array<Scaled, kKeptPerRun>& kept = cache.runs[static_cast<int>(run)];
  ++cache.clock;
  Scaled* oldest = &kept[0];
  for (Scaled& entry : kept) {
    if (entry.values && entry.f == f && entry.m == m) {
      entry.lastUse = cache.clock;
      return entry.values;
    }
    if (entry.lastUse < oldest->lastUse) oldest = &entry;
  }
  const std::vector<double>& t = TableOf(run).t;
  auto values = std::make_shared<std::vector<double>>(t.size());
  const double md = m;
  for (size_t i = 0; i < t.size(); ++i)
    (*values)[i] = f == Trig::kSin ? std::sin(md * t[i]) : std::cos(md * t[i]);
  *oldest = Scaled{f, m, cache.clock, values};
  return values;
}

}  // namespace quillo
