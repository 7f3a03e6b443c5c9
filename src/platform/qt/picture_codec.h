#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>
#include <string>

#include "form/catalogue.h"
#include "platform/raster/surface.h"

class QMimeData;

namespace quillo {

// Shows a surface's pixels as a QImage that shares them: valid while the surface
// keeps its size, and never a copy.
inline QImage SurfaceView(const Surface& s) {
  return QImage(reinterpret_cast<const uchar*>(s.Bits()), s.Width(), s.Height(), s.Stride(),
                QImage::Format_RGB32);
}

// The messages below are in the language of words, when given, else in English.

// Decodes a picture held in memory, refusing it by the size its header claims
// before anything is decoded; name says where it came from in the message.
std::optional<std::string> DecodePicture(const QByteArray& bytes, const std::string& name,
                                         QImage& image, const Catalogue* words = nullptr);

// Reads the regular file at path (a name of bytes, as the system has it) and
// decodes it as DecodePicture does; the message naming the file and the fault.
std::optional<std::string> ReadPictureFile(const std::string& path, QImage& image,
                                           const Catalogue* words = nullptr);

// Reads a picture file into out, resized to the picture; out stays as it was on failure.
std::optional<std::string> LoadPictureFile(const std::string& path, Surface& out,
                                           const Catalogue* words = nullptr);

// Encodes picture as BMP, or PNG for a ".png" name, in memory and writes it through
// the whole-file writer, so a write that fails at any step keeps the old file; the
// message naming the file and the fault.
std::optional<std::string> SavePictureFile(const std::string& path, const Surface& picture,
                                           const Catalogue* words = nullptr);

// Whether the clipboard's data offers a picture in a format the decoder reads.
bool OffersPicture(const QMimeData& data);

// Decodes the first picture the data offers that decodes within the size limits,
// never trusting a picture already decoded elsewhere; false when there is none.
bool DecodeOfferedPicture(const QMimeData& data, Surface& out);

}  // namespace quillo
