// A drawing kept for a restart, read back at start as the autosave does: the input
// is the kept log (its length in the first four bytes) and then the picture (in the
// scripted platform's raw format). Brought back, the log's position lies within its
// count and the canvas has the picture's size; refused, it is said once and set aside.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "fuzz_support.h"
#include "support/fake_platform.h"

using namespace quillo;

namespace {

void Write(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) fuzz::Fail("cannot write the input's files");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t logBytes = 0;
  std::memcpy(&logBytes, data, 4);
  logBytes = static_cast<uint32_t>(std::min<size_t>(logBytes, size - 4));
  namespace fs = std::filesystem;
  const std::string dir = fuzz::ScratchPrefix() + "autosave/";
  std::error_code ec;
  fs::remove_all(dir, ec);
  fs::create_directories(dir);
  Write(dir + Autosave::kLogName, data + 4, logBytes);
  Write(dir + Autosave::kPictureName, data + 4 + logBytes, size - 4 - logBytes);

  testing::FakePlatform platform;
  platform.screen = {64, 48};
  platform.picturesOnDisk = true;
  platform.questionAnswers = {Answer::kOk};
  Program p(platform, dir);
  p.Create();
  p.autosave.Enable();
  p.startScreen.GoStraightToDrawing();
  if (p.autosave.Restored()) {
    if (p.log.position < 0 || p.log.position > p.log.Count())
      fuzz::Fail("a drawing brought back with its position outside its log");
    if (!platform.errors.empty()) fuzz::Fail("a drawing brought back with a message");
  } else if (platform.errors.size() != 1) {
    fuzz::Fail("a kept drawing refused without one message");
  }
  fs::remove_all(dir, ec);
  return 0;
}
