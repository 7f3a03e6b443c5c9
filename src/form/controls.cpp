#include "form/controls.h"

#include <utility>

namespace quillo {
namespace {

uint64_t HandlerKey(ControlId id, EventKind kind) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(id)) << 8) | static_cast<uint8_t>(kind);
}

}  // namespace

ControlId Form::Add(Control c) {
  const auto id = static_cast<ControlId>(controls_.size());
  by_name_.emplace(c.name, id);
  controls_.push_back(std::move(c));
  changed_flag_.push_back(0);
  return id;
}

ControlId Form::Find(std::string_view name) const {
  auto it = by_name_.find(std::string(name));
  return it == by_name_.end() ? kNoControl : it->second;
}

void Form::Touch(ControlId id) {
  if (!changed_flag_[id]) {
    changed_flag_[id] = 1;
    changed_.push_back(id);
  }
}

void Form::SetVisible(ControlId id, bool visible) {
  if (controls_[id].visible == visible) return;
  controls_[id].visible = visible;
  Touch(id);
}

void Form::SetCaption(ControlId id, std::string caption) {
  if (controls_[id].caption == caption) return;
  controls_[id].caption = std::move(caption);
  Touch(id);
}

void Form::SetColor(ControlId id, Color color) {
  if (controls_[id].color == color) return;
  controls_[id].color = color;
  Touch(id);
}

void Form::SetFontColor(ControlId id, Color color) {
  if (controls_[id].fontColor == color) return;
  controls_[id].fontColor = color;
  Touch(id);
}

void Form::SetDown(ControlId id, bool down) {
  if (controls_[id].down == down) return;
  controls_[id].down = down;
  Touch(id);
}

void Form::SetPosition(ControlId id, int32_t position) {
  if (controls_[id].position == position) return;
  controls_[id].position = position;
  Touch(id);
}

void Form::SetBounds(ControlId id, const Rect& bounds) {
  if (controls_[id].bounds == bounds) return;
  controls_[id].bounds = bounds;
  Touch(id);
}

void Form::SetFontSize(ControlId id, int32_t size) {
  if (controls_[id].fontSize == size) return;
  controls_[id].fontSize = size;
  Touch(id);
}

void Form::SetShowHint(ControlId id, bool show) {
  if (controls_[id].showHint == show) return;
  controls_[id].showHint = show;
  Touch(id);
}

void Form::SetRange(ControlId id, int32_t min, int32_t max) {
  Control& c = controls_[id];
  if (c.min == min && c.max == max) return;
  c.min = min;
  c.max = max;
  Touch(id);
}

bool Form::Showing(ControlId id) const {
  for (ControlId c = id; c != kNoControl; c = controls_[c].parent)
    if (!controls_[c].visible) return false;
  return true;
}

void Form::On(ControlId id, EventKind kind, Handler handler) {
  handlers_[HandlerKey(id, kind)] = std::move(handler);
}

bool Form::Dispatch(const ControlEvent& event) {
  if (event.kind == EventKind::kClick && event.control >= 0 && event.control < Count()) {
    const Control& b = controls_[event.control];
    if (b.kind == ControlKind::kSpeedButton && b.groupIndex != 0) {
      if (b.down && b.allowAllUp) {
        SetDown(event.control, false);
      } else {
        for (ControlId id = 0; id < Count(); ++id)
          if (id != event.control && controls_[id].kind == ControlKind::kSpeedButton &&
              controls_[id].groupIndex == b.groupIndex && controls_[id].parent == b.parent)
            SetDown(id, false);
        SetDown(event.control, true);
      }
    }
  }
  auto it = handlers_.find(HandlerKey(event.control, event.kind));
  if (it == handlers_.end()) return false;
  it->second(event);
  return true;
}

std::vector<ControlId> Form::TakeChanged() {
  for (ControlId id : changed_)
    changed_flag_[id] = 0;
  return std::exchange(changed_, {});
}

}  // namespace quillo
