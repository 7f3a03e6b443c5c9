// quillo-guide-pictures: the pictures of the start screen and the help window.
//
//   quillo-guide-pictures title OUTPUT.bmp   the 496 x 304 title picture
//   quillo-guide-pictures chart OUTPUT.bmp [CATALOGUE.po]
//                                            the hot key chart, from the key table, in
//                                            the catalogue's language (else English)
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "app/key_table.h"
#include "app/language.h"
#include "form/catalogue.h"
#include "title.h"

namespace {

constexpr int kColumns = 3;
constexpr int kColumnWidth = 328;
constexpr int kMargin = 10;
constexpr int kLine = 16;
constexpr int kTitleLine = 26;
constexpr int kKeyWidth = 122;

int Fail(const std::string& message) {
  std::fprintf(stderr, "quillo-guide-pictures: %s\n", message.c_str());
  return 1;
}

bool Save(const QImage& image, const char* path) {
  return image.convertToFormat(QImage::Format_RGB888).save(QString::fromUtf8(path), "BMP");
}

int MakeTitle(const char* path) {
  quillo::Surface title;
  if (!quillo::DrawTitle(title)) return Fail("cannot draw the title");
  const QImage view(reinterpret_cast<const uchar*>(title.Bits()), title.Width(), title.Height(),
                    title.Stride(), QImage::Format_RGB32);
  return Save(view, path) ? 0 : Fail(std::string(path) + ": cannot write");
}

// The rows of each section of the key table, in table order.
std::array<std::vector<const quillo::KeyRow*>, quillo::kKeyGroupCount> Sections() {
  std::array<std::vector<const quillo::KeyRow*>, quillo::kKeyGroupCount> out;
  for (const quillo::KeyRow& row : quillo::KeyTable())
    out[static_cast<size_t>(row.group)].push_back(&row);
  return out;
}

int MakeChart(const char* path, const quillo::Catalogue& words) {
  const auto tr = [&words](const char* english) {
    return QString::fromStdString(words.Text(english));
  };
  const auto sections = Sections();
  // Sections go down the columns in order, a new column when the next would pass the
  // column's share of the lines.
  int lines = 0;
  for (const auto& s : sections)
    lines += static_cast<int>(s.size()) + 2;
  const int share = (lines + kColumns - 1) / kColumns;
  std::array<std::vector<size_t>, kColumns> columns;
  int column = 0, used = 0;
  for (size_t g = 0; g < sections.size(); ++g) {
    if (sections[g].empty()) continue;
    const int need = static_cast<int>(sections[g].size()) + 2;
    if (used > 0 && used + need > share + 4 && column + 1 < kColumns) {
      ++column;
      used = 0;
    }
    columns[column].push_back(g);
    used += need;
  }
  int height = 0;
  for (const auto& c : columns) {
    int h = 0;
    for (size_t g : c)
      h += kTitleLine + static_cast<int>(sections[g].size()) * kLine + 8;
    height = std::max(height, h);
  }
  QImage image(kMargin * 2 + kColumns * kColumnWidth, kMargin * 2 + height, QImage::Format_RGB32);
  image.fill(QColor(28, 10, 80));
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(16);
  title.setBold(true);
  QFont key = title;
  key.setPixelSize(12);
  QFont what = key;
  what.setBold(false);
  for (int c = 0; c < kColumns; ++c) {
    const int x = kMargin + c * kColumnWidth;
    int y = kMargin;
    for (size_t g : columns[c]) {
      p.setFont(title);
      p.setPen(QColor(0, 255, 0));
      p.drawText(QRect(x, y, kColumnWidth - 8, kTitleLine), Qt::AlignLeft | Qt::AlignVCenter,
                 tr(quillo::KeyGroupTitle(static_cast<quillo::KeyGroup>(g))));
      y += kTitleLine;
      for (const quillo::KeyRow* row : sections[g]) {
        p.setFont(key);
        p.setPen(QColor(255, 230, 80));
        p.drawText(QRect(x, y, kKeyWidth - 6, kLine), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(quillo::KeyName(*row)));
        p.setFont(what);
        p.setPen(Qt::white);
        const QRect box(x + kKeyWidth, y, kColumnWidth - kKeyWidth - 10, kLine);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetrics(what).elidedText(tr(row->what), Qt::ElideRight, box.width()));
        y += kLine;
      }
      y += 8;
    }
  }
  p.end();
  return Save(image, path) ? 0 : Fail(std::string(path) + ": cannot write");
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc == 3 && std::string(argv[1]) == "title") return MakeTitle(argv[2]);
  if ((argc == 3 || argc == 4) && std::string(argv[1]) == "chart") {
    if (argc == 3) return MakeChart(argv[2], quillo::Catalogue{});
    auto words = quillo::LoadCatalogue(argv[3]);
    if (const auto* fault = std::get_if<std::string>(&words))
      return Fail(std::string(argv[3]) + ": " + *fault);
    return MakeChart(argv[2], std::get<quillo::Catalogue>(words));
  }
  std::fputs("usage: quillo-guide-pictures title|chart OUTPUT.bmp [CATALOGUE.po]\n", stderr);
  return 1;
}
