// quillo-sheet OUTPUT.png: draws every primitive of the raster surface, every pen mode
// and every copy mode the program offers into one surface, captions it and saves it.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>
#include <vector>

#include "platform/raster/surface.h"

namespace {

using namespace quillo;

constexpr int32_t kW = 1024;
constexpr int32_t kH = 768;
constexpr Color kPaper = 0xF4F0EC;
constexpr Color kInk = 0x402010;

struct Caption {
  int x;
  int y;
  QString text;
};

void Primitives(Surface& s, std::vector<Caption>& captions) {
  captions.push_back({8, 14, "Lines: width 1 (a fan) and 2, 5, 12, 24 with round ends"});
  s.SetPenMode(PenMode::kCopy);
  for (int i = 0; i <= 12; ++i) {
    s.SetPenColor(Rgb(20 * i, 60, 255 - 20 * i));
    s.MoveTo({20, 170});
    s.LineTo({20 + i * 14, 30 + (i % 2) * 10});
  }
  const int32_t widths[] = {2, 5, 12, 24};
  for (int i = 0; i < 4; ++i) {
    s.SetPenWidth(widths[i]);
    s.SetPenColor(Rgb(200, 40 + 50 * i, 30));
    s.MoveTo({230 + i * 40, 40});
    s.LineTo({250 + i * 40, 160});
  }
  s.SetPenWidth(1);

  captions.push_back({420, 14, "Rectangles, ellipses, round rects: hollow, filled, wide pen"});
  const auto row = [&](int32_t y, int32_t penWidth, BrushStyle brush) {
    s.SetPenWidth(penWidth);
    s.SetPenColor(kInk);
    s.SetBrushStyle(brush);
    s.SetBrushColor(0x40C0F0);
    s.Rectangle(Rect{520, y + 50, 430, y});  // corners in any order
    s.SetBrushColor(0x60D060);
    s.Ellipse(Rect{450 + 100, y, 450 + 200, y + 50});
    s.SetBrushColor(0xD07090);
    s.RoundRect(Rect{680, y, 800, y + 50}, 30, 24);
    s.SetBrushColor(0x30A0E0);
    s.Ellipse(Rect{830, y, 850, y + 50});
    s.RoundRect(Rect{880, y, 1000, y + 50}, -120, 50);
  };
  row(24, 1, BrushStyle::kClear);
  row(84, 1, BrushStyle::kSolid);
  row(144, 6, BrushStyle::kSolid);
  s.SetPenWidth(1);
  s.SetBrushStyle(BrushStyle::kSolid);
}

// A background of coloured stripes for the swatches and copies to act on.
void Stripes(Surface& s, const Rect& r, bool across) {
  const Color colours[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
  const int64_t extent = across ? r.Height() : r.Width();
  for (int32_t i = 0; i < extent; i += 6) {
    const Color c = colours[(i / 6) % 6];
    if (across) {
      s.FillRect(Rect{r.left, r.top + i, r.right, r.top + i + 6}, c);
    } else {
      s.FillRect(Rect{r.left + i, r.top, r.left + i + 6, r.bottom}, c);
    }
  }
}

void PenModes(Surface& s, std::vector<Caption>& captions) {
  captions.push_back({8, 222,
                      "The sixteen pen modes: a wide stroke, a ring and a filled box "
                      "in a blue pen and an orange brush over stripes"});
  for (uint32_t m = 0; m < 16; ++m) {
    const int32_t x = 8 + static_cast<int32_t>(m) * 63;
    const Rect box{x, 246, x + 58, 356};
    Stripes(s, box, false);
    s.SetPenMode(PenModeOf(m));
    s.SetPenColor(0xF08030);
    s.SetBrushColor(0x30A0F0);
    s.SetPenWidth(10);
    s.MoveTo({x + 8, 256});
    s.LineTo({x + 50, 300});
    s.SetPenWidth(3);
    s.Ellipse(Rect{x + 6, 304, x + 52, 350});
    s.SetPenWidth(1);
    s.Rectangle(Rect{x + 20, 318, x + 38, 336});
    s.SetPenMode(PenMode::kCopy);
    captions.push_back({x + 22, 370, QString::number(m)});
  }
}

// A source picture: a filled ellipse and a ring on a checker board.
void SourcePicture(Surface& s, const Rect& r) {
  for (int32_t y = r.top; y < r.bottom; y += 10) {
    for (int32_t x = r.left; x < r.right; x += 10) {
      const bool dark = ((x - r.left) / 10 + (y - r.top) / 10) % 2 == 0;
      s.FillRect(Rect{x, y, x + 10, y + 10}, dark ? 0x204080 : 0xC0E0FF);
    }
  }
  s.SetPenMode(PenMode::kCopy);
  s.SetPenWidth(4);
  s.SetPenColor(0x00C0FF);
  s.SetBrushColor(0x2020E0);
  s.Ellipse(Rect{r.left + 10, r.top + 10, r.left + 60, r.bottom - 10});
  s.SetBrushStyle(BrushStyle::kClear);
  s.SetPenColor(0x20E020);
  s.Ellipse(Rect{r.left + 40, r.top + 20, r.right - 6, r.bottom - 6});
  s.SetBrushStyle(BrushStyle::kSolid);
  s.SetPenWidth(1);
}

void CopyModes(Surface& s, std::vector<Caption>& captions) {
  constexpr int32_t kPicW = 100;
  constexpr int32_t kPicH = 80;
  Surface source;
  source.Resize(kPicW, kPicH);
  SourcePicture(source, source.Bounds());
  captions.push_back({8, 396,
                      "Source picture, then the nine copy modes over striped "
                      "destinations (a cyan brush as pattern)"});
  s.CopyRect(Rect{8, 410, 8 + kPicW, 410 + kPicH}, source, source.Bounds(), kSrcCopy);
  captions.push_back({8, 506, "source"});
  const struct {
    RasterOp op;
    const char* name;
  } modes[] = {
      {kSrcCopy, "SrcCopy"},     {kSrcPaint, "SrcPaint"},     {kSrcAnd, "SrcAnd"},
      {kSrcInvert, "SrcInvert"}, {kSrcErase, "SrcErase"},     {kNotSrcErase, "NotSrcErase"},
      {kMergeCopy, "MergeCopy"}, {kMergePaint, "MergePaint"}, {kDstInvert, "DstInvert"}};
  s.SetBrushColor(0xFFFF00);
  for (int i = 0; i < 9; ++i) {
    const int32_t x = 120 + i * 100;
    const Rect dst{x, 410, x + 92, 410 + kPicH};
    Stripes(s, dst, true);
    s.SetCopyMode(modes[i].op);
    s.CopyRect(dst, source, Rect{4, 0, 96, kPicH});
    captions.push_back({x, 506, modes[i].name});
  }
  s.SetCopyMode(kSrcCopy);

  captions.push_back({8, 534,
                      "Stretched, shrunk and mirrored copies; a part of the sheet "
                      "stretched onto itself"});
  s.CopyRect(Rect{8, 546, 248, 738}, source, source.Bounds(), kSrcCopy);
  s.CopyRect(Rect{496, 546, 256, 738}, source, source.Bounds(), kSrcCopy);  // left-right
  s.CopyRect(Rect{504, 738, 624, 546}, source, source.Bounds(), kSrcCopy);  // upside down
  s.CopyRect(Rect{632, 546, 682, 586}, source, source.Bounds(), kSrcCopy);  // shrunk
  s.CopyRect(Rect{692, 546, 1016, 738}, s, Rect{8, 246, 512, 356}, kSrcCopy);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillo-sheet OUTPUT.png\n");
    return 2;
  }
  // Captions need fonts, which need an application; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);

  Surface sheet;
  if (!sheet.Resize(kW, kH)) return 1;
  sheet.FillRect(sheet.Bounds(), kPaper);
  std::vector<Caption> captions;
  Primitives(sheet, captions);
  PenModes(sheet, captions);
  CopyModes(sheet, captions);

  QImage image(reinterpret_cast<uchar*>(sheet.Bits()), kW, kH, sheet.Stride(),
               QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setPen(QColor(0x10, 0x20, 0x40));
  painter.setFont(QFont("DejaVu Sans", 8));
  for (const Caption& c : captions)
    painter.drawText(c.x, c.y, c.text);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "quillo-sheet: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
