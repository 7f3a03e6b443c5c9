#include "log/log_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

namespace quillo {
namespace {

constexpr int32_t kDemoSlots = 6000;
constexpr size_t kDemoBytes = 2 * kDemoSlots + 4 * kDemoSlots;

uint32_t Le32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Reads at most limit bytes of a file; nothing when it cannot be opened.
std::optional<std::vector<unsigned char>> ReadBytes(const std::string& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<unsigned char> bytes(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

// A folder opens as a stream that yields nothing; it is named as what it is rather
// than read as an empty file.
constexpr const char* kFolder = "Is a folder, not a file";
bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

LogReadResult ReadReplayFile(const std::string& path) {
  const size_t largest = 8 * (static_cast<size_t>(kLogCapacity) + 1);
  if (IsFolder(path)) return std::string(kFolder);
  auto bytes = ReadBytes(path, largest + 1);
  if (!bytes) return std::string("File not found");
  if (bytes->size() < 4) return std::string("Read beyond end of file");
  const uint32_t count = Le32(bytes->data());
  if (count > static_cast<uint32_t>(kLogCapacity))
    return "The recording holds " + std::to_string(count) + " entries; at most " +
           std::to_string(kLogCapacity) + " fit";
  const size_t need = 8 * (static_cast<size_t>(count) + 1);
  if (bytes->size() < need) return std::string("Read beyond end of file");
  LoadedLog log;
  log.count = static_cast<int32_t>(count);
  log.codes.resize(count + 1);
  log.values.resize(count + 1);
  const unsigned char* p = bytes->data();
  for (uint32_t i = 0; i <= count; ++i)
    log.codes[i] = Le32(p + 4 * i);
  const unsigned char* v = p + 4 * (count + 1);
  for (uint32_t i = 0; i <= count; ++i)
    log.values[i] = static_cast<int32_t>(Le32(v + 4 * i));
  return log;
}

std::optional<std::string> WriteReplayFile(const std::string& path, const ActionLog& log) {
  const int32_t n = log.Count();
  std::vector<unsigned char> bytes;
  bytes.reserve(8 * (static_cast<size_t>(n) + 1));
  auto put = [&bytes](uint32_t w) {
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<unsigned char>(w >> (8 * i)));
  };
  for (int32_t i = 0; i <= n; ++i)
    put(log.Codes()[i]);
  for (int32_t i = 0; i <= n; ++i)
    put(static_cast<uint32_t>(log.Values()[i]));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return "Cannot create file \"" + path + "\"";
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) return "Cannot write file \"" + path + "\"";
  return std::nullopt;
}

LogReadResult ReadDemoLog(const std::string& path) {
  if (IsFolder(path)) return std::string(kFolder);
  auto bytes = ReadBytes(path, kDemoBytes);
  if (!bytes) return std::string("File not found");
  if (bytes->size() < kDemoBytes) return std::string("Read beyond end of file");
  const unsigned char* p = bytes->data();
  const uint32_t count = uint32_t{p[0]} | uint32_t{p[1]} << 8;
  if (count >= static_cast<uint32_t>(kDemoSlots))
    return "The demonstration holds " + std::to_string(count) + " entries; at most " +
           std::to_string(kDemoSlots - 1) + " fit";
  LoadedLog log;
  log.count = static_cast<int32_t>(count);
  log.codes.resize(kDemoSlots);
  log.values.resize(kDemoSlots);
  for (int32_t i = 0; i < kDemoSlots; ++i)
    log.codes[i] = uint32_t{p[2 * i]} | uint32_t{p[2 * i + 1]} << 8;
  const unsigned char* v = p + 2 * kDemoSlots;
  for (int32_t i = 0; i < kDemoSlots; ++i)
    log.values[i] = static_cast<int32_t>(Le32(v + 4 * i));
  return log;
}

void ApplyLoadedLog(ActionLog& log, const LoadedLog& loaded) {
  const size_t n = std::min(loaded.codes.size(), log.Codes().size());
  for (size_t i = 0; i < n; ++i)
    log.Codes()[i] = loaded.codes[i];
  const size_t m = std::min(loaded.values.size(), log.Values().size());
  for (size_t i = 0; i < m; ++i)
    log.Values()[i] = loaded.values[i];
}

}  // namespace quillo
