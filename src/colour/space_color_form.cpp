#include "colour/space_color_form.h"

#include <algorithm>
#include <string>
#include <variant>

#include "app/program.h"
#include "colour/field_painter.h"
#include "form/layout.h"
#include "form/palette.h"

namespace quillo {
namespace {

constexpr TimerId kMixerTimers[3] = {TimerId::Redtimer, TimerId::Greentimer, TimerId::Bluetimer};
constexpr Color kMixerPrimaries[3] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)};

constexpr int32_t kVkReturn = 13;
constexpr int32_t kVkSpace = 32;
constexpr int32_t kVkEscape = 27;

const FileDialogSpec kColDialog{"fieldcolor(*.col)|*.col", "col", false, false};
const FileDialogSpec kKclOpenDialog{"keycolors(*.kcl)|*.kcl", "kcl", true, false};
const FileDialogSpec kKclSaveDialog{"keycolors(*.kcl)|*.kcl", "kcl", false, true};

uint32_t ChannelOf(Color c, int channel) {
  return (c >> (8 * channel)) & 255u;
}

Color WithChannel(Color c, int channel, uint32_t v) {
  const uint32_t shift = 8u * static_cast<uint32_t>(channel);
  return (c & ~(255u << shift)) | (v << shift);
}

}  // namespace

SpaceColorForm::SpaceColorForm(Program& program) : p_(program) {
  window.id = WindowId::kSpaceColorForm;
  window.className = "TSpaceColorForm";
  // Until a field is realised on it, the editor's panel stands on the strips' colour.
  window.color = palette::kStrip;
  BuildLayout();
  BindHandlers();
  window.hooks.canvas = &canvas;
  window.hooks.mouse = [this](MouseAction a, MouseButton b, Modifiers m, Point pt) {
    FormMouse(a, b, m, pt);
  };
  window.hooks.keyDown = [this](int32_t vk, Modifiers m) { FormKeyDown(vk, m); };
  window.hooks.keyPress = [this](char32_t ch) { FormKeyPress(ch); };
  // However the editor goes away, its close logs the field colours and turns the
  // logging of key colours back on.
  window.hooks.closed = [this] { CloseColorEditor(); };
}

void SpaceColorForm::FormCreate() {
  const ScreenSize screen = p_.platform.GetScreenSize();
  window.clientWidth = screen.width;
  window.clientHeight = screen.height;
  window.left = 0;
  window.top = 0;
  ++window.revision;
  // The picture is made when a field is first realised on it: until then the window's
  // own colour shows, and a screen's worth of memory is not held for nothing.
  canvas.Resize(0, 0);
  p_.field.SetEditorSize(screen.width, screen.height);
  p_.keyColours.tweakValid = false;
  p_.canvasHeight = 768;
  p_.canvasWidth = 1024;
  if (window.clientHeight != 768)
    ScaleFormToScreen(window.form, window.clientWidth, window.clientHeight, p_.canvasWidth,
                      p_.canvasHeight);
  RefreshFieldPreview();
}

void SpaceColorForm::Open() {
  // The editor opens on its controls, whether or not it was left showing its field.
  window.form.SetVisible(c_.Panel1, true);
  window.Show(true);
  if (previewStale_) PaintFieldPreview();
  p_.keyColorRecording = false;
}

void SpaceColorForm::CloseColorEditor() {
  p_.keyColorRecording = true;
  p_.RecordFieldTriple();
  window.Show(false);
  // The drawing shows again as it stands: nothing happened to it, and a copy from
  // the backup would change it where no log entry says so.
  p_.SetFieldColors(p_.field.corner, p_.field.vertical, p_.field.horizontal);
}

void SpaceColorForm::MakePicture() {
  if (canvas.Width() == window.clientWidth && canvas.Height() == window.clientHeight) return;
  // Without the memory the picture stays empty, and the window shows its colour.
  if (canvas.Resize(window.clientWidth, window.clientHeight))
    canvas.FillRect(canvas.Bounds(), palette::kStrip);
}

void SpaceColorForm::RealiseColorField() {
  window.form.SetVisible(c_.Panel1, false);
  MakePicture();
  FieldPainter painter(p_.field);
  for (int32_t y = 0; y < painter.Height(); ++y) {
    p_.platform.ProcessPendingEvents();
    // Left before the field was whole: the rest is not painted.
    if (window.form[c_.Panel1].visible || !window.visible) return;
    painter.PaintRow(canvas, y);
  }
  if (painter.Width() > 0 && painter.Height() > 0)
    p_.field.FieldColorValue(painter.Width() - 1, painter.Height() - 1);
}

void SpaceColorForm::PaintFieldOnCanvas(PendingEvents events) {
  FieldPainter painter(p_.field);
  Surface& canvas = p_.main.images.canvas;
  // A canvas drawn in other units takes the field painted in them, stretched.
  Surface units;
  const bool stretch =
      canvas.Transformed() && units.Resize(canvas.Bounds().right, canvas.Bounds().bottom);
  for (int32_t y = 0; y < painter.Height(); ++y) {
    if (events == PendingEvents::kRun) p_.platform.ProcessPendingEvents();
    painter.PaintRow(stretch ? units : canvas, y);
  }
  if (stretch) canvas.CopyRect(canvas.Bounds(), units, units.Bounds(), kSrcCopy);
  if (painter.Width() > 0 && painter.Height() > 0)
    p_.field.FieldColorValue(painter.Width() - 1, painter.Height() - 1);
}

void SpaceColorForm::CopyColorField() {
  // The editor hands back to the drawing, where the field appears, by going away, as
  // its close does; the triple below is recorded as the close's is.
  p_.keyColorRecording = true;
  window.Show(false);
  // Painted whole before anything else runs: a press on the canvas between two rows
  // put the backup back over the rows already painted, and a timer could change the
  // colours half way, so the picture and its log entries disagreed.
  PaintFieldOnCanvas(PendingEvents::kHold);
  p_.RecordFieldTriple();
  // 0 marks the field painted from the corner, 1 from the centre: no copy mode is
  // either, and a replay paints the same layout.
  p_.RecordAction(Point{}, lgbackfield, p_.field.centerMode ? 1 : 0);
  p_.SetFieldColors(p_.field.corner, p_.field.vertical, p_.field.horizontal);
  p_.SaveUndo();
}

void SpaceColorForm::ShowFieldColours(Color corner, Color vertical, Color horizontal) {
  Form& f = window.form;
  for (ControlId id : c_.cornerGroup)
    f.SetColor(id, corner);
  for (ControlId id : c_.verticalGroup)
    f.SetColor(id, vertical);
  for (ControlId id : c_.horizontalGroup)
    f.SetColor(id, horizontal);
  RefreshFieldPreview();
}

void SpaceColorForm::ShowCenterLayout(bool on) {
  window.form.SetVisible(c_.Panel3, on);
  RefreshFieldPreview();
}

void SpaceColorForm::RefreshFieldPreview() {
  previewStale_ = true;
  if (window.visible) PaintFieldPreview();
}

void SpaceColorForm::PaintFieldPreview() {
  const Rect area = Normalized(window.form[c_.FieldPreview].bounds);
  const auto width = static_cast<int32_t>(area.Width());
  const auto height = static_cast<int32_t>(area.Height());
  if ((fieldPreview.Width() != width || fieldPreview.Height() != height) &&
      !fieldPreview.Resize(width, height))
    return;
  const ColourField& field = p_.field;
  previewField_.corner = field.corner;
  previewField_.vertical = field.vertical;
  previewField_.horizontal = field.horizontal;
  previewField_.centerMode = field.centerMode;
  // The field's weights go by the distance from its centre over its half size, so
  // the same colours at the preview's size show the whole field in small.
  previewField_.SetEditorSize(fieldPreview.Width(), fieldPreview.Height());
  FieldPainter painter(previewField_);
  for (int32_t y = 0; y < painter.Height(); ++y)
    painter.PaintRow(fieldPreview, y);
  previewStale_ = false;
  window.form.SetPicture(c_.FieldPreview, &fieldPreview);
  window.form.SetPicture(c_.CenterFieldPreview, &fieldPreview);
}

void SpaceColorForm::MixerTick(int channel) {
  uint32_t v = ChannelOf(mix, channel);
  if (raise_[channel] && v < 255) ++v;
  if (lower_[channel] && v > 1) --v;
  mix = WithChannel(mix, channel, v);
  Form& f = window.form;
  ColourField& field = p_.field;
  if (f[c_.corners].down) field.corner = mix;
  if (f[c_.horizontal].down) field.horizontal = mix;
  if (f[c_.vertical].down) field.vertical = mix;
  ShowFieldColours(field.corner, field.vertical, field.horizontal);
  f.SetCaption(c_.mixer[channel], std::to_string(v));
  f.SetColor(c_.mix, mix);
}

ColourSets SpaceColorForm::Sets() const {
  ColourSets sets{};
  for (int s = 0; s < 4; ++s)
    for (int k = 0; k < 3; ++k)
      sets[3 * s + k] = window.form[c_.swatches[s][k]].color;
  return sets;
}

void SpaceColorForm::SetPanelClick(int set) {
  Form& f = window.form;
  const auto& sw = c_.swatches[set];
  if (f[c_.SpeedButton3].down) {
    f.SetColor(sw[0], p_.field.corner);
    f.SetColor(sw[1], p_.field.vertical);
    f.SetColor(sw[2], p_.field.horizontal);
    f.SetDown(c_.SpeedButton3, false);
    return;
  }
  p_.keyColours.tweakValid = false;
  p_.SetFieldColors(f[sw[0]].color, f[sw[1]].color, f[sw[2]].color);
}

void SpaceColorForm::GroupButton(ControlId button) {
  const ColourField& field = p_.field;
  mix = button == c_.corners      ? field.corner
        : button == c_.horizontal ? field.horizontal
                                  : field.vertical;
  window.form.SetColor(c_.mix, mix);
}

void SpaceColorForm::FormMouse(MouseAction action, MouseButton, Modifiers, Point pt) {
  if (action == MouseAction::kDown) {
    dragStart_ = dragEnd_ = pt;
    dragging_ = true;
  } else if (action == MouseAction::kMove && dragging_) {
    MakePicture();
    canvas.SetPenMode(PenMode::kNot);
    canvas.SetPenWidth(2);
    canvas.SetBrushStyle(BrushStyle::kClear);
    canvas.Rectangle(MakeRect(dragStart_, dragEnd_));
    canvas.Rectangle(MakeRect(dragStart_, pt));
    dragEnd_ = pt;
  } else if (action == MouseAction::kUp) {
    dragging_ = false;
    // A click, not a drag, on the realised field brings the controls back.
    if (pt == dragStart_ && dragEnd_ == dragStart_) window.form.SetVisible(c_.Panel1, true);
  }
}

void SpaceColorForm::FormKeyDown(int32_t vk, Modifiers) {
  if (vk == kVkReturn) CloseColorEditor();
  if (vk == kVkSpace || vk == kVkEscape) window.form.SetVisible(c_.Panel1, true);
}

void SpaceColorForm::FormKeyPress(char32_t ch) {
  // Upper-case keys store the field colours in a set; nothing else happens and
  // nothing is logged.
  if (ch >= 'A' && ch <= 'Z') {
    p_.keyColours.StoreKeyColor(static_cast<char>(ch));
    return;
  }
  if (ch < 128) p_.keyColours.KeyPress(static_cast<char>(ch));
}

void SpaceColorForm::GetColors() {
  FileDialogSpec spec = kColDialog;
  spec.mustExist = true;
  const std::optional<std::string> path = p_.platform.OpenFileName(spec);
  if (!path) return;
  const auto read = ReadColFile(*path);
  if (const auto* error = std::get_if<std::string>(&read)) {
    p_.platform.ShowError(Arg(p_.Tr("Cannot open \"%1\": %2."), {*path, *error}));
    return;
  }
  const ColourSets& sets = std::get<ColourSets>(read);
  Form& f = window.form;
  for (int s = 0; s < 4; ++s)
    for (int k = 0; k < 3; ++k)
      f.SetColor(c_.swatches[s][k], sets[3 * s + k]);
  f.SetCaption(c_.Label8, "%1", {*path});
}

void SpaceColorForm::SaveColors() {
  FileDialogSpec spec = kColDialog;
  spec.confirmOverwrite = true;
  const std::optional<std::string> path = p_.platform.SaveFileName(spec);
  if (!path) return;
  if (auto error = WriteColFile(*path, Sets())) {
    p_.platform.ShowError(Arg(p_.Tr("Cannot save \"%1\": %2."), {*path, *error}));
    return;
  }
  window.form.SetCaption(c_.Label8, "%1", {*path});
}

}  // namespace quillo

namespace quillo {

void SpaceColorForm::BindMixer() {
  Form& f = window.form;
  auto held = [](const ControlEvent& e, MouseButton b, bool modifierHeld) {
    return e.button == b || modifierHeld;
  };
  for (int ch = 0; ch < 3; ++ch) {
    f.On(c_.mixer[ch], EventKind::kMouseDown, [this, ch, held](const ControlEvent& e) {
      p_.keyColours.tweakValid = false;
      p_.timers.Enable(kMixerTimers[ch], true);
      if (held(e, MouseButton::kLeft, e.modifiers.left)) raise_[ch] = true;
      if (held(e, MouseButton::kRight, e.modifiers.right)) lower_[ch] = true;
    });
    f.On(c_.mixer[ch], EventKind::kMouseUp, [this, ch](const ControlEvent&) {
      p_.timers.Enable(kMixerTimers[ch], false);
      raise_[ch] = lower_[ch] = false;
    });
    f.On(c_.mixer[ch], EventKind::kDblClick,
         [this, ch](const ControlEvent&) { mix = kMixerPrimaries[ch]; });
  }
  // White and black: all three channels up or down together.
  auto all = [this](std::array<bool, 3>& flags, bool on) {
    if (on) p_.keyColours.tweakValid = false;
    for (int ch = 0; ch < 3; ++ch) {
      p_.timers.Enable(kMixerTimers[ch], on);
      flags[ch] = on;
    }
  };
  f.On(c_.Label20, EventKind::kMouseDown, [this, all](const ControlEvent&) { all(raise_, true); });
  f.On(c_.Label20, EventKind::kMouseUp, [this, all](const ControlEvent&) { all(raise_, false); });
  f.On(c_.Label19, EventKind::kMouseDown, [this, all](const ControlEvent&) { all(lower_, true); });
  f.On(c_.Label19, EventKind::kMouseUp, [this, all](const ControlEvent&) { all(lower_, false); });
  f.On(c_.Label20, EventKind::kDblClick, [this](const ControlEvent&) { mix = Rgb(255, 255, 255); });
  f.On(c_.Label19, EventKind::kDblClick, [this](const ControlEvent&) { mix = Rgb(0, 0, 0); });
}

void SpaceColorForm::BindHandlers() {
  BindMixer();
  Form& f = window.form;
  auto click = [&](const char* name, auto fn) {
    f.On(f.Id(name), EventKind::kClick, [fn](const ControlEvent&) { fn(); });
  };
  for (ControlId button : {c_.horizontal, c_.corners, c_.vertical})
    f.On(button, EventKind::kClick, [this, button](const ControlEvent&) { GroupButton(button); });
  for (int s = 0; s < 4; ++s) {
    f.On(c_.setPanels[s], EventKind::kClick, [this, s](const ControlEvent&) { SetPanelClick(s); });
    for (ControlId swatch : c_.swatches[s])
      f.On(swatch, EventKind::kClick, [this, s](const ControlEvent&) { SetPanelClick(s); });
  }
  click("Label1", [this] { RealiseColorField(); });
  click("Label4", [this] { CopyColorField(); });
  click("Label3", [this] { CloseColorEditor(); });
  click("SpeedButton10", [this] {
    p_.field.centerMode = window.form[c_.SpeedButton10].down;
    ShowCenterLayout(p_.field.centerMode);
    p_.main.window.form.SetVisible(p_.main.c.Label46, p_.field.centerMode);
  });
  click("SpeedButton4", [this] {
    p_.keyColours.tweakValid = false;
    p_.SetFieldColors(kDefaultCorner, kDefaultVertical, kDefaultHorizontal);
  });
  // After a file dialog the editor is the window in front again (the shell makes the
  // dialogs its transient children): it is still open, and the key colours are not
  // logged until it closes.
  click("SpeedButton1", [this] { GetColors(); });
  click("SpeedButton2", [this] { SaveColors(); });
  click("SpeedButton8", [this] { GetKeyColors(); });
  click("SpeedButton9", [this] { SaveKeyColors(); });
}

void SpaceColorForm::GetKeyColors() {
  const std::optional<std::string> path = p_.platform.OpenFileName(kKclOpenDialog);
  if (!path) return;
  auto read = ReadKclFile(*path);
  if (const auto* error = std::get_if<std::string>(&read)) {
    p_.platform.ShowError(Arg(p_.Tr("Cannot open \"%1\": %2."), {*path, *error}));
    return;
  }
  // The field keeps its colours until a key applies a set.
  p_.keyColours.table = std::get<KeyColorTable>(read);
  window.form.SetCaption(c_.Label48, "%1", {*path});
}

void SpaceColorForm::SaveKeyColors() {
  const std::optional<std::string> path = p_.platform.SaveFileName(kKclSaveDialog);
  if (!path) return;
  if (auto error = WriteKclFile(*path, p_.keyColours.table)) {
    p_.platform.ShowError(Arg(p_.Tr("Cannot save \"%1\": %2."), {*path, *error}));
    return;
  }
  window.form.SetCaption(c_.Label48, "%1", {*path});
}

}  // namespace quillo
