#pragma once

// What the fuzz targets share: the input as a file, since the readers take paths, and
// a small program to use what they read.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "support/fake_platform.h"

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

// A started program on a small screen, with no files of its own to read.
struct SmallProgram {
  testing::FakePlatform platform;
  std::unique_ptr<Program> program;

  SmallProgram() {
    platform.screen = {64, 48};
    program = std::make_unique<Program>(platform, "/nonexistent/quillo-fuzz/");
    program->StartUp();
  }
};

}  // namespace quillo::fuzz
