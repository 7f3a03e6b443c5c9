#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "form/controls.h"

namespace quillo {

// How a run of text looks. A size of 0 and kNoColor mean the viewer's own font size
// and text colour; an empty font name means the viewer's own font.
struct TextStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int32_t halfPoints = 0;
  Color color = kNoColor;
  std::string font;

  bool operator==(const TextStyle&) const = default;
};

// A stretch of UTF-8 text in one style. '\n' is a line break inside the paragraph,
// '\t' a tab.
struct TextRun {
  std::string text;
  TextStyle style;
};

enum class TextAlignment : uint8_t { kLeft, kCenter, kRight };

struct TextParagraph {
  TextAlignment alignment = TextAlignment::kLeft;
  std::vector<TextRun> runs;
};

// A formatted document as a rich-text control shows it: paragraphs of styled runs.
struct RichText {
  std::vector<TextParagraph> paragraphs;

  // The document's text alone, paragraphs ended by '\n'.
  std::string PlainText() const {
    std::string out;
    for (const TextParagraph& p : paragraphs) {
      for (const TextRun& r : p.runs)
        out += r.text;
      out += '\n';
    }
    return out;
  }
};

}  // namespace quillo
