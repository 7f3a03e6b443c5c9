#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/program.h"
#include "support/fake_platform.h"

namespace quillo::testing {

// A freshly created program on a fake screen.
class ProgramTest : public ::testing::Test {
 protected:
  void Start(int32_t w = 1024, int32_t h = 768) {
    platform.screen = {w, h};
    program = std::make_unique<Program>(platform, "/tmp/quillo-test/");
    program->Create();
    // The help window's creation turns Wild on; the start screen's initialisation,
    // not run here, turns it off again.
    program->tools.wild = false;
  }
  PaintLog& Main() { return program->main; }
  Form& MainForm() { return program->main.window.form; }
  const Control& Ctl(const char* name) { return MainForm()[MainForm().Find(name)]; }
  void Click(const char* name, MouseButton button = MouseButton::kLeft) {
    ControlEvent e;
    e.control = MainForm().Find(name);
    ASSERT_NE(e.control, kNoControl) << name;
    e.kind = EventKind::kClick;
    e.button = button;
    MainForm().Dispatch(e);
  }
  void Press(Point p, MouseButton b = MouseButton::kLeft) { Main().FormMouseDown(b, {}, p); }
  void Move(Point p, Modifiers m = {}) { Main().FormMouseMove(m, p); }
  void Release(Point p, MouseButton b = MouseButton::kLeft) { Main().FormMouseUp(b, {}, p); }
  uint32_t Code(int i) { return program->log.Codes()[i]; }
  int32_t Value(int i) { return program->log.Values()[i]; }
  int32_t Count() { return program->log.Count(); }

  FakePlatform platform;
  std::unique_ptr<Program> program;
};

}  // namespace quillo::testing
