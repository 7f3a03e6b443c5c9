#include "form/layout.h"

namespace quillo {

void AddLayout(Form& form, std::span<const LayoutRow> rows) {
  for (const LayoutRow& r : rows) {
    Control c;
    c.name = r.name;
    c.kind = r.kind;
    c.parent = r.parent ? form.Id(r.parent) : kNoControl;
    c.bounds = Rect{r.left, r.top, r.left + r.width, r.top + r.height};
    c.caption = r.caption ? r.caption : "";
    c.hint = r.hint ? r.hint : "";
    c.glyph = r.glyph ? r.glyph : "";
    c.color = r.color;
    c.fontColor = r.fontColor;
    c.fontSize = r.fontSize;
    c.visible = !(r.flags & kHidden);
    c.down = r.flags & kDown;
    c.allowAllUp = r.flags & kAllUp;
    c.bold = r.flags & kBold;
    c.wordWrap = r.flags & kWrap;
    c.title = r.flags & kTitle;
    c.verbatim = r.flags & kVerbatim;
    c.showHint = !(r.flags & kNoHint);
    c.groupIndex = r.group;
    c.tag = r.tag;
    form.Add(std::move(c));
  }
}

void ScaleFormToScreen(Form& form, int32_t clientWidth, int32_t clientHeight, int32_t& canvasWidth,
                       int32_t& canvasHeight) {
  if (canvasWidth == 0 || canvasHeight == 0) return;
  const int32_t w = clientWidth;
  const int32_t h = clientHeight;
  for (ControlId id = 0; id < form.Count(); ++id) {
    const Control& c = form[id];
    const Rect b = c.bounds;
    form.SetBounds(id, Rect{MulDiv(b.left, w, canvasWidth), MulDiv(b.top, h, canvasHeight),
                            MulDiv(b.right, w, canvasWidth), MulDiv(b.bottom, h, canvasHeight)});
    if (c.kind == ControlKind::kLabel || c.kind == ControlKind::kSpeedButton)
      form.SetFontSize(id, MulDiv(c.fontSize, h, canvasHeight));
  }
  canvasHeight = h;
  canvasWidth = w;
}

}  // namespace quillo
