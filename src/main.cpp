#include <QApplication>

#include "ui/qt/main_window.h"
#include "ui/qt/title_bar.h"
#include "ui/qt/widgets.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(SELENIAL_NAME);
  QApplication::setApplicationVersion(SELENIAL_VERSION);
  QApplication::setOrganizationName(SELENIAL_PRODUCT);
  // Docks and task switchers find the desktop entry, and so the name and icon, by this id.
  QGuiApplication::setDesktopFileName(SELENIAL_APP_ID);
  QApplication::setStyle(new ui::qt::SelenialStyle);
  // The clock ends when it says so: a window hidden in the notification area is no end.
  QApplication::setQuitOnLastWindowClosed(false);
  if (ui::qt::onWayland()) ui::qt::repaintTitleBarsOnCaptionChange(app);
  ui::qt::highContrast = ui::qt::desktopAsksHighContrast();
  ui::qt::MainWindow window;
  // Left hidden in the notification area, the clock starts there with only its icon.
  if (window.handlers().startsShown()) window.show();
  return QApplication::exec();
}
