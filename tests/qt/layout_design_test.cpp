// The layout of every window at 1024 x 768 and 1920 x 1080 in every language,
// measured with the fonts the shell paints with: controls of a panel keep apart and
// inside it, and every caption fits its control without being shrunk.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QString>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "app/language.h"
#include "app/program.h"
#include "app/qt/control_paint.h"
#include "app/qt/control_view.h"
#include "app/qt/glyph_icons.h"
#include "support/fake_platform.h"

namespace quillo {
namespace {

// Controls that lie over one another on purpose.
const std::set<std::pair<std::string, std::string>> kMeantToOverlap = {
    // The "color" label lies over the three key-colour stripes.
    {"Label42", "Label16"},
    {"Label17", "Label16"},
    {"Label43", "Label16"},
    // The tutorial shows one message at a time in the same place.
    {"Label28", "Label29"},
    {"Label28", "Label31"},
    {"Label28", "Label32"},
    {"Label28", "Label33"},
    {"Label29", "Label31"},
    {"Label29", "Label32"},
    {"Label29", "Label33"},
    {"Label31", "Label32"},
    {"Label31", "Label33"},
    {"Label32", "Label33"},
    // The editor's centre colour lies over the middle of its miniature of the field.
    {"CenterFieldPreview", "CenterCol"},
};

// The colour field editor's centre layout lies over the corner layout and shows
// instead of it.
bool CentreLayoutOverCorners(const Form& form, const Control& a, const Control& b) {
  const ControlId centre = form.Find("Panel3");
  return centre != kNoControl && (form.Find(a.name) == centre || form.Find(b.name) == centre) &&
         a.parent == form[centre].parent;
}

// The length from which an English caption is a phrase rather than a word.
constexpr size_t kShortestPhrase = 13;

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

QRectF Box(const Control& c) {
  return QRectF(0, 0, c.bounds.right - c.bounds.left, c.bounds.bottom - c.bounds.top);
}

// A screen size and a language: every language of ours, and the test language, whose
// words are a third longer than the English ones.
using Screen = std::pair<int32_t, int32_t>;
class LayoutDesignTest : public ::testing::TestWithParam<std::tuple<Screen, std::string_view>> {
 protected:
  void SetUp() override {
    const auto& [screen, language] = GetParam();
    platform_.screen = {screen.first, screen.second};
    program_ = std::make_unique<Program>(platform_, QUILLO_SOURCE_DIR "/translations/");
    ASSERT_FALSE(UseLanguage(*program_, language));
    program_->Create();
  }

  bool Stretched() const { return std::get<1>(GetParam()) == kPseudoLanguage; }

  testing::FakePlatform platform_;
  std::unique_ptr<Program> program_;
};

TEST_P(LayoutDesignTest, ControlsOfAPanelKeepApartAndInsideIt) {
  for (WindowState* window : program_->Windows()) {
    const Form& form = window->form;
    for (ControlId a = 0; a < form.Count(); ++a) {
      const Control& ca = form[a];
      if (ca.parent == kNoControl) continue;
      const Control& panel = form[ca.parent];
      const Rect inside{0, 0, panel.bounds.right - panel.bounds.left,
                        panel.bounds.bottom - panel.bounds.top};
      EXPECT_TRUE(ca.bounds.left >= inside.left && ca.bounds.top >= inside.top &&
                  ca.bounds.right <= inside.right && ca.bounds.bottom <= inside.bottom)
          << window->caption << ": " << ca.name << " sticks out of " << panel.name;
      for (ControlId b = a + 1; b < form.Count(); ++b) {
        const Control& cb = form[b];
        if (cb.parent != ca.parent || !Overlap(ca.bounds, cb.bounds)) continue;
        EXPECT_TRUE(kMeantToOverlap.count({ca.name, cb.name}) ||
                    CentreLayoutOverCorners(form, ca, cb))
            << window->caption << ": " << ca.name << " overlaps " << cb.name;
      }
    }
  }
}

TEST_P(LayoutDesignTest, EveryCaptionFitsItsControlAtItsOwnSize) {
  for (WindowState* window : program_->Windows()) {
    const Form& form = window->form;
    for (ControlId id = 0; id < form.Count(); ++id) {
      const Control& c = form[id];
      if (c.caption.empty() || c.kind == ControlKind::kEdit || c.kind == ControlKind::kListBox ||
          c.kind == ControlKind::kRichEdit || c.kind == ControlKind::kScrollBar)
        continue;
      const QRectF box = ContentBox(c, Box(c));
      if (HasGlyph(c.glyph)) {
        // The word beneath a picture, in each state it can name: as short as the
        // picture allows, so checked in each real language only.
        for (bool down : {false, true}) {
          if (Stretched()) break;
          const QString words = StateWords(window->form, c.glyph, down);
          const QString word = words.isEmpty() ? ToQString(c.caption) : words;
          EXPECT_LE(QFontMetricsF(WordFont(c)).horizontalAdvance(word), box.width())
              << window->caption << ": " << c.name << " \"" << word.toStdString() << "\"";
        }
        // And the picture keeps at least half the height.
        EXPECT_GE(box.height() - WordBandHeight(WordFont(c), ToQString(c.caption)),
                  box.height() / 2)
            << c.name;
        continue;
      }
      // A real language's words fit at their own size, as English does. The test
      // language's, a third longer, may shrink as far as the shell shrinks a caption;
      // it stretches phrases and sentences, since a short word (a value's title, a
      // button's word) is as short as its place allows and each real language's is
      // checked.
      QFont font = ControlFont(c);
      if (Stretched()) {
        if (form.EnglishCaption(id).size() < kShortestPhrase) continue;
        font.setPixelSize(kMinPixelSize);
      }
      EXPECT_TRUE(FitsAtSize(box, ToQString(c.caption), font, WrapOf(c)))
          << window->caption << ": " << c.name << " \"" << c.caption << "\" in " << box.width()
          << " x " << box.height();
    }
  }
}

TEST_P(LayoutDesignTest, ToolTileWordsShareOneSize) {
  const Form& form = program_->main.window.form;
  std::set<int> sizes;
  for (ControlId id : program_->main.c.toolButtons)
    sizes.insert(WordFont(form[id]).pixelSize());
  EXPECT_EQ(sizes.size(), 1u);
}

std::vector<std::string_view> Languages() {
  std::vector<std::string_view> codes{kPseudoLanguage};
  for (const Language& l : kLanguages)
    codes.push_back(l.code);
  return codes;
}

std::string ParamName(const ::testing::TestParamInfo<LayoutDesignTest::ParamType>& info) {
  const Screen screen = std::get<0>(info.param);
  return std::to_string(screen.first) + "x" + std::to_string(screen.second) + "_" +
         std::string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Screens, LayoutDesignTest,
                         ::testing::Combine(::testing::Values(Screen{1024, 768},
                                                              Screen{1920, 1080}),
                                            ::testing::ValuesIn(Languages())),
                         ParamName);

}  // namespace
}  // namespace quillo
