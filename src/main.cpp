#include <QApplication>

#include "ui/design.h"
#include "ui/main_clock.h"
#include "ui/title_bar.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(SELENIAL_NAME);
  QApplication::setApplicationVersion(SELENIAL_VERSION);
  QApplication::setOrganizationName(SELENIAL_PRODUCT);
  QApplication::setStyle(new ui::SelenialStyle);
  if (ui::onWayland()) ui::repaintTitleBarsOnCaptionChange(app);
  ui::MainCLock window;
  window.show();
  return QApplication::exec();
}
