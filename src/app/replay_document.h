#pragma once

#include <string>

namespace quillo {

class Program;

// Opens a replay file handed over at start (a double click in the file manager, or
// a file named on the command line): "Go straight to drawing", the file loaded as
// "OpenLog" loads it, then "REPLAY". A file that cannot be read shows its message
// and leaves the fresh drawing. When the choice brings back a drawing kept by a run
// that ended abnormally, the file is not opened over it.
void OpenReplayDocument(Program& program, const std::string& path);

}  // namespace quillo
