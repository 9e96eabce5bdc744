#include <QAccessible>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QMenu>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <set>

#include "clock/epoch_clock.h"
#include "ui/contrast.h"
#include "ui/qt/calculator_window.h"
#include "ui/qt/widgets.h"
#include "window_test_support.h"

namespace {

class MainWindowTest : public uitest::WindowTest {
 protected:
  QLabel* value(int i) const { return window_->findChild<QLabel*>(QString("Label5_%1").arg(i)); }
  QLabel* title(int i) const { return window_->findChild<QLabel*>(QString("Label1_%1").arg(i)); }
  QWidget* control(const char* name) const { return window_->findChild<QWidget*>(name); }
  QAction* action(const char* name) const { return window_->findChild<QAction*>(name); }
  QLineEdit* box() const { return window_->findChild<QLineEdit*>("DiffSec"); }
  // The offset box as the user reaches it: OK, then SetUp.
  QLineEdit* openSetup() {
    window_->handlers().cmdOK_Click();
    window_->handlers().mnuSetup_Click();
    return box();
  }
  QWidget* client() const { return window_->findChild<QWidget*>("client"); }
  QTimer* timer() const { return window_->findChild<QTimer*>("startimer"); }
  static std::pair<QColor, QColor> colours(const QWidget* w) {
    return {w->palette().color(QPalette::WindowText), w->palette().color(QPalette::Window)};
  }

  void setClock(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    clock_.setTo(testsupport::at(y, mo, d, h, mi, s));
  }
  void tick() { window_->handlers().startimer_Timer(); }

  enum class View { About, Clock, ClockWithSetup };
  void expectView(View view) const {
    const bool clockShown = view != View::About;
    const bool setupShown = view == View::ClockWithSetup;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(!value(i)->isHidden(), clockShown) << "Label5_" << i;
      EXPECT_EQ(!title(i)->isHidden(), clockShown) << "Label1_" << i;
    }
    for (const char* name : {"lblTitle", "lblVersion", "AuthorLbl", "lblDescription", "cmdOK", "lblDisclaimer"}) {
      EXPECT_EQ(!control(name)->isHidden(), !clockShown) << name;
    }
    for (const char* name : {"setdone", "TZdiffLbl", "DiffSec"}) {
      const QWidget* w = control(name);  // the setup controls exist once the panel has opened
      EXPECT_EQ(w && !w->isHidden(), setupShown) << name;
    }
    EXPECT_EQ(action("mnuSetup")->isEnabled(), view != View::About);
    EXPECT_EQ(action("mnuAbout")->isEnabled(), view != View::ClockWithSetup);
    EXPECT_TRUE(action("coMathCalc")->isEnabled());
  }
  void showActive() {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  void retype(const QString& text) {
    QLineEdit* target = box() ? box() : openSetup();
    target->selectAll();
    QTest::keyClicks(target, text);
  }
};

TEST_F(MainWindowTest, FirstLook) {
  open();
  EXPECT_EQ(window_->windowTitle(), "ini:  0");
  expectView(View::About);
  EXPECT_EQ(stored(), "(no file)");
  EXPECT_TRUE(timer()->isActive());
  EXPECT_EQ(timer()->interval(), 1000);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(value(i)->text(), "") << i;
  EXPECT_FALSE(window_->windowIcon().isNull());
  window_->show();
  EXPECT_EQ(client()->size(), QSize(423, 184));
  EXPECT_EQ(action("mnuSetup")->text(), "&SetUp");
  EXPECT_EQ(action("mnuAbout")->text(), "&About");
  EXPECT_EQ(action("coMathCalc")->text(), "&Calculator");
}

// Which view each handler leads to is the handlers' own table; here a click and a menu
// entry reach them.
TEST_F(MainWindowTest, AClickAndAMenuEntryReachTheHandlers) {
  open();
  window_->show();
  QTest::mouseClick(control("cmdOK"), Qt::LeftButton);
  expectView(View::Clock);
  action("mnuSetup")->trigger();
  expectView(View::ClockWithSetup);
}

TEST_F(MainWindowTest, EnterAndEscapeLeaveTheAboutView) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    open();
    showActive();
    QTest::keyClick(window_.get(), key);
    expectView(View::Clock);
    // Once "OK" is hidden, the keys do nothing.
    QTest::keyClick(window_.get(), key);
    expectView(View::Clock);
  }
}

TEST_F(MainWindowTest, KeyboardAlone) {
  // "Lock Setup" by keyboard and by mouse: afterwards no key reaches the hidden box, and
  // the copy keys take the time stamp.
  for (const bool byMouse : {false, true}) {
    SCOPED_TRACE(byMouse ? "mouse" : "keyboard");
    QFile::remove("Selenial.ini");
    open();
    showActive();
    setClock(2000, 3, 13, 1, 54, 10);
    tick();
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::AltModifier);
    expectView(View::About);  // "&SetUp" is disabled on the About view
    QTest::keyClick(window_.get(), Qt::Key_Return);
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::AltModifier);
    expectView(View::ClockWithSetup);
    QTest::keyClicks(QApplication::focusWidget(), "25200");
    EXPECT_EQ(stored(), "25200\r\n");
    if (byMouse) {
      QTest::mouseClick(control("setdone"), Qt::LeftButton);
    } else {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_EQ(QApplication::focusWidget()->objectName(), "setdone");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    }
    expectView(View::Clock);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus);
    EXPECT_TRUE(focus->isVisible()) << focus->objectName().toStdString();
    QTest::keyClicks(focus, "5");
    EXPECT_EQ(stored(), "25200\r\n");
    EXPECT_EQ(window_->handlers().TZdays(), 25200 / 86400.0);
    for (const QKeySequence& copy : QKeySequence::keyBindings(QKeySequence::Copy)) {
      QGuiApplication::clipboard()->setText("old");
      QTest::keyClick(focus, copy[0].key(), copy[0].keyboardModifiers());
      EXPECT_EQ(clipboardText(), value(0)->text());
      EXPECT_FALSE(clipboardText().isEmpty());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
    expectView(View::About);
  }
}

TEST_F(MainWindowTest, AClickOnAnyValueCopiesTheStarDate) {
  open();
  window_->show();
  window_->handlers().cmdOK_Click();
  QGuiApplication::clipboard()->setText("old");
  // Before the first tick the StarDate label is still empty.
  QTest::mouseClick(value(2), Qt::LeftButton);
  EXPECT_EQ(clipboardText(), "");
  setClock(2000, 3, 13, 1, 54, 10);
  store("25200");
  window_->handlers().DiffSec_Change("25200");
  tick();
  for (int i = 0; i < 4; ++i) {
    auto* rich = new QMimeData;
    rich->setHtml("<b>old</b>");
    rich->setData("image/png", "xx");
    QGuiApplication::clipboard()->setMimeData(rich);
    QTest::mouseClick(value(i), Qt::LeftButton);
    EXPECT_EQ(clipboardText(), "   + 39A4.51EB") << i;
    const QMimeData* now = QGuiApplication::clipboard()->mimeData();
    EXPECT_FALSE(now->hasHtml()) << i;
    EXPECT_FALSE(now->hasFormat("image/png")) << i;
  }
}

TEST_F(MainWindowTest, AFailedSaveIsShownAndTheOffsetStillApplies) {
  open();
  window_->handlers().cmdOK_Click();
  window_->handlers().mnuSetup_Click();
  ASSERT_TRUE(QDir().mkdir("Selenial.ini"));  // nothing can be written there now
  retype("7200");
  EXPECT_EQ(window_->handlers().TZdays(), 7200 / 86400.0);
  // Seen at a glance: the text turns red, readable on the box's colour in a light and in a
  // dark theme; the tip names the file by its full path.
  const QString path = QDir::current().absoluteFilePath("Selenial.ini");
  for (const QPalette& palette : {uitest::darkPalette(), systemPalette_}) {
    QApplication::setPalette(palette);
    QApplication::processEvents();
    const QColor text = box()->palette().color(QPalette::Text);
    EXPECT_GT(text.red(), 2 * std::max(text.green(), text.blue())) << text.name().toStdString();
    EXPECT_GE(ui::contrastRatio(text.rgb() & 0xFFFFFF, box()->palette().color(QPalette::Base).rgb() & 0xFFFFFF), 4.5);
  }
  EXPECT_TRUE(box()->toolTip().contains("could not be saved")) << box()->toolTip().toStdString();
  EXPECT_TRUE(box()->toolTip().contains(path)) << box()->toolTip().toStdString();
  EXPECT_FALSE(box()->toolTip().contains(".tmp")) << box()->toolTip().toStdString();
  ASSERT_TRUE(QDir().rmdir("Selenial.ini"));
  retype("3600");
  EXPECT_EQ(box()->toolTip(), "This value is decimal-based.");
  EXPECT_EQ(box()->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Highlight));
  EXPECT_EQ(stored(), "3600\r\n");
}

TEST_F(MainWindowTest, AFaultOfTheFileAtStartIsShownWhenTheSetupOpens) {
  struct Case {
    QString name;
    QByteArray stored;  // empty: a folder stands there instead
    QString box, toolTip;
  };
  const Case cases[] = {
      // The stored "3600,60" is written back as "3600" at start; with a name this long the
      // save's temporary file beside it (the name and ".tmp") passes the 255 bytes a name
      // may have and cannot be made.
      {QString(252, 'n'), "3600,60\r\n", "3600", "The offset could not be saved: "},
      {"Selenial.ini", "", "0", "The stored offset could not be read: "},
  };
  for (const Case& c : cases) {
    if (c.stored.isEmpty()) {
      ASSERT_TRUE(QDir().mkdir(c.name));
    } else {
      store(c.stored, c.name);
    }
    open(c.name.toStdString());
    QLineEdit* setupBox = openSetup();
    EXPECT_EQ(setupBox->text(), c.box);
    EXPECT_TRUE(setupBox->toolTip().startsWith(c.toolTip)) << setupBox->toolTip().toStdString();
    EXPECT_TRUE(setupBox->toolTip().contains(QDir::current().absoluteFilePath(c.name)))
        << setupBox->toolTip().toStdString();
    EXPECT_EQ(c.stored.isEmpty() ? QByteArray() : stored(c.name), c.stored) << "left as it was";
    EXPECT_EQ(QFileInfo(c.name).isDir(), c.stored.isEmpty());
  }
}

TEST_F(MainWindowTest, ReadableUnderAnySystemPalette) {
  const QPalette light = systemPalette_;
  // The theme is dark from the start, or turns dark while the program runs.
  for (const bool darkFirst : {true, false}) {
    SCOPED_TRACE(darkFirst ? "dark at start" : "dark later");
    QApplication::setPalette(darkFirst ? uitest::darkPalette() : light);
    open();
    window_->handlers().coMathCalc_Click();
    QApplication::setPalette(uitest::darkPalette());
    QApplication::processEvents();
    for (const char* name : {"lblTitle", "lblDescription", "lblDisclaimer", "AuthorLbl", "Label1_0"}) {
      const auto [text, back] = colours(control(name));
      EXPECT_EQ(back, QColor("#323232")) << name;
      EXPECT_GE(ui::contrastRatio(text.rgb() & 0xFFFFFF, back.rgb() & 0xFFFFFF), 4.5) << name;
    }
    // Pairs designed on both sides stay as designed.
    EXPECT_EQ(colours(value(0)), std::pair(QColor(255, 255, 0), QColor(0, 0, 64)));
    const QWidget* result = window_->calculator()->findChild<QWidget*>("CoSci");
    EXPECT_EQ(result->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(result->palette().color(QPalette::Base), QColor(255, 255, 192));
    // Back in the light theme, the design's own black.
    QApplication::setPalette(light);
    QApplication::processEvents();
    EXPECT_EQ(colours(control("lblTitle")).first, QColor(Qt::black));
  }
}

TEST_F(MainWindowTest, HighContrastTakesTheSystemsPairs) {
  QApplication::setPalette(uitest::darkPalette());
  ui::qt::highContrast = true;
  open();
  ui::qt::highContrast = false;
  // The values as the system's box text on box, the rest and the window as its buttons.
  EXPECT_EQ(colours(value(0)), std::pair(QColor("#ffffff"), QColor("#242424")));
  EXPECT_EQ(colours(control("Label1_0")), std::pair(QColor("#f0f0f0"), QColor("#323232")));
  EXPECT_EQ(colours(control("client")).second, QColor("#323232"));
}

// F10 and Alt alone light the menu's first entry, as on Windows; the focus shows on the
// design's colours; Tab walks the values and Enter on one copies the time stamp.
TEST_F(MainWindowTest, TheKeyboardsPlaceShowsOnTheDesignsColours) {
  open();
  showActive();
  auto* bar = window_->findChild<QMenuBar*>();
  for (const Qt::Key key : {Qt::Key_Alt, Qt::Key_F10}) {
    QTest::keyPress(control("cmdOK"), key, key == Qt::Key_Alt ? Qt::AltModifier : Qt::NoModifier);
    QTest::keyRelease(control("cmdOK"), key, Qt::NoModifier);
    ASSERT_TRUE(bar->activeAction()) << key;
    EXPECT_EQ(bar->activeAction()->objectName(), "mnuSetup") << key;
    QTest::keyClick(bar, Qt::Key_Escape);
  }
  // White round OK on the window's blue, where the toolkit's blue ring vanished.
  control("cmdOK")->setFocus();
  const QPoint corner = control("cmdOK")->geometry().topLeft() - QPoint(2, 2);
  EXPECT_EQ(control("client")->grab().toImage().pixel(corner) & 0xFFFFFF, 0xFFFFFFu);
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  QTest::keyClick(control("cmdOK"), Qt::Key_Return);
  value(3)->setFocus();
  for (const int i : {0, 1, 2, 3}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, value(i)) << i;
    // A value rings itself in what stands out on its own colour.
    EXPECT_EQ(focus->grab().toImage().pixel(1, focus->height() / 2) & 0xFFFFFF,
              ui::focusRing(focus->palette().color(QPalette::Window).rgb() & 0xFFFFFF)) << i;
    QGuiApplication::clipboard()->setText("old");
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_EQ(clipboardText(), value(0)->text()) << i;
  }
}

// Every label of both windows holds its text, in every view and on both calculator pages,
// with this desktop's fonts (ctest runs it at QT_SCALE_FACTOR 1, 1.5 and 2).
TEST_F(MainWindowTest, NoLabelClipsItsText) {
  open();
  window_->handlers().coMathCalc_Click();
  for (const QWidget* window : {static_cast<QWidget*>(window_.get()), static_cast<QWidget*>(window_->calculator())}) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      const QString text = label->text().isEmpty() ? "0" : label->text();  // a value: one line
      const QRect box = label->contentsRect(), needed = label->fontMetrics().boundingRect(
          QRect(0, 0, box.width(), 100000), int(label->alignment()) | Qt::TextWordWrap, text);
      EXPECT_TRUE(needed.height() <= box.height() && needed.width() <= box.width()) << label->objectName().toStdString();
    }
  }
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramWithTheCalculator) {
  open();
  window_->show();
  window_->handlers().coMathCalc_Click();
  QPointer<ui::qt::CalculatorWindow> calculator = window_->calculator();
  ASSERT_TRUE(calculator);
  EXPECT_TRUE(calculator->isVisible());
  window_->close();
  EXPECT_EQ(ended_, 1);
  EXPECT_FALSE(calculator);
  EXPECT_FALSE(timer()->isActive());
}

// The desktop's session ends (the application's last signals): the places are kept as
// Quit keeps them, and the program ends once, however many signals come.
TEST_F(MainWindowTest, TheSessionsEndKeepsWhatQuitKeeps) {
  open();
  window_->move(123, 45);
  window_->show();
  const QPoint at = window_->geometry().topLeft();
  ASSERT_TRUE(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
  ASSERT_TRUE(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(stored("Selenial.conf"), QString("position=%1,%2\n").arg(at.x()).arg(at.y()).toUtf8());
  EXPECT_FALSE(timer()->isActive());
}

TEST_F(MainWindowTest, StackingWhereLabelsOverlap) {
  open();
  window_->show();
  window_->handlers().cmdOK_Click();
  window_->handlers().mnuSetup_Click();
  QWidget* area = client();
  struct Case {
    QPoint twips;
    const char* top;
  };
  const Case cases[] = {
      {{2500, 1200}, "Label1_2"},  // the title reaches into the UTC value and lies above it
      {{2700, 1200}, "Label5_2"},
      {{3500, 200}, "Label5_0"},
      {{200, 2500}, "Label1_3"},
      {{4500, 1700}, "DiffSec"},
      {{4000, 2100}, "setdone"},
      {{200, 1700}, "TZdiffLbl"},
  };
  for (const Case& c : cases) {
    const QWidget* hit = area->childAt(c.twips / 15);
    ASSERT_NE(hit, nullptr) << c.top;
    EXPECT_EQ(hit->objectName(), c.top);
  }
}

TEST_F(MainWindowTest, ResizingMovesNothing) {
  open();
  window_->show();
  std::vector<std::pair<QWidget*, QRect>> designed;
  openSetup();
  for (QWidget* w : client()->findChildren<QWidget*>()) designed.emplace_back(w, w->geometry());
  for (const QSize size : {QSize(900, 700), QSize(120, 60)}) {
    window_->resize(size);
    ASSERT_EQ(window_->size(), size);
    for (const auto& [widget, rect] : designed) EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString();
  }
  window_->showMaximized();
  for (const auto& [widget, rect] : designed) EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString();
}

TEST_F(MainWindowTest, ToolTipsAndAccessibleNames) {
  open();
  EXPECT_EQ(value(0)->toolTip(), "click here to capture current moment for time-stamp");
  EXPECT_TRUE(value(2)->toolTip().startsWith("You can manipulate this value to see the StarDate for historical moments.  Set"));
  EXPECT_EQ(openSetup()->toolTip(), "This value is decimal-based.");
  // A screen reader reads each value as the label's name, and the title beside it as
  // its description.
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  for (int i = 0; i < 4; ++i) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(value(i));
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), value(i)->text()) << i;
    EXPECT_EQ(accessible->text(QAccessible::Description), title(i)->text()) << i;
  }
  EXPECT_EQ(QAccessible::queryAccessibleInterface(window_.get())->role(), QAccessible::Window);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(box())->text(QAccessible::Name),
            control("TZdiffLbl")->property("text").toString());
  EXPECT_TRUE(value(1)->toolTip().isEmpty());
  EXPECT_TRUE(title(0)->toolTip().isEmpty());
}

// A picture's pixels, unpremultiplied, whatever its format or colour space.
std::vector<QRgb> pixelsOf(const QImage& image) {
  const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
  std::vector<QRgb> pixels;
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) pixels.push_back(plain.pixel(x, y));
  }
  return pixels;
}

TEST_F(MainWindowTest, WindowIconHasTheDesktopIconsPixels) {
  open();
  const QImage desktop(SELENIAL_DESKTOP_ICON);
  ASSERT_EQ(desktop.size(), QSize(32, 32));
  EXPECT_EQ(pixelsOf(window_->windowIcon().pixmap(32, 32).toImage()), pixelsOf(desktop));
}

// Share of a picture's pixels that carry ink.
double inked(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0;
  }
  return double(count) / (image.width() * image.height());
}

// How far right a row of a picture carries ink.
int reach(const QImage& image, int row) {
  int last = -1;
  for (int x = 0; x < image.width(); ++x) {
    if (qAlpha(image.pixel(x, row)) > 0) last = x;
  }
  return last;
}

TEST(SelenialStyle, DrawsTheMenuOverflowChevronAtEachSizeAndDirection) {
  ui::qt::SelenialStyle style;
  const QIcon chevron = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
  QWidget rightToLeft;
  rightToLeft.setLayoutDirection(Qt::RightToLeft);
  const QIcon mirrored = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &rightToLeft);
  for (const int side : {16, 32}) {
    const QImage image = chevron.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(side, side)) << side;
    // Some ink, far from a filled square.
    EXPECT_GT(inked(image), 0.05) << side;
    EXPECT_LT(inked(image), 0.6) << side;
    // The tips reach furthest at mid-height, towards the line's end: right, or left
    // for right-to-left text.
    const QImage back =
        mirrored.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32).mirrored(true, false);
    EXPECT_GT(reach(image, side / 2), reach(image, side / 4) + side / 8) << side;
    EXPECT_GT(reach(back, side / 2), reach(back, side / 4) + side / 8) << side;
  }
  // Every other picture is the system style's own.
  QProxyStyle system;
  const QImage arrow = style.standardIcon(QStyle::SP_ArrowRight).pixmap(16, 16).toImage();
  EXPECT_EQ(arrow, system.standardIcon(QStyle::SP_ArrowRight).pixmap(16, 16).toImage());
}

TEST_F(MainWindowTest, ANarrowWindowShowsTheDrawnChevron) {
  open();
  window_->show();
  window_->resize(90, 120);
  QApplication::processEvents();
  auto* more = window_->findChild<QToolButton*>("qt_menubar_ext_button");
  ASSERT_NE(more, nullptr);
  EXPECT_TRUE(more->isVisible());
  EXPECT_GT(inked(more->icon().pixmap(16, 16).toImage()), 0.05);
}

}  // namespace

namespace {

// Runs `answer` on the next modal dialog or menu once it is open.
void whenOpen(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, answer] {
    QWidget* open = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activePopupWidget();
    if (!open) return;
    poll->stop();
    poll->deleteLater();
    answer(open);
  });
  poll->start(10);
}

TEST_F(MainWindowTest, TheTimeStampMenuAndItsDialogsReachTheHandlers) {
  store("25200");
  open();
  window_->show();
  window_->handlers().cmdOK_Click();
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  // Offscreen, as on Wayland, no program may take a key: the menu says so.
  EXPECT_FALSE(action("mnuKeyNote")->isEnabled());
  EXPECT_EQ(action("mnuKeyNote")->text(), "This desktop lets no program take a key: see README");
  EXPECT_TRUE(action("mnuStampShown")->isChecked());

  action("mnuStampSeconds")->trigger();
  EXPECT_TRUE(action("mnuStampSeconds")->isChecked());
  EXPECT_FALSE(action("mnuStampShown")->isChecked());
  QTest::mouseClick(value(0), Qt::LeftButton);
  EXPECT_EQ(clipboardText(), "967070187");

  // A right-click offers the formats for one copy.
  whenOpen([](QWidget* popUp) {
    auto* menu = qobject_cast<QMenu*>(popUp);
    ASSERT_TRUE(menu);
    for (QAction* entry : menu->actions()) {
      if (entry->text() == "UTC moment") menu->setActiveAction(entry);
    }
    QTest::keyClick(menu, Qt::Key_Return);
  });
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), value(2)->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(value(2), &rightClick);
  EXPECT_EQ(clipboardText(), "2000.03.12+18.54.10");
  EXPECT_TRUE(action("mnuStampSeconds")->isChecked());

  // The format's dialog hands its text to the handlers.
  whenOpen([](QWidget* dialog) {
    auto* input = qobject_cast<QInputDialog*>(dialog);
    ASSERT_TRUE(input);
    input->setTextValue("%C %l");
    input->accept();
  });
  action("mnuStampCustom")->trigger();
  QTest::mouseClick(value(3), Qt::LeftButton);
  EXPECT_EQ(clipboardText(), "+39A4.51EB 2000.03.13+01.54.10");

  // The key's dialog takes a chord as it is pressed.
  whenOpen([](QWidget* dialog) {
    QTest::keyClick(dialog, Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyClick(dialog, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
  });
  action("mnuKeyChoose")->trigger();
  EXPECT_EQ(stored("Selenial.conf"), "copy=%C %l\nhotkey=Ctrl+Alt+K\n");
}

}  // namespace
