#include "app/qt/key_map.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <utility>

namespace quillo {
namespace {

constexpr int32_t kVkNumpad0 = 96;

// Keys whose code differs from their Qt key value, including the shifted symbols
// of a US keyboard, which share their key's code.
constexpr std::array<std::pair<int, int32_t>, 53> kKeyTable{{
    {Qt::Key_Backspace, 8},      {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},        {Qt::Key_Enter, 13},       {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},       {Qt::Key_Alt, 18},         {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},      {Qt::Key_Escape, 27},      {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},        {Qt::Key_PageDown, 34},    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},          {Qt::Key_Left, 37},        {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},         {Qt::Key_Down, 40},        {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},        {Qt::Key_NumLock, 144},    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186},    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},         {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},      {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},    {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},     {Qt::Key_Exclam, '1'},     {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},   {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},  {Qt::Key_Ampersand, '7'},
}};

// Keys of the numeric pad, which Qt reports as the main keys plus a flag.
int32_t KeypadCode(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return kVkNumpad0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return 106;
    case Qt::Key_Plus:
      return 107;
    case Qt::Key_Minus:
      return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return 110;
    case Qt::Key_Slash:
      return 111;
    case Qt::Key_Enter:
      return 13;
    default:
      return 0;
  }
}

}  // namespace

int32_t VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    if (const int32_t code = KeypadCode(key)) return code;
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return key;  // the same values as their codes
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Asterisk:
      return '8';
    case Qt::Key_ParenLeft:
      return '9';
    case Qt::Key_ParenRight:
      return '0';
    default:
      break;
  }
  for (const auto& [qtKey, vk] : kKeyTable) {
    if (qtKey == key) return vk;
  }
  return 0;
}

Modifiers KeyModifiersOf(const QKeyEvent& event) {
  Modifiers m;
  m.shift = event.modifiers().testFlag(Qt::ShiftModifier);
  m.alt = event.modifiers().testFlag(Qt::AltModifier);
  m.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
  const Qt::MouseButtons held = QGuiApplication::mouseButtons();
  m.left = held.testFlag(Qt::LeftButton);
  m.right = held.testFlag(Qt::RightButton);
  m.middle = held.testFlag(Qt::MiddleButton);
  return m;
}

}  // namespace quillo
