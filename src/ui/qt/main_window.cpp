#include "ui/qt/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QInputDialog>
#include <QMenu>
#include <algorithm>
#include <map>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
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

namespace {

MainClockSeams withKeys(MainClockSeams seams, SystemKeys* keys, Tray* tray, LoginStart* login) {
  if (!seams.globalKey) seams.globalKey = keys;
  if (!seams.typist) seams.typist = keys;
  if (!seams.tray) seams.tray = tray;
  if (!seams.loginStart) seams.loginStart = login;
  return seams;
}

}  // namespace

MainWindow::MainWindow(Seams seams)
    : DesignedWindow(mainClockDesign()),
      endProgram_(seams.endProgram ? seams.endProgram : [] { QCoreApplication::quit(); }),
      keys_(makeSystemKeys()),
      tray_(QIcon(QPixmap(selenial_32_xpm))),
      clock_(*this, withKeys(seams, keys_.get(), &tray_, &autostart_)) {
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
  std::map<int, QMenu*> subMenus;
  std::map<std::pair<int, int>, QActionGroup*> groups;
  for (int entry = 0; entry < static_cast<int>(design.menu.size()); ++entry) {
    const MenuDesign& item = design.menu[entry];
    const bool hasEntries = std::ranges::any_of(design.menu, [entry](const MenuDesign& m) { return m.parent == entry; });
    QAction* action = nullptr;
    if (hasEntries) {
      QMenu* sub = item.parent < 0 ? menuBar->addMenu(fromStd(item.caption))
                                   : subMenus.at(item.parent)->addMenu(fromStd(item.caption));
      sub->setObjectName(fromStd(item.name) + "_entries");
      subMenus[entry] = sub;
      action = sub->menuAction();
    } else {
      QWidget* in = item.parent < 0 ? static_cast<QWidget*>(menuBar) : subMenus.at(item.parent);
      if (item.separatorBefore && item.parent >= 0) subMenus.at(item.parent)->addSeparator();
      action = new QAction(fromStd(item.caption), in);
      in->addAction(action);
      connect(action, &QAction::triggered, this, [this, entry] { clock_.menuChosen(entry); });
    }
    action->setObjectName(fromStd(item.name));
    if (item.kind == MenuKind::Radio) {
      action->setCheckable(true);
      QActionGroup*& group = groups[{item.parent, item.group}];
      if (!group) group = new QActionGroup(this);
      group->addAction(action);
    }
    if (item.kind == MenuKind::Note) action->setEnabled(false);
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
  // The desktop's session ends: the clock keeps what Quit keeps (its places, a window left
  // hidden in the notification area), once.
  const auto sessionEnds = [this] {
    if (!ended_) clock_.quit();
  };
  connect(qApp, &QGuiApplication::commitDataRequest, this, sessionEnds);
  connect(qApp, &QCoreApplication::aboutToQuit, this, sessionEnds);
}

MainWindow::~MainWindow() { delete calculator_; }

void MainWindow::setCaption(std::string_view caption) { setWindowTitle(fromStd(caption)); }

void MainWindow::enableMenu(int entry, bool enabled) { menu_[entry]->setEnabled(enabled); }

void MainWindow::checkMenu(int entry, bool checked) { menu_[entry]->setChecked(checked); }

void MainWindow::setMenuCaption(int entry, std::string_view caption) { menu_[entry]->setText(fromStd(caption)); }

std::optional<int> MainWindow::popUpMenu(const std::vector<int>& entries) {
  QMenu popUp(this);
  popUp.setObjectName("popUpMenu");
  for (const int entry : entries) {
    QAction* action = popUp.addAction(menu_[entry]->text());
    action->setData(entry);
  }
  const QAction* chosen = popUp.exec(QCursor::pos());
  if (!chosen) return std::nullopt;
  return chosen->data().toInt();
}

std::optional<std::string> MainWindow::askText(std::string_view title, std::string_view prompt,
                                               std::string_view text) {
  bool ok = false;
  const QString answer =
      QInputDialog::getText(this, fromStd(title), fromStd(prompt), QLineEdit::Normal, fromStd(text), &ok);
  if (!ok) return std::nullopt;
  return answer.toStdString();
}

std::optional<KeyChord> MainWindow::askKeyChord(std::string_view title, std::string_view prompt) {
  return qt::askKeyChord(this, fromStd(title), fromStd(prompt));
}

bool MainWindow::minimized() const { return isMinimized(); }

void MainWindow::armTimer(std::chrono::milliseconds interval) { startimer_->start(interval); }

void MainWindow::stopTimer() { startimer_->stop(); }

CalculatorWindow* MainWindow::calculator() const { return static_cast<CalculatorWindow*>(calculator_.data()); }

void MainWindow::showCalculator() {
  if (!calculator_) {
    calculator_ = new CalculatorWindow();
    if (calculatorPlace_) calculator_->setGeometry(QRect(QPoint(calculatorPlace_->x, calculatorPlace_->y), calculator_->size()));
  }
  calculator()->bringBack();
}

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  delete calculator_;
  endProgram_();
}

void MainWindow::showWindow(bool shown) {
  if (!shown) {
    hide();
    return;
  }
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

bool MainWindow::inFront() const { return isVisible() && !isMinimized() && isActiveWindow(); }

bool MainWindow::canStayOnTop() const { return !onWayland(); }

void MainWindow::stayOnTop(bool on) {
  const bool visible = isVisible();
  // A new flag remakes the window, hidden: shown again, the window manager hears of it.
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) show();
}

void MainWindow::setMenuToolTip(int entry, std::string_view tip) {
  QAction* action = menu_[entry];
  action->setToolTip(fromStd(tip));
  for (QObject* in : action->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(in)) menu->setToolTipsVisible(true);
  }
}

std::optional<Point> MainWindow::position(Which window) const {
  // Wayland tells no program where its windows are, nor lets it put them anywhere.
  const QWidget* widget = window == Which::Clock ? this : calculator_.data();
  if (onWayland() || !widget) return std::nullopt;
  // The client area's corner: X11 tells it at once, while the frame's extents may be
  // still to come from the window manager (after "Always on top" remade the window).
  const QPoint at = widget->geometry().topLeft();
  return Point{at.x(), at.y()};
}

void MainWindow::place(Which window, Point at) {
  if (window == Which::Calculator) {
    calculatorPlace_ = at;
  } else {
    setGeometry(QRect(QPoint(at.x, at.y), size()));
  }
}

std::vector<Rect> MainWindow::screens() const {
  std::vector<Rect> rects;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    rects.push_back({area.x(), area.y(), area.width(), area.height()});
  }
  return rects;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Kept in the notification area, the window is only hidden.
  clock_.Form_Unload();
  event->accept();
}

}  // namespace ui::qt
