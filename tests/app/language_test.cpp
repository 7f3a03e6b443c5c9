#include "app/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "form/rich_text.h"
#include "guide/guide_fixture.h"

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

TEST(LanguageChoiceTest, TheDesktopsLanguageInItsOrderOfPrecedence) {
  struct Case {
    LocaleEnvironment env;
    const char* code;
  };
  const Case cases[] = {
      {{}, "en"},
      {{"", "", "", "de_DE.UTF-8"}, "de"},
      {{"", "", "fr_CA.UTF-8", "de_DE.UTF-8"}, "fr"},
      {{"", "es_MX.UTF-8", "fr_FR", "de_DE"}, "es"},
      {{"sv:pt_PT:de", "es_ES", "", ""}, "pt_BR"},
      {{"ja_JP", "C", "", ""}, "ja"},
      // LANGUAGE lists no language of ours: the locale decides; one we do not
      // speak set first means English, not a setting further down.
      {{"sv", "", "", "pt_BR.UTF-8@euro"}, "pt_BR"},
      {{"", "C.UTF-8", "", "de_DE"}, "en"},
      {{"", "", "POSIX", "de_DE"}, "en"},
      {{"", "", "", "nl_NL"}, "en"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DesktopLanguage(c.env), c.code)
        << c.env.language << "|" << c.env.lcAll << "|" << c.env.lcMessages << "|" << c.env.lang;
}

class LanguageTest : public GuideTest {
 protected:
  void SetUp() override {
    GuideTest::SetUp();
    platform.screen = {1024, 768};
    for (const Language& l : kLanguages) {
      if (l.code == "en") continue;
      const std::string name = "quillo_" + std::string(l.code) + ".po";
      fs::copy_file(fs::path(QUILLO_SOURCE_DIR) / "translations" / name, PathOf(name.c_str()));
    }
  }
  void WriteText(const char* name, const std::string& text) {
    std::ofstream(PathOf(name), std::ios::binary) << text;
  }
  std::string Kept() {
    std::ifstream in(PathOf(kLanguageFile), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

// Every text every window shows at start is one each catalogue knows, and in the
// test language every one of them came through the catalogue.
TEST_F(LanguageTest, EveryWindowsTextsComeThroughTheCatalogue) {
  for (const Language& l : kLanguages) {
    StartUp([&l](Program& p) { ASSERT_FALSE(UseLanguage(p, l.code)); });
    EXPECT_EQ(program->language, l.code);
    if (l.code == "en") continue;  // English has no catalogue to miss a text in
    EXPECT_TRUE(program->catalogue.Missed().empty())
        << l.code << ": " << *program->catalogue.Missed().begin();
  }
  StartUp([](Program& p) { ASSERT_FALSE(UseLanguage(p, kPseudoLanguage)); });
  for (WindowState* w : program->Windows()) {
    for (const Control& c : w->form.Controls()) {
      const bool usersText = c.verbatim || c.kind == ControlKind::kEdit ||
                             c.kind == ControlKind::kListBox || c.kind == ControlKind::kRichEdit;
      for (const std::string& text : {c.caption, c.hint}) {
        const bool words =
            text.size() > 1 &&
            text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") !=
                std::string::npos;
        if (usersText || !words) continue;
        EXPECT_EQ(text.rfind(kPseudoOpen, 0), 0u) << w->className << " " << c.name << ": " << text;
      }
    }
    if (!w->caption.empty()) {
      EXPECT_EQ(w->caption.rfind(kPseudoOpen, 0), 0u) << w->caption;
    }
  }
}

TEST_F(LanguageTest, TheButtonStepsThroughTheLanguagesAndKeepsTheChoice) {
  StartUp();
  ClickMain("SpeedButton54");
  const int32_t entries = program->log.Count();
  const ControlId button = C().LanguageBtn;
  const ControlId tools = MainForm().Find("SpeedButton22");
  EXPECT_EQ(MainForm()[button].caption, "English");
  MainForm().TakeChanged();
  ClickMain(button);
  EXPECT_EQ(program->language, "de");
  EXPECT_EQ(MainForm()[button].caption, "Deutsch");
  EXPECT_EQ(MainForm()[tools].caption, "STIFTE");
  EXPECT_EQ(MainForm()[tools].hint, "ZUR\u00DCCK ZU DEN MALWERKZEUGEN");
  EXPECT_EQ(program->helpForm.window.caption, "Hilfe");
  // The shell is told of every control whose words changed.
  const std::vector<ControlId> changed = MainForm().TakeChanged();
  EXPECT_NE(std::find(changed.begin(), changed.end(), tools), changed.end());
  EXPECT_EQ(Kept(), "de\n");
  EXPECT_EQ(ChooseLanguage(std::nullopt, Dir(), {"fr", "", "", ""}), "de");
  EXPECT_EQ(ChooseLanguage(std::string("ja"), Dir(), {"fr", "", "", ""}), "ja");

  for (const char* next : {"fr", "es", "pt_BR", "ja", "en", "de"}) {
    ClickMain(button);
    EXPECT_EQ(program->language, next);
  }
  EXPECT_EQ(MainForm()[tools].caption, "STIFTE");
  // Nothing of it is a drawing action.
  EXPECT_EQ(program->log.Count(), entries);
  EXPECT_TRUE(platform.errors.empty());

  // A catalogue that cannot be read is said, and stepped over; with none left to
  // read, the button comes round to English after one message.
  { std::ofstream(PathOf("quillo_fr.po")) << "msgid \"A\"\n"; }
  ClickMain(button);
  EXPECT_EQ(program->language, "es");
  ASSERT_EQ(platform.errors.size(), 1u);
  for (const char* code : {"de", "es", "pt_BR", "ja"})
    fs::remove(PathOf(("quillo_" + std::string(code) + ".po").c_str()));
  ClickMain(button);
  EXPECT_EQ(program->language, "en");
  EXPECT_EQ(platform.errors.size(), 2u);
  EXPECT_NE(platform.errors[0].find("quillo_fr.po"), std::string::npos) << platform.errors[0];
  EXPECT_NE(platform.errors[0].find("line 1"), std::string::npos) << platform.errors[0];
}

TEST_F(LanguageTest, HelpShowsTheLanguagesOwnDocumentsElseTheEnglishOnes) {
  WriteText("Introduction.rtf", "{\\rtf1 Hello}");
  WriteText("MoreInformation.rtf", "{\\rtf1 More}");
  fs::create_directories(PathOf("de"));
  WriteText("de/Introduction.rtf", "{\\rtf1 Hallo}");
  WritePicture("keyhelp2.bmp", 300, 200, Rgb(1, 1, 1));
  WritePicture("keyhelp2_de.bmp", 320, 200, Rgb(2, 2, 2));
  StartUp();
  HelpForm& help = program->helpForm;
  help.Show();
  auto shown = [&] {
    const auto& doc = help.window.form[help.c.RichEdit1].document;
    return doc ? doc->PlainText() : "";
  };
  EXPECT_EQ(shown(), "Hello\n");
  EXPECT_EQ(help.window.form[help.c.Image2].glyph, "keyhelp2.bmp");
  ASSERT_FALSE(UseLanguage(*program, "de"));
  EXPECT_EQ(shown(), "Hallo\n");
  EXPECT_EQ(help.window.form[help.c.Image2].glyph, "keyhelp2_de.bmp");
  help.ShowMoreInformation();
  EXPECT_EQ(shown(), "More\n");
  ASSERT_FALSE(UseLanguage(*program, "fr"));
  EXPECT_EQ(shown(), "More\n");
  EXPECT_EQ(help.window.form[help.c.Image2].glyph, "keyhelp2.bmp");
}

}  // namespace
}  // namespace quillo::testing
