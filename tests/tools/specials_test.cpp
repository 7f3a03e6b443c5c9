#include "tools/specials.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quillo {
namespace {

// A temporary folder of its own for each test.
class SpecialsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillo-spl-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const char* name) const { return dir_ + "/" + name; }
  void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  std::string dir_;
};

// 512 bytes whose record r holds r * 257 + 1, written byte by byte little-endian,
// independently of the encoder.
std::vector<uint8_t> CountingFile() {
  std::vector<uint8_t> bytes;
  for (uint32_t r = 0; r < 256; ++r) {
    const uint32_t v = (r * 257 + 1) & 0xFFFF;
    bytes.push_back(static_cast<uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  return bytes;
}

TEST_F(SpecialsFileTest, FullFileGivesUnsignedLittleEndianRecordsAThenB) {
  std::vector<uint8_t> bytes = CountingFile();
  // Records with the top bit set come back unsigned.
  bytes[2 * 5] = 0xFF;
  bytes[2 * 5 + 1] = 0xFF;
  bytes[2 * 200] = 0x00;
  bytes[2 * 200 + 1] = 0x80;
  WriteBytes(Path("full.spl"), bytes);

  const LoadedSpecials loaded = ReadSpecialsFile(Path("full.spl"));
  ASSERT_TRUE(loaded.entries.has_value()) << loaded.error;
  EXPECT_TRUE(loaded.error.empty());
  const SpecEntries& e = *loaded.entries;
  EXPECT_EQ(e.a[0], 1);
  EXPECT_EQ(e.a[1], 258);
  EXPECT_EQ(e.a[5], 65535);
  EXPECT_EQ(e.a[127], (127 * 257 + 1) & 0xFFFF);
  EXPECT_EQ(e.b[0], (128 * 257 + 1) & 0xFFFF);
  EXPECT_EQ(e.b[72], 32768);
  EXPECT_EQ(e.b[127], (255 * 257 + 1) & 0xFFFF);
}

TEST_F(SpecialsFileTest, ShortFilesReadBeyondTheEndAndGiveNoEntries) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{256}, size_t{511}}) {
    std::vector<uint8_t> bytes = CountingFile();
    bytes.resize(size);
    WriteBytes(Path("short.spl"), bytes);
    const LoadedSpecials loaded = ReadSpecialsFile(Path("short.spl"));
    EXPECT_FALSE(loaded.entries.has_value()) << size;
    EXPECT_EQ(loaded.error, "Read beyond end of file") << size;
  }
}

TEST_F(SpecialsFileTest, LongFileIsReadInItsFirst512BytesOnly) {
  std::vector<uint8_t> bytes = CountingFile();
  bytes.insert(bytes.end(), 300, 0xEE);
  WriteBytes(Path("long.spl"), bytes);
  const LoadedSpecials loaded = ReadSpecialsFile(Path("long.spl"));
  ASSERT_TRUE(loaded.entries.has_value()) << loaded.error;
  EXPECT_EQ(loaded.entries->a[3], 3 * 257 + 1);
  EXPECT_EQ(loaded.entries->b[127], (255 * 257 + 1) & 0xFFFF);
}

TEST_F(SpecialsFileTest, MissingFileOrFolderAndFoldersAreFaults) {
  LoadedSpecials missing = ReadSpecialsFile(Path("none.spl"));
  EXPECT_FALSE(missing.entries.has_value());
  EXPECT_EQ(missing.error, "File not found");

  LoadedSpecials noFolder = ReadSpecialsFile(Path("nowhere/none.spl"));
  EXPECT_FALSE(noFolder.entries.has_value());
  EXPECT_EQ(noFolder.error, "Path not found");

  LoadedSpecials folder = ReadSpecialsFile(dir_);
  EXPECT_FALSE(folder.entries.has_value());
  EXPECT_FALSE(folder.error.empty());
}

TEST(SpecialsCodecTest, DecodeTakesTheFirst512BytesOfAnyLongerBuffer) {
  std::vector<uint8_t> bytes(1000, 0);
  bytes[0] = 0x34;
  bytes[1] = 0x12;
  bytes[511] = 0xAB;  // high byte of B[127]
  bytes[512] = 0x77;  // beyond the file
  const LoadedSpecials loaded = DecodeSpecials(bytes);
  ASSERT_TRUE(loaded.entries.has_value());
  EXPECT_EQ(loaded.entries->a[0], 0x1234);
  EXPECT_EQ(loaded.entries->b[127], 0xAB00);
  EXPECT_EQ(DecodeSpecials(std::span<const uint8_t>(bytes.data(), 511)).error,
            "Read beyond end of file");
}

TEST(SpecialsCodecTest, EncodeKeepsTheLow16BitsOfEachEntry) {
  SpecTable t;
  t.a[0] = 0x1234;
  t.a[127] = -1;
  t.b[0] = 0x12345;  // 17 bits: the top one is lost
  t.b[127] = 65535;
  const auto bytes = EncodeSpecials(t);
  EXPECT_EQ(bytes[0], 0x34);
  EXPECT_EQ(bytes[1], 0x12);
  EXPECT_EQ(bytes[254], 0xFF);
  EXPECT_EQ(bytes[255], 0xFF);
  EXPECT_EQ(bytes[256], 0x45);
  EXPECT_EQ(bytes[257], 0x23);
  EXPECT_EQ(bytes[510], 0xFF);
  EXPECT_EQ(bytes[511], 0xFF);
}

TEST_F(SpecialsFileTest, SavingAndLoadingGivesBackATableBelow65536) {
  SpecTable t;
  for (int i = 0; i < kSpecCount; ++i) {
    t.a[i] = i * 511 % 65536;
    t.b[i] = 65535 - i * 7;
  }
  ASSERT_EQ(WriteSpecialsFile(Path("round.spl"), t), std::nullopt);
  EXPECT_EQ(std::filesystem::file_size(Path("round.spl")), 512u);
  const LoadedSpecials loaded = ReadSpecialsFile(Path("round.spl"));
  ASSERT_TRUE(loaded.entries.has_value()) << loaded.error;
  EXPECT_EQ(loaded.entries->a, t.a);
  EXPECT_EQ(loaded.entries->b, t.b);

  // Replacing a longer file leaves exactly 512 bytes.
  WriteBytes(Path("round.spl"), std::vector<uint8_t>(900, 1));
  ASSERT_EQ(WriteSpecialsFile(Path("round.spl"), t), std::nullopt);
  EXPECT_EQ(std::filesystem::file_size(Path("round.spl")), 512u);

  EXPECT_EQ(WriteSpecialsFile(Path("nowhere/x.spl"), t), "Path not found");
}

}  // namespace
}  // namespace quillo
