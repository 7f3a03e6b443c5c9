#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillo {

// Writes bytes as the whole content of the file at path: into a temporary file in
// the same folder first, then renamed over the old one, so a failed write leaves
// the old file as it was. Returns the fault, or nothing on success.
std::optional<std::string> WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// Whether path names a plain file (not a folder); false when it cannot be told.
bool IsFile(const std::string& path);

}  // namespace quillo
