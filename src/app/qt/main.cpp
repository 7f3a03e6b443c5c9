#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "app/autosave.h"
#include "app/command_line.h"
#include "app/language.h"
#include "app/program_folder.h"
#include "app/qt/shell.h"
#include "app/replay_document.h"

namespace {

// The program folder: the working directory when it holds the program's files (the
// run script starts the program in build/program), else the per-user folder filled
// from the installed files.
std::string ProgramFolderAtStart(std::string& error) {
  quillo::FolderEnvironment env;
  env.workingDir = QDir::currentPath().toStdString();
  env.installed =
      (QCoreApplication::applicationDirPath() + QStringLiteral("/" QUILLO_INSTALLED_FILES))
          .toStdString();
  env.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME").toStdString();
  env.home = QDir::homePath().toStdString();
  return quillo::PrepareProgramFolder(env, error);
}

// The time between two looks at whether the drawing is to be kept for a restart.
// QUILLO_AUTOSAVE_SECONDS (1 to 3600) shortens it for the test that kills the
// program while it draws; it is no option for users, who get the usual period.
int32_t AutosavePeriodMillis() {
  bool ok = false;
  const int seconds = qEnvironmentVariableIntValue("QUILLO_AUTOSAVE_SECONDS", &ok);
  if (!ok || seconds < 1 || seconds > 3600) return quillo::kAutosavePeriodMillis;
  return seconds * 1000;
}

quillo::LocaleEnvironment DesktopLocale() {
  auto get = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value == nullptr ? "" : value);
  };
  return {get("LANGUAGE"), get("LC_ALL"), get("LC_MESSAGES"), get("LANG")};
}

// The words of --help: the catalogue of the language asked for or the desktop's, from
// the working directory when it holds the program's files, else from the installed
// files beside the binary; English when there is none.
quillo::Catalogue HelpCatalogue(const std::optional<std::string>& asked) {
  std::error_code ec;
  const std::string cwd = std::filesystem::current_path(ec).string() + "/";
  const std::string code = quillo::ChooseLanguage(asked, cwd, DesktopLocale());
  if (code == quillo::kPseudoLanguage) return quillo::Catalogue::Pseudo();
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  for (const std::string& dir :
       {cwd, exe.parent_path().string() + "/" QUILLO_INSTALLED_FILES "/"}) {
    auto loaded = quillo::LoadCatalogue(quillo::CatalogueFile(dir, code));
    if (auto* words = std::get_if<quillo::Catalogue>(&loaded)) return std::move(*words);
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const quillo::CommandLine line =
      quillo::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case quillo::CommandLine::Action::kHelp: {
      const quillo::Catalogue words = HelpCatalogue(line.language);
      std::fputs(quillo::HelpText([&words](std::string_view s) { return words.Text(s); }).c_str(),
                 stdout);
    }
      return 0;
    case quillo::CommandLine::Action::kVersion:
      std::fputs(quillo::VersionText().c_str(), stdout);
      return 0;
    case quillo::CommandLine::Action::kRefuse:
      std::fprintf(stderr, "quillo: %s\n%s\n", line.fault.c_str(), quillo::UsageLine().c_str());
      return 2;
    case quillo::CommandLine::Action::kRun:
      break;
  }

  // The arguments are the program's own; Qt sees none of them.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillo"));
  QApplication::setDesktopFileName(QStringLiteral(QUILLO_APP_ID));
  // Installed, the icon theme has the program's icon; run from the build, no icon.
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(QUILLO_APP_ID)));
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));

  std::string folderError;
  quillo::Shell shell(ProgramFolderAtStart(folderError));
  quillo::Program& program = shell.program();
  const std::string language =
      quillo::ChooseLanguage(line.language, program.programDir, DesktopLocale());
  if (auto fault = quillo::UseLanguage(program, language)) program.platform.ShowError(*fault);
  if (!folderError.empty()) program.platform.ShowError(folderError);
  shell.program().autosave.Enable(AutosavePeriodMillis());
  shell.Start();
  if (!line.replayFile.empty()) {
    // The name's bytes as given: a name that is not UTF-8 still names its file.
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(line.replayFile, ec);
    quillo::OpenReplayDocument(shell.program(), ec ? line.replayFile : path.string());
    shell.Sync();
  }
  const int code = QApplication::exec();
  // Every way out of the event loop is a normal end: the drawing is kept for the next
  // start to continue.
  shell.program().autosave.KeepForNextStart();
  return code;
}
