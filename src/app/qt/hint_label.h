#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace quillo {

// The hint of a window's controls: a small window of the tool tip kind, a transient
// child of that window. It is sized and placed before it is shown, since a Wayland
// popup stays where it first appears; Qt's own tool tip is moved once it is up.
class HintLabel : public QLabel {
  Q_OBJECT

 public:
  explicit HintLabel(QWidget* window);

  // Shows text for control, in a font of pixelSize: a few pixels beside the control's
  // band (its strip along an edge of the window, or the control itself), kept on
  // the screen. It goes after a few seconds, or by HideFor.
  void ShowFor(QWidget* control, const QString& text, int pixelSize);
  // Hides the hint when it is control's.
  void HideFor(const QWidget* control);
  // The control whose hint shows; nullptr when none does.
  const QWidget* Owner() const { return isVisible() ? owner_.data() : nullptr; }

 private:
  QPointer<QWidget> owner_;
  QTimer timeout_;
};

}  // namespace quillo
