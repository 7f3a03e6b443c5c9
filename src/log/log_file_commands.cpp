#include "log/log_file_commands.h"

#include <optional>
#include <string>
#include <variant>

#include "app/program.h"
#include "log/log_files.h"
#include "log/open_log.h"

namespace quillo {
namespace {

constexpr const char* kDemoLogName = "Newonee.log";

}  // namespace

LogFileCommands::LogFileCommands(Program& program) : p_(program) {}

void LogFileCommands::Bind() {
  Form& f = p_.main.window.form;
  f.On(p_.main.c.SpeedButton3, EventKind::kClick, [this](const ControlEvent&) { SaveLog(); });
  f.On(p_.main.c.SpeedButton33, EventKind::kClick, [this](const ControlEvent&) { OpenLog(); });
}

bool LogFileCommands::SaveLog() {
  // Recording and the random colours pause while the dialog is open; during a replay
  // they stay as the replay keeps them.
  const bool replaying = p_.Replaying();
  const bool wasRecording = p_.drawing.recording;
  const bool hadRandomColours = p_.timers.Enabled(TimerId::Timer4);
  p_.drawing.recording = false;
  p_.replayState.length = p_.log.Count();
  p_.timers.Enable(TimerId::Timer4, false);

  FileDialogSpec spec;
  spec.filter = "Quilloplay(*.qlr)|*.qlr|Palette(*.plt)|*.plt|Log(*.log)|*.log";
  spec.defaultExtension = "qlr";
  spec.confirmOverwrite = true;
  spec.kind = FileKind::kDocuments;
  bool written = false;
  if (const std::optional<std::string> name = p_.platform.SaveFileName(spec)) {
    // A recording of unknown size was made at the size of this screen: the file says so.
    if (!p_.log.recordedSize.Known()) p_.log.recordedSize = p_.ReferenceSize();
    if (auto fault = WriteReplayFile(*name, p_.log)) {
      p_.platform.ShowError(Arg(p_.Tr("Cannot save \"%1\": %2."), {*name, *fault}));
    } else {
      written = true;
      p_.saved.log = p_.log.Count();
    }
  }

  const Form& f = p_.main.window.form;
  p_.timers.Enable(TimerId::Timer4,
                   replaying ? hadRandomColours : !f[p_.main.c.SpeedButton21].down);
  p_.drawing.recording = replaying ? wasRecording : true;
  return written;
}

void LogFileCommands::OpenLog() {
  FileDialogSpec spec;
  spec.filter = "quilloplay(*.qlr)|*.qlr|palette(*.plt)|*.plt|log(*.log)|*.log";
  spec.defaultExtension = "qlr";
  spec.mustExist = true;
  spec.kind = FileKind::kDocuments;
  if (const std::optional<std::string> name = p_.platform.OpenFileName(spec))
    OpenLogFile(p_, *name);
}

bool LogFileCommands::ReadDemoLog() {
  const std::string path = p_.programDir + kDemoLogName;
  const LogReadResult read = quillo::ReadDemoLog(path);
  if (const auto* fault = std::get_if<std::string>(&read)) {
    p_.platform.ShowError(Arg(p_.Tr("Cannot open \"%1\": %2."), {path, *fault}));
    return false;
  }
  ApplyLoadedLog(p_.log, std::get<LoadedLog>(read));
  // The demonstration is the program's own: nothing of the user's to keep.
  p_.saved = SavedMarks{p_.log.Count(), p_.log.Count()};
  return true;
}

void LogFileCommands::ToggleFrameExport() {
  ReplayState& r = p_.replayState;
  r.frameNumber = 1;
  r.frameExport = !r.frameExport;
  // AVI_btn looks pressed exactly while frames are exported; a click on it only
  // brings back the background.
  p_.main.window.form.SetDown(p_.main.c.AVI_btn, r.frameExport);
}

}  // namespace quillo
