#include "colour/col_file.h"

#include <cstdio>
#include <fstream>

namespace quillo {
namespace {

constexpr size_t kColBytes = 48;

}  // namespace

std::variant<ColourSets, std::string> ReadColFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "Cannot open file \"" + path + "\"";
  unsigned char bytes[kColBytes];
  in.read(reinterpret_cast<char*>(bytes), kColBytes);
  if (static_cast<size_t>(in.gcount()) < kColBytes)
    return "Read beyond end of file \"" + path + "\"";
  ColourSets sets{};
  for (size_t i = 0; i < sets.size(); ++i) {
    const unsigned char* p = bytes + 4 * i;
    sets[i] = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  }
  return sets;
}

std::optional<std::string> WriteColFile(const std::string& path, const ColourSets& sets) {
  unsigned char bytes[kColBytes];
  for (size_t i = 0; i < sets.size(); ++i)
    for (int b = 0; b < 4; ++b)
      bytes[4 * i + b] = static_cast<unsigned char>(sets[i] >> (8 * b));
  const std::string temp = path + ".saving";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return "Cannot create file \"" + path + "\"";
    out.write(reinterpret_cast<const char*>(bytes), kColBytes);
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
