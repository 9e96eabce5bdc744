#include "ui/co_math.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "numerics/conversion.h"
#include "ui/design.h"
#include "ui/texts.h"
#include "ui/title_bar.h"

namespace ui {

const QString coMath::kIntroCaption = QStringLiteral("See Also: Coherency and physics- Why ?");
const QString coMath::kBackCaption = QStringLiteral("Back to Vantrel Intro");

namespace {

constexpr int kMaxInput = 32767;

// A result box is bold and read-only, which it must be before a screen reader first asks.
QLineEdit* makeBox(QWidget* parent, const char* name, int top, const QString& text, bool result,
                   const QColor& background, const QString& title, const QString& description) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  box->setGeometry(twipsRect(3600, top, 3135, 285));
  box->setFont(designFont(Face::SansSerif, 8.25, result));
  box->setReadOnly(result);
  box->setAlignment(Qt::AlignRight);
  if (background.isValid()) paint(box, {{Qt::black}, background, QPalette::Text, QPalette::Base}, false);
  box->setAccessibleName(title);
  box->setAccessibleDescription(description);
  return box;
}

}  // namespace

coMath::coMath(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("coMath");
  setWindowTitle("Vantrel");
  // The title-bar close box discards the window; the next opening starts from the design.
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(pixels(6855), pixels(6630));
  move(pixels(2145), pixels(615));
  setFont(designFont(Face::SansSerif, 8.25));

  const QColor system;
  const auto left = Qt::AlignLeft;
  const auto centre = Qt::AlignHCenter;
  const auto sans = Face::SansSerif;
  // Top-most first.
  const LabelDesign labels[] = {
      {"Label11", 0, 3480, 6495, 1455, texts::kPrimeFactors, sans, 8.25, false, system, system, left, false},
      {"Label10", 0, 1800, 6375, 1695, texts::kMixedUnits, sans, 8.25, false, system, system, left, false},
      {"Label9", 0, 0, 6735, 1815, texts::kWhyCoherency, sans, 8.25, false, system, system, left, false},
      {"Label8", 120, 5160, 3255, 975, texts::kHowToUse, sans, 8.25, false, system, system, left, true},
      {"Label7", 240, 1800, 4935, 855, texts::kTimeUnits, sans, 8.25, false, system, system, left, true},
      {"Label6", 240, 4080, 4815, 855, texts::kExamples, sans, 8.25, false, system, system, left, true},
      {"Label5", 120, 3000, 4935, 855, texts::kScientificIdea, sans, 8.25, false, system, system, left, true},
      {"Label3_1", 6240, 1680, 255, 3135, "1  2   3   4   5   6   7   8   9  10  11  12  13  14  15  16", sans, 8.25, false, system, system, left, true},
      {"Label4_1", 4800, 1200, 1095, 375, "\"HexaDecimal\" value", sans, 8.25, false, system, system, centre, true},
      {"Label4_0", 6000, 1200, 735, 375, "\"Decimal\" value", sans, 8.25, false, system, system, centre, true},
      {"Label3_0", 5400, 1680, 255, 3135, "1  2   3   4   5   6   7   8   9   A  B  C  D  E   F  10", sans, 8.25, false, system, system, left, true},
      {"Label2", 120, 1200, 4335, 375, texts::kHexadecimalFirst, sans, 8.25, false, system, system, left, true},
      {"Label1", 120, 120, 5775, 855, texts::kIntroduction, sans, 8.25, false, system, system, left, true},
  };
  for (auto it = std::rbegin(labels); it != std::rend(labels); ++it) makeLabel(this, *it);
  Label9_ = findChild<ClickLabel*>("Label9");
  Label10_ = findChild<ClickLabel*>("Label10");
  Label11_ = findChild<ClickLabel*>("Label11");

  OKButton_ = new QPushButton("Close", this);
  OKButton_->setObjectName("OKButton");
  OKButton_->setGeometry(twipsRect(6120, 6240, 615, 255));
  DeciVal_ = makeBox(this, "DeciVal", 5160, "0", false, QColor(), "Decimal value", "Type a decimal number");
  DeciVal_->setMaxLength(kMaxInput);
  CoVal_ = makeBox(this, "CoVal", 5520, "hexadecimal  0", true, {128, 255, 128}, "Hexadecimal value",
                   "The number in hexadecimal positional notation");
  CoVal_->setEnabled(false);
  CoSci_ = makeBox(this, "CoSci", 5880, "+000 posi 0", true, {255, 255, 192}, "Hexadecimal scientific value",
                   "The number in hexadecimal scientific notation; click here to copy the value");
  CoSci_->setToolTip("Click here to copy the value");
  CoSci_->installEventFilter(this);
  Command1_ = new QPushButton(kIntroCaption, this);
  Command1_->setObjectName("Command1");
  Command1_->setGeometry(twipsRect(120, 6240, 4095, 255));
  for (QPushButton* button : {OKButton_, Command1_}) button->setAutoDefault(true);

  setTabOrder(OKButton_, DeciVal_);
  setTabOrder(DeciVal_, CoSci_);
  setTabOrder(CoSci_, Command1_);
  OKButton_->setFocus();

  connect(DeciVal_, &QLineEdit::textChanged, this, &coMath::DeciVal_Change);
  connect(Command1_, &QPushButton::clicked, this, &coMath::Command1_Click);
  connect(OKButton_, &QPushButton::clicked, this, &coMath::OKButton_Click);

  if (onWayland()) new TitleBar(this);
}

void coMath::DeciVal_Change(const QString& text) {
  // Beyond the conversion's limits (1E999, say) both results keep their last texts.
  const auto conversion = numerics::DeciConvert(text.toStdString());
  if (!conversion) return;
  CoVal_->setText(QString::fromStdString(conversion->positional));
  CoSci_->setText(QString::fromStdString(conversion->scientific));
}

void coMath::Command1_Click() {
  const bool toEssays = Command1_->text() == kIntroCaption;
  Command1_->setText(toEssays ? kBackCaption : kIntroCaption);
  for (ClickLabel* essay : {Label9_, Label10_, Label11_}) setShown(essay, toEssays);
}

void coMath::CoSci_Click() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(CoSci_->text());
}

void coMath::OKButton_Click() { hide(); }

bool coMath::eventFilter(QObject* watched, QEvent* event) {
  if (watched != CoSci_) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    CoSci_Click();
  }
  // From the keyboard, Enter and the copy keys copy the whole result, as a click does.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy) || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      CoSci_Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void coMath::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    OKButton_Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace ui
