#include <QApplication>
#include <QDir>
#include <QFont>

#include "app/qt/shell.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillo"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));

  // The run script starts the program in its program folder.
  quillo::Shell shell(QDir::currentPath().toStdString() + "/");
  shell.Start();
  return QApplication::exec();
}
