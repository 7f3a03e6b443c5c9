#pragma once

#include <optional>
#include <string>

namespace quillo {

// Where the program looks for its own files and writes the ones it makes.
//
// Run from a folder that holds the program's files (the build's program folder),
// that folder is the program folder. An installed program keeps its files in a
// shared, read-only folder; it then works in a folder of its own per user,
// $XDG_DATA_HOME/quillo (by default ~/.local/share/quillo), filled from the shared
// one.
struct FolderEnvironment {
  std::string workingDir;   // the current directory at start
  std::string installed;    // the installed files' folder, if the program is installed
  std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
  std::string home;         // the user's home folder
};

// The folder chosen and what start-up has to do to it.
struct ProgramFolder {
  std::string dir;                      // ends in a separator
  std::optional<std::string> fillFrom;  // copy the files missing from dir out of this folder
};

// The file whose presence marks a folder as holding the program's files.
inline constexpr const char* kProgramFolderMark = "nuspec.spl";

// $XDG_DATA_HOME/quillo, or home/.local/share/quillo when $XDG_DATA_HOME is unset,
// empty or relative (the base directory rules ignore a relative one). Ends in a
// separator.
std::string PerUserFolder(const std::string& xdgDataHome, const std::string& home);

// Whether dir holds the program's files.
bool HoldsProgramFiles(const std::string& dir);

// Chooses the program folder: the working directory when it holds the program's
// files (and is not the shared installed folder), else the per-user folder when the
// program is installed, else the working directory.
ProgramFolder ChooseProgramFolder(const FolderEnvironment& env);

// Makes dir and copies into it every file of from that it lacks, each written whole
// (a temporary file renamed into place), and does the same for each folder of from
// that is not a link. Files already there, the user's own included, are kept. The
// message naming the file and the fault on failure.
std::optional<std::string> FillProgramFolder(const std::string& dir, const std::string& from);

// Chooses the program folder and fills it. When the per-user folder cannot be
// filled, the message goes to error and the shared folder is used as it stands.
std::string PrepareProgramFolder(const FolderEnvironment& env, std::string& error);

}  // namespace quillo
