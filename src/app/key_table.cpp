#include "app/key_table.h"

#include <array>

namespace quillo {
namespace {

using G = KeyGroup;
using H = KeyHandler;
using C = KeyCommand;

constexpr KeyRow Down(G g, int32_t vk, C c, int32_t arg, const char* name, const char* what,
                      ShiftRule shift = ShiftRule::kAny) {
  return {g, H::kDown, vk, shift, c, arg, name, what};
}
constexpr KeyRow Char(G g, char ch, C c, const char* what) {
  return {g, H::kPress, static_cast<unsigned char>(ch), ShiftRule::kAny, c, ch, nullptr, what};
}
constexpr KeyRow Tool(char ch, int32_t tool, const char* what) {
  return {G::kTools, H::kPress, ch, ShiftRule::kAny, C::kSelectTool, tool, nullptr, what};
}
constexpr KeyRow Ctrl(G g, char letter, C c, const char* name, const char* what) {
  return {g, H::kCtrlUp, letter, ShiftRule::kAny, c, 0, name, what};
}
constexpr KeyRow Alt(G g, char letter, C c, const char* name, const char* what) {
  return {g, H::kAltUp, letter, ShiftRule::kAny, c, 0, name, what};
}

constexpr auto kKeys = std::to_array<KeyRow>({
    // Tools, by their typed (upper-case) letters.
    Tool('Q', 0, "FINGERPAINT"),
    Tool('W', 1, "RADIAL"),
    Tool('E', 2, "RECTANGULAR"),
    Tool('R', 4, "SCREEN"),
    Tool('T', 3, "ORBIT"),
    Tool('Y', 5, "WAVES"),
    Tool('U', 6, "WEB"),
    Tool('I', 7, "ALIENS"),
    Tool('O', 10, "TWISTER"),
    Tool('P', 8, "CPU"),
    Tool('{', 9, "DO LOOP"),
    Tool('}', 11, "BIOS"),
    Char(G::kTools, '<', C::kDecrementSpec, "previous special"),
    Char(G::kTools, '>', C::kIncrementSpec, "next special"),

    // The pen.
    Down(G::kPen, 37, C::kPenNarrower, 0, "Left", "pen one pixel thinner"),
    Down(G::kPen, 39, C::kPenWider, 0, "Right", "pen one pixel wider, up to 512"),
    Down(G::kPen, 97, C::kPenWidth, 1, "Pad 1", "pen width 1"),
    Down(G::kPen, 98, C::kPenWidth, 2, "Pad 2", "pen width 2"),
    Down(G::kPen, 99, C::kPenWidth, 4, "Pad 3", "pen width 4"),
    Down(G::kPen, 100, C::kPenWidth, 8, "Pad 4", "pen width 8"),
    Down(G::kPen, 101, C::kPenWidth, 16, "Pad 5", "pen width 16"),
    Down(G::kPen, 102, C::kPenWidth, 32, "Pad 6", "pen width 32"),
    Down(G::kPen, 103, C::kPenWidth, 64, "Pad 7", "pen width 64"),
    Down(G::kPen, 104, C::kPenWidth, 128, "Pad 8", "pen width 128"),
    Down(G::kPen, 105, C::kPenWidth, 256, "Pad 9", "pen width 256"),
    Down(G::kPen, 106, C::kPenWidth, 512, "Pad *", "pen width 512"),
    Down(G::kPen, 111, C::kPenWidth, 1024, "Pad /", "pen width 1024"),

    // Colours.
    Char(G::kColours, 'q', C::kKeyColour, "colour set q"),
    Char(G::kColours, 'w', C::kKeyColour, "colour set w"),
    Char(G::kColours, 'e', C::kKeyColour, "colour set e"),
    Char(G::kColours, 'r', C::kKeyColour, "colour set r"),
    Char(G::kColours, 't', C::kKeyColour, "colour set t"),
    Char(G::kColours, 'y', C::kKeyColour, "colour set y"),
    Char(G::kColours, 'u', C::kKeyColour, "colour set u"),
    Char(G::kColours, 'i', C::kKeyColour, "colour set i"),
    Char(G::kColours, 'o', C::kKeyColour, "colour set o"),
    Char(G::kColours, 'p', C::kKeyColour, "the first colours"),
    Char(G::kColours, '[', C::kKeyColour, "field from the corner"),
    Char(G::kColours, ']', C::kKeyColour, "field from the centre"),
    Char(G::kColours, 'a', C::kTweak, "cooler: less red, more blue"),
    Char(G::kColours, 's', C::kTweak, "warmer: more red, less blue"),
    Char(G::kColours, 'd', C::kTweak, "darker colours"),
    Char(G::kColours, 'f', C::kTweak, "brighter colours"),
    Char(G::kColours, 'g', C::kTweak, "softer: towards grey"),
    Char(G::kColours, 'h', C::kTweak, "stronger: away from grey"),
    Down(G::kColours, 123, C::kColourEditor, 0, "F12", "colour field editor"),

    // Pictures, stores, selection and the clipboard.
    Down(G::kPictures, 110, C::kClearCanvas, 0, "Pad .", "clear the screen"),
    Down(G::kPictures, 36, C::kHome, 0, "Home", "undo one step, or end the selection"),
    Char(G::kPictures, 'N', C::kStorePicture, "keep the picture in store N"),
    Char(G::kPictures, 'n', C::kStorePicture, "bring back store N"),
    Char(G::kPictures, 'M', C::kStorePicture, "keep the picture in store M"),
    Char(G::kPictures, 'm', C::kStorePicture, "bring back store M"),
    Char(G::kPictures, 'B', C::kStorePicture, "keep as the background"),
    Char(G::kPictures, 'b', C::kStorePicture, "bring back the background"),
    Down(G::kPictures, 33, C::kSavePageStore, 6, "Shift+Page Up", "keep the picture in store 6",
         ShiftRule::kHeld),
    Down(G::kPictures, 33, C::kRecallPageStore, 6, "Page Up", "bring back store 6",
         ShiftRule::kReleased),
    Down(G::kPictures, 34, C::kSavePageStore, 5, "Shift+Page Down", "keep the picture in store 5",
         ShiftRule::kHeld),
    Down(G::kPictures, 34, C::kRecallPageStore, 5, "Page Down", "bring back store 5",
         ShiftRule::kReleased),
    Down(G::kPictures, 35, C::kSelectionOn, 0, "End", "start a selection"),
    Ctrl(G::kPictures, 'A', C::kSelectAll, "Ctrl+A", "select the whole screen"),
    Ctrl(G::kPictures, 'C', C::kCopy, "Ctrl+C", "copy the selection"),
    Ctrl(G::kPictures, 'V', C::kPaste, "Ctrl+V", "paste into the selection"),
    Ctrl(G::kPictures, 'Z', C::kPasteWhole, "Ctrl+Z", "paste over the whole screen"),
    Ctrl(G::kPictures, 'Y', C::kStepForward, "Ctrl+Y", "redo one step"),
    Down(G::kPictures, 109, C::kNegative, 0, "Pad -", "make the selection negative"),
    Down(G::kPictures, 38, C::kZoomIn, 0, "Up", "zoom in"),
    Down(G::kPictures, 40, C::kZoomOut, 0, "Down", "zoom out"),
    Alt(G::kPictures, 'Z', C::kFlyOn, "Alt+Z", "fly the screen"),
    Alt(G::kPictures, 'X', C::kFlyOff, "Alt+X", "stop flying"),

    // Replay.
    Char(G::kReplay, 'v', C::kStartReplay, "replay the drawing"),
    Char(G::kReplay, 'c', C::kContinueReplay, "carry on playing"),
    Char(G::kReplay, 'x', C::kStopReplay, "stop playing"),
    Char(G::kReplay, 'z', C::kZeroPosition, "back to the start"),
    Down(G::kReplay, 113, C::kFrameExport, 0, "F2", "save frames while replaying"),

    // Panels and windows.
    Down(G::kWindows, 13, C::kShowFilePanel, 0, "Enter", "file and replay tools"),
    Down(G::kWindows, 107, C::kShowSettingsPanel, 0, "Pad +", "settings and advanced tools"),
    Down(G::kWindows, 96, C::kToolsPanel, 0, "Pad 0", "the tool bar"),
    Down(G::kWindows, 32, C::kHidePanels, 0, "Space", "hide the tool bar"),
    Down(G::kWindows, 112, C::kHelp, 0, "F1", "help"),
    Down(G::kWindows, 122, C::kInspector, 0, "F11", "log inspector (tool bar shown)"),
});

}  // namespace

std::span<const KeyRow> KeyTable() {
  return kKeys;
}

const char* KeyGroupTitle(KeyGroup group) {
  switch (group) {
    case KeyGroup::kTools:
      return "Tools";
    case KeyGroup::kPen:
      return "Pen";
    case KeyGroup::kColours:
      return "Colours";
    case KeyGroup::kPictures:
      return "Pictures";
    case KeyGroup::kReplay:
      return "Replay";
    case KeyGroup::kWindows:
      return "Panels and windows";
  }
  return "";
}

std::string KeyName(const KeyRow& row) {
  if (row.name != nullptr) return row.name;
  return std::string(1, static_cast<char>(row.key));
}

std::string KeyTableMarkdown() {
  std::string md;
  for (int g = 0; g < kKeyGroupCount; ++g) {
    const auto group = static_cast<KeyGroup>(g);
    md += std::string("### ") + KeyGroupTitle(group) + "\n\n| Key | Does |\n|---|---|\n";
    for (const KeyRow& row : kKeys) {
      if (row.group != group) continue;
      std::string name = KeyName(row);
      if (name == "|") name = "\\|";
      md += "| `" + name + "` | " + row.what + " |\n";
    }
    md += "\n";
  }
  return md;
}

}  // namespace quillo
