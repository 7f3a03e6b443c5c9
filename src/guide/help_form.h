#pragma once

#include <string>

#include "form/controls.h"
#include "form/window_state.h"

namespace quillo {

class Program;

// The help window Tform1: a borderless window over the whole screen with the two
// documents "Introduction" and "More Information", the hot key chart, a way into the
// tutorial and "Close". Every file it shows is optional.
class HelpForm {
 public:
  explicit HelpForm(Program& program);

  WindowState window;

  // The window's creation: the chart and the field cache as pictures when they are
  // there, the screen's size and the document viewer centred.
  void FormCreate();

  // Shows the window over the main window, on its introduction the first time.
  void Show();
  void Close();

  // The labels: a document in the viewer (a missing file leaves the viewer as it
  // was), the chart instead of the viewer, the tutorial, and closing.
  void ShowIntroduction();
  void ShowMoreInformation();
  void ShowHotKeys();
  void StartTutorial();
  // Shows the chart and the document in the program's new language, each falling
  // back to the English one where the language has none.
  void LanguageChanged();

  struct Ids {
    ControlId Image3, Label1, Label3, Label2, Label5, Label4, Image2, RichEdit1;
  } c{};

 private:
  void ShowDocument(const std::string& name);
  void ShowChart();
  // The program folder's name of a file in the current language: its language's
  // folder when the file is there, else the English file.
  std::string InLanguage(const std::string& name) const;

  Program& p_;
  std::string document_ = "Introduction.rtf";
  int32_t grown_ = 768;  // the screen height the window's sizes follow
};

}  // namespace quillo
