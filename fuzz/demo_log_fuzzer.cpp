// The demonstration log read and played as the start screen's demonstration plays it,
// on a small screen, to its end.
#include <variant>

#include "fuzz_support.h"
#include "log/log_files.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("Newonee.log", data, size);
  const LogReadResult read = ReadDemoLog(path);
  if (std::holds_alternative<std::string>(read)) return 0;
  const LoadedLog& loaded = std::get<LoadedLog>(read);
  // All 6000 slots come in, whatever the count.
  if (loaded.count < 0 || loaded.count >= 6000 || loaded.codes.size() != 6000 ||
      loaded.values.size() != 6000) {
    fuzz::Fail("an accepted demonstration log has an impossible count");
  }
  fuzz::SmallProgram run;
  Program& p = *run.program;
  ApplyLoadedLog(p.log, loaded);
  p.replayState.length = p.log.Count();
  p.replay.StartDemo(2);
  for (int64_t tick = 0; tick < int64_t{kLogCapacity} + 16 && p.Replaying(); ++tick)
    p.replay.ReplayTick();
  if (p.Replaying()) fuzz::Fail("the demonstration does not end");
  return 0;
}
