#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quillo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNotAFile = "Not a plain file (a device, a pipe or a socket)";
constexpr const char* kFolder = "Is a folder, not a file";

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now; the errno of a failed close, else 0.
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Writes all of bytes; the errno of the first failure, else 0.
int WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    done += static_cast<size_t>(n);
  }
  return 0;
}

}  // namespace

std::string FileFault(int error) {
  // The runtime's standard messages where there is one, else the system's.
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return "File access denied";
    case EISDIR:
      return kFolder;
    case ENOENT:
      return "File not found";
    case ENOTDIR:
      return "Path not found";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    default:
      return std::generic_category().message(error);
  }
}

std::optional<std::string> WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return FileFault(EISDIR);
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) return FileFault(ENOTDIR);

  // A hidden name of our own beside the target, so the rename stays within one file
  // system; created exclusively, so nothing planted at the name is written through.
  const std::string base = (folder / ("." + target.filename().string())).string();
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = base + ".part" + std::to_string(attempt);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return FileFault(errno);
  }
  if (fd < 0) return std::string("no free temporary name beside it");

  Descriptor out(fd);
  int error = WriteAll(out.get(), bytes);
  // The data reaches the disk before the name does: a full disk or a failing device
  // shows here, while the old file is still in place.
  if (error == 0 && ::fsync(out.get()) != 0) error = errno;
  if (const int closed = out.Close(); error == 0) error = closed;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error == 0) {
    // The rename itself reaches the disk with the folder.
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return std::nullopt;
  }
  ::unlink(temporary.c_str());
  return FileFault(error);
}

std::variant<FileStart, std::string> ReadFileStart(const std::string& path, size_t maxBytes) {
  // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
  Descriptor in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (in.get() < 0) return FileFault(errno);
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) return FileFault(errno);
  if (S_ISDIR(st.st_mode)) return std::string(kFolder);
  if (!S_ISREG(st.st_mode)) return std::string(kNotAFile);
  FileStart start;
  start.size = static_cast<uint64_t>(st.st_size);
  start.bytes.resize(static_cast<size_t>(std::min<uint64_t>(start.size, maxBytes)));
  size_t done = 0;
  while (done < start.bytes.size()) {
    const ssize_t n = ::read(in.get(), start.bytes.data() + done, start.bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileFault(errno);
    }
    if (n == 0) break;  // the file shrank while it was read
    done += static_cast<size_t>(n);
  }
  start.bytes.resize(done);
  return start;
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace quillo
