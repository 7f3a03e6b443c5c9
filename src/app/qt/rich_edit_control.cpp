#include "app/qt/rich_edit_control.h"

#include <QFontMetricsF>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/qt/control_paint.h"

namespace quillo {
namespace {

Qt::Alignment AlignmentOf(TextAlignment a) {
  switch (a) {
    case TextAlignment::kCenter:
      return Qt::AlignHCenter;
    case TextAlignment::kRight:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}

// What a document's text of kBasePoints shows at: the base font's size.
constexpr int kBasePoints = 12;

QTextCharFormat FormatOf(const TextStyle& style, const QFont& base, QColor text) {
  QTextCharFormat f;
  QFont font = base;
  if (!style.font.empty()) font.setFamilies({ToQString(style.font), base.family()});
  // Sizes are half points, in proportion to the base font's.
  if (style.halfPoints > 0) {
    const double pixels = double(style.halfPoints) * base.pixelSize() / (2 * kBasePoints);
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
  }
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  f.setFont(font);
  f.setForeground(style.color == kNoColor ? text : ToQColor(style.color));
  return f;
}

}  // namespace

void FillTextDocument(QTextDocument& out, const RichText& doc, const QFont& base, QColor text) {
  out.clear();
  out.setDefaultFont(base);
  // Tabs in the documents follow a bullet or a short label: a stop every two ems keeps
  // them close rather than at Qt's 80 pixels.
  QTextOption option = out.defaultTextOption();
  option.setTabStopDistance(2 * QFontMetricsF(base).horizontalAdvance(QChar('M')));
  out.setDefaultTextOption(option);
  QTextCursor cursor(&out);
  bool first = true;
  for (const TextParagraph& p : doc.paragraphs) {
    QTextBlockFormat block;
    block.setAlignment(AlignmentOf(p.alignment));
    if (first) {
      cursor.setBlockFormat(block);
      first = false;
    } else {
      cursor.insertBlock(block);
    }
    for (const TextRun& r : p.runs) {
      QString s = ToQString(r.text);
      s.replace(QChar('\n'), QChar::LineSeparator);
      cursor.insertText(s, FormatOf(r.style, base, text));
    }
  }
}

RichEditControl::RichEditControl(ControlContext context, QWidget* parent)
    : QTextBrowser(parent), context_(std::move(context)) {
  setObjectName(ToQString(context_.State().name));
  setReadOnly(true);
  setOpenLinks(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::NoFrame);
  Refresh();
}

void RichEditControl::Refresh() {
  const Control& c = context_.State();
  ApplyCommonState(*this, c);
  QPalette pal = palette();
  if (c.color != kNoColor) pal.setColor(QPalette::Base, ToQColor(c.color));
  const QColor text = c.fontColor != kNoColor ? ToQColor(c.fontColor) : QColor(Qt::black);
  pal.setColor(QPalette::Text, text);
  setPalette(pal);
  if (c.document != shown_) {
    shown_ = c.document;
    QFont base = ControlFont(c);
    base.setBold(false);
    // The margin grows with the text: an em of the base font.
    document()->setDocumentMargin(base.pixelSize());
    FillTextDocument(*document(), shown_ ? *shown_ : RichText{}, base, text);
    // The viewer's own cursor went along with the text to its end, and the view
    // would follow it there when laid out: it goes back to the start, and the view
    // with it.
    moveCursor(QTextCursor::Start);
  }
}

}  // namespace quillo
