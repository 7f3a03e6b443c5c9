#include "app/replay_document.h"

#include "app/program.h"
#include "log/open_log.h"

namespace quillo {

void OpenReplayDocument(Program& p, const std::string& path) {
  p.startScreen.GoStraightToDrawing();
  // A drawing brought back is not replayed over.
  if (p.autosave.Restored()) return;
  if (OpenLogFile(p, path)) p.replay.StartReplay();
}

}  // namespace quillo
