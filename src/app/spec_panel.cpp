#include "app/spec_panel.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>

#include "app/program.h"
#include "tools/specials.h"

namespace quillo {
namespace {

constexpr size_t kMaxEntryDigits = 5;

// A whole decimal number as a number field gives it; nothing when it is none.
std::optional<int32_t> ParseInt(const std::string& text) {
  int32_t v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return v;
}

std::string NotAnInteger(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

std::string DigitsOf(const std::string& text) {
  std::string digits;
  for (char ch : text)
    if (std::isdigit(static_cast<unsigned char>(ch))) digits += ch;
  return digits;
}

}  // namespace

SpecPanel::SpecPanel(Program& program) : p_(program) {}

void SpecPanel::Bind() {
  const PaintLogControls& c = p_.main.c;
  Form& f = p_.main.window.form;
  ToolSelection& tools = p_.toolSelection;
  auto onClick = [&f](ControlId id, auto fn) {
    f.On(id, EventKind::kClick, [fn](const ControlEvent&) { fn(); });
  };
  onClick(c.Label26, [&tools] { tools.DecrementSpec(); });
  onClick(c.SpeedButton26, [&tools] { tools.DecrementSpec(); });
  onClick(c.Label27, [&tools] { tools.IncrementSpec(); });
  onClick(c.SpeedButton27, [&tools] { tools.IncrementSpec(); });
  onClick(c.SpeedButton28, [this] { EnterSpec(); });
  onClick(c.Wildbtn, [this] { WildClick(); });
  onClick(c.SpeedButton35, [this] { GetSpec(); });
  onClick(c.SpeedButton36, [this] { SaveSpec(); });
  // The entry fields take digits only; backspace needs nothing, it only removes.
  for (ControlId edit : {c.Edit1, c.Edit2})
    f.On(edit, EventKind::kChange,
         [&f, edit](const ControlEvent& e) { f.SetCaption(edit, DigitsOf(e.text)); });
}

void SpecPanel::EnterSpec() {
  const PaintLogControls& c = p_.main.c;
  Form& f = p_.main.window.form;
  for (ControlId edit : {c.Edit1, c.Edit2})
    if (f[edit].caption.size() > kMaxEntryDigits) f.SetCaption(edit, "0");

  SpecTable& s = p_.specs;
  const auto index = static_cast<size_t>(std::clamp(s.index, 0, kSpecCount - 1));
  const std::optional<int32_t> a = ParseInt(f[c.Edit1].caption);
  if (!a) {
    p_.platform.ShowError(NotAnInteger(f[c.Edit1].caption));
    return;
  }
  s.a[index] = std::clamp(*a, 0, kMaxSpecA);
  const std::optional<int32_t> b = ParseInt(f[c.Edit2].caption);
  if (!b) {
    p_.platform.ShowError(NotAnInteger(f[c.Edit2].caption));
    return;
  }
  s.b[index] = std::clamp(*b, 0, kMaxSpecB);

  f.SetCaption(c.Edit1, "0");
  f.SetCaption(c.Edit2, "0");
  f.SetCaption(c.Label36, std::to_string(s.a[index]));
  f.SetCaption(c.Label41, std::to_string(s.b[index]));
  p_.toolSelection.UseSpecEntry(static_cast<int32_t>(index));
  p_.toolSelection.RecordSpec();
}

void SpecPanel::WildClick() {
  p_.tools.wild = p_.main.window.form[p_.main.c.Wildbtn].down;
  p_.toolSelection.IncrementSpec();
  p_.toolSelection.DecrementSpec();
}

void SpecPanel::GetSpec() {
  FileDialogSpec spec;
  spec.filter = "Specials,*.spl|*.spl";
  spec.defaultExtension = "spl";
  spec.mustExist = true;
  const std::optional<std::string> name = p_.platform.OpenFileName(spec);
  if (!name) return;
  const LoadedSpecials loaded = ReadSpecialsFile(*name);
  if (!loaded.entries) {
    p_.platform.ShowError("Cannot open \"" + *name + "\": " + loaded.error + ".");
    return;
  }
  p_.specs.Assign(*loaded.entries);
}

void SpecPanel::SaveSpec() {
  FileDialogSpec spec;
  spec.filter = "Secials(*.spl)|*.spl";
  spec.defaultExtension = "spl";
  spec.confirmOverwrite = true;
  const std::optional<std::string> name = p_.platform.SaveFileName(spec);
  if (!name) return;
  if (auto fault = WriteSpecialsFile(*name, p_.specs))
    p_.platform.ShowError("Cannot save \"" + *name + "\": " + *fault + ".");
}

}  // namespace quillo
