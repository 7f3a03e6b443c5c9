#pragma once

namespace quillo {

class Program;

// Picture files: a picture opened over the canvas, and the backup saved as one.
class PictureFiles {
 public:
  explicit PictureFiles(Program& program);

  // "OpenPic": asks for a picture, hides the file strip, keeps the picture in the
  // log inspector's Image and stretches it over the whole canvas, then takes an undo
  // snapshot. A picture that cannot be read is reported and changes no picture.
  void OpenPicture();
  // "SavePic" and "SAVE PICTURE": asks for a name and writes the backup Image1 there
  // (PNG for a ".png" name, else BMP). With repaint the canvas is then shown from the
  // backup, whether a name was chosen or not. True when the picture was written.
  bool SavePicture(bool repaint);

 private:
  Program& p_;
};

}  // namespace quillo
