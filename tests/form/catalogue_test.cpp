#include "form/catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace quillo::testing {
namespace {

Catalogue Parsed(const std::string& text) {
  auto parsed = Catalogue::Parse(text);
  if (auto* c = std::get_if<Catalogue>(&parsed)) return std::move(*c);
  ADD_FAILURE() << std::get<std::string>(parsed);
  return {};
}

TEST(CatalogueTest, ReadsEntriesContextsAndEscapesAndLeavesTheRestEnglish) {
  const Catalogue c = Parsed(
      "# a comment\n"
      "msgid \"\"\n"
      "msgstr \"Language: de\\n\"\n"
      "\n"
      "msgid \"CLEAR\"\n"
      "msgstr \"LEEREN\"\n"
      "\n"
      "msgctxt \"key\"\n"
      "msgid \"CLEAR\"\n"
      "msgstr \"ENTF\"\n"
      "\n"
      "msgid \"Say \\\"hi\\\"\"\n"
      "msgstr \"Sag \"\n"
      "\"\\\"hallo\\\"\\n\"\n"
      "\n"
      "#, fuzzy\n"
      "msgid \"STOP\"\n"
      "msgstr \"HALT\"\n"
      "\n"
      "msgid \"FLY\"\n"
      "msgstr \"\"\n");
  EXPECT_EQ(c.Text("CLEAR"), "LEEREN");
  EXPECT_EQ(c.Text("CLEAR", "key"), "ENTF");
  EXPECT_EQ(c.Text("Say \"hi\""), "Sag \"hallo\"\n");
  EXPECT_EQ(c.Text("STOP"), "STOP");  // a fuzzy entry is no translation yet
  EXPECT_EQ(c.Text("FLY"), "FLY");
  EXPECT_EQ(c.Text("12"), "12");
  EXPECT_EQ(c.Text("WILD"), "WILD");
  EXPECT_TRUE(c.Has("FLY"));
  EXPECT_FALSE(c.Has("STOP"));
  EXPECT_EQ(c.Missed(), (std::set<std::string>{"STOP", "WILD"}));
}

TEST(CatalogueTest, RefusesAMalformedFileWholeWithItsLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"msgid \"A\"\n", "line 1"},
      {"msgid \"A\"\nmsgid \"B\"\nmsgstr \"b\"\n", "line 2"},
      {"msgstr \"b\"\n", "line 1"},
      {"msgid \"A\nmsgstr \"a\"\n", "line 1"},
      {"msgid \"A\"\nmsgstr \"a\\q\"\n", "line 2"},
      {"msgid \"A\"\nmsgstr \"a\" \"b\"\n", "line 2"},
      {"\"dangling\"\n", "line 1"},
      {"msgid_plural \"A\"\n", "line 1"},
      {"msgid \"A\"\nmsgstr \"a\\\"\n", "line 2"},
  };
  for (const auto& [text, line] : cases) {
    const auto parsed = Catalogue::Parse(text);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
    EXPECT_EQ(std::get<std::string>(parsed).rfind(line, 0), 0u)
        << text << " -> " << std::get<std::string>(parsed);
  }
}

TEST(CatalogueTest, ValuesGoWhereTheTranslationPutsThem) {
  EXPECT_EQ(Arg("Cannot open \"%1\": %2.", {"a.qlr", "File not found"}),
            "Cannot open \"a.qlr\": File not found.");
  EXPECT_EQ(Arg("%2 \u304C %1", {"x", "y"}), "y \u304C x");
  // A value is put in as it is, even when it looks like a placeholder itself.
  EXPECT_EQ(Arg("%1 and %2", {"%2", "b"}), "%2 and b");
  EXPECT_EQ(Arg("100%% of %1, %3", {"a"}), "100% of a, %3");
}

// The code points of a UTF-8 text.
size_t CodePoints(const std::string& s) {
  size_t n = 0;
  for (char ch : s)
    n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
  return n;
}

TEST(CatalogueTest, TheTestLanguageMarksLengthensAndKeepsPlaceholders) {
  const Catalogue pseudo = Catalogue::Pseudo();
  for (const std::string english :
       {"GO", "CLEAR", "Cannot open \"%1\": %2.", "Replay speed %1", "UNDO (Ctrl+Z)"}) {
    const std::string shown = pseudo.Text(english);
    EXPECT_EQ(shown.rfind(kPseudoOpen, 0), 0u) << shown;
    EXPECT_TRUE(shown.ends_with(kPseudoClose)) << shown;
    EXPECT_GE(3 * CodePoints(shown), 4 * CodePoints(english)) << shown;
    EXPECT_EQ(shown.find_first_of("aeiouAEIOU"), std::string::npos) << shown;
    for (const char* placeholder : {"%1", "%2"})
      EXPECT_EQ(english.find(placeholder) == std::string::npos,
                shown.find(placeholder) == std::string::npos)
          << shown;
  }
  EXPECT_EQ(pseudo.Text("1024"), "1024");
  EXPECT_EQ(pseudo.Text("N"), "N");
}

// The catalogues shipped: each one reads, knows the same English texts as the
// others, and keeps every placeholder of a text in its translation.
TEST(CatalogueTest, ShippedCataloguesAgreeWithEachOther) {
  std::set<std::string> first;
  for (const char* code : {"de", "fr", "es", "pt_BR", "ja"}) {
    const std::string path =
        std::string(QUILLO_SOURCE_DIR) + "/translations/quillo_" + code + ".po";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const Catalogue c = Parsed(std::string(std::istreambuf_iterator<char>(in), {}));
    const std::set<std::string> keys = c.Keys();
    if (first.empty()) first = keys;
    EXPECT_EQ(keys, first) << code;
    const std::regex placeholder("%[1-9]");
    for (const std::string& key : keys) {
      const std::string shown = c.Text(key);
      std::set<std::string> wanted, got;
      for (auto it = std::sregex_iterator(key.begin(), key.end(), placeholder);
           it != std::sregex_iterator(); ++it)
        wanted.insert(it->str());
      for (auto it = std::sregex_iterator(shown.begin(), shown.end(), placeholder);
           it != std::sregex_iterator(); ++it)
        got.insert(it->str());
      EXPECT_EQ(got, wanted) << code << ": " << key << " -> " << shown;
    }
  }
}

}  // namespace
}  // namespace quillo::testing
