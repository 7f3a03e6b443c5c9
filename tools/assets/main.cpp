// quillo-assets: makes the binary files of the program folder from readable sources.
//
//   quillo-assets spl PAIRS.txt OUTPUT.spl    a specials table from "A B" lines
//   quillo-assets kcl SETS.txt OUTPUT.kcl     a key colour table from lines of a key
//                                             and nine channels (C, V, H as r g b)
//   quillo-assets demo SCRIPT.txt PROGRAMDIR OUTPUT.log
//                                             the demonstration log: the script
//                                             drawn on the program started in
//                                             PROGRAMDIR (for its specials files)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "app/program.h"
#include "colour/kcl_file.h"
#include "demo_script.h"
#include "log/log_files.h"
#include "platform/screen_platform.h"
#include "tools/specials.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "quillo-assets: %s\n", message.c_str());
  return 1;
}

int MakeSpecials(const std::string& input, const std::string& output) {
  std::ifstream in(input);
  if (!in) return Fail(input + ": cannot open");
  quillo::SpecTable table;
  std::string line;
  int count = 0;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream fields(line);
    long a = 0, b = 0;
    if (!(fields >> a)) continue;  // a blank or comment line
    std::string rest;
    if (!(fields >> b) || (fields >> rest) || a < 0 || b < 0 || a > 65535 || b > 65535)
      return Fail(input + ":" + std::to_string(number) + ": expected two numbers 0..65535");
    if (count == quillo::kSpecCount) return Fail(input + ": more than 128 pairs");
    table.a[count] = static_cast<int32_t>(a);
    table.b[count] = static_cast<int32_t>(b);
    ++count;
  }
  if (auto error = quillo::WriteSpecialsFile(output, table)) return Fail(output + ": " + *error);
  return 0;
}

int MakeKeyColors(const std::string& input, const std::string& output) {
  static constexpr char kKeys[] = "qwertyuio";
  std::ifstream in(input);
  if (!in) return Fail(input + ": cannot open");
  quillo::KeyColorTable table{};
  std::string line;
  size_t count = 0;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream fields(line);
    std::string key;
    if (!(fields >> key)) continue;  // a blank or comment line
    const std::string where = input + ":" + std::to_string(number) + ": ";
    if (count == table.size()) return Fail(where + "more than nine sets");
    if (key != std::string(1, kKeys[count]))
      return Fail(where + "expected the set of key " + kKeys[count]);
    int channels[9];
    for (int& v : channels)
      if (!(fields >> v) || v < 0 || v > 255) return Fail(where + "expected nine numbers 0..255");
    if (std::string rest; fields >> rest) return Fail(where + "more than nine numbers");
    for (int k = 0; k < 3; ++k)
      table[count][k] = quillo::Rgb(static_cast<uint32_t>(channels[3 * k]),
                                    static_cast<uint32_t>(channels[3 * k + 1]),
                                    static_cast<uint32_t>(channels[3 * k + 2]));
    ++count;
  }
  if (count != table.size()) return Fail(input + ": fewer than nine sets");
  if (auto error = quillo::WriteKclFile(output, table)) return Fail(output + ": " + *error);
  return 0;
}

int MakeDemo(const std::string& input, std::string programDir, const std::string& output) {
  std::ifstream in(input);
  if (!in) return Fail(input + ": cannot open");
  const std::string script(std::istreambuf_iterator<char>(in), {});
  if (programDir.empty() || programDir.back() != '/') programDir += '/';

  // A clock that steps on at every look: random picks come out the same at every build.
  quillo::ScreenPlatform platform({1024, 768}, 7919);
  quillo::Program program(platform, programDir);
  // As the renderer does: no first-run set-up, no start screen, nothing written.
  program.StartUpHeadless();
  program.main.HideBottomPanels();
  if (const std::string fault = quillo::RunDemoScript(program, script); !fault.empty())
    return Fail(input + ":" + fault);
  if (!platform.errors.empty()) return Fail(input + ": " + platform.errors.front());
  if (auto error = quillo::WriteDemoLog(output, program.log)) return Fail(output + ": " + *error);
  std::printf("%s: %d entries\n", output.c_str(), program.log.Count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "spl") return MakeSpecials(argv[2], argv[3]);
  if (argc == 4 && std::string(argv[1]) == "kcl") return MakeKeyColors(argv[2], argv[3]);
  if (argc == 5 && std::string(argv[1]) == "demo") return MakeDemo(argv[2], argv[3], argv[4]);
  std::fputs(
      "usage: quillo-assets spl PAIRS.txt OUTPUT.spl\n"
      "       quillo-assets kcl SETS.txt OUTPUT.kcl\n"
      "       quillo-assets demo SCRIPT.txt PROGRAMDIR OUTPUT.log\n",
      stderr);
  return 1;
}
