#include "app/program_folder.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace quillo {
namespace {

namespace fs = std::filesystem;

std::string WithSeparator(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

bool SameFolder(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string PerUserFolder(const std::string& xdgDataHome, const std::string& home) {
  if (!xdgDataHome.empty() && xdgDataHome.front() == '/')
    return WithSeparator(WithSeparator(xdgDataHome) + "quillo");
  return WithSeparator(home) + ".local/share/quillo/";
}

bool HoldsProgramFiles(const std::string& dir) {
  if (dir.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(WithSeparator(dir) + kProgramFolderMark, ec);
}

ProgramFolder ChooseProgramFolder(const FolderEnvironment& env) {
  const bool installed = HoldsProgramFiles(env.installed);
  const std::string perUser = PerUserFolder(env.xdgDataHome, env.home);
  // The shared folder is read-only and the per-user folder is topped up below, so
  // starting in either of them counts as starting an installed program.
  const bool workingDirIsOwn = HoldsProgramFiles(env.workingDir) &&
                               !(installed && (SameFolder(env.workingDir, env.installed) ||
                                               SameFolder(env.workingDir, perUser)));
  if (workingDirIsOwn || !installed) return {WithSeparator(env.workingDir), std::nullopt};
  return {perUser, WithSeparator(env.installed)};
}

std::optional<std::string> FillProgramFolder(const std::string& dir, const std::string& from) {
  std::error_code ec;
  const unsigned partTag = std::random_device{}();
  fs::create_directories(dir, ec);
  if (ec) return "Cannot make the folder " + dir + ": " + ec.message();
  fs::directory_iterator it(from, ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    std::error_code typeError;
    const std::string name = entry.path().filename().string();
    const fs::path target = fs::path(dir) / name;
    // The translated documents live in a folder per language. A linked folder is
    // not followed, so a link back up cannot make the copy endless.
    if (entry.is_directory(typeError) && !entry.is_symlink(typeError)) {
      if (auto failure = FillProgramFolder(target.string(), entry.path().string())) return failure;
      continue;
    }
    if (!entry.is_regular_file(typeError)) continue;
    if (fs::exists(target, typeError)) continue;
    // Two programs starting at once each copy into a file of their own.
    const fs::path part = fs::path(dir) / ("." + name + "." + std::to_string(partTag) + ".part");
    fs::copy_file(entry.path(), part, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(part, target, ec);
    if (ec) {
      std::error_code ignored;
      fs::remove(part, ignored);
      return "Cannot copy " + entry.path().string() + " to " + dir + ": " + ec.message();
    }
  }
  if (ec) return "Cannot read the folder " + from + ": " + ec.message();
  return std::nullopt;
}

std::string PrepareProgramFolder(const FolderEnvironment& env, std::string& error) {
  ProgramFolder folder = ChooseProgramFolder(env);
  if (!folder.fillFrom) return folder.dir;
  if (auto failure = FillProgramFolder(folder.dir, *folder.fillFrom)) {
    error = *failure;
    return *folder.fillFrom;
  }
  return folder.dir;
}

}  // namespace quillo
