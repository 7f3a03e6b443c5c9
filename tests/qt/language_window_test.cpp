// Every window in the test language: whatever the shell shows in words (titles,
// hints, the words a switch shows of its state, the file dialogs' names) came
// through the catalogue, and a change of language reaches the widgets at once.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

#include "app/language.h"
#include "app/qt/glyph_icons.h"
#include "qt/shell_fixture.h"

namespace quillo::testing {
namespace {

const QRegularExpression kLetters(QStringLiteral("[A-Za-z].*[A-Za-z]"));

// Whether a text the user reads came through the test language, or is no words.
bool Marked(const QString& text) {
  return !text.contains(kLetters) ||
         text.startsWith(QString::fromUtf8(kPseudoOpen.data(), kPseudoOpen.size()));
}

class LanguageWindowTest : public ShellTest {};

TEST_F(LanguageWindowTest, NoWordEscapesTheCatalogue) {
  ASSERT_FALSE(UseLanguage(Prog(), kPseudoLanguage));
  shell_->Sync();
  for (const WindowId id : {WindowId::kPaintLog, WindowId::kCubeForm, WindowId::kForm1,
                            WindowId::kSpaceColorForm, WindowId::kForm2}) {
    FormWindow& window = shell_->Window(id);
    EXPECT_TRUE(Marked(window.windowTitle())) << window.windowTitle().toStdString();
    const Form& form = Prog().Windows()[static_cast<size_t>(id)]->form;
    for (QWidget* w : window.findChildren<QWidget*>()) {
      // A dialog of its own (the video's progress) is worded when it opens.
      if (w->window() != &window) continue;
      const ControlId control = form.Find(w->objectName().toStdString());
      const bool verbatim = control != kNoControl && form[control].verbatim;
      EXPECT_TRUE(Marked(w->toolTip()))
          << w->objectName().toStdString() << ": " << w->toolTip().toStdString();
      if (const auto* label = qobject_cast<QLabel*>(w); label && !verbatim) {
        EXPECT_TRUE(Marked(label->text())) << label->text().toStdString();
      }
      if (const auto* button = qobject_cast<QAbstractButton*>(w)) {
        EXPECT_TRUE(Marked(button->text()))
            << w->objectName().toStdString() << ": " << button->text().toStdString();
      }
    }
    for (const Control& c : form.Controls())
      for (bool down : {false, true})
        EXPECT_TRUE(Marked(StateWords(form, c.glyph, down))) << c.name;
  }
  const QString filter =
      QtFileFilter("quilloplay(*.qlr)|*.qlr|MP4 video (*.mp4)|*.mp4", &Prog().catalogue);
  for (const QString& part : filter.split(QStringLiteral(";;"))) {
    EXPECT_TRUE(Marked(part)) << part.toStdString();
    EXPECT_TRUE(part.contains(QStringLiteral("(*.qlr)")) ||
                part.contains(QStringLiteral("(*.mp4)")))
        << part.toStdString();
  }
}

TEST_F(LanguageWindowTest, AChangeOfLanguageReachesTheWidgets) {
  QWidget* tools = Widget("SpeedButton22");
  ASSERT_NE(tools, nullptr);
  EXPECT_EQ(tools->toolTip(), QStringLiteral("BACK TO THE DRAWING TOOLS"));
  ASSERT_FALSE(UseLanguage(Prog(), kPseudoLanguage));
  shell_->Sync();
  EXPECT_TRUE(Marked(tools->toolTip())) << tools->toolTip().toStdString();
  EXPECT_NE(tools->toolTip(), QStringLiteral("BACK TO THE DRAWING TOOLS"));
}

}  // namespace
}  // namespace quillo::testing
