#include <QApplication>

#include "ui/main_clock.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Selenial");
  QApplication::setApplicationVersion(SELENIAL_VERSION);
  QApplication::setOrganizationName("Vantrel");
  ui::MainCLock window;
  window.show();
  return QApplication::exec();
}
