#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/autosave.h"
#include "app/command_line.h"
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

}  // namespace

int main(int argc, char** argv) {
  const quillo::CommandLine line =
      quillo::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case quillo::CommandLine::Action::kHelp:
      std::fputs(quillo::HelpText().c_str(), stdout);
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
  if (!folderError.empty()) shell.program().platform.ShowError(folderError);
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
