#include "colour/key_colours.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <variant>

#include "app/program.h"
#include "platform/whole_file.h"

namespace quillo {
namespace {

constexpr char kSetKeys[] = "qwertyuio";
constexpr char kStoreKeys[] = "QWERTYUIO";
constexpr char kTweakKeys[] = "asdfgh";
constexpr int32_t kMiniatureWidth = 400;
constexpr int32_t kMiniatureHeight = 300;

// The slot of a key among keys, or -1.
int SlotOf(const char* keys, char key) {
  const char* at = key ? std::strchr(keys, key) : nullptr;
  return at ? static_cast<int>(at - keys) : -1;
}

uint32_t Channel(Color c, int channel) {
  return (c >> (8 * channel)) & 255u;
}

// The nearest channel value, halves to even (the default rounding mode), held to
// 0..255.
uint32_t ToChannel(double v) {
  return static_cast<uint32_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

}  // namespace

KeyColours::KeyColours(Program& program) : p_(program) {}

bool KeyColours::KeyPress(char ch) {
  if (SlotOf(kSetKeys, ch) >= 0 || ch == 'p' || ch == '[' || ch == ']') {
    ApplyKeyColor(ch);
    return true;
  }
  if (SlotOf(kTweakKeys, ch) >= 0) {
    ColorTweak(ch);
    return true;
  }
  return false;
}

void KeyColours::ApplyKeyColor(char key) {
  tweakValid = false;
  if (const int slot = SlotOf(kSetKeys, key); slot >= 0) {
    const auto& set = table[static_cast<size_t>(slot)];
    p_.SetFieldColors(set[0], set[1], set[2]);
  } else if (key == 'p') {
    p_.SetFieldColors(kDefaultCorner, kDefaultVertical, kDefaultHorizontal);
  } else if (key == '[' || key == ']') {
    p_.field.centerMode = key == ']';
    p_.spaceColorForm.ShowCenterLayout(p_.field.centerMode);
    p_.main.window.form.SetVisible(p_.main.c.Label46, p_.field.centerMode);
  } else {
    return;
  }
  if (p_.keyColorRecording) p_.RecordFieldTriple();
}

void KeyColours::ColorTweak(char key) {
  if (SlotOf(kTweakKeys, key) < 0) return;
  if (!tweakValid) {
    const Color colours[3] = {p_.field.corner, p_.field.vertical, p_.field.horizontal};
    for (int x = 0; x < 3; ++x) {
      for (int ch = 0; ch < 3; ++ch)
        tweakValues[3 * x + ch] = Channel(colours[x], ch);
      tweakAverages[x] = (tweakValues[3 * x] + tweakValues[3 * x + 1] + tweakValues[3 * x + 2]) / 3;
    }
    tweakValid = true;
  }
  for (size_t i = 0; i < tweakValues.size(); ++i) {
    double& v = tweakValues[i];
    const double average = tweakAverages[i / 3];
    const bool red = i % 3 == 0;
    const bool blue = i % 3 == 2;
    switch (key) {
      case 'a':
        if (red) v *= 0.99;
        if (blue) v *= 1.01;
        break;
      case 's':
        if (red) v *= 1.01;
        if (blue) v *= 0.99;
        break;
      case 'd':
        v *= 0.99;
        break;
      case 'f':
        v *= 1.01;
        break;
      case 'g':
        v += (average - v) * 0.01;
        break;
      case 'h':
        v += ((v < average ? 0.0 : 255.0) - v) * 0.01;
        break;
    }
  }
  Color colours[3];
  for (int x = 0; x < 3; ++x)
    colours[x] = Rgb(ToChannel(tweakValues[3 * x]), ToChannel(tweakValues[3 * x + 1]),
                     ToChannel(tweakValues[3 * x + 2]));
  p_.SetFieldColors(colours[0], colours[1], colours[2]);
  p_.RecordFieldTriple();
}

bool KeyColours::StoreKeyColor(char key) {
  const int slot = SlotOf(kStoreKeys, key);
  if (slot < 0) return false;
  const ColourField& f = p_.field;
  table[static_cast<size_t>(slot)] = {f.corner, f.vertical, f.horizontal};
  return true;
}

void KeyColours::LoadStartupKeyColours() {
  // A missing or short start-up file is skipped without a message.
  auto read = ReadKclFile(p_.programDir + "Qwerty.kcl");
  if (auto* loaded = std::get_if<KeyColorTable>(&read)) table = *loaded;
}

void KeyColours::LoadStartupColourFiles() {
  LoadStartupKeyColours();
  // The colour field picture from its 400 x 300 miniature, which the first start
  // saves; missing or unreadable, it is skipped as silently.
  const std::string cache = p_.programDir + "littlblu.bmp";
  if (!IsFile(cache)) return;
  if (p_.platform.LoadPicture(cache, p_.fieldCache)) return;
  const Rect all{0, 0, p_.canvasWidth, p_.canvasHeight};
  p_.fieldPicture.CopyRect(all, p_.fieldCache, Rect{0, 0, kMiniatureWidth, kMiniatureHeight},
                           kSrcCopy);
}

}  // namespace quillo
