#pragma once

// What every fuzz target shares: the input as a file, since the readers take paths, or
// as arguments; a picture to load into; and the way to report a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/raster/surface.h"

namespace quillo::fuzz {

// Where the targets' files go: shared memory when there is some, so the writers'
// syncs to disk cost nothing per input.
inline std::string ScratchPrefix() {
  const bool shm = ::access("/dev/shm", W_OK) == 0;
  return std::string(shm ? "/dev/shm" : "/tmp") + "/quillo-fuzz-" + std::to_string(::getpid()) +
         "-";
}

// A file of this process's own, holding the bytes given.
inline std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
  const std::string path = ScratchPrefix() + std::string(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) std::abort();
  return path;
}

inline std::vector<uint8_t> ReadBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Stops the run with a message: the fuzzer reports the input as a finding.
inline void Fail(const char* what) {
  std::fprintf(stderr, "quillo fuzz: %s\n", what);
  std::abort();
}

// The input split at zero bytes into a command line, the program's name first.
inline std::vector<std::string> SplitArguments(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back().push_back(static_cast<char>(data[i]));
    }
  }
  return args;
}

// A small picture with one marked pixel for a reader to load into: a refused picture
// leaves it as it was, and a loaded one has a size the surface allows.
struct PictureProbe {
  Surface surface;

  PictureProbe() {
    if (!surface.Resize(3, 2)) std::abort();
    surface.SetPixel({1, 1}, 0x123456);
  }
  bool Untouched() const {
    return surface.Width() == 3 && surface.Height() == 2 && surface.Pixel({1, 1}) == 0x123456;
  }
  bool PossibleSize() const {
    return surface.Width() >= 1 && surface.Height() >= 1 &&
           int64_t{surface.Width()} * surface.Height() <= Surface::kMaxPixels;
  }
};

}  // namespace quillo::fuzz
