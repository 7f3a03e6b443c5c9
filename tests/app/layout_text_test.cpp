// The main window's own words: every caption and hint the program's controls are
// given, checked against one table.
#include <gtest/gtest.h>

#include <string>

#include "program_fixture.h"

namespace quillo::testing {
namespace {

// Where a control shows its words: buttons drawn with a picture carry them as the
// hint, so for those either place counts.
enum class Shown { kCaption, kHint, kEither };

struct Words {
  const char* control;
  Shown where;
  const char* text;
};

constexpr Words kWords[] = {
    // Panels, pen width and the tool bar's buttons.
    {"Label49", Shown::kCaption,
     "Please wait while we initialize your system, this is only necessary the first time "
     "Quillo opens."},
    {"SpeedButton53", Shown::kEither, "FILE AND REPLAY TOOLS"},
    {"SpeedButton54", Shown::kEither, "SETTINGS AND ADVANCED TOOLS"},
    {"SpeedButton23", Shown::kEither, "CLICK DOWN TO SWITCH OFF HINTS"},
    {"Label21", Shown::kEither, "REDUCE PEN WIDTH"},
    {"Label23", Shown::kEither, "INCREASE PEN WIDTH"},
    {"SpeedButton58", Shown::kEither, "TURN OFF AUTO PEN WIDTH"},
    {"SpeedButton25", Shown::kEither, "CLICK TO UNDO"},
    {"Label18", Shown::kEither, "CLEAR SCREEN TO BLACK"},
    {"Label5", Shown::kEither, "CLEAR SCREEN TO WHITE"},
    {"AVI_btn", Shown::kEither, "BLUE BACKGROUND"},
    {"SpeedButton2", Shown::kCaption, "HIDE"},
    {"SpeedButton45", Shown::kCaption, "HIDE"},
    {"SpeedButton34", Shown::kEither, "SELECT"},
    {"SpeedButton37", Shown::kEither, "SELECT ALL"},
    {"SpeedButton38", Shown::kEither, "COPY"},
    {"SpeedButton39", Shown::kEither, "PASTE"},
    {"SpeedButton29", Shown::kEither, "MAKE SELECTION NEGATIVE"},
    {"SpeedButton42", Shown::kEither, "ZOOM IN"},
    {"SpeedButton46", Shown::kEither, "ZOOM OUT"},
    {"SpeedButton50", Shown::kEither, "DRAG SCREEN,  HIDE TOOLBAR TO OPERATE"},
    {"SpeedButton51", Shown::kEither, "FLY SCREEN,  HIDE TOOLBAR TO OPERATE"},
    {"SpeedButton30", Shown::kEither, "OpenPic"},
    {"SpeedButton31", Shown::kEither, "SavePic"},
    {"SpeedButton47", Shown::kEither, "SAVE PICTURE"},
    // Pen modes and copy modes.
    {"Label30", Shown::kHint, "8 Pen Modes Click to Choose other Modes"},
    {"SpeedButton20", Shown::kHint, "Draw in the pen's colour (normal)"},
    {"SpeedButton1", Shown::kCaption, "1"},
    {"SpeedButton13", Shown::kCaption, "2"},
    {"SpeedButton14", Shown::kCaption, "3"},
    {"SpeedButton15", Shown::kCaption, "4"},
    {"SpeedButton16", Shown::kCaption, "5"},
    {"SpeedButton17", Shown::kCaption, "6"},
    {"SpeedButton17", Shown::kHint,
     "Draw by swapping colours where pen and picture share them (pmNotMask)"},
    {"SpeedButton18", Shown::kCaption, "7"},
    {"SpeedButton18", Shown::kHint, "Draw by swapping colours: draw twice and it is gone (pmXor)"},
    {"SpeedButton19", Shown::kCaption, "8"},
    {"SpeedButton19", Shown::kHint, "Draw by swapping colours the other way round (pmNotXor)"},
    {"SrcCopy", Shown::kHint, "Put pictures down as they are (normal)"},
    {"DstInvert", Shown::kCaption, "1"},
    {"DstInvert", Shown::kHint, "Turn the picture into its negative (cmDstInvert)"},
    {"MergeCopy", Shown::kCaption, "2"},
    {"MergeCopy", Shown::kHint, "Put pictures down mixed with the brush colour (cmMergeCopy)"},
    {"MergePaint", Shown::kCaption, "3"},
    {"MergePaint", Shown::kHint,
     "Brighten the picture with the negative of what is put down (cmMergePaint)"},
    {"NotSrcErase", Shown::kCaption, "4"},
    {"NotSrcErase", Shown::kHint, "Only where both are dark, as a negative (cmNotSrcErase)"},
    {"SrcAnd", Shown::kCaption, "5"},
    {"SrcAnd", Shown::kHint, "Only where it is dark: the darker parts of both stay (cmSrcAnd)"},
    {"SrcErase", Shown::kCaption, "6"},
    {"SrcErase", Shown::kHint, "Put pictures down only where the picture is dark (cmSrcErase)"},
    {"SrcInvert", Shown::kCaption, "7"},
    {"SrcInvert", Shown::kHint, "Put pictures down by swapping colours (cmSrcInvert)"},
    {"SrcPaint", Shown::kCaption, "8"},
    {"SrcPaint", Shown::kHint,
     "Only where it is bright: the brighter parts of both stay (cmSrcPaint)"},
    // Specials.
    {"SpecLBL", Shown::kCaption, "01"},
    {"SpecLBL", Shown::kHint, "RANDOM TOOL VALUE"},
    {"Label26", Shown::kHint, "DECREMENT RANDOM"},
    {"Label27", Shown::kHint, "INCREMENT RANDOM"},
    {"SpeedButton26", Shown::kHint, "DECREASE SPEC"},
    {"SpeedButton27", Shown::kHint, "INCREASE SPEC"},
    {"SpeedButton28", Shown::kHint, "ENTER SPEC"},
    {"Wildbtn", Shown::kHint, "WILD"},
    {"SpeedButton35", Shown::kEither, "GetSpec"},
    {"SpeedButton36", Shown::kEither, "SaveSpec"},
    // Replay.
    {"LOGREPLAYBTN", Shown::kCaption, "REPLAY"},
    {"LOGREPLAYBTN", Shown::kHint, "REPLAY DRAWING, UPTO 6000 MOVES"},
    {"newbtn", Shown::kCaption, "NEW"},
    {"newbtn", Shown::kHint, "CLICK TO DELETE RECORDING"},
    {"LogStopBtn", Shown::kCaption, "STOP"},
    {"LogStopBtn", Shown::kHint, "STOP REPLAY"},
    {"loopbtn", Shown::kCaption, "LOOP"},
    {"loopbtn", Shown::kHint, "REPLAYS CONTINUOUSLY"},
    {"btnzero", Shown::kCaption, "ZERO"},
    {"BTNSTOP", Shown::kCaption, "STOP"},
    {"BTNPLAY", Shown::kCaption, "PLAY"},
    {"Label1", Shown::kCaption, "SPEED"},
    {"Edit3", Shown::kCaption, "0"},
    // Colours.
    {"Label16", Shown::kCaption, "color"},
    {"Label16", Shown::kHint, "CLICK TO CHANGE COLORS"},
    {"Label25", Shown::kCaption, "ColorMode"},
    {"SpeedButton9", Shown::kCaption, "S"},
    {"SpeedButton9", Shown::kHint, "Wonderful Colours Chosen for You"},
    {"SpeedButton8", Shown::kCaption, "P"},
    {"SpeedButton8", Shown::kHint,
     "Mix your own Colors, Click Tools to close this palette and show Palette"},
    {"SpeedButton24", Shown::kCaption, "C"},
    {"SpeedButton21", Shown::kCaption, "#"},
    {"SpeedButton21", Shown::kHint, "CLICK DOWN TO STOP COLORS CHANGING AT RANDOM"},
};

TEST_F(ProgramTest, EveryCaptionAndHintIsTheProgramsOwnWords) {
  Start();
  for (const Words& w : kWords) {
    const ControlId id = MainForm().Find(w.control);
    ASSERT_NE(id, kNoControl) << w.control;
    const Control& c = MainForm()[id];
    switch (w.where) {
      case Shown::kCaption:
        EXPECT_EQ(c.caption, w.text) << w.control;
        break;
      case Shown::kHint:
        EXPECT_EQ(c.hint, w.text) << w.control;
        break;
      case Shown::kEither:
        EXPECT_TRUE(c.caption == w.text || c.hint == w.text)
            << w.control << ": \"" << c.caption << "\" / \"" << c.hint << "\"";
        break;
    }
  }
}

// A hint says what its own control does: no two controls that do different things
// share one.
TEST_F(ProgramTest, HidePanelButtonsDoNotBorrowTheBackgroundButtonsHint) {
  Start();
  const std::string background = Ctl("AVI_btn").hint;
  for (const char* hide : {"SpeedButton2", "SpeedButton45"}) {
    EXPECT_NE(Ctl(hide).hint, background) << hide;
    EXPECT_FALSE(Ctl(hide).hint.empty()) << hide;
  }
}

}  // namespace
}  // namespace quillo::testing
