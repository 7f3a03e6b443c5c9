#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillo {

// Which of the main window's three key handlers a key belongs to: virtual keys on
// the way down, typed characters, and Ctrl or Alt combinations on the way up (the
// Ctrl table first, so Ctrl+Alt+Z does both).
enum class KeyHandler : uint8_t { kDown, kPress, kCtrlUp, kAltUp };

// Whether a key-down row wants Shift held, released, or either.
enum class ShiftRule : uint8_t { kAny, kHeld, kReleased };

// What a key does. Each names one operation of the program; the dispatch in the
// main window runs it with the row's argument.
enum class KeyCommand : uint8_t {
  kShowFilePanel,
  kHidePanels,
  kSavePageStore,    // argument: 6 or 5, the store Image6 or Image5
  kRecallPageStore,  // argument: 6 or 5
  kSelectionOn,
  kHome,
  kStepForward,
  kPenNarrower,
  kPenWider,
  kZoomIn,
  kZoomOut,
  kToolsPanel,
  kPenWidth,  // argument: the width
  kShowSettingsPanel,
  kNegative,
  kClearCanvas,
  kHelp,
  kFrameExport,
  kInspector,
  kColourEditor,
  kSelectTool,  // argument: the tool code
  kKeyColour,   // argument: the character
  kTweak,       // argument: the character
  kDecrementSpec,
  kIncrementSpec,
  kStorePicture,  // argument: the character
  kContinueReplay,
  kStartReplay,
  kStopReplay,
  kZeroPosition,
  kSelectAll,
  kCopy,
  kPaste,
  kPasteWhole,
  kFlyOff,
  kFlyOn,
};

// The chart's sections.
enum class KeyGroup : uint8_t { kTools, kPen, kColours, kPictures, kReplay, kWindows };
inline constexpr int kKeyGroupCount = 6;

// A section's title on the chart and in the README.
const char* KeyGroupTitle(KeyGroup group);

// One key of the main window: the single table both the dispatch and the hot key
// chart read.
struct KeyRow {
  KeyGroup group;
  KeyHandler handler;
  int32_t key;  // a virtual-key code, or the character for kPress
  ShiftRule shift;
  KeyCommand command;
  int32_t argument;
  const char* name;  // the key as a person reads it: "Shift+Page Up", "Q"
  const char* what;  // what it does, in a few words
};

// Every key of the main window, section by section.
std::span<const KeyRow> KeyTable();

// The key as a person reads it: its name, or the character it types.
std::string KeyName(const KeyRow& row);

// The key table as Markdown, one section per group, for the README.
std::string KeyTableMarkdown();

}  // namespace quillo
