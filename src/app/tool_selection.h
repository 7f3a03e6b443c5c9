#pragma once

#include <cstdint>
#include <string>

namespace quillo {

class Program;

// The tool bar's twelve tool buttons, the red bar and the current spec: selecting a
// tool with its pen width, Wild setting and specials file, and stepping or picking
// the spec pair the red bar tools draw with.
class ToolSelection {
 public:
  explicit ToolSelection(Program& program);

  // Binds the tool buttons and the red bar of the main window.
  void Bind();

  // Makes a tool current, as a press on its button does.
  void SelectTool(uint8_t tool);
  // A click on the red bar.
  void AutoOnOffClick();
  // Paints the current tool's button active and the others inactive.
  void HighlightToolButton();

  void UseSpecEntry(int32_t index);
  void IncrementSpec();
  void DecrementSpec();
  void PickRandomSpec();
  void RecordSpec();
  // The current spec code: A * 65536 + B, negated while Wild is on.
  int32_t SpecCode() const;
  // Loads a specials file of the program folder if it is there, then sets Wild and
  // the WILD button; silent when the file is missing.
  void LoadStartupSpecials(const std::string& name, bool wild);

 private:
  Program& p_;
};

}  // namespace quillo
