#include "colour/col_file.h"

#include <vector>

#include "platform/whole_file.h"

namespace quillo {
namespace {

constexpr size_t kColBytes = 48;

}  // namespace

std::variant<ColourSets, std::string> ReadColFile(const std::string& path) {
  auto read = ReadFileStart(path, kColBytes);
  if (const auto* fault = std::get_if<std::string>(&read)) return *fault;
  const std::vector<uint8_t>& bytes = std::get<FileStart>(read).bytes;
  if (bytes.size() < kColBytes) return std::string("Read beyond end of file");
  ColourSets sets{};
  for (size_t i = 0; i < sets.size(); ++i) {
    const uint8_t* p = bytes.data() + 4 * i;
    sets[i] = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  }
  return sets;
}

std::optional<std::string> WriteColFile(const std::string& path, const ColourSets& sets) {
  uint8_t bytes[kColBytes];
  for (size_t i = 0; i < sets.size(); ++i)
    for (int b = 0; b < 4; ++b)
      bytes[4 * i + b] = static_cast<uint8_t>(sets[i] >> (8 * b));
  if (auto fault = WriteWholeFile(path, bytes)) return *fault;
  return std::nullopt;
}

}  // namespace quillo
