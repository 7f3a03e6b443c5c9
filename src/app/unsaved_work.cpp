// The questions asked before a new recording or a fresh canvas throws work away.
#include <string>

#include "app/program.h"

namespace quillo {

bool Program::MayDiscardRecording() {
  if (log.Count() <= saved.log) return true;
  const std::string text = "Start a new recording? The current one (" +
                           std::to_string(log.Count()) + " entries) is not saved.";
  switch (platform.Ask(text, QuestionButtons::kSaveDiscardCancel)) {
    case Answer::kSave:
      return logFiles.SaveLog();
    case Answer::kDiscard:
      return true;
    default:
      return false;
  }
}

bool Program::MayDiscardPicture(const std::string& question) {
  if (log.Count() <= saved.picture) return true;
  switch (platform.Ask(question + " The current picture is not saved.",
                       QuestionButtons::kSaveDiscardCancel)) {
    case Answer::kSave:
      return pictureFiles.SavePicture(false);
    case Answer::kDiscard:
      return true;
    default:
      return false;
  }
}

}  // namespace quillo
