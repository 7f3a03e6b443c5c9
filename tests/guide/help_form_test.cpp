#include "guide/help_form.h"

#include "form/rich_text.h"
#include "guide/guide_fixture.h"

namespace quillo::testing {
namespace {

class HelpTest : public GuideTest {
 protected:
  void SetUp() override {
    GuideTest::SetUp();
    platform.screen = {1024, 768};
  }
  HelpForm& Help() { return program->helpForm; }
  Form& HelpControls() { return Help().window.form; }
  const Control& H(ControlId id) { return HelpControls()[id]; }
  void ClickHelp(ControlId id) { ClickOn(HelpControls(), id); }
  std::string Shown() {
    const auto& doc = H(Help().c.RichEdit1).document;
    return doc ? doc->PlainText() : "";
  }
  void WriteText(const char* name, const std::string& text) {
    std::ofstream(PathOf(name), std::ios::binary) << text;
  }
};

TEST_F(HelpTest, CreationTakesThePicturesThatAreThereAndCentresTheViewer) {
  WritePicture("keyhelp2.bmp", 300, 200, Rgb(1, 1, 1));
  WritePicture("littlblu.bmp", 400, 300, Rgb(2, 2, 2));
  StartUp();
  const WindowState& w = Help().window;
  EXPECT_EQ(w.caption, "Help");
  EXPECT_TRUE(w.borderless);
  EXPECT_FALSE(w.visible);
  EXPECT_EQ(w.color, Rgb(51, 0, 153));
  EXPECT_EQ(w.clientWidth, 1024);
  EXPECT_EQ(w.clientHeight, 768);
  EXPECT_EQ(H(Help().c.Image2).glyph, "keyhelp2.bmp");
  EXPECT_EQ(H(Help().c.Image2).bounds, (Rect{8, 88, 308, 288}));
  EXPECT_FALSE(H(Help().c.Image2).visible);
  EXPECT_EQ(H(Help().c.Image3).glyph, "littlblu.bmp");
  EXPECT_EQ(H(Help().c.Image3).bounds, (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(H(Help().c.RichEdit1).bounds, (Rect{192, 180, 832, 620}));
  EXPECT_FALSE(H(Help().c.RichEdit1).visible);
}

// On a taller screen the labels, the viewer with its text and the chart grow with the
// height, and the viewer stays centred.
TEST_F(HelpTest, OnATallerScreenTheLabelsViewerTextAndChartGrow) {
  platform.screen = {1920, 1080};
  WritePicture("keyhelp2.bmp", 300, 200, Rgb(1, 1, 1));
  StartUp();
  const WindowState& w = Help().window;
  EXPECT_EQ(w.clientWidth, 1920);
  EXPECT_EQ(w.clientHeight, 1080);
  const Control& intro = H(Help().c.Label1);
  EXPECT_EQ(intro.bounds, (Rect{30, 11, 330, 45}));
  EXPECT_EQ(intro.fontSize, 17);
  // 300 x 200 grown by 1080 / 768 where its corner moved to.
  EXPECT_EQ(H(Help().c.Image2).bounds, (Rect{15, 124, 437, 405}));
  EXPECT_EQ(H(Help().c.Image3).bounds, (Rect{0, 0, 1920, 1080}));
  // 640 x 440 grown by 1080 / 768, centred, and dropped by 16 grown alike.
  EXPECT_EQ(H(Help().c.RichEdit1).bounds, (Rect{510, 253, 1410, 872}));
  EXPECT_EQ(H(Help().c.RichEdit1).fontSize, 17);
}

TEST_F(HelpTest, EveryHelpFileIsOptional) {
  StartUp();
  EXPECT_EQ(H(Help().c.Image2).glyph, "");
  EXPECT_EQ(H(Help().c.Image3).glyph, "");
  ClickHelp(Help().c.Label1);
  EXPECT_TRUE(H(Help().c.RichEdit1).visible);
  EXPECT_EQ(Shown(), "");
  EXPECT_TRUE(platform.errors.empty());
}

TEST_F(HelpTest, HotKeysThenIntroductionSwapsTheChartForTheDocument) {
  WriteText("Introduction.rtf", "{\\rtf1 Hello\\par}");
  WriteText("MoreInformation.rtf", "{\\rtf1 More\\par}");
  StartUp();
  Help().Show();
  // The window opens on its introduction; opened again, it keeps the page it showed.
  EXPECT_TRUE(H(Help().c.RichEdit1).visible);
  EXPECT_EQ(Shown(), "Hello\n");
  ClickHelp(Help().c.Label3);
  Help().Close();
  Help().Show();
  EXPECT_EQ(Shown(), "More\n");
  ClickHelp(Help().c.Label2);
  EXPECT_TRUE(H(Help().c.Image2).visible);
  EXPECT_FALSE(H(Help().c.RichEdit1).visible);
  ClickHelp(Help().c.Label1);
  EXPECT_FALSE(H(Help().c.Image2).visible);
  EXPECT_TRUE(H(Help().c.RichEdit1).visible);
  EXPECT_EQ(Shown(), "Hello\n");
  ClickHelp(Help().c.Label3);
  EXPECT_EQ(Shown(), "More\n");

  // A document that has gone leaves the viewer as it was.
  std::filesystem::remove(PathOf("Introduction.rtf"));
  ClickHelp(Help().c.Label1);
  EXPECT_EQ(Shown(), "More\n");
  EXPECT_TRUE(platform.errors.empty());
}

TEST_F(HelpTest, ADocumentTooLargeIsReportedByNameAndTheViewerKeepsItsText) {
  WriteText("MoreInformation.rtf", "{\\rtf1 More\\par}");
  StartUp();
  ClickHelp(Help().c.Label3);
  std::filesystem::resize_file(PathOf("MoreInformation.rtf"), 9u << 20);
  ClickHelp(Help().c.Label3);
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_NE(platform.errors[0].find("MoreInformation.rtf"), std::string::npos);
  EXPECT_EQ(Shown(), "More\n");
}

TEST_F(HelpTest, CloseAndTutorialLeaveTheWindow) {
  StartUp();
  Help().Show();
  EXPECT_TRUE(Help().window.visible);
  ClickHelp(Help().c.Label4);
  EXPECT_FALSE(Help().window.visible);

  Help().Show();
  ClickHelp(Help().c.Label5);
  EXPECT_FALSE(Help().window.visible);
  EXPECT_TRUE(Visible(C().Panel8));
  EXPECT_TRUE(Visible(C().Label28));
  EXPECT_EQ(program->log.Count(), 8);
}

TEST_F(HelpTest, TheBottomPanelsHelpButtonsOpenTheHelpWindow) {
  StartUp();
  for (ControlId button : {C().memobtn, C().SpeedButton5, C().SpeedButton11}) {
    Help().Close();
    ClickMain(button);
    EXPECT_TRUE(Help().window.visible) << MainForm()[button].name;
  }
}

class TutorialTest : public GuideTest {
 protected:
  void SetUp() override {
    GuideTest::SetUp();
    WritePicture("littlblu.bmp", 400, 300, Rgb(2, 2, 2));
    StartUp();
    program->startScreen.RunTutorial();
  }
  // The tutorial messages that are set to show.
  std::vector<ControlId> Messages() {
    std::vector<ControlId> out;
    for (ControlId id : {C().Label28, C().Label29, C().Label31, C().Label32, C().Label33})
      if (Visible(id)) out.push_back(id);
    return out;
  }
  void Draw() {
    Main().FormMouseDown(MouseButton::kLeft, {}, {20, 20});
    Main().FormMouseMove({}, {60, 50});
    Main().FormMouseUp(MouseButton::kLeft, {}, {60, 50});
  }
};

TEST_F(TutorialTest, EachMessageIsAdvancedByTheActionItAsksFor) {
  EXPECT_EQ(Messages(), (std::vector<ControlId>{C().Label28}));
  Draw();
  EXPECT_EQ(Messages(), (std::vector<ControlId>{C().Label29}));
  program->replay.StartReplay();
  EXPECT_EQ(Messages(), (std::vector<ControlId>{C().Label31}));
  ClickMain(C().loopbtn);
  EXPECT_EQ(Messages(), (std::vector<ControlId>{C().Label32}));
  ClickMain(C().LogStopBtn);
  EXPECT_EQ(Messages(), (std::vector<ControlId>{C().Label33}));
  EXPECT_TRUE(Visible(C().Panel8));

  // The last message ends it, once the drawing may go: the strip goes, the canvas
  // and its backup are black.
  platform.questionAnswers.push_back(Answer::kDiscard);
  ClickMain(C().Label33);
  EXPECT_FALSE(Visible(C().Panel8));
  EXPECT_EQ(Main().images.canvas.Pixel({40, 35}), 0u);
  EXPECT_EQ(Main().images.Backup().Pixel({40, 35}), 0u);
}

TEST_F(TutorialTest, RunTwiceResetsTheCanvasAndTheLogEachTime) {
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    Draw();
    ASSERT_GT(program->log.Count(), 8);
    ASSERT_NE(Main().images.canvas.Pixel({40, 35}), 0u);
    platform.questionAnswers.push_back(Answer::kDiscard);
    ClickMain(C().Label24);
    EXPECT_EQ(program->log.Count(), 8);
    EXPECT_EQ(Main().images.canvas.Pixel({40, 35}), 0u);
    EXPECT_EQ(Messages(), (std::vector<ControlId>{C().Label28}));
    EXPECT_TRUE(Visible(C().Panel8));
  }
}

TEST_F(TutorialTest, LoopOutsideTheTutorialMovesTheMessagesUnseen) {
  program->startScreen.GoStraightToDrawing();
  ASSERT_FALSE(Visible(C().Panel8));
  MainForm().SetVisible(C().Label31, true);
  ClickMain(C().loopbtn);
  EXPECT_FALSE(Visible(C().Label31));
  EXPECT_TRUE(Visible(C().Label32));
  EXPECT_FALSE(MainForm().Showing(C().Label32));
}

}  // namespace
}  // namespace quillo::testing
