#pragma once

#include <array>
#include <cstdint>

#include "canvas/canvas_images.h"
#include "form/controls.h"
#include "form/window_state.h"

namespace quillo {

class Program;
struct KeyRow;

// The tool buttons' colours: the current tool's button and the others.
inline constexpr Color kToolOn = 0xAA00DD;
inline constexpr Color kToolOff = 0xFF0066;

// The controls of the main window that the program's logic reads or writes.
struct PaintLogControls {
  ControlId Panel1, panel4, Panel2, Panel5, Panel8, Label49, LanguageBtn;
  ControlId PenWlabel, Label21, Label23, SpeedButton58, SpeedButton23;
  ControlId SpecLBL, Label36, Label41;
  ControlId LOGREPLAYBTN, newbtn, LogStopBtn, loopbtn, lblj;
  ControlId Label2;  // the file panel's file name field
  ControlId VideoBtn;
  ControlId Label24, Label28, Label29, Label31, Label32, Label33;
  ControlId memobtn, SpeedButton5, SpeedButton11;
  ControlId Label42, Label17, Label43, Label46;
  ControlId mix, Label16, SpeedButton21, Label25;
  std::array<ControlId, 3> primaries;         // redlbl, greenlbl, bluelbl
  std::array<ControlId, 8> swatches;          // Label6 to Label13
  std::array<ControlId, 3> colorModeButtons;  // "S", "P", "C" by ColorMode
  ControlId SpeedButton42, SpeedButton46, SpeedButton50, SpeedButton51;
  ControlId SpeedButton34, autoOnOffBtn, Wildbtn, Label35;
  ControlId btnzero, BTNSTOP, BTNPLAY, BTNX2, SpeedButton41, Label1, Edit3;
  ControlId ScrollBar1, ScrollBar2, ScrollBar3, ScrollBar5, Label38, Label39, Label40;
  // Undo, clears, picture stores, selection, clipboard and picture files.
  ControlId SpeedButton25, redobtn, Label18, Label5, Label14, Label15, AVI_btn, SpeedButton2;
  ControlId SpeedButton45, SpeedButton37, SpeedButton38, SpeedButton39;
  ControlId SpeedButton29, SpeedButton30, SpeedButton31, SpeedButton47;
  // The specials controls, the log's file commands and the frame export's show.
  ControlId Label26, Label27, SpeedButton26, SpeedButton27, SpeedButton28, Edit1, Edit2;
  ControlId SpeedButton35, SpeedButton36, SpeedButton3, SpeedButton33;
  std::array<ControlId, 12> toolButtons;  // by tool code
  std::array<ControlId, 9> penModeButtons;
  std::array<ControlId, 9> copyModeButtons;
};

// The main drawing window TPaintLog: its window state, canvas and off-screen images,
// and the handlers of its own controls and mouse.
class PaintLog {
 public:
  explicit PaintLog(Program& program);

  WindowState window;
  CanvasImages images;
  PaintLogControls c{};

  // The window's creation: sizes, defaults, layout scaling, the black backup.
  void FormCreate();

  // Mouse on the canvas.
  void FormMouseDown(MouseButton button, Modifiers mods, Point p);
  void FormMouseMove(Modifiers mods, Point p);
  void FormMouseUp(MouseButton button, Modifiers mods, Point p);

  // The close question; true lets the window close, and the drawing is kept for the
  // next start to continue.
  bool FormCloseQuery();
  // The client area changed size.
  void FormResize(int32_t clientWidth, int32_t clientHeight);

  // Bottom strip switches.
  void ShowFilePanel();
  void ShowSettingsPanel();

  // Hides every bottom strip.
  void HideBottomPanels();

  // Pen width with its log entry and display.
  void SetPenWidth(int32_t width);

  // Keys, seen before any control (key preview): virtual-key codes on the way down
  // and up, typed characters in between.
  void FormKeyDown(int32_t vk, Modifiers mods);
  void FormKeyPress(char32_t ch);
  void FormKeyUp(int32_t vk, Modifiers mods);
  // Runs one row of the key table.
  void RunKey(const KeyRow& row);

  // Moves a slider to a position (held to its range) and, when it moved, runs its
  // change handler as a user's move does.
  void SetSlider(ControlId bar, int32_t position);

  // STOP blinker tick.
  void Timer3Timer();

 private:
  void BuildLayout();
  void BindHandlers();
  // The buttons and labels of undo, the clears, the picture stores, the selection, the
  // clipboard and picture files.
  void BindCanvasHandlers();
  void SwitchBottomPanel(ControlId show);
  void BackToTools(ControlId hide);
  void WaveSliderChanged(ControlId bar);

  Program& p_;
};

}  // namespace quillo
