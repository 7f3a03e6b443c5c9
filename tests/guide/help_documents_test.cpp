#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <variant>

#include "app/language.h"
#include "form/catalogue.h"
#include "guide/rtf_reader.h"

namespace quillo {
namespace {

const std::string kSource = QUILLO_SOURCE_DIR;

RichText ReadDocument(const std::string& path) {
  RtfFileResult read = ReadRtfFile(path);
  if (const auto* fault = std::get_if<std::string>(&read)) {
    ADD_FAILURE() << *fault;
    return {};
  }
  return std::get<RichText>(std::move(read));
}

Catalogue ReadCatalogue(std::string_view code) {
  std::ifstream in(kSource + "/translations/quillo_" + std::string(code) + ".po", std::ios::binary);
  auto parsed = Catalogue::Parse(std::string(std::istreambuf_iterator<char>(in), {}));
  if (const auto* fault = std::get_if<std::string>(&parsed)) {
    ADD_FAILURE() << code << ": " << *fault;
    return {};
  }
  return std::get<Catalogue>(std::move(parsed));
}

// The documents' body text size; their titles and headings are larger.
constexpr int32_t kBodyHalfPoints = 24;

// How often each bold stretch of body text appears: the documents set every button
// they name in bold.
std::map<std::string, int> BoldWords(const RichText& doc) {
  std::map<std::string, int> out;
  for (const TextParagraph& p : doc.paragraphs) {
    std::string bold;
    for (const TextRun& r : p.runs) {
      if (r.style.bold && r.style.halfPoints <= kBodyHalfPoints) {
        bold += r.text;
        continue;
      }
      if (!bold.empty()) ++out[bold];
      bold.clear();
    }
    if (!bold.empty()) ++out[bold];
  }
  return out;
}

// A translated help document keeps the English one's paragraphs and names every
// button the English one names by the caption the language's catalogue shows on it.
TEST(HelpDocumentsTest, TranslationsNameButtonsByTheirShownCaptions) {
  for (const Language& language : kLanguages) {
    if (language.code == "en") continue;
    const std::string code(language.code);
    const Catalogue catalogue = ReadCatalogue(code);
    for (const char* name : {"Introduction.rtf", "MoreInformation.rtf"}) {
      SCOPED_TRACE(code + "/" + name);
      const RichText english = ReadDocument(kSource + "/assets/help/" + name);
      const RichText translated = ReadDocument(kSource + "/assets/help/" + code + "/" + name);
      EXPECT_EQ(translated.paragraphs.size(), english.paragraphs.size());
      const std::map<std::string, int> shown = BoldWords(translated);
      int captions = 0;
      for (const auto& [word, count] : BoldWords(english)) {
        if (!catalogue.Has(word)) continue;
        ++captions;
        const std::string caption = catalogue.Text(word);
        const auto found = shown.find(caption);
        EXPECT_GE(found == shown.end() ? 0 : found->second, count)
            << "\"" << word << "\" shows as \"" << caption << "\"";
      }
      EXPECT_GT(captions, 5);
    }
  }
}

}  // namespace
}  // namespace quillo
