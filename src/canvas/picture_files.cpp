#include "canvas/picture_files.h"

#include "app/program.h"

namespace quillo {
namespace {

FileDialogSpec OpenPictureDialog() {
  FileDialogSpec spec;
  spec.filter = "bitmap(*.bmp)|*.bmp|picture(*.png;*.jpg;*.jpeg;*.gif)|*.png;*.jpg;*.jpeg;*.gif";
  spec.defaultExtension = "bmp";
  spec.mustExist = true;
  spec.kind = FileKind::kPictures;
  return spec;
}

FileDialogSpec SavePictureDialog() {
  FileDialogSpec spec;
  spec.filter = "bitmap(*.bmp)|*.bmp|png(*.png)|*.png";
  spec.defaultExtension = "bmp";
  spec.confirmOverwrite = true;
  spec.kind = FileKind::kPictures;
  return spec;
}

}  // namespace

PictureFiles::PictureFiles(Program& program) : p_(program) {}

void PictureFiles::OpenPicture() {
  const std::optional<std::string> path = p_.platform.OpenFileName(OpenPictureDialog());
  if (!path) return;
  PaintLog& m = p_.main;
  m.window.form.SetVisible(m.c.Panel2, false);
  Surface& image = p_.cubeForm.image;
  if (std::optional<std::string> error = p_.platform.LoadPicture(*path, image)) {
    p_.platform.ShowError(*error);
    return;
  }
  p_.cubeForm.pictureFile = *path;
  const Rect client{0, 0, m.window.clientWidth, m.window.clientHeight};
  m.images.canvas.CopyRect(client, image, image.Bounds());
  p_.SaveUndo();
}

bool PictureFiles::SavePicture(bool repaint) {
  PaintLog& m = p_.main;
  bool written = false;
  if (const std::optional<std::string> path = p_.platform.SaveFileName(SavePictureDialog())) {
    if (std::optional<std::string> error = p_.platform.SavePicture(*path, m.images.Backup())) {
      p_.platform.ShowError(*error);
    } else {
      written = true;
      p_.saved.picture = p_.log.Count();
    }
  }
  if (repaint) {
    const Rect client{0, 0, m.window.clientWidth, m.window.clientHeight};
    m.images.canvas.CopyRect(client, m.images.Backup(), m.images.Backup().Bounds());
  }
  return written;
}

}  // namespace quillo
