// The whole keyboard of the main window: every key in, its visible effect and log
// entries out.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>

#include "app/key_table.h"
#include "program_fixture.h"

namespace quillo::testing {
namespace {

enum : int32_t {
  kEnter = 13,
  kSpace = 32,
  kPageUp = 33,
  kPageDown = 34,
  kEnd = 35,
  kHome = 36,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
  kPad0 = 96,
  kPad5 = 101,
  kMultiply = 106,
  kAdd = 107,
  kSubtract = 109,
  kDecimal = 110,
  kDivide = 111,
  kF1 = 112,
  kF2 = 113,
  kF11 = 122,
  kF12 = 123,
};

class KeyboardTest : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->startScreen.GoStraightToDrawing();
  }
  void Down(int32_t vk, bool shift = false) {
    Modifiers m;
    m.shift = shift;
    Main().FormKeyDown(vk, m);
  }
  void Type(char ch) { Main().FormKeyPress(static_cast<char32_t>(ch)); }
  void Up(int32_t vk, bool ctrl, bool alt) {
    Modifiers m;
    m.ctrl = ctrl;
    m.alt = alt;
    Main().FormKeyUp(vk, m);
  }
  int32_t PenWidth() { return Main().images.canvas.PenWidth(); }
  bool Shown(const char* name) { return Ctl(name).visible; }
  Surface& Canvas() { return Main().images.canvas; }
  Color At(Point p) { return Canvas().Pixel(p); }
  // Entries appended since the count n, as code and value.
  std::vector<std::pair<uint32_t, int32_t>> Since(int32_t n) {
    std::vector<std::pair<uint32_t, int32_t>> out;
    for (int32_t i = n + 1; i <= Count(); ++i)
      out.emplace_back(Code(i) & 0xFF, Value(i));
    return out;
  }
};

// The twelve tool letters pick the tool whose button carries the row's word.
TEST_F(KeyboardTest, ToolLettersSelectTheirTools) {
  for (const KeyRow& row : KeyTable()) {
    if (row.command != KeyCommand::kSelectTool) continue;
    Type(static_cast<char>(row.key));
    ASSERT_EQ(program->tools.tool, row.argument) << KeyName(row);
    const Control& button = MainForm()[Main().c.toolButtons[row.argument]];
    EXPECT_EQ(button.hint, row.what) << KeyName(row) << " picked " << button.hint;
    EXPECT_EQ(button.color, kToolOn);
  }
}

TEST_F(KeyboardTest, PenWidthKeys) {
  Down(kPad5);
  EXPECT_EQ(PenWidth(), 16);
  int32_t n = Count();
  Down(kDivide);
  EXPECT_EQ(PenWidth(), 1024);
  EXPECT_EQ(Since(n), (std::vector<std::pair<uint32_t, int32_t>>{{lglinew, 1024}}));
  Down(kMultiply);
  EXPECT_EQ(PenWidth(), 512);
  Down(kRight);
  EXPECT_EQ(PenWidth(), 512);  // the arrows stop at 512
  Down(kLeft);
  EXPECT_EQ(PenWidth(), 511);
  n = Count();
  Down(kRight);
  EXPECT_EQ(PenWidth(), 512);
  EXPECT_EQ(Since(n), (std::vector<std::pair<uint32_t, int32_t>>{{lglinew, 512}}));
  EXPECT_EQ(Ctl("PenWlabel").caption, "512");
  Down(kPad0 + 1);
  EXPECT_EQ(PenWidth(), 1);
  n = Count();
  Down(kLeft);
  EXPECT_EQ(PenWidth(), 1);
  EXPECT_EQ(Count(), n);
  // A pad digit also types its digit, which no row takes.
  Type('5');
  EXPECT_EQ(PenWidth(), 1);
  for (int i = 1; i <= 9; ++i) {
    Down(kPad0 + i);
    EXPECT_EQ(PenWidth(), 1 << (i - 1));
  }
}

TEST_F(KeyboardTest, PanelKeys) {
  ASSERT_TRUE(Shown("Panel1"));
  Canvas().FillRect(Rect{0, 0, 40, 40}, Rgb(1, 2, 3));
  Down(kPad0);  // Panel1 shown: only the strips move, the backup stays
  EXPECT_NE(Main().images.Backup().Pixel({5, 5}), Rgb(1, 2, 3));
  EXPECT_TRUE(Shown("Panel1"));
  Down(kEnter);
  EXPECT_TRUE(Shown("Panel2"));
  EXPECT_FALSE(Shown("Panel1"));
  Down(kAdd);
  EXPECT_TRUE(Shown("Panel5"));
  EXPECT_FALSE(Shown("Panel2"));
  Down(kSpace);
  EXPECT_FALSE(program->BottomPanelVisible());
  const int32_t n = Count();
  Down(kSpace);  // nothing shown: nothing happens
  EXPECT_FALSE(program->BottomPanelVisible());
  EXPECT_EQ(Count(), n);
  Down(kF11);  // the inspector needs a strip shown
  EXPECT_FALSE(program->cubeForm.window.visible);
  Canvas().FillRect(Rect{0, 0, 40, 40}, Rgb(1, 2, 3));
  Down(kPad0);  // nothing shown: the canvas becomes the backup first
  EXPECT_EQ(Main().images.Backup().Pixel({5, 5}), Rgb(1, 2, 3));
  EXPECT_TRUE(Shown("Panel1"));
  Down(kF11);
  EXPECT_TRUE(program->cubeForm.window.visible);
}

TEST_F(KeyboardTest, WindowKeys) {
  Down(kF1);
  EXPECT_TRUE(program->helpForm.window.visible);
  Down(kF12);
  EXPECT_TRUE(program->spaceColorForm.window.visible);
  EXPECT_FALSE(program->keyColorRecording);
}

TEST_F(KeyboardTest, ColourKeysAndSpecSteps) {
  program->keyColours.table[1] = {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)};
  Type('w');
  EXPECT_EQ(program->field.corner, Rgb(1, 2, 3));
  EXPECT_EQ(program->field.horizontal, Rgb(7, 8, 9));
  Type(']');
  EXPECT_TRUE(program->field.centerMode);
  Type('[');
  EXPECT_FALSE(program->field.centerMode);
  program->SetFieldColors(Rgb(100, 100, 100), Rgb(100, 100, 100), Rgb(100, 100, 100));
  Type('f');
  EXPECT_EQ(program->field.corner, Rgb(101, 101, 101));
  Type('d');
  EXPECT_EQ(program->field.corner, Rgb(100, 100, 100));

  const int32_t index = program->specs.index;
  Type('>');
  EXPECT_EQ(program->specs.index, (index + 1) % 128);
  Type('<');
  Type('<');
  EXPECT_EQ(program->specs.index, (index + 127) % 128);
}

TEST_F(KeyboardTest, PictureStoresAndPageStores) {
  const int32_t h = program->VisibleHeight();
  Canvas().FillRect(Rect{0, 0, 1024, h}, Rgb(200, 0, 0));
  Down(kPageUp, /*shift=*/true);
  Canvas().FillRect(Rect{0, 0, 1024, h}, Rgb(0, 0, 200));
  Down(kPageUp);
  EXPECT_EQ(At({10, 10}), Rgb(200, 0, 0));
  EXPECT_EQ(Main().images.Backup().Pixel({10, 10}), Rgb(200, 0, 0));  // the new backup
  Down(kPageDown, true);
  Canvas().FillRect(Rect{0, 0, 1024, h}, 0);
  Down(kPageDown);
  EXPECT_EQ(At({10, 10}), Rgb(200, 0, 0));

  // "B" keeps the picture as the background and logs nothing; "b" logs its recall.
  int32_t n = Count();
  Type('B');
  EXPECT_EQ(Count(), n);
  Canvas().FillRect(Rect{0, 0, 1024, h}, 0);
  Type('b');
  EXPECT_EQ(At({10, 10}), Rgb(200, 0, 0));
  EXPECT_EQ(Since(n), (std::vector<std::pair<uint32_t, int32_t>>{
                          {lgbackfield, static_cast<int32_t>(program->drawing.copyMode.code)}}));

  Canvas().FillRect(Rect{0, 0, 1024, h}, Rgb(0, 99, 0));
  Type('N');
  Canvas().FillRect(Rect{0, 0, 1024, h}, 0);
  Type('n');
  EXPECT_EQ(At({10, 10}), Rgb(0, 99, 0));
  Canvas().FillRect(Rect{0, 0, 1024, h}, Rgb(9, 9, 9));
  Type('M');
  Canvas().FillRect(Rect{0, 0, 1024, h}, 0);
  Type('m');
  EXPECT_EQ(At({10, 10}), Rgb(9, 9, 9));
}

TEST_F(KeyboardTest, ClearNegativeUndoAndSelection) {
  Canvas().FillRect(Rect{0, 0, 100, 100}, Rgb(10, 20, 30));
  program->SaveUndo();
  Down(kDecimal);
  EXPECT_EQ(At({10, 10}), 0u);

  // End enters selection mode with its entry; Home ends it without undoing.
  int32_t n = Count();
  Down(kEnd);
  EXPECT_TRUE(program->drawing.selecting);
  EXPECT_EQ(Since(n), (std::vector<std::pair<uint32_t, int32_t>>{{lgZoom, 0}}));
  Down(kHome);
  EXPECT_FALSE(program->drawing.selecting);

  // Ctrl+A selects the visible canvas; pad minus turns it negative.
  Canvas().FillRect(Rect{0, 0, 1024, 768}, Rgb(10, 20, 30));
  Up('A', true, false);
  EXPECT_EQ(program->drawing.selectionEnd, (Point{1024, program->VisibleHeight()}));
  Down(kSubtract);
  EXPECT_EQ(At({10, 10}), Rgb(245, 235, 225));

  // Home outside a selection steps back, logged as UNDO is.
  program->SaveUndo();
  Canvas().FillRect(Rect{0, 0, 100, 100}, Rgb(1, 1, 1));
  program->SaveUndo();
  n = Count();
  Down(kHome);
  EXPECT_EQ(At({10, 10}), Rgb(245, 235, 225));
  EXPECT_EQ(Count(), n + 1);
  EXPECT_EQ(Code(Count()), lgcanvasop + 4096u * kCanvasOpStepBack);
}

TEST_F(KeyboardTest, ClipboardKeys) {
  // Ctrl+Z without a picture on the clipboard changes nothing.
  Canvas().FillRect(Rect{0, 0, 1024, 768}, Rgb(5, 5, 5));
  Up('Z', true, false);
  EXPECT_EQ(At({500, 500}), Rgb(5, 5, 5));

  // Copy a red selection, then paste it over the whole canvas with Ctrl+Z.
  Canvas().FillRect(Rect{0, 0, 64, 48}, Rgb(250, 0, 0));
  program->drawing.selectionStart = {0, 0};
  program->drawing.selectionEnd = {64, 48};
  Up('C', true, false);
  ASSERT_TRUE(platform.clipboardHasPicture);
  Up('Z', true, false);
  EXPECT_EQ(At({500, 500}), Rgb(250, 0, 0));
  // Ctrl+V pastes into the selection.
  Canvas().FillRect(Rect{0, 0, 1024, 768}, 0);
  program->drawing.selectionStart = {100, 100};
  program->drawing.selectionEnd = {200, 150};
  Up('V', true, false);
  EXPECT_EQ(At({150, 120}), Rgb(250, 0, 0));
  EXPECT_EQ(At({250, 120}), 0u);
  // Without Ctrl the release does nothing.
  Canvas().FillRect(Rect{0, 0, 1024, 768}, 0);
  Up('Z', false, false);
  EXPECT_EQ(At({500, 500}), 0u);
}

TEST_F(KeyboardTest, ArrowsZoomFromTheSelectionDragsPressPoint) {
  Canvas().FillRect(Rect{0, 0, 1024, 768}, 0);
  Canvas().FillRect(Rect{100, 100, 150, 150}, Rgb(0, 200, 0));
  program->SaveUndo();
  Down(kEnd);
  Press({100, 100});
  Move({150, 150});
  Release({150, 150});
  ASSERT_EQ(program->drawing.startPoint, (Point{100, 100}));
  Down(kUp);
  EXPECT_EQ(At({10, 10}), Rgb(0, 200, 0));
  EXPECT_EQ(At({1000, 600}), Rgb(0, 200, 0));
}

TEST_F(KeyboardTest, ReplayKeys) {
  while (Count() < 100)
    program->RecordAction({}, lgcolor, Count());
  Type('v');
  EXPECT_TRUE(program->Replaying());
  EXPECT_FALSE(program->drawing.recording);
  Type('x');
  EXPECT_FALSE(program->Replaying());
  EXPECT_TRUE(Ctl("BTNSTOP").down);
  Type('c');
  EXPECT_TRUE(program->Replaying());
  EXPECT_TRUE(Ctl("BTNPLAY").down);
  Type('x');
  Type('z');
  EXPECT_EQ(program->log.position, 0);
  EXPECT_EQ(Ctl("lblj").caption, "0");
  EXPECT_EQ(Ctl("Label16").caption, "color");  // the button keeps its caption
  // At the end of the log "c" presses STOP instead.
  program->log.position = program->replayState.length;
  Type('c');
  EXPECT_FALSE(program->Replaying());
  EXPECT_TRUE(Ctl("BTNSTOP").down);

  Down(kF2);
  EXPECT_TRUE(program->replayState.frameExport);
  EXPECT_EQ(program->replayState.frameNumber, 1);
  EXPECT_TRUE(Ctl("AVI_btn").down);
  Down(kF2);
  EXPECT_FALSE(program->replayState.frameExport);
  EXPECT_FALSE(Ctl("AVI_btn").down);
}

// Alt's table runs after Ctrl's, so Ctrl+Alt+Z pastes and starts flying.
TEST_F(KeyboardTest, FlyKeysAndCtrlAltZ) {
  Up('Z', false, true);
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer2));
  Up('X', false, true);
  EXPECT_FALSE(program->timers.Enabled(TimerId::Timer2));
  Canvas().FillRect(Rect{0, 0, 64, 48}, Rgb(0, 0, 250));
  program->drawing.selectionStart = {0, 0};
  program->drawing.selectionEnd = {64, 48};
  Up('C', true, false);
  Up('Z', true, true);
  EXPECT_TRUE(program->timers.Enabled(TimerId::Timer2));
  EXPECT_EQ(At({700, 400}), Rgb(0, 0, 250));
}

}  // namespace
}  // namespace quillo::testing
