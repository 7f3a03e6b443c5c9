#pragma once

#include <QLineEdit>
#include <QScrollBar>

#include "app/qt/control_view.h"

namespace quillo {

// A scroll bar control: the engine's range and position; moves the user makes are
// sent as kChange with the new position. Its step buttons are as long as the bar is
// thick, and never shorter than kLeastStep.
class ScrollBarControl : public QScrollBar, public ControlView {
  Q_OBJECT

 public:
  // The widget is owned by parent, as Qt children are.
  ScrollBarControl(ControlContext context, QWidget* parent);
  QWidget* Widget() override { return this; }
  void Refresh() override;

  static constexpr int kLeastStep = 15;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ControlContext context_;
  bool refreshing_ = false;
  int step_ = 0;  // the step buttons' length the style sheet has
};

// An edit control: shows the caption as its text; typing sends kChange with the
// new text. A number field takes only whole numbers in its range, and only the keys
// that edit one; the others stay the window's hot keys.
class EditControl : public QLineEdit, public ControlView {
  Q_OBJECT

 public:
  // The widget is owned by parent, as Qt children are.
  EditControl(ControlContext context, QWidget* parent);
  QWidget* Widget() override { return this; }
  void Refresh() override;

  bool IsNumberField() const { return context_.State().numberField; }
  // Whether a key edits the number field rather than going to the window: digits of
  // the main row and the pad, a minus where the range has numbers below 0, Backspace,
  // Delete, Left, Right, Home and End.
  bool EditsKey(const QKeyEvent& event) const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ControlContext context_;
};

}  // namespace quillo
