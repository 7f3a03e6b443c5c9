// The program's command line: the input split at zero bytes into arguments. Every
// answer is one of the four, a refusal says why, and a file to open is one of the
// arguments given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "fuzz_input.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = fuzz::SplitArguments(data, size);
  const CommandLine line = ParseCommandLine(args);
  switch (line.action) {
    case CommandLine::Action::kRefuse:
      if (line.fault.empty()) fuzz::Fail("a refusal without a reason");
      break;
    case CommandLine::Action::kRun:
      if (!line.replayFile.empty() &&
          std::find(args.begin(), args.end(), line.replayFile) == args.end())
        fuzz::Fail("a file to open that was not given");
      break;
    case CommandLine::Action::kHelp:
    case CommandLine::Action::kVersion:
      break;
  }
  return 0;
}
