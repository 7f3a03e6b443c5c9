#pragma once

#include <cstdint>

namespace quillo {

class Program;

// The specials controls of the main window: the specials steppers of the tool bar and of
// the settings strip, the two entry fields with ENTER, WILD, and GetSpec and
// SaveSpec with their specials files.
class SpecPanel {
 public:
  explicit SpecPanel(Program& program);

  // Binds the steppers, the entry fields, ENTER, WILD, GetSpec and SaveSpec.
  void Bind();

  // Stores the two entry fields into the entry at the spec index, empties the fields
  // to "0", uses and records the entry. A field that holds no whole number in its range
  // stores nothing and is reported by name.
  void EnterSpec();
  // WILD: Wild follows the button, then a step up and a step down record the specials
  // twice, the second time with the new sign.
  void WildClick();
  // Loads a specials file the user picks; the current spec and the displays stay
  // until the next step, pick or entry. A file that cannot be read whole changes
  // nothing and is reported.
  void GetSpec();
  // Saves the table as a specials file the user names, whole or not at all.
  void SaveSpec();

 private:
  Program& p_;
};

}  // namespace quillo
