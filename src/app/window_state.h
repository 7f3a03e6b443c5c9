#pragma once

#include <cstdint>
#include <string>

#include "app/controls.h"
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

// The mouse pointer's shape over a window.
enum class PointerShape : uint8_t { kDefault, kCross };

// A window as the engine keeps it: what the shell shows and the controls on it.
struct WindowState {
  WindowId id = WindowId::kPaintLog;
  std::string className;
  std::string caption;
  bool visible = false;
  bool borderless = true;
  bool stayOnTop = false;
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
  // Set when the window wants to come to the front.
  bool raiseRequested = false;

  void Show(bool show) {
    if (visible != show) {
      visible = show;
      ++revision;
    }
  }
};

}  // namespace quillo
