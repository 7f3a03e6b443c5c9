#include "guide/help_form.h"

#include <array>
#include <memory>
#include <variant>

#include "app/program.h"
#include "form/layout.h"
#include "form/palette.h"
#include "guide/rtf_reader.h"
#include "platform/whole_file.h"

namespace quillo {
namespace {

using namespace layout;

constexpr int32_t kViewerWidth = 640;
constexpr int32_t kViewerHeight = 440;
constexpr int32_t kDesignWidth = 1024;
constexpr int32_t kDesignHeight = 768;
constexpr int8_t kLabelFont = 12;  // 16 pixels
// The labels are the window's buttons: lime words on a group's tile, which read on
// any field picture behind them.
constexpr Color kTab = palette::kGroup;

constexpr auto kRows = std::to_array<LayoutRow>({
    {"Image3", ControlKind::kImage, nullptr, 0, 0, 1024, 768, "", ""},
    {"Label1", L, nullptr, 16, 8, 160, 24, "Introduction", "SHOW THE INTRODUCTION", kTab, kLime,
     kLabelFont, kBold},
    {"Label3", L, nullptr, 184, 8, 200, 24, "More Information", "SHOW MORE INFORMATION", kTab,
     kLime, kLabelFont, kBold},
    {"Label2", L, nullptr, 392, 8, 184, 24, "Hot Key Short Cuts", "SHOW THE KEYS AND WHAT THEY DO",
     kTab, kLime, kLabelFont, kBold},
    {"Label5", L, nullptr, 584, 8, 120, 24, "Tutorial", "START THE TUTORIAL", kTab, kLime,
     kLabelFont, kBold},
    {"Label4", L, nullptr, 712, 8, 80, 24, "Close", "BACK TO THE DRAWING", kTab, kLime, kLabelFont,
     kBold},
    {"Image2", ControlKind::kImage, nullptr, 8, 88, 0, 0, "", "", kNoColor, kNoColor, 7, kHidden},
    {"RichEdit1", ControlKind::kRichEdit, nullptr, 0, 0, kViewerWidth, kViewerHeight, "", "",
     Rgb(238, 238, 255), kBlack, kLabelFont, kHidden},
});

}  // namespace

HelpForm::HelpForm(Program& program) : p_(program) {
  window.id = WindowId::kForm1;
  window.className = "Tform1";
  window.caption = "Help";
  window.color = Rgb(51, 0, 153);
  AddLayout(window.form, kRows);
  c = Ids{RowId(kRows, "Image3"), RowId(kRows, "Label1"),   RowId(kRows, "Label3"),
          RowId(kRows, "Label2"), RowId(kRows, "Label5"),   RowId(kRows, "Label4"),
          RowId(kRows, "Image2"), RowId(kRows, "RichEdit1")};
  Form& f = window.form;
  auto click = [&f](ControlId id, auto fn) {
    f.On(id, EventKind::kClick, [fn](const ControlEvent&) { fn(); });
  };
  click(c.Label1, [this] { ShowIntroduction(); });
  click(c.Label3, [this] { ShowMoreInformation(); });
  click(c.Label2, [this] { ShowHotKeys(); });
  click(c.Label5, [this] { StartTutorial(); });
  click(c.Label4, [this] { Close(); });
}

void HelpForm::FormCreate() {
  Form& f = window.form;
  const ScreenSize screen = p_.platform.GetScreenSize();
  // On a screen taller than the design's the labels, the viewer with its text and the
  // chart grow with it, as the other windows do.
  int32_t viewerWidth = kViewerWidth;
  int32_t viewerHeight = kViewerHeight;
  int32_t viewerDrop = 16;
  const bool grows = screen.height > kDesignHeight;
  const auto grown = [&](int32_t length) {
    return grows ? MulDiv(length, screen.height, kDesignHeight) : length;
  };
  if (grows) {
    int32_t width = kDesignWidth;
    int32_t height = kDesignHeight;
    ScaleFormToScreen(f, screen.width, screen.height, width, height);
    viewerWidth = grown(kViewerWidth);
    viewerHeight = grown(kViewerHeight);
    viewerDrop = grown(viewerDrop);
    f.SetFontSize(c.RichEdit1, grown(kLabelFont));
  }
  grown_ = grows ? screen.height : kDesignHeight;
  ShowChart();
  if (IsFile(p_.programDir + "littlblu.bmp")) f.SetGlyph(c.Image3, "littlblu.bmp");
  p_.replayState.demoRunning = false;
  p_.tools.wild = true;

  window.left = 0;
  window.top = 0;
  window.clientWidth = screen.width;
  window.clientHeight = screen.height;
  ++window.revision;
  f.SetBounds(c.Image3, Rect{0, 0, screen.width, screen.height});
  const int32_t left = (screen.width - viewerWidth) / 2;
  const int32_t top = (screen.height - viewerHeight) / 2 + viewerDrop;
  f.SetBounds(c.RichEdit1, Rect{left, top, left + viewerWidth, top + viewerHeight});
}

std::string HelpForm::InLanguage(const std::string& name) const {
  // A language's own file lies in the folder named by its code; the English one,
  // which every language falls back to, in the program folder itself.
  const std::string own = p_.language + "/" + name;
  return p_.language != "en" && IsFile(p_.programDir + own) ? own : name;
}

void HelpForm::ShowChart() {
  Form& f = window.form;
  auto grown = [this](int32_t v) { return MulDiv(v, grown_, kDesignHeight); };
  // The chart of each language lies beside the English one, named by its code.
  const std::string own = "keyhelp2_" + p_.language + ".bmp";
  const std::string name = IsFile(p_.programDir + own) ? own : "keyhelp2.bmp";
  const std::string chart = p_.programDir + name;
  if (IsFile(chart)) {
    // The chart is drawn for the design's screen; reading it tells its size there.
    Surface picture;
    if (!p_.platform.LoadPicture(chart, picture)) {
      f.SetGlyph(c.Image2, name);
      const Rect at = f[c.Image2].bounds;
      f.SetBounds(c.Image2, Rect{at.left, at.top, at.left + grown(picture.Width()),
                                 at.top + grown(picture.Height())});
    }
  }
}

void HelpForm::Show() {
  // Opened on its introduction, unless a page or the chart is showing from before.
  if (!window.form[c.RichEdit1].visible && !window.form[c.Image2].visible) ShowIntroduction();
  window.Show(true);
}

void HelpForm::Close() {
  window.Show(false);
}

void HelpForm::ShowIntroduction() {
  ShowDocument("Introduction.rtf");
}

void HelpForm::ShowMoreInformation() {
  ShowDocument("MoreInformation.rtf");
}

void HelpForm::LanguageChanged() {
  ShowChart();
  if (window.form[c.RichEdit1].visible) ShowDocument(document_);
}

void HelpForm::ShowDocument(const std::string& name) {
  Form& f = window.form;
  f.SetVisible(c.Image2, false);
  document_ = name;
  const std::string path = p_.programDir + InLanguage(name);
  if (IsFile(path)) {
    RtfFileResult read = ReadRtfFile(path);
    if (auto* doc = std::get_if<RichText>(&read)) {
      f.SetDocument(c.RichEdit1, std::make_shared<const RichText>(std::move(*doc)));
    } else {
      p_.platform.ShowError(std::get<std::string>(read));
    }
  }
  f.SetVisible(c.RichEdit1, true);
}

void HelpForm::ShowHotKeys() {
  window.form.SetVisible(c.RichEdit1, false);
  window.form.SetVisible(c.Image2, true);
}

void HelpForm::StartTutorial() {
  if (!p_.tutorial.Start()) return;
  Close();
}

}  // namespace quillo
