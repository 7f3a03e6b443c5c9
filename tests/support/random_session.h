#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace quillo {
class Program;
}

namespace quillo::testing {

// A random session of user actions, driven through the program's own handlers as
// the window would drive them, then replayed from its log into a fresh program.
struct SessionOptions {
  uint64_t seed = 1;
  int actions = 60;  // user actions in the session
};

// What a session did and found.
struct SessionReport {
  int actions = 0;
  int entries = 0;  // entries in the log at the end
  // Why the live canvas is not expected to equal the replay, by name: actions that
  // the log does not keep. Empty when the session was compared pixel for pixel.
  std::set<std::string> notCompared;
  bool compared = false;        // the live and replayed canvases were compared
  int64_t differentPixels = 0;  // of that comparison
  std::string logFault;         // the first cut or overwritten entry, if any
  std::string trace;            // the actions, one word each, for a failing seed

  bool Passed() const { return logFault.empty() && differentPixels == 0; }
};

// Replays the live program's log into a fresh program on a screen of the same size,
// at the given speed, and counts the pixels where the two canvases differ.
int64_t ReplayDifference(const Program& live, int32_t batch = 2);

// Runs one session: the live program, the log checked after every action, and the
// replay of that log into a fresh program compared with the live canvas.
SessionReport RunRandomSession(const SessionOptions& options);

}  // namespace quillo::testing
