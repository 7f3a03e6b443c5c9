// A replay file read through the program's own open, then replayed to its end on a
// small screen, scaled from the size the file says it was recorded at. A refused file
// leaves the log as it was; an accepted one is written back byte for byte.
#include <algorithm>
#include <variant>

#include "fuzz_support.h"
#include "log/log_files.h"
#include "log/open_log.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("replay.qlr", data, size);
  fuzz::SmallProgram run;
  Program& p = *run.program;
  const auto codes = p.log.Codes();
  const auto values = p.log.Values();
  if (!OpenLogFile(p, path)) {
    if (p.log.Codes() != codes || p.log.Values() != values) {
      fuzz::Fail("a refused replay file changed the log");
    }
    return 0;
  }
  // A size record is taken only when it claims a sane size.
  const CanvasSize recorded = p.log.recordedSize;
  if (recorded.Known() &&
      (recorded.width < kMinRecordedSide || recorded.width > kMaxRecordedSide ||
       recorded.height < kMinRecordedSide || recorded.height > kMaxRecordedSide)) {
    fuzz::Fail("an absurd recorded size was taken");
  }
  // The file's count, its codes 1..N, its values 0..N and a size record that was
  // taken; bytes beyond are not read.
  const std::string back = path + ".back";
  if (WriteReplayFile(back, p.log)) fuzz::Fail("an accepted replay file cannot be written back");
  const std::vector<uint8_t> written = fuzz::ReadBack(back);
  if (written.size() > size || !std::equal(written.begin(), written.end(), data)) {
    fuzz::Fail("an accepted replay file is written back differently");
  }
  p.replay.StartReplay();
  for (int64_t tick = 0; tick < int64_t{kLogCapacity} + 16 && p.Replaying(); ++tick)
    p.replay.ReplayTick();
  if (p.Replaying()) fuzz::Fail("a replay without its loop does not end");
  return 0;
}
