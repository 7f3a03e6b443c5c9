#include "app/command_line.h"

#include <utility>

namespace quillo {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  auto refuse = [&line](std::string fault) {
    line.action = CommandLine::Action::kRefuse;
    line.fault = std::move(fault);
    line.replayFile.clear();
    return line;
  };
  bool options = true;
  bool haveFile = false;
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && a == "--help") {
      if (args.size() != 1) return refuse("--help takes nothing else");
      line.action = CommandLine::Action::kHelp;
    } else if (options && a == "--version") {
      if (args.size() != 1) return refuse("--version takes nothing else");
      line.action = CommandLine::Action::kVersion;
    } else if (options && !a.empty() && a.front() == '-') {
      return refuse("unknown option " + a);
    } else if (haveFile) {
      return refuse("only one replay file can be opened");
    } else if (a.empty()) {
      return refuse("an empty file name");
    } else {
      haveFile = true;
      line.replayFile = a;
    }
  }
  return line;
}

std::string UsageLine() {
  return "usage: quillo [--help | --version | [--] [FILE.qlr]]";
}

std::string HelpText() {
  return UsageLine() +
         "\n\n"
         "Quillo, a painting program for play.\n\n"
         "  FILE.qlr   open a replay file and play it on a fresh canvas\n"
         "  --help     print this text and exit\n"
         "  --version  print the version and exit\n\n"
         "Installed, Quillo keeps its files in $XDG_DATA_HOME/quillo\n"
         "(by default ~/.local/share/quillo). Started in a folder that holds\n"
         "the program's files, it uses that folder instead.\n";
}

std::string VersionText() {
  return std::string("quillo ") + QUILLO_VERSION + "\n";
}

}  // namespace quillo
