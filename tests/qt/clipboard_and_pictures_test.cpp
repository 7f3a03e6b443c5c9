// The system clipboard and picture files as the Qt platform does them.
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <cstdint>
#include <utility>

#include "shell_fixture.h"

namespace quillo {
namespace {

using ClipboardWindowTest = ShellTest;

// The little-endian 16-bit number at offset at of a file's bytes.
int Le16(const QByteArray& bytes, int at) {
  return uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8;
}

TEST_F(ClipboardWindowTest, CopyPutsTheSelectionOnTheClipboardAsPngThenBmp) {
  Surface& canvas = Prog().main.images.canvas;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x)
      canvas.SetPixel({60 + x, 20 + y}, Rgb(x * 6, y * 8, 99));
  // Framed from bottom right to top left.
  Prog().drawing.selectionStart = {100, 50};
  Prog().drawing.selectionEnd = {60, 20};
  QWidget* copy = Widget("SpeedButton38");
  ASSERT_NE(copy, nullptr);
  ASSERT_TRUE(copy->isVisible());
  Click(copy);

  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  const QStringList formats = data->formats();
  ASSERT_GE(formats.size(), 2);
  EXPECT_EQ(formats[0], "image/png");
  EXPECT_TRUE(formats.contains("image/bmp"));
  const QImage png = QImage::fromData(data->data("image/png"), "PNG");
  ASSERT_EQ(png.size(), QSize(40, 30));
  for (int y = 0; y < 30; y += 7)
    for (int x = 0; x < 40; x += 9)
      EXPECT_EQ(png.pixel(x, y) & 0xFFFFFFu, qRgb(x * 6, y * 8, 99) & 0xFFFFFFu) << x << "," << y;
  const QByteArray bmp = data->data("image/bmp");
  ASSERT_GT(bmp.size(), 54);
  EXPECT_EQ(bmp.left(2), "BM");
  EXPECT_EQ(Le16(bmp, 28), 24) << "bits per pixel";
  EXPECT_EQ(QImage::fromData(bmp, "BMP").pixel(39, 29), png.pixel(39, 29));
}

TEST_F(ClipboardWindowTest, AnEmptySelectionLeavesTheClipboardAsItWas) {
  QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
  Prog().drawing.selectionStart = {60, 20};
  Prog().drawing.selectionEnd = {60, 80};
  SendKey(&Window(), Qt::Key_C, Qt::ControlModifier, QString());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

TEST_F(ClipboardWindowTest, PasteStretchesAPngFromTheClipboardIntoTheSelection) {
  QImage picture(2, 2, QImage::Format_RGB32);
  picture.setPixel(0, 0, qRgb(255, 0, 0));
  picture.setPixel(1, 0, qRgb(0, 255, 0));
  picture.setPixel(0, 1, qRgb(0, 0, 255));
  picture.setPixel(1, 1, qRgb(255, 255, 0));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(picture.save(&buffer, "PNG"));
  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/png"), png);
  QGuiApplication::clipboard()->setMimeData(data);

  Prog().drawing.selectionStart = {100, 40};
  Prog().drawing.selectionEnd = {160, 100};
  SendKey(&Window(), Qt::Key_V, Qt::ControlModifier, QString());

  const Surface& canvas = Prog().main.images.canvas;
  const struct {
    Point at;
    Color colour;
  } expected[] = {{{100, 40}, Rgb(255, 0, 0)},   {{129, 69}, Rgb(255, 0, 0)},
                  {{130, 40}, Rgb(0, 255, 0)},   {{159, 69}, Rgb(0, 255, 0)},
                  {{100, 70}, Rgb(0, 0, 255)},   {{129, 99}, Rgb(0, 0, 255)},
                  {{130, 70}, Rgb(255, 255, 0)}, {{159, 99}, Rgb(255, 255, 0)}};
  for (const auto& e : expected)
    EXPECT_EQ(canvas.Pixel(e.at), e.colour) << e.at.x << "," << e.at.y;
  EXPECT_EQ(canvas.Pixel({160, 70}), 0u);
  EXPECT_EQ(canvas.Pixel({99, 70}), 0u);
  // The paste is committed, and shown.
  EXPECT_EQ(Prog().main.images.Backup().Pixel({130, 70}), Rgb(255, 255, 0));
  EXPECT_EQ(OnScreen(&Window()).pixel(130, 70) & 0xFFFFFFu, 0xFFFF00u);
}

class PictureFileQtTest : public testing::Test {
 protected:
  QString Path(const char* name) { return dir_.filePath(QString::fromLatin1(name)); }
  static std::string Std(const QString& s) { return s.toStdString(); }
  // Writes a file of the bytes given into the test's folder.
  void Write(const char* name, const QByteArray& bytes) {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  QTemporaryDir dir_;
  QtPlatform platform_;
};

TEST_F(PictureFileQtTest, SavesBmpOf24BitsOrPngAndOpensThemAgain) {
  Surface picture;
  ASSERT_TRUE(picture.Resize(100, 100));
  picture.FillRect({0, 0, 50, 100}, Rgb(200, 10, 30));
  for (const char* name : {"saved.bmp", "saved.png"}) {
    ASSERT_EQ(platform_.SavePicture(Std(Path(name)), picture), std::nullopt) << name;
    Surface opened;
    ASSERT_EQ(platform_.LoadPicture(Std(Path(name)), opened), std::nullopt) << name;
    ASSERT_EQ(opened.Width(), 100);
    EXPECT_EQ(opened.Pixel({10, 10}), Rgb(200, 10, 30)) << name;
    EXPECT_EQ(opened.Pixel({60, 10}), 0u) << name;
  }
  QFile bmp(Path("saved.bmp"));
  ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
  const QByteArray bytes = bmp.readAll();
  EXPECT_EQ(bytes.left(2), "BM");
  EXPECT_EQ(Le16(bytes, 28), 24);
  QFile png(Path("saved.png"));
  ASSERT_TRUE(png.open(QIODevice::ReadOnly));
  EXPECT_EQ(png.read(4), "\x89PNG");
}

TEST_F(PictureFileQtTest, OpensJpegAndTheFirstFrameOfAGif) {
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 250));
  ASSERT_TRUE(image.save(Path("blue.jpg"), "JPEG", 100));
  Surface opened;
  ASSERT_EQ(platform_.LoadPicture(Std(Path("blue.jpg")), opened), std::nullopt);
  EXPECT_EQ(opened.Width(), 20);
  EXPECT_GT(BlueOf(opened.Pixel({5, 5})), 240u);

  // A one-pixel GIF of two frames: colour 0 (blue), then colour 1 (black).
  const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a',  1,    0,    1,    0, 0x80, 0, 0,
                               0,   0,   250, 0,   0,   0,    0x2C, 0,    0,    0, 0,    1, 0,
                               1,   0,   0,   2,   2,   0x44, 1,    0,    0x2C, 0, 0,    0, 0,
                               1,   0,   1,   0,   0,   2,    2,    0x4C, 1,    0, 0x3B};
  QFile file(Path("frames.gif"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(gif), sizeof gif);
  file.close();
  ASSERT_EQ(platform_.LoadPicture(Std(Path("frames.gif")), opened), std::nullopt);
  ASSERT_EQ(opened.Width(), 1);
  EXPECT_EQ(opened.Pixel({0, 0}), Rgb(0, 0, 250));
}

TEST_F(PictureFileQtTest, RefusesWhatIsNoPictureOrTooLargeAndKeepsTheSurface) {
  Surface kept;
  ASSERT_TRUE(kept.Resize(3, 3));
  kept.SetPixel({1, 1}, Rgb(1, 2, 3));

  Write("notes.bmp", "these are words, not a picture\n");
  const auto notPicture = platform_.LoadPicture(Std(Path("notes.bmp")), kept);
  ASSERT_TRUE(notPicture.has_value());
  EXPECT_NE(notPicture->find(Std(Path("notes.bmp"))), std::string::npos) << *notPicture;

  // Bitmap headers claiming more pixels than allowed, refused before any decoding:
  // too many bytes, too wide, so large that Qt's reader calls it unreadable, and sides
  // whose byte count would not fit in 64 bits.
  for (const auto& [w, h] : {std::pair{9000, 9000}, std::pair{20000, 10}, std::pair{20000, 20000},
                             std::pair{2147483647, 2147483647}}) {
    QByteArray header(54, '\0');
    auto put32 = [&](int at, uint32_t v) {
      for (int i = 0; i < 4; ++i)
        header[at + i] = char((v >> (8 * i)) & 255u);
    };
    header[0] = 'B';
    header[1] = 'M';
    put32(2, 54 + uint32_t(w) * 3u * uint32_t(h));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    header[26] = 1;
    header[28] = 24;
    Write("huge.bmp", header);
    const auto tooLarge = platform_.LoadPicture(Std(Path("huge.bmp")), kept);
    ASSERT_TRUE(tooLarge.has_value());
    const std::string size = std::to_string(w) + " x " + std::to_string(h);
    EXPECT_NE(tooLarge->find(size), std::string::npos) << *tooLarge;
    EXPECT_NE(tooLarge->find("huge.bmp"), std::string::npos) << *tooLarge;
  }

  // A PNG with a text chunk after its pixels that claims 1.7 GB in a file of a few
  // hundred bytes: refused before the PNG reader sets memory aside for the chunk.
  {
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(qRgb(9, 9, 9));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(small.save(&buffer, "PNG"));
    ASSERT_EQ(png.right(12).mid(4, 4), "IEND");
    png.chop(12);
    png.append("\x66\x33\x33\x25tEXtComment", 15);
    png.append(QByteArray(40, 'x'));
    Write("lying.png", png);
    const auto damaged = platform_.LoadPicture(Std(Path("lying.png")), kept);
    ASSERT_TRUE(damaged.has_value());
    EXPECT_NE(damaged->find("damaged"), std::string::npos) << *damaged;
    EXPECT_NE(damaged->find("lying.png"), std::string::npos) << *damaged;
  }

  const auto missing = platform_.LoadPicture(Std(Path("missing.png")), kept);
  ASSERT_TRUE(missing.has_value());
  EXPECT_NE(missing->find("missing.png"), std::string::npos);

  ASSERT_EQ(kept.Width(), 3);
  EXPECT_EQ(kept.Pixel({1, 1}), Rgb(1, 2, 3));
}

TEST_F(PictureFileQtTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  QFile old(Path("old.bmp"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old contents");
  old.close();
  const Surface nothing;  // a picture of no pixels cannot be written
  const auto error = platform_.SavePicture(Std(Path("old.bmp")), nothing);
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find("old.bmp"), std::string::npos) << *error;
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "old contents");

  const auto noFolder = platform_.SavePicture(Std(Path("no/such/folder/x.png")), nothing);
  EXPECT_TRUE(noFolder.has_value());
}

}  // namespace
}  // namespace quillo
