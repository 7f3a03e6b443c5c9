#include <gtest/gtest.h>

#include "canvas_fixture.h"

namespace quillo::testing {
namespace {

class PictureFileTest : public CanvasTest {
 protected:
  // A 100 x 100 picture in four coloured quarters, as a file the fake can open.
  void MakePictureFile(const std::string& path) {
    Surface& pic = platform.pictureFiles[path];
    ASSERT_TRUE(pic.Resize(100, 100));
    pic.FillRect({0, 0, 50, 50}, Rgb(255, 0, 0));
    pic.FillRect({50, 0, 100, 50}, Rgb(0, 255, 0));
    pic.FillRect({0, 50, 50, 100}, Rgb(0, 0, 255));
    pic.FillRect({50, 50, 100, 100}, Rgb(255, 255, 0));
  }
};

TEST_F(PictureFileTest, OpeningFillsTheCanvasAndUndoBringsTheDrawingBack) {
  MakePictureFile("/pics/quarters.png");
  Stroke({100, 100}, {400, 300});
  const Surface drawn = Copy(Canvas());
  const int32_t entries = Count();
  Main().ShowFilePanel();
  platform.openAnswers.push_back("/pics/quarters.png");
  Click("SpeedButton30");

  ASSERT_EQ(platform.openDialogs.size(), 1u);
  EXPECT_EQ(platform.openDialogs[0].filter.rfind("bitmap(*.bmp)|*.bmp|", 0), 0u);
  EXPECT_EQ(platform.openDialogs[0].defaultExtension, "bmp");
  EXPECT_TRUE(platform.openDialogs[0].mustExist);
  EXPECT_FALSE(Ctl("Panel2").visible);
  EXPECT_TRUE(Filled(Canvas(), {0, 0, 512, 384}, Rgb(255, 0, 0)));
  EXPECT_TRUE(Filled(Canvas(), {512, 0, 1024, 384}, Rgb(0, 255, 0)));
  EXPECT_TRUE(Filled(Canvas(), {0, 384, 512, 768}, Rgb(0, 0, 255)));
  EXPECT_TRUE(Filled(Canvas(), {512, 384, 1024, 768}, Rgb(255, 255, 0)));
  EXPECT_EQ(Differ(Canvas(), Backup()), 0);
  EXPECT_EQ(program->cubeForm.image.Width(), 100);
  EXPECT_EQ(program->cubeForm.pictureFile, "/pics/quarters.png");
  EXPECT_EQ(Count(), entries) << "opening a picture is not logged";

  Click("SpeedButton25");
  EXPECT_EQ(Differ(drawn, Canvas()), 0);
}

TEST_F(PictureFileTest, AFileThatIsNoPictureChangesNoPicture) {
  Stroke({100, 100}, {400, 300});
  Stroke({500, 100}, {800, 300});
  const Surface canvas = Copy(Canvas());
  const Surface backup = Copy(Backup());
  const Surface undo = Copy(UndoImage());
  const Surface inspector = Copy(program->cubeForm.image);
  platform.openAnswers.push_back("/pics/notes.txt");
  Click("SpeedButton30");
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_NE(platform.errors[0].find("/pics/notes.txt"), std::string::npos);
  EXPECT_EQ(Differ(canvas, Canvas()), 0);
  EXPECT_EQ(Differ(backup, Backup()), 0);
  EXPECT_EQ(Differ(undo, UndoImage()), 0);
  EXPECT_EQ(Differ(inspector, program->cubeForm.image), 0);
  EXPECT_TRUE(program->cubeForm.pictureFile.empty());

  // A cancelled dialog does nothing at all.
  Main().ShowFilePanel();
  Click("SpeedButton30");
  EXPECT_TRUE(Ctl("Panel2").visible);
  EXPECT_EQ(platform.errors.size(), 1u);
}

TEST_F(PictureFileTest, SavingWritesTheBackup) {
  Stroke({100, 100}, {400, 300});
  Press({600, 400});
  Move({700, 500});  // a stroke in progress is not in the file
  platform.saveAnswers.push_back("/pics/out.bmp");
  Click("SpeedButton31");
  ASSERT_EQ(platform.saveDialogs.size(), 1u);
  EXPECT_EQ(platform.saveDialogs[0].filter.rfind("bitmap(*.bmp)|*.bmp", 0), 0u);
  EXPECT_EQ(platform.saveDialogs[0].defaultExtension, "bmp");
  EXPECT_TRUE(platform.saveDialogs[0].confirmOverwrite);
  EXPECT_EQ(platform.saveDialogs[0].kind, FileKind::kPictures);
  ASSERT_EQ(platform.pictureFiles.count("/pics/out.bmp"), 1u);
  const Surface& file = platform.pictureFiles["/pics/out.bmp"];
  EXPECT_EQ(Differ(file, Backup()), 0);
  EXPECT_NE(file.Pixel({250, 200}), 0u);
  EXPECT_EQ(file.Pixel({650, 450}), 0u);
  EXPECT_NE(Canvas().Pixel({650, 450}), 0u) << "SavePic leaves the canvas alone";
}

TEST_F(PictureFileTest, SavingDuringAReplayWritesTheOlderPicture) {
  Stroke({100, 100}, {400, 300});
  Stroke({500, 300}, {900, 600});
  for (int i = 0; i < 3; ++i)
    program->RecordAction({}, lglinew, 32);
  program->replay.StartReplay();
  // Play until the first stroke is back on the canvas but not yet committed.
  while (program->log.position < 11) {
    ++program->log.position;
    program->replay.ReplayStep();
  }
  ASSERT_TRUE(program->Replaying());
  ASSERT_NE(Canvas().Pixel({250, 200}), 0u);
  ASSERT_EQ(Backup().Pixel({250, 200}), 0u);
  platform.saveAnswers.push_back("/pics/replay.png");
  Click("SpeedButton47");
  const Surface& file = platform.pictureFiles["/pics/replay.png"];
  EXPECT_EQ(Differ(file, Backup()), 0);
  EXPECT_EQ(file.Pixel({250, 200}), 0u);
  // SAVE PICTURE shows the backup again, as it does when cancelled.
  EXPECT_EQ(Differ(Canvas(), Backup()), 0);
  Canvas().FillRect({0, 0, 5, 5}, Rgb(3, 3, 3));
  Click("SpeedButton47");  // cancelled
  EXPECT_EQ(Canvas().Pixel({1, 1}), Backup().Pixel({1, 1}));
  EXPECT_EQ(platform.pictureFiles.size(), 1u);
}

TEST_F(PictureFileTest, AFailedSaveIsReported) {
  platform.saveError = "Cannot write /pics/full.bmp: no space left on the device";
  platform.saveAnswers.push_back("/pics/full.bmp");
  Click("SpeedButton31");
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_EQ(platform.errors[0], *platform.saveError);
}

}  // namespace
}  // namespace quillo::testing
