// A specials file read, written back, stepped through and drawn with.
#include <algorithm>

#include "fuzz_support.h"
#include "tools/specials.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("fuzz.spl", data, size);
  const LoadedSpecials loaded = ReadSpecialsFile(path);
  if (!loaded.entries) {
    if (size >= kSpecialsFileSize || loaded.error.empty()) {
      fuzz::Fail("a specials file of full size refused, or refused without a message");
    }
    return 0;
  }
  Program& p = fuzz::ProgramAtNewDrawing();
  // The file as read, written back; the program's table holds A to its range.
  SpecTable asRead;
  asRead.a = loaded.entries->a;
  asRead.b = loaded.entries->b;
  p.specs.Assign(*loaded.entries);
  const auto image = EncodeSpecials(asRead);
  if (!std::equal(image.begin(), image.end(), data)) {
    fuzz::Fail("an accepted specials file is written back differently");
  }
  // A step each way from the first and the last entry, and a CPU figure with each.
  p.tools.tool = dtwave3;
  for (const int32_t index : {0, kSpecCount - 1}) {
    for (const bool up : {true, false}) {
      p.specs.index = index;
      if (up) {
        p.toolSelection.IncrementSpec();
      } else {
        p.toolSelection.DecrementSpec();
      }
      p.main.FormMouseDown(MouseButton::kLeft, {}, Point{30, 20});
      p.main.FormMouseMove({}, Point{41, 29});
      p.main.FormMouseUp(MouseButton::kLeft, {}, Point{41, 29});
    }
  }
  return 0;
}
