#include "log/action_log.h"

#include <algorithm>

namespace quillo {

RecordOutcome ActionLog::Record(bool recording, uint8_t code, int32_t value,
                                const RecordContext& ctx) {
  RecordOutcome out;
  if (recording && Count() < kLogCapacity) {
    const int32_t n = std::max(Count(), 0) + 1;
    codes_[0] = static_cast<uint32_t>(n);
    position = n;
    InspectorLine line;
    line.position = n;
    line.x = ctx.currentPoint.x;
    line.y = ctx.currentPoint.y;
    line.relX = static_cast<int32_t>(static_cast<uint32_t>(ctx.currentPoint.x) -
                                     static_cast<uint32_t>(ctx.startPoint.x));
    line.relY = static_cast<int32_t>(static_cast<uint32_t>(ctx.currentPoint.y) -
                                     static_cast<uint32_t>(ctx.startPoint.y));
    // Presses, colours, backgrounds and field backdrops show the slot as it was.
    const bool showOld =
        code == lgmoused || code == lgcolor || code == lggroundcolor || code == lgbackfield;
    if (showOld) line.value = values_[n];
    switch (code) {
      case lgmoused:
        codes_[n] = lgmoused;
        values_[n] = PackPoint(ctx.reference.x, ctx.reference.y, ctx.wild);
        break;
      case lgshape:
        codes_[n] = lgshape + 16u * ctx.tool;
        break;
      case lgmousem: {
        values_[n] = PackPoint(ctx.reference.x, ctx.reference.y, ctx.centerMode);
        const uint32_t moveCode = ctx.colorMode == 1   ? lgmousem
                                  : ctx.colorMode == 2 ? lgcubecolor
                                                       : lgspacecolor;
        codes_[n] = moveCode + 256u * (static_cast<uint32_t>(value) & 255u);
        break;
      }
      case lgcanvasop:
        codes_[n] = lgcanvasop + 4096u * static_cast<uint32_t>(value);
        // A zoom corner carries its point; the other kinds leave the slot as it was.
        if (value == kCornerKind) values_[n] = PackPoint(ctx.reference.x, ctx.reference.y, false);
        break;
      default:
        codes_[n] = code;
        values_[n] = value;
        break;
    }
    const CodeFields f = SplitCode(codes_[n]);
    line.kind = f.kind;
    line.strokeType = f.strokeType;
    line.tool = f.tool;
    line.code = f.code;
    if (!showOld) line.value = values_[n];
    lines_.push_back(line);
    out.stored = true;
  }
  out.full = Count() >= kLogCapacity;
  return out;
}

}  // namespace quillo
