#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "form/catalogue.h"

namespace quillo {

class Program;

// A language the program speaks: its code, as in the catalogue's file name, and its
// name in itself, as the language button shows it.
struct Language {
  std::string_view code;
  std::string_view name;
};

inline constexpr std::array<Language, 6> kLanguages = {{
    {"en", "English"},
    {"de", "Deutsch"},
    {"fr", "Fran\u00E7ais"},
    {"es", "Espa\u00F1ol"},
    {"pt_BR", "Portugu\u00EAs"},
    {"ja", "\u65E5\u672C\u8A9E"},
}};

// The code of the language test windows are shown in, which no file holds.
inline constexpr std::string_view kPseudoLanguage = "pseudo";

// Whether code names a language the program can be shown in, the test one included.
bool IsLanguageCode(std::string_view code);

// The desktop's language settings, as the environment gives them; empty when unset.
struct LocaleEnvironment {
  std::string language;  // LANGUAGE: a colon-separated list of preferences
  std::string lcAll;
  std::string lcMessages;
  std::string lang;
};

// The language of ours a locale name means ("de_DE.UTF-8" is German, "pt" and
// "pt_PT" are Portuguese), or nothing for one we do not speak ("C" included).
std::optional<std::string> SupportedLanguage(std::string_view locale);

// The desktop's language: the first of LANGUAGE's list that we speak, else the
// first of LC_ALL, LC_MESSAGES and LANG that is set, when we speak it; else English.
std::string DesktopLanguage(const LocaleEnvironment& env);

// The language to start in: the command line's, else the one kept in the program
// folder, else the desktop's. An unknown code given or kept counts as none.
std::string ChooseLanguage(const std::optional<std::string>& commandLine,
                           const std::string& programDir, const LocaleEnvironment& env);

// The file in the program folder that keeps the language chosen in the program.
inline constexpr const char* kLanguageFile = "Language.txt";
// The file of a language's catalogue in the program folder.
std::string CatalogueFile(const std::string& programDir, std::string_view code);

// Reads the catalogue file at path; the fault when it cannot be read or is malformed.
std::variant<Catalogue, std::string> LoadCatalogue(const std::string& path);

// Shows the program in the language of that code from now on, its catalogue read
// from the program folder; English and the test language need no file. A catalogue
// that cannot be read leaves the language as it was and returns the message.
std::optional<std::string> UseLanguage(Program& program, std::string_view code);

// The language after the current one, as the settings strip's language button steps
// through them, and the choice kept in the program folder. A failure to keep it is
// said to the user; the language changes all the same.
void NextLanguage(Program& program);

}  // namespace quillo
