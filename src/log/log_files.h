#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "log/action_log.h"

namespace quillo {

// A log read from a file: the count and slots 0..count of both arrays.
struct LoadedLog {
  int32_t count = 0;
  std::vector<uint32_t> codes;  // codes[0] is the count
  std::vector<int32_t> values;
};

// The loaded log, or the message that says why the file was refused.
using LogReadResult = std::variant<LoadedLog, std::string>;

// Reads a replay file: the count, the code words 1..N and the values 0..N, all
// little-endian 32-bit. A count above the log's capacity or a file shorter than its
// count says is refused whole.
LogReadResult ReadReplayFile(const std::string& path);

// Writes the log's first Count() entries as a replay file; the message on failure.
std::optional<std::string> WriteReplayFile(const std::string& path, const ActionLog& log);

// Reads the demonstration log: 6000 16-bit code words (word 0 the count) and then
// 6000 32-bit values. A file shorter than 36000 bytes or a count above 5999 is
// refused whole.
LogReadResult ReadDemoLog(const std::string& path);

// Puts a loaded log into slots 0..count of the log's arrays; the rest stay.
void ApplyLoadedLog(ActionLog& log, const LoadedLog& loaded);

}  // namespace quillo
