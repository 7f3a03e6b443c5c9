#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

#include "log/action_log.h"
#include "shell_fixture.h"
#include "tools/specials.h"

namespace quillo {
namespace {

constexpr Color kToolOn = 0xAA00DD;
constexpr Color kToolOff = 0xFF0066;

// The tool buttons in the order of their tool codes.
constexpr std::array<const char*, 12> kToolButtons{
    "freebtn",   "linebtn",          "rectbtn",  "ellipsebtn", "roundrectbtn",   "wavebtn",
    "nuwavebtn", "Nuwavespecialbtn", "wave3btn", "wave4btn",   "Nuwavespec2btn", "newtestbtn"};

using ToolButtonsTest = ShellTest;

// How many pixels of a widget, as its window last put them on the screen, show c.
int PixelsOf(QWidget* widget, Color c) {
  const QImage shown = OnScreen(widget);
  const QRgb want = ToQColor(c).rgb();
  int n = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x)
      n += shown.pixel(x, y) == want;
  }
  return n;
}

// The index of the first entry at or after from whose code is code, or 0.
int32_t FindEntry(const ActionLog& log, int32_t from, uint32_t code) {
  for (int32_t i = from; i <= log.Count(); ++i) {
    if ((log.Codes()[i] & 15) == code) return i;
  }
  return 0;
}

TEST_F(ToolButtonsTest, EachToolButtonPressSelectsItsToolAndTheNextDragDrawsIt) {
  // The red bar tools read their frequency pairs from the program folder's specials.
  SpecTable specials;
  for (int i = 0; i < kSpecCount; ++i) {
    specials.a[i] = 1 + i % 7;
    specials.b[i] = 2 + i % 5;
  }
  for (const char* name : {"nuspec.spl", "spec1.spl", "hispec.spl"})
    ASSERT_FALSE(WriteSpecialsFile(Prog().programDir + name, specials));
  // The start screen's choice that begins a recording.
  Prog().startScreen.GoStraightToDrawing();
  shell_->Sync();
  const Surface& canvas = Prog().main.images.canvas;
  const std::array<Qt::MouseButton, 3> buttons{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};

  for (uint32_t tool = 0; tool < kToolButtons.size(); ++tool) {
    SCOPED_TRACE(kToolButtons[tool]);
    QWidget* button = Widget(kToolButtons[tool]);
    ASSERT_NE(button, nullptr);
    const int32_t before = Prog().log.Count();
    // The last drag's repaint goes out first, so what follows shows this press alone.
    QApplication::processEvents();

    // The press alone selects, whichever button it is.
    const Qt::MouseButton pressed = buttons[tool % buttons.size()];
    const QPoint at = button->rect().center();
    SendMouse(button, QEvent::MouseButtonPress, at, pressed, pressed);
    EXPECT_EQ(Prog().tools.tool, tool);
    SendMouse(button, QEvent::MouseButtonRelease, at, pressed, Qt::NoButton);

    const int area = button->width() * button->height();
    for (uint32_t other = 0; other < kToolButtons.size(); ++other) {
      const Control& c = MainForm()[MainForm().Find(kToolButtons[other])];
      const Color want = other == tool ? kToolOn : kToolOff;
      EXPECT_EQ(c.color, want) << kToolButtons[other];
      // The face shows the colour around its glyph and caption.
      EXPECT_GT(PixelsOf(Widget(kToolButtons[other]), want), area / 4) << kToolButtons[other];
    }

    const std::vector<uint32_t> pixels(canvas.Bits(),
                                       canvas.Bits() + size_t(canvas.Width()) * canvas.Height());
    const int y = 60 + 30 * int(tool);
    Drag({{120, y}, {150, y + 8}, {185, y + 15}, {220, y + 10}, {260, y + 20}});

    const ActionLog& log = Prog().log;
    const int32_t shape = FindEntry(log, before + 1, lgshape);
    ASSERT_NE(shape, 0);
    EXPECT_EQ((log.Codes()[shape] >> 4) & 15, tool);
    const int32_t press = FindEntry(log, shape + 1, lgmoused);
    ASSERT_NE(press, 0);
    EXPECT_NE(FindEntry(log, press + 1, lgspacecolor), 0);

    int changed = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
      changed += pixels[i] != canvas.Bits()[i];
    EXPECT_GT(changed, 20);
  }
  EXPECT_TRUE(platform_->errors.empty()) << platform_->errors.front();
}

}  // namespace
}  // namespace quillo
