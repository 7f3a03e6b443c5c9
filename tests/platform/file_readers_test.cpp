// Every reader of the program's files opens regular files only: a pipe never blocks
// it, a device or a huge file of zeros is not read as an empty file, and each fault
// says what it is.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "colour/col_file.h"
#include "colour/kcl_file.h"
#include "guide/rtf_reader.h"
#include "log/log_files.h"
#include "platform/whole_file.h"
#include "tools/specials.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// A reader and the fault it gives for a path, or nothing when it accepted the file.
struct Reader {
  const char* name;
  std::function<std::optional<std::string>(const std::string&)> read;
};

template <typename Result>
std::optional<std::string> FaultOf(const Result& result) {
  if (const auto* fault = std::get_if<std::string>(&result)) return *fault;
  return std::nullopt;
}

const std::vector<Reader>& Readers() {
  static const std::vector<Reader> readers = {
      {"replay", [](const std::string& p) { return FaultOf(ReadReplayFile(p)); }},
      {"demo", [](const std::string& p) { return FaultOf(ReadDemoLog(p)); }},
      {"specials",
       [](const std::string& p) -> std::optional<std::string> {
         LoadedSpecials s = ReadSpecialsFile(p);
         if (s.entries) return std::nullopt;
         return s.error;
       }},
      {"colours", [](const std::string& p) { return FaultOf(ReadColFile(p)); }},
      {"key colours", [](const std::string& p) { return FaultOf(ReadKclFile(p)); }},
      {"document", [](const std::string& p) { return FaultOf(ReadRtfFile(p)); }},
  };
  return readers;
}

class FileReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-readers-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The reader's fault for path; a reader still waiting after a while is released
  // by a writer opening the pipe, and the test fails.
  std::optional<std::string> ReadPromptly(const Reader& reader, const std::string& path) {
    auto pending = std::async(std::launch::async, reader.read, path);
    if (pending.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      ADD_FAILURE() << reader.name << " reader blocked on " << path;
      const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) close(fd);
    }
    return pending.get();
  }

  std::string dir_;
};

TEST_F(FileReadersTest, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
  const std::string pipe = dir_ + "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  fs::create_directory(dir_ + "folder");
  for (const Reader& reader : Readers()) {
    SCOPED_TRACE(reader.name);
    for (const std::string& path : {pipe, std::string("/dev/zero"), dir_ + "folder"}) {
      const std::optional<std::string> fault = ReadPromptly(reader, path);
      ASSERT_TRUE(fault.has_value()) << path << " was read";
      if (path != dir_ + "folder") {
        EXPECT_NE(fault->find("Not a plain file"), std::string::npos) << path << ": " << *fault;
      }
    }
  }
}

// A 2 GB file of zeros (sparse, so it costs no disk) would read as an empty log.
TEST_F(FileReadersTest, ALogFileFarLargerThanAnyLogIsRefused) {
  const std::string huge = dir_ + "huge.qlr";
  const int fd = open(huge.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, off_t{2} << 30), 0);
  close(fd);
  for (const Reader& reader : Readers()) {
    if (std::string(reader.name) != "replay" && std::string(reader.name) != "demo") continue;
    const std::optional<std::string> fault = reader.read(huge);
    ASSERT_TRUE(fault.has_value()) << reader.name;
    EXPECT_NE(fault->find("2147483648 bytes"), std::string::npos) << *fault;
  }
}

// Each fault names its reason rather than "File not found" for all of them.
TEST_F(FileReadersTest, EachFaultNamesItsReason) {
  fs::create_symlink(dir_ + "loop-b", dir_ + "loop-a");
  fs::create_symlink(dir_ + "loop-a", dir_ + "loop-b");
  const std::string tooLong = dir_ + std::string(300, 'n');
  const std::vector<std::pair<std::string, std::string>> cases = {
      {dir_ + "missing", "File not found"},
      {dir_ + "loop-a", "Too many levels of symbolic links"},
      {tooLong, "File name too long"},
  };
  for (const auto& [path, reason] : cases) {
    for (const Reader& reader : {Readers()[0], Readers()[1]}) {  // replay, demo
      const std::optional<std::string> fault = reader.read(path);
      ASSERT_TRUE(fault.has_value()) << path;
      EXPECT_NE(fault->find(reason), std::string::npos) << reader.name << ": " << *fault;
    }
  }
  // The writer's faults name theirs too.
  const std::vector<uint8_t> bytes = {1, 2, 3};
  EXPECT_EQ(WriteWholeFile(tooLong, bytes), "File name too long");
  EXPECT_EQ(WriteWholeFile(dir_, bytes), "Is a folder, not a file");
}

}  // namespace
}  // namespace quillo
