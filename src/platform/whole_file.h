#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace quillo {

// Writes bytes as the whole content of the file at path: into a temporary file in
// the same folder first (created afresh, never through a link planted at its name,
// with the modes the user's umask gives), flushed and synced, then renamed over
// the name, so a failed write at any step leaves the old file as it was and a
// link at the name is replaced rather than followed. Returns the fault, or nothing
// on success.
std::optional<std::string> WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// The start of a file: at most the bytes asked for, and the size of the whole file.
struct FileStart {
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
};

// Reads up to maxBytes from the start of the regular file at path. The file is
// opened without waiting, so a pipe or a device never blocks the caller, and is
// refused unless it is a regular file. The fault names the reason: "File not
// found", "File access denied", a folder, a device or pipe, a link loop, a name
// too long, a read error.
std::variant<FileStart, std::string> ReadFileStart(const std::string& path, size_t maxBytes);

// The system's reason for an errno value, in the words the program's messages use.
std::string FileFault(int error);

// Whether path names a plain file (not a folder); false when it cannot be told.
bool IsFile(const std::string& path);

}  // namespace quillo
