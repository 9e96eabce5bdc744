#include <QApplication>

#include "ui/design.h"
#include "ui/main_clock.h"
#include "ui/title_bar.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(SELENIAL_NAME);
  QApplication::setApplicationVersion(SELENIAL_VERSION);
  QApplication::setOrganizationName(SELENIAL_PRODUCT);
  // Docks and task switchers find the desktop entry, and so the name and icon, by this id.
  QGuiApplication::setDesktopFileName(SELENIAL_APP_ID);
  QApplication::setStyle(new ui::SelenialStyle);
  if (ui::onWayland()) ui::repaintTitleBarsOnCaptionChange(app);
  ui::MainCLock window;
  window.show();
  return QApplication::exec();
}
