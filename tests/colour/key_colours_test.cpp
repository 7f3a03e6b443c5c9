#include "colour/key_colours.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "app/program_fixture.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

struct Triple {
  Color c, v, h;
  bool operator==(const Triple&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Triple& t) {
  return os << std::hex << "{" << t.c << ", " << t.v << ", " << t.h << "}" << std::dec;
}

// A table whose every colour differs: slot s, colour k has red s, green k, blue 200.
KeyColorTable CountingTable() {
  KeyColorTable t{};
  for (uint32_t s = 0; s < 9; ++s)
    for (uint32_t k = 0; k < 3; ++k)
      t[s][k] = Rgb(s, k, 200);
  return t;
}

class KeyColoursTest : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->drawing.recording = true;
    dir_ = fs::temp_directory_path() / ("quillo-kcl-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  KeyColours& Keys() { return program->keyColours; }
  Triple Field() {
    return {program->field.corner, program->field.vertical, program->field.horizontal};
  }
  void SetField(Triple t) { program->SetFieldColors(t.c, t.v, t.h); }
  void Type(char ch, int times = 1) {
    for (int i = 0; i < times; ++i)
      Main().FormKeyPress(static_cast<char32_t>(ch));
  }
  void TypeInEditor(char ch) { program->spaceColorForm.window.hooks.keyPress(ch); }
  void EditorClick(const char* name, EventKind kind = EventKind::kClick) {
    Form& f = program->spaceColorForm.window.form;
    ControlEvent e;
    e.control = f.Find(name);
    ASSERT_NE(e.control, kNoControl) << name;
    e.kind = kind;
    f.Dispatch(e);
  }
  const Control& ECtl(const char* name) {
    const Form& f = program->spaceColorForm.window.form;
    return f[f.Find(name)];
  }
  std::string PathOf(const char* name) { return (dir_ / name).string(); }
  // The field colour triples logged after entry from.
  std::vector<Triple> TriplesAfter(int32_t from) {
    std::vector<Triple> out;
    for (int32_t i = from + 1; i + 2 <= Count(); i += 3) {
      EXPECT_EQ(Code(i), 9u);
      out.push_back({static_cast<Color>(Value(i)), static_cast<Color>(Value(i + 1)),
                     static_cast<Color>(Value(i + 2))});
    }
    return out;
  }

  fs::path dir_;
};

TEST_F(KeyColoursTest, KclBytesSitAtTheirOffsets) {
  const auto bytes = EncodeKeyColors(CountingTable());
  ASSERT_EQ(bytes.size(), 108u);
  for (size_t s = 0; s < 9; ++s)
    for (size_t k = 0; k < 3; ++k) {
      const size_t at = 12 * s + 4 * k;
      SCOPED_TRACE(at);
      EXPECT_EQ(bytes[at], s);      // red
      EXPECT_EQ(bytes[at + 1], k);  // green
      EXPECT_EQ(bytes[at + 2], 200);
      EXPECT_EQ(bytes[at + 3], 0);
    }
  // Slot T's horizontal colour at 48 + 8.
  std::array<uint8_t, 108> raw{};
  raw[56] = 0x11;
  raw[57] = 0x22;
  raw[58] = 0x33;
  raw[59] = 0x44;
  const KeyColorTable back = DecodeKeyColors(raw);
  // The fourth byte is no part of a colour: set, it would make the no-colour value.
  EXPECT_EQ(back[4][2], 0x332211u);
  EXPECT_EQ(back[4][1], 0u);
  EXPECT_EQ(DecodeKeyColors(bytes), CountingTable());
}

TEST_F(KeyColoursTest, KclFilesShortLongAndFailedSaves) {
  const std::string path = PathOf("keys.kcl");
  ASSERT_FALSE(WriteKclFile(path, CountingTable()).has_value());
  EXPECT_EQ(fs::file_size(path), 108u);
  EXPECT_FALSE(fs::exists(PathOf(".keys.kcl.part0")));

  // A longer file is read in its first 108 bytes.
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << "trailing bytes";
  }
  auto read = ReadKclFile(path);
  ASSERT_TRUE(std::holds_alternative<KeyColorTable>(read));
  EXPECT_EQ(std::get<KeyColorTable>(read), CountingTable());

  // A short one and a missing one are refused with the fault.
  fs::resize_file(path, 107);
  read = ReadKclFile(path);
  ASSERT_TRUE(std::holds_alternative<std::string>(read));
  EXPECT_NE(std::get<std::string>(read).find("107 bytes"), std::string::npos);
  read = ReadKclFile(PathOf("none.kcl"));
  ASSERT_TRUE(std::holds_alternative<std::string>(read));
  EXPECT_EQ(std::get<std::string>(read), "File not found");
}

TEST_F(KeyColoursTest, EditorGetsAndSavesTheTable) {
  const std::string path = PathOf("saved.kcl");
  Keys().table = CountingTable();
  platform.saveAnswers.push_back(path);
  EditorClick("SpeedButton9");
  ASSERT_EQ(platform.saveDialogs.size(), 1u);
  EXPECT_EQ(platform.saveDialogs[0].filter, "keycolors(*.kcl)|*.kcl");
  EXPECT_EQ(platform.saveDialogs[0].defaultExtension, "kcl");
  EXPECT_TRUE(platform.saveDialogs[0].confirmOverwrite);
  EXPECT_EQ(ECtl("Label48").caption, path);
  EXPECT_EQ(fs::file_size(path), 108u);

  // Cancelled dialogs change nothing.
  Keys().table = KeyColorTable{};
  EditorClick("SpeedButton8");
  EditorClick("SpeedButton9");
  EXPECT_EQ(Keys().table, KeyColorTable{});
  EXPECT_EQ(ECtl("Label48").caption, path);

  const Triple field = Field();
  platform.openAnswers.push_back(path);
  EditorClick("SpeedButton8");
  EXPECT_TRUE(platform.openDialogs.back().mustExist);
  EXPECT_EQ(platform.openDialogs.back().filter, "keycolors(*.kcl)|*.kcl");
  EXPECT_EQ(Keys().table, CountingTable());
  EXPECT_EQ(Field(), field);  // the field waits for a key

  // A short file is reported and the table stays.
  fs::resize_file(path, 100);
  Keys().table = KeyColorTable{};
  platform.openAnswers.push_back(path);
  EditorClick("SpeedButton8");
  ASSERT_EQ(platform.errors.size(), 1u);
  EXPECT_NE(platform.errors[0].find(path), std::string::npos);
  EXPECT_EQ(Keys().table, KeyColorTable{});
}

TEST_F(KeyColoursTest, StartUpReadsQwertyKclFromTheProgramFolder) {
  ASSERT_FALSE(WriteKclFile(PathOf("Qwerty.kcl"), CountingTable()).has_value());
  // The first start keeps its field cache in the folder.
  platform.picturesOnDisk = true;
  Program started(platform, dir_.string() + "/");
  started.StartUp();
  EXPECT_EQ(started.keyColours.table, CountingTable());

  // Missing or short: skipped without a message.
  fs::resize_file(PathOf("Qwerty.kcl"), 60);
  Program shortFile(platform, dir_.string() + "/");
  shortFile.StartUp();
  fs::remove(PathOf("Qwerty.kcl"));
  Program missing(platform, dir_.string() + "/");
  missing.StartUp();
  EXPECT_EQ(shortFile.keyColours.table, KeyColorTable{});
  EXPECT_EQ(missing.keyColours.table, KeyColorTable{});
  EXPECT_TRUE(platform.errors.empty());
}

TEST_F(KeyColoursTest, KeysApplySetsDefaultsAndLayouts) {
  // Nothing loaded: w makes the field black and logs three zeros.
  int32_t before = Count();
  Type('w');
  EXPECT_EQ(Field(), (Triple{0, 0, 0}));
  EXPECT_EQ(TriplesAfter(before), std::vector<Triple>{Triple{}});
  EXPECT_EQ(Ctl("Label42").color, 0u);

  Keys().table = CountingTable();
  Type('o');
  EXPECT_EQ(Field(), (Triple{Rgb(8, 0, 200), Rgb(8, 1, 200), Rgb(8, 2, 200)}));
  Type('p');
  EXPECT_EQ(Field(), (Triple{Rgb(0, 0, 255), Rgb(255, 0, 0), Rgb(0, 255, 0)}));

  before = Count();
  Type(']');
  EXPECT_TRUE(program->field.centerMode);
  EXPECT_TRUE(Ctl("Label46").visible);
  EXPECT_TRUE(ECtl("Panel3").visible);
  Type('[');
  EXPECT_FALSE(program->field.centerMode);
  EXPECT_FALSE(Ctl("Label46").visible);
  EXPECT_EQ(TriplesAfter(before).size(), 2u);  // the layout keys log the triple too

  before = Count();
  Type('z');
  Type('j');
  EXPECT_EQ(Count(), before);
}

TEST_F(KeyColoursTest, EditorStoresWithUpperCaseAndLogsOnlyTweaks) {
  Click("SpeedButton52");  // opens the editor
  ASSERT_FALSE(program->keyColorRecording);
  const Triple stored{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)};
  SetField(stored);
  const int32_t before = Count();
  TypeInEditor('E');
  EXPECT_EQ(Keys().table[2], (std::array<Color, 3>{stored.c, stored.v, stored.h}));
  TypeInEditor('A');  // not a store key, and not a nudge in upper case
  EXPECT_EQ(Field(), stored);
  TypeInEditor('p');
  TypeInEditor('e');
  EXPECT_EQ(Field(), stored);
  TypeInEditor('r');  // the editor is open: the field changes, nothing is logged
  EXPECT_EQ(Field(), Triple{});
  EXPECT_EQ(Count(), before);
  TypeInEditor('d');  // a nudge logs whether or not the editor is open
  EXPECT_EQ(Count(), before + 3);
}

TEST_F(KeyColoursTest, TweaksFromHandWorkedValues) {
  struct Case {
    Triple start;
    char key;
    Triple expected;
  } cases[] = {
      // 49.5 and 148.5 round to the even neighbour, 247.5 too.
      {{Rgb(200, 100, 50), 0, 0}, 'd', {Rgb(198, 99, 50), 0, 0}},
      {{Rgb(150, 50, 250), 0, 0}, 'd', {Rgb(148, 50, 248), 0, 0}},
      // s: red 50.5 -> 50, blue 148.5 -> 148; a: red down, blue up, green stays.
      {{Rgb(50, 9, 150), 0, 0}, 's', {Rgb(50, 9, 148), 0, 0}},
      {{Rgb(100, 100, 100), Rgb(255, 255, 255), 0},
       'a',
       {Rgb(99, 100, 101), Rgb(252, 255, 255), 0}},
      {{Rgb(100, 200, 0), 0, 0}, 'f', {Rgb(101, 202, 0), 0, 0}},
      // g: towards the mean 110; h: away from it, 200.55 -> 201, 99 and 29.7 -> 30;
      // black is at its mean and goes up.
      {{Rgb(200, 100, 30), 0, 0}, 'g', {Rgb(199, 100, 31), 0, 0}},
      {{Rgb(200, 100, 30), 0, 0}, 'h', {Rgb(201, 99, 30), Rgb(3, 3, 3), Rgb(3, 3, 3)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    SetField(c.start);
    Type('p');  // applying a key colour drops the working copy
    SetField(c.start);
    const int32_t before = Count();
    Type(c.key);
    EXPECT_EQ(Field(), c.expected);
    EXPECT_EQ(TriplesAfter(before), std::vector<Triple>{c.expected});
  }
}

TEST_F(KeyColoursTest, WorkingValuesPass255AndGreyIsAFixedPoint) {
  SetField({Rgb(250, 250, 250), 0, 0});
  Type('p');
  SetField({Rgb(250, 250, 250), 0, 0});
  Type('f', 30);
  EXPECT_EQ(Field().c, Rgb(255, 255, 255));
  EXPECT_GT(Keys().tweakValues[0], 336.0);
  // 250 x 1.01^30 = 336.96; 27 presses of d leave it above 254.5, the 28th below.
  Type('d', 27);
  EXPECT_EQ(Field().c, Rgb(255, 255, 255));
  Type('d');
  EXPECT_EQ(Field().c, Rgb(254, 254, 254));

  // g pulls pure red towards its mean grey (85) and never past it.
  Type('p');
  SetField({Rgb(255, 0, 0), 0, 0});
  uint32_t lastRed = 255;
  for (int i = 0; i < 3000; ++i) {
    Type('g');
    const Color c = Field().c;
    ASSERT_LE(c & 255u, lastRed);
    ASSERT_GE(c & 255u, 85u);
    ASSERT_LE((c >> 8) & 255u, 85u);
    lastRed = c & 255u;
  }
  EXPECT_EQ(Field().c, Rgb(85, 85, 85));
}

TEST_F(KeyColoursTest, OnlyTheListedOperationsDropTheWorkingCopy) {
  const std::vector<std::pair<const char*, std::function<void()>>> clearing = {
      {"key colour", [&] { Type('q'); }},
      {"editor red press", [&] { EditorClick("redlbl", EventKind::kMouseDown); }},
      {"editor white press", [&] { EditorClick("Label20", EventKind::kMouseDown); }},
      {"editor black press", [&] { EditorClick("Label19", EventKind::kMouseDown); }},
      {"set recall", [&] { EditorClick("Panel2"); }},
      {"DefaultColor", [&] { EditorClick("SpeedButton4"); }},
      {"editor creation", [&] { program->spaceColorForm.FormCreate(); }},
  };
  const std::vector<std::pair<const char*, std::function<void()>>> keeping = {
      {"another nudge", [&] { Type('a'); }},
      {"replayed triple",
       [&] {
         for (int i = 0; i < 3; ++i)
           program->replay.ReplayFieldColor(static_cast<int32_t>(Rgb(9, 9, 9)));
       }},
      {"Copy ColorField", [&] { EditorClick("Label4"); }},
      {"Close", [&] { EditorClick("Label3"); }},
      {"editor mixer tick", [&] { program->TimerTick(TimerId::Redtimer); }},
      {"editor store key", [&] { TypeInEditor('W'); }},
  };
  for (const auto& [name, op] : clearing) {
    SCOPED_TRACE(name);
    Type('d');
    ASSERT_TRUE(Keys().tweakValid);
    op();
    EXPECT_FALSE(Keys().tweakValid);
  }
  for (const auto& [name, op] : keeping) {
    SCOPED_TRACE(name);
    Type('d');
    op();
    EXPECT_TRUE(Keys().tweakValid);
  }
  // A nudge after a kept copy works from the copy, not from the field: the replayed
  // triple above did not reach the working values.
  Type('p');
  SetField({Rgb(100, 100, 100), 0, 0});
  Type('f');
  program->SetFieldColors(Rgb(9, 9, 9), 0, 0);
  Type('f');
  EXPECT_EQ(Field().c, Rgb(102, 102, 102));
}

TEST(ShippedKeyColours, NineDistinctSetsWithABlueSetOnT) {
  const auto read = ReadKclFile(std::string(QUILLO_PROGRAM_DIR) + "/Qwerty.kcl");
  ASSERT_TRUE(std::holds_alternative<KeyColorTable>(read)) << std::get<std::string>(read);
  const KeyColorTable& table = std::get<KeyColorTable>(read);
  for (size_t s = 0; s < 9; ++s) {
    EXPECT_NE(table[s], (std::array<Color, 3>{})) << s;
    for (size_t other = 0; other < s; ++other)
      EXPECT_NE(table[s], table[other]) << s << " " << other;
    for (const Color c : table[s])
      EXPECT_EQ(c >> 24, 0u);
  }
  // The first start renders the set of t: blue leads in each of its colours.
  for (const Color c : table[4]) {
    const uint32_t r = c & 255u, g = (c >> 8) & 255u, b = (c >> 16) & 255u;
    EXPECT_GT(b, r);
    EXPECT_GE(b, g);
  }
}

}  // namespace
}  // namespace quillo::testing
