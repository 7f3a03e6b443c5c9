#include "colour/kcl_file.h"

#include <cstdio>
#include <fstream>

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
      at += 4;
    }
  return table;
}

std::variant<KeyColorTable, std::string> ReadKclFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "Cannot open file \"" + path + "\"";
  std::array<uint8_t, kKclFileSize> bytes{};
  in.read(reinterpret_cast<char*>(bytes.data()), kKclFileSize);
  const auto got = static_cast<size_t>(in.gcount());
  if (got < kKclFileSize)
    return "Read beyond end of file \"" + path + "\": " + std::to_string(got) +
           " bytes of a key colour table's " + std::to_string(kKclFileSize);
  return DecodeKeyColors(bytes);
}

std::optional<std::string> WriteKclFile(const std::string& path, const KeyColorTable& table) {
  const std::array<uint8_t, kKclFileSize> bytes = EncodeKeyColors(table);
  const std::string temp = path + ".saving";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return "Cannot create file \"" + path + "\"";
    out.write(reinterpret_cast<const char*>(bytes.data()), kKclFileSize);
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return "Cannot write file \"" + path + "\"";
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return "Cannot create file \"" + path + "\"";
  }
  return std::nullopt;
}

}  // namespace quillo
