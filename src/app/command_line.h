#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

// What the command line asks for. The program takes one optional argument, a
// replay file to open, as the desktop passes a document; besides it --lang CODE,
// --help and --version.
struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kRefuse };
  Action action = Action::kRun;
  std::string replayFile;               // kRun: empty when none was given
  std::string fault;                    // kRefuse: what was wrong
  std::optional<std::string> language;  // --lang: the language to show, over any other
};

// Reads the arguments after the program's name. "--" ends the options, so a file
// whose name starts with '-' can still be given.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The one-line usage, the text --help prints (translated by tr) and the one
// --version prints.
std::string UsageLine();
std::string HelpText(const std::function<std::string(std::string_view)>& tr);
std::string VersionText();

}  // namespace quillo
