#include "app/spec_panel.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "app/program.h"
#include "form/number_field.h"
#include "tools/specials.h"

namespace quillo {
namespace {

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
  SpecTable& s = p_.specs;
  const auto index = static_cast<size_t>(std::clamp(s.index, 0, kSpecCount - 1));
  std::string error;
  const std::optional<int32_t> a = NumberField{c.Edit1, "Spec A"}.Read(f, &error);
  const std::optional<int32_t> b = a ? NumberField{c.Edit2, "Spec B"}.Read(f, &error) : a;
  if (!a || !b) {
    p_.platform.ShowError(error);
    return;
  }
  s.a[index] = *a;
  s.b[index] = *b;

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
  spec.filter = "Specials|*.spl";
  spec.defaultExtension = "spl";
  spec.mustExist = true;
  spec.kind = FileKind::kDocuments;
  const std::optional<std::string> name = p_.platform.OpenFileName(spec);
  if (!name) return;
  const LoadedSpecials loaded = ReadSpecialsFile(*name);
  if (!loaded.entries) {
    p_.platform.ShowError(Arg(p_.Tr("Cannot open \"%1\": %2."), {*name, loaded.error}));
    return;
  }
  p_.specs.Assign(*loaded.entries);
}

void SpecPanel::SaveSpec() {
  FileDialogSpec spec;
  spec.filter = "Specials|*.spl";
  spec.defaultExtension = "spl";
  spec.confirmOverwrite = true;
  spec.kind = FileKind::kDocuments;
  const std::optional<std::string> name = p_.platform.SaveFileName(spec);
  if (!name) return;
  if (auto fault = WriteSpecialsFile(*name, p_.specs))
    p_.platform.ShowError(Arg(p_.Tr("Cannot save \"%1\": %2."), {*name, *fault}));
}

}  // namespace quillo
