#include "log/open_log.h"

#include <variant>

#include "app/program.h"
#include "log/log_files.h"

namespace quillo {

bool OpenLogFile(Program& p, const std::string& path) {
  const LogReadResult read = ReadReplayFile(path);
  if (const auto* fault = std::get_if<std::string>(&read)) {
    p.platform.ShowError(Arg(p.Tr("Cannot open \"%1\": %2."), {path, *fault}));
    return false;
  }
  const LoadedLog& loaded = std::get<LoadedLog>(read);
  ApplyLoadedLog(p.log, loaded);
  p.replayState.length = loaded.count;
  // The recording is its file's, saved there already.
  p.saved.log = loaded.count;
  // The name field names the recording that is loaded, so a refused file leaves it.
  PaintLog& m = p.main;
  Form& f = m.window.form;
  f.SetCaption(m.c.Label2, "%1", {path});
  f.SetCaption(m.c.lblj, std::to_string(loaded.count));
  if (!loaded.sizeFault.empty())
    p.platform.ShowError("\"" + path + "\": " + loaded.sizeFault +
                         "; the recording is replayed as made at this screen's size.");
  return true;
}

}  // namespace quillo
