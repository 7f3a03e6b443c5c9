// Real Qt key events sent through the application reach the main window's handlers
// as the key table's virtual keys and characters, whatever widget has the focus.
#include <QKeyEvent>
#include <QLineEdit>
#include <optional>
#include <string>
#include <vector>

#include "app/key_table.h"
#include "shell_fixture.h"

namespace quillo {
namespace {

// Which handler a key reached.
enum class Got : uint8_t { kDown, kPress, kUp };

struct Seen {
  Got handler;
  int32_t key;
  Modifiers mods;
};

// The Qt key that produces a virtual key, and whether it comes from the keypad.
struct QtKey {
  int key;
  bool keypad;
};

std::optional<QtKey> QtKeyFor(int32_t vk) {
  if (vk >= 96 && vk <= 105) return QtKey{Qt::Key_0 + (vk - 96), true};
  if (vk >= 112 && vk <= 123) return QtKey{Qt::Key_F1 + (vk - 112), false};
  if (vk >= 'A' && vk <= 'Z') return QtKey{Qt::Key_A + (vk - 'A'), false};
  switch (vk) {
    case 13:
      return QtKey{Qt::Key_Return, false};
    case 32:
      return QtKey{Qt::Key_Space, false};
    case 33:
      return QtKey{Qt::Key_PageUp, false};
    case 34:
      return QtKey{Qt::Key_PageDown, false};
    case 35:
      return QtKey{Qt::Key_End, false};
    case 36:
      return QtKey{Qt::Key_Home, false};
    case 37:
      return QtKey{Qt::Key_Left, false};
    case 38:
      return QtKey{Qt::Key_Up, false};
    case 39:
      return QtKey{Qt::Key_Right, false};
    case 40:
      return QtKey{Qt::Key_Down, false};
    case 106:
      return QtKey{Qt::Key_Asterisk, true};
    case 107:
      return QtKey{Qt::Key_Plus, true};
    case 109:
      return QtKey{Qt::Key_Minus, true};
    case 110:
      return QtKey{Qt::Key_Period, true};
    case 111:
      return QtKey{Qt::Key_Slash, true};
    default:
      return std::nullopt;
  }
}

// The key a character is typed with on a US keyboard.
int QtKeyForChar(char ch) {
  if (ch >= 'a' && ch <= 'z') return Qt::Key_A + (ch - 'a');
  if (ch >= 'A' && ch <= 'Z') return Qt::Key_A + (ch - 'A');
  switch (ch) {
    case '[':
      return Qt::Key_BracketLeft;
    case ']':
      return Qt::Key_BracketRight;
    case '{':
      return Qt::Key_BraceLeft;
    case '}':
      return Qt::Key_BraceRight;
    case '<':
      return Qt::Key_Less;
    case '>':
      return Qt::Key_Greater;
    default:
      return Qt::Key_unknown;
  }
}

class KeyMappingTest : public ShellTest {
 protected:
  // Records what the main window's handlers receive instead of running them.
  void Record() {
    WindowHooks& h = Prog().main.window.hooks;
    h.keyDown = [this](int32_t vk, Modifiers m) { seen.push_back({Got::kDown, vk, m}); };
    h.keyPress = [this](char32_t ch) {
      seen.push_back({Got::kPress, static_cast<int32_t>(ch), {}});
    };
    h.keyUp = [this](int32_t vk, Modifiers m) { seen.push_back({Got::kUp, vk, m}); };
  }
  void Send(QEvent::Type type, int key, Qt::KeyboardModifiers mods, const QString& text,
            bool autoRepeat = false) {
    QKeyEvent e(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(target, &e);
  }
  QWidget* target = nullptr;
  std::vector<Seen> seen;
};

TEST_F(KeyMappingTest, EveryKeyOfTheTableArrivesAsItsCodeOrCharacter) {
  Record();
  // A button of the tool strip has the focus: the window still sees every key first.
  target = Widget("SpeedButton25");
  for (const KeyRow& row : KeyTable()) {
    seen.clear();
    const std::string name = KeyName(row);
    if (row.handler == KeyHandler::kDown) {
      const std::optional<QtKey> k = QtKeyFor(row.key);
      ASSERT_TRUE(k) << name;
      Qt::KeyboardModifiers mods = k->keypad ? Qt::KeypadModifier : Qt::NoModifier;
      if (row.shift == ShiftRule::kHeld) mods |= Qt::ShiftModifier;
      QString text;
      if (k->keypad) text = QString(QChar(k->key));  // the pad's digits and signs type too
      Send(QEvent::KeyPress, k->key, mods, text);
      ASSERT_FALSE(seen.empty()) << name;
      EXPECT_EQ(seen[0].handler, Got::kDown) << name;
      EXPECT_EQ(seen[0].key, row.key) << name;
      EXPECT_EQ(seen[0].mods.shift, row.shift == ShiftRule::kHeld) << name;
    } else if (row.handler == KeyHandler::kPress) {
      const char ch = static_cast<char>(row.key);
      const bool shifted =
          (ch >= 'A' && ch <= 'Z') || ch == '{' || ch == '}' || ch == '<' || ch == '>';
      Send(QEvent::KeyPress, QtKeyForChar(ch), shifted ? Qt::ShiftModifier : Qt::NoModifier,
           QString(QChar(ch)));
      bool typed = false;
      for (const Seen& s : seen)
        typed |= s.handler == Got::kPress && s.key == row.key;
      EXPECT_TRUE(typed) << name;
    } else {
      const bool ctrl = row.handler == KeyHandler::kCtrlUp;
      const int key = Qt::Key_A + (row.key - 'A');
      const Qt::KeyboardModifiers mods = ctrl ? Qt::ControlModifier : Qt::AltModifier;
      Send(QEvent::KeyPress, key, mods, QString());
      Send(QEvent::KeyRelease, key, mods, QString());
      ASSERT_FALSE(seen.empty()) << name;
      const Seen& up = seen.back();
      EXPECT_EQ(up.handler, Got::kUp) << name;
      EXPECT_EQ(up.key, row.key) << name;
      EXPECT_EQ(up.mods.ctrl, ctrl) << name;
      EXPECT_EQ(up.mods.alt, !ctrl) << name;
      // A combination types no character of its own.
      for (const Seen& s : seen)
        EXPECT_NE(s.handler, Got::kPress) << name;
    }
  }
}

// A combination counts when Ctrl or Alt comes up a moment before its letter, as a
// quick hand (and xdotool) releases them.
TEST_F(KeyMappingTest, CombinationsCountWhenTheModifierComesUpFirst) {
  Record();
  target = &Window();
  for (const auto& [qtMod, qtKey] : {std::pair{Qt::ControlModifier, int(Qt::Key_Control)},
                                     std::pair{Qt::AltModifier, int(Qt::Key_Alt)}}) {
    seen.clear();
    Send(QEvent::KeyPress, qtKey, qtMod, QString());
    Send(QEvent::KeyPress, Qt::Key_Z, qtMod, QString());
    Send(QEvent::KeyRelease, qtKey, Qt::NoModifier, QString());
    Send(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, QString());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().handler, Got::kUp);
    EXPECT_EQ(seen.back().key, int32_t{'Z'});
    EXPECT_EQ(seen.back().mods.ctrl, qtMod == Qt::ControlModifier);
    EXPECT_EQ(seen.back().mods.alt, qtMod == Qt::AltModifier);
  }
  // The next plain press and release of the letter is no combination.
  seen.clear();
  Send(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  Send(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  EXPECT_FALSE(seen.back().mods.ctrl);
  EXPECT_FALSE(seen.back().mods.alt);
}

// With NumLock off the pad's keys are the navigation keys they show.
TEST_F(KeyMappingTest, PadKeysWithoutNumLockAreTheirNavigationKeys) {
  Record();
  target = &Window();
  const std::pair<int, int32_t> keys[] = {
      {Qt::Key_Home, 36}, {Qt::Key_End, 35}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34},
      {Qt::Key_Left, 37}, {Qt::Key_Up, 38},  {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46}};
  for (const auto& [key, vk] : keys) {
    seen.clear();
    Send(QEvent::KeyPress, key, Qt::KeypadModifier, QString());
    ASSERT_EQ(seen.size(), 1u) << vk;
    EXPECT_EQ(seen[0].key, vk);
  }
}

// A held key repeats: the right arrow widens the pen a step at a time.
TEST_F(KeyMappingTest, HeldKeysRepeat) {
  target = &Window();
  const int32_t width = Prog().main.images.canvas.PenWidth();
  Send(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString());
  for (int i = 0; i < 4; ++i)
    Send(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
  Send(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString());
  EXPECT_EQ(Prog().main.images.canvas.PenWidth(), width + 5);
}

// In a focused number field a key either edits the field or is a hot key, never
// both: digits of both rows, Backspace, Delete and the arrows edit; the pad's signs,
// the minus of a field without numbers below 0, letters and Enter go to the window.
TEST_F(KeyMappingTest, ANumberFieldKeyEditsTheFieldOrIsAHotKeyNeverBoth) {
  Record();
  for (const char* name : {"Edit3", "Edit1", "Edit2"}) {
    auto* field = qobject_cast<QLineEdit*>(Widget(name));
    ASSERT_NE(field, nullptr) << name;
    target = field;
    field->setText(QString());
    struct Key {
      int key;
      Qt::KeyboardModifiers mods;
      QString text;
      bool edits;
    } keys[] = {
        {Qt::Key_7, Qt::NoModifier, "7", true},
        {Qt::Key_4, Qt::KeypadModifier, "4", true},
        {Qt::Key_Plus, Qt::KeypadModifier, "+", false},
        {Qt::Key_Asterisk, Qt::KeypadModifier, "*", false},
        {Qt::Key_Slash, Qt::KeypadModifier, "/", false},
        {Qt::Key_Minus, Qt::KeypadModifier, "-", false},
        {Qt::Key_E, Qt::NoModifier, "e", false},
        {Qt::Key_Left, Qt::NoModifier, "", true},
        {Qt::Key_2, Qt::NoModifier, "2", true},
        {Qt::Key_End, Qt::NoModifier, "", true},
        {Qt::Key_Backspace, Qt::NoModifier, "", true},
        {Qt::Key_Home, Qt::NoModifier, "", true},
        {Qt::Key_Delete, Qt::NoModifier, "", true},
        {Qt::Key_Right, Qt::NoModifier, "", true},
        {Qt::Key_Return, Qt::NoModifier, "\r", false},
    };
    for (const Key& k : keys) {
      seen.clear();
      const QString before = field->text();
      Send(QEvent::KeyPress, k.key, k.mods, k.text);
      Send(QEvent::KeyRelease, k.key, k.mods, k.text);
      EXPECT_EQ(seen.empty(), k.edits) << name << " key " << k.key;
      if (!k.edits) {
        EXPECT_EQ(field->text(), before) << name << " key " << k.key;
      }
    }
    // 7 and 4 typed, 2 put between them, the 4 taken from the end, the 7 from the start.
    EXPECT_EQ(field->text(), QStringLiteral("2")) << name;
  }
}

}  // namespace
}  // namespace quillo
