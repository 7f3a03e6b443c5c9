// The colour field editor's controls at the design size of 1024 x 768: the controls
// panel with a picture of the field's layout (corner labels around a miniature of the
// field, the centre layout's labels over them and over the same miniature), the editor's mixer, the
// group buttons, the four colour sets and the file buttons.
#include <array>

#include "colour/space_color_form.h"
#include "form/layout.h"
#include "form/palette.h"

namespace quillo {
namespace {

using namespace layout;

constexpr Color kPanel = palette::kGroup;
constexpr Color kSet = palette::kStrip;
constexpr Color kC = Rgb(0, 0, 255);
constexpr Color kV = Rgb(255, 0, 0);
constexpr Color kH = Rgb(0, 255, 0);
constexpr int8_t kGroups = 1;  // the group buttons' radio group

constexpr LayoutRow Swatch(const char* name, const char* parent, int16_t left, Color color,
                           const char* hint) {
  return {name, L, parent, left, 34, 48, 52, "", hint, color, kNoColor, 7, 0};
}

constexpr LayoutRow FieldLabel(const char* name, const char* parent, int16_t left, int16_t top,
                               Color color, const char* hint) {
  return {name, L, parent, left, top, 64, 44, "", hint, color, kNoColor, 7, 0};
}

constexpr auto kRows = std::to_array<LayoutRow>({
    {"Panel1", P, nullptr, 112, 84, 800, 600, "", "", kPanel},
    {"Label21", L, "Panel1", 20, 8, 360, 24, "COLOR FIELD", "", kNoColor, kWhite, 11,
     kBold | kNoHint},
    FieldLabel("lefttop", "Panel1", 20, 40, kC, "CORNER COLOR"),
    FieldLabel("righttop", "Panel1", 316, 40, kC, "CORNER COLOR"),
    FieldLabel("leftbottom", "Panel1", 20, 266, kC, "CORNER COLOR"),
    FieldLabel("rightbottom", "Panel1", 316, 266, kC, "CORNER COLOR"),
    FieldLabel("topV", "Panel1", 168, 40, kV, "VERTICAL COLOR"),
    FieldLabel("bottomV", "Panel1", 168, 266, kV, "VERTICAL COLOR"),
    FieldLabel("leftH", "Panel1", 20, 153, kH, "HORIZONTAL COLOR"),
    FieldLabel("rightH", "Panel1", 316, 153, kH, "HORIZONTAL COLOR"),
    // The whole field in miniature, framed by the labels of its edges and corners.
    {"FieldPreview", ControlKind::kImage, "Panel1", 92, 92, 216, 166, "",
     "THE WHOLE COLOR FIELD AS IT IS NOW"},
    {"Panel3", P, "Panel1", 20, 40, 360, 270, "", "", kPanel, kNoColor, 7, kHidden},
    // The same miniature under the centre colour, which it shows in its middle.
    {"CenterFieldPreview", ControlKind::kImage, "Panel3", 72, 52, 216, 166, "",
     "THE WHOLE COLOR FIELD AS IT IS NOW"},
    FieldLabel("CenterCol", "Panel3", 148, 113, kC, "CENTER COLOR"),
    FieldLabel("leftV", "Panel3", 0, 113, kV, "VERTICAL COLOR"),
    FieldLabel("rightV", "Panel3", 296, 113, kV, "VERTICAL COLOR"),
    FieldLabel("topH", "Panel3", 148, 0, kH, "HORIZONTAL COLOR"),
    FieldLabel("bottomH", "Panel3", 148, 226, kH, "HORIZONTAL COLOR"),

    {"Label22", L, "Panel1", 410, 8, 370, 24, "MIXER", "", kNoColor, kWhite, 11, kBold | kNoHint},
    {"Label20", L, "Panel1", 410, 40, 44, 64, "", "MORE OF ALL THREE, DOUBLE CLICK = WHITE", kWhite,
     kBlack, 9, kBold},
    {"redlbl", L, "Panel1", 460, 40, 72, 64, "",
     "Left Button = More Red, Right Button = Less Red, Double Click = Primary Red", Rgb(255, 0, 0),
     kWhite, 12, kBold},
    {"greenlbl", L, "Panel1", 538, 40, 72, 64, "",
     "Left Button = More Green, Right Button = Less Green, Double Click = Primary Green",
     Rgb(0, 255, 0), kBlack, 12, kBold},
    {"bluelbl", L, "Panel1", 616, 40, 72, 64, "",
     "Left Button = More Blue, Right Button = Less Blue, Double Click = Primary Blue",
     Rgb(0, 0, 255), kWhite, 12, kBold},
    {"Label19", L, "Panel1", 694, 40, 44, 64, "", "LESS OF ALL THREE, DOUBLE CLICK = BLACK", kBlack,
     kWhite, 9, kBold},
    {"mix", L, "Panel1", 744, 40, 36, 64, "", "", Rgb(192, 192, 192), kNoColor, 7, kNoHint},
    {"horizontal", B, "Panel1", 410, 116, 112, 34, "Horizontal", "MIX THE HORIZONTAL COLOR",
     kNoColor, kNoColor, 8, kBold, kGroups},
    {"corners", B, "Panel1", 528, 116, 124, 34, "Corners/Center", "MIX THE CORNER COLOR", kNoColor,
     kNoColor, 8, kBold, kGroups},
    {"vertical", B, "Panel1", 658, 116, 122, 34, "Vertical", "MIX THE VERTICAL COLOR", kNoColor,
     kNoColor, 8, kBold, kGroups},
    {"SpeedButton10", B, "Panel1", 410, 160, 112, 34, "CenterColor", "CORNER COLORS TO THE CENTER",
     kNoColor, kNoColor, 8, kBold | kAllUp, 2},
    {"SpeedButton4", B, "Panel1", 528, 160, 124, 34, "DefaultColor", "BACK TO THE FIRST COLORS",
     kNoColor, kNoColor, 8, kBold},
    {"SpeedButton3", B, "Panel1", 658, 160, 122, 34, "ResetColors",
     "CLICK, THEN CLICK A SET TO STORE THE COLORS IN IT", kNoColor, kNoColor, 8, kBold | kAllUp, 3},
    {"Label1", L, "Panel1", 410, 206, 182, 48, "Realise ColorField",
     "Show the whole colour field; Escape, Space or a click brings these controls back",
     Rgb(0, 120, 200), kWhite, 10, kBold | kWrap},
    {"Label4", L, "Panel1", 598, 206, 182, 48, "   Copy    ColorField",
     "paints Colorfield over picture", Rgb(0, 150, 90), kWhite, 10, kBold | kWrap},
    {"SpeedButton1", B, "Panel1", 410, 266, 112, 34, "Get Colors", "LOAD COLOR SETS", kNoColor,
     kNoColor, 8, kBold},
    {"SpeedButton2", B, "Panel1", 528, 266, 124, 34, "SaveColors", "SAVE COLOR SETS", kNoColor,
     kNoColor, 8, kBold},
    {"Label3", L, "Panel1", 658, 266, 122, 34, "Close", "Return to Drawing", Rgb(200, 30, 60),
     kWhite, 10, kBold},
    {"Label8", L, "Panel1", 410, 308, 370, 18, "", "", kNoColor, Rgb(255, 255, 0), 7, kNoHint},

    {"Label23", L, "Panel1", 20, 336, 760, 22, "COLOR SETS: CLICK ONE TO USE IT", "", kNoColor,
     kWhite, 10, kBold | kNoHint},
    {"Panel2", P, "Panel1", 20, 364, 184, 100, "  1", "USE COLOR SET 1", kSet, kWhite, 11},
    Swatch("Label7", "Panel2", 10, kC, "CORNER COLOR OF SET 1"),
    Swatch("Label6", "Panel2", 68, kH, "VERTICAL COLOR OF SET 1"),
    Swatch("Label5", "Panel2", 126, kV, "HORIZONTAL COLOR OF SET 1"),
    {"Panel4", P, "Panel1", 212, 364, 184, 100, "  2", "USE COLOR SET 2", kSet, kWhite, 11},
    Swatch("Label12", "Panel4", 10, kC, "CORNER COLOR OF SET 2"),
    Swatch("Label11", "Panel4", 68, kH, "VERTICAL COLOR OF SET 2"),
    Swatch("Label10", "Panel4", 126, kV, "HORIZONTAL COLOR OF SET 2"),
    {"Panel5", P, "Panel1", 404, 364, 184, 100, "  3", "USE COLOR SET 3", kSet, kWhite, 11},
    Swatch("Label15", "Panel5", 10, kC, "CORNER COLOR OF SET 3"),
    Swatch("Label14", "Panel5", 68, kH, "VERTICAL COLOR OF SET 3"),
    Swatch("Label13", "Panel5", 126, kV, "HORIZONTAL COLOR OF SET 3"),
    {"Panel6", P, "Panel1", 596, 364, 184, 100, "  4", "USE COLOR SET 4", kSet, kWhite, 11},
    Swatch("Label18", "Panel6", 10, kC, "CORNER COLOR OF SET 4"),
    Swatch("Label17", "Panel6", 68, kH, "VERTICAL COLOR OF SET 4"),
    Swatch("Label16", "Panel6", 126, kV, "HORIZONTAL COLOR OF SET 4"),
    {"SpeedButton8", B, "Panel1", 20, 480, 140, 34, "Get Key Colors",
     "LOAD THE COLOR SETS OF THE KEYS Q TO O", kNoColor, kNoColor, 8, kBold},
    {"SpeedButton9", B, "Panel1", 166, 480, 140, 34, "Save Key Colors",
     "SAVE THE COLOR SETS OF THE KEYS Q TO O", kNoColor, kNoColor, 8, kBold},
    {"Label48", L, "Panel1", 312, 488, 468, 18, "", "", kNoColor, Rgb(255, 255, 0), 7, kNoHint},
    {"Label24", L, "Panel1", 20, 526, 760, 66,
     "Hold a mixer color down with the left button for more, the right button for less. Pick "
     "Horizontal, Corners/Center or Vertical to mix that part of the field. Keys q to o apply "
     "the key color sets, Shift with Q to O stores the field in one. Enter returns to drawing.",
     "", kNoColor, Rgb(200, 220, 240), 9, kWrap | kNoHint},
});

}  // namespace

void SpaceColorForm::BuildLayout() {
  Form& f = window.form;
  AddLayout(f, kRows);
  auto id = [&](const char* name) { return f.Id(name); };
  c_.Panel1 = id("Panel1");
  c_.Panel3 = id("Panel3");
  c_.FieldPreview = id("FieldPreview");
  c_.CenterFieldPreview = id("CenterFieldPreview");
  c_.mixer[0] = id("redlbl");
  c_.mixer[1] = id("greenlbl");
  c_.mixer[2] = id("bluelbl");
  c_.Label20 = id("Label20");
  c_.Label19 = id("Label19");
  c_.mix = id("mix");
  c_.horizontal = id("horizontal");
  c_.corners = id("corners");
  c_.vertical = id("vertical");
  c_.SpeedButton10 = id("SpeedButton10");
  c_.SpeedButton3 = id("SpeedButton3");
  c_.Label8 = id("Label8");
  c_.SpeedButton8 = id("SpeedButton8");
  c_.SpeedButton9 = id("SpeedButton9");
  c_.Label48 = id("Label48");
  c_.setPanels = {id("Panel2"), id("Panel4"), id("Panel5"), id("Panel6")};
  c_.swatches = {{{id("Label7"), id("Label6"), id("Label5")},
                  {id("Label12"), id("Label11"), id("Label10")},
                  {id("Label15"), id("Label14"), id("Label13")},
                  {id("Label18"), id("Label17"), id("Label16")}}};
  c_.cornerGroup = {id("lefttop"), id("righttop"), id("leftbottom"), id("rightbottom"),
                    id("CenterCol")};
  c_.verticalGroup = {id("topV"), id("bottomV"), id("leftV"), id("rightV")};
  c_.horizontalGroup = {id("leftH"), id("rightH"), id("topH"), id("bottomH")};
}

}  // namespace quillo
