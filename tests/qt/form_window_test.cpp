#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QThread>
#include <memory>
#include <vector>

#include "app/qt/form_window.h"
#include "platform/raster/surface.h"

namespace quillo {
namespace {

constexpr Color kWindowColor = 0x00336699;
constexpr Color kSurfaceColor = 0x00102030;
constexpr Color kPaintColor = 0x0000FFFF;

struct MouseCall {
  MouseAction action;
  MouseButton button;
  Modifiers mods;
  Point at;
};

struct KeyCall {
  char kind;  // 'd' down, 'p' press, 'u' up
  int32_t code;
  Modifiers mods;
};

// Records the areas the window repaints.
class PaintSpy : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      regions.push_back(static_cast<QPaintEvent*>(event)->region());
    return false;
  }
  std::vector<QRegion> regions;
};

// A window with a surface of its own, a swatch control on it and hooks that record
// what reaches them, as the colour field editor has.
class FormWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    state_.id = WindowId::kSpaceColorForm;
    state_.className = "TTestForm";
    state_.visible = true;
    state_.color = kWindowColor;
    state_.clientWidth = 200;
    state_.clientHeight = 150;
    // Narrower than the window, so part of the window shows its own colour.
    ASSERT_TRUE(surface_.Resize(160, 150));
    surface_.FillRect(surface_.Bounds(), kSurfaceColor);

    Control swatch;
    swatch.name = "swatch";
    swatch.bounds = Rect{100, 90, 150, 130};
    swatch.color = 0x000000FF;
    swatchId_ = state_.form.Add(swatch);
    state_.form.On(swatchId_, EventKind::kMouseDown,
                   [this](const ControlEvent&) { ++swatchPresses_; });

    state_.hooks.canvas = &surface_;
    state_.hooks.mouse = [this](MouseAction a, MouseButton b, Modifiers m, Point p) {
      mouse_.push_back({a, b, m, p});
    };
    state_.hooks.keyDown = [this](int32_t vk, Modifiers m) { keys_.push_back({'d', vk, m}); };
    state_.hooks.keyPress = [this](char32_t ch) { keys_.push_back({'p', int32_t(ch), {}}); };
    state_.hooks.keyUp = [this](int32_t vk, Modifiers m) { keys_.push_back({'u', vk, m}); };

    auto sink = [this](const ControlEvent& e) { return state_.form.Dispatch(e); };
    window_ = std::make_unique<FormWindow>(
        state_, sink, [this] { ++afterEvents_; }, "");
    window_->Sync();
  }

  QWidget* Swatch() { return window_->ControlWidget(swatchId_); }
  QRgb Shown(QPoint p) {
    return window_->grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(p);
  }
  void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                 Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, mods);
    QApplication::sendEvent(target, &e);
  }
  void SendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ShiftModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ShiftModifier, text);
    QApplication::sendEvent(target, &release);
  }

  WindowState state_;
  Surface surface_;
  ControlId swatchId_ = kNoControl;
  int swatchPresses_ = 0;
  int afterEvents_ = 0;
  std::vector<MouseCall> mouse_;
  std::vector<KeyCall> keys_;
  std::unique_ptr<FormWindow> window_;
};

TEST_F(FormWindowTest, BackgroundShowsTheSurfaceAndRepaintsOnlyWhatChanged) {
  ASSERT_TRUE(window_->isVisible());
  EXPECT_EQ(window_->size(), QSize(200, 150));
  EXPECT_EQ(Shown({10, 10}), ToQColor(kSurfaceColor).rgb());
  EXPECT_EQ(Shown({180, 10}), ToQColor(kWindowColor).rgb());  // beyond the surface
  EXPECT_EQ(Shown({120, 100}), ToQColor(0x000000FF).rgb());   // the swatch on top

  // A compositor asks for repaints at its own pace: events run until they stop.
  PaintSpy spy;
  window_->installEventFilter(&spy);
  const auto settle = [&spy] {
    for (int quiet = 0, seen = -1; quiet < 3; ++quiet) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(20);
      if (int(spy.regions.size()) != seen) quiet = 0;
      seen = int(spy.regions.size());
    }
  };
  settle();
  spy.regions.clear();

  surface_.FillRect(Rect{20, 30, 40, 50}, kPaintColor);
  window_->Sync();
  settle();
  ASSERT_FALSE(spy.regions.empty());
  QRegion repainted;
  for (const QRegion& r : spy.regions)
    repainted += r;
  EXPECT_EQ(repainted, QRegion(20, 30, 20, 20));
  EXPECT_TRUE(surface_.Dirty().Empty());
  EXPECT_EQ(Shown({25, 35}), ToQColor(kPaintColor).rgb());
  EXPECT_EQ(Shown({45, 35}), ToQColor(kSurfaceColor).rgb());

  // Without a surface the window is its colour.
  state_.hooks.canvas = nullptr;
  window_->Sync();
  EXPECT_EQ(Shown({25, 35}), ToQColor(kWindowColor).rgb());
}

TEST_F(FormWindowTest, MouseOnTheBackgroundGoesToTheHookAndOnControlsDoesNot) {
  SendMouse(window_.get(), QEvent::MouseButtonPress, {10, 20}, Qt::RightButton, Qt::RightButton,
            Qt::ShiftModifier);
  SendMouse(window_.get(), QEvent::MouseMove, {15, 25}, Qt::NoButton, Qt::RightButton);
  SendMouse(window_.get(), QEvent::MouseButtonRelease, {18, 28}, Qt::RightButton, Qt::NoButton);
  SendMouse(window_.get(), QEvent::MouseMove, {30, 40}, Qt::NoButton, Qt::NoButton);
  SendMouse(window_.get(), QEvent::MouseButtonDblClick, {30, 40}, Qt::LeftButton, Qt::LeftButton);

  ASSERT_EQ(mouse_.size(), 5u);
  EXPECT_EQ(afterEvents_, 5);
  EXPECT_EQ(mouse_[0].action, MouseAction::kDown);
  EXPECT_EQ(mouse_[0].button, MouseButton::kRight);
  EXPECT_TRUE(mouse_[0].mods.shift);
  EXPECT_TRUE(mouse_[0].mods.right);
  EXPECT_EQ(mouse_[0].at, (Point{10, 20}));
  EXPECT_EQ(mouse_[1].action, MouseAction::kMove);
  EXPECT_TRUE(mouse_[1].mods.right);
  EXPECT_FALSE(mouse_[1].mods.shift);
  EXPECT_EQ(mouse_[1].at, (Point{15, 25}));
  EXPECT_EQ(mouse_[2].action, MouseAction::kUp);
  EXPECT_EQ(mouse_[2].button, MouseButton::kRight);
  EXPECT_FALSE(mouse_[2].mods.right);
  EXPECT_EQ(mouse_[2].at, (Point{18, 28}));
  EXPECT_EQ(mouse_[3].action, MouseAction::kMove);
  EXPECT_FALSE(mouse_[3].mods.left || mouse_[3].mods.right || mouse_[3].mods.middle);
  EXPECT_EQ(mouse_[4].action, MouseAction::kDown);
  EXPECT_EQ(mouse_[4].button, MouseButton::kLeft);

  // Presses and moves over a control are the control's alone.
  mouse_.clear();
  SendMouse(Swatch(), QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(Swatch(), QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
  SendMouse(Swatch(), QEvent::MouseMove, {8, 8}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(swatchPresses_, 1);
  EXPECT_TRUE(mouse_.empty());
}

TEST_F(FormWindowTest, KeysOnAnyWidgetOfTheWindowGoToItsKeyHooks) {
  KeyPreview preview;
  qApp->installEventFilter(&preview);
  SendKey(window_.get(), Qt::Key_A, QStringLiteral("A"));
  SendKey(Swatch(), Qt::Key_Right, QString());
  qApp->removeEventFilter(&preview);

  ASSERT_EQ(keys_.size(), 5u);
  EXPECT_EQ(keys_[0].kind, 'd');
  EXPECT_EQ(keys_[0].code, 'A');
  EXPECT_TRUE(keys_[0].mods.shift);
  EXPECT_EQ(keys_[1].kind, 'p');
  EXPECT_EQ(keys_[1].code, 'A');
  EXPECT_EQ(keys_[2].kind, 'u');
  EXPECT_EQ(keys_[2].code, 'A');
  EXPECT_EQ(keys_[3].kind, 'd');
  EXPECT_EQ(keys_[3].code, 39);
  EXPECT_EQ(keys_[4].kind, 'u');
  EXPECT_EQ(keys_[4].code, 39);
  EXPECT_EQ(afterEvents_, 4);

  // A window without key hooks leaves its keys to its widgets.
  state_.hooks.keyDown = nullptr;
  state_.hooks.keyPress = nullptr;
  state_.hooks.keyUp = nullptr;
  QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
  EXPECT_FALSE(window_->PreviewKey(press));
  EXPECT_EQ(afterEvents_, 4);
}

TEST_F(FormWindowTest, PointerShapeFollowsTheState) {
  EXPECT_EQ(window_->cursor().shape(), Qt::ArrowCursor);
  state_.pointer = PointerShape::kCross;
  ++state_.revision;
  window_->Sync();
  EXPECT_EQ(window_->cursor().shape(), Qt::CrossCursor);
  // Controls keep their own pointer: the swatch, which takes presses, the hand.
  EXPECT_EQ(Swatch()->cursor().shape(), Qt::PointingHandCursor);
  state_.pointer = PointerShape::kDefault;
  ++state_.revision;
  window_->Sync();
  EXPECT_EQ(window_->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace quillo
