#include "colour/kcl_file.h"

#include <vector>

#include "platform/whole_file.h"

namespace quillo {

std::array<uint8_t, kKclFileSize> EncodeKeyColors(const KeyColorTable& table) {
  std::array<uint8_t, kKclFileSize> bytes{};
  size_t at = 0;
  for (const auto& set : table)
    for (const Color c : set)
      for (int b = 0; b < 4; ++b)
        bytes[at++] = static_cast<uint8_t>(c >> (8 * b));
  return bytes;
}

KeyColorTable DecodeKeyColors(std::span<const uint8_t, kKclFileSize> bytes) {
  KeyColorTable table{};
  size_t at = 0;
  for (auto& set : table)
    for (Color& c : set) {
      c = uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
          uint32_t{bytes[at + 3]} << 24;
      c &= 0xFF'FFFFu;
      at += 4;
    }
  return table;
}

std::variant<KeyColorTable, std::string> ReadKclFile(const std::string& path) {
  auto read = ReadFileStart(path, kKclFileSize);
  if (const auto* fault = std::get_if<std::string>(&read)) return *fault;
  const std::vector<uint8_t>& bytes = std::get<FileStart>(read).bytes;
  if (bytes.size() < kKclFileSize)
    return "Read beyond end of file: " + std::to_string(bytes.size()) +
           " bytes of a key colour table's " + std::to_string(kKclFileSize);
  return DecodeKeyColors(std::span<const uint8_t, kKclFileSize>(bytes.data(), kKclFileSize));
}

std::optional<std::string> WriteKclFile(const std::string& path, const KeyColorTable& table) {
  if (auto fault = WriteWholeFile(path, EncodeKeyColors(table))) return *fault;
  return std::nullopt;
}

}  // namespace quillo
