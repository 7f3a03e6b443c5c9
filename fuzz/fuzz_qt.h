#pragma once

// The start of a target that reads pictures with Qt: an application on the offscreen
// platform, made once. Included by one file of each such target.
#include <QGuiApplication>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}
