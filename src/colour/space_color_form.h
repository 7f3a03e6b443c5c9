#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "colour/col_file.h"
#include "colour/colour_field.h"
#include "form/controls.h"
#include "form/window_state.h"
#include "platform/raster/surface.h"

namespace quillo {

class Program;

// The colour field editor TSpaceColorForm: a borderless window over the whole
// screen where the user sets the field's three colours with a mixer of its own,
// keeps four sets of them, loads and saves the sets, shows the whole field and
// paints it over the picture.
class SpaceColorForm {
 public:
  explicit SpaceColorForm(Program& program);

  WindowState window;
  // The window's own drawing surface: the realised field and the rubber band, made
  // at their first use.
  Surface canvas;
  // The whole field as it stands, in miniature, in the middle of the panel's picture
  // of the field's layout, in either layout.
  Surface fieldPreview;

  // The window's creation: screen size, field size, layout scaling.
  void FormCreate();

  // Opens the editor over the main window.
  void Open();
  // "Close" and Enter: hands back to the main window with the field colours logged.
  void CloseColorEditor();
  // Paints the whole field on the editor, letting events run before each row.
  void RealiseColorField();
  // Hands back to the main window and paints the whole field over its picture, logged.
  void CopyColorField();
  // Paints the colour field of the current colours over the main canvas, as
  // "Copy ColorField" does; a replay paints it without letting events run.
  enum class PendingEvents : uint8_t { kRun, kHold };
  void PaintFieldOnCanvas(PendingEvents events);

  // Shows the field colours on the editor's labels of each group and, while the
  // editor is open, in its preview of the field.
  void ShowFieldColours(Color corner, Color vertical, Color horizontal);
  // Shows or hides the centre layout's labels.
  void ShowCenterLayout(bool on);

  // The editor's mixer colour, and the tick of one channel's timer (0 red, 1 green,
  // 2 blue).
  Color mix = Rgb(192, 192, 192);
  void MixerTick(int channel);

  // The four colour sets as the swatches show them, in file order.
  ColourSets Sets() const;

 private:
  void BuildLayout();
  // Makes the window's surface, in the strips' colour, unless it is made already.
  void MakePicture();
  // Paints the preview from the program's field; a closed editor only notes that its
  // preview is out of date, and paints it when it opens.
  void RefreshFieldPreview();
  void PaintFieldPreview();
  void BindHandlers();
  void BindMixer();
  void SetPanelClick(int set);
  void GroupButton(ControlId button);
  void FormMouse(MouseAction action, MouseButton button, Modifiers mods, Point p);
  void FormKeyDown(int32_t vk, Modifiers mods);
  void FormKeyPress(char32_t ch);
  void GetColors();
  void SaveColors();
  void GetKeyColors();
  void SaveKeyColors();

  Program& p_;
  // Raise and lower flags of the three channels.
  std::array<bool, 3> raise_{};
  std::array<bool, 3> lower_{};
  // The rubber band on the background.
  bool dragging_ = false;
  Point dragStart_{};
  Point dragEnd_{};
  // The field's colours and layout at the preview's size; the program's own field,
  // whose last colour the drawing reads, is never evaluated for the preview.
  ColourField previewField_;
  bool previewStale_ = true;

  struct Ids {
    ControlId Panel1, Panel3, FieldPreview, CenterFieldPreview, mixer[3], Label20, Label19, mix;
    ControlId horizontal, corners, vertical;
    ControlId SpeedButton10, SpeedButton3, Label8;
    ControlId SpeedButton8, SpeedButton9, Label48;  // the key colour files
    std::array<ControlId, 4> setPanels;
    std::array<std::array<ControlId, 3>, 4> swatches;  // per set: C, V, H
    std::vector<ControlId> cornerGroup, verticalGroup, horizontalGroup;
  } c_{};
};

}  // namespace quillo
