#include "guide/rtf_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quillo {
namespace {

// The text of each paragraph, in order.
std::vector<std::string> Paragraphs(const RichText& doc) {
  std::vector<std::string> out;
  for (const TextParagraph& p : doc.paragraphs) {
    std::string text;
    for (const TextRun& r : p.runs)
      text += r.text;
    out.push_back(text);
  }
  return out;
}

using Texts = std::vector<std::string>;

TEST(RtfReader, ParagraphsLinesAndTabs) {
  const RichText doc = ReadRtf("{\\rtf1\\ansi One\\par Two\\line half\\tab way\\par}");
  EXPECT_EQ(Paragraphs(doc), (Texts{"One", "Two\nhalf\tway"}));
  // Line ends in the source are not text; a backslash before one ends a paragraph.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a\r\nb\\\nc}")), (Texts{"ab", "c"}));
  // Empty paragraphs in the middle stay; the break after the last one adds none.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a\\par\\par b\\par}")), (Texts{"a", "", "b"}));
  EXPECT_EQ(Paragraphs(ReadRtf("")), (Texts{""}));
}

TEST(RtfReader, CharacterFormattingFollowsGroups) {
  const RichText doc =
      ReadRtf("{\\rtf1 plain {\\b bold {\\i both}} \\ul under\\ul0  off\\b\\ulnone  b\\b0 x}");
  ASSERT_EQ(doc.paragraphs.size(), 1u);
  const auto& runs = doc.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 8u);
  EXPECT_EQ(runs[0].text, "plain ");
  EXPECT_FALSE(runs[0].style.bold);
  EXPECT_EQ(runs[1].text, "bold ");
  EXPECT_TRUE(runs[1].style.bold);
  EXPECT_FALSE(runs[1].style.italic);
  EXPECT_EQ(runs[2].text, "both");
  EXPECT_TRUE(runs[2].style.bold && runs[2].style.italic);
  // The group's end took bold and italic back.
  EXPECT_EQ(runs[3].text, " ");
  EXPECT_FALSE(runs[3].style.bold || runs[3].style.italic);
  EXPECT_EQ(runs[4].text, "under");
  EXPECT_TRUE(runs[4].style.underline);
  EXPECT_EQ(runs[5].text, " off");
  EXPECT_FALSE(runs[5].style.underline);
  EXPECT_EQ(runs[6].text, " b");
  EXPECT_TRUE(runs[6].style.bold);
  EXPECT_FALSE(runs[6].style.underline);
  EXPECT_EQ(runs[7].text, "x");
  EXPECT_FALSE(runs[7].style.bold);
}

TEST(RtfReader, SizesColoursAndFonts) {
  const RichText doc = ReadRtf(
      "{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}"
      "a\\fs40\\cf1 b\\f1\\cf2 c\\plain d\\cf9 e}");
  const auto& runs = doc.paragraphs.at(0).runs;
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].text, "a");
  EXPECT_EQ(runs[0].style.font, "Arial");
  EXPECT_EQ(runs[0].style.halfPoints, 0);
  EXPECT_EQ(runs[0].style.color, kNoColor);
  EXPECT_EQ(runs[1].text, "b");
  EXPECT_EQ(runs[1].style.halfPoints, 40);
  EXPECT_EQ(runs[1].style.color, Rgb(255, 0, 0));
  EXPECT_EQ(runs[2].text, "c");
  EXPECT_EQ(runs[2].style.font, "Times New Roman");
  EXPECT_EQ(runs[2].style.color, Rgb(0, 128, 255));
  // \plain goes back to the default font, size and colour; a colour index past the
  // table is the viewer's own colour.
  EXPECT_EQ(runs[3].text, "de");
  EXPECT_EQ(runs[3].style.font, "Arial");
  EXPECT_EQ(runs[3].style.halfPoints, 0);
  EXPECT_EQ(runs[3].style.color, kNoColor);
}

TEST(RtfReader, AlignmentIsThePropertyInForceAtTheParagraphsEnd) {
  const RichText doc = ReadRtf("{\\rtf1\\qc Title\\par\\pard left\\par\\qr right\\par\\ql back}");
  ASSERT_EQ(doc.paragraphs.size(), 4u);
  EXPECT_EQ(doc.paragraphs[0].alignment, TextAlignment::kCenter);
  EXPECT_EQ(doc.paragraphs[1].alignment, TextAlignment::kLeft);
  EXPECT_EQ(doc.paragraphs[2].alignment, TextAlignment::kRight);
  EXPECT_EQ(doc.paragraphs[3].alignment, TextAlignment::kLeft);
  // A centred group's paragraph ends inside the group.
  EXPECT_EQ(ReadRtf("{\\rtf1 {\\qc mid\\par}end}").paragraphs[0].alignment, TextAlignment::kCenter);
}

TEST(RtfReader, EscapedAndUnicodeCharacters) {
  // \'hh in code page 1252, including the range where it differs from Latin-1.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 caf\\'e9 \\'80 \\'93q\\'94}")),
            (Texts{"caf\u00e9 \u20ac \u201cq\u201d"}));
  // \uN with its stand-in character skipped, a negative N, \uc0 and \uc2.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 \\u233?\\u-3913?x}")), (Texts{"\u00e9\uf0b7x"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1\\uc0 \\u233 x}")), (Texts{"\u00e9x"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1\\uc2 \\u233\\'e9\\'e9x}")), (Texts{"\u00e9x"}));
  // A pair of surrogates is one character; a lone one is the replacement character.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 \\u-10179?\\u-8704?}")), (Texts{"\U0001f600"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 \\u-10179?a}")), (Texts{"\ufffda"}));
  // Control symbols.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 \\{x\\} \\\\ a\\~b co\\-op}")),
            (Texts{"{x} \\ a\u00a0b coop"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 \\emdash\\bullet\\lquote ok\\rquote}")),
            (Texts{"\u2014\u2022\u2018ok\u2019"}));
}

TEST(RtfReader, DestinationsAndUnknownWordsAreSkipped) {
  const RichText doc = ReadRtf(
      "{\\rtf1{\\*\\generator Writer 1.0;}{\\info{\\title Secret}}{\\stylesheet{\\s0 Normal;}}"
      "{\\*\\unknowndest {nested} text}\\frobnicate42 \\zzz Shown{\\pict\\bin4 }{}{x}"
      "\\par}");
  EXPECT_EQ(Paragraphs(doc), (Texts{"Shown"}));
  // A \par inside a skipped destination makes no paragraph.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a{\\*\\x b\\par c}d}")), (Texts{"ad"}));
}

TEST(RtfReader, MalformedInputIsReadAsFarAsItMakesSense) {
  // Unmatched closing braces are ignored.
  EXPECT_EQ(Paragraphs(ReadRtf("}}{\\rtf1 a}}}b")), (Texts{"ab"}));
  // Truncated in the middle of a control word, a parameter, a hex escape, a group.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 {\\b bold")), (Texts{"bold"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a\\")), (Texts{"a"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a\\fs")), (Texts{"a"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a\\'4")), (Texts{"a"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a\\'zzb")), (Texts{"azzb"}));
  // Parameters far outside 32 bits and words far longer than any real one.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1\\fs99999999999999999999 a\\cf-99999999999 b}")),
            (Texts{"ab"}));
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 \\" + std::string(5000, 'b') + " x}")), (Texts{"x"}));
  // \bin longer than what is left.
  EXPECT_EQ(Paragraphs(ReadRtf("{\\rtf1 a\\bin999 }}}")), (Texts{"a"}));
  // Control characters in a font's name, escaped or raw, are left out of it.
  const RichText fonts = ReadRtf("{\\rtf1{\\fonttbl{\\f0 A\\'01B\tC;}}\\f0 x}");
  EXPECT_EQ(fonts.paragraphs.at(0).runs.at(0).style.font, "ABC");
}

TEST(RtfReader, NestingPastTheBoundIsSkippedAndTheRestStillReads) {
  const int deep = kMaxRtfDepth + 50;
  std::string source = "{\\rtf1 a";
  for (int i = 0; i < deep; ++i)
    source += "{\\b ";
  source += "hidden";
  for (int i = 0; i < deep; ++i)
    source += "}";
  source += "b}";
  const RichText doc = ReadRtf(source);
  EXPECT_EQ(Paragraphs(doc), (Texts{"ab"}));
  EXPECT_FALSE(doc.paragraphs[0].runs.back().style.bold);

  // A million unclosed groups: bounded work and memory, and no text is lost before them.
  const RichText open = ReadRtf("{\\rtf1 start" + std::string(1'000'000, '{'));
  EXPECT_EQ(Paragraphs(open), (Texts{"start"}));
}

TEST(RtfReader, RandomBytesNeverBreakIt) {
  std::mt19937 rng(7);
  const std::string alphabet = "{}\\'abcdefu0123456789- ;*\n\x80\xff";
  for (int round = 0; round < 2000; ++round) {
    std::string source;
    const int length = static_cast<int>(rng() % 200);
    for (int i = 0; i < length; ++i)
      source += alphabet[rng() % alphabet.size()];
    const RichText doc = ReadRtf(source);
    ASSERT_FALSE(doc.paragraphs.empty());
    // Whatever came out is valid UTF-8 without NULs.
    for (const TextParagraph& p : doc.paragraphs)
      for (const TextRun& r : p.runs)
        ASSERT_EQ(r.text.find('\0'), std::string::npos) << source;
  }
}

TEST(RtfReader, FilesAreReadWholeAndRefusedByName) {
  const auto dir = std::filesystem::temp_directory_path() / "quillo-rtf-test";
  std::filesystem::create_directories(dir);
  const std::string good = (dir / "good.rtf").string();
  std::ofstream(good, std::ios::binary) << "{\\rtf1 Hello\\par}";
  const RtfFileResult read = ReadRtfFile(good);
  ASSERT_TRUE(std::holds_alternative<RichText>(read));
  EXPECT_EQ(Paragraphs(std::get<RichText>(read)), (Texts{"Hello"}));

  const std::string missing = (dir / "missing.rtf").string();
  const RtfFileResult none = ReadRtfFile(missing);
  ASSERT_TRUE(std::holds_alternative<std::string>(none));
  EXPECT_NE(std::get<std::string>(none).find(missing), std::string::npos);

  const std::string big = (dir / "big.rtf").string();
  { std::ofstream create(big, std::ios::binary); }
  std::filesystem::resize_file(big, kMaxRtfFileBytes + 1);
  const RtfFileResult huge = ReadRtfFile(big);
  ASSERT_TRUE(std::holds_alternative<std::string>(huge));
  EXPECT_NE(std::get<std::string>(huge).find(big), std::string::npos);
  std::filesystem::remove_all(dir);
}

// The first style of each paragraph: where a translation lost a \par or a \pard, or
// took the wrong size or colour, this differs from the English document's.
struct ParagraphLook {
  TextAlignment alignment;
  bool empty;
  int32_t halfPoints;
  Color color;
  std::string font;
  bool operator==(const ParagraphLook&) const = default;
};

std::vector<ParagraphLook> Looks(const RichText& doc) {
  std::vector<ParagraphLook> out;
  for (const TextParagraph& p : doc.paragraphs) {
    const TextStyle first = p.runs.empty() ? TextStyle{} : p.runs[0].style;
    out.push_back({p.alignment, p.runs.empty(), first.halfPoints, first.color, first.font});
  }
  return out;
}

TEST(RtfReader, TheShippedHelpDocumentsReadCleanly) {
  const std::string help = std::string(QUILLO_ASSETS_DIR) + "/help/";
  for (const char* name : {"Introduction.rtf", "MoreInformation.rtf"}) {
    const RtfFileResult english = ReadRtfFile(help + name);
    ASSERT_TRUE(std::holds_alternative<RichText>(english)) << name;
    for (const char* language : {"", "de/", "fr/", "es/", "pt_BR/", "ja/"}) {
      SCOPED_TRACE(std::string(language) + name);
      const RtfFileResult read = ReadRtfFile(help + language + name);
      ASSERT_TRUE(std::holds_alternative<RichText>(read));
      const RichText& doc = std::get<RichText>(read);
      ASSERT_GT(doc.paragraphs.size(), 10u);
      // A centred bold title in the document's own font and colour.
      const TextParagraph& title = doc.paragraphs[0];
      EXPECT_EQ(title.alignment, TextAlignment::kCenter);
      ASSERT_FALSE(title.runs.empty());
      EXPECT_TRUE(title.runs[0].style.bold);
      EXPECT_EQ(title.runs[0].style.font, "Georgia");
      EXPECT_EQ(title.runs[0].style.color, Rgb(51, 0, 153));
      // No markup left over in the text, no text lost from the tables and no
      // character the reader could not make out.
      const std::string text = doc.PlainText();
      EXPECT_EQ(text.find_first_of("\\{}"), std::string::npos);
      EXPECT_EQ(text.find("Arial"), std::string::npos);
      EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos);
      EXPECT_NE(text.find("Quillo"), std::string::npos);
      // Paragraph for paragraph the English document's layout.
      const std::vector<ParagraphLook> looks = Looks(doc);
      const std::vector<ParagraphLook> englishLooks = Looks(std::get<RichText>(english));
      ASSERT_EQ(looks.size(), englishLooks.size());
      for (size_t i = 0; i < looks.size(); ++i)
        EXPECT_TRUE(looks[i] == englishLooks[i]) << "paragraph " << i;
    }
  }
}

}  // namespace
}  // namespace quillo
