#include "app/tool_selection.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "program_fixture.h"

namespace quillo::testing {
namespace {

constexpr Color kToolOff = 0xFF0066;
constexpr Color kToolOn = 0xAA00DD;
constexpr Color kRed = 0x0000FF;
constexpr Color kLime = 0x00FF00;

const char* const kButtons[kToolCount] = {
    "freebtn",   "linebtn",          "rectbtn",  "ellipsebtn", "roundrectbtn",   "wavebtn",
    "nuwavebtn", "Nuwavespecialbtn", "wave3btn", "wave4btn",   "Nuwavespec2btn", "newtestbtn"};

// A program whose folder is a fresh temporary one, recording from the start.
class ToolSelectionTest : public ProgramTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-select-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
  }
  void TearDown() override {
    program.reset();
    std::filesystem::remove_all(dir_);
  }

  void StartHere() {
    platform.screen = {1024, 768};
    program = std::make_unique<Program>(platform, dir_);
    program->Create();
    program->drawing.recording = true;
    program->tools.wild = false;  // as the start screen's initialisation leaves it
  }
  ToolSelection& Sel() { return program->toolSelection; }
  ToolState& Tools() { return program->tools; }
  int32_t PenWidth() { return Main().images.canvas.PenWidth(); }

  // A specials file with the given (index, A, B) entries, the rest zero; written
  // byte by byte so the reader under test is not used to make it.
  void WriteSpl(const char* name, std::vector<std::pair<int, std::pair<int, int>>> entries,
                size_t size = 512) {
    std::vector<uint8_t> bytes(512, 0);
    for (const auto& [i, ab] : entries) {
      bytes[2 * i] = static_cast<uint8_t>(ab.first & 0xFF);
      bytes[2 * i + 1] = static_cast<uint8_t>((ab.first >> 8) & 0xFF);
      bytes[256 + 2 * i] = static_cast<uint8_t>(ab.second & 0xFF);
      bytes[256 + 2 * i + 1] = static_cast<uint8_t>((ab.second >> 8) & 0xFF);
    }
    bytes.resize(size, 0x55);
    std::ofstream out(dir_ + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
  }
  // One nonzero entry at index 0 in each start-up file, so a random pick is certain
  // and tells which file was loaded.
  void WriteStartupFiles() {
    WriteSpl("spec1.spl", {{0, {11, 12}}});
    WriteSpl("hispec.spl", {{0, {21, 22}}});
    WriteSpl("nuspec.spl", {{0, {31, 32}}});
  }
  void MouseDownOn(const char* name, MouseButton button) {
    ControlEvent e;
    e.control = MainForm().Find(name);
    e.kind = EventKind::kMouseDown;
    e.button = button;
    MainForm().Dispatch(e);
  }
  std::string Caption(const char* name) { return Ctl(name).caption; }
  void ExpectOnlyActive(int tool) {
    for (int i = 0; i < kToolCount; ++i)
      EXPECT_EQ(Ctl(kButtons[i]).color, i == tool ? kToolOn : kToolOff) << kButtons[i];
  }

  std::string dir_;
};

constexpr int32_t SpecValue(int32_t a, int32_t b, bool wild) {
  return wild ? -(a * 65536 + b) : a * 65536 + b;
}

struct ToolRow {
  int tool;
  int32_t width;
  bool wildAfter;  // Wild on before the selection
  bool wildDown;   // the WILD button afterwards (when a file is loaded)
  int32_t specA;   // 3, 5: no file loaded, spec A and B stay
  int32_t specB;
};

// Every tool with auto pen width on, Wild on and spec 3, 5 beforehand.
constexpr ToolRow kRows[] = {
    {0, 32, true, false, 3, 5}, {1, 16, true, false, 3, 5},  {2, 16, true, false, 3, 5},
    {3, 4, true, false, 3, 5},  {4, 8, true, false, 3, 5},   {5, 2, false, false, 3, 5},
    {6, 2, false, false, 3, 5}, {7, 1, true, false, 11, 12}, {8, 1, true, true, 21, 22},
    {9, 1, true, true, 21, 22}, {10, 1, true, true, 21, 22}, {11, 1, false, false, 31, 32},
};

TEST_F(ToolSelectionTest, EachToolAppliesItsRowAndRecordsToolWidthAndSpec) {
  for (const ToolRow& row : kRows) {
    SCOPED_TRACE(kButtons[row.tool]);
    StartHere();
    WriteStartupFiles();
    Tools().wild = true;
    Tools().specA = 3;
    Tools().specB = 5;
    Main().images.canvas.SetPenWidth(77);

    MouseDownOn(kButtons[row.tool], MouseButton::kLeft);

    EXPECT_EQ(Tools().tool, row.tool);
    ExpectOnlyActive(row.tool);
    EXPECT_EQ(PenWidth(), row.width);
    EXPECT_EQ(Tools().wild, row.wildAfter);
    EXPECT_EQ(Tools().specA, row.specA);
    EXPECT_EQ(Tools().specB, row.specB);
    if (row.tool >= dtNuWaveSpecial) {
      EXPECT_EQ(Ctl("Wildbtn").down, row.wildDown);
    }
    EXPECT_EQ(Caption("PenWlabel"), std::to_string(row.width));
    EXPECT_EQ(Caption("Label36"), std::to_string(row.specA));
    EXPECT_EQ(Caption("Label41"), std::to_string(row.specB));

    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(Code(1), 4u + 16u * row.tool);
    EXPECT_EQ(Code(2), static_cast<uint32_t>(lglinew));
    EXPECT_EQ(Value(2), row.width);
    EXPECT_EQ(Code(3), static_cast<uint32_t>(lgNuWaveSpecial));
    EXPECT_EQ(Value(3), SpecValue(row.specA, row.specB, row.wildAfter));
  }
}

TEST_F(ToolSelectionTest, AnyMouseButtonSelectsAndSelectingEndsTheSelectionMode) {
  StartHere();
  MouseDownOn("wave4btn", MouseButton::kRight);
  EXPECT_EQ(Tools().tool, dtwave4);
  MouseDownOn("linebtn", MouseButton::kMiddle);
  EXPECT_EQ(Tools().tool, dtline);
  const int32_t before = Count();
  program->drawing.selecting = true;
  MouseDownOn("freebtn", MouseButton::kLeft);
  EXPECT_FALSE(program->drawing.selecting);
  EXPECT_EQ(Tools().tool, dtfree);
  // The selection's end is logged before the tool change.
  ASSERT_EQ(Count(), before + 4);
  EXPECT_EQ(Code(before + 1) & 15u, static_cast<uint32_t>(lgspacecolor));
  EXPECT_EQ(Code(before + 2), static_cast<uint32_t>(lgshape));
}

TEST_F(ToolSelectionTest, SelectingTheCurrentToolAgainRepeatsEveryStep) {
  StartHere();
  WriteStartupFiles();
  Sel().SelectTool(dtwave3);
  ASSERT_EQ(Count(), 3);
  // Disturb what the second selection must restore.
  MainForm().SetColor(MainForm().Find("freebtn"), kToolOn);
  MainForm().SetColor(MainForm().Find("wave3btn"), kToolOff);
  Main().images.canvas.SetPenWidth(9);
  WriteSpl("hispec.spl", {{0, {41, 42}}});

  Sel().SelectTool(dtwave3);
  ExpectOnlyActive(dtwave3);
  EXPECT_EQ(PenWidth(), 1);
  EXPECT_EQ(program->specs.a[0], 41);  // reloaded...
  EXPECT_EQ(Tools().specA, 41);        // ...and picked again
  ASSERT_EQ(Count(), 6);
  EXPECT_EQ(Code(4), 4u + 16u * dtwave3);
  EXPECT_EQ(Value(5), 1);
  EXPECT_EQ(Value(6), SpecValue(41, 42, true));
}

TEST_F(ToolSelectionTest, AutoPenWidthOffKeepsTheWidthOfTheFirstSevenTools) {
  StartHere();
  program->drawing.autoPenWidth = false;
  for (uint8_t tool = 0; tool < kToolCount; ++tool) {
    Main().images.canvas.SetPenWidth(77);
    Sel().SelectTool(tool);
    const int32_t expected = tool < dtNuWaveSpecial ? 77 : 1;
    EXPECT_EQ(PenWidth(), expected) << int{tool};
    EXPECT_EQ(Caption("PenWlabel"), std::to_string(expected));
    EXPECT_EQ(Value(Count() - 1), expected) << "the lglinew entry";
  }
}

TEST_F(ToolSelectionTest, DuringAReplayASelectionActsAtOnceAndWritesNothing) {
  StartHere();
  WriteStartupFiles();
  program->timers.Enable(TimerId::logplaytimer, true);
  // Recording off as in a replay; and on, as in one started with PLAY: the replay
  // timer alone decides.
  for (bool recording : {false, true}) {
    SCOPED_TRACE(recording);
    program->drawing.recording = recording;
    Tools().wild = true;
    Sel().SelectTool(dtwave);
    EXPECT_EQ(Tools().tool, dtwave);
    EXPECT_FALSE(Tools().wild);
    EXPECT_EQ(PenWidth(), 2);
    Sel().SelectTool(dtTwister);
    EXPECT_EQ(Tools().tool, dtTwister);
    EXPECT_TRUE(Tools().wild);
    EXPECT_EQ(PenWidth(), 1);
    EXPECT_EQ(Tools().specA, 21);  // the random pick still happens
    EXPECT_EQ(Caption("Label36"), "21");
    EXPECT_EQ(Count(), 0);
  }
}

TEST_F(ToolSelectionTest, MissingSpecialsFilesLeaveTheTableButStillSetWild) {
  StartHere();
  program->specs.a[0] = 5;
  program->specs.b[0] = 6;
  program->specs.a[9] = 7;
  const SpecTable before = program->specs;
  Tools().autoToolChange = false;

  Sel().SelectTool(dtwave3);
  EXPECT_TRUE(Tools().wild);
  EXPECT_TRUE(Ctl("Wildbtn").down);
  Sel().SelectTool(dtNuWaveSpecial);
  EXPECT_TRUE(Tools().wild);
  EXPECT_FALSE(Ctl("Wildbtn").down);
  Sel().SelectTool(dtwave4);
  EXPECT_TRUE(Ctl("Wildbtn").down);
  Sel().SelectTool(dtBios);
  EXPECT_FALSE(Tools().wild);
  EXPECT_FALSE(Ctl("Wildbtn").down);

  EXPECT_EQ(program->specs.a, before.a);
  EXPECT_EQ(program->specs.b, before.b);
  EXPECT_TRUE(platform.errors.empty());
}

TEST_F(ToolSelectionTest, ShortStartupFileLeavesTheTableSilentlyLongOneIsRead) {
  StartHere();
  program->specs.a[0] = 5;
  WriteSpl("nuspec.spl", {{0, {31, 32}}}, 300);
  Sel().LoadStartupSpecials("nuspec.spl", true);
  EXPECT_EQ(program->specs.a[0], 5);
  EXPECT_EQ(program->specs.b[0], 0);
  EXPECT_TRUE(Tools().wild);
  EXPECT_TRUE(Ctl("Wildbtn").down);
  EXPECT_TRUE(platform.errors.empty());

  WriteSpl("nuspec.spl", {{0, {31, 32}}, {127, {1, 2}}}, 700);
  Sel().LoadStartupSpecials("nuspec.spl", false);
  EXPECT_EQ(program->specs.a[0], 31);
  EXPECT_EQ(program->specs.b[127], 2);
  EXPECT_FALSE(Ctl("Wildbtn").down);
}

TEST_F(ToolSelectionTest, RedBarTogglesAutoToolChangeAndStepsWhenTurnedOff) {
  StartHere();
  program->specs.a[1] = 3;
  program->specs.b[1] = 5;
  EXPECT_EQ(Ctl("autoOnOffBtn").color, kRed);
  ASSERT_TRUE(Tools().autoToolChange);

  Click("autoOnOffBtn");
  EXPECT_EQ(Ctl("autoOnOffBtn").color, kLime);
  EXPECT_FALSE(Tools().autoToolChange);
  EXPECT_EQ(program->specs.index, 1);
  EXPECT_EQ(Tools().specA, 3);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Value(1), 196613);

  // Off: a red bar tool keeps its spec.
  Tools().specA = 99;
  Sel().SelectTool(dtwave3);
  EXPECT_EQ(Tools().specA, 99);
  EXPECT_EQ(Caption("Label36"), "99");

  Click("autoOnOffBtn");
  EXPECT_EQ(Ctl("autoOnOffBtn").color, kRed);
  EXPECT_TRUE(Tools().autoToolChange);
  EXPECT_EQ(program->specs.index, 1);
  EXPECT_EQ(Count(), 4);
}

TEST_F(ToolSelectionTest, SteppingWrapsAroundTheTableShowsAndRecords) {
  StartHere();
  program->specs.a[127] = 1000;
  program->specs.b[127] = 2000;
  program->specs.a[0] = 3;
  program->specs.b[0] = 5;

  Sel().DecrementSpec();
  EXPECT_EQ(program->specs.index, 127);
  EXPECT_EQ(Tools().specA, 1000);
  EXPECT_EQ(Tools().specB, 2000);
  EXPECT_EQ(Caption("Label35"), "127");
  EXPECT_EQ(Caption("SpecLBL"), "127");
  EXPECT_EQ(Caption("Label36"), "1000");
  EXPECT_EQ(Caption("Label41"), "2000");

  Tools().wild = true;
  Sel().IncrementSpec();
  EXPECT_EQ(program->specs.index, 0);
  EXPECT_EQ(Caption("Label35"), "0");
  EXPECT_EQ(Tools().specA, 3);

  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Code(1), static_cast<uint32_t>(lgNuWaveSpecial));
  EXPECT_EQ(Value(1), SpecValue(1000, 2000, false));
  EXPECT_EQ(Value(2), -196613);
}

TEST_F(ToolSelectionTest, RandomPickCountsNonzeroAEntriesAndKeepsTheIndex) {
  StartHere();
  program->specs.index = 50;
  // Exactly one nonzero entry, away from the front: index 0 whatever the clock.
  program->specs.a[5] = 8;
  for (uint64_t clock : {0ull, 1ull, 12345ull, 987654321ull}) {
    platform.clock = clock;
    program->tools.specA = -1;
    Sel().PickRandomSpec();
    EXPECT_EQ(Caption("Label35"), "0") << clock;
    EXPECT_EQ(Tools().specA, 0) << clock;
  }
  EXPECT_EQ(program->specs.index, 50);

  // Four nonzero entries: picks among the first three, fixed by the clock.
  for (int i = 0; i < 4; ++i) {
    program->specs.a[i] = 10 + i;
    program->specs.b[i] = 20 + i;
  }
  program->specs.a[5] = 0;
  std::set<std::string> seen;
  for (uint64_t clock = 0; clock < 200; ++clock) {
    platform.clock = clock * 7919;
    Sel().PickRandomSpec();
    const std::string first = Caption("SpecLBL");
    seen.insert(first);
    Sel().PickRandomSpec();
    EXPECT_EQ(Caption("SpecLBL"), first) << "same clock, same pick";
    const int i = std::stoi(first);
    EXPECT_EQ(Tools().specA, 10 + i);
    EXPECT_EQ(Caption("Label41"), std::to_string(20 + i));
  }
  EXPECT_EQ(seen, (std::set<std::string>{"0", "1", "2"}));
  EXPECT_EQ(program->specs.index, 50);
  EXPECT_EQ(Count(), 0);  // a pick records nothing itself
}

TEST_F(ToolSelectionTest, EmptyTablePicksEntryZero) {
  StartHere();
  Tools().specA = 4;
  Tools().specB = 4;
  Sel().PickRandomSpec();
  EXPECT_EQ(Tools().specA, 0);
  EXPECT_EQ(Tools().specB, 0);
  EXPECT_EQ(Caption("SpecLBL"), "0");
}

TEST_F(ToolSelectionTest, SpecCodeCarriesWildInItsSign) {
  StartHere();
  Tools().specA = 3;
  Tools().specB = 5;
  EXPECT_EQ(Sel().SpecCode(), 196613);
  Tools().wild = true;
  EXPECT_EQ(Sel().SpecCode(), -196613);
  Tools().specA = 32767;
  Tools().specB = 65535;
  EXPECT_EQ(Sel().SpecCode(), -2147483647);

  program->drawing.recording = false;
  Sel().RecordSpec();
  EXPECT_EQ(Count(), 0);
  program->drawing.recording = true;
  Sel().RecordSpec();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Value(1), -2147483647);
}

TEST_F(ToolSelectionTest, HighlightShowsTheCurrentToolWithoutSelectingIt) {
  StartHere();
  ExpectOnlyActive(dtfree);
  Tools().tool = dtTwister;
  Tools().wild = false;
  Sel().HighlightToolButton();
  ExpectOnlyActive(dtTwister);
  EXPECT_FALSE(Tools().wild);
  EXPECT_EQ(PenWidth(), 32);
  EXPECT_EQ(Count(), 0);
}

}  // namespace
}  // namespace quillo::testing
