#include "form/catalogue.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace quillo {
namespace {

constexpr char kContextSeparator = '\4';

std::string Key(std::string_view english, std::string_view context) {
  if (context.empty()) return std::string(english);
  std::string key(context);
  key += kContextSeparator;
  key += english;
  return key;
}

bool HasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char ch) {
    const auto u = static_cast<unsigned char>(ch);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0x80;
  });
}

// One line of a PO file: its keyword and the string after it, or a continued string.
struct PoLine {
  std::string keyword;  // empty for a line that only continues the last string
  std::string text;
};

// Reads a quoted C string with its escapes; the fault, or nothing and the text.
std::optional<std::string> Unquote(std::string_view s, std::string& out) {
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return "a string without its quotes";
  out.clear();
  for (size_t i = 1; i + 1 < s.size(); ++i) {
    char ch = s[i];
    if (ch == '"') return "a quote inside a string";
    if (ch == '\\') {
      if (i + 2 >= s.size()) return "a string ending in a backslash";
      switch (s[++i]) {
        case 'n':
          ch = '\n';
          break;
        case 't':
          ch = '\t';
          break;
        case '"':
          ch = '"';
          break;
        case '\\':
          ch = '\\';
          break;
        default:
          return "an unknown escape";
      }
    }
    out += ch;
  }
  return std::nullopt;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// The accented letter the test language shows for an ASCII letter.
std::string_view Accented(char ch) {
  static constexpr std::array<std::string_view, 26> kLower = {
      "\u00E1", "\u0180", "\u00E7", "\u00F0", "\u00E9", "\u0192", "\u011D", "\u0125", "\u00ED",
      "\u0135", "\u0137", "\u013A", "\u1E3F", "\u00F1", "\u00F6", "\u00FE", "\u01EB", "\u0155",
      "\u0161", "\u0163", "\u00FC", "\u1E7D", "\u0175", "\u1E8B", "\u00FD", "\u017E"};
  static constexpr std::array<std::string_view, 26> kUpper = {
      "\u00C5", "\u0181", "\u00C7", "\u00D0", "\u00C9", "\u0191", "\u011C", "\u0124", "\u00CE",
      "\u0134", "\u0136", "\u0139", "\u1E3E", "\u00D1", "\u00D6", "\u00DE", "\u01EA", "\u0154",
      "\u0160", "\u0162", "\u00DC", "\u1E7C", "\u0174", "\u1E8A", "\u00DD", "\u017D"};
  if (ch >= 'a' && ch <= 'z') return kLower[ch - 'a'];
  if (ch >= 'A' && ch <= 'Z') return kUpper[ch - 'A'];
  return {};
}

size_t CodePoints(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char ch) {
    return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
  }));
}

std::string PseudoText(std::string_view english) {
  std::string out(kPseudoOpen);
  size_t letters = 0;
  for (size_t i = 0; i < english.size(); ++i) {
    const char ch = english[i];
    // A placeholder stays as it is, so the values still go in.
    if (ch == '%' && i + 1 < english.size() &&
        ((english[i + 1] >= '1' && english[i + 1] <= '9') || english[i + 1] == '%')) {
      out += english.substr(i, 2);
      ++i;
      continue;
    }
    const std::string_view accented = Accented(ch);
    if (accented.empty()) {
      out += ch;
    } else {
      out += accented;
    }
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++letters;
  }
  // A third longer: as many filler letters as a third of the characters, so that
  // words of a longer language are felt; a caption of capitals gets capitals.
  const bool capitals =
      std::none_of(english.begin(), english.end(), [](char ch) { return ch >= 'a' && ch <= 'z'; });
  for (size_t i = 0; i < (letters + 2) / 3; ++i)
    out += capitals ? "\u00C6" : "\u00E6";
  out += kPseudoClose;
  return out;
}

}  // namespace

std::variant<Catalogue, std::string> Catalogue::Parse(std::string_view text) {
  Catalogue catalogue;
  std::string context, id, str;
  std::string* last = nullptr;
  bool fuzzy = false;
  bool haveId = false;
  bool haveStr = false;
  int lineNumber = 0;
  auto fault = [&lineNumber](std::string_view what) {
    return "line " + std::to_string(lineNumber) + ": " + std::string(what);
  };
  auto finish = [&]() {
    if (haveId && !id.empty() && !fuzzy) {
      std::string key = Key(id, context);
      catalogue.texts_[std::move(key)] = str;
    }
    context.clear();
    id.clear();
    str.clear();
    last = nullptr;
    fuzzy = false;
    haveId = false;
    haveStr = false;
  };
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty()) {
      if (haveId && !haveStr) return fault("an entry without its msgstr");
      finish();
      continue;
    }
    if (line.front() == '#') {
      if (line.starts_with("#,") && line.find("fuzzy") != std::string_view::npos) fuzzy = true;
      continue;
    }
    std::string piece;
    if (line.front() == '"') {
      if (last == nullptr) return fault("a string that continues nothing");
      if (auto bad = Unquote(line, piece)) return fault(*bad);
      *last += piece;
      continue;
    }
    const size_t space = line.find_first_of(" \t");
    if (space == std::string_view::npos) return fault("a keyword without its string");
    const std::string_view keyword = line.substr(0, space);
    if (auto bad = Unquote(Trim(line.substr(space)), piece)) return fault(*bad);
    if (keyword == "msgctxt") {
      if (haveId) {
        if (!haveStr) return fault("an entry without its msgstr");
        finish();
      }
      context = std::move(piece);
      last = &context;
    } else if (keyword == "msgid") {
      if (haveId) {
        if (!haveStr) return fault("an entry without its msgstr");
        finish();
      }
      id = std::move(piece);
      last = &id;
      haveId = true;
    } else if (keyword == "msgstr") {
      if (!haveId || haveStr) return fault("a msgstr without its msgid");
      str = std::move(piece);
      last = &str;
      haveStr = true;
    } else {
      return fault("an unknown keyword " + std::string(keyword.substr(0, 20)));
    }
  }
  if (haveId && !haveStr) return fault("an entry without its msgstr");
  finish();
  return catalogue;
}

Catalogue Catalogue::Pseudo() {
  Catalogue catalogue;
  catalogue.pseudo_ = true;
  return catalogue;
}

std::string Catalogue::Text(std::string_view english, std::string_view context) const {
  // A single letter is a sign (a key, a mode's letter), the same in every language.
  if (!HasLetter(english) || CodePoints(english) == 1) return std::string(english);
  if (pseudo_) return PseudoText(english);
  const auto it = texts_.find(Key(english, context));
  if (it == texts_.end()) {
    missed_.insert(Key(english, context));
    return std::string(english);
  }
  return it->second.empty() ? std::string(english) : it->second;
}

bool Catalogue::Has(std::string_view english, std::string_view context) const {
  return pseudo_ || texts_.count(Key(english, context)) != 0;
}

std::set<std::string> Catalogue::Keys() const {
  std::set<std::string> keys;
  for (const auto& [key, translation] : texts_)
    keys.insert(key);
  return keys;
}

std::string Arg(std::string_view message, std::initializer_list<std::string_view> values) {
  return ArgList(message, std::span(values.begin(), values.size()));
}

std::string ArgList(std::string_view message, std::span<const std::string_view> values) {
  std::string out;
  out.reserve(message.size());
  for (size_t i = 0; i < message.size(); ++i) {
    const char ch = message[i];
    if (ch == '%' && i + 1 < message.size()) {
      const char next = message[i + 1];
      if (next == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (next >= '1' && next <= '9' && static_cast<size_t>(next - '1') < values.size()) {
        out += values[static_cast<size_t>(next - '1')];
        ++i;
        continue;
      }
    }
    out += ch;
  }
  return out;
}

}  // namespace quillo
