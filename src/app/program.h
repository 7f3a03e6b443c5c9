#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/autosave.h"
#include "app/paint_log.h"
#include "app/spec_panel.h"
#include "app/timers.h"
#include "app/tool_selection.h"
#include "canvas/canvas_ops.h"
#include "canvas/drawing_state.h"
#include "canvas/picture_files.h"
#include "canvas/picture_stores.h"
#include "canvas/screen_moves.h"
#include "canvas/selection_ops.h"
#include "colour/colour_field.h"
#include "colour/colour_mixer.h"
#include "colour/key_colours.h"
#include "colour/space_color_form.h"
#include "form/catalogue.h"
#include "form/window_state.h"
#include "guide/first_run.h"
#include "guide/help_form.h"
#include "guide/start_screen.h"
#include "guide/tutorial.h"
#include "log/action_log.h"
#include "log/cube_form.h"
#include "log/log_file_commands.h"
#include "log/replay.h"
#include "platform/platform.h"
#include "tools/specials.h"
#include "tools/tool_state.h"

namespace quillo {

// Replay state shared by the replay engine and the Parts it drives.
struct ReplayState {
  int32_t length = 0;
  int32_t batch = 0;
  bool loop = false;
  bool penDown = false;
  bool frameExport = false;
  bool demoRunning = false;
  uint8_t fieldTripleCounter = 0;
  uint8_t lastActionCode = 0;
  Color heldCorner = 0;
  Color heldVertical = 0;
  Color heldHorizontal = 0;
  int32_t frameNumber = 0;
  // A replayed press whose release, and the undo snapshot the release took, is still
  // to come: the log keeps no releases, so the next press or canvas operation stands
  // in for it.
  bool releasePending = false;
  // A replayed entry is being executed: nothing it does is recorded again.
  bool stepping = false;
  // Corners replayed since the last zoom or negative: the next one's rectangle.
  std::array<Point, 2> corner{};
  int corners = 0;
};

// Marks the span of one replayed entry; nested steps keep the outer mark.
class StepGuard {
 public:
  explicit StepGuard(ReplayState& r) : r_(r), outer_(r.stepping) { r.stepping = true; }
  ~StepGuard() { r_.stepping = outer_; }
  StepGuard(const StepGuard&) = delete;
  StepGuard& operator=(const StepGuard&) = delete;

 private:
  ReplayState& r_;
  bool outer_;
};

// What the engine asks the shell to do to the application as a whole.
struct ShellRequests {
  bool quit = false;                     // the close question was answered "OK"
  bool minimize = false;                 // minimise the application
  std::optional<std::string> saveVideo;  // film the log into this file
};

// How far the work is saved: the log's count at the last "SaveLog" (or the opening
// of a recording file) and at the last save of the picture. A new recording starts
// both at its header; entries after a mark are work a reset would lose.
struct SavedMarks {
  int32_t log = 0;
  int32_t picture = 0;
};

// The whole program: one instance of everything, created in start-up order. Tests
// make a fresh one with a fake platform.
class Program {
 public:
  Program(Platform& platform, std::string programDir);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Creates the six windows in order, running each one's creation code but the
  // first-run set-up.
  void Create();
  // The whole start-up: the windows with the first-run set-up, then the start
  // screen's initialisation, which shows the start screen.
  void StartUp();
  // Start-up for a program without windows: the windows without the first-run set-up,
  // the start screen's initialisation and then "Go straight to drawing".
  void StartUpHeadless();

  Platform& platform;

  // The language the user reads ("en", "de", ...) and its words. Made before the
  // windows, so every window is built translated.
  std::string language = "en";
  Catalogue catalogue;

  // Reference size, panel height and the folder of the program's own files.
  int32_t canvasWidth = 1024;
  int32_t canvasHeight = 768;
  int32_t panelHeight = 0;
  std::string programDir;

  DrawingState drawing;
  ToolState tools;
  SpecTable specs;
  ColourField field;
  bool keyColorRecording = true;
  ActionLog log;
  ReplayState replayState;
  Timers timers;
  ShellRequests requests;
  SavedMarks saved;

  PaintLog main;
  ToolSelection toolSelection;
  CanvasOps canvasOps;
  PictureStores pictureStores;
  SelectionOps selectionOps;
  PictureFiles pictureFiles;
  Replay replay;
  ScreenMoves screenMoves;
  SpecPanel specPanel;
  LogFileCommands logFiles;
  CubeForm cubeForm;
  HelpForm helpForm;
  SpaceColorForm spaceColorForm;
  KeyColours keyColours;
  ColourMixer colourMixer;
  Wave3Form wave3Form;
  StartScreen startScreen;
  Tutorial tutorial;
  Autosave autosave;

  // The colour field picture of the colour field editor, and the start screen's
  // small picture that frame exports are drawn into.
  Surface fieldPicture;
  Surface framePicture;
  // The log inspector's picture that holds the colour field's miniature.
  Surface fieldCache;

  // The windows in creation order.
  std::array<WindowState*, kWindowCount> Windows();

  // Shows every window in another language from now on: captions, hints and the
  // windows' titles. Nothing drawn or recorded changes.
  void SetLanguage(std::string code, Catalogue words);
  // A text the user reads, in the current language.
  std::string Tr(std::string_view english) const { return catalogue.Text(english); }

  // Appends an entry to the action log when recording is on, and shows what follows:
  // the counter, "REPLAY" after the 50th entry, and the full log's STOP and beep.
  // Nothing is recorded while a replay runs or a replayed entry executes: what the
  // user does during a replay is not recorded, and a replay never writes the log.
  void RecordAction(Point point, uint8_t code, int32_t value);

  // Whether the replay timer runs.
  bool Replaying() const { return timers.Enabled(TimerId::logplaytimer); }
  // Whether one of the bottom panels is shown.
  bool BottomPanelVisible() const;
  // The reference size: the units the recorder stores points in.
  CanvasSize ReferenceSize() const { return CanvasSize{canvasWidth, canvasHeight}; }
  // The canvas height not covered by a bottom panel.
  int32_t VisibleHeight() const;

  // Runs the tick handler of a timer.
  void TimerTick(TimerId id);

  // Applies the key colour of a key: the nine stored field colour sets, the default
  // set ('p') or the field's layout ('[' corner, ']' centre), and logs the triple
  // while the colour editor is closed.
  void ApplyKeyColor(char key) { keyColours.ApplyKeyColor(key); }

  // Logs the field colour triple: corner, vertical, horizontal.
  void RecordFieldTriple();

  // Shows a new field colour triple everywhere it is shown; logs nothing.
  void SetFieldColors(Color corner, Color vertical, Color horizontal);

  // The canvas becomes the backup and the old backup the undo image.
  void SaveUndo();

  // Whether the recording may be thrown away: true when it holds no entries since it
  // was saved, or the user answers "Discard", or "Save…" and the save succeeds.
  bool MayDiscardRecording();
  // The same for the picture, asked with `question` ("Start the tutorial?"); "Save…"
  // saves the picture.
  bool MayDiscardPicture(const std::string& question);

 private:
  // The windows' titles in English, by window.
  std::array<std::string, kWindowCount> english_titles_;
};

}  // namespace quillo
