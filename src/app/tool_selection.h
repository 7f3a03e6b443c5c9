#pragma once

#include <cstdint>
#include <string>

#include "form/controls.h"

namespace quillo {

class Program;

// The tool bar's twelve tool buttons, the red bar and the current spec: selecting a
// tool with its pen width, Wild setting and specials file, and stepping or picking
// the spec pair the red bar tools draw with.
class ToolSelection {
 public:
  explicit ToolSelection(Program& program);

  // Binds the tool buttons (a press of any mouse button) and the red bar.
  void Bind();

  // Makes a tool current, as a press on its button does; codes above 11 are ignored.
  void SelectTool(uint8_t tool);
  // A click on the red bar: toggles auto tool change, stepping to the next spec entry when it goes
  // off.
  void AutoOnOffClick();
  // Paints the current tool's button active and the others inactive.
  void HighlightToolButton();

  // Makes entry index of the table the current spec A and B; other indexes are ignored.
  void UseSpecEntry(int32_t index);
  // Steps the spec index up (127 wraps to 0), uses, shows and records the entry.
  void IncrementSpec();
  // Steps the spec index down (0 wraps to 127), uses, shows and records the entry.
  void DecrementSpec();
  // Uses and shows a random entry below the last nonzero A of the table, keeping the
  // spec index; entry 0 when there is no choice.
  void PickRandomSpec();
  // Records the current spec code while recording is on.
  void RecordSpec();
  // The current spec code: A * 65536 + B, negated while Wild is on.
  int32_t SpecCode() const;
  // Loads a specials file of the program folder if it is there, then sets Wild and
  // the WILD button; silent when the file is missing.
  void LoadStartupSpecials(const std::string& name, bool wild);

 private:
  // Writes index and its entry into the displays of spec index, A and B.
  void ShowSpecEntry(int32_t index);
  // Steps the spec index by delta around the table and uses the entry.
  void StepSpec(int32_t delta);
  // Sets the pen width only while auto pen width is on.
  void AutoPenWidth(int32_t width);

  Program& p_;
};

}  // namespace quillo
