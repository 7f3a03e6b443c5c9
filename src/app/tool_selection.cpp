#include "app/tool_selection.h"

#include "app/program.h"

namespace quillo {

ToolSelection::ToolSelection(Program& program) : p_(program) {}

void ToolSelection::Bind() {
  // FIXME: the tool buttons and the red bar are bound with the tool selection.
}

}  // namespace quillo
