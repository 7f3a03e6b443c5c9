#include "colour/colour_mixer.h"

#include <random>

#include "app/program.h"

namespace quillo {
namespace {

constexpr TimerId kMixerTimers[3] = {TimerId::redtimer, TimerId::greentimer, TimerId::bluetimer};
constexpr Color kPrimaries[3] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)};
constexpr char kIndexKeys[] = "qwertyuiop";
constexpr int kRed = 0, kGreen = 1, kBlue = 2;

// Which mixer timers a press and a release on the first four swatches stop.
struct SwatchStops {
  int down, up;
};
constexpr SwatchStops kSwatchStops[4] = {
    {kBlue, kRed}, {kRed, kRed}, {kGreen, kRed}, {kGreen, kRed}};

}  // namespace

ColourMixer::ColourMixer(Program& program) : p_(program) {}

Color ColourMixer::Mix() const {
  return p_.main.window.form[p_.main.c.mix].color;
}

void ColourMixer::MixerTick(int channel) {
  const uint32_t shift = 8u * static_cast<uint32_t>(channel);
  const Color mix = Mix();
  uint32_t v = (mix >> shift) & 255u;
  if (raise_[channel] && v < 254) v += 2;
  if (lower_[channel] && v > 1) v -= 2;
  p_.main.window.form.SetColor(p_.main.c.mix, (mix & ~(255u << shift)) | (v << shift));
}

void ColourMixer::Timer4Timer() {
  // Seeded from the clock right before the draw, as every random choice is.
  std::mt19937 generator(static_cast<std::mt19937::result_type>(p_.platform.ClockMillis()));
  keyColorIndex = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 8)(generator));
  ApplyKeyColorIndex();
}

void ColourMixer::ApplyKeyColorIndex() {
  p_.ApplyKeyColor(kIndexKeys[keyColorIndex % 10]);
  p_.RecordFieldTriple();
}

void ColourMixer::SetColorMode(uint8_t mode) {
  p_.tools.colorMode = mode;
  const auto& buttons = p_.main.c.colorModeButtons;
  for (size_t i = 0; i < buttons.size(); ++i)
    p_.main.window.form.SetDown(buttons[i], i == mode);
}

void ColourMixer::PickColor(Color c) {
  // A picked colour is the one that draws: the mode goes to "P", which the next
  // move's code carries into the log, so a replay draws in it too.
  SetColorMode(kColorPalette);
  p_.main.images.canvas.SetPenColor(c);
  p_.RecordAction(Point{}, lgcolor, static_cast<int32_t>(c));
}

void ColourMixer::PrimaryDown(int channel, const ControlEvent& e) {
  p_.timers.Enable(kMixerTimers[channel], true);
  if (e.button == MouseButton::kLeft || e.modifiers.left) raise_[channel] = true;
  if (e.button == MouseButton::kRight || e.modifiers.right) lower_[channel] = true;
}

void ColourMixer::StopMixer(int channel) {
  p_.timers.Enable(kMixerTimers[channel], false);
  raise_[channel] = lower_[channel] = false;
}

void ColourMixer::StripesClick() {
  ++keyColorIndex;
  ApplyKeyColorIndex();
  if (keyColorIndex == 9) keyColorIndex = 0;
}

void ColourMixer::Bind() {
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  for (int ch = 0; ch < 3; ++ch) {
    const ControlId label = m.c.primaries[ch];
    f.On(label, EventKind::kMouseDown, [this, ch](const ControlEvent& e) { PrimaryDown(ch, e); });
    f.On(label, EventKind::kMouseUp, [this, ch](const ControlEvent&) { StopMixer(ch); });
    f.On(label, EventKind::kClick, [this, ch](const ControlEvent&) { PickColor(kPrimaries[ch]); });
    f.On(label, EventKind::kDblClick, [this, ch, &f, &m](const ControlEvent&) {
      f.SetColor(m.c.mix, kPrimaries[ch]);
      PickColor(kPrimaries[ch]);
    });
  }

  for (size_t i = 0; i < m.c.swatches.size(); ++i) {
    const ControlId swatch = m.c.swatches[i];
    f.On(swatch, EventKind::kClick,
         [this, swatch, &f](const ControlEvent&) { PickColor(f[swatch].color); });
    f.On(swatch, EventKind::kDblClick,
         [this, swatch, &f](const ControlEvent&) { f.SetColor(swatch, Mix()); });
    if (i < 4) {
      const SwatchStops stops = kSwatchStops[i];
      f.On(swatch, EventKind::kMouseDown,
           [this, stops](const ControlEvent&) { StopMixer(stops.down); });
      f.On(swatch, EventKind::kMouseUp,
           [this, stops](const ControlEvent&) { StopMixer(stops.up); });
    }
  }

  f.On(m.c.mix, EventKind::kClick, [this](const ControlEvent&) {
    PickColor(Mix());
    p_.drawing.backgroundColor = Mix();
  });
  f.On(m.c.mix, EventKind::kMouseDown, [this, &f, &m](const ControlEvent& e) {
    if (e.modifiers.ctrl) f.SetColor(m.c.mix, p_.drawing.lastPenColor);
  });

  for (ControlId stripe : {m.c.Label42, m.c.Label17, m.c.Label43, m.c.Label16})
    f.On(stripe, EventKind::kClick, [this](const ControlEvent&) { StripesClick(); });

  f.On(m.c.SpeedButton21, EventKind::kClick, [this, &f, &m](const ControlEvent&) {
    // Down means stopped. A click during a replay leaves the timer paused; the
    // replay's end starts it when the button is up.
    p_.timers.Enable(TimerId::Timer4, !f[m.c.SpeedButton21].down && !p_.Replaying());
  });

  for (size_t i = 0; i < m.c.colorModeButtons.size(); ++i)
    f.On(m.c.colorModeButtons[i], EventKind::kClick, [this, i, &f, &m](const ControlEvent&) {
      if (f[m.c.colorModeButtons[i]].down) p_.tools.colorMode = static_cast<uint8_t>(i);
    });
}

}  // namespace quillo
