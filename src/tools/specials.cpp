#include "tools/specials.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <variant>

#include "platform/whole_file.h"

namespace quillo {
namespace {

// The runtime's standard input/output messages; the program raises none of its own.
constexpr const char* kFileNotFound = "File not found";
constexpr const char* kPathNotFound = "Path not found";
constexpr const char* kAccessDenied = "File access denied";
constexpr const char* kReadBeyondEnd = "Read beyond end of file";

uint16_t Record(std::span<const uint8_t> bytes, size_t i) {
  return static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

// The runtime tells a missing folder apart from a missing file.
bool FolderMissing(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path parent = path.parent_path();
  return !parent.empty() && !std::filesystem::is_directory(parent, ec);
}

}  // namespace

LoadedSpecials DecodeSpecials(std::span<const uint8_t> bytes) {
  LoadedSpecials out;
  if (bytes.size() < kSpecialsFileSize) {
    out.error = kReadBeyondEnd;
    return out;
  }
  SpecEntries e;
  for (size_t i = 0; i < kSpecCount; ++i) {
    e.a[i] = Record(bytes, i);
    e.b[i] = Record(bytes, kSpecCount + i);
  }
  out.entries = e;
  return out;
}

LoadedSpecials ReadSpecialsFile(const std::string& path) {
  std::error_code ec;
  // A directory opens as a stream on some systems but is never a file to read.
  if (std::filesystem::is_directory(path, ec)) return LoadedSpecials{{}, kAccessDenied};
  auto read = ReadFileStart(path, kSpecialsFileSize);
  if (auto* fault = std::get_if<std::string>(&read)) {
    if (*fault == kFileNotFound && FolderMissing(path)) return LoadedSpecials{{}, kPathNotFound};
    return LoadedSpecials{{}, std::move(*fault)};
  }
  return DecodeSpecials(std::get<FileStart>(read).bytes);
}

std::array<uint8_t, kSpecialsFileSize> EncodeSpecials(const SpecTable& table) {
  std::array<uint8_t, kSpecialsFileSize> bytes{};
  auto put = [&bytes](size_t record, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    bytes[2 * record] = static_cast<uint8_t>(v & 0xFFu);
    bytes[2 * record + 1] = static_cast<uint8_t>((v >> 8) & 0xFFu);
  };
  for (size_t i = 0; i < kSpecCount; ++i) {
    put(i, table.a[i]);
    put(kSpecCount + i, table.b[i]);
  }
  return bytes;
}

std::optional<std::string> WriteSpecialsFile(const std::string& path, const SpecTable& table) {
  return WriteWholeFile(path, EncodeSpecials(table));
}

}  // namespace quillo
