#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/qt/shell.h"

namespace quillo {

// The Qt platform with the close question and the file dialogs answered from a
// script and error messages recorded instead of shown.
class ScriptedPlatform : public QtPlatform {
 public:
  // The file names the dialogs give, in turn; none left: the dialog is cancelled.
  std::optional<std::string> OpenFileName(const FileDialogSpec&) override {
    return Next(openNames);
  }
  std::optional<std::string> SaveFileName(const FileDialogSpec&) override {
    return Next(saveNames);
  }
  std::deque<std::string> openNames;
  std::deque<std::string> saveNames;
  Answer Ask(const std::string& text, QuestionButtons buttons) override {
    questions.push_back(text);
    if (buttons == QuestionButtons::kSaveDiscardCancel) return saveAnswer;
    return answer;
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void ShowInformation(const std::string& message) override { notes.push_back(message); }
  // Runs duringPendingEvents, when set, with the round's number before each round.
  void ProcessPendingEvents() override {
    if (duringPendingEvents) duringPendingEvents(++pendingRounds);
    QtPlatform::ProcessPendingEvents();
  }
  std::function<void(int)> duringPendingEvents;
  int pendingRounds = 0;
  Answer answer = Answer::kNo;
  Answer saveAnswer = Answer::kCancel;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
  std::vector<std::string> notes;

 private:
  static std::optional<std::string> Next(std::deque<std::string>& names) {
    if (names.empty()) return std::nullopt;
    std::string name = names.front();
    names.pop_front();
    return name;
  }
};

// The scripted platform on a screen of the size given, whatever the display's.
class SizedPlatform : public ScriptedPlatform {
 public:
  explicit SizedPlatform(ScreenSize size) : size_(size) {}
  ScreenSize GetScreenSize() override { return size_; }

 private:
  ScreenSize size_;
};

// A widget as its window last put it on the screen (the offscreen platform's screen
// is the window's backing store), once the repaints already asked for have run; in
// device pixels. Where the platform cannot grab the screen in device pixels (Wayland,
// or the offscreen platform at a scale), as the widget paints itself.
inline QImage OnScreen(QWidget* widget) {
  QApplication::processEvents();
  const QPoint at = widget->mapTo(widget->window(), QPoint(0, 0));
  QPixmap shot = widget->screen()->grabWindow(widget->window()->winId(), at.x(), at.y(),
                                              widget->width(), widget->height());
  const qreal ratio = widget->devicePixelRatioF();
  if (shot.size() != QSize(qRound(widget->width() * ratio), qRound(widget->height() * ratio)))
    shot = widget->grab();
  return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// A started Shell in a fresh program folder, with Qt events sent to its widgets.

class ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    auto platform = std::make_unique<ScriptedPlatform>();
    platform_ = platform.get();
    shell_ = std::make_unique<Shell>(dir_.path().toStdString() + "/", std::move(platform));
    shell_->Start();
  }

  PaintLogWindow& Window() { return shell_->MainWindow(); }
  Program& Prog() { return shell_->program(); }
  Form& MainForm() { return Prog().main.window.form; }
  // A control's widget on the main window (whose transient children have controls of
  // the same names).
  QWidget* Widget(const char* name) {
    const ControlId id = MainForm().Find(name);
    return id == kNoControl ? nullptr : Window().ControlWidget(id);
  }

  void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                 Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(target, &e);
  }
  void Click(QWidget* target) {
    const QPoint at = target->rect().center();
    SendMouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  // A left-button drag on the canvas along path.
  void Drag(const std::vector<QPoint>& path) {
    SendMouse(&Window(), QEvent::MouseButtonPress, path.front(), Qt::LeftButton, Qt::LeftButton);
    for (size_t i = 1; i < path.size(); ++i)
      SendMouse(&Window(), QEvent::MouseMove, path[i], Qt::NoButton, Qt::LeftButton);
    SendMouse(&Window(), QEvent::MouseButtonRelease, path.back(), Qt::LeftButton, Qt::NoButton);
  }
  void SendKey(QWidget* target, int key, Qt::KeyboardModifiers mods, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
  }

  QTemporaryDir dir_;
  ScriptedPlatform* platform_ = nullptr;
  std::unique_ptr<Shell> shell_;
};

}  // namespace quillo
