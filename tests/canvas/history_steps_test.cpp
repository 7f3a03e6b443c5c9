// UNDO, Home, REDO and Ctrl+Y through the main window: every kind of change steps
// back and forward, a new change ends the way forward, and the log replays it all.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "canvas_fixture.h"
#include "support/random_session.h"

namespace quillo::testing {
namespace {

constexpr int32_t kUp = 38;

class HistoryStepsTest : public CanvasTest {
 protected:
  void Back() { Click("SpeedButton25"); }
  void Forward() { Click("redobtn"); }
  void Select(Rect r) {
    program->drawing.selectionStart = {r.left, r.top};
    program->drawing.selectionEnd = {r.right, r.bottom};
    program->drawing.startPoint = {r.left, r.top};
  }
};

TEST_F(HistoryStepsTest, UndoThenRedoWalksThroughEveryKindOfChange) {
  Surface red;
  ASSERT_TRUE(red.Resize(40, 30));
  red.FillRect(red.Bounds(), Rgb(255, 0, 0));
  ASSERT_TRUE(platform.clipboardPicture.CopyFrom(red));
  platform.clipboardHasPicture = true;
  Surface photo;
  ASSERT_TRUE(photo.Resize(64, 48));
  photo.FillRect(Rect{0, 0, 32, 48}, Rgb(0, 90, 200));
  platform.pictureFiles["photo.bmp"] = std::move(photo);
  platform.openAnswers.push_back("photo.bmp");
  // Store M keeps a picture for the recall.
  Stroke({10, 10}, {1000, 700});
  Type('M');

  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"stroke",
       [&] {
         Stroke({100, 100}, {400, 300});
       }},
      {"clear", [&] { Click("Label18"); }},
      {"stroke",
       [&] {
         Stroke({600, 100}, {900, 500});
       }},
      {"negative",
       [&] {
         Select({50, 60, 500, 400});
         KeyDown(kNumpadMinus);
       }},
      {"zoom",
       [&] {
         Select({0, 0, 300, 200});
         KeyDown(kUp);
       }},
      {"recall", [&] { Type('m'); }},
      {"paste", [&] { CtrlKeyUp(kKeyZ); }},
      {"opened picture", [&] { program->pictureFiles.OpenPicture(); }},
      {"Copy ColorField", [&] { program->spaceColorForm.CopyColorField(); }},
      {"stroke after a white clear",
       [&] {
         Click("Label5");
         Stroke({200, 600}, {800, 650});
       }},
  };
  // The picture after each change, and how many steps back it lies from the start.
  std::vector<Surface> pictures;
  std::vector<size_t> marks;
  UndoHistory& history = Main().images.history;
  pictures.push_back(Copy(Canvas()));
  marks.push_back(history.StepsBack());
  for (const auto& [name, change] : changes) {
    change();
    ASSERT_GT(Differ(pictures.back(), Canvas()), 0) << name;
    ASSERT_GT(history.StepsBack(), marks.back()) << name;
    pictures.push_back(Copy(Canvas()));
    marks.push_back(history.StepsBack());
  }
  // Each change is one step, but the white clear and its stroke: a recall, then the
  // stroke.
  EXPECT_EQ(marks.back() - marks.front(), changes.size() + 1);

  for (size_t i = changes.size(); i > 0; --i) {
    while (history.StepsBack() > marks[i - 1])
      Back();
    EXPECT_EQ(Differ(pictures[i - 1], Canvas()), 0) << "back before " << changes[i - 1].first;
    EXPECT_EQ(Differ(pictures[i - 1], Backup()), 0) << "back before " << changes[i - 1].first;
  }
  for (size_t i = 1; i <= changes.size(); ++i) {
    while (history.StepsBack() < marks[i]) {
      const size_t before = history.StepsBack();
      if (i % 2) {
        Forward();
      } else {
        Modifiers ctrl;
        ctrl.ctrl = true;
        Main().FormKeyUp('Y', ctrl);
      }
      ASSERT_GT(history.StepsBack(), before);
    }
    EXPECT_EQ(Differ(pictures[i], Canvas()), 0) << "forward to " << changes[i - 1].first;
    EXPECT_EQ(Differ(pictures[i], Backup()), 0) << "forward to " << changes[i - 1].first;
  }

  // Two back, then a new change: nothing is left to redo.
  Back();
  Back();
  Stroke({300, 300}, {320, 500});
  const Surface drawn = Copy(Canvas());
  EXPECT_EQ(history.StepsForward(), 0u);
  Forward();
  EXPECT_EQ(Differ(drawn, Canvas()), 0);
}

// The log keeps every step as its own kind, and a replay of it, at any speed, takes
// the same steps: runs back and forward by the buttons and the keys, a redo cut off
// by a new stroke, steps past either end, and a clear in between.
TEST_F(HistoryStepsTest, StepsAreLoggedAndReplayAsTaken) {
  Modifiers ctrl;
  ctrl.ctrl = true;
  Stroke({100, 100}, {400, 300});
  Stroke({500, 100}, {800, 600});
  Stroke({50, 400}, {300, 700});
  int32_t entries = Count();
  Back();
  KeyDown(kHome);
  EXPECT_EQ(Count(), entries + 2);
  EXPECT_EQ(Code(Count()), lgcanvasop + 4096u * kCanvasOpStepBack);
  Forward();
  EXPECT_EQ(Code(Count()), lgcanvasop + 4096u * kCanvasOpStepForward);
  Stroke({600, 500}, {900, 700});
  Main().FormKeyUp('Y', ctrl);  // nothing left to redo, logged all the same
  EXPECT_EQ(Code(Count()), lgcanvasop + 4096u * kCanvasOpStepForward);
  for (int i = 0; i < 6; ++i)
    Back();  // past the first state
  Click("Label18");
  Back();
  Forward();
  Forward();
  Stroke({200, 200}, {260, 640});
  Back();
  for (int32_t batch : {0, 2, 9})
    EXPECT_EQ(ReplayDifference(*program, batch), 0) << "batch " << batch;
}

// Recordings made before the history hold kind 0: it still puts back the undo image,
// one level deep, and replays as it did.
TEST_F(HistoryStepsTest, KindZeroInOlderRecordingsKeepsItsOneLevel) {
  Stroke({100, 100}, {400, 300});
  const Surface afterFirst = Copy(Canvas());
  Stroke({500, 100}, {800, 600});
  program->canvasOps.Undo();
  EXPECT_EQ(Code(Count()), uint32_t{lgcanvasop});
  EXPECT_EQ(Differ(afterFirst, Canvas()), 0);
  program->canvasOps.Undo();
  EXPECT_EQ(Differ(afterFirst, Canvas()), 0) << "a second undo brings back the same picture";
  Stroke({50, 400}, {300, 700});
  Click("Label18");
  program->canvasOps.Undo();
  EXPECT_GT(Differ(afterFirst, Canvas()), 0);
  for (int32_t batch : {0, 2, 9})
    EXPECT_EQ(ReplayDifference(*program, batch), 0) << "batch " << batch;
}

}  // namespace
}  // namespace quillo::testing
