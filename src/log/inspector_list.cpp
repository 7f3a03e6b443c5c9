#include "log/inspector_list.h"

#include <iterator>

namespace quillo {

std::string InspectorLine::Format() const {
  const int32_t fields[] = {position, kind, strokeType, tool, code, x, y, value, relX, relY};
  std::string out;
  out.reserve(64);
  for (size_t i = 0; i < std::size(fields); ++i) {
    if (i) out += "    ";
    out += std::to_string(fields[i]);
  }
  return out;
}

void InspectorList::clear() {
  blocks_.clear();
  first_ = 0;
  count_ = 0;
  dropped_ = 0;
  ++clears_;
}

void InspectorList::AddBlock() {
  // Every slot is written by push_back before it is read.
  blocks_.push_back(std::make_unique_for_overwrite<InspectorLine[]>(kBlockLines));
}

void InspectorList::DropOldest() {
  ++dropped_;
  if (++first_ == kBlockLines) {
    blocks_.erase(blocks_.begin());
    first_ = 0;
  }
}

}  // namespace quillo
