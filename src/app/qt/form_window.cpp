#include "app/qt/form_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <optional>
#include <utility>

#include "app/qt/key_map.h"
#include "platform/qt/qt_platform.h"

namespace quillo {
namespace {

std::optional<MouseButton> BackgroundButton(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return MouseButton::kLeft;
    case Qt::RightButton:
      return MouseButton::kRight;
    case Qt::MiddleButton:
      return MouseButton::kMiddle;
    default:
      return std::nullopt;
  }
}

Point PointOf(const QMouseEvent& event) {
  const QPoint p = event.position().toPoint();
  return Point{p.x(), p.y()};
}

}  // namespace

FormWindow::FormWindow(WindowState& state, ControlEventSink sink, std::function<void()> afterEvent,
                       std::string programDir)
    : QWidget(nullptr),
      state_(state),
      sink_(std::move(sink)),
      after_event_(std::move(afterEvent)),
      program_dir_(std::move(programDir)) {
  setObjectName(ToQString(state_.className));
  setAttribute(Qt::WA_QuitOnClose, state_.id == WindowId::kPaintLog);
  setAutoFillBackground(true);
  // The engine hears of moves without a button too.
  setMouseTracking(true);
}

QWidget* FormWindow::ControlWidget(ControlId id) const {
  if (id < 0 || id >= static_cast<ControlId>(views_.size())) return nullptr;
  return views_[id]->Widget();
}

void FormWindow::Sync() {
  AddNewControls();
  for (ControlId id : state_.form.TakeChanged()) {
    if (id < static_cast<ControlId>(views_.size())) views_[id]->Refresh();
  }
  if (state_.revision != shown_revision_) SyncWindow();
  SyncPointer();
  if (state_.raiseRequested) {
    state_.raiseRequested = false;
    raise();
    activateWindow();
  }
  SyncCanvas();
}

QWidget* FormWindow::ParentFor(const Control& c) {
  if (c.parent == kNoControl || c.parent >= static_cast<ControlId>(views_.size())) return this;
  return views_[c.parent]->Widget();
}

void FormWindow::AddNewControls() {
  const Form& form = state_.form;
  for (auto id = static_cast<ControlId>(views_.size()); id < form.Count(); ++id) {
    ControlContext context{&form, id, sink_, program_dir_};
    views_.push_back(MakeControlView(std::move(context), ParentFor(form[id])));
    QWidget* w = views_.back()->Widget();
    // The window's pointer shape is for the background alone.
    if (!w->testAttribute(Qt::WA_SetCursor)) w->setCursor(Qt::ArrowCursor);
  }
}

void FormWindow::SyncWindow() {
  shown_revision_ = state_.revision;
  setWindowTitle(ToQString(state_.caption));

  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(state_.color));
  setPalette(pal);

  Qt::WindowFlags flags = Qt::Window;
  if (state_.borderless) flags |= Qt::FramelessWindowHint;
  if (state_.stayOnTop) flags |= Qt::WindowStaysOnTopHint;
  // Changing the flags hides the window, so only a real change applies them.
  if (flags != shown_flags_) {
    shown_flags_ = flags;
    setWindowFlags(flags);
  }

  if (!state_.visible) {
    hide();
    return;
  }
  // Modality only takes effect when a window is shown.
  if (!isVisible()) setWindowModality(state_.modal ? Qt::ApplicationModal : Qt::NonModal);
  ShowWindow();
}

void FormWindow::SyncPointer() {
  if (state_.pointer == shown_pointer_) return;
  shown_pointer_ = state_.pointer;
  setCursor(shown_pointer_ == PointerShape::kCross ? Qt::CrossCursor : Qt::ArrowCursor);
}

void FormWindow::SyncCanvas() {
  Surface* canvas = Canvas();
  if (canvas != shown_canvas_) {
    shown_canvas_ = canvas;
    // A surface paints every pixel it covers, so Qt need not clear under it.
    setAutoFillBackground(canvas == nullptr);
    setAttribute(Qt::WA_OpaquePaintEvent, canvas != nullptr);
    if (canvas != nullptr) canvas->TakeDirty();
    update();
    return;
  }
  if (canvas == nullptr) return;
  const Rect dirty = canvas->TakeDirty();
  if (!dirty.Empty()) {
    update(QRect(dirty.left, dirty.top, int(dirty.Width()), int(dirty.Height())));
  }
  SyncBand();
}

namespace {

// The outline of a band, one pixel wide, as the area to paint it in.
QRect BandArea(const Rect& band) {
  const Rect r = Normalized(band);
  return QRect(r.left, r.top, int(r.Width()) + 1, int(r.Height()) + 1);
}

}  // namespace

void FormWindow::SyncBand() {
  const std::optional<Rect> band =
      state_.hooks.band != nullptr ? *state_.hooks.band : std::optional<Rect>();
  if (band == shown_band_) return;
  if (shown_band_) update(BandArea(*shown_band_));
  if (band) update(BandArea(*band));
  shown_band_ = band;
}

void FormWindow::ShowWindow() {
  if (state_.clientWidth > 0 && state_.clientHeight > 0) {
    setGeometry(state_.left, state_.top, state_.clientWidth, state_.clientHeight);
  }
  if (state_.minimized) {
    showMinimized();
  } else if (!isVisible() || isMinimized()) {
    showNormal();
  }
}

void FormWindow::paintEvent(QPaintEvent* event) {
  const Surface* canvas = Canvas();
  if (canvas == nullptr) return;  // the window colour, filled by Qt
  QPainter p(this);
  const QImage view = SurfaceView(*canvas);
  const QRect canvasRect(0, 0, canvas->Width(), canvas->Height());
  const QColor background = ToQColor(state_.color);
  for (const QRect& r : event->region()) {
    const QRect shown = r & canvasRect;
    if (!shown.isEmpty()) p.drawImage(shown.topLeft(), view, shown);
    // Whatever lies beyond the surface (a window larger than the screen it was made
    // for) shows the window colour.
    for (const QRect& rest : QRegion(r).subtracted(QRegion(shown))) {
      p.fillRect(rest, background);
    }
  }
  // The rubber band inverts what lies under it, as if drawn with a not pen.
  if (shown_band_) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::NoBrush);
    const QRect area = BandArea(*shown_band_);
    p.drawRect(area.adjusted(0, 0, -1, -1));
  }
}

bool FormWindow::BackgroundMouse(MouseAction action, MouseButton button, Modifiers mods, Point at) {
  if (!state_.hooks.mouse) return false;
  state_.hooks.mouse(action, button, mods, at);
  return true;
}

void FormWindow::SendMouse(MouseAction action, const QMouseEvent& event) {
  MouseButton button = MouseButton::kLeft;
  if (action != MouseAction::kMove) {
    const std::optional<MouseButton> b = BackgroundButton(event.button());
    if (!b) return;
    button = *b;
  }
  if (BackgroundMouse(action, button, ModifiersOf(event), PointOf(event))) after_event_();
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
  SendMouse(MouseAction::kDown, *event);
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a press like any other on the background.
  SendMouse(MouseAction::kDown, *event);
}

void FormWindow::mouseMoveEvent(QMouseEvent* event) {
  SendMouse(MouseAction::kMove, *event);
}

void FormWindow::mouseReleaseEvent(QMouseEvent* event) {
  SendMouse(MouseAction::kUp, *event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!state_.visible) return;
  if (state_.hooks.closed) {
    state_.hooks.closed();
    after_event_();
    return;
  }
  state_.Show(false);
  // The window is hidden already; the state now says so and shows no change.
  shown_revision_ = state_.revision;
  after_event_();
}

bool FormWindow::HandlesKeys() const {
  const WindowHooks& h = state_.hooks;
  return h.keyDown || h.keyPress || h.keyUp;
}

void FormWindow::KeyDown(int32_t vk, Modifiers mods) {
  if (state_.hooks.keyDown) state_.hooks.keyDown(vk, mods);
}

void FormWindow::KeyPress(char32_t ch) {
  if (state_.hooks.keyPress) state_.hooks.keyPress(ch);
}

void FormWindow::KeyUp(int32_t vk, Modifiers mods) {
  if (state_.hooks.keyUp) state_.hooks.keyUp(vk, mods);
}

bool FormWindow::PreviewKey(const QKeyEvent& event) {
  if (!HandlesKeys()) return false;
  const int32_t vk = VirtualKeyOf(event);
  const Modifiers mods = KeyModifiersOf(event);
  if (event.type() == QEvent::KeyPress) {
    if (vk != 0) {
      held_[vk] = mods;
      KeyDown(vk, mods);
    }
    // Ctrl and Alt combinations are keys, not typed characters.
    if (!mods.ctrl && !mods.alt) {
      for (char32_t ch : event.text().toUcs4())
        KeyPress(ch);
    }
  } else if (vk != 0 && !event.isAutoRepeat()) {
    Modifiers up = mods;
    if (const auto it = held_.find(vk); it != held_.end()) {
      up.ctrl |= it->second.ctrl;
      up.alt |= it->second.alt;
      held_.erase(it);
    }
    KeyUp(vk, up);
  }
  after_event_();
  return true;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  auto* window = qobject_cast<FormWindow*>(widget->window());
  if (window == nullptr || !window->PreviewKey(static_cast<const QKeyEvent&>(*event))) {
    return false;
  }
  // The engine has seen the key; an edit still types it. Handing it over here, rather
  // than letting it travel on, keeps an edit's unused keys from reaching the engine
  // a second time through its parents.
  if (qobject_cast<QLineEdit*>(watched) != nullptr) watched->event(event);
  return true;
}

}  // namespace quillo
