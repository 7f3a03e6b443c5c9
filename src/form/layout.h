#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "form/controls.h"

namespace quillo {

// Flags of a layout row.
enum LayoutFlag : uint16_t {
  kHidden = 1,
  kDown = 2,
  kAllUp = 4,  // a down button of the group may come up again
  kBold = 8,
  kWrap = 16,
  kNoHint = 32,
  kTitle = 64,
  kVerbatim = 128,  // the caption is the log's own words, shown in every language as is
};

// One control of a window's layout at the design size of 1024 x 768: where it sits
// within its parent and how it looks at start.
struct LayoutRow {
  const char* name;
  ControlKind kind;
  const char* parent;  // nullptr: the window
  int16_t left, top, width, height;
  const char* caption;
  const char* hint;
  Color color = kNoColor;
  Color fontColor = kNoColor;
  int8_t fontSize = 7;
  uint16_t flags = 0;
  int8_t group = 0;
  const char* glyph = "";
  int8_t tag = 0;
};

// Short names for the layout tables: control kinds and the plain colours.
namespace layout {
inline constexpr ControlKind P = ControlKind::kPanel;
inline constexpr ControlKind L = ControlKind::kLabel;
inline constexpr ControlKind B = ControlKind::kSpeedButton;
inline constexpr ControlKind E = ControlKind::kEdit;
inline constexpr ControlKind S = ControlKind::kScrollBar;
inline constexpr Color kWhite = Rgb(255, 255, 255);
inline constexpr Color kBlack = Rgb(0, 0, 0);
inline constexpr Color kYellow = Rgb(255, 255, 0);
inline constexpr Color kLime = Rgb(0, 255, 0);
}  // namespace layout

// The id a row's control gets when the rows are the first added to a form: its
// index. Worked out while compiling, so a name missing from the table does not build.
consteval ControlId RowId(std::span<const LayoutRow> rows, std::string_view name) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (std::string_view(rows[i].name) == name) return static_cast<ControlId>(i);
  }
  throw "no such control in the layout table";
}

// Adds the rows to the form in order; parents must come before their children.
void AddLayout(Form& form, std::span<const LayoutRow> rows);

// Scales every control from the reference size to the window's client size: bounds
// with MulDiv, label and speed-button fonts by the height ratio. Then the reference
// size becomes the client size. Nothing happens while a reference side is 0.
void ScaleFormToScreen(Form& form, int32_t clientWidth, int32_t clientHeight, int32_t& canvasWidth,
                       int32_t& canvasHeight);

}  // namespace quillo
