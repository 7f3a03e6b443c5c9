#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <cstdint>

#include "form/controls.h"
#include "form/palette.h"

class QPainter;

namespace quillo {

// The colours the shell gives controls the engine leaves at kNoColor.
inline constexpr QRgb kDefaultPanel = 0xFFDCE3EE;
inline constexpr QRgb kDefaultButton =
    qRgb(RedOf(palette::kButtonFace), GreenOf(palette::kButtonFace), BlueOf(palette::kButtonFace));
inline constexpr QRgb kDefaultText =
    qRgb(RedOf(palette::kInk), GreenOf(palette::kInk), BlueOf(palette::kInk));
inline constexpr QRgb kDownAccent = 0xFFF59E0B;
inline constexpr QRgb kHoverAccent = 0xFF3B82F6;

// The font of a control: DejaVu Sans at the control's size in points (taken at
// 96 dots per inch of the engine's device pixels, so captions keep their size against
// the pixel bounds) and weight.
QFont ControlFont(const Control& c);

// The font of the word beneath a picture: the control's size in the condensed cut,
// so a word of a button or a tool tile fits beneath it at one size.
QFont WordFont(const Control& c);

// The height of the band a word beneath a picture takes in font: its capitals and,
// when the word has any, its descenders.
qreal WordBandHeight(const QFont& font, const QString& word);

// Draws word centred along the bottom of box, its baseline above the band's foot;
// shrinks the font only when the word would not fit the width. Returns the band's
// height.
qreal DrawWordBeneath(QPainter& p, const QRectF& box, const QString& word, QFont font);

// The pixel size of hints in a window of that height: 12 at 768 rows, in step with
// the controls.
int HintPixelSize(int windowHeight);

// Where a hint of size tip goes for a control lying in band (its strip, or the
// control itself), all in screen coordinates: a few pixels above the band, or below
// it when there is no room above, starting at the control's left edge, and kept on
// the screen. Above or below a band it never covers a caption of the band.
QPoint HintPosition(const QRect& control, const QRect& band, const QSize& tip, const QRect& screen);

// Whether light text reads better than dark text on c.
bool IsDarkColor(const QColor& c);

// The text colour for a control on a background: the control's own, or a dark or
// light default that reads on it.
QColor TextColorOn(const Control& c, const QColor& background);

// How a caption may break into lines.
enum class Wrap : uint8_t { kNever, kAsNeeded, kAlways };

// Where a control of that size draws its caption and picture.
QRectF ContentBox(const Control& c, const QRectF& r);

// The smallest pixel size a caption shrinks to before it is drawn as it is.
inline constexpr int kMinPixelSize = 7;

// Whether text fits box at the font's own size, broken into lines as wrap allows.
bool FitsAtSize(const QRectF& box, const QString& text, const QFont& font, Wrap wrap);

// Draws text centred in box at the font's size, or smaller (and, unless kNever,
// broken into lines) as needed to fit.
void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, QFont font, Wrap wrap);

// The wrapping a control asks for: always for word-wrapped ones, else as needed.
inline Wrap WrapOf(const Control& c) {
  return c.wordWrap ? Wrap::kAlways : Wrap::kAsNeeded;
}

// A rounded face with a soft top-to-bottom gradient: raised, or sunk with an inner
// shadow when down.
void DrawButtonFace(QPainter& p, const QRectF& box, const QColor& face, bool down, bool hovered,
                    bool enabled);

}  // namespace quillo
