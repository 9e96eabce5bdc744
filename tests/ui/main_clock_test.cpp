#include <QAccessible>
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
#include "ui/co_math.h"
#include "ui/design.h"
#include "ui_test_support.h"

namespace {

using namespace std::chrono_literals;

class MainClockTest : public uitest::WindowTest {
 protected:
  QLabel* value(int i) const { return window_->findChild<QLabel*>(QString("Label5_%1").arg(i)); }
  QLabel* title(int i) const { return window_->findChild<QLabel*>(QString("Label1_%1").arg(i)); }
  QWidget* control(const char* name) const { return window_->findChild<QWidget*>(name); }
  QAction* action(const char* name) const { return window_->findChild<QAction*>(name); }
  QLineEdit* box() const { return window_->findChild<QLineEdit*>("DiffSec"); }
  // The offset box as the user reaches it: OK, then SetUp.
  QLineEdit* openSetup() {
    window_->cmdOK_Click();
    window_->mnuSetup_Click();
    return box();
  }
  QWidget* client() const { return window_->findChild<QWidget*>("client"); }
  QTimer* timer() const { return window_->findChild<QTimer*>("startimer"); }

  void setClock(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    clock_.setTo(testsupport::at(y, mo, d, h, mi, s));
  }
  void tick() { window_->startimer_Timer(); }

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

TEST_F(MainClockTest, FirstLook) {
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

TEST_F(MainClockTest, CaptionBeforeTheFirstTickShowsTheStoredOffset) {
  struct Case {
    QByteArray stored;
    QString caption;
  };
  const Case cases[] = {{"3600\r\n", "ini:  0.0416666666666667"},
                        {"-18000\r\n", "ini: -0.208333333333333"},
                        {"abc\r\n", "ini:  0"}};
  for (const Case& c : cases) {
    store(c.stored);
    open();
    EXPECT_EQ(window_->windowTitle(), c.caption) << c.stored.constData();
  }
}

TEST_F(MainClockTest, OneTickFillsCaptionAndLabels) {
  struct Case {
    QByteArray stored;
    int y;
    unsigned mo, d;
    int h, mi, s;
    QString caption, label0, label1, label2, label3;
  };
  const Case cases[] = {
      {"25200\r\n", 2000, 3, 13, 1, 54, 10, " + 39A4.51EB", "   + 39A4.51EB", "  967070187", "  2000.03.12+18.54.10",
       "  2000.03.13+01.54.10"},
      {"0", 1969, 7, 20, 20, 17, 43, " +    0.0000", "   +    0.0000", "  0", "  1969.07.20+20.17.43",
       "  1969.07.20+20.17.43"},
      {"3600", 1969, 7, 20, 21, 17, 42, " -    0.0001", "   -    0.0001", "  -1", "  1969.07.20+20.17.42",
       "  1969.07.20+21.17.42"},
      {"0", 2037, 8, 7, 23, 31, 51, " + 8000.0000", "   + 8000.0000", "  2147483648", "  2037.08.07+23.31.51",
       "  2037.08.07+23.31.51"},
  };
  for (const Case& c : cases) {
    store(c.stored);
    open();
    setClock(c.y, c.mo, c.d, c.h, c.mi, c.s);
    tick();
    EXPECT_EQ(window_->windowTitle(), c.caption);
    EXPECT_EQ(value(0)->text(), c.label0);
    EXPECT_EQ(value(1)->text(), c.label1);
    EXPECT_EQ(value(2)->text(), c.label2);
    EXPECT_EQ(value(3)->text(), c.label3);
  }
}

TEST_F(MainClockTest, MinimizedOnlyTheCaptionChanges) {
  open();
  window_->show();
  setClock(2000, 3, 12, 18, 54, 10);
  tick();
  const QString before = value(0)->text();
  window_->setWindowState(Qt::WindowMinimized);
  std::set<QString> captions;
  for (int i = 0; i < 10; ++i) {
    clock_.now += 1s;
    tick();
    captions.insert(window_->windowTitle());
    EXPECT_EQ(value(0)->text(), before);
    EXPECT_EQ(value(3)->text(), "  2000.03.12+18.54.10");
  }
  EXPECT_EQ(captions.size(), 10u);
  window_->setWindowState(Qt::WindowNoState);
  clock_.now += 1s;
  tick();
  EXPECT_EQ(value(0)->text(), "  " + window_->windowTitle());
  EXPECT_EQ(value(3)->text(), "  2000.03.12+18.54.21");
}

TEST_F(MainClockTest, EverySecondIsShownExactlyOnce) {
  open();
  setClock(2026, 12, 7, 11, 59, 58);
  clock_.now += 1003ms;  // the first interval, armed at load
  clock_.costPerRead = 2ms;  // each reading of the clock takes a little time
  std::optional<std::int64_t> last;
  int jitter = 0;
  for (int i = 0; i < 900; ++i) {
    tick();
    const auto shown = value(1)->text().trimmed().toLongLong();
    if (last) {
      ASSERT_EQ(shown, *last + 1) << "tick " << i;
    }
    last = shown;
    ASSERT_TRUE(timer()->isActive());
    // The timer fires its interval later, give or take the system's lateness.
    jitter = (jitter + 7) % 13;
    clock_.now += std::chrono::milliseconds(timer()->interval() + jitter);
  }
}

TEST_F(MainClockTest, ATickShowsTheNextSecondOnceAndArmsForTheOneAfter) {
  struct Case {
    const char* what;
    std::chrono::microseconds landed;  // after the start of the second shown
    int secondsOn;                     // of the caption: 0 when the tick shows nothing
    int armed;                         // ms
  };
  const Case cases[] = {
      {"5 ms early", 995ms, 0, 5},
      {"1.5 ms early", 998'500us, 1, 1000},
      {"0.3 ms early", 999'700us, 1, 1000},
      {"on the second", 1s, 1, 1000},
      {"0.4 ms late", 1'000'400us, 1, 999},
      {"1.5 ms late", 1'001'500us, 1, 998},
      {"late by most of a second", 1'999'500us, 1, 1},
      {"a second late", 2'000'200us, 2, 999},
  };
  for (const Case& c : cases) {
    QFile::remove("Selenial.ini");
    open();
    setClock(2000, 3, 13, 1, 54, 10);
    tick();
    // A changed offset would show even in the second already shown, were it shown again.
    retype("3600");
    const QString shown = window_->windowTitle();
    clock_.setTo(testsupport::at(2000, 3, 13, 1, 54, 10));
    clock_.now += c.landed;
    tick();
    const QString caption = c.secondsOn == 0
                                ? shown
                                : QString::fromStdString(epochclock::starDateText(967070187 + 25200 - 3600 + c.secondsOn));
    EXPECT_EQ(window_->windowTitle(), caption) << c.what;
    EXPECT_EQ(timer()->interval(), c.armed) << c.what;
    EXPECT_TRUE(timer()->isActive()) << c.what;
  }
}

TEST_F(MainClockTest, AFailingRefreshKeepsTheLastTextsAndRecovers) {
  open();
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  const QString caption = window_->windowTitle();
  const QString utc = value(2)->text();
  retype("1E300");
  EXPECT_EQ(stored(), "1E300\r\n");
  clock_.now += 1s;
  tick();
  EXPECT_EQ(window_->windowTitle(), caption);
  EXPECT_EQ(value(2)->text(), utc);
  EXPECT_TRUE(timer()->isActive());
  retype("0");
  tick();
  EXPECT_EQ(value(2)->text(), "  2000.03.13+01.54.11");
  EXPECT_EQ(window_->windowTitle(), QString::fromStdString(epochclock::starDateText(967070187 + 25200 + 1)));
}

TEST_F(MainClockTest, ViewTransitions) {
  open();
  struct Step {
    const char* trigger;
    View after;
  };
  const Step steps[] = {
      {"mnuAbout", View::About},   {"cmdOK", View::Clock},    {"mnuSetup", View::ClockWithSetup},
      {"mnuSetup", View::ClockWithSetup}, {"setdone", View::Clock}, {"mnuAbout", View::About},
      {"cmdOK", View::Clock},      {"coMathCalc", View::Clock},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.trigger);
    if (QAction* a = action(step.trigger); a != nullptr) {
      a->trigger();
    } else {
      QTest::mouseClick(control(step.trigger), Qt::LeftButton);
    }
    expectView(step.after);
  }
}

TEST_F(MainClockTest, EnterAndEscapeLeaveTheAboutView) {
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

TEST_F(MainClockTest, KeyboardAlone) {
  open();
  showActive();
  QTest::keyClick(window_.get(), Qt::Key_S, Qt::AltModifier);
  expectView(View::About);  // "&SetUp" is disabled on the About view
  QTest::keyClick(window_.get(), Qt::Key_Return);
  QTest::keyClick(window_.get(), Qt::Key_S, Qt::AltModifier);
  expectView(View::ClockWithSetup);
  QTest::keyClicks(QApplication::focusWidget(), "3600");
  EXPECT_EQ(stored(), "3600\r\n");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "setdone");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  expectView(View::Clock);
  QTest::keyClick(window_.get(), Qt::Key_A, Qt::AltModifier);
  expectView(View::About);
}

TEST_F(MainClockTest, AClickOnAnyValueCopiesTheStarDate) {
  open();
  window_->show();
  window_->cmdOK_Click();
  QGuiApplication::clipboard()->setText("old");
  // Before the first tick the StarDate label is still empty.
  QTest::mouseClick(value(2), Qt::LeftButton);
  EXPECT_EQ(clipboardText(), "");
  setClock(2000, 3, 13, 1, 54, 10);
  store("25200");
  window_->DiffSec_Change("25200");
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

TEST_F(MainClockTest, OffsetFileAtStartUp) {
  struct Case {
    std::optional<QByteArray> stored;
    QString box;
    double seconds;
    QByteArray after;
  };
  const Case cases[] = {
      {std::nullopt, "0", 0, "(no file)"},
      {"3600\r\n", "3600", 3600, "3600\r\n"},
      {" 3600\r\n", "3600", 3600, "3600\r\n"},
      {"3600,60\r\n", "3600", 3600, "3600\r\n"},
      {"0.0\r\n", "0", 0, "0.0\r\n"},
      {"-18000\r\n", "-18000", -18000, "-18000\r\n"},
      {"3600.5\r\n", "3600.5", 3600.5, "3600.5\r\n"},
      {"", "0", 0, ""},
      {"\r\n", "0", 0, "\r\n"},
      {"-", "0", 0, "-"},
      {"zone\r\n", "0", 0, "zone\r\n"},
      {QByteArray("\x00\x9f\xff\r\n", 5), "0", 0, QByteArray("\x00\x9f\xff\r\n", 5)},
      {QByteArray(3'000'000, '9'), "0", 0, QByteArray(3'000'000, '9')},
  };
  for (const Case& c : cases) {
    QFile::remove("Selenial.ini");
    if (c.stored) store(*c.stored);
    open();
    const auto label = c.stored ? c.stored->left(12) : QByteArray("(no file)");
    EXPECT_EQ(window_->TZdays(), c.seconds / 86400.0) << label.constData();
    EXPECT_EQ(stored(), c.after) << label.constData();
    // Opening the panel shows the text and writes nothing more.
    EXPECT_EQ(openSetup()->text(), c.box) << label.constData();
    EXPECT_EQ(box()->toolTip(), "This value is decimal-based.") << label.constData();
    EXPECT_EQ(stored(), c.after) << label.constData();
  }
}

TEST_F(MainClockTest, EveryEditIsStoredAsTyped) {
  open();
  window_->cmdOK_Click();
  window_->mnuSetup_Click();
  struct Case {
    QString typed;
    double seconds;  // in use afterwards
  };
  const Case cases[] = {
      {"7200", 7200}, {"", 7200}, {"-", 7200}, {"-5", -5}, {"abc", -5}, {"3600.5", 3600.5}, {" 60 ", 60},
  };
  for (const Case& c : cases) {
    box()->selectAll();
    if (c.typed.isEmpty()) {
      QTest::keyClick(box(), Qt::Key_Delete);
    } else {
      QTest::keyClicks(box(), c.typed);
    }
    EXPECT_EQ(stored(), c.typed.toUtf8() + "\r\n") << c.typed.toStdString();
    EXPECT_EQ(window_->TZdays(), c.seconds / 86400.0) << c.typed.toStdString();
  }
  retype("3600.5");
  window_.reset();
  open();
  EXPECT_EQ(openSetup()->text(), "3600.5");
  EXPECT_EQ(window_->TZdays(), 3600.5 / 86400.0);
  EXPECT_EQ(stored(), QByteArray("3600.5\x0d\x0a"));
}

TEST_F(MainClockTest, AFailedSaveIsShownAndTheOffsetStillApplies) {
  open();
  window_->cmdOK_Click();
  window_->mnuSetup_Click();
  ASSERT_TRUE(QDir().mkdir("Selenial.ini"));  // nothing can be written there now
  retype("7200");
  EXPECT_EQ(window_->TZdays(), 7200 / 86400.0);
  EXPECT_TRUE(box()->toolTip().contains("could not be saved")) << box()->toolTip().toStdString();
  ASSERT_TRUE(QDir().rmdir("Selenial.ini"));
  retype("3600");
  EXPECT_EQ(box()->toolTip(), "This value is decimal-based.");
  EXPECT_EQ(stored(), "3600\r\n");
}

TEST_F(MainClockTest, AFaultOfTheFileAtStartIsShownWhenTheSetupOpens) {
  struct Case {
    QString name;
    QByteArray stored;  // empty: a folder stands there instead
    double seconds;
    QString box, toolTip;
  };
  const Case cases[] = {
      // The stored "3600,60" is written back as "3600" at start; with a name this long the
      // save's temporary file beside it (the name and ".tmp") passes the 255 bytes a name
      // may have and cannot be made.
      {QString(252, 'n'), "3600,60\r\n", 3600, "3600", "The offset could not be saved: "},
      {"Selenial.ini", "", 0, "0", "The stored offset could not be read: "},
  };
  for (const Case& c : cases) {
    if (c.stored.isEmpty()) {
      ASSERT_TRUE(QDir().mkdir(c.name));
    } else {
      store(c.stored, c.name);
    }
    open(c.name.toStdString());
    EXPECT_EQ(window_->TZdays(), c.seconds / 86400.0);
    QLineEdit* setupBox = openSetup();
    EXPECT_EQ(setupBox->text(), c.box);
    EXPECT_TRUE(setupBox->toolTip().startsWith(c.toolTip)) << setupBox->toolTip().toStdString();
    EXPECT_TRUE(setupBox->toolTip().contains(QDir::current().absoluteFilePath(c.name)))
        << setupBox->toolTip().toStdString();
    EXPECT_EQ(c.stored.isEmpty() ? QByteArray() : stored(c.name), c.stored) << "left as it was";
    EXPECT_EQ(QFileInfo(c.name).isDir(), c.stored.isEmpty());
  }
}

TEST_F(MainClockTest, ClosingTheWindowEndsTheProgramWithTheCalculator) {
  open();
  window_->show();
  window_->coMathCalc_Click();
  QPointer<ui::coMath> calculator = window_->calculator();
  ASSERT_TRUE(calculator);
  EXPECT_TRUE(calculator->isVisible());
  window_->close();
  EXPECT_EQ(ended_, 1);
  EXPECT_FALSE(calculator);
  EXPECT_FALSE(timer()->isActive());
}

TEST_F(MainClockTest, StackingWhereLabelsOverlap) {
  open();
  window_->show();
  window_->cmdOK_Click();
  window_->mnuSetup_Click();
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

TEST_F(MainClockTest, ResizingMovesNothing) {
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

TEST_F(MainClockTest, ToolTipsAndAccessibleNames) {
  open();
  EXPECT_EQ(value(0)->toolTip(), "click here to capture current moment for time-stamp");
  EXPECT_TRUE(value(2)->toolTip().startsWith("You can manipulate this value to see the StarDate for historical moments.  Set"));
  EXPECT_EQ(openSetup()->toolTip(), "This value is decimal-based.");
  for (int i = 0; i < 4; ++i) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(value(i));
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), title(i)->text()) << i;
  }
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

TEST_F(MainClockTest, WindowIconHasTheDesktopIconsPixels) {
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
  ui::SelenialStyle style;
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

TEST_F(MainClockTest, ANarrowWindowShowsTheDrawnChevron) {
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
