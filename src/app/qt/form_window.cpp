#include "app/qt/form_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWheelEvent>
#include <optional>
#include <utility>

#include "app/qt/control_paint.h"
#include "app/qt/hint_label.h"
#include "app/qt/input_controls.h"
#include "app/qt/key_map.h"
#include "platform/qt/device_pixels.h"
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
  return ToEnginePoint(event.position());
}

// Whether a window of the engine's size covers the screen the engine was sized for.
bool CoversScreen(const WindowState& state) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return false;
  const QSize size = screen->geometry().size();
  return state.clientWidth >= ToEngine(size.width()) &&
         state.clientHeight >= ToEngine(size.height());
}

// Lies over the main window under a modal frame and takes every mouse event, so
// the canvas and the controls beneath take no input while the frame is shown.
class ModalScrim : public QWidget {
 public:
  explicit ModalScrim(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ModalScrim"));
    setCursor(Qt::ArrowCursor);
    hide();
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
  void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
  void wheelEvent(QWheelEvent* event) override { event->accept(); }
};

}  // namespace

FormWindow::FormWindow(WindowState& state, ControlEventSink sink, std::function<void()> afterEvent,
                       std::string programDir, QWidget* transientParent)
    : QWidget(transientParent, Qt::Window),
      state_(state),
      sink_(std::move(sink)),
      after_event_(std::move(afterEvent)),
      program_dir_(std::move(programDir)) {
  setObjectName(ToQString(state_.className));
  setAttribute(Qt::WA_QuitOnClose, state_.id == WindowId::kPaintLog);
  setAutoFillBackground(true);
  // The engine hears of moves without a button too.
  setMouseTracking(true);
  // A frame inside its parent follows the parent's size.
  if (transientParent != nullptr) transientParent->installEventFilter(this);
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
    w->installEventFilter(this);
  }
}

bool FormWindow::IsFrame() const {
  return state_.modal && parentWidget() != nullptr && !CoversScreen(state_);
}

void FormWindow::PlaceFrame() {
  QWidget* parent = parentWidget();
  const QSize size = ToLogical(Rect{0, 0, state_.clientWidth, state_.clientHeight}).size();
  QRect placed(QPoint(0, 0), size);
  placed.moveCenter(parent->rect().center());
  setGeometry(placed);
  if (scrim_ == nullptr) scrim_ = new ModalScrim(parent);
  scrim_->setGeometry(parent->rect());
  // The order of the main window's children: the scrim over its controls, the frame
  // over the scrim.
  scrim_->show();
  scrim_->raise();
  raise();
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget()) {
    if (event->type() == QEvent::Resize && isVisible() && !isWindow()) PlaceFrame();
    return false;
  }
  auto* control = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::ToolTip:
      // A control without a hint shows none, rather than its panel's.
      if (control->toolTip().isEmpty()) {
        if (hint_ != nullptr) hint_->hide();
      } else {
        if (hint_ == nullptr) hint_ = new HintLabel(this);
        hint_->ShowFor(control, control->toolTip(), HintPixelSize(height()));
      }
      return true;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::Hide:
      if (hint_ != nullptr) hint_->HideFor(control);
      return false;
    default:
      return false;
  }
}

void FormWindow::SyncWindow() {
  shown_revision_ = state_.revision;
  setWindowTitle(ToQString(state_.caption));

  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(state_.color));
  setPalette(pal);

  // A modal window smaller than the screen (the start screen) is a frame inside the
  // main window: a compositor may stack a window of its own under the full-screen
  // canvas, and places it where it likes. Any other is a window of its own, which its
  // transient parent keeps above the main window; a stay-on-top hint means nothing on
  // Wayland.
  Qt::WindowFlags flags = IsFrame() ? Qt::Widget : Qt::Window;
  if (state_.borderless && flags == Qt::Window) flags |= Qt::FramelessWindowHint;
  // Changing the flags hides the window, so only a real change applies them.
  if (flags != shown_flags_) {
    shown_flags_ = flags;
    setWindowFlags(flags);
  }

  if (!state_.visible) {
    hide();
    if (scrim_ != nullptr) scrim_->hide();
    return;
  }
  // Modality only takes effect when a window is shown.
  if (!isVisible() && isWindow())
    setWindowModality(state_.modal ? Qt::ApplicationModal : Qt::NonModal);
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
    const qreal ratio = DevicePixelRatio();
    update(
        QRectF(dirty.left / ratio, dirty.top / ratio, dirty.Width() / ratio, dirty.Height() / ratio)
            .toAlignedRect());
  }
  SyncBand();
}

namespace {

// The outline of a band, one pixel wide, as the area of the window to paint it in.
QRect BandArea(const Rect& band) {
  const Rect r = Normalized(band);
  const qreal ratio = DevicePixelRatio();
  return QRectF(r.left / ratio, r.top / ratio, (r.Width() + 1) / ratio, (r.Height() + 1) / ratio)
      .toAlignedRect();
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
  if (state_.minimized) {
    showMinimized();
    return;
  }
  // Positions are the compositor's on Wayland: a screen-sized window asks for the
  // screen, a frame is centred in its parent, and any other goes where the engine
  // says when the window system lets it.
  if (CoversScreen(state_)) {
    if (!isVisible() || isMinimized() || !isFullScreen()) ShowFullScreen();
    return;
  }
  if (!isWindow()) {
    PlaceFrame();
    show();
    // The keyboard goes to the frame, which keeps it from the window beneath.
    setFocus(Qt::OtherFocusReason);
    return;
  }
  if (state_.clientWidth > 0 && state_.clientHeight > 0) {
    setGeometry(ToLogical(Rect{state_.left, state_.top, state_.left + state_.clientWidth,
                               state_.top + state_.clientHeight}));
  }
  if (!isVisible() || isMinimized()) showNormal();
}

void FormWindow::ShowFullScreen() {
  // Sized for the screen first: a compositor that leaves the size of a full-screen
  // window to the program would otherwise get the size Qt guesses from the controls.
  if (const QScreen* shown = screen()) resize(shown->geometry().size());
  showFullScreen();
}

void FormWindow::paintEvent(QPaintEvent* event) {
  const Surface* canvas = Canvas();
  if (canvas == nullptr) return;  // the window colour, filled by Qt
  QPainter p(this);
  // One surface pixel to each device pixel: the image is drawn whole at the origin,
  // clipped to the region, so no edge falls between device pixels.
  QImage view = SurfaceView(*canvas);
  const qreal ratio = DevicePixelRatio();
  view.setDevicePixelRatio(ratio);
  p.drawImage(QPointF(0, 0), view);
  // Whatever lies beyond the surface (a window larger than the screen it was made
  // for) shows the window colour.
  const QRect canvasRect =
      QRectF(0, 0, canvas->Width() / ratio, canvas->Height() / ratio).toAlignedRect();
  const QColor background = ToQColor(state_.color);
  for (const QRect& rest : event->region().subtracted(QRegion(canvasRect)))
    p.fillRect(rest, background);
  // The rubber band inverts what lies under it, as if drawn with a not pen: one
  // device pixel wide, in the canvas's pixels.
  if (shown_band_) {
    p.scale(1 / ratio, 1 / ratio);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::NoBrush);
    const Rect band = Normalized(*shown_band_);
    p.drawRect(QRect(band.left, band.top, int(band.Width()), int(band.Height())));
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

void FormWindow::keyPressEvent(QKeyEvent* event) {
  // A frame's keys stop here, as a modal window's would, rather than reach its parent.
  if (!isWindow()) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FormWindow::keyReleaseEvent(QKeyEvent* event) {
  if (!isWindow()) {
    event->accept();
    return;
  }
  QWidget::keyReleaseEvent(event);
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
  // The form the widget belongs to: a frame's own rather than the window it sits in;
  // none for a widget of another window, such as a file dialog.
  FormWindow* window = nullptr;
  for (auto* w = qobject_cast<QWidget*>(watched); w != nullptr; w = w->parentWidget()) {
    window = qobject_cast<FormWindow*>(w);
    if (window != nullptr || w->isWindow()) break;
  }
  const auto& key = static_cast<const QKeyEvent&>(*event);
  // A number field's own keys edit it and are no hot keys; its other keys are hot keys
  // only, so that a key never does both.
  auto* field = qobject_cast<EditControl*>(watched);
  const bool numberField = field != nullptr && field->IsNumberField();
  if (numberField && field->EditsKey(key)) return false;
  if (window == nullptr || !window->PreviewKey(key)) return false;
  if (numberField) return true;
  // The engine has seen the key; an edit still types it. Handing it over here, rather
  // than letting it travel on, keeps an edit's unused keys from reaching the engine
  // a second time through its parents.
  if (qobject_cast<QLineEdit*>(watched) != nullptr) watched->event(event);
  return true;
}

}  // namespace quillo
