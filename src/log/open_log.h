#pragma once

#include <string>

namespace quillo {

class Program;

// "OpenLog" once its file is chosen: the file name goes into the file panel's name
// field, the replay file's log into the log's arrays, its count into the replay
// length and the counter, its recorded size (as the file says) to the log. A size
// record that is damaged is reported and the recording is taken as made at this
// screen's size. Nothing else changes: not the position, not recording,
// not the canvas. A file that cannot be read is refused whole, changing nothing,
// and its name and fault are shown; false then.
bool OpenLogFile(Program& program, const std::string& path);

}  // namespace quillo
