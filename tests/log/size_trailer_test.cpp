#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "log/log_files.h"

namespace quillo::testing {
namespace {

void PutWord(std::vector<uint8_t>& out, uint32_t w) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(w >> (8 * i)));
}

// A two-entry log, its file image without any size record, and the image with bytes
// appended.
std::vector<uint8_t> Entries() {
  std::vector<uint8_t> b;
  for (uint32_t w : {2u, 7u, 3u, 0u, 11u, 12u})
    PutWord(b, w);
  return b;
}
std::vector<uint8_t> With(std::vector<uint8_t> b, const std::vector<uint8_t>& tail) {
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

// A size record with the right check word for what it claims, made here word by word
// (32-bit FNV-1a over the first four words) so that a record of another version or of
// an absurd size is not taken for a damaged one.
std::vector<uint8_t> Record(uint32_t version, int32_t w, int32_t h) {
  std::vector<uint8_t> b;
  uint32_t sum = 0x811C'9DC5u;
  for (uint32_t word :
       {kSizeTrailerMagic, version, static_cast<uint32_t>(w), static_cast<uint32_t>(h)})
    for (int i = 0; i < 4; ++i) {
      sum ^= (word >> (8 * i)) & 255u;
      sum *= 0x0100'0193u;
    }
  for (uint32_t word :
       {kSizeTrailerMagic, version, static_cast<uint32_t>(w), static_cast<uint32_t>(h), sum})
    PutWord(b, word);
  return b;
}

TEST(SizeTrailerTest, RoundTripKeepsTheSizeAndReadersOfTheBareLayoutStillReadTheEntries) {
  ActionLog log;
  log.Codes()[0] = 2;
  log.Codes()[1] = 7;
  log.Codes()[2] = 3;
  log.Values()[1] = 11;
  log.Values()[2] = 12;
  for (const CanvasSize size : {CanvasSize{1024, 768}, CanvasSize{1920, 1080},
                                CanvasSize{kMinRecordedSide, kMaxRecordedSide}}) {
    log.recordedSize = size;
    const std::vector<uint8_t> bytes = EncodeReplayFile(log);
    ASSERT_EQ(bytes.size(), 8 * 3 + kSizeTrailerBytes);
    // The first 8 x (N + 1) bytes are the layout of a file without a record.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 24), Entries());
    const LogReadResult read = DecodeReplayFile(bytes);
    const auto& loaded = std::get<LoadedLog>(read);
    EXPECT_EQ(loaded.recordedSize, size);
    EXPECT_TRUE(loaded.sizeFault.empty());
    EXPECT_EQ(loaded.codes, (std::vector<uint32_t>{2, 7, 3}));
    EXPECT_EQ(loaded.values, (std::vector<int32_t>{0, 11, 12}));
  }
  // A log whose size is not known is written in the bare layout.
  log.recordedSize = CanvasSize{};
  EXPECT_EQ(EncodeReplayFile(log), Entries());
}

TEST(SizeTrailerTest, AbsentForeignDamagedAndAbsurdRecordsLeaveTheEntriesRead) {
  const std::vector<uint8_t> good = Record(kSizeTrailerVersion, 800, 600);
  std::vector<uint8_t> flipped = good;
  flipped[9] ^= 0x04;  // the width's second byte
  struct Case {
    const char* what;
    std::vector<uint8_t> tail;
    CanvasSize size;
    std::string fault;
  };
  const std::vector<Case> cases = {
      {"no record", {}, {}, ""},
      {"a record", good, {800, 600}, ""},
      {"the encoder's record", EncodeSizeTrailer({800, 600}), {800, 600}, ""},
      {"another writer's bytes", {1, 2, 3, 4, 5, 6, 7, 8}, {}, ""},
      {"fewer bytes than a word", {0x51, 0x4C}, {}, ""},
      {"cut short", std::vector<uint8_t>(good.begin(), good.begin() + 12), {}, "cut short"},
      {"a changed width", flipped, {}, "damaged"},
      {"a later version", Record(2, 800, 600), {}, "version 2"},
      {"no width", Record(kSizeTrailerVersion, 0, 600), {}, "0 x 600"},
      {"a negative height", Record(kSizeTrailerVersion, 800, -600), {}, "claims"},
      {"too wide", Record(kSizeTrailerVersion, kMaxRecordedSide + 1, 600), {}, "claims"},
      {"too small", Record(kSizeTrailerVersion, kMinRecordedSide - 1, 600), {}, "claims"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LogReadResult read = DecodeReplayFile(With(Entries(), c.tail));
    ASSERT_TRUE(std::holds_alternative<LoadedLog>(read));
    const auto& loaded = std::get<LoadedLog>(read);
    EXPECT_EQ(loaded.count, 2);
    EXPECT_EQ(loaded.codes, (std::vector<uint32_t>{2, 7, 3}));
    EXPECT_EQ(loaded.values, (std::vector<int32_t>{0, 11, 12}));
    EXPECT_EQ(loaded.recordedSize, c.size);
    if (c.fault.empty()) {
      EXPECT_TRUE(loaded.sizeFault.empty()) << loaded.sizeFault;
    } else {
      EXPECT_NE(loaded.sizeFault.find(c.fault), std::string::npos) << loaded.sizeFault;
    }
  }
}

}  // namespace
}  // namespace quillo::testing
