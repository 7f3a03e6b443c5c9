// An RTF document read as the help window reads it. The reader takes any input, so
// nothing is refused; what it gives back must be well formed and no larger than the
// input allows, and reading the same bytes from a file must give the same document.
#include <algorithm>
#include <string_view>
#include <variant>

#include "fuzz_support.h"
#include "guide/rtf_reader.h"

using namespace quillo;

namespace {

// True when text is well-formed UTF-8 holding no control character but tab and
// line break.
bool CleanUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 1;
    char32_t c = lead;
    if (lead >= 0xF0 && lead < 0xF5) {
      length = 4;
      c = lead & 0x07;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2;
      c = lead & 0x1F;
    } else if (lead >= 0x80) {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
    if (c < 0x20 && c != '\t' && c != '\n') return false;
    i += length;
  }
  return true;
}

bool SameDocument(const RichText& a, const RichText& b) {
  if (a.paragraphs.size() != b.paragraphs.size()) return false;
  for (size_t p = 0; p < a.paragraphs.size(); ++p) {
    const TextParagraph& x = a.paragraphs[p];
    const TextParagraph& y = b.paragraphs[p];
    if (x.alignment != y.alignment || x.runs.size() != y.runs.size()) return false;
    for (size_t r = 0; r < x.runs.size(); ++r) {
      if (x.runs[r].text != y.runs[r].text || !(x.runs[r].style == y.runs[r].style)) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const RichText doc = ReadRtf(source);

  // Each input byte gives at most one character (four bytes of UTF-8) or one
  // paragraph; a document always has its first paragraph.
  if (doc.paragraphs.empty()) fuzz::Fail("a document without a paragraph");
  if (doc.paragraphs.size() > size + 1) fuzz::Fail("more paragraphs than input bytes");
  size_t textBytes = 0;
  for (const TextParagraph& paragraph : doc.paragraphs) {
    for (size_t r = 0; r < paragraph.runs.size(); ++r) {
      const TextRun& run = paragraph.runs[r];
      if (run.text.empty()) fuzz::Fail("an empty run");
      if (r > 0 && run.style == paragraph.runs[r - 1].style)
        fuzz::Fail("two neighbouring runs in one style");
      if (!CleanUtf8(run.text)) fuzz::Fail("a run that is not clean UTF-8");
      if (run.style.halfPoints < 0 || run.style.halfPoints > 3276)
        fuzz::Fail("a font size out of range");
      if (run.style.font.size() > 4 * 64 || !CleanUtf8(run.style.font))
        fuzz::Fail("a font name too long or not clean UTF-8");
      textBytes += run.text.size();
    }
  }
  if (textBytes > 4 * size) fuzz::Fail("more text than the input can hold");

  const std::string path = fuzz::WriteInput("fuzz.rtf", data, size);
  const RtfFileResult fromFile = ReadRtfFile(path);
  const auto* read = std::get_if<RichText>(&fromFile);
  if (read == nullptr) fuzz::Fail("a file within the size limit refused");
  if (!SameDocument(*read, doc)) fuzz::Fail("the file and the bytes read differently");
  return 0;
}
