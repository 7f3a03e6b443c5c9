// The questions asked before a new recording or a fresh canvas throws work away.
#include <string>

#include "app/program.h"

namespace quillo {

bool Program::MayDiscardRecording() {
  if (log.Count() <= saved.log) return true;
  const std::string text =
      Arg(Tr("Start a new recording? The current one (%1 entries) is not saved."),
          {std::to_string(log.Count())});
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
  switch (platform.Ask(Arg(Tr("%1 The current picture is not saved."), {Tr(question)}),
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
