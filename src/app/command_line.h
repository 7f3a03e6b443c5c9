#pragma once

#include <string>
#include <vector>

namespace quillo {

// What the command line asks for. The program takes one optional argument, a
// replay file to open, as the desktop passes a document; besides it only --help
// and --version.
struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kRefuse };
  Action action = Action::kRun;
  std::string replayFile;  // kRun: empty when none was given
  std::string fault;       // kRefuse: what was wrong
};

// Reads the arguments after the program's name. "--" ends the options, so a file
// whose name starts with '-' can still be given.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The one-line usage, the text --help prints and the one --version prints.
std::string UsageLine();
std::string HelpText();
std::string VersionText();

}  // namespace quillo
