// The live-versus-replay harness's long form: random sessions for a given time,
// each replayed from its log into a fresh program. Prints what it ran and every
// seed that failed; exits 1 when any did.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "support/random_session.h"

int main(int argc, char** argv) {
  using Clock = std::chrono::steady_clock;
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
  uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1000;
  const int actions = argc > 3 ? std::atoi(argv[3]) : 80;
  if (seconds <= 0 || actions <= 0) {
    std::fprintf(stderr, "usage: quillo_harness [SECONDS] [FIRST_SEED] [ACTIONS_PER_SESSION]\n");
    return 2;
  }
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  long sessions = 0, totalActions = 0, totalEntries = 0, compared = 0, failed = 0;
  std::map<std::string, long> notCompared;
  const uint64_t first = seed;
  while (Clock::now() < end) {
    const quillo::testing::SessionReport r = quillo::testing::RunRandomSession({seed, actions});
    ++sessions;
    totalActions += r.actions;
    totalEntries += r.entries;
    compared += r.compared ? 1 : 0;
    for (const std::string& why : r.notCompared)
      ++notCompared[why];
    if (!r.Passed()) {
      ++failed;
      std::printf("FAILED seed %llu: %s%s differing pixels %lld\n  %s\n",
                  static_cast<unsigned long long>(seed), r.logFault.c_str(),
                  r.logFault.empty() ? "" : ";", static_cast<long long>(r.differentPixels),
                  r.trace.c_str());
      std::fflush(stdout);
    }
    ++seed;
  }
  std::printf(
      "seeds %llu..%llu: %ld sessions, %ld actions, %ld log entries, %ld compared, %ld "
      "failed\n",
      static_cast<unsigned long long>(first), static_cast<unsigned long long>(seed - 1), sessions,
      totalActions, totalEntries, compared, failed);
  for (const auto& [why, n] : notCompared)
    std::printf("  %ld sessions went on after: %s\n", n, why.c_str());
  return failed == 0 ? 0 : 1;
}
