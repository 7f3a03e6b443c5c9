#pragma once

#include <cstdint>

#include "form/controls.h"
#include "form/window_state.h"
#include "platform/raster/surface.h"

namespace quillo {

class Program;

// The controls of the log inspector that the program's logic reads or writes.
struct CubeFormControls {
  ControlId Label1, Label2, SpeedButton1, Button1, ListBox5;
};

// The log inspector TCubeForm: a full-screen window listing the action log's
// inspector lines beside legends of the action and tool codes. It changes nothing in
// the log. Its picture Image is shown as the window's background.
class CubeForm {
 public:
  explicit CubeForm(Program& program);

  WindowState window;
  CubeFormControls c{};
  // Image: the field cache picture after start-up, later the picture last opened
  // with "OpenPic"; painted at the window's top left at its own size.
  Surface image;
  // The file name of the picture last opened with "OpenPic".
  std::string pictureFile;
  // Height of one line of ListBox5, scaled with the window.
  int32_t itemHeight = 16;

  // The window's creation: the screen's size for the window and its picture.
  void FormCreate();
  // Shows the window over the main window.
  void Open();
  // "CLEAR": empties the list; the log stays as it is.
  void SpeedButton1Click();
  // "CLOSE": hides the inspector and restores the drawing it covered from the backup.
  void Button1Click();

 private:
  void BuildLayout();

  Program& p_;
};

}  // namespace quillo
