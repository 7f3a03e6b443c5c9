#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "app/program_fixture.h"

namespace quillo::testing {

// A copy of a surface to compare against later.
inline Surface Copy(const Surface& s) {
  Surface out;
  EXPECT_TRUE(out.CopyFrom(s));
  return out;
}
// How many pixels differ between two surfaces of one size.
inline int64_t Differ(const Surface& a, const Surface& b) {
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  int64_t n = 0;
  const int64_t count = int64_t{a.Width()} * a.Height();
  for (int64_t i = 0; i < count; ++i)
    n += a.Bits()[i] != b.Bits()[i];
  return n;
}
// Every pixel of r on s has colour c.
inline bool Filled(const Surface& s, const Rect& r, Color c) {
  for (int32_t y = r.top; y < r.bottom; ++y)
    for (int32_t x = r.left; x < r.right; ++x)
      if (s.Pixel({x, y}) != c) return false;
  return true;
}

// A program gone straight to drawing with no bottom strip shown, and helpers for
// the canvas's pictures and keys.
class CanvasTest : public ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->startScreen.GoStraightToDrawing();
    Main().HideBottomPanels();
  }
  Surface& Canvas() { return Main().images.canvas; }
  Surface& Backup() { return Main().images.Backup(); }
  Surface& UndoImage() { return Main().images.UndoImage(); }

  // A stroke with the current tool from a to b.
  void Stroke(Point a, Point b) {
    Press(a);
    Move(Point{(a.x + b.x) / 2, (a.y + b.y) / 2});
    Move(b);
    Release(b);
  }
  void KeyDown(int32_t vk, bool shift = false) {
    Modifiers m;
    m.shift = shift;
    Main().FormKeyDown(vk, m);
  }
  void CtrlKeyUp(int32_t vk) {
    Modifiers m;
    m.ctrl = true;
    Main().FormKeyUp(vk, m);
  }
  void Type(char ch) { Main().FormKeyPress(static_cast<char32_t>(ch)); }

  // Entries of one code in the log.
  int CountOf(uint8_t code) {
    int n = 0;
    for (int i = 1; i <= Count(); ++i)
      n += (Code(i) & 15u) == code;
    return n;
  }
};

// Virtual-key codes used by the tests.
inline constexpr int32_t kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36, kKeyA = 65,
                         kKeyC = 67, kKeyV = 86, kKeyZ = 90, kNumpadMinus = 109;

}  // namespace quillo::testing
