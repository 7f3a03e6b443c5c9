#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "support/fake_platform.h"

namespace quillo::testing {

// A program in a program folder of its own on a small fake screen, whose pictures
// are files the fake can read back.
class GuideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("quillo-guide-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    platform.screen = {160, 120};
    platform.picturesOnDisk = true;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Dir() const { return dir_.string() + "/"; }
  std::string PathOf(const char* name) const { return (dir_ / name).string(); }
  bool Exists(const char* name) const { return std::filesystem::exists(dir_ / name); }

  // A program made and started as the application starts it; before runs first.
  void StartUp(const std::function<void(Program&)>& before = nullptr) {
    program = std::make_unique<Program>(platform, Dir());
    if (before) before(*program);
    program->StartUp();
  }

  // A picture file in the fake's format, of one colour.
  void WritePicture(const char* name, int32_t w, int32_t h, Color c) {
    Surface s;
    s.Resize(w, h);
    s.FillRect(s.Bounds(), c);
    ASSERT_FALSE(platform.SavePicture(PathOf(name), s));
    platform.savedPictures.clear();
  }

  // A demonstration log of n press entries at (i, 2i), in the demo file's layout.
  void WriteDemoLog(int32_t n) {
    std::vector<uint16_t> codes(6000, 0);
    std::vector<int32_t> values(6000, 0);
    codes[0] = static_cast<uint16_t>(n);
    for (int32_t i = 1; i <= n; ++i) {
      codes[i] = 1;
      values[i] = (i % 100) * 65536 + 2 * (i % 50);
    }
    std::ofstream out(PathOf("Newonee.log"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(codes.data()), 12000);
    out.write(reinterpret_cast<const char*>(values.data()), 24000);
  }

  PaintLog& Main() { return program->main; }
  Form& MainForm() { return program->main.window.form; }
  const PaintLogControls& C() { return program->main.c; }
  bool Visible(ControlId id) { return MainForm()[id].visible; }
  void ClickOn(Form& form, ControlId id) {
    ControlEvent e;
    e.control = id;
    e.kind = EventKind::kClick;
    ASSERT_TRUE(form.Dispatch(e));
  }
  void ClickMain(ControlId id) { ClickOn(MainForm(), id); }
  void ClickMain(const char* name) { ClickMain(MainForm().Find(name)); }

  FakePlatform platform;
  std::unique_ptr<Program> program;

 private:
  std::filesystem::path dir_;
};

}  // namespace quillo::testing
