#pragma once

#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

namespace quillo {

// The words of one language, looked up by the English text they stand for, with a
// context where one English text needs two translations. Read from a gettext PO file
// ("msgctxt", "msgid", "msgstr"); an entry without a translation, or marked fuzzy,
// leaves the English text. An empty catalogue is English.
class Catalogue {
 public:
  // Reads a PO file's text. A malformed file is refused whole, with the fault and
  // its line.
  static std::variant<Catalogue, std::string> Parse(std::string_view text);
  // The test language: every text marked at both ends, its letters accented and
  // lengthened by a third, so a text that never came through here stands out and
  // one that only just fits in English no longer does.
  static Catalogue Pseudo();

  // The translation of english, or english itself. A text with no letter in it (a
  // number) or of a single letter (a key, a mode's sign) is never translated.
  std::string Text(std::string_view english, std::string_view context = {}) const;

  // Whether the text is one this catalogue's translations are for: a test asks,
  // after running every window, which texts a translation lacks.
  bool Has(std::string_view english, std::string_view context = {}) const;
  // The English texts looked up and found wanting since the catalogue was made.
  const std::set<std::string>& Missed() const { return missed_; }
  // Every English text the catalogue translates, with its context before a '\4'.
  std::set<std::string> Keys() const;

  bool pseudo() const { return pseudo_; }

 private:
  std::unordered_map<std::string, std::string> texts_;
  bool pseudo_ = false;
  mutable std::set<std::string> missed_;
};

// Puts values into a translated message: %1 to %9 stand for the values in order,
// wherever the translation places them; "%%" is a percent sign.
std::string Arg(std::string_view message, std::initializer_list<std::string_view> values);
std::string ArgList(std::string_view message, std::span<const std::string_view> values);

// The marks the test language puts around every text it translates.
inline constexpr std::string_view kPseudoOpen = "\u00AB";
inline constexpr std::string_view kPseudoClose = "\u00BB";

}  // namespace quillo
