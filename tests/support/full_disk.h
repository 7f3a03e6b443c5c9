#pragma once

// A small tmpfs of the test's own, to fill up: the place to see what a write does
// on a full disk. Mounting needs root; without it the test is skipped with the reason.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace quillo::testing {

class FullDisk {
 public:
  FullDisk() {
    char pattern[] = "/tmp/quillo-full-disk-XXXXXX";
    if (geteuid() != 0) {
      unavailable_ = "the full-disk test mounts a tmpfs, which needs root; run the tests as root";
    } else if (mkdtemp(pattern) == nullptr ||
               mount("tmpfs", pattern, "tmpfs", 0, "size=1m,mode=0777") != 0) {
      unavailable_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
      rmdir(pattern);
    } else {
      path_ = pattern;
    }
  }
  ~FullDisk() {
    if (path_.empty()) return;
    umount2(path_.c_str(), MNT_DETACH);
    rmdir(path_.c_str());
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  // Why there is no disk to fill; empty when it is mounted.
  const std::string& Unavailable() const { return unavailable_; }
  // The folder on the disk, with a trailing slash.
  std::string Folder() const { return path_ + "/"; }

  // Takes every free byte with a file of its own; false when the disk did not fill.
  bool Fill() const {
    const int fd = open((path_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0) return false;
    const std::vector<char> block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    while (write(fd, block.data(), 1) > 0) {
    }
    const bool full = errno == ENOSPC;
    close(fd);
    return full;
  }

 private:
  std::string path_;
  std::string unavailable_;
};

}  // namespace quillo::testing
