// A ".col" file read, written back and each of its four sets recalled as the field's
// colours and drawn with.
#include <algorithm>
#include <variant>

#include "colour/col_file.h"
#include "fuzz_support.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("fuzz.col", data, size);
  const auto read = ReadColFile(path);
  if (const auto* fault = std::get_if<std::string>(&read)) {
    if (size >= 48 || fault->empty()) fuzz::Fail("a full colour set file refused");
    return 0;
  }
  const ColourSets& sets = std::get<ColourSets>(read);
  const std::string back = path + ".back";
  if (WriteColFile(back, sets)) fuzz::Fail("an accepted colour set file cannot be written back");
  const std::vector<uint8_t> written = fuzz::ReadBack(back);
  if (written.size() != 48 || !std::equal(written.begin(), written.end(), data)) {
    fuzz::Fail("an accepted colour set file is written back differently");
  }
  Program& p = fuzz::ProgramAtNewDrawing();
  p.tools.tool = dtNuwave;
  p.tools.wild = true;
  for (size_t set = 0; set < 4; ++set) {
    p.SetFieldColors(sets[3 * set], sets[3 * set + 1], sets[3 * set + 2]);
    p.main.FormMouseDown(MouseButton::kLeft, {}, Point{10, 10});
    p.main.FormMouseMove({}, Point{50, 40});
    p.main.FormMouseUp(MouseButton::kLeft, {}, Point{50, 40});
  }
  return 0;
}
