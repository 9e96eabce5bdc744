#include "ui/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/qt/accessibility.h"
#include "ui/qt/calculator_window.h"
#include "ui/qt/title_bar.h"
#include "ui/qt/widgets.h"

// The window icon as source: the same pixels as icons/selenial-32.png, which the desktop
// gets, but shown without decoding a file (that would load every image-format plugin).
#include "ui/icons/selenial-32.xpm"

namespace ui::qt {

MainWindow::MainWindow(Seams seams)
    : DesignedWindow(mainClockDesign()),
      endProgram_(seams.endProgram ? seams.endProgram : [] { QCoreApplication::quit(); }),
      clock_(*this, seams) {
  installAccessibility();
  const WindowDesign& design = mainClockDesign();
  setWindowIcon(QIcon(QPixmap(selenial_32_xpm)));
  // A plain window with a menu bar: the main-window machinery for tool bars and docks
  // would cost start-up time and memory for nothing.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* menuBar = new QMenuBar(this);
  layout->setMenuBar(menuBar);
  for (int entry = 0; entry < static_cast<int>(design.menu.size()); ++entry) {
    QAction* action = menuBar->addAction(fromStd(design.menu[entry].caption));
    action->setObjectName(fromStd(design.menu[entry].name));
    connect(action, &QAction::triggered, this, [this, entry] { events().menuChosen(entry); });
    menu_.push_back(action);
  }
  // F10 does what Alt alone does: the menu bar takes the keyboard, its first entry lit.
  connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, this, [this] {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    for (const auto type : {QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent alt(type, Qt::Key_Alt, type == QEvent::KeyRelease ? Qt::NoModifier : Qt::AltModifier);
      QApplication::sendEvent(target, &alt);
    }
  });
  auto* client = new QWidget(this);
  client->setObjectName("client");
  // The window's own colour: the design's, or the button face in high contrast.
  paint(client, {.text = design.background, .background = design.background});
  layout->addWidget(client);
  build(client, clock_, {mainclock::DiffSec, mainclock::setdone});

  startimer_ = new QTimer(this);
  startimer_->setObjectName("startimer");
  startimer_->setTimerType(Qt::PreciseTimer);
  startimer_->setSingleShot(true);
  connect(startimer_, &QTimer::timeout, this, [this] { clock_.startimer_Timer(); });

  // Controls stand at fixed places: resizing the window clips them, never moves them.
  resize(pixels(design.clientWidth), pixels(design.clientHeight) + menuBar->sizeHint().height());
  clock_.Form_Load();
}

MainWindow::~MainWindow() { delete calculator_; }

void MainWindow::setCaption(std::string_view caption) { setWindowTitle(fromStd(caption)); }

void MainWindow::enableMenu(int entry, bool enabled) { menu_[entry]->setEnabled(enabled); }

bool MainWindow::minimized() const { return isMinimized(); }

void MainWindow::armTimer(std::chrono::milliseconds interval) { startimer_->start(interval); }

void MainWindow::stopTimer() { startimer_->stop(); }

CalculatorWindow* MainWindow::calculator() const { return static_cast<CalculatorWindow*>(calculator_.data()); }

void MainWindow::showCalculator() {
  if (!calculator_) calculator_ = new CalculatorWindow();
  calculator()->bringBack();
}

void MainWindow::endProgram() {
  delete calculator_;
  endProgram_();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  clock_.Form_Unload();
  event->accept();
}

}  // namespace ui::qt
