#include "support/random_session.h"

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "app/key_table.h"
#include "app/program.h"
#include "support/fake_platform.h"

namespace quillo::testing {
namespace {

constexpr const char* kFolder = "/tmp/quillo-harness/";
constexpr int kReplayTickLimit = 400000;
constexpr int32_t kHomeKey = 36;
constexpr int32_t kF12 = 123;

// Actions whose effect on the canvas the log does not keep, by the name a report
// gives them. After one of them the live canvas is compared no more.
constexpr const char* kStoreRecall = "a picture store brought back (stores are not logged)";
constexpr const char* kBackgroundStore = "the canvas kept as the background (not logged)";
constexpr const char* kPaste = "a paste from the clipboard (not logged)";
constexpr const char* kScreenMove = "the screen dragged, wrapped or flown (not logged)";
constexpr const char* kPickUnder = "Alt takes the pen colour from the canvas (not logged)";
constexpr const char* kReplayDraws =
    "a replay drew on the live canvas, from the state it found (not the log's start)";
constexpr const char* kStrip =
    "a right click shows the tool strip, and snapshots cover only the canvas above it";

const char* const kTools[] = {"freebtn",        "linebtn",  "rectbtn",   "roundrectbtn",
                              "ellipsebtn",     "wavebtn",  "nuwavebtn", "Nuwavespecialbtn",
                              "Nuwavespec2btn", "wave3btn", "wave4btn",  "newtestbtn"};
const char* const kPenModes[] = {"SpeedButton20", "SpeedButton1",  "SpeedButton13",
                                 "SpeedButton14", "SpeedButton15", "SpeedButton16",
                                 "SpeedButton17", "SpeedButton18", "SpeedButton19"};
const char* const kCopyModes[] = {"SrcCopy", "DstInvert", "MergeCopy", "MergePaint", "NotSrcErase",
                                  "SrcAnd",  "SrcErase",  "SrcInvert", "SrcPaint"};
const char* const kColours[] = {"Label6",       "Label7",       "Label8",       "Label9",
                                "Label10",      "Label11",      "Label12",      "Label13",
                                "mix",          "redlbl",       "greenlbl",     "bluelbl",
                                "SpeedButton9", "SpeedButton8", "SpeedButton24"};
// Canvas commands on the tool bar and the strips: undo, negative, selection, zoom,
// clears, background, the specials and the auto switches.
const char* const kCommands[] = {"SpeedButton25", "SpeedButton29", "SpeedButton34", "SpeedButton37",
                                 "SpeedButton38", "SpeedButton42", "SpeedButton46", "Label5",
                                 "Label18",       "Label14",       "AVI_btn",       "SpeedButton2",
                                 "Label26",       "Label27",       "Wildbtn",       "autoOnOffBtn",
                                 "SpeedButton58", "Label21",       "Label23",       "SpeedButton21",
                                 "redobtn"};

class Session {
 public:
  // Every other seed makes a pure session: only actions the log keeps.
  explicit Session(const SessionOptions& o)
      : rng_(o.seed), actions_(o.actions), pure_(o.seed % 2 == 0) {
    const int size = Uniform(0, 9);
    platform_.screen = size < 7   ? ScreenSize{1024, 768}
                       : size < 9 ? ScreenSize{800, 600}
                                  : ScreenSize{1280, 800};
    // Frames and pictures are not kept: a session writes no files.
    platform_.saveError = "no files in a session";
    live_ = MakeProgram(platform_);
  }

  SessionReport Run() {
    for (int i = 0; i < actions_ && report_.logFault.empty(); ++i) {
      Act();
      CheckLog();
      ++report_.actions;
    }
    FinishReplay(*live_);
    if (editorOpen_) CloseEditor();
    // The rubber band of a selection is shown, not drawn: the user ends the
    // selection, as a zoom, an undo or a tool would.
    if (live_->drawing.selecting) {
      live_->main.FormKeyDown(kHomeKey, {});
      Note("key:Home");
    }
    CheckLog();
    if (report_.notCompared.empty() && report_.logFault.empty()) Compare();
    report_.entries = live_->log.Count();
    return std::move(report_);
  }

 private:
  static std::unique_ptr<Program> MakeProgram(FakePlatform& platform) {
    auto p = std::make_unique<Program>(platform, kFolder);
    p->StartUpHeadless();
    p->main.HideBottomPanels();
    return p;
  }

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(int percent) { return Uniform(0, 99) < percent; }
  template <size_t N>
  const char* Pick(const char* const (&names)[N]) {
    return names[Uniform(0, static_cast<int>(N) - 1)];
  }
  Point RandomPoint() {
    return Point{Uniform(0, platform_.screen.width - 1), Uniform(0, platform_.screen.height - 1)};
  }

  void Note(const std::string& word) { report_.trace += word + " "; }

  // An action that the log does not keep: the live canvas is compared with the
  // replay of the log as it stands, before the action runs, and never again.
  // In a pure session such an action is left out; in a mixed one it runs after the
  // comparison.
  bool Allow(const char* why) {
    if (pure_) return false;
    Diverge(why);
    return true;
  }
  void Diverge(const char* why) {
    // While a selection is shown its rubber band is on the canvas: nothing to compare.
    if (report_.notCompared.empty() && report_.logFault.empty() && !live_->drawing.selecting)
      Compare();
    report_.notCompared.insert(why);
  }

  // A click as the window sends it: the press, then the release and the click (a
  // button) or the click and the release (a label); only the left button clicks.
  static void ShellClick(Form& f, ControlId id, MouseButton button) {
    ControlEvent e;
    e.control = id;
    e.button = button;
    const bool click = button == MouseButton::kLeft;
    const bool isButton =
        f[id].kind == ControlKind::kSpeedButton || f[id].kind == ControlKind::kButton;
    for (EventKind kind :
         {EventKind::kMouseDown, isButton ? EventKind::kMouseUp : EventKind::kClick,
          isButton ? EventKind::kClick : EventKind::kMouseUp}) {
      if (kind == EventKind::kClick && !click) continue;
      e.kind = kind;
      f.Dispatch(e);
    }
  }
  void Click(Form& f, const char* name, MouseButton button = MouseButton::kLeft) {
    ShellClick(f, f.Id(name), button);
    Note(name);
  }
  void Change(Form& f, const char* name, int32_t value, std::string text = {}) {
    ControlEvent e;
    e.control = f.Id(name);
    e.kind = EventKind::kChange;
    e.value = value;
    e.text = std::move(text);
    f.Dispatch(e);
    Note(std::string(name) + "=" + std::to_string(value) + e.text);
  }

  void Stroke() {
    PaintLog& m = live_->main;
    MouseButton button = Chance(3) ? MouseButton::kRight : MouseButton::kLeft;
    Modifiers mods;
    mods.ctrl = Chance(2);
    mods.alt = Chance(2);
    if (mods.ctrl && !mods.alt && !Allow(kScreenMove)) mods.ctrl = false;
    if (mods.alt && !mods.ctrl && !Allow(kPickUnder)) mods.alt = false;
    if (button == MouseButton::kRight && !Allow(kStrip)) button = MouseButton::kLeft;
    Point p = RandomPoint();
    for (int i = Uniform(-2, 2); i > 0; --i) {
      m.FormMouseMove({}, RandomPoint());  // the pointer passing over the canvas
    }
    m.FormMouseDown(button, {}, p);
    const int moves = Uniform(0, 12);
    for (int i = 0; i < moves; ++i) {
      p = Chance(70) ? Point{std::clamp(p.x + Uniform(-120, 120), 0, platform_.screen.width - 1),
                             std::clamp(p.y + Uniform(-120, 120), 0, platform_.screen.height - 1)}
                     : RandomPoint();
      m.FormMouseMove(mods, p);
    }
    m.FormMouseUp(button, {}, p);
    Note("stroke" + std::to_string(moves));
  }

  void Key() {
    const auto keys = KeyTable();
    const KeyRow& row = keys[static_cast<size_t>(Uniform(0, static_cast<int>(keys.size()) - 1))];
    switch (row.command) {
      // Windows and panels are the shell's, and a panel changes what a snapshot
      // covers; help and the inspector draw nothing.
      case KeyCommand::kShowFilePanel:
      case KeyCommand::kHidePanels:
      case KeyCommand::kToolsPanel:
      case KeyCommand::kShowSettingsPanel:
      case KeyCommand::kHelp:
      case KeyCommand::kInspector:
        return;
      case KeyCommand::kColourEditor:
        OpenEditor();
        return;
      case KeyCommand::kRecallPageStore:
        if (!Allow(kStoreRecall)) return;
        break;
      case KeyCommand::kStorePicture:
        if ((row.key == 'n' || row.key == 'm') && !Allow(kStoreRecall)) return;
        if (row.key == 'B' && !Allow(kBackgroundStore)) return;
        // "CLEAR SCREEN TO WHITE" brings back store N, white until a picture is kept.
        if (row.key == 'N' && !Allow(kStoreRecall)) return;
        break;
      case KeyCommand::kPaste:
      case KeyCommand::kPasteWhole:
        if (!Allow(kPaste)) return;
        break;
      case KeyCommand::kFlyOn:
        if (!Allow(kScreenMove)) return;
        break;
      case KeyCommand::kStartReplay:
      case KeyCommand::kContinueReplay:
        if (!Allow(kReplayDraws)) return;
        break;
      case KeyCommand::kStopReplay:
        if (live_->Replaying() && !Allow(kReplayDraws)) return;
        break;
      case KeyCommand::kPenWidth:
        // The widest pens make a session slow without finding more.
        if (row.argument > 128 && !Chance(10)) return;
        break;
      default:
        break;
    }
    PaintLog& m = live_->main;
    Modifiers mods;
    mods.shift = row.shift == ShiftRule::kHeld;
    switch (row.handler) {
      case KeyHandler::kDown:
        m.FormKeyDown(row.key, mods);
        break;
      case KeyHandler::kPress:
        m.FormKeyPress(static_cast<char32_t>(row.key));
        break;
      case KeyHandler::kCtrlUp:
        mods.ctrl = true;
        m.FormKeyUp(row.key, mods);
        break;
      case KeyHandler::kAltUp:
        mods.alt = true;
        m.FormKeyUp(row.key, mods);
        break;
    }
    Note("key:" + KeyName(row));
  }

  void ReplayControl() {
    Form& f = live_->main.window.form;
    const PaintLogControls& c = live_->main.c;
    switch (Uniform(0, 11)) {
      case 0:
        if (f[c.LOGREPLAYBTN].visible && Allow(kReplayDraws)) Click(f, "LOGREPLAYBTN");
        break;
      case 1:
        if (Allow(kReplayDraws)) Click(f, "BTNPLAY");
        break;
      case 2:
        if (Allow(kReplayDraws)) Click(f, "BTNX2");
        break;
      case 3:
        Click(f, "btnzero");
        break;
      case 4:
        Click(f, "BTNSTOP");
        break;
      case 5:
        Click(f, "loopbtn");
        break;
      case 6:
        Click(f, "SpeedButton41");
        break;
      case 7:
        Change(f, "ScrollBar3", Uniform(0, 32));
        break;
      case 8:
        Change(f, "Edit3", 0, std::to_string(Uniform(0, live_->log.Count() + 20)));
        Click(f, "SpeedButton43");
        break;
      case 9:
        if (f[c.LogStopBtn].visible) Click(f, "LogStopBtn");
        break;
      case 10:
        if (f[c.newbtn].visible && Chance(20)) {
          Click(f, "newbtn");
          newLog_ = true;
        }
        break;
      default:
        Click(f, "SpeedButton3");  // SaveLog, the dialog cancelled
        break;
    }
  }

  // A run of steps back, then maybe forward again, as a child presses UNDO and REDO
  // over and over: by the buttons, Home and Ctrl+Y.
  void HistoryRun() {
    PaintLog& m = live_->main;
    Form& f = m.window.form;
    const int back = Uniform(0, 6), forward = Uniform(0, back + 2);
    for (int i = 0; i < back + forward; ++i) {
      const bool stepBack = i < back;
      if (Chance(70)) {
        Click(f, stepBack ? "SpeedButton25" : "redobtn");
      } else if (stepBack) {
        m.FormKeyDown(kHomeKey, {});
        Note("key:Home");
      } else {
        Modifiers ctrl;
        ctrl.ctrl = true;
        m.FormKeyUp('Y', ctrl);
        Note("key:Ctrl+Y");
      }
    }
  }

  void Ticks() {
    const int n = Uniform(1, 40);
    for (int i = 0; i < n; ++i) {
      platform_.clock += static_cast<uint64_t>(Uniform(1, 50));
      if (live_->timers.Enabled(TimerId::logplaytimer)) live_->TimerTick(TimerId::logplaytimer);
    }
    if (live_->timers.Enabled(TimerId::Timer4) && Chance(30)) live_->TimerTick(TimerId::Timer4);
    if (live_->timers.Enabled(TimerId::Timer2)) live_->TimerTick(TimerId::Timer2);
    Note("ticks" + std::to_string(n));
  }

  void Specials() {
    Form& f = live_->main.window.form;
    Change(f, "Edit1", 0, std::to_string(Uniform(0, 40000)));
    Change(f, "Edit2", 0, std::to_string(Uniform(0, 70000)));
    Click(f, "SpeedButton28");
  }

  void Waves() {
    Form& f = live_->main.window.form;
    const int which = Uniform(0, 2);
    if (which == 0) Change(f, "ScrollBar1", Uniform(1, 32));
    if (which == 1) Change(f, "ScrollBar2", Uniform(1, 32));
    if (which == 2) Change(f, "ScrollBar5", Uniform(-31, 31));
  }

  void OpenEditor() {
    if (Chance(50)) {
      Click(live_->main.window.form, "SpeedButton52");
    } else {
      live_->main.FormKeyDown(kF12, {});
      Note("key:F12");
    }
    editorOpen_ = true;
  }
  void CloseEditor() {
    live_->spaceColorForm.CloseColorEditor();
    editorOpen_ = false;
    Note("close-editor");
  }
  // A click on any control of the colour field editor but its file buttons.
  void EditorAction() {
    Form& f = live_->spaceColorForm.window.form;
    if (Chance(25)) {
      CloseEditor();
      return;
    }
    if (Chance(20)) {
      const char keys[] = "qwertyuiop[]asdfgh";
      live_->spaceColorForm.window.hooks.keyPress(
          static_cast<char32_t>(keys[Uniform(0, static_cast<int>(sizeof keys) - 2)]));
      Note("editor-key");
      return;
    }
    const ControlId id = Uniform(0, f.Count() - 1);
    const std::string& name = f[id].name;
    if (name == "Label1" && !Chance(10)) return;  // painting the field is slow
    if (name == "Label3") editorOpen_ = false;
    ShellClick(f, id, MouseButton::kLeft);
    Note("editor:" + name);
  }

  void Act() {
    if (editorOpen_) {
      EditorAction();
      return;
    }
    Form& f = live_->main.window.form;
    const int roll = Uniform(0, 99);
    if (roll < 30) {
      Stroke();
    } else if (roll < 38) {
      Click(f, Pick(kTools));
    } else if (roll < 43) {
      Click(f, Pick(kPenModes));
    } else if (roll < 47) {
      Click(f, Pick(kCopyModes));
    } else if (roll < 54) {
      Click(f, Pick(kColours), Chance(30) ? MouseButton::kRight : MouseButton::kLeft);
    } else if (roll < 64) {
      const char* name = Pick(kCommands);
      if (std::string(name) != "SpeedButton2" || Allow(kStoreRecall)) Click(f, name);
    } else if (roll < 74) {
      Key();
    } else if (roll < 80) {
      Waves();
    } else if (roll < 82) {
      Specials();
    } else if (roll < 84) {
      OpenEditor();
    } else if (roll < 90) {
      ReplayControl();
    } else if (roll < 95) {
      HistoryRun();
    } else {
      Ticks();
    }
  }

  // The log only grows: what it held after the last action is still there, entry
  // for entry, unless a new recording started.
  void CheckLog() {
    const ActionLog& log = live_->log;
    const int32_t count = log.Count();
    if (newLog_) {
      shadow_.clear();
      newLog_ = false;
    }
    const auto known = static_cast<int32_t>(shadow_.size());
    if (count < known) {
      report_.logFault = "the count fell from " + std::to_string(known) + " to " +
                         std::to_string(count) + " after: " + report_.trace;
      return;
    }
    for (int32_t i = 0; i < known; ++i) {
      const auto n = static_cast<size_t>(i + 1);
      if (log.Codes()[n] != shadow_[static_cast<size_t>(i)].first ||
          log.Values()[n] != shadow_[static_cast<size_t>(i)].second) {
        report_.logFault =
            "entry " + std::to_string(i + 1) + " was overwritten after: " + report_.trace;
        return;
      }
    }
    for (int32_t i = known; i < count; ++i) {
      const auto n = static_cast<size_t>(i + 1);
      shadow_.emplace_back(log.Codes()[n], log.Values()[n]);
    }
  }

  // Lets a running replay come to its end, with LOOP and REPEAT turned off first.
  void FinishReplay(Program& p) {
    if (!p.Replaying()) return;
    Form& f = p.main.window.form;
    if (p.replayState.loop) Click(f, "loopbtn");
    if (f[p.main.c.SpeedButton41].down) Click(f, "SpeedButton41");
    for (int i = 0; i < kReplayTickLimit && p.Replaying(); ++i)
      p.TimerTick(TimerId::logplaytimer);
  }

  // Replays the log as it stands into a fresh program at a random speed and
  // counts the pixels where its canvas and the live one differ.
  void Compare() {
    report_.compared = true;
    report_.differentPixels = ReplayDifference(*live_, Uniform(0, 32));
    if (report_.differentPixels != 0) report_.trace += "| compared here";
  }

  std::mt19937_64 rng_;
  int actions_;
  bool pure_;
  FakePlatform platform_;
  std::unique_ptr<Program> live_;
  SessionReport report_;
  std::vector<std::pair<uint32_t, int32_t>> shadow_;
  bool newLog_ = false;
  bool editorOpen_ = false;
};

}  // namespace

int64_t ReplayDifference(const Program& live, int32_t batch) {
  FakePlatform platform;
  platform.screen = {live.main.window.clientWidth, live.main.window.clientHeight};
  platform.saveError = "no files in a session";
  auto fresh = std::make_unique<Program>(platform, kFolder);
  fresh->StartUpHeadless();
  fresh->main.HideBottomPanels();
  const ActionLog& log = live.log;
  const auto count = static_cast<size_t>(std::clamp(log.Count(), 0, kLogCapacity));
  std::copy_n(log.Codes().begin(), count + 1, fresh->log.Codes().begin());
  std::copy_n(log.Values().begin(), count + 1, fresh->log.Values().begin());
  fresh->log.recordedSize = log.recordedSize;
  fresh->replay.StartReplay();
  fresh->replayState.batch = batch;
  for (int i = 0; i < kReplayTickLimit && fresh->Replaying(); ++i)
    fresh->TimerTick(TimerId::logplaytimer);
  const Surface& a = live.main.images.canvas;
  const Surface& b = fresh->main.images.canvas;
  const int64_t pixels = int64_t{a.Width()} * a.Height();
  int64_t differ = 0;
  for (int64_t i = 0; i < pixels; ++i)
    differ += a.Bits()[i] != b.Bits()[i];
  return differ;
}

SessionReport RunRandomSession(const SessionOptions& options) {
  Session session(options);
  return session.Run();
}

}  // namespace quillo::testing
