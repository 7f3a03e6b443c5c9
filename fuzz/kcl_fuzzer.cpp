// A ".kcl" file read, written back, and each of its nine key colours applied and drawn
// with.
#include <variant>

#include "colour/kcl_file.h"
#include "fuzz_support.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("fuzz.kcl", data, size);
  const auto read = ReadKclFile(path);
  if (const auto* fault = std::get_if<std::string>(&read)) {
    if (size >= kKclFileSize || fault->empty()) fuzz::Fail("a full key colour file refused");
    return 0;
  }
  const KeyColorTable& table = std::get<KeyColorTable>(read);
  const auto image = EncodeKeyColors(table);
  // Written back as read, but for the fourth byte of each colour, which is never kept.
  for (size_t i = 0; i < kKclFileSize; ++i) {
    if (image[i] != (i % 4 == 3 ? 0 : data[i]))
      fuzz::Fail("an accepted key colour file is written back differently");
  }
  Program& p = fuzz::ProgramAtNewDrawing();
  p.keyColours.table = table;
  p.tools.tool = dtBios;
  for (const char key : std::string("qwertyuio")) {
    p.ApplyKeyColor(key);
    p.main.FormMouseDown(MouseButton::kLeft, {}, Point{32, 24});
    p.main.FormMouseMove({}, Point{44, 33});
    p.main.FormMouseUp(MouseButton::kLeft, {}, Point{44, 33});
  }
  return 0;
}
