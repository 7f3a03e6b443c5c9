#include "platform/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace quillo {
namespace {

namespace fs = std::filesystem;

// The runtime's standard messages where there is one, else the system's.
std::string Reason(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "File access denied";
    case ENOENT:
    case ENOTDIR:
      return "Path not found";
    case ENOSPC:
      return "Disk full";
    default:
      return std::generic_category().message(error);
  }
}

}  // namespace

std::optional<std::string> WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return Reason(EISDIR);
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) return Reason(ENOENT);

  // A name of our own beside the target: the rename stays within one file system.
  std::string temporary;
  std::FILE* out = nullptr;
  for (int attempt = 0; attempt < 100 && out == nullptr; ++attempt) {
    temporary = path + ".part" + std::to_string(attempt);
    out = std::fopen(temporary.c_str(), "wbx");  // fails when the name is taken
    if (out == nullptr && errno != EEXIST) return Reason(errno);
  }
  if (out == nullptr) return std::string("no free temporary name beside it");

  errno = 0;
  const size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), out);
  int error = written == bytes.size() ? 0 : (errno ? errno : EIO);
  if (std::fflush(out) != 0 && error == 0) error = errno;
  if (std::fclose(out) != 0 && error == 0) error = errno;
  if (error == 0) {
    fs::rename(temporary, target, ec);
    if (!ec) return std::nullopt;
    error = ec.value();
  }
  fs::remove(temporary, ec);
  return Reason(error);
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace quillo
