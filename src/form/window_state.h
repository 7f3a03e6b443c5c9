#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "form/controls.h"
#include "platform/raster/geometry.h"

namespace quillo {

// The six windows, in the order the program creates them.
enum class WindowId : uint8_t {
  kPaintLog,        // main drawing window
  kCubeForm,        // log inspector
  kForm1,           // help window
  kSpaceColorForm,  // colour field editor
  kWave3Form,       // hidden start-up window
  kForm2,           // start screen
};
inline constexpr int kWindowCount = 6;

class Surface;

// The mouse pointer's shape over a window.
enum class PointerShape : uint8_t { kDefault, kCross };

enum class MouseAction : uint8_t { kDown, kMove, kUp };

// What a window with a drawing surface of its own asks of the shell: the surface is
// painted as the window's background (only its dirty area when it changes), mouse
// events on the background go to the mouse handler, and, while the window is the
// active one, keys go to the key handlers before any control sees them.
struct WindowHooks {
  Surface* canvas = nullptr;
  std::function<void(MouseAction, MouseButton, Modifiers, Point)> mouse;
  std::function<void(int32_t vk, Modifiers)> keyDown;
  std::function<void(char32_t ch)> keyPress;
  std::function<void(int32_t vk, Modifiers)> keyUp;
  // An inverting frame the window shows over its canvas, in canvas pixels, while
  // it is set: a selection's rubber band, which the picture never holds.
  const std::optional<Rect>* band = nullptr;
  // The window system closed the window (a title bar, Alt+F4): the window's own way
  // of going away runs instead of a bare hide.
  std::function<void()> closed;
};

// A window as the engine keeps it: what the shell shows and the controls on it.
struct WindowState {
  WindowId id = WindowId::kPaintLog;
  std::string className;
  std::string caption;
  bool visible = false;
  bool borderless = true;
  bool modal = false;  // while shown, the other windows take no input
  bool minimized = false;
  Color color = 0;  // background
  PointerShape pointer = PointerShape::kDefault;
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  int32_t left = 0;
  int32_t top = 0;
  Form form;
  // Bumped on every change of the fields above, so the shell knows to refresh.
  uint32_t revision = 0;
  WindowHooks hooks;

  void Show(bool show) {
    if (visible != show) {
      visible = show;
      ++revision;
    }
  }
};

}  // namespace quillo
