// The main window's controls at the design size of 1024 x 768: the bottom strip
// Panel1 with the tool bar panel4, the file and replay strip Panel2, the settings
// strip Panel5, the tutorial strip Panel8 and the first-run message Label49.
#include <array>

#include "app/paint_log.h"
#include "form/layout.h"
#include "form/palette.h"
#include "log/action_log.h"
#include "tools/specials.h"

namespace quillo {
namespace {

using namespace layout;

// Every strip shares one background; its font colour is the accent of its function.
constexpr Color kStrip = palette::kStrip;
constexpr Color kToolBar = palette::kGroup;
constexpr Color kFace = palette::kButtonFace;
constexpr Color kInk = palette::kInk;
constexpr Color kTitleInk = palette::kTitle;
constexpr Color kWell = palette::kWell;  // value displays
constexpr Color kDraw = palette::kDrawAccent;
constexpr Color kView = palette::kViewAccent;
constexpr Color kReplay = palette::kReplayAccent;
constexpr Color kSettings = palette::kSettingsAccent;

constexpr int8_t kPenModes = 3;   // radio group of the pen-mode buttons
constexpr int8_t kCopyModes = 4;  // radio group of the copy-mode buttons
constexpr int8_t kReplayGroup = 1;
constexpr int8_t kToolTag = 10;  // how the tool buttons are found

// A tool button of the tool bar: a coloured label, tag 10.
constexpr LayoutRow Tool(const char* name, int16_t left, const char* caption, const char* hint,
                         Color color, const char* glyph) {
  return {name, L,     "panel4", left, 12,    36, 62,    caption,
          hint, color, kWhite,   5,    kBold, 0,  glyph, kToolTag};
}

// A button of the small grid beside the tools: a picture in its group's accent
// above a short word.
constexpr LayoutRow Grid(const char* name, int16_t left, int16_t top, const char* word,
                         const char* hint, Color accent, uint16_t flags, int8_t group,
                         const char* glyph) {
  return {name, B,        "panel4", left, top,   28,    23,   word,
          hint, kNoColor, accent,   5,    flags, group, glyph};
}

constexpr auto kRows = std::to_array<LayoutRow>({
    // The bottom strip and its colour, pen and replay controls.
    {"Panel1", P, nullptr, 0, 687, 1024, 81, "", "", kStrip, kDraw},
    {"redlbl", L, "Panel1", 4, 4, 26, 22, "",
     "Left Button = More Red, Right Button = Less Red, Double Click = Primary Red", Rgb(255, 0, 0)},
    {"greenlbl", L, "Panel1", 32, 4, 26, 22, "",
     "Left Button = More Green, Right Button = Less Green, Double Click = Primary Green",
     Rgb(0, 255, 0)},
    {"bluelbl", L, "Panel1", 60, 4, 26, 22, "",
     "Left Button = More Blue, Right Button = Less Blue, Double Click = Primary Blue",
     Rgb(0, 0, 255)},
    {"mix", L, "Panel1", 4, 28, 82, 19, "",
     "CLICK TO DRAW AND CLEAR IN THE MIXED COLOR, CTRL+CLICK TAKES THE PEN COLOR",
     Rgb(192, 192, 192)},
    {"Label6", L, "Panel1", 90, 4, 22, 22, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(187, 0, 204)},
    {"Label7", L, "Panel1", 114, 4, 22, 22, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(153, 0, 255)},
    {"Label8", L, "Panel1", 138, 4, 22, 22, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(0, 153, 255)},
    {"Label9", L, "Panel1", 162, 4, 22, 22, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(0, 221, 255)},
    {"Label10", L, "Panel1", 90, 28, 22, 19, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(0, 255, 204)},
    {"Label11", L, "Panel1", 114, 28, 22, 19, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(250, 255, 0)},
    {"Label12", L, "Panel1", 138, 28, 22, 19, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(255, 153, 0)},
    {"Label13", L, "Panel1", 162, 28, 22, 19, "",
     "CLICK TO DRAW IN THIS COLOR, DOUBLE CLICK TO TAKE THE MIXED COLOR", Rgb(187, 85, 0)},
    {"PenWtitle", L, "Panel1", 4, 48, 82, 10, "PEN WIDTH", "", kNoColor, kTitleInk, 5,
     kBold | kNoHint | kTitle},
    {"Label21", L, "Panel1", 4, 58, 20, 20, "-", "REDUCE PEN WIDTH", kFace, kInk, 10, kBold},
    {"PenWlabel", L, "Panel1", 26, 58, 38, 20, "32", "PEN WIDTH", kWell, kYellow, 9, kBold},
    {"Label23", L, "Panel1", 66, 58, 20, 20, "+", "INCREASE PEN WIDTH", kFace, kInk, 10, kBold},
    {"SpecTitle", L, "Panel1", 90, 48, 94, 10, "RANDOM VALUE", "", kNoColor, kTitleInk, 5,
     kBold | kNoHint | kTitle},
    {"Label26", L, "Panel1", 90, 58, 20, 20, "<", "DECREMENT RANDOM", kFace, kInk, 10, kBold},
    {"SpecLBL", L, "Panel1", 112, 58, 50, 20, "01", "RANDOM TOOL VALUE", kWell, kLime, 9, kBold},
    {"Label27", L, "Panel1", 164, 58, 20, 20, ">", "INCREMENT RANDOM", kFace, kInk, 10, kBold},
    {"LOGREPLAYBTN", L, "Panel1", 900, 4, 64, 22, "REPLAY", "REPLAY DRAWING, UPTO 6000 MOVES",
     kBlack, kYellow, 8, kHidden | kBold},
    {"loopbtn", L, "Panel1", 966, 4, 54, 22, "LOOP", "REPLAYS CONTINUOUSLY", kBlack, kLime, 8,
     kBold},
    {"newbtn", L, "Panel1", 900, 29, 64, 22, "NEW", "CLICK TO DELETE RECORDING", kBlack, kWhite, 8,
     kHidden | kBold},
    {"LogStopBtn", L, "Panel1", 966, 29, 54, 22, "STOP", "STOP REPLAY", kBlack, Rgb(255, 60, 60), 8,
     kHidden | kBold},
    {"SpeedButton32", B, "Panel1", 900, 54, 120, 23, "CLOSE", "CLOSE QUILLO", kNoColor, kInk, 7,
     kBold},

    // The tool bar.
    {"panel4", P, "Panel1", 190, 2, 706, 77, "", "", kToolBar},
    Tool("freebtn", 4, "FREE", "FINGERPAINT", kToolOn, "tool-fingerpaint"),
    Tool("linebtn", 42, "RADIAL", "RADIAL", kToolOff, "tool-radial"),
    Tool("rectbtn", 80, "RECT", "RECTANGULAR", kToolOff, "tool-rectangular"),
    Tool("roundrectbtn", 118, "SCREEN", "SCREEN", kToolOff, "tool-screen"),
    Tool("ellipsebtn", 156, "ORBIT", "ORBIT", kToolOff, "tool-orbit"),
    Tool("wavebtn", 194, "WAVES", "WAVES", kToolOff, "tool-waves"),
    Tool("nuwavebtn", 232, "WEB", "WEB", kToolOff, "tool-web"),
    {"autoOnOffBtn", L, "panel4", 272, 2, 188, 8, "",
     "TOOLS UNDER RED BAR CHANGE EACH TIME YOU CLICK ON THEM", Rgb(255, 0, 0)},
    Tool("Nuwavespecialbtn", 272, "ALIENS", "ALIENS", kToolOff, "tool-aliens"),
    Tool("Nuwavespec2btn", 310, "TWISTER", "TWISTER", kToolOff, "tool-twister"),
    Tool("wave3btn", 348, "CPU", "CPU", kToolOff, "tool-cpu"),
    Tool("wave4btn", 386, "DO LOOP", "DO LOOP", kToolOff, "tool-doloop"),
    Tool("newtestbtn", 424, "BIOS", "BIOS", kToolOff, "tool-bios"),
    // The two clears share a cell, so that undo and redo sit side by side.
    {"Label5", L, "panel4", 466, 2, 14, 23, "W", "CLEAR SCREEN TO WHITE", kWhite, kBlack, 7, kBold},
    {"Label18", L, "panel4", 480, 2, 14, 23, "B", "CLEAR SCREEN TO BLACK", kBlack, kWhite, 7,
     kBold},
    Grid("SpeedButton25", 496, 2, "UNDO", "CLICK TO UNDO", kDraw, 0, 0, "undo"),
    Grid("redobtn", 526, 2, "REDO", "CLICK TO REDO WHAT UNDO TOOK BACK (CTRL+Y)", kDraw, 0, 0,
         "redo"),
    Grid("SpeedButton29", 556, 2, "NEG", "MAKE SELECTION NEGATIVE", kDraw, 0, 0, "negative"),
    Grid("SpeedButton34", 586, 2, "SEL", "SELECT", kDraw, kAllUp, 5, "select"),
    Grid("SpeedButton37", 616, 2, "ALL", "SELECT ALL", kDraw, 0, 0, "select-all"),
    Grid("SpeedButton38", 646, 2, "COPY", "COPY", kDraw, 0, 0, "copy"),
    Grid("SpeedButton39", 676, 2, "PASTE", "PASTE", kDraw, 0, 0, "paste"),
    Grid("SpeedButton42", 466, 27, "IN", "ZOOM IN", kView, 0, 0, "zoom-in"),
    Grid("SpeedButton46", 496, 27, "OUT", "ZOOM OUT", kView, 0, 0, "zoom-out"),
    Grid("SpeedButton50", 526, 27, "DRAG", "DRAG SCREEN,  HIDE TOOLBAR TO OPERATE", kView, kAllUp,
         6, "drag"),
    Grid("SpeedButton51", 556, 27, "FLY", "FLY SCREEN,  HIDE TOOLBAR TO OPERATE", kView, 0, 0,
         "fly"),
    Grid("SpeedButton47", 586, 27, "SAVE", "SAVE PICTURE", kReplay, 0, 0, "save"),
    Grid("AVI_btn", 616, 27, "BLUE", "BLUE BACKGROUND", kDraw, 0, 0, "background"),
    Grid("SpeedButton52", 646, 27, "FIELD", "CHANGE THE COLOR FIELD", kDraw, 0, 0, "colour-field"),
    {"Label42", L, "panel4", 676, 27, 9, 23, "", "", Rgb(0, 255, 0), kNoColor, 7, kNoHint},
    {"Label17", L, "panel4", 685, 27, 10, 23, "", "", Rgb(255, 0, 0), kNoColor, 7, kNoHint},
    {"Label43", L, "panel4", 695, 27, 9, 23, "", "", Rgb(0, 0, 255), kNoColor, 7, kNoHint},
    {"Label16", L, "panel4", 676, 27, 28, 23, "color", "CLICK TO CHANGE COLORS", kNoColor, kWhite,
     6, kBold},
    Grid("SpeedButton53", 466, 52, "FILES", "FILE AND REPLAY TOOLS", kReplay, 0, 0, "file-panel"),
    Grid("SpeedButton54", 496, 52, "SETUP", "SETTINGS AND ADVANCED TOOLS", kSettings, 0, 0,
         "settings-panel"),
    Grid("SpeedButton58", 526, 52, "AUTO", "TURN OFF AUTO PEN WIDTH", kSettings, kAllUp, 8,
         "auto-width"),
    Grid("SpeedButton23", 556, 52, "HINTS", "CLICK DOWN TO SWITCH OFF HINTS", kSettings, kAllUp, 9,
         "hints"),
    Grid("memobtn", 586, 52, "HELP", "HELP", kSettings, 0, 0, "help"),
    {"SpeedButton21", B, "panel4", 616, 52, 58, 23, "#",
     "CLICK DOWN TO STOP COLORS CHANGING AT RANDOM", kNoColor, kSettings, 5, kDown | kAllUp | kBold,
     10, "random-colours"},
    {"Label46", L, "panel4", 676, 52, 28, 23, "CTR", "CENTRE LAYOUT OF THE COLOR FIELD", kBlack,
     kYellow, 6, kHidden | kBold},

    // File and replay tools.
    {"Panel2", P, nullptr, 0, 687, 1024, 81, "", "", kStrip, kReplay, 7, kHidden},
    {"lblj", L, "Panel2", 8, 6, 90, 30, "0", "ENTRIES IN THE RECORDING", kWell, kYellow, 12, kBold},
    {"btnzero", B, "Panel2", 104, 6, 52, 30, "ZERO", "BACK TO THE START OF THE RECORDING", kNoColor,
     kNoColor, 7, kAllUp | kBold, kReplayGroup},
    {"BTNSTOP", B, "Panel2", 158, 6, 52, 30, "STOP", "PAUSE", kNoColor, kNoColor, 7,
     kDown | kAllUp | kBold, kReplayGroup},
    {"BTNPLAY", B, "Panel2", 212, 6, 52, 30, "PLAY", "PLAY ON FROM HERE", kNoColor, kNoColor, 7,
     kAllUp | kBold, kReplayGroup},
    {"BTNX2", B, "Panel2", 266, 6, 34, 30, "STEP", "ONE STEP", kNoColor, kNoColor, 5, kAllUp,
     kReplayGroup, "arrow-right"},
    {"SpeedButton41", B, "Panel2", 302, 6, 34, 30, "REPEAT", "REPEAT", kNoColor, kNoColor, 5,
     kAllUp, 2, "repeat"},
    {"Label1", L, "Panel2", 344, 6, 150, 13, "SPEED", "", kNoColor, kTitleInk, 7,
     kBold | kNoHint | kTitle},
    {"ScrollBar3", S, "Panel2", 344, 21, 150, 15, "", "REPLAY SPEED"},
    {"Edit3", E, "Panel2", 502, 6, 60, 30, "0", "POSITION TO GO TO"},
    {"SpeedButton43", B, "Panel2", 564, 6, 34, 30, "GO", "GO TO POSITION", kNoColor, kNoColor, 5, 0,
     0, "return"},
    {"SpeedButton3", B, "Panel2", 8, 44, 72, 30, "SaveLog", "SAVE THE RECORDING", kNoColor,
     kNoColor, 7, kBold},
    {"VideoBtn", B, "Panel2", 84, 44, 72, 30, "VIDEO", "SAVE THE REPLAY AS A VIDEO OR GIF",
     kNoColor, kNoColor, 7, kBold},
    {"SpeedButton33", B, "Panel2", 160, 44, 72, 30, "OpenLog", "OPEN A RECORDING", kNoColor,
     kNoColor, 7, kBold},
    {"Label2", L, "Panel2", 238, 50, 258, 18, "", "", kNoColor, kYellow, 7, kNoHint},
    {"SpeedButton30", B, "Panel2", 502, 44, 72, 30, "OpenPic", "OPEN A PICTURE", kNoColor, kNoColor,
     7, kBold},
    {"SpeedButton31", B, "Panel2", 578, 44, 72, 30, "SavePic", "SAVE THE PICTURE", kNoColor,
     kNoColor, 7, kBold},
    {"Label14", L, "Panel2", 834, 6, 60, 30, "CLEAR", "CLEAR THE SCREEN", kWhite, kBlack, 8, kBold},
    {"SpeedButton40", B, "Panel2", 898, 6, 122, 30, "TOOLS", "BACK TO THE DRAWING TOOLS", kNoColor,
     kNoColor, 8, kBold},
    {"SpeedButton2", B, "Panel2", 834, 44, 60, 30, "HIDE",
     "Show the colour field picture over the drawing, put down by the copy mode", kNoColor,
     kNoColor, 7, kBold},
    {"SpeedButton4", B, "Panel2", 898, 44, 38, 30, "_", "MINIMISE", kNoColor, kNoColor, 8, kBold},
    {"SpeedButton5", B, "Panel2", 940, 44, 38, 30, "?", "HELP", kNoColor, kNoColor, 8, kBold},
    {"SpeedButton6", B, "Panel2", 982, 44, 38, 30, "X", "CLOSE QUILLO", kNoColor, kNoColor, 8,
     kBold},

    // System settings and advanced tools.
    {"Panel5", P, nullptr, 0, 687, 1024, 81, "", "", kStrip, kSettings, 7, kHidden},
    {"Label30", L, "Panel5", 4, 2, 232, 14, "PEN MODES", "8 Pen Modes Click to Choose other Modes",
     kNoColor, kTitleInk, 7, kBold | kTitle},
    {"SpeedButton20", B, "Panel5", 4, 18, 24, 24, "N", "Draw in the pen's colour (normal)",
     kNoColor, kNoColor, 7, kDown | kBold, kPenModes},
    {"SpeedButton1", B, "Panel5", 30, 18, 24, 24, "1",
     "Draw the opposite of the colours under the pen (pmNot)", kNoColor, kNoColor, 7, kBold,
     kPenModes},
    {"SpeedButton13", B, "Panel5", 56, 18, 24, 24, "2",
     "Draw in the pen's colour mixed with the opposite of the picture (pmMergePenNot)", kNoColor,
     kNoColor, 7, kBold, kPenModes},
    {"SpeedButton14", B, "Panel5", 82, 18, 24, 24, "3",
     "Draw only where the picture is dark (pmMaskPenNot)", kNoColor, kNoColor, 7, kBold, kPenModes},
    {"SpeedButton15", B, "Panel5", 108, 18, 24, 24, "4",
     "Brighten the picture with the pen's opposite colour (pmMergeNotPen)", kNoColor, kNoColor, 7,
     kBold, kPenModes},
    {"SpeedButton16", B, "Panel5", 134, 18, 24, 24, "5",
     "Make the picture brighter with the pen (pmMerge)", kNoColor, kNoColor, 7, kBold, kPenModes},
    {"SpeedButton17", B, "Panel5", 160, 18, 24, 24, "6",
     "Draw by swapping colours where pen and picture share them (pmNotMask)", kNoColor, kNoColor, 7,
     kBold, kPenModes},
    {"SpeedButton18", B, "Panel5", 186, 18, 24, 24, "7",
     "Draw by swapping colours: draw twice and it is gone (pmXor)", kNoColor, kNoColor, 7, kBold,
     kPenModes},
    {"SpeedButton19", B, "Panel5", 212, 18, 24, 24, "8",
     "Draw by swapping colours the other way round (pmNotXor)", kNoColor, kNoColor, 7, kBold,
     kPenModes},
    {"Panel6", P, "Panel5", 0, 44, 240, 36, "", "", kStrip},
    {"Label44", L, "Panel6", 4, 0, 232, 12, "Cm", "COPY MODES", kNoColor, kTitleInk, 7,
     kBold | kTitle},
    {"SrcCopy", B, "Panel6", 4, 12, 24, 24, "N", "Put pictures down as they are (normal)", kNoColor,
     kNoColor, 7, kDown | kBold, kCopyModes},
    {"DstInvert", B, "Panel6", 30, 12, 24, 24, "1",
     "Turn the picture into its negative (cmDstInvert)", kNoColor, kNoColor, 7, kBold, kCopyModes},
    {"MergeCopy", B, "Panel6", 56, 12, 24, 24, "2",
     "Put pictures down mixed with the brush colour (cmMergeCopy)", kNoColor, kNoColor, 7, kBold,
     kCopyModes},
    {"MergePaint", B, "Panel6", 82, 12, 24, 24, "3",
     "Brighten the picture with the negative of what is put down (cmMergePaint)", kNoColor,
     kNoColor, 7, kBold, kCopyModes},
    {"NotSrcErase", B, "Panel6", 108, 12, 24, 24, "4",
     "Only where both are dark, as a negative (cmNotSrcErase)", kNoColor, kNoColor, 7, kBold,
     kCopyModes},
    {"SrcAnd", B, "Panel6", 134, 12, 24, 24, "5",
     "Only where it is dark: the darker parts of both stay (cmSrcAnd)", kNoColor, kNoColor, 7,
     kBold, kCopyModes},
    {"SrcErase", B, "Panel6", 160, 12, 24, 24, "6",
     "Put pictures down only where the picture is dark (cmSrcErase)", kNoColor, kNoColor, 7, kBold,
     kCopyModes},
    {"SrcInvert", B, "Panel6", 186, 12, 24, 24, "7",
     "Put pictures down by swapping colours (cmSrcInvert)", kNoColor, kNoColor, 7, kBold,
     kCopyModes},
    {"SrcPaint", B, "Panel6", 212, 12, 24, 24, "8",
     "Only where it is bright: the brighter parts of both stay (cmSrcPaint)", kNoColor, kNoColor, 7,
     kBold, kCopyModes},
    {"Panel7", P, "Panel5", 246, 2, 250, 77, "", "", kToolBar},
    {"Label37", L, "Panel7", 2, 4, 64, 16, "Frequency", "", kNoColor, kTitleInk, 7,
     kBold | kNoHint | kTitle},
    {"ScrollBar1", S, "Panel7", 68, 4, 146, 16, "", "WAVES FREQUENCY"},
    {"Label38", L, "Panel7", 218, 4, 30, 16, "1", "", kWell, kYellow, 7, kBold | kNoHint},
    {"Label45", L, "Panel7", 2, 30, 64, 16, "WAVES", "", kNoColor, kTitleInk, 7,
     kBold | kNoHint | kTitle},
    {"ScrollBar2", S, "Panel7", 68, 30, 146, 16, "", "SECOND WAVES FREQUENCY"},
    {"Label39", L, "Panel7", 218, 30, 30, 16, "8", "", kWell, kYellow, 7, kBold | kNoHint},
    {"Label47", L, "Panel7", 2, 56, 64, 16, "Phase", "", kNoColor, kTitleInk, 7,
     kBold | kNoHint | kTitle},
    {"ScrollBar5", S, "Panel7", 68, 56, 146, 16, "", "WAVES PHASE"},
    {"Label40", L, "Panel7", 218, 56, 30, 16, "0", "", kWell, kYellow, 7, kBold | kNoHint},
    {"Label48", L, "Panel5", 502, 2, 200, 14, "RED BAR TOOLS", "", kNoColor, Rgb(255, 96, 96), 7,
     kBold | kNoHint | kTitle},
    {"SpeedButton26", B, "Panel5", 502, 18, 24, 24, "<", "DECREASE SPEC", kNoColor, kNoColor, 8,
     kBold},
    {"Label35", L, "Panel5", 528, 18, 40, 24, "0", "SPEC NUMBER", kWell, kLime, 8, kBold},
    {"SpeedButton27", B, "Panel5", 570, 18, 24, 24, ">", "INCREASE SPEC", kNoColor, kNoColor, 8,
     kBold},
    {"Label36", L, "Panel5", 598, 18, 50, 24, "0", "SPEC A", kWell, kYellow, 8, kBold},
    {"Label41", L, "Panel5", 650, 18, 50, 24, "0", "SPEC B", kWell, kYellow, 8, kBold},
    {"Edit1", E, "Panel5", 502, 48, 62, 28, "0", "NEW SPEC A, 0 TO 32767"},
    {"Edit2", E, "Panel5", 566, 48, 62, 28, "0", "NEW SPEC B, 0 TO 65535"},
    {"SpeedButton28", B, "Panel5", 630, 48, 70, 28, "ENTER", "ENTER SPEC", kNoColor, kNoColor, 7,
     kBold},
    {"Wildbtn", B, "Panel5", 706, 18, 56, 24, "WILD", "WILD", kNoColor, kNoColor, 7, kAllUp | kBold,
     11},
    {"SpeedButton35", B, "Panel5", 706, 48, 60, 28, "GetSpec", "LOAD SPECIALS", kNoColor, kNoColor,
     7, kBold},
    {"SpeedButton36", B, "Panel5", 768, 48, 60, 28, "SaveSpec", "SAVE SPECIALS", kNoColor, kNoColor,
     7, kBold},
    {"Label25", L, "Panel5", 768, 2, 64, 14, "ColorMode", "", kNoColor, kTitleInk, 6,
     kBold | kNoHint | kTitle},
    {"SpeedButton9", B, "Panel5", 768, 18, 20, 24, "S", "Wonderful Colours Chosen for You",
     kNoColor, kNoColor, 7, kDown | kBold, 12},
    {"SpeedButton8", B, "Panel5", 789, 18, 20, 24, "P",
     "Mix your own Colors, Click Tools to close this palette and show Palette", kNoColor, kNoColor,
     7, kBold, 12},
    {"SpeedButton24", B, "Panel5", 810, 18, 20, 24, "C", "", kNoColor, kNoColor, 7, kBold | kNoHint,
     12},
    {"Label15", L, "Panel5", 834, 6, 60, 30, "CLEAR", "CLEAR THE SCREEN", kWhite, kBlack, 8, kBold},
    {"SpeedButton22", B, "Panel5", 898, 6, 60, 30, "TOOLS", "BACK TO THE DRAWING TOOLS", kNoColor,
     kNoColor, 8, kBold},
    {"LanguageBtn", B, "Panel5", 962, 6, 58, 30, "English", "LANGUAGE", kNoColor, kNoColor, 7,
     kBold},
    {"SpeedButton45", B, "Panel5", 834, 44, 60, 30, "HIDE",
     "Show the colour field picture over the drawing, put down by the copy mode", kNoColor,
     kNoColor, 7, kBold},
    {"SpeedButton7", B, "Panel5", 898, 44, 38, 30, "_", "MINIMISE", kNoColor, kNoColor, 8, kBold},
    {"SpeedButton11", B, "Panel5", 940, 44, 38, 30, "?", "HELP", kNoColor, kNoColor, 8, kBold},
    {"SpeedButton12", B, "Panel5", 982, 44, 38, 30, "X", "CLOSE QUILLO", kNoColor, kNoColor, 8,
     kBold},

    // The tutorial strip along the top.
    {"Panel8", P, nullptr, 0, 0, 1024, 49, "", "", Rgb(0, 0, 255), kNoColor, 7, kHidden},
    {"Label24", L, "Panel8", 8, 8, 60, 33, "RUN", "RUN THE TUTORIAL AGAIN", Rgb(0, 0, 160), kLime,
     16, kBold},
    {"Label28", L, "Panel8", 76, 0, 944, 49,
     "Try clicking down and drawing anywhere in the black area, that's FINGERPAINT", "", kNoColor,
     kLime, 14, kHidden | kBold | kWrap | kNoHint},
    {"Label29", L, "Panel8", 76, 0, 944, 49,
     "Keep drawing wiggles and squiggles: the REPLAY button shows at the bottom right once you "
     "have drawn enough. Then click REPLAY",
     "", kNoColor, kLime, 14, kHidden | kBold | kWrap | kNoHint},
    {"Label31", L, "Panel8", 76, 0, 944, 49,
     "After you have watched your fingerpaint replay, click the LOOP button and then click REPLAY "
     "again",
     "", kNoColor, kLime, 14, kHidden | kBold | kWrap | kNoHint},
    {"Label32", L, "Panel8", 76, 0, 944, 49,
     "While replay is looping, try clicking all the drawing tool buttons, the color, black and "
     "white. Press STOP any time and you can start your own experimenting!",
     "", kNoColor, kLime, 12, kHidden | kBold | kWrap | kNoHint},
    {"Label33", L, "Panel8", 76, 0, 944, 49,
     "NEW will clear REPLAY memory. There are hints on all the buttons about extra features. Click "
     "RUN to run tutorial again or click on this message to exit tutorial.",
     "", kNoColor, kLime, 12, kHidden | kBold | kWrap | kNoHint},

    // The first-run message.
    {"Label49", L, nullptr, 212, 330, 600, 80,
     "Please wait while we initialize your system, this is only necessary the first time Quillo "
     "opens.",
     "", Rgb(0, 0, 120), kWhite, 14, kHidden | kBold | kWrap | kNoHint},
});

}  // namespace

void PaintLog::BuildLayout() {
  Form& f = window.form;
  AddLayout(f, kRows);
  auto id = [&](const char* name) { return f.Id(name); };
  c.Panel1 = id("Panel1");
  c.panel4 = id("panel4");
  c.Panel2 = id("Panel2");
  c.Panel5 = id("Panel5");
  c.Panel8 = id("Panel8");
  c.Label49 = id("Label49");
  c.LanguageBtn = id("LanguageBtn");
  c.PenWlabel = id("PenWlabel");
  c.Label21 = id("Label21");
  c.Label23 = id("Label23");
  c.SpeedButton58 = id("SpeedButton58");
  c.SpeedButton23 = id("SpeedButton23");
  c.SpecLBL = id("SpecLBL");
  c.Label36 = id("Label36");
  c.Label41 = id("Label41");
  c.LOGREPLAYBTN = id("LOGREPLAYBTN");
  c.newbtn = id("newbtn");
  c.LogStopBtn = id("LogStopBtn");
  c.loopbtn = id("loopbtn");
  c.lblj = id("lblj");
  c.Label2 = id("Label2");
  c.VideoBtn = id("VideoBtn");
  c.Label24 = RowId(kRows, "Label24");
  c.memobtn = RowId(kRows, "memobtn");
  c.SpeedButton5 = RowId(kRows, "SpeedButton5");
  c.SpeedButton11 = RowId(kRows, "SpeedButton11");
  c.Label28 = id("Label28");
  c.Label29 = id("Label29");
  c.Label31 = id("Label31");
  c.Label32 = id("Label32");
  c.Label33 = id("Label33");
  c.Label42 = id("Label42");
  c.Label17 = id("Label17");
  c.Label43 = id("Label43");
  c.Label46 = id("Label46");
  c.mix = id("mix");
  c.Label16 = id("Label16");
  c.SpeedButton21 = id("SpeedButton21");
  c.Label25 = id("Label25");
  c.primaries = {id("redlbl"), id("greenlbl"), id("bluelbl")};
  c.swatches = {id("Label6"),  id("Label7"),  id("Label8"),  id("Label9"),
                id("Label10"), id("Label11"), id("Label12"), id("Label13")};
  c.colorModeButtons = {id("SpeedButton9"), id("SpeedButton8"), id("SpeedButton24")};
  c.SpeedButton42 = id("SpeedButton42");
  c.SpeedButton46 = id("SpeedButton46");
  c.SpeedButton50 = id("SpeedButton50");
  c.SpeedButton51 = id("SpeedButton51");
  c.SpeedButton34 = id("SpeedButton34");
  c.autoOnOffBtn = id("autoOnOffBtn");
  c.Wildbtn = id("Wildbtn");
  c.Label35 = id("Label35");
  c.btnzero = id("btnzero");
  c.BTNSTOP = id("BTNSTOP");
  c.BTNPLAY = id("BTNPLAY");
  c.BTNX2 = id("BTNX2");
  c.SpeedButton41 = id("SpeedButton41");
  c.Label1 = id("Label1");
  c.Edit3 = id("Edit3");
  f.SetRange(c.Edit3, 0, kLogCapacity);
  c.ScrollBar1 = id("ScrollBar1");
  c.ScrollBar2 = id("ScrollBar2");
  c.ScrollBar3 = id("ScrollBar3");
  c.ScrollBar5 = id("ScrollBar5");
  c.Label38 = id("Label38");
  c.Label39 = id("Label39");
  c.Label40 = id("Label40");
  c.SpeedButton25 = id("SpeedButton25");
  c.redobtn = id("redobtn");
  c.Label18 = id("Label18");
  c.Label5 = id("Label5");
  c.Label14 = id("Label14");
  c.Label15 = id("Label15");
  c.AVI_btn = id("AVI_btn");
  c.SpeedButton2 = id("SpeedButton2");
  c.SpeedButton45 = id("SpeedButton45");
  c.SpeedButton37 = id("SpeedButton37");
  c.SpeedButton38 = id("SpeedButton38");
  c.SpeedButton39 = id("SpeedButton39");
  c.SpeedButton29 = id("SpeedButton29");
  c.SpeedButton30 = id("SpeedButton30");
  c.SpeedButton31 = id("SpeedButton31");
  c.SpeedButton47 = id("SpeedButton47");
  c.Label26 = id("Label26");
  c.Label27 = id("Label27");
  c.SpeedButton26 = id("SpeedButton26");
  c.SpeedButton27 = id("SpeedButton27");
  c.SpeedButton28 = id("SpeedButton28");
  c.Edit1 = id("Edit1");
  c.Edit2 = id("Edit2");
  f.SetRange(c.Edit1, 0, kMaxSpecA);
  f.SetRange(c.Edit2, 0, kMaxSpecB);
  c.SpeedButton35 = id("SpeedButton35");
  c.SpeedButton36 = id("SpeedButton36");
  c.SpeedButton3 = id("SpeedButton3");
  c.SpeedButton33 = id("SpeedButton33");
  const char* tools[] = {"freebtn",      "linebtn",  "rectbtn",        "ellipsebtn",
                         "roundrectbtn", "wavebtn",  "nuwavebtn",      "Nuwavespecialbtn",
                         "wave3btn",     "wave4btn", "Nuwavespec2btn", "newtestbtn"};
  for (int i = 0; i < 12; ++i)
    c.toolButtons[i] = id(tools[i]);
  const char* penModes[] = {"SpeedButton20", "SpeedButton1",  "SpeedButton13",
                            "SpeedButton14", "SpeedButton15", "SpeedButton16",
                            "SpeedButton17", "SpeedButton18", "SpeedButton19"};
  for (int i = 0; i < 9; ++i)
    c.penModeButtons[i] = id(penModes[i]);
  const char* copyModes[] = {"SrcCopy", "DstInvert", "MergeCopy", "MergePaint", "NotSrcErase",
                             "SrcAnd",  "SrcErase",  "SrcInvert", "SrcPaint"};
  for (int i = 0; i < 9; ++i)
    c.copyModeButtons[i] = id(copyModes[i]);

  struct Range {
    const char* name;
    int32_t min, max, position;
  };
  for (const Range& r : {Range{"ScrollBar1", 1, 32, 1}, Range{"ScrollBar2", 1, 32, 8},
                         Range{"ScrollBar5", -31, 31, 0}, Range{"ScrollBar3", 0, 32, 0}}) {
    f.SetRange(id(r.name), r.min, r.max);
    f.SetPosition(id(r.name), r.position);
  }
}

}  // namespace quillo
