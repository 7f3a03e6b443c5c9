#include "app/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace quillo::testing {
namespace {

using Action = CommandLine::Action;

struct Case {
  std::vector<std::string> args;
  Action action;
  std::string file;
  std::optional<std::string> language = std::nullopt;
};

TEST(CommandLineTest, TakesOneReplayFileHelpOrVersion) {
  const Case cases[] = {
      {{}, Action::kRun, ""},
      {{"drawing.qlr"}, Action::kRun, "drawing.qlr"},
      {{"/home/ann/My drawings/cat.qlr"}, Action::kRun, "/home/ann/My drawings/cat.qlr"},
      {{"--", "-dash.qlr"}, Action::kRun, "-dash.qlr"},
      {{"--", "--help"}, Action::kRun, "--help"},
      {{"--help"}, Action::kHelp, ""},
      {{"--version"}, Action::kVersion, ""},
      {{"a.qlr", "b.qlr"}, Action::kRefuse, ""},
      {{"--help", "a.qlr"}, Action::kRefuse, ""},
      {{"--version", "--help"}, Action::kRefuse, ""},
      {{"-h"}, Action::kRefuse, ""},
      {{"--size", "800x600"}, Action::kRefuse, ""},
      {{"-"}, Action::kRefuse, ""},
      {{""}, Action::kRefuse, ""},
      {{"--lang", "de", "a.qlr"}, Action::kRun, "a.qlr", "de"},
      {{"a.qlr", "--lang", "pt_BR"}, Action::kRun, "a.qlr", "pt_BR"},
      {{"--lang", "ja", "--help"}, Action::kHelp, "", "ja"},
      {{"--lang", "fr", "--version", "x.qlr"}, Action::kRefuse, ""},
      {{"--", "--lang", "de"}, Action::kRefuse, ""},
      {{"--lang", "xx"}, Action::kRefuse, ""},
      {{"--lang"}, Action::kRefuse, ""},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args)
      shown += "'" + a + "' ";
    const CommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(line.action, c.action) << shown;
    EXPECT_EQ(line.replayFile, c.file) << shown;
    EXPECT_EQ(line.language, c.language) << shown;
    EXPECT_EQ(line.fault.empty(), c.action != Action::kRefuse) << shown;
  }
}

TEST(CommandLineTest, RefusalsSayWhatWasWrong) {
  EXPECT_NE(ParseCommandLine({"--size"}).fault.find("--size"), std::string::npos);
  EXPECT_NE(ParseCommandLine({"a.qlr", "b.qlr"}).fault.find("one"), std::string::npos);
  const auto english = [](std::string_view s) { return std::string(s); };
  EXPECT_EQ(HelpText(english).rfind(UsageLine(), 0), 0u);
  EXPECT_NE(HelpText(english).find(".local/share/quillo"), std::string::npos);
  EXPECT_TRUE(std::regex_match(VersionText(), std::regex("quillo [0-9]+\\.[0-9]+\n")))
      << VersionText();
}

}  // namespace
}  // namespace quillo::testing
