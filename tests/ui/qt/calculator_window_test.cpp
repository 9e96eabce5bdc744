#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "numerics/conversion.h"
#include "ui/qt/calculator_window.h"
#include "ui/qt/title_bar.h"
#include "window_test_support.h"

namespace {

class CalculatorWindowTest : public uitest::WindowTest {
 protected:
  ui::qt::CalculatorWindow* openCalculator() {
    if (!window_) open();
    window_->handlers().coMathCalc_Click();
    return window_->calculator();
  }
  template <typename T = QWidget>
  T* part(const char* name) const {
    return window_->calculator()->findChild<T*>(name);
  }
  QString text(const char* box) const { return part<QLineEdit>(box)->text(); }
  bool essaysShown() const {
    const bool shown = !part("Label9")->isHidden();
    EXPECT_EQ(!part("Label10")->isHidden(), shown);
    EXPECT_EQ(!part("Label11")->isHidden(), shown);
    return shown;
  }
  static int calculatorWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += w->objectName() == "coMath";
    return n;
  }
};

TEST_F(CalculatorWindowTest, FirstOpening) {
  ui::qt::CalculatorWindow* calculator = openCalculator();
  ASSERT_TRUE(calculator);
  EXPECT_EQ(calculator->windowTitle(), "Vantrel");
  EXPECT_TRUE(calculator->isVisible());
  EXPECT_EQ(text("DeciVal"), "0");
  EXPECT_EQ(text("CoVal"), "hexadecimal  0");
  EXPECT_EQ(text("CoSci"), "+000 posi 0");
  EXPECT_FALSE(essaysShown());
  EXPECT_EQ(part<QPushButton>("Command1")->text(), "See Also: Coherency and physics- Why ?");
  EXPECT_EQ(part<QLineEdit>("DeciVal")->maxLength(), 32767);
  EXPECT_EQ(calculator->size(), QSize(457, 442));
  EXPECT_FALSE(calculator->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(calculator->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(calculator->parentWidget(), nullptr);
  EXPECT_EQ(calculator->pos(), QPoint(143, 41));
}

TEST_F(CalculatorWindowTest, CopyBeforeTypingByMouseAndKeyboard) {
  ui::qt::CalculatorWindow* calculator = openCalculator();
  QGuiApplication::clipboard()->setText("old");
  QTest::mouseClick(part("CoSci"), Qt::LeftButton);
  EXPECT_EQ(clipboardText(), "+000 posi 0");
  // With the focus in the result, Enter and the copy keys copy all of it, selected or not.
  calculator->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(calculator));
  part("CoSci")->setFocus();
  QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Copy);
  keys << QKeySequence(Qt::Key_Return) << QKeySequence(Qt::Key_Enter);
  for (const QKeySequence& key : keys) {
    QGuiApplication::clipboard()->setText("old");
    QTest::keyClick(part("CoSci"), key[0].key(), key[0].keyboardModifiers());
    EXPECT_EQ(clipboardText(), "+000 posi 0") << key.toString().toStdString();
  }
  // Esc works as "Close", wherever the focus is.
  part("DeciVal")->setFocus();
  QTest::keyClick(part("DeciVal"), Qt::Key_Escape);
  EXPECT_FALSE(calculator->isVisible());
}

// What each keystroke gives is the handler's table; here the keys reach it.
TEST_F(CalculatorWindowTest, KeystrokesReachTheConversion) {
  openCalculator();
  part<QLineEdit>("DeciVal")->selectAll();
  QTest::keyClicks(part("DeciVal"), "86400");
  EXPECT_EQ(text("CoVal") + "|" + text("CoSci"), "+ 15180.0|+ 1.518 posi-4");
  QTest::mouseClick(part("CoSci"), Qt::LeftButton);
  EXPECT_EQ(clipboardText(), "+ 1.518 posi-4");
}

// A text not read whole turns the box red, its tip saying why, and a screen reader hears it.
TEST_F(CalculatorWindowTest, InputNotReadWholeIsMarked) {
  openCalculator();
  auto* input = part<QLineEdit>("DeciVal");
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(input);
  const QString described = accessible->text(QAccessible::Description);
  const QString inputs[] = {"1E999", "255.5"};
  for (const QString& typed : inputs) {
    input->setText(typed);
    const QString why = typed == "255.5" ? "" : "1E999 lies beyond the range of a double";
    EXPECT_EQ(text("CoVal"), typed == "255.5" ? "+ FF.8" : "");
    EXPECT_EQ(input->toolTip(), why);
    EXPECT_EQ(accessible->text(QAccessible::Description), why.isEmpty() ? described : why);
    EXPECT_EQ(input->palette().color(QPalette::Text) == QColor(0xB00000), !why.isEmpty());
  }
}

// The limit on typed text is not the results': each holds and copies its whole text.
TEST_F(CalculatorWindowTest, ResultsAreWholeAndCopiedByKeyboardAndMouse) {
  ui::qt::CalculatorWindow* calculator = openCalculator();
  calculator->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(calculator));
  const QString typed = "0." + QString(32760, '1');
  const auto expected = numerics::DeciConvert(typed.toStdString());
  ASSERT_GT(expected->scientific.size(), 32767u);
  QGuiApplication::clipboard()->setText(typed);
  auto* input = part<QLineEdit>("DeciVal");
  input->setFocus();
  input->selectAll();
  QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
  QTest::mouseClick(part("CoSci"), Qt::LeftButton);
  EXPECT_EQ(clipboardText().toStdString(), expected->scientific);
  // Tab and a click reach the positional result, read-only, to select and copy it.
  for (const bool byMouse : {false, true}) {
    QGuiApplication::clipboard()->setText("old");
    input->setFocus();
    byMouse ? QTest::mouseClick(part("CoVal"), Qt::LeftButton) : QTest::keyClick(input, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), part("CoVal"));
    QTest::keyClick(part("CoVal"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(part("CoVal"), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardText().toStdString(), expected->positional) << (byMouse ? "mouse" : "keyboard");
  }
}

TEST_F(CalculatorWindowTest, CloseHidesAndKeepsEverything) {
  ui::qt::CalculatorWindow* calculator = openCalculator();
  part<QLineEdit>("DeciVal")->setText("86400");
  QTest::mouseClick(part("Command1"), Qt::LeftButton);
  QTest::mouseClick(part("OKButton"), Qt::LeftButton);
  EXPECT_FALSE(calculator->isVisible());
  EXPECT_EQ(openCalculator(), calculator);
  EXPECT_TRUE(calculator->isVisible());
  EXPECT_EQ(text("DeciVal"), "86400");
  EXPECT_EQ(text("CoSci"), "+ 1.518 posi-4");
  EXPECT_TRUE(essaysShown());
}

TEST_F(CalculatorWindowTest, OneWindowHoweverOftenItIsAskedFor) {
  ui::qt::CalculatorWindow* first = openCalculator();
  EXPECT_EQ(openCalculator(), first);
  EXPECT_EQ(calculatorWindows(), 1);
  // From any state it comes back shown, restored and in front.
  struct Case {
    const char* state;
    std::function<void()> leave;
  };
  const Case cases[] = {
      {"hidden", [first] { first->hide(); }},
      {"minimized", [first] { first->showMinimized(); }},
      {"behind the clock",
       [this] {
         window_->show();
         window_->activateWindow();
         ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
       }},
  };
  for (const Case& c : cases) {
    c.leave();
    EXPECT_EQ(openCalculator(), first) << c.state;
    EXPECT_TRUE(first->isVisible()) << c.state;
    EXPECT_FALSE(first->isMinimized()) << c.state;
    EXPECT_TRUE(QTest::qWaitForWindowActive(first)) << c.state;
  }
  EXPECT_EQ(calculatorWindows(), 1);
}

// Where the program draws the title bar itself (Wayland), the calculator's offers no
// minimize or maximize, keeps the client area as designed below it, and its close box
// discards the window like the system's.
TEST_F(CalculatorWindowTest, ItsOwnTitleBarHasOnlyTheCloseBox) {
  QPointer<ui::qt::CalculatorWindow> calculator = new ui::qt::CalculatorWindow();
  const QRect deciVal = calculator->findChild<QWidget*>("DeciVal")->geometry();
  auto* bar = new ui::qt::TitleBar(calculator);
  calculator->show();
  EXPECT_TRUE(calculator->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(calculator->size(), QSize(457, 442 + bar->height()));
  EXPECT_EQ(calculator->findChild<QWidget*>("DeciVal")->geometry(), deciVal.translated(0, bar->height()));
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() / 2));
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 40, bar->height() / 2));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(calculator);
  EXPECT_TRUE(calculator->isVisible());
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 17, bar->height() / 2));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(calculator);
}

TEST_F(CalculatorWindowTest, TheCloseBoxDiscardsTheWindow) {
  QPointer<ui::qt::CalculatorWindow> first = openCalculator();
  part<QLineEdit>("DeciVal")->setText("86400");
  QTest::mouseClick(part("Command1"), Qt::LeftButton);
  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(first);
  ui::qt::CalculatorWindow* second = openCalculator();
  ASSERT_TRUE(second);
  EXPECT_EQ(text("DeciVal"), "0");
  EXPECT_EQ(text("CoSci"), "+000 posi 0");
  EXPECT_FALSE(essaysShown());
  EXPECT_EQ(calculatorWindows(), 1);
}

TEST_F(CalculatorWindowTest, TheClockKeepsTickingWhileItIsOpen) {
  open();
  window_->show();
  clock_.setTo(testsupport::at(2000, 3, 12, 18, 54, 10));
  openCalculator();
  window_->findChild<QTimer*>("startimer")->setInterval(1);
  // A tick comes when the event loop runs; on a busy machine that may take a while.
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->windowTitle() == " + 39A4.51EB"; }, 10000))
      << window_->windowTitle().toStdString();
  EXPECT_TRUE(window_->calculator()->isVisible());
}

TEST_F(CalculatorWindowTest, FocusAndTabOrder) {
  ui::qt::CalculatorWindow* calculator = openCalculator();
  calculator->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(calculator));
  EXPECT_EQ(QApplication::focusWidget(), part("OKButton"));
  for (const char* next : {"DeciVal", "CoVal", "CoSci", "Command1", "OKButton"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
  }
}

TEST_F(CalculatorWindowTest, AScreenReaderNamesEachBox) {
  openCalculator();
  struct Case {
    const char* box;
    const char* name;
  };
  for (const Case& c : {Case{"DeciVal", "Decimal value"}, Case{"CoVal", "Hexadecimal value"},
                        Case{"CoSci", "Hexadecimal scientific value"}}) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(part(c.box));
    ASSERT_NE(accessible, nullptr) << c.box;
    EXPECT_EQ(accessible->text(QAccessible::Name), c.name) << c.box;
    EXPECT_FALSE(accessible->text(QAccessible::Description).isEmpty()) << c.box;
  }
  const QAccessible::State result = QAccessible::queryAccessibleInterface(part("CoSci"))->state();
  EXPECT_TRUE(result.readOnly);
  EXPECT_FALSE(result.editable);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(part("CoSci"))->textInterface()->text(0, 4), "+000");
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(part("DeciVal"))->state().editable);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(window_->calculator())->role(), QAccessible::Window);
}

TEST_F(CalculatorWindowTest, RulersWrapIntoSixteenLinesOneNumberEach) {
  openCalculator();
  for (const char* name : {"Label3_0", "Label3_1"}) {
    auto* ruler = part<QLabel>(name);
    QTextLayout layout(ruler->text(), ruler->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(ruler->contentsRect().width());
      lines << ruler->text().mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    EXPECT_EQ(lines, ruler->text().split(' ', Qt::SkipEmptyParts)) << name;
    EXPECT_EQ(lines.size(), 16) << name;
    EXPECT_LE(16 * QFontMetrics(ruler->font()).lineSpacing(), ruler->height()) << name;
  }
}

}  // namespace
