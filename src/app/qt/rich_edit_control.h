#pragma once

#include <QTextBrowser>
#include <memory>

#include "app/qt/control_view.h"
#include "form/rich_text.h"

class QTextDocument;

namespace quillo {

// Builds a QTextDocument from the engine's document: one block per paragraph with
// its alignment, one fragment per run with its weight, slant, underline, size,
// colour and font. The base font is what the document's 12-point text shows at,
// and its other sizes keep their proportion to that; so a viewer whose font grows
// with the screen shows the whole document grown. Sizes and colours the run leaves
// open are the base font's and the text colour's.
void FillTextDocument(QTextDocument& out, const RichText& doc, const QFont& base, QColor text);

// A rich-text control: a read-only viewer of the control's document with a vertical
// scroll bar, in the control's background colour and font.
class RichEditControl : public QTextBrowser, public ControlView {
  Q_OBJECT

 public:
  // The widget is owned by parent, as Qt children are.
  RichEditControl(ControlContext context, QWidget* parent);
  QWidget* Widget() override { return this; }
  void Refresh() override;

 private:
  ControlContext context_;
  std::shared_ptr<const RichText> shown_;
};

}  // namespace quillo
