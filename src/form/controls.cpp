#include "form/controls.h"

#include "form/catalogue.h"

#include <stdexcept>
#include <utility>

namespace quillo {
namespace {

uint64_t HandlerKey(ControlId id, EventKind kind) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(id)) << 8) | static_cast<uint8_t>(kind);
}

}  // namespace

ControlId Form::Add(Control c) {
  const auto id = static_cast<ControlId>(controls_.size());
  if (!by_name_.emplace(c.name, id).second)
    throw std::invalid_argument("two controls named " + c.name);
  english_captions_.push_back(c.caption);
  english_hints_.push_back(c.hint);
  caption_values_.emplace_back();
  c.caption = Translated(c, c.caption);
  c.hint = Translate(c.hint);
  controls_.push_back(std::move(c));
  changed_flag_.push_back(0);
  return id;
}

ControlId Form::Find(std::string_view name) const {
  auto it = by_name_.find(std::string(name));
  return it == by_name_.end() ? kNoControl : it->second;
}

ControlId Form::Id(std::string_view name) const {
  const ControlId id = Find(name);
  if (id == kNoControl) throw std::invalid_argument("no control named " + std::string(name));
  return id;
}

const Control& Form::At(ControlId id) const {
  if (id < 0 || id >= Count()) throw std::out_of_range("no control with id " + std::to_string(id));
  return controls_[static_cast<size_t>(id)];
}

Control& Form::At(ControlId id) {
  return const_cast<Control&>(std::as_const(*this).At(id));
}

void Form::Touch(ControlId id) {
  if (!changed_flag_[id]) {
    changed_flag_[id] = 1;
    changed_.push_back(id);
  }
}

std::string Form::Translated(const Control& c, const std::string& english,
                             const std::vector<std::string>& values) const {
  const bool usersText = c.kind == ControlKind::kEdit || c.kind == ControlKind::kListBox ||
                         c.kind == ControlKind::kRichEdit || c.verbatim;
  if (usersText || english.empty()) return english;
  const std::string words = catalogue_ == nullptr ? english : catalogue_->Text(english);
  if (values.empty()) return words;
  std::vector<std::string_view> views(values.begin(), values.end());
  return ArgList(words, views);
}

std::string Form::Translate(std::string_view english) const {
  return catalogue_ == nullptr ? std::string(english) : catalogue_->Text(english);
}

void Form::SetCatalogue(const Catalogue* catalogue) {
  catalogue_ = catalogue;
  for (ControlId id = 0; id < Count(); ++id) {
    Control& c = controls_[id];
    std::string caption = Translated(c, english_captions_[id], caption_values_[id]);
    std::string hint = Translate(english_hints_[id]);
    if (caption == c.caption && hint == c.hint) continue;
    c.caption = std::move(caption);
    c.hint = std::move(hint);
    Touch(id);
  }
}

const std::string& Form::EnglishCaption(ControlId id) const {
  At(id);
  return english_captions_[id];
}

void Form::SetVisible(ControlId id, bool visible) {
  if (At(id).visible == visible) return;
  At(id).visible = visible;
  Touch(id);
}

void Form::SetCaption(ControlId id, std::string caption, std::vector<std::string> values) {
  std::string shown = Translated(At(id), caption, values);
  english_captions_[id] = std::move(caption);
  caption_values_[id] = std::move(values);
  if (At(id).caption == shown) return;
  At(id).caption = std::move(shown);
  Touch(id);
}

void Form::SetColor(ControlId id, Color color) {
  if (At(id).color == color) return;
  At(id).color = color;
  Touch(id);
}

void Form::SetFontColor(ControlId id, Color color) {
  if (At(id).fontColor == color) return;
  At(id).fontColor = color;
  Touch(id);
}

void Form::SetDown(ControlId id, bool down) {
  if (At(id).down == down) return;
  At(id).down = down;
  Touch(id);
}

void Form::SetPosition(ControlId id, int32_t position) {
  if (At(id).position == position) return;
  At(id).position = position;
  Touch(id);
}

void Form::SetBounds(ControlId id, const Rect& bounds) {
  if (At(id).bounds == bounds) return;
  At(id).bounds = bounds;
  Touch(id);
}

void Form::SetGlyph(ControlId id, std::string glyph) {
  if (controls_[id].glyph == glyph) return;
  controls_[id].glyph = std::move(glyph);
  Touch(id);
}

void Form::SetDocument(ControlId id, std::shared_ptr<const RichText> document) {
  if (controls_[id].document == document) return;
  controls_[id].document = std::move(document);
  Touch(id);
}

void Form::SetPicture(ControlId id, const Surface* picture) {
  At(id).picture = picture;
  Touch(id);
}

void Form::SetFontSize(ControlId id, int32_t size) {
  if (At(id).fontSize == size) return;
  At(id).fontSize = size;
  Touch(id);
}

void Form::SetShowHint(ControlId id, bool show) {
  if (At(id).showHint == show) return;
  At(id).showHint = show;
  Touch(id);
}

void Form::SetRange(ControlId id, int32_t min, int32_t max) {
  Control& c = At(id);
  const bool numberField = c.kind == ControlKind::kEdit;
  if (c.min == min && c.max == max && c.numberField == numberField) return;
  c.min = min;
  c.max = max;
  c.numberField = numberField;
  Touch(id);
}

bool Form::Showing(ControlId id) const {
  for (ControlId c = id; c != kNoControl; c = At(c).parent)
    if (!At(c).visible) return false;
  return true;
}

void Form::On(ControlId id, EventKind kind, Handler handler) {
  handlers_[HandlerKey(id, kind)] = std::move(handler);
}

bool Form::TakesMouse(ControlId id) const {
  for (EventKind kind :
       {EventKind::kClick, EventKind::kDblClick, EventKind::kMouseDown, EventKind::kMouseUp}) {
    if (handlers_.count(HandlerKey(id, kind)) != 0) return true;
  }
  return false;
}

bool Form::Dispatch(const ControlEvent& event) {
  if (event.kind == EventKind::kClick && event.control >= 0 && event.control < Count()) {
    const Control& b = controls_[event.control];
    if (b.kind == ControlKind::kSpeedButton && b.groupIndex != 0) {
      if (b.down && b.allowAllUp) {
        SetDown(event.control, false);
      } else {
        for (ControlId id = 0; id < Count(); ++id)
          if (id != event.control && At(id).kind == ControlKind::kSpeedButton &&
              At(id).groupIndex == b.groupIndex && At(id).parent == b.parent)
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
