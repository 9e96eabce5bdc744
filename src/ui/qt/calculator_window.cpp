#include "ui/qt/calculator_window.h"

#include <QCloseEvent>

#include "ui/qt/title_bar.h"
#include "ui/qt/widgets.h"

namespace ui::qt {

CalculatorWindow::CalculatorWindow()
    : DesignedWindow(calculatorDesign()), calculator_(*this) {
  const WindowDesign& design = calculatorDesign();
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(pixels(design.clientWidth), pixels(design.clientHeight));
  if (design.placement) move(pixels(design.placement->left), pixels(design.placement->top));
  setFont(designFont(design.font));
  build(this, calculator_);
  widget(comath::OKButton)->setFocus();
  if (onWayland()) new TitleBar(this);
}

void CalculatorWindow::setCaption(std::string_view caption) { setWindowTitle(fromStd(caption)); }

void CalculatorWindow::bringBack() {
  // On Wayland a program can neither raise its window nor learn that it was minimized;
  // a window shown anew comes to the front.
  if (onWayland() && isVisible()) QWidget::hide();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  QWidget::show();
  raise();
  activateWindow();
}

void CalculatorWindow::discard() { deleteLater(); }

void CalculatorWindow::closeEvent(QCloseEvent* event) {
  calculator_.closeBox();
  event->accept();
}

}  // namespace ui::qt
