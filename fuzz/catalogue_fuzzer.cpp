// A catalogue read from a language file; an accepted one is put on the program, which
// translates every window with it, and each of its texts takes values.
#include <string_view>
#include <variant>

#include "form/catalogue.h"
#include "fuzz_support.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto read = Catalogue::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (const auto* fault = std::get_if<std::string>(&read)) {
    if (fault->rfind("line ", 0) != 0) fuzz::Fail("a refusal that names no line");
    return 0;
  }
  const Catalogue& words = std::get<Catalogue>(read);
  for (const std::string& key : words.Keys()) {
    const std::string shown = words.Text(key);
    Arg(shown, {"a", "%1", ""});
  }
  Program& p = fuzz::ProgramAtNewDrawing();
  p.SetLanguage("xx", words);
  p.SetLanguage("en", Catalogue{});
  return 0;
}
