#pragma once

#include <array>
#include <cstdint>

#include "form/controls.h"

namespace quillo {

class Program;

// The colour controls of the main window: the three primaries that mix a colour in
// the mix swatch while a button is held on them, the mix swatch, the eight colour
// swatches, the "color" stripes that step through the key colour sets, the random
// colour switch "#" and the colour mode buttons.
class ColourMixer {
 public:
  explicit ColourMixer(Program& program);

  // Binds the handlers of the main window's colour controls.
  void Bind();

  // The key colour set the stripes or the random timer applied last, 0..9 for the
  // keys q to p.
  uint8_t keyColorIndex = 0;

  // The mixed colour, as the mix swatch shows it.
  Color Mix() const;

  // One tick of a primary's timer (0 red, 1 green, 2 blue): the channel moves by 2
  // up, down or both, never leaving 0..255.
  void MixerTick(int channel);

  // The random colour timer's tick: a random set among q to o.
  void Timer4Timer();

  // Applies the key colour set of keyColorIndex and logs the field colour triple.
  void ApplyKeyColorIndex();

  // The source of stroke colours, with the mode buttons showing it.
  void SetColorMode(uint8_t mode);

 private:
  // Sets the pen to a picked colour, logs it and selects "P".
  void PickColor(Color c);
  void PrimaryDown(int channel, const ControlEvent& e);
  void StopMixer(int channel);
  void StripesClick();

  Program& p_;
  std::array<bool, 3> raise_{};
  std::array<bool, 3> lower_{};
};

}  // namespace quillo
