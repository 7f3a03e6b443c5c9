#include "app/language.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "app/program.h"
#include "platform/whole_file.h"

namespace quillo {
namespace {

// More than any catalogue of ours needs; a bigger file is no catalogue.
constexpr size_t kMaxCatalogueBytes = 1 << 20;

bool Known(std::string_view code) {
  return std::any_of(kLanguages.begin(), kLanguages.end(),
                     [code](const Language& l) { return l.code == code; });
}

std::optional<std::string> KeptLanguage(const std::string& programDir) {
  const auto read = ReadFileStart(programDir + kLanguageFile, 64);
  if (!std::holds_alternative<FileStart>(read)) return std::nullopt;
  const auto& bytes = std::get<FileStart>(read).bytes;
  std::string code(bytes.begin(), bytes.end());
  while (!code.empty() && (code.back() == '\n' || code.back() == '\r' || code.back() == ' '))
    code.pop_back();
  if (!Known(code)) return std::nullopt;
  return code;
}

}  // namespace

bool IsLanguageCode(std::string_view code) {
  return Known(code) || code == kPseudoLanguage;
}

std::optional<std::string> SupportedLanguage(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  const std::string_view language = name.substr(0, name.find('_'));
  if (language == "pt") return std::string("pt_BR");
  if (language == "pt_BR" || !Known(language)) return std::nullopt;
  return std::string(language);
}

std::string DesktopLanguage(const LocaleEnvironment& env) {
  std::string_view list = env.language;
  while (!list.empty()) {
    const size_t colon = list.find(':');
    if (auto code = SupportedLanguage(list.substr(0, colon))) return *code;
    list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
  }
  for (const std::string* setting : {&env.lcAll, &env.lcMessages, &env.lang}) {
    if (setting->empty()) continue;
    return SupportedLanguage(*setting).value_or("en");
  }
  return "en";
}

std::string ChooseLanguage(const std::optional<std::string>& commandLine,
                           const std::string& programDir, const LocaleEnvironment& env) {
  if (commandLine && IsLanguageCode(*commandLine)) return *commandLine;
  if (auto kept = KeptLanguage(programDir)) return *kept;
  return DesktopLanguage(env);
}

std::string CatalogueFile(const std::string& programDir, std::string_view code) {
  return programDir + "quillo_" + std::string(code) + ".po";
}

std::variant<Catalogue, std::string> LoadCatalogue(const std::string& path) {
  const auto read = ReadFileStart(path, kMaxCatalogueBytes + 1);
  if (const auto* fault = std::get_if<std::string>(&read)) return *fault;
  const FileStart& file = std::get<FileStart>(read);
  if (file.size > kMaxCatalogueBytes) return std::string("it is too big");
  return Catalogue::Parse(
      std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
}

std::optional<std::string> UseLanguage(Program& program, std::string_view code) {
  if (code == "en" || code == kPseudoLanguage) {
    program.SetLanguage(std::string(code), code == "en" ? Catalogue{} : Catalogue::Pseudo());
    return std::nullopt;
  }
  const std::string path = CatalogueFile(program.programDir, code);
  auto loaded = LoadCatalogue(path);
  if (const auto* fault = std::get_if<std::string>(&loaded))
    return Arg(program.Tr("Cannot open \"%1\": %2."), {path, *fault});
  program.SetLanguage(std::string(code), std::move(std::get<Catalogue>(loaded)));
  return std::nullopt;
}

void NextLanguage(Program& program) {
  auto it = std::find_if(kLanguages.begin(), kLanguages.end(),
                         [&program](const Language& l) { return l.code == program.language; });
  // Step past a language whose catalogue cannot be read, back round to English; the
  // first fault is said, once.
  std::optional<std::string> firstFault;
  for (size_t tries = 0; tries < kLanguages.size(); ++tries) {
    it = (it == kLanguages.end() || it + 1 == kLanguages.end()) ? kLanguages.begin() : it + 1;
    const auto fault = UseLanguage(program, it->code);
    if (!fault) break;
    if (!firstFault) firstFault = fault;
  }
  if (firstFault) program.platform.ShowError(*firstFault);
  const std::string kept = program.language + "\n";
  if (auto fault =
          WriteWholeFile(program.programDir + kLanguageFile,
                         std::span(reinterpret_cast<const uint8_t*>(kept.data()), kept.size())))
    program.platform.ShowError(
        Arg(program.Tr("Cannot keep the language for the next start: %1"), {*fault}));
}

}  // namespace quillo
