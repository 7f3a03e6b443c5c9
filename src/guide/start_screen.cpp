#include "guide/start_screen.h"

#include <array>
#include <string>

#include "app/program.h"
#include "form/layout.h"
#include "platform/whole_file.h"

namespace quillo {
namespace {

using namespace layout;

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 465;
constexpr int32_t kDesignScreenHeight = 768;
constexpr int8_t kChoiceFont = 15;  // 20 pixels of our wider face, as wide as 24 of Arial
constexpr Color kTeal = Rgb(0, 128, 128);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kOrange = Rgb(255, 136, 0);

constexpr auto kRows = std::to_array<LayoutRow>({
    {"Image1", ControlKind::kImage, nullptr, 96, 80, 496, 304, "", ""},
    {"Label1", L, nullptr, 8, 88, 217, 30, "~ Run Tutorial ~", "", Rgb(0, 221, 51), kWhite,
     kChoiceFont},
    {"Label2", L, nullptr, 312, 8, 205, 30, "+ Run Demo +", "", Rgb(0, 153, 255), kWhite,
     kChoiceFont},
    {"Label3", L, nullptr, 352, 424, 282, 30, "Go straight to drawing", "", kRed, kWhite,
     kChoiceFont},
    {"Label4", L, nullptr, 214, 384, 123, 30, "# Help #", "", kTeal, kWhite, kChoiceFont},
    {"Image2", ControlKind::kImage, nullptr, 0, 0, 64, 48, "", "", kNoColor, kNoColor, 7, kHidden},
    {"Label5", L, nullptr, 8, 424, 200, 30, "Continue drawing",
     "The drawing from last time, as you left it", kOrange, kWhite, kChoiceFont, kHidden},
    {"Image3", ControlKind::kImage, nullptr, 8, 352, 80, 60, "", "The drawing from last time",
     kNoColor, kNoColor, 7, kHidden},
});

}  // namespace

StartScreen::StartScreen(Program& program) : p_(program) {
  window.id = WindowId::kForm2;
  window.className = "TForm2";
  window.caption = "Quillo ";
  window.modal = true;
  window.color = kBlack;
  AddLayout(window.form, kRows);
  c = Ids{RowId(kRows, "Image1"), RowId(kRows, "Label1"), RowId(kRows, "Label2"),
          RowId(kRows, "Label3"), RowId(kRows, "Label4"), RowId(kRows, "Image2"),
          RowId(kRows, "Label5"), RowId(kRows, "Image3")};
  Form& f = window.form;
  f.On(c.Label1, EventKind::kClick, [this](const ControlEvent&) { RunTutorial(); });
  f.On(c.Label2, EventKind::kClick, [this](const ControlEvent&) { RunDemo(); });
  f.On(c.Label3, EventKind::kClick, [this](const ControlEvent&) { GoStraightToDrawing(); });
  f.On(c.Label4, EventKind::kClick, [this](const ControlEvent&) { ShowHelp(); });
  f.On(c.Label5, EventKind::kClick, [this](const ControlEvent&) { ContinueDrawing(); });
  f.On(c.Image3, EventKind::kClick, [this](const ControlEvent&) { ContinueDrawing(); });
}

void StartScreen::FormCreate() {
  const ScreenSize screen = p_.platform.GetScreenSize();
  int32_t width = kWidth;
  int32_t height = kHeight;
  // On a screen taller than the design's the window grows with it, as the others do;
  // a smaller one keeps the size its captions need.
  if (screen.height > kDesignScreenHeight) {
    const int32_t grownWidth = MulDiv(kWidth, screen.height, kDesignScreenHeight);
    const int32_t grownHeight = MulDiv(kHeight, screen.height, kDesignScreenHeight);
    ScaleFormToScreen(window.form, grownWidth, grownHeight, width, height);
  }
  window.clientWidth = width;
  window.clientHeight = height;
  window.left = (screen.width - width) / 2;
  window.top = (screen.height - height) / 2;
  ++window.revision;
  p_.framePicture.Resize(64, 48);
}

void StartScreen::Initialise() {
  if (IsFile(p_.programDir + "newquillo4.bmp")) window.form.SetGlyph(c.Image1, "newquillo4.bmp");
  p_.colourMixer.keyColorIndex = 0;
  p_.drawing.recording = true;
  p_.tools.tool = dtfree;
  p_.keyColours.LoadStartupColourFiles();
  p_.toolSelection.LoadStartupSpecials("nuspec.spl", false);
  p_.toolSelection.PickRandomSpec();
  p_.replay.RecordLogHeader();
  p_.tools.autoToolChange = true;
  if (IsFile(p_.programDir + "littlblu.bmp")) window.Show(true);
  p_.autosave.WatchStartScreen();
}

void StartScreen::ResetToDrawing() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  // A new recording ends any replay of the old one.
  if (p_.Replaying()) p_.replay.StopReplay();
  p_.ApplyKeyColor('p');
  f.SetVisible(m.c.newbtn, false);
  f.SetVisible(m.c.LOGREPLAYBTN, false);
  p_.drawing.recording = true;
  m.images.canvas.SetPenMode(PenMode::kCopy);
  m.images.canvas.SetCopyMode(kSrcCopy);
  p_.drawing.penMode = 4;
  p_.drawing.copyMode = kSrcCopy;
  p_.canvasOps.ClearCanvas();
  p_.tools.tool = dtfree;
  m.images.canvas.SetPenWidth(32);
  p_.replay.RecordLogHeader();
  p_.toolSelection.HighlightToolButton();
  p_.replayState.loop = false;
  f.SetFontColor(m.c.loopbtn, Rgb(0, 255, 0));
  for (ControlId label : {m.c.Label28, m.c.Label29, m.c.Label31, m.c.Label32, m.c.Label33})
    f.SetVisible(label, false);
}

void StartScreen::RunTutorial() {
  if (!p_.tutorial.Start()) return;
  Close();
}

void StartScreen::RunDemo() {
  PaintLog& m = p_.main;
  // A window system that does not let programs move the pointer leaves it where it is.
  p_.platform.MovePointer(Point{0, 0});
  p_.replayState.demoRunning = true;
  ResetToDrawing();
  p_.fieldPicture.CopyRect(Rect{0, 0, m.window.clientWidth, m.window.clientHeight}, p_.fieldCache,
                           Rect{0, 0, 399, 299});
  m.window.form.SetVisible(m.c.Panel8, false);
  p_.timers.Enable(TimerId::Timer4, false);

  if (!p_.logFiles.ReadDemoLog()) {
    // No demonstration runs, so nothing is left to end it and clear the flag.
    p_.replayState.demoRunning = false;
    return;
  }
  p_.replay.StartDemo(8);
  Close();
}

void StartScreen::ShowHelp() {
  p_.helpForm.Show();
  Close();
}

void StartScreen::GoStraightToDrawing() {
  ResetToDrawing();
  p_.main.window.form.SetVisible(p_.main.c.Panel8, false);
  Close();
}

void StartScreen::OfferKeptDrawing(const Surface& picture) {
  Form& f = window.form;
  const Rect box = Normalized(f[c.Image3].bounds);
  if (!miniature_.Resize(static_cast<int32_t>(box.Width()), static_cast<int32_t>(box.Height())))
    return;
  miniature_.CopyRect(miniature_.Bounds(), picture, picture.Bounds(), kSrcCopy);
  // Framed in the choice's colour, so that a dark drawing shows where it is.
  const int32_t w = miniature_.Width(), h = miniature_.Height();
  for (const Rect& side :
       {Rect{0, 0, w, 1}, Rect{0, h - 1, w, h}, Rect{0, 0, 1, h}, Rect{w - 1, 0, w, h}})
    miniature_.FillRect(side, f[c.Label5].color);
  f.SetPicture(c.Image3, &miniature_);
  f.SetVisible(c.Image3, true);
  f.SetVisible(c.Label5, true);
}

void StartScreen::ContinueDrawing() {
  ResetToDrawing();
  p_.main.window.form.SetVisible(p_.main.c.Panel8, false);
  window.Show(false);
  p_.autosave.AfterStartChoice(KeptDrawingChoice::kContinue);
}

void StartScreen::Close() {
  window.Show(false);
  p_.autosave.AfterStartChoice();
}

}  // namespace quillo
