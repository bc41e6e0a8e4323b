// grid_demo: shows the demonstration window.
#include <QApplication>

#include "grid/demo/GridDemoWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Qelvo grid"));
  GridDemoWindow window;
  window.resize(900, 420);
  window.show();
  return QApplication::exec();
}
