#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/raster/geometry.h"

namespace quillo {

class Catalogue;
struct RichText;
class Surface;

// What a control is; the shell picks its widget by this.
enum class ControlKind : uint8_t {
  kPanel,
  kLabel,
  kSpeedButton,
  kButton,
  kEdit,
  kScrollBar,
  kImage,
  kListBox,
  kRichEdit,
};

// A colour value meaning "the widget's own colour" (transparent labels, buttons).
inline constexpr Color kNoColor = 0xFF000000u;

using ControlId = int32_t;
inline constexpr ControlId kNoControl = -1;

// The state of one control, owned by the engine: the shell paints it and never
// keeps a copy of its own.
struct Control {
  std::string name;
  ControlKind kind = ControlKind::kLabel;
  ControlId parent = kNoControl;  // kNoControl: the window itself
  Rect bounds;                    // left, top, right, bottom within the parent
  std::string caption;
  std::string hint;
  std::string glyph;  // a picture the shell draws instead of or beside the caption
  bool visible = true;
  bool showHint = true;
  bool enabled = true;
  Color color = kNoColor;      // background
  Color fontColor = kNoColor;  // text
  int32_t fontSize = 8;        // points at the design size
  bool bold = false;
  bool wordWrap = false;
  bool title = false;     // a group's title: shown in capitals, whatever its case
  bool verbatim = false;  // a caption in no language: never translated
  // Speed buttons: pressed state and grouping. Buttons of one nonzero group act as
  // radio buttons; allowAllUp lets a click raise the down one; a group of one with
  // allowAllUp is a toggle.
  bool down = false;
  int32_t groupIndex = 0;
  bool allowAllUp = false;
  // Scroll bars; an edit given a range is a number field, which takes only whole
  // numbers in it.
  int32_t min = 0;
  int32_t max = 100;
  int32_t position = 0;
  bool numberField = false;
  int32_t tag = 0;
  // Rich-text controls: the document shown.
  std::shared_ptr<const RichText> document;
  // Image controls: a picture the engine paints and keeps, shown over the control in
  // place of a glyph's file.
  const Surface* picture = nullptr;
};

enum class MouseButton : uint8_t { kLeft, kRight, kMiddle };

// Modifier keys and held buttons of a mouse or key event.
struct Modifiers {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
  bool left = false;
  bool right = false;
  bool middle = false;
};

enum class EventKind : uint8_t { kClick, kDblClick, kMouseDown, kMouseUp, kChange };

// An event on a control, forwarded by the shell.
struct ControlEvent {
  ControlId control = kNoControl;
  EventKind kind = EventKind::kClick;
  MouseButton button = MouseButton::kLeft;
  Modifiers modifiers;
  int32_t value = 0;  // kChange: the new scroll position
  std::string text;   // kChange of an edit: the new text
};

// The controls of one window in ownership order, with the handlers bound to them.
// Every change made through the setters is remembered, so the shell refreshes only
// the controls that changed. Captions and hints are given in English and kept in
// the language of the form's catalogue; the English texts stay with the form, so a
// change of language translates them anew.
class Form {
 public:
  using Handler = std::function<void(const ControlEvent&)>;

  // Adds a control; a name already taken is refused with std::invalid_argument.
  ControlId Add(Control c);
  // The control of that name, or kNoControl.
  ControlId Find(std::string_view name) const;
  // The control of that name, for binding a window's typed ids while it is built;
  // an unknown name throws std::invalid_argument, so a misspelt name fails there.
  ControlId Id(std::string_view name) const;
  // Checked: an id that is not a control of this form throws std::out_of_range.
  const Control& operator[](ControlId id) const { return At(id); }
  const std::vector<Control>& Controls() const { return controls_; }
  int32_t Count() const { return static_cast<int32_t>(controls_.size()); }

  // Translates every caption and hint with catalogue from now on (nullptr: English);
  // the catalogue outlives the form or is replaced before it goes.
  void SetCatalogue(const Catalogue* catalogue);
  // A text the shell shows on the form, in the form's language.
  std::string Translate(std::string_view english) const;
  // The English caption a control was last given.
  const std::string& EnglishCaption(ControlId id) const;

  void SetVisible(ControlId id, bool visible);
  // An edit's or a list's caption is the user's text and stays as given. Values go
  // into the translated caption's %1, %2 ... (a file name: "%1" with the name).
  void SetCaption(ControlId id, std::string caption, std::vector<std::string> values = {});
  void SetColor(ControlId id, Color color);
  void SetFontColor(ControlId id, Color color);
  void SetDown(ControlId id, bool down);
  void SetPosition(ControlId id, int32_t position);
  void SetBounds(ControlId id, const Rect& bounds);
  void SetFontSize(ControlId id, int32_t size);
  void SetShowHint(ControlId id, bool show);
  void SetRange(ControlId id, int32_t min, int32_t max);
  void SetGlyph(ControlId id, std::string glyph);
  void SetDocument(ControlId id, std::shared_ptr<const RichText> document);
  // Shows a picture the caller keeps alive as long as the form; called again after
  // each repainting of the same picture, so the shell shows the new pixels.
  void SetPicture(ControlId id, const Surface* picture);

  // Visible itself and every parent visible.
  bool Showing(ControlId id) const;

  // Binds a handler to an event of a control, replacing an earlier one.
  void On(ControlId id, EventKind kind, Handler handler);
  // Whether a mouse event on the control (a click, a double click, a press or a
  // release) has a handler: the control acts when the mouse uses it.
  bool TakesMouse(ControlId id) const;
  // Runs the bound handler; false when none is bound. A click on a speed button of
  // a group first moves the group's down state: it goes down and the others up, or,
  // where all may be up, a down button comes up.
  bool Dispatch(const ControlEvent& event);

  // The controls changed since the last call, each once.
  std::vector<ControlId> TakeChanged();

 private:
  void Touch(ControlId id);
  Control& At(ControlId id);
  const Control& At(ControlId id) const;
  std::string Translated(const Control& c, const std::string& english,
                         const std::vector<std::string>& values = {}) const;

  std::vector<Control> controls_;
  // The English captions and hints, by control.
  std::vector<std::string> english_captions_;
  std::vector<std::string> english_hints_;
  std::vector<std::vector<std::string>> caption_values_;
  const Catalogue* catalogue_ = nullptr;
  std::unordered_map<std::string, ControlId> by_name_;
  std::vector<uint8_t> changed_flag_;
  std::vector<ControlId> changed_;
  std::unordered_map<uint64_t, Handler> handlers_;
};

}  // namespace quillo
