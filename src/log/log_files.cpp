#include "log/log_files.h"

#include <algorithm>
#include <utility>

#include "platform/whole_file.h"

namespace quillo {
namespace {

constexpr const char* kReadBeyondEnd = "Read beyond end of file";

uint32_t Le16(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
void PutLe(std::vector<uint8_t>& out, uint32_t word, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(word >> (8 * i)));
}

// Why a file far longer than any log of its kind is refused: read, a large file
// of zeros would pass for an empty log.
std::string TooLarge(uint64_t size, size_t most) {
  return "The file holds " + std::to_string(size) + " bytes, more than a log of this kind (" +
         std::to_string(most) + ")";
}

// Why a replay file's count is refused, or nothing when the log holds that many.
std::optional<std::string> RefuseCount(uint32_t count) {
  if (count <= static_cast<uint32_t>(kLogCapacity)) return std::nullopt;
  return "The recording holds " + std::to_string(count) + " entries; at most " +
         std::to_string(kLogCapacity) + " fit";
}

// The bytes after a replay file's count: code words 1..count and values 0..count.
size_t EntryBytes(uint32_t count) {
  return 4 * size_t{count} + 4 * (size_t{count} + 1);
}

// The log of a replay file from the EntryBytes(count) bytes after its count.
LoadedLog DecodeEntries(uint32_t count, const uint8_t* rest) {
  LoadedLog log;
  log.count = static_cast<int32_t>(count);
  log.codes.resize(count + 1);
  log.values.resize(count + 1);
  log.codes[0] = count;
  for (uint32_t i = 1; i <= count; ++i)
    log.codes[i] = Le32(rest + 4 * (i - 1));
  const uint8_t* v = rest + 4 * size_t{count};
  for (uint32_t i = 0; i <= count; ++i)
    log.values[i] = static_cast<int32_t>(Le32(v + 4 * i));
  return log;
}

// The check word of a size record: 32-bit FNV-1a over its first four words.
uint32_t SizeCheck(uint32_t magic, uint32_t version, uint32_t width, uint32_t height) {
  uint32_t sum = 0x811C'9DC5u;
  for (const uint32_t word : {magic, version, width, height}) {
    for (int i = 0; i < 4; ++i) {
      sum ^= (word >> (8 * i)) & 255u;
      sum *= 0x0100'0193u;
    }
  }
  return sum;
}

bool SaneSide(uint32_t side) {
  return side >= static_cast<uint32_t>(kMinRecordedSide) &&
         side <= static_cast<uint32_t>(kMaxRecordedSide);
}

// Reads the size record that may follow a replay file's values into log. Bytes that
// do not start with the magic word are some other writer's and say nothing.
void DecodeSizeTrailer(std::span<const uint8_t> rest, LoadedLog& log) {
  if (rest.size() < 4 || Le32(rest.data()) != kSizeTrailerMagic) return;
  if (rest.size() < kSizeTrailerBytes) {
    log.sizeFault = "its size record is cut short";
    return;
  }
  const uint8_t* t = rest.data();
  const uint32_t version = Le32(t + 4);
  const uint32_t width = Le32(t + 8);
  const uint32_t height = Le32(t + 12);
  if (Le32(t + 16) != SizeCheck(kSizeTrailerMagic, version, width, height)) {
    log.sizeFault = "its size record is damaged";
  } else if (version != kSizeTrailerVersion) {
    log.sizeFault = "its size record has version " + std::to_string(version) + ", not " +
                    std::to_string(kSizeTrailerVersion);
  } else if (!SaneSide(width) || !SaneSide(height)) {
    log.sizeFault = "its size record claims " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels";
  } else {
    log.recordedSize = CanvasSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
  }
}

}  // namespace

LogReadResult ReadReplayFile(const std::string& path) {
  // A full log, with room for what a writer may keep after its entries.
  constexpr size_t kMost = 4 + 8 * size_t{kLogCapacity} + 4 + kReplayFileExtraBytes;
  auto read = ReadFileStart(path, kMost);
  if (auto* fault = std::get_if<std::string>(&read)) return std::move(*fault);
  const FileStart& file = std::get<FileStart>(read);
  if (file.size > kMost) return TooLarge(file.size, kMost);
  return DecodeReplayFile(file.bytes);
}

LogReadResult DecodeReplayFile(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4) return std::string(kReadBeyondEnd);
  const uint32_t count = Le32(bytes.data());
  if (auto refused = RefuseCount(count)) return *refused;
  if (bytes.size() - 4 < EntryBytes(count)) return std::string(kReadBeyondEnd);
  LoadedLog log = DecodeEntries(count, bytes.data() + 4);
  DecodeSizeTrailer(bytes.subspan(4 + EntryBytes(count)), log);
  return log;
}

std::vector<uint8_t> EncodeSizeTrailer(CanvasSize size) {
  const auto width = static_cast<uint32_t>(size.width);
  const auto height = static_cast<uint32_t>(size.height);
  std::vector<uint8_t> bytes;
  bytes.reserve(kSizeTrailerBytes);
  for (const uint32_t word : {kSizeTrailerMagic, kSizeTrailerVersion, width, height,
                              SizeCheck(kSizeTrailerMagic, kSizeTrailerVersion, width, height)})
    PutLe(bytes, word, 4);
  return bytes;
}

std::vector<uint8_t> EncodeReplayFile(const ActionLog& log) {
  const int32_t n = std::clamp(log.Count(), 0, kLogCapacity);
  std::vector<uint8_t> bytes;
  bytes.reserve(8 * (static_cast<size_t>(n) + 1) + kSizeTrailerBytes);
  for (int32_t i = 0; i <= n; ++i)
    PutLe(bytes, log.Codes()[i], 4);
  for (int32_t i = 0; i <= n; ++i)
    PutLe(bytes, static_cast<uint32_t>(log.Values()[i]), 4);
  if (log.recordedSize.Known()) {
    const std::vector<uint8_t> trailer = EncodeSizeTrailer(log.recordedSize);
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
  }
  return bytes;
}

std::optional<std::string> WriteReplayFile(const std::string& path, const ActionLog& log) {
  return WriteWholeFile(path, EncodeReplayFile(log));
}

LogReadResult ReadDemoLog(const std::string& path) {
  auto read = ReadFileStart(path, kDemoLogBytes);
  if (auto* fault = std::get_if<std::string>(&read)) return std::move(*fault);
  const FileStart& file = std::get<FileStart>(read);
  if (file.size > kDemoLogBytes + kReplayFileExtraBytes)
    return TooLarge(file.size, kDemoLogBytes + kReplayFileExtraBytes);
  const std::vector<uint8_t>& bytes = file.bytes;
  if (bytes.size() < kDemoLogBytes) return std::string(kReadBeyondEnd);
  const uint8_t* p = bytes.data();
  const uint32_t count = Le16(p);
  if (count >= static_cast<uint32_t>(kDemoSlots))
    return "The demonstration holds " + std::to_string(count) + " entries; at most " +
           std::to_string(kDemoSlots - 1) + " fit";
  LoadedLog log;
  log.count = static_cast<int32_t>(count);
  log.recordedSize = kDemoRecordedSize;
  log.codes.resize(kDemoSlots);
  log.values.resize(kDemoSlots);
  for (int32_t i = 0; i < kDemoSlots; ++i)
    log.codes[i] = Le16(p + 2 * i);
  const uint8_t* v = p + 2 * kDemoSlots;
  for (int32_t i = 0; i < kDemoSlots; ++i)
    log.values[i] = static_cast<int32_t>(Le32(v + 4 * i));
  return log;
}

std::optional<std::vector<uint8_t>> EncodeDemoLog(const ActionLog& log) {
  if (log.Count() < 0 || log.Count() >= kDemoSlots) return std::nullopt;
  std::vector<uint8_t> bytes;
  bytes.reserve(kDemoLogBytes);
  for (int32_t i = 0; i < kDemoSlots; ++i) {
    if (log.Codes()[i] > 0xFFFFu) return std::nullopt;
    PutLe(bytes, log.Codes()[i], 2);
  }
  for (int32_t i = 0; i < kDemoSlots; ++i)
    PutLe(bytes, static_cast<uint32_t>(log.Values()[i]), 4);
  return bytes;
}

std::optional<std::string> WriteDemoLog(const std::string& path, const ActionLog& log) {
  const auto bytes = EncodeDemoLog(log);
  if (!bytes)
    return "the log holds " + std::to_string(log.Count()) +
           " entries or a code word above 16 bits; a demonstration keeps at most " +
           std::to_string(kDemoSlots - 1) + " entries of 16-bit code words";
  return WriteWholeFile(path, *bytes);
}

void ApplyLoadedLog(ActionLog& log, const LoadedLog& loaded) {
  const size_t n = std::min(loaded.codes.size(), log.Codes().size());
  std::copy_n(loaded.codes.begin(), n, log.Codes().begin());
  const size_t m = std::min(loaded.values.size(), log.Values().size());
  std::copy_n(loaded.values.begin(), m, log.Values().begin());
  log.recordedSize = loaded.recordedSize;
}

}  // namespace quillo
