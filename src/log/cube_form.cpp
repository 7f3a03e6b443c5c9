#include "log/cube_form.h"

#include <array>

#include "app/program.h"
#include "form/layout.h"
#include "form/palette.h"

namespace quillo {
namespace {

using namespace layout;

// The window stands on the strips' colour, the legends on a group's tile and the
// lines in a value well, as everywhere in the program.
constexpr Color kBackground = palette::kStrip;
constexpr Color kLegend = palette::kGroup;
constexpr int32_t kDesignWidth = 1024;
constexpr int32_t kDesignHeight = 768;
constexpr int32_t kDesignItemHeight = 16;

// The area of the backup that "CLOSE" puts back.
constexpr Rect kRestoredArea{0, 0, 1024, 768};

constexpr auto kRows = std::to_array<LayoutRow>({
    {"Label1", L, nullptr, 8, 8, 449, 49,
     "NextHalfByte: dtfree:=0; dtline:=1; dtrectangle:=2; dtellipse:=3; dtroundrect:=4; "
     "dtwave:=5; dtNuwave:=6;  dtNuWaveSpecial:=7;dtwave3:=8;dtwave4:=9;",
     "", kLegend, palette::kTitle, 8, kWrap | kNoHint | kVerbatim},
    {"Label2", L, nullptr, 8, 64, 449, 97,
     "lgzero:=0{copy};lgmoused(down):=1;lgcolor:=2; \x7F"
     "lglinew:=3; lgshape:=4; "
     "lgmousem(move with palette color):=5; lgspacecolor:=6; lgpenmode:=7; lggroundcolor:=8; "
     "lgfieldcolor:=9; Lgwavedata:=10; lgcubecolor:=11; lgNuWaveSpecial:=12;lgbackfield:=13;"
     "lgZoom:=14; lgcanvasop:=15{kind 0 undo;1 negative;2 white;3 corner;4 step back;"
     "5 step forward};",
     "", kLegend, palette::kTitle, 8, kWrap | kNoHint | kVerbatim},
    {"SpeedButton1", B, nullptr, 8, 192, 57, 41, "CLEAR", "EMPTY THE LIST", kNoColor, kNoColor, 8,
     kBold},
    {"Button1", ControlKind::kButton, nullptr, 8, 384, 57, 49, "CLOSE", "BACK TO THE DRAWING",
     kNoColor, kNoColor, 8, kBold},
    {"ListBox5", ControlKind::kListBox, nullptr, 72, 168, 385, 345, "", "", palette::kWell, kWhite,
     8, kNoHint},
});

}  // namespace

CubeForm::CubeForm(Program& program) : p_(program) {
  window.id = WindowId::kCubeForm;
  window.className = "TCubeForm";
  window.color = kBackground;
  window.hooks.canvas = &image;
  BuildLayout();
  Form& f = window.form;
  f.On(c.SpeedButton1, EventKind::kClick, [this](const ControlEvent&) { SpeedButton1Click(); });
  f.On(c.Button1, EventKind::kClick, [this](const ControlEvent&) { Button1Click(); });
}

void CubeForm::BuildLayout() {
  Form& f = window.form;
  AddLayout(f, kRows);
  c.Label1 = f.Id("Label1");
  c.Label2 = f.Id("Label2");
  c.SpeedButton1 = f.Id("SpeedButton1");
  c.Button1 = f.Id("Button1");
  c.ListBox5 = f.Id("ListBox5");
}

void CubeForm::FormCreate() {
  const ScreenSize screen = p_.platform.GetScreenSize();
  window.clientWidth = screen.width;
  window.clientHeight = screen.height;
  window.left = 0;
  window.top = 0;
  ++window.revision;
  // Until a picture is put in, the window shows its own colour: no memory is held
  // for a blank picture.
  image.Resize(0, 0);
  // The window is laid out for 1024 x 768 and grows with the screen; the program's
  // reference size is the main window's business, not this one's.
  int32_t designWidth = kDesignWidth;
  int32_t designHeight = kDesignHeight;
  if (screen.width != kDesignWidth || screen.height != kDesignHeight) {
    ScaleFormToScreen(window.form, screen.width, screen.height, designWidth, designHeight);
    itemHeight = MulDiv(kDesignItemHeight, screen.height, kDesignHeight);
    // The scaling grows the fonts of labels and speed buttons; "CLOSE" keeps pace.
    Form& f = window.form;
    f.SetFontSize(c.Button1, f[c.SpeedButton1].fontSize);
  }
}

void CubeForm::Open() {
  window.Show(true);
}

void CubeForm::SpeedButton1Click() {
  p_.log.ClearLines();
}

void CubeForm::Button1Click() {
  PaintLog& m = p_.main;
  // The inspector hands back to the drawing by going away: a window cannot count on
  // being allowed to bring another to the front.
  window.Show(false);
  m.images.canvas.CopyRect(kRestoredArea, m.images.Backup(), kRestoredArea);
}

}  // namespace quillo
