#pragma once

#include <optional>
#include <string>

#include "platform/qt/picture_codec.h"
#include "platform/screen_platform.h"

namespace quillo {

// The screen-only platform with picture files read and written as the program does
// them: the renderer's and the video export's. The writes that failed are counted.
class PictureScreenPlatform : public ScreenPlatform {
 public:
  using ScreenPlatform::ScreenPlatform;

  int failedWrites = 0;

  std::optional<std::string> LoadPicture(const std::string& path, Surface& out) override {
    return LoadPictureFile(path, out);
  }
  std::optional<std::string> SavePicture(const std::string& path, const Surface& picture) override {
    auto fault = SavePictureFile(path, picture);
    if (fault) ++failedWrites;
    return fault;
  }
};

}  // namespace quillo
