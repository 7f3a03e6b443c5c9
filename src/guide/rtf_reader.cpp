#include "guide/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/whole_file.h"

namespace quillo {
namespace {

// Control words longer than this are not RTF's; the rest of the letters is read and
// the word ignored.
constexpr size_t kMaxWordLength = 32;
// Numeric parameters are read to this many digits; more digits are read and dropped.
constexpr int kMaxDigits = 10;
// \ucN beyond this is not meaningful: no fallback is that long.
constexpr int32_t kMaxUnicodeSkip = 16;

// Code page 1252 at 0x80..0x9F; the rest of the page is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char32_t FromCp1252(uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
  return byte;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;  // a lone surrogate
  if (c > 0x10FFFF) c = 0xFFFD;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Where the text of a group goes.
enum class Destination : uint8_t { kText, kSkip, kFontTable, kColourTable };

// What a group inherits from its parent and gives back at its end.
struct GroupState {
  Destination destination = Destination::kText;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int32_t halfPoints = 0;
  int32_t colourIndex = 0;
  int32_t fontIndex = -1;
  TextAlignment alignment = TextAlignment::kLeft;
  int32_t unicodeSkip = 1;
};

struct ControlWord {
  std::string_view word;
  bool hasParameter = false;
  int32_t parameter = 0;
};

constexpr std::array<std::string_view, 27> kSkippedDestinations = {"stylesheet",
                                                                   "info",
                                                                   "pict",
                                                                   "header",
                                                                   "headerl",
                                                                   "headerr",
                                                                   "headerf",
                                                                   "footer",
                                                                   "footerl",
                                                                   "footerr",
                                                                   "footerf",
                                                                   "footnote",
                                                                   "object",
                                                                   "filetbl",
                                                                   "revtbl",
                                                                   "listtable",
                                                                   "listoverridetable",
                                                                   "rsidtbl",
                                                                   "xmlnstbl",
                                                                   "themedata",
                                                                   "datastore",
                                                                   "fldinst",
                                                                   "colorschememapping",
                                                                   "latentstyles",
                                                                   "nonshppict",
                                                                   "bkmkstart",
                                                                   "bkmkend"};

class RtfReader {
 public:
  explicit RtfReader(std::string_view source) : s_(source) {
    doc_.paragraphs.emplace_back();
    stack_.emplace_back();
  }

  RichText Read() {
    while (i_ < s_.size()) {
      const char c = s_[i_++];
      switch (c) {
        case '{':
          OpenGroup();
          break;
        case '}':
          CloseGroup();
          break;
        case '\\':
          if (overflow_ == 0)
            ReadControl();
          else
            SkipControl();
          break;
        case '\r':
        case '\n':
          break;
        default:
          if (overflow_ == 0) Byte(static_cast<uint8_t>(c));
          break;
      }
    }
    EndParagraph(/*last=*/true);
    return std::move(doc_);
  }

 private:
  GroupState& State() { return stack_.back(); }

  void OpenGroup() {
    skipRemaining_ = 0;
    if (overflow_ > 0 || stack_.size() >= static_cast<size_t>(kMaxRtfDepth)) {
      ++overflow_;
      return;
    }
    stack_.push_back(stack_.back());
  }

  void CloseGroup() {
    skipRemaining_ = 0;
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    // The outermost state stays: an unmatched "}" is ignored.
    if (stack_.size() > 1) stack_.pop_back();
  }

  // Reads what follows a backslash while inside groups that are skipped, so that an
  // escaped brace there does not count as one.
  void SkipControl() {
    if (i_ < s_.size()) ++i_;
  }

  void ReadControl() {
    if (i_ >= s_.size()) return;
    const char c = s_[i_];
    if (!IsLetter(c)) {
      ++i_;
      ControlSymbol(c);
      return;
    }
    ControlWord w;
    const size_t start = i_;
    while (i_ < s_.size() && IsLetter(s_[i_]))
      ++i_;
    w.word = s_.substr(start, std::min(i_ - start, kMaxWordLength + 1));
    bool negative = false;
    if (i_ < s_.size() && s_[i_] == '-' && i_ + 1 < s_.size() && IsDigit(s_[i_ + 1])) {
      negative = true;
      ++i_;
    }
    int64_t value = 0;
    int digits = 0;
    while (i_ < s_.size() && IsDigit(s_[i_])) {
      if (digits < kMaxDigits) value = value * 10 + (s_[i_] - '0');
      ++digits;
      ++i_;
    }
    if (digits > 0) {
      w.hasParameter = true;
      value = std::clamp<int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX);
      w.parameter = static_cast<int32_t>(value);
    }
    if (i_ < s_.size() && s_[i_] == ' ') ++i_;
    if (w.word.size() > kMaxWordLength) return;
    Word(w);
  }

  void ControlSymbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}':
        Text(static_cast<uint8_t>(c));
        break;
      case '~':
        Char(0x00A0);
        break;
      case '_':
        Char(0x2011);
        break;
      case '*':
        State().destination = Destination::kSkip;
        break;
      case '\'':
        Hex();
        break;
      case '\r':
      case '\n':
        skipRemaining_ = 0;
        EndParagraph(false);
        break;
      default:
        // \- (an optional hyphen), \: and the rest show nothing.
        break;
    }
  }

  void Hex() {
    if (i_ + 1 >= s_.size()) {
      i_ = s_.size();
      return;
    }
    const int high = HexDigit(s_[i_]);
    const int low = HexDigit(s_[i_ + 1]);
    if (high < 0 || low < 0) return;
    i_ += 2;
    Text(FromCp1252(static_cast<uint8_t>(high * 16 + low)));
  }

  void Byte(uint8_t b) {
    if (b < 0x20 && b != '\t') return;
    Text(FromCp1252(b));
  }

  // A character of the document's text, routed by the group's destination. The
  // characters after \uN that stand in for it are dropped.
  void Text(char32_t c) {
    if (skipRemaining_ > 0) {
      --skipRemaining_;
      return;
    }
    switch (State().destination) {
      case Destination::kText:
        Char(c);
        break;
      case Destination::kFontTable:
        FontTableChar(c);
        break;
      case Destination::kColourTable:
        if (c == ';') CommitColour();
        break;
      case Destination::kSkip:
        break;
    }
  }

  void FontTableChar(char32_t c) {
    if (c == ';') {
      const size_t first = fontName_.find_first_not_of(' ');
      const size_t last = fontName_.find_last_not_of(' ');
      if (State().fontIndex >= 0 && first != std::string::npos)
        fonts_[State().fontIndex] = fontName_.substr(first, last - first + 1);
      fontName_.clear();
      return;
    }
    // A font name holds no control character (an escaped \'01 or a tab), and one
    // longer than any real one is cut, so a huge table stays small.
    if (c >= 0x20 && fontName_.size() < 64) AppendUtf8(fontName_, c);
  }

  void CommitColour() {
    colours_.push_back(colourSet_ ? Rgb(red_, green_, blue_) : kNoColor);
    red_ = green_ = blue_ = 0;
    colourSet_ = false;
  }

  void Word(const ControlWord& w) {
    const std::string_view word = w.word;
    GroupState& g = State();
    if (word != "u") skipRemaining_ = 0;
    const bool on = !w.hasParameter || w.parameter != 0;

    if (word == "fonttbl") {
      g.destination = Destination::kFontTable;
      fontName_.clear();
    } else if (word == "colortbl") {
      g.destination = Destination::kColourTable;
      colours_.clear();
    } else if (std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word) !=
               kSkippedDestinations.end()) {
      g.destination = Destination::kSkip;
    } else if (word == "red" || word == "green" || word == "blue") {
      const auto v = static_cast<uint8_t>(std::clamp(w.parameter, 0, 255));
      (word == "red" ? red_ : word == "green" ? green_ : blue_) = v;
      colourSet_ = true;
    } else if (word == "bin") {
      // Raw bytes that may hold anything, braces included.
      const auto count = static_cast<size_t>(std::max(w.parameter, 0));
      i_ += std::min(count, s_.size() - i_);
    } else if (word == "par" || word == "page" || word == "sect") {
      EndParagraph(false);
    } else if (word == "line") {
      Char('\n');
    } else if (word == "tab") {
      Char('\t');
    } else if (word == "b") {
      g.bold = on;
    } else if (word == "i") {
      g.italic = on;
    } else if (word == "ul") {
      g.underline = on;
    } else if (word == "ulnone") {
      g.underline = false;
    } else if (word == "fs") {
      g.halfPoints = w.hasParameter ? std::clamp(w.parameter, 0, 3276) : 0;
    } else if (word == "cf") {
      g.colourIndex = std::max(w.parameter, 0);
    } else if (word == "f") {
      g.fontIndex = w.hasParameter ? std::max(w.parameter, -1) : -1;
    } else if (word == "deff") {
      defaultFont_ = w.parameter;
      if (g.fontIndex < 0) g.fontIndex = defaultFont_;
    } else if (word == "plain") {
      g.bold = g.italic = g.underline = false;
      g.halfPoints = 0;
      g.colourIndex = 0;
      g.fontIndex = defaultFont_;
    } else if (word == "pard") {
      g.alignment = TextAlignment::kLeft;
    } else if (word == "ql" || word == "qj") {
      g.alignment = TextAlignment::kLeft;
    } else if (word == "qc") {
      g.alignment = TextAlignment::kCenter;
    } else if (word == "qr") {
      g.alignment = TextAlignment::kRight;
    } else if (word == "uc") {
      g.unicodeSkip = std::clamp(w.parameter, 0, kMaxUnicodeSkip);
    } else if (word == "u") {
      Unicode(w.parameter);
    } else if (word == "emdash") {
      Char(0x2014);
    } else if (word == "endash") {
      Char(0x2013);
    } else if (word == "bullet") {
      Char(0x2022);
    } else if (word == "lquote") {
      Char(0x2018);
    } else if (word == "rquote") {
      Char(0x2019);
    } else if (word == "ldblquote") {
      Char(0x201C);
    } else if (word == "rdblquote") {
      Char(0x201D);
    } else if (word == "emspace" || word == "enspace") {
      Char(' ');
    }
  }

  void Unicode(int32_t parameter) {
    // Negative values are the upper half of the 16-bit range written signed.
    const auto unit = static_cast<char32_t>(static_cast<uint16_t>(parameter));
    if (State().destination == Destination::kText) {
      if (unit >= 0xDC00 && unit < 0xE000 && highSurrogate_ != 0) {
        const char32_t c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
        highSurrogate_ = 0;
        Emit(c);
      } else if (unit >= 0xD800 && unit < 0xDC00) {
        FlushSurrogate();
        highSurrogate_ = unit;
      } else {
        Char(unit);
      }
    }
    skipRemaining_ = State().unicodeSkip;
  }

  // A high surrogate whose partner did not follow shows as the replacement character.
  void FlushSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    Emit(0xFFFD);
  }

  void Char(char32_t c) {
    FlushSurrogate();
    Emit(c);
  }

  void Emit(char32_t c) {
    if (c < 0x20 && c != '\t' && c != '\n') return;
    const GroupState& g = State();
    if (g.destination != Destination::kText) return;
    TextStyle style;
    style.bold = g.bold;
    style.italic = g.italic;
    style.underline = g.underline;
    style.halfPoints = g.halfPoints;
    if (g.colourIndex > 0 && static_cast<size_t>(g.colourIndex) < colours_.size())
      style.color = colours_[g.colourIndex];
    if (auto f = fonts_.find(g.fontIndex); f != fonts_.end()) style.font = f->second;
    std::vector<TextRun>& runs = doc_.paragraphs.back().runs;
    if (runs.empty() || !(runs.back().style == style)) runs.push_back(TextRun{{}, style});
    AppendUtf8(runs.back().text, c);
  }

  void EndParagraph(bool last) {
    if (State().destination != Destination::kText && !last) return;
    TextParagraph& p = doc_.paragraphs.back();
    p.alignment = State().alignment;
    if (last) {
      // The break after the last paragraph does not make one more.
      if (p.runs.empty() && doc_.paragraphs.size() > 1) doc_.paragraphs.pop_back();
      return;
    }
    doc_.paragraphs.emplace_back();
  }

  std::string_view s_;
  size_t i_ = 0;
  RichText doc_;
  std::vector<GroupState> stack_;
  int64_t overflow_ = 0;  // groups opened beyond the depth bound, still open
  int32_t skipRemaining_ = 0;
  char32_t highSurrogate_ = 0;
  std::map<int32_t, std::string> fonts_;
  std::string fontName_;
  int32_t defaultFont_ = -1;
  std::vector<Color> colours_;
  uint8_t red_ = 0, green_ = 0, blue_ = 0;
  bool colourSet_ = false;
};

}  // namespace

RichText ReadRtf(std::string_view source) {
  return RtfReader(source).Read();
}

RtfFileResult ReadRtfFile(const std::string& path) {
  auto read = ReadFileStart(path, kMaxRtfFileBytes);
  if (const auto* fault = std::get_if<std::string>(&read))
    return "Cannot open file \"" + path + "\": " + *fault + ".";
  const FileStart& file = std::get<FileStart>(read);
  if (file.size > kMaxRtfFileBytes)
    return "The document \"" + path + "\" is larger than " +
           std::to_string(kMaxRtfFileBytes >> 20) + " MB.";
  return ReadRtf(
      std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
}

}  // namespace quillo
