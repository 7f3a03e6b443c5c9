#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillo {

// One line of the log inspector, kept as numbers and formatted only when shown.
struct InspectorLine {
  int32_t position = 0;
  uint8_t kind = 0;
  uint8_t strokeType = 0;
  uint8_t tool = 0;
  uint8_t code = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t value = 0;
  int32_t relX = 0;
  int32_t relY = 0;

  // Ten numbers separated by four spaces.
  std::string Format() const;
};

// The log inspector's lines, oldest first. A looping replay adds a line for every
// entry it plays, so the list keeps at most kMaxLines and drops the oldest beyond
// that. Lines live in fixed blocks, so an append never moves the lines before it
// and the memory held stays within one block of what the lines need.
class InspectorList {
 public:
  static constexpr size_t kMaxLines = 1'000'000;
  static constexpr size_t kBlockLines = 4096;

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  const InspectorLine& operator[](size_t i) const {
    const size_t at = first_ + i;
    return blocks_[at / kBlockLines][at % kBlockLines];
  }

  // Appends a line, dropping the oldest when the list is full.
  void push_back(const InspectorLine& line) {
    const size_t end = first_ + count_;
    if (end == blocks_.size() * kBlockLines) AddBlock();
    blocks_[end / kBlockLines][end % kBlockLines] = line;
    if (count_ < kMaxLines) {
      ++count_;
    } else {
      DropOldest();
    }
  }
  // Empties the list and gives its memory back.
  void clear();

  // How a view follows the list: the clear count moves on every clear, and the
  // dropped count counts the lines dropped at the front since the last clear.
  uint64_t Clears() const { return clears_; }
  uint64_t Dropped() const { return dropped_; }

  class Iterator {
   public:
    Iterator(const InspectorList* list, size_t i) : list_(list), i_(i) {}
    const InspectorLine& operator*() const { return (*list_)[i_]; }
    Iterator& operator++() {
      ++i_;
      return *this;
    }
    friend bool operator==(const Iterator&, const Iterator&) = default;

   private:
    const InspectorList* list_;
    size_t i_;
  };
  Iterator begin() const { return Iterator(this, 0); }
  Iterator end() const { return Iterator(this, count_); }

 private:
  void AddBlock();
  void DropOldest();

  std::vector<std::unique_ptr<InspectorLine[]>> blocks_;
  size_t first_ = 0;  // index of the oldest line in the first block
  size_t count_ = 0;
  uint64_t clears_ = 0;
  uint64_t dropped_ = 0;
};

}  // namespace quillo
