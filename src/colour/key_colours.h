#pragma once

#include <array>

#include "colour/kcl_file.h"

namespace quillo {

class Program;

// The key colours: nine stored field colour sets on the keys q to o, the default
// set on p, the field's layout on "[" and "]", and the nudges of the three field
// colours on a, s, d, f, g and h. The same keys work in the main window and in the
// colour field editor.
class KeyColours {
 public:
  explicit KeyColours(Program& program);

  KeyColorTable table{};

  // The working copy the nudges act on: the nine channels of the corner, vertical
  // and horizontal colour, unrounded and unlimited, and the mean channel of each
  // colour as it was when the copy was taken.
  bool tweakValid = false;
  std::array<double, 9> tweakValues{};
  std::array<double, 3> tweakAverages{};

  // Routes a typed lower-case character to ApplyKeyColor or ColorTweak; false when
  // it is neither a key colour nor a nudge.
  bool KeyPress(char ch);

  // Applies a stored set (q to o), the default set (p) or a layout ("[" corner, "]"
  // centre), and logs the field colour triple while the colour editor is closed.
  void ApplyKeyColor(char key);

  // Nudges the three field colours (a, s, d, f, g or h) and logs the triple.
  void ColorTweak(char key);

  // Stores the current field colours in the set of an upper-case key Q to O; false
  // for any other character.
  bool StoreKeyColor(char key);

  // Reads the key colour table from "Qwerty.kcl" in the program folder when that
  // file is there; a missing or damaged file leaves the table as it was.
  void LoadStartupKeyColours();
  // The same, then stretches the field miniature "littlblu.bmp" over the colour
  // field picture; a missing or damaged file leaves what it would change as it was.
  void LoadStartupColourFiles();

 private:
  Program& p_;
};

}  // namespace quillo
