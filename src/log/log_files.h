#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "log/action_log.h"

namespace quillo {

// The demonstration log's fixed size: 6000 slots of each array.
inline constexpr int32_t kDemoSlots = 6000;
inline constexpr size_t kDemoLogBytes = 2 * kDemoSlots + 4 * kDemoSlots;
// The most a log file may hold past its log (what a writer keeps after the
// entries, such as the autosave's trailer); a longer file is refused.
inline constexpr size_t kReplayFileExtraBytes = 4096;

// The size record a replay file keeps right after its values: a magic word, a
// version, the recording's canvas width and height, and a check word over the four.
inline constexpr uint32_t kSizeTrailerMagic = 0x5A53'4C51u;  // "QLSZ"
inline constexpr uint32_t kSizeTrailerVersion = 1;
inline constexpr size_t kSizeTrailerBytes = 20;
// The sides a size record may claim; outside them the record is ignored. The upper
// bound is what a packed point can address.
inline constexpr int32_t kMinRecordedSide = 16;
inline constexpr int32_t kMaxRecordedSide = 32768;
// The size the demonstration log was recorded at: its layout has no room for more.
inline constexpr CanvasSize kDemoRecordedSize{1024, 768};

// A log read from a file: the count and slots 0..count of both arrays (all 6000
// slots for the demonstration log), and the size it was recorded at.
struct LoadedLog {
  int32_t count = 0;
  std::vector<uint32_t> codes;  // codes[0] is the count
  std::vector<int32_t> values;
  // Unknown for a file without a usable size record.
  CanvasSize recordedSize;
  // Why a size record that is there was ignored; empty when it was not.
  std::string sizeFault;
};

// The loaded log, or the fault that made the file be refused.
using LogReadResult = std::variant<LoadedLog, std::string>;

// Reads a replay file: the count, the code words 1..N and the values 0..N, all
// little-endian 32-bit. A count above the log's capacity or a file shorter than its
// count says is refused whole. A size record right after the values gives the
// recorded size; one that is damaged or claims an absurd size is ignored and named in
// sizeFault, and bytes that do not begin with its magic word are ignored. Only a
// regular file is read, and one longer than a full log and kReplayFileExtraBytes is
// refused.
LogReadResult ReadReplayFile(const std::string& path);
// The same for a replay file's bytes held in memory.
LogReadResult DecodeReplayFile(std::span<const uint8_t> bytes);

// The replay file image of the log's first Count() entries: 8 x (N + 1) bytes,
// followed by the size record when the log's recorded size is known.
std::vector<uint8_t> EncodeReplayFile(const ActionLog& log);
// The size record of a recording made at size.
std::vector<uint8_t> EncodeSizeTrailer(CanvasSize size);
// Writes the replay file whole or not at all; the fault on failure.
std::optional<std::string> WriteReplayFile(const std::string& path, const ActionLog& log);

// Reads the demonstration log: 6000 16-bit code words (word 0 the count) and then
// 6000 32-bit values. A file shorter than 36000 bytes or a count above 5999 is
// refused whole, as is anything but a regular file. Its recorded size is always
// kDemoRecordedSize.
LogReadResult ReadDemoLog(const std::string& path);

// The demonstration log image of slots 0..5999 of the log; nothing when the log
// holds more than 5999 entries or a code word that does not fit 16 bits.
std::optional<std::vector<uint8_t>> EncodeDemoLog(const ActionLog& log);
// Writes the demonstration log whole or not at all; the fault on failure.
std::optional<std::string> WriteDemoLog(const std::string& path, const ActionLog& log);

// Puts a loaded log into slots 0..count of the log's arrays, the rest staying, and
// takes its recorded size.
void ApplyLoadedLog(ActionLog& log, const LoadedLog& loaded);

}  // namespace quillo
