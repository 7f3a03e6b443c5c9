#include "app/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quillo::testing {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-folder-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    installed_ = root_ + "/usr/share/quillo";
    fs::create_directories(installed_);
    Write(installed_ + "/nuspec.spl", "specials");
    Write(installed_ + "/Qwerty.kcl", "keys");
    Write(installed_ + "/Introduction.rtf", "{\\rtf1 help}");
    fs::create_directories(installed_ + "/de");
    Write(installed_ + "/de/Introduction.rtf", "{\\rtf1 Hilfe}");
    fs::create_directories(root_ + "/work");
    fs::create_directories(root_ + "/home");
  }
  void TearDown() override { fs::remove_all(root_); }

  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  FolderEnvironment Env() const {
    return {root_ + "/work", installed_, root_ + "/data", root_ + "/home"};
  }

  std::string root_;
  std::string installed_;
};

TEST(PerUserFolderTest, FollowsTheBaseDirectoryRules) {
  EXPECT_EQ(PerUserFolder("/data", "/home/ann"), "/data/quillo/");
  EXPECT_EQ(PerUserFolder("/data/", "/home/ann"), "/data/quillo/");
  // Unset, empty or relative: the default under the home folder.
  EXPECT_EQ(PerUserFolder("", "/home/ann"), "/home/ann/.local/share/quillo/");
  EXPECT_EQ(PerUserFolder("data", "/home/ann/"), "/home/ann/.local/share/quillo/");
}

TEST_F(ProgramFolderTest, ChoosesTheFolderByWhereTheProgramRuns) {
  // Installed, started anywhere else: the per-user folder, filled from the shared one.
  ProgramFolder f = ChooseProgramFolder(Env());
  EXPECT_EQ(f.dir, root_ + "/data/quillo/");
  ASSERT_TRUE(f.fillFrom.has_value());
  EXPECT_EQ(*f.fillFrom, installed_ + "/");

  // Started in the shared folder itself, which is read-only: the per-user folder.
  FolderEnvironment env = Env();
  env.workingDir = installed_;
  EXPECT_EQ(ChooseProgramFolder(env).dir, root_ + "/data/quillo/");

  // Started in a folder of the program's files (the build's program folder).
  Write(root_ + "/work/nuspec.spl", "own specials");
  f = ChooseProgramFolder(Env());
  EXPECT_EQ(f.dir, root_ + "/work/");
  EXPECT_FALSE(f.fillFrom.has_value());

  // Not installed: the working directory, as it always was.
  fs::remove(root_ + "/work/nuspec.spl");
  env = Env();
  env.installed = root_ + "/nowhere/share/quillo";
  f = ChooseProgramFolder(env);
  EXPECT_EQ(f.dir, root_ + "/work/");
  EXPECT_FALSE(f.fillFrom.has_value());
}

TEST_F(ProgramFolderTest, StartedInThePerUserFolderStillTopsItUp) {
  const std::string own = root_ + "/data/quillo";
  fs::create_directories(own);
  Write(own + "/nuspec.spl", "specials");
  FolderEnvironment env = Env();
  env.workingDir = own;
  std::string error;
  EXPECT_EQ(PrepareProgramFolder(env, error), own + "/");
  EXPECT_TRUE(error.empty()) << error;
  EXPECT_EQ(Read(own + "/Qwerty.kcl"), "keys");
}

TEST_F(ProgramFolderTest, FirstStartFillsTheFolderAndLaterStartsKeepTheUsersFiles) {
  std::string error;
  const std::string dir = PrepareProgramFolder(Env(), error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_EQ(dir, root_ + "/data/quillo/");
  EXPECT_EQ(Read(dir + "nuspec.spl"), "specials");
  EXPECT_EQ(Read(dir + "Qwerty.kcl"), "keys");
  EXPECT_EQ(Read(dir + "Introduction.rtf"), "{\\rtf1 help}");
  EXPECT_EQ(Read(dir + "de/Introduction.rtf"), "{\\rtf1 Hilfe}");
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    EXPECT_NE(e.path().filename().string().front(), '.') << "left behind: " << e.path();
    files += e.is_regular_file();
  }
  EXPECT_EQ(files, 4);

  // The user's own version of a file stays; a file that went missing comes back,
  // and so does one a newer install adds.
  Write(dir + "Qwerty.kcl", "my keys");
  Write(dir + "littlblu.bmp", "cache");
  fs::remove(dir + "nuspec.spl");
  fs::remove(dir + "de/Introduction.rtf");
  Write(installed_ + "/Newonee.log", "demo");
  fs::create_directories(installed_ + "/fr");
  Write(installed_ + "/fr/Introduction.rtf", "{\\rtf1 aide}");
  // A link back up is not followed.
  fs::create_directory_symlink(installed_, installed_ + "/fr/up");
  EXPECT_EQ(PrepareProgramFolder(Env(), error), dir);
  EXPECT_TRUE(error.empty()) << error;
  EXPECT_EQ(Read(dir + "Qwerty.kcl"), "my keys");
  EXPECT_EQ(Read(dir + "littlblu.bmp"), "cache");
  EXPECT_EQ(Read(dir + "nuspec.spl"), "specials");
  EXPECT_EQ(Read(dir + "Newonee.log"), "demo");
  EXPECT_EQ(Read(dir + "de/Introduction.rtf"), "{\\rtf1 Hilfe}");
  EXPECT_EQ(Read(dir + "fr/Introduction.rtf"), "{\\rtf1 aide}");
  EXPECT_FALSE(fs::exists(dir + "fr/up"));
}

TEST_F(ProgramFolderTest, AFolderThatCannotBeMadeFallsBackToTheSharedFiles) {
  // A file where the data folder should be: nothing can be made below it.
  Write(root_ + "/data", "in the way");
  std::string error;
  EXPECT_EQ(PrepareProgramFolder(Env(), error), installed_ + "/");
  EXPECT_NE(error.find(root_ + "/data/quillo/"), std::string::npos) << error;
  EXPECT_NE(error.find("Cannot make the folder"), std::string::npos) << error;

  EXPECT_TRUE(FillProgramFolder(root_ + "/fresh", root_ + "/missing").has_value());
}

}  // namespace
}  // namespace quillo::testing
