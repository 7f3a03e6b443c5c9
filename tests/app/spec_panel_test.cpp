#include "app/spec_panel.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "tools/specials.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

// A recording program in a fresh temporary folder.
class SpecPanelTest : public ProgramTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-specpanel-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
    program = std::make_unique<Program>(platform, dir_);
    program->Create();
    program->drawing.recording = true;
    // The help window's creation turns Wild on; these cases start with it off.
    program->tools.wild = false;
  }
  void TearDown() override {
    program.reset();
    fs::remove_all(dir_);
  }

  const std::string& Caption(const char* name) { return Ctl(name).caption; }
  void Type(const char* edit, const std::string& text) {
    ControlEvent e;
    e.control = MainForm().Find(edit);
    e.kind = EventKind::kChange;
    e.text = text;
    MainForm().Dispatch(e);
  }
  void Enter(const std::string& a, const std::string& b) {
    Type("Edit1", a);
    Type("Edit2", b);
    Click("SpeedButton28");
  }
  std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  SpecTable& Specs() { return program->specs; }
  ToolState& Tools() { return program->tools; }

  std::string dir_;
};

TEST_F(SpecPanelTest, EveryStepperWrapsAtTheEndsShowsAndRecords) {
  Specs().a[127] = 700;
  Specs().b[127] = 900;
  Specs().a[0] = 3;
  Specs().b[0] = 5;
  Specs().a[1] = 11;
  Specs().b[1] = 13;

  // Both "down" controls go from 0 to 127, both "up" controls from 127 to 0.
  for (const char* down : {"Label26", "SpeedButton26"}) {
    Specs().index = 0;
    Click(down);
    EXPECT_EQ(Specs().index, 127) << down;
    EXPECT_EQ(Caption("Label35"), "127") << down;
    EXPECT_EQ(Caption("SpecLBL"), "127") << down;
    EXPECT_EQ(Caption("Label36"), "700") << down;
    EXPECT_EQ(Caption("Label41"), "900") << down;
    EXPECT_EQ(Tools().specA, 700) << down;
    EXPECT_EQ(Value(Count()), 700 * 65536 + 900) << down;
  }
  for (const char* up : {"Label27", "SpeedButton27"}) {
    Specs().index = 127;
    Click(up);
    EXPECT_EQ(Specs().index, 0) << up;
    EXPECT_EQ(Caption("SpecLBL"), "0") << up;
    EXPECT_EQ(Value(Count()), 196613) << up;
    Click(up);
    EXPECT_EQ(Specs().index, 1) << up;
    EXPECT_EQ(Tools().specB, 13) << up;
  }
  EXPECT_EQ(Count(), 6);
  for (int i = 1; i <= Count(); ++i)
    EXPECT_EQ(Code(i), uint32_t{lgNuWaveSpecial});
}

TEST_F(SpecPanelTest, EnterStoresHeldValuesAndRecordsTheSpecCodeWithWildsSign) {
  Specs().index = 9;
  Enter("3", "5");
  EXPECT_EQ(Specs().a[9], 3);
  EXPECT_EQ(Specs().b[9], 5);
  EXPECT_EQ(Tools().specA, 3);
  EXPECT_EQ(Tools().specB, 5);
  EXPECT_EQ(Caption("Label36"), "3");
  EXPECT_EQ(Caption("Label41"), "5");
  EXPECT_EQ(Caption("Edit1"), "0");
  EXPECT_EQ(Caption("Edit2"), "0");
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Code(1), uint32_t{lgNuWaveSpecial});
  EXPECT_EQ(Value(1), 196613);

  Tools().wild = true;
  Enter("3", "5");
  EXPECT_EQ(Value(2), -196613);

  // A number beyond a field's range is refused by name, and nothing is stored or
  // logged; the limits themselves are taken.
  Tools().wild = false;
  Enter("123456", "99999");
  Enter("40000", "1234567");
  ASSERT_EQ(platform.errors.size(), 2u);
  EXPECT_EQ(platform.errors[0], "Spec A takes a whole number from 0 to 32767, not \"123456\".");
  EXPECT_EQ(platform.errors[1], "Spec A takes a whole number from 0 to 32767, not \"40000\".");
  EXPECT_EQ(Specs().a[9], 3);
  Enter("32767", "99999");
  ASSERT_EQ(platform.errors.size(), 3u);
  EXPECT_EQ(platform.errors[2], "Spec B takes a whole number from 0 to 65535, not \"99999\".");
  EXPECT_EQ(Specs().a[9], 3);
  EXPECT_EQ(Count(), 2);
  Enter("32767", "65535");
  EXPECT_EQ(Specs().a[9], 32767);
  EXPECT_EQ(Specs().b[9], 65535);
  EXPECT_EQ(Value(3), 32767 * 65536 + 65535);

  // Recording off: the table changes, nothing is logged.
  program->drawing.recording = false;
  Enter("7", "8");
  EXPECT_EQ(Specs().a[9], 7);
  EXPECT_EQ(Count(), 3);
}

TEST_F(SpecPanelTest, EntryFieldsKeepDigitsAndAnEmptyFieldStopsWithAMessageNamingIt) {
  Type("Edit1", "1a2-3 .4");
  EXPECT_EQ(Caption("Edit1"), "1234");
  Type("Edit2", "x");
  EXPECT_EQ(Caption("Edit2"), "");

  Specs().index = 4;
  Specs().a[4] = 50;
  Specs().b[4] = 60;
  // Only B empty: nothing is stored, and the message names the field.
  Click("SpeedButton28");
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_EQ(platform.errors[0], "Spec B takes a whole number from 0 to 65535, not nothing.");
  EXPECT_EQ(Specs().a[4], 50);
  EXPECT_EQ(Specs().b[4], 60);
  EXPECT_EQ(Caption("Edit1"), "1234");
  EXPECT_EQ(Count(), 0);

  Type("Edit1", "");
  Type("Edit2", "77");
  Click("SpeedButton28");
  ASSERT_EQ(platform.errors.size(), 2u);
  EXPECT_EQ(platform.errors[1], "Spec A takes a whole number from 0 to 32767, not nothing.");
  EXPECT_EQ(Specs().a[4], 50);
  EXPECT_EQ(Specs().b[4], 60);
  EXPECT_EQ(Count(), 0);
}

TEST_F(SpecPanelTest, WildFollowsItsButtonAndLogsTwoCodesKeepingTheIndex) {
  Specs().index = 20;
  Specs().a[20] = 3;
  Specs().b[20] = 5;
  Specs().a[21] = 1;
  Click("Wildbtn");
  EXPECT_TRUE(Ctl("Wildbtn").down);
  EXPECT_TRUE(Tools().wild);
  EXPECT_EQ(Specs().index, 20);
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Value(1), -(1 * 65536));
  EXPECT_EQ(Value(2), -196613);

  Click("Wildbtn");
  EXPECT_FALSE(Ctl("Wildbtn").down);
  EXPECT_FALSE(Tools().wild);
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Value(4), 196613);
}

TEST_F(SpecPanelTest, PhaseSliderAtItsLowEnd) {
  ControlEvent e;
  e.control = MainForm().Find("ScrollBar5");
  e.kind = EventKind::kChange;
  e.value = -31;
  MainForm().Dispatch(e);
  EXPECT_DOUBLE_EQ(Tools().wavePhase, -3.1);
  EXPECT_EQ(Caption("Label40"), "-31");
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Code(1), uint32_t{Lgwavedata});
  EXPECT_EQ(Value(1), 1969);
}

TEST_F(SpecPanelTest, GetSpecLoadsTheTableButTheSpecWaitsForTheNextStep) {
  SpecTable file;
  file.a[0] = 40000;  // above 32767: its spec code would overflow into Wild's sign
  file.b[0] = 2;
  file.a[1] = 6;
  file.b[1] = 7;
  ASSERT_EQ(WriteSpecialsFile(dir_ + "other.spl", file), std::nullopt);
  Specs().index = 0;
  Tools().specA = 3;
  Tools().specB = 5;
  Tools().wild = true;
  MainForm().SetCaption(MainForm().Find("Label36"), "3");

  platform.openAnswers.push_back(dir_ + "other.spl");
  Click("SpeedButton35");
  ASSERT_EQ(platform.openDialogs.size(), 1u);
  EXPECT_EQ(platform.openDialogs[0].filter, "Specials|*.spl");
  EXPECT_EQ(platform.openDialogs[0].kind, FileKind::kDocuments);
  EXPECT_EQ(platform.openDialogs[0].defaultExtension, "spl");
  EXPECT_TRUE(platform.openDialogs[0].mustExist);
  EXPECT_EQ(Specs().a[0], 32767);
  EXPECT_EQ(Specs().b[1], 7);
  EXPECT_EQ(Tools().specA, 3);
  EXPECT_EQ(Tools().specB, 5);
  EXPECT_TRUE(Tools().wild);
  EXPECT_EQ(Caption("Label36"), "3");
  EXPECT_EQ(Count(), 0);

  Click("Label27");
  EXPECT_EQ(Tools().specA, 6);
  EXPECT_EQ(Tools().specB, 7);

  // Cancelled: nothing read, nothing said.
  Click("SpeedButton35");
  EXPECT_EQ(Specs().a[0], 32767);
  EXPECT_TRUE(platform.errors.empty());

  // Entry 0, the held A, is logged as a positive code with Wild off, and replays so.
  Tools().wild = false;
  program->drawing.recording = true;
  Click("Label26");
  EXPECT_EQ(Tools().specA, 32767);
  EXPECT_EQ(Value(Count()), 32767 * 65536 + 2);
}

TEST_F(SpecPanelTest, GetSpecRefusesAShortOrMissingFileWhole) {
  std::vector<uint8_t> bytes(300, 0x11);
  {
    std::ofstream out(dir_ + "short.spl", std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), 300);
  }
  Specs().a[0] = 1;
  Specs().a[100] = 2;
  platform.openAnswers.push_back(dir_ + "short.spl");
  platform.openAnswers.push_back(dir_ + "gone.spl");
  Click("SpeedButton35");
  Click("SpeedButton35");
  ASSERT_EQ(platform.errors.size(), 2u);
  EXPECT_EQ(platform.errors[0], "Cannot open \"" + dir_ + "short.spl\": Read beyond end of file.");
  EXPECT_EQ(platform.errors[1], "Cannot open \"" + dir_ + "gone.spl\": File not found.");
  EXPECT_EQ(Specs().a[0], 1);
  EXPECT_EQ(Specs().a[100], 2);
  EXPECT_EQ(Specs().a[1], 0);
}

TEST_F(SpecPanelTest, SaveSpecWritesLow16BitsAtTheirOffsets) {
  Specs().a[0] = 0x1234;
  Specs().a[127] = 0x7FFF;
  Specs().b[0] = 0xFFFF;
  Specs().b[127] = 0x12345;  // only the low 16 bits are kept
  const std::string path = dir_ + "saved.spl";
  platform.saveAnswers.push_back(path);
  Click("SpeedButton36");
  ASSERT_EQ(platform.saveDialogs.size(), 1u);
  EXPECT_EQ(platform.saveDialogs[0].filter, "Specials|*.spl");
  EXPECT_EQ(platform.saveDialogs[0].defaultExtension, "spl");
  EXPECT_TRUE(platform.saveDialogs[0].confirmOverwrite);

  const std::vector<uint8_t> b = Bytes(path);
  ASSERT_EQ(b.size(), 512u);
  EXPECT_EQ(b[0], 0x34);
  EXPECT_EQ(b[1], 0x12);
  EXPECT_EQ(b[254], 0xFF);
  EXPECT_EQ(b[255], 0x7F);
  EXPECT_EQ(b[256], 0xFF);
  EXPECT_EQ(b[257], 0xFF);
  EXPECT_EQ(b[510], 0x45);
  EXPECT_EQ(b[511], 0x23);
  EXPECT_EQ(b[2], 0);
  for (const auto& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().filename(), "saved.spl") << "no temporary file is left";

  // Cancelled: nothing written.
  Click("SpeedButton36");
  EXPECT_EQ(platform.saveDialogs.size(), 2u);
  EXPECT_TRUE(platform.errors.empty());
}

TEST_F(SpecPanelTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  // A name the file system takes, but whose temporary neighbour is too long.
  const std::string path = dir_ + std::string(250, 'k') + ".spl";
  {
    std::ofstream out(path, std::ios::binary);
    out << "old";
  }
  platform.saveAnswers.push_back(path);
  Click("SpeedButton36");
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_EQ(platform.errors[0].rfind("Cannot save \"" + path + "\": ", 0), 0u)
      << platform.errors[0];
  const std::vector<uint8_t> old = Bytes(path);
  EXPECT_EQ(std::string(old.begin(), old.end()), "old");
}

// The field miniature of the program folder, as the platform loads it.
class MiniaturePlatform : public FakePlatform {
 public:
  std::optional<std::string> LoadPicture(const std::string& path, Surface& out) override {
    loaded.push_back(path);
    out.Resize(400, 300);
    out.FillRect(Rect{0, 0, 200, 300}, Rgb(255, 0, 0));
    out.FillRect(Rect{200, 0, 400, 300}, Rgb(0, 0, 255));
    return std::nullopt;
  }
  std::vector<std::string> loaded;
};

TEST_F(SpecPanelTest, TheFieldMiniatureIsStretchedOverTheFieldPicture) {
  MiniaturePlatform miniature;
  Program p(miniature, dir_);
  p.Create();
  p.keyColours.LoadStartupColourFiles();
  EXPECT_TRUE(miniature.loaded.empty()) << "no miniature in the folder: nothing is read";

  std::ofstream(dir_ + "littlblu.bmp") << "x";
  p.keyColours.LoadStartupColourFiles();
  ASSERT_EQ(miniature.loaded.size(), 1u);
  EXPECT_EQ(miniature.loaded[0], dir_ + "littlblu.bmp");
  ASSERT_EQ(p.canvasWidth, 1024);
  EXPECT_EQ(p.fieldPicture.Pixel({0, 0}), Rgb(255, 0, 0));
  EXPECT_EQ(p.fieldPicture.Pixel({500, 700}), Rgb(255, 0, 0));
  EXPECT_EQ(p.fieldPicture.Pixel({524, 10}), Rgb(0, 0, 255));
  EXPECT_EQ(p.fieldPicture.Pixel({1023, 767}), Rgb(0, 0, 255));
}

}  // namespace
}  // namespace quillo::testing
