#include "app/tool_selection.h"

#include <algorithm>
#include <random>
#include <string>

#include "app/program.h"
#include "tools/specials.h"

namespace quillo {
namespace {

constexpr Color kRedBarOn = 0x0000FF;   // auto tool change on
constexpr Color kRedBarOff = 0x00FF00;  // lime: off

// Wraps a spec index stepped by one around the table.
constexpr int32_t WrapSpecIndex(int32_t index) {
  if (index < 0) return kSpecCount - 1;
  if (index >= kSpecCount) return 0;
  return index;
}

}  // namespace

ToolSelection::ToolSelection(Program& program) : p_(program) {}

void ToolSelection::Bind() {
  Form& f = p_.main.window.form;
  for (uint8_t tool = 0; tool < kToolCount; ++tool)
    f.On(p_.main.c.toolButtons[tool], EventKind::kMouseDown,
         [this, tool](const ControlEvent&) { SelectTool(tool); });
  f.On(p_.main.c.autoOnOffBtn, EventKind::kClick,
       [this](const ControlEvent&) { AutoOnOffClick(); });
}

void ToolSelection::AutoPenWidth(int32_t width) {
  if (p_.drawing.autoPenWidth) p_.main.images.canvas.SetPenWidth(width);
}

void ToolSelection::SelectTool(uint8_t tool) {
  if (tool >= kToolCount) return;
  Form& f = p_.main.window.form;
  const PaintLogControls& c = p_.main.c;
  Surface& canvas = p_.main.images.canvas;
  ToolState& t = p_.tools;

  for (ControlId button : c.toolButtons)
    f.SetColor(button, kToolOff);
  if (p_.drawing.selecting) p_.canvasOps.EndSelection();
  f.SetColor(c.toolButtons[tool], kToolOn);
  t.tool = tool;

  // The order within each row matters: a loader sets Wild, so ALIENS ends with Wild
  // on while the WILD button shows released.
  switch (tool) {
    case dtfree:
      AutoPenWidth(32);
      break;
    case dtline:
    case dtrectangle:
      AutoPenWidth(16);
      break;
    case dtellipse:
      AutoPenWidth(4);
      break;
    case dtroundrect:
      AutoPenWidth(8);
      break;
    case dtwave:
    case dtNuwave:
      t.wild = false;
      AutoPenWidth(2);
      break;
    case dtNuWaveSpecial:
      LoadStartupSpecials("spec1.spl", false);
      t.wild = true;
      canvas.SetPenWidth(1);
      break;
    case dtTwister:
    case dtwave3:
      t.wild = true;
      canvas.SetPenWidth(1);
      LoadStartupSpecials("hispec.spl", true);
      break;
    case dtwave4:
      canvas.SetPenWidth(1);
      t.wild = true;
      LoadStartupSpecials("hispec.spl", true);
      break;
    case dtBios:
      canvas.SetPenWidth(1);
      LoadStartupSpecials("nuspec.spl", false);
      break;
  }

  const bool replaying = p_.Replaying();
  if (!replaying) {
    p_.RecordAction(Point{}, lgshape, 0);
    p_.RecordAction(Point{}, lglinew, canvas.PenWidth());
  }
  // A replay does not stop the red bar tools from changing their spec.
  if (tool >= dtNuWaveSpecial && t.autoToolChange) PickRandomSpec();
  f.SetCaption(c.Label36, std::to_string(t.specA));
  f.SetCaption(c.Label41, std::to_string(t.specB));
  f.SetCaption(c.PenWlabel, std::to_string(canvas.PenWidth()));
  if (!replaying) RecordSpec();
}

void ToolSelection::AutoOnOffClick() {
  Form& f = p_.main.window.form;
  if (f[p_.main.c.autoOnOffBtn].color == kRedBarOn) {
    f.SetColor(p_.main.c.autoOnOffBtn, kRedBarOff);
    IncrementSpec();
  } else {
    f.SetColor(p_.main.c.autoOnOffBtn, kRedBarOn);
  }
  p_.tools.autoToolChange = !p_.tools.autoToolChange;
}

void ToolSelection::HighlightToolButton() {
  Form& f = p_.main.window.form;
  const auto& buttons = p_.main.c.toolButtons;
  for (size_t i = 0; i < buttons.size(); ++i)
    f.SetColor(buttons[i], i == p_.tools.tool ? kToolOn : kToolOff);
}

void ToolSelection::UseSpecEntry(int32_t index) {
  if (index < 0 || index >= kSpecCount) return;
  p_.tools.specA = p_.specs.a[index];
  p_.tools.specB = p_.specs.b[index];
}

void ToolSelection::ShowSpecEntry(int32_t index) {
  if (index < 0 || index >= kSpecCount) return;
  Form& f = p_.main.window.form;
  const std::string text = std::to_string(index);
  f.SetCaption(p_.main.c.Label35, text);
  f.SetCaption(p_.main.c.SpecLBL, text);
  f.SetCaption(p_.main.c.Label36, std::to_string(p_.specs.a[index]));
  f.SetCaption(p_.main.c.Label41, std::to_string(p_.specs.b[index]));
}

void ToolSelection::StepSpec(int32_t delta) {
  SpecTable& s = p_.specs;
  s.index = WrapSpecIndex(std::clamp(s.index, 0, kSpecCount - 1) + delta);
  UseSpecEntry(s.index);
  ShowSpecEntry(s.index);
  // Unconditional: the recorder ignores it while recording is off, but a full log
  // still beeps.
  p_.RecordAction(Point{}, lgNuWaveSpecial, SpecCode());
}

void ToolSelection::IncrementSpec() {
  StepSpec(1);
}

void ToolSelection::DecrementSpec() {
  StepSpec(-1);
}

void ToolSelection::PickRandomSpec() {
  const auto& a = p_.specs.a;
  const auto n =
      static_cast<int32_t>(std::count_if(a.begin(), a.end(), [](int32_t v) { return v != 0; })) - 1;
  int32_t i = 0;
  if (n > 0) {
    // Seeded from the clock right before the draw, so a test that fixes the clock
    // fixes the pick.
    std::mt19937 generator(static_cast<std::mt19937::result_type>(p_.platform.ClockMillis()));
    i = std::uniform_int_distribution<int32_t>(0, n - 1)(generator);
  }
  UseSpecEntry(i);
  ShowSpecEntry(i);
}

void ToolSelection::RecordSpec() {
  if (p_.drawing.recording) p_.RecordAction(Point{}, lgNuWaveSpecial, SpecCode());
}

int32_t ToolSelection::SpecCode() const {
  // Unsigned arithmetic: values beyond the 16-bit ranges wrap instead of overflowing.
  const uint32_t code =
      static_cast<uint32_t>(p_.tools.specA) * 65536u + static_cast<uint32_t>(p_.tools.specB);
  return static_cast<int32_t>(p_.tools.wild ? 0u - code : code);
}

void ToolSelection::LoadStartupSpecials(const std::string& name, bool wild) {
  // A missing or damaged start-up file is skipped without a message.
  const LoadedSpecials loaded = ReadSpecialsFile(p_.programDir + name);
  if (loaded.entries) p_.specs.Assign(*loaded.entries);
  p_.tools.wild = wild;
  p_.main.window.form.SetDown(p_.main.c.Wildbtn, wild);
}

}  // namespace quillo
