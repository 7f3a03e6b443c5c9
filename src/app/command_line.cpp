#include "app/command_line.h"

#include <algorithm>
#include <utility>

#include "app/language.h"
#include "form/catalogue.h"

namespace quillo {
namespace {

// The columns a UTF-8 lead byte's letter takes on a terminal: two for the wide
// letters of East Asian scripts (three-byte sequences from U+1100 on), else one.
size_t Columns(unsigned char lead) {
  if ((lead & 0xC0) == 0x80) return 0;
  return lead >= 0xE1 && lead <= 0xEF ? 2 : 1;
}

// The text with its spaces turned into line breaks where a line would pass 72
// columns; a text without spaces stays one line.
std::string Wrapped(std::string text) {
  size_t column = 0;
  size_t columnAtSpace = 0;
  size_t lastSpace = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') {
      lastSpace = i;
      columnAtSpace = column;
    }
    column += Columns(static_cast<unsigned char>(text[i]));
    if (column > 72 && lastSpace != std::string::npos) {
      text[lastSpace] = '\n';
      column -= columnAtSpace + 1;
      lastSpace = std::string::npos;
    }
  }
  return text;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  auto refuse = [&line](std::string fault) {
    line.action = CommandLine::Action::kRefuse;
    line.fault = std::move(fault);
    line.replayFile.clear();
    line.language.reset();
    return line;
  };
  // --help and --version stand alone but for a --lang that says in what language.
  size_t others = args.size();
  for (size_t i = 0; i < args.size() && args[i] != "--"; ++i)
    if (args[i] == "--lang") others -= std::min<size_t>(2, args.size() - i);
  bool options = true;
  bool haveFile = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options && a == "--lang") {
      if (i + 1 == args.size()) return refuse("--lang needs a language code");
      const std::string& code = args[++i];
      if (!IsLanguageCode(code))
        return refuse("unknown language " + code + " (de, en, es, fr, ja, pt_BR)");
      line.language = code;
    } else if (options && a == "--") {
      options = false;
    } else if (options && a == "--help") {
      if (others != 1) return refuse("--help takes nothing else");
      line.action = CommandLine::Action::kHelp;
    } else if (options && a == "--version") {
      if (others != 1) return refuse("--version takes nothing else");
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
  return "usage: quillo [--help | --version | [--lang CODE] [--] [FILE.qlr]]";
}

std::string HelpText(const std::function<std::string(std::string_view)>& tr) {
  // The options and file names stay as they are typed; the words around them are
  // the user's language.
  return UsageLine() + "\n\n" + tr("Quillo, a painting program for play.") + "\n\n" +
         "  FILE.qlr     " + tr("open a replay file and play it on a fresh canvas") + "\n" +
         "  --lang CODE  " + tr("show Quillo in a language: de, en, es, fr, ja or pt_BR") + "\n" +
         "  --help       " + tr("print this text and exit") + "\n" + "  --version    " +
         tr("print the version and exit") + "\n\n" +
         Wrapped(Arg(tr("Installed, Quillo keeps its files in %1 (by default %2). Started in "
                        "a folder that holds the program's files, it uses that folder instead."),
                     {"$XDG_DATA_HOME/quillo", "~/.local/share/quillo"})) +
         "\n";
}

std::string VersionText() {
  return std::string("quillo ") + QUILLO_VERSION + "\n";
}

}  // namespace quillo
