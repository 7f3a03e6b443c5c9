#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillo {

inline constexpr int kSpecCount = 128;
// The largest A and B: A rides in the upper half of a signed spec code.
inline constexpr int32_t kMaxSpecA = 32767;
inline constexpr int32_t kMaxSpecB = 65535;
// A specials file: A[0..127] then B[0..127], each an unsigned 16-bit little-endian
// record, and nothing else.
inline constexpr size_t kSpecialsFileSize = 4 * kSpecCount;

// The A and B entries of a specials table.
struct SpecEntries {
  std::array<int32_t, kSpecCount> a{};
  std::array<int32_t, kSpecCount> b{};
};

// The specials: 128 pairs of frequency multipliers for the red bar tools, and the
// entry that stepping and entering act on.
struct SpecTable {
  std::array<int32_t, kSpecCount> a{};
  std::array<int32_t, kSpecCount> b{};
  int32_t index = 0;

  // Replaces every entry, each held in its range; the index stays.
  void Assign(const SpecEntries& entries) {
    for (int i = 0; i < kSpecCount; ++i) {
      a[i] = entries.a[i] < 0 ? 0 : entries.a[i] > kMaxSpecA ? kMaxSpecA : entries.a[i];
      b[i] = entries.b[i] < 0 ? 0 : entries.b[i] > kMaxSpecB ? kMaxSpecB : entries.b[i];
    }
  }
};

// The entries read from a specials file, or the message of the fault that stopped
// the read (then entries is empty).
struct LoadedSpecials {
  std::optional<SpecEntries> entries;
  std::string error;
};

// Decodes the first kSpecialsFileSize bytes; fewer bytes are a read past the end.
LoadedSpecials DecodeSpecials(std::span<const uint8_t> bytes);
// Reads a specials file; a missing, unreadable or short file gives its message.
LoadedSpecials ReadSpecialsFile(const std::string& path);

// The file image of a table: the low 16 bits of every entry.
std::array<uint8_t, kSpecialsFileSize> EncodeSpecials(const SpecTable& table);
// Creates or replaces a specials file whole or not at all; the fault, or nothing.
std::optional<std::string> WriteSpecialsFile(const std::string& path, const SpecTable& table);

}  // namespace quillo
