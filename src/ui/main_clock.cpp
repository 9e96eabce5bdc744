#include "ui/main_clock.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <map>

#include "clock/epoch_clock.h"
#include "ui/co_math.h"
#include "ui/design.h"
#include "ui/texts.h"

// The window icon as source: the same pixels as icons/selenial-32.png, which the desktop
// gets, but shown without decoding a file (that would load every image-format plugin).
#include "ui/icons/selenial-32.xpm"

namespace ui {

namespace {

// A tick that lands this close before the next second waits for it in place.
constexpr std::chrono::milliseconds kWaitInPlace{2};

const QColor kBackground{0, 0, 192};

const char* const kOffsetHint = "This value is decimal-based.";

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MainCLock::MainCLock(Seams seams)
    : seams_(std::move(seams)), offsets_(seams_.offsetFile), offsetToolTip_(kOffsetHint) {
  if (!seams_.endProgram) seams_.endProgram = [] { QCoreApplication::quit(); };
  setObjectName("MainCLock");
  setWindowTitle("Selenial Ver 1.1.4");
  setWindowIcon(QIcon(QPixmap(selenial_32_xpm)));
  buildControls();
  Form_Load();
}

MainCLock::~MainCLock() { delete calculator_; }

void MainCLock::buildControls() {
  // A plain window with a menu bar: the main-window machinery for tool bars and
  // docks would cost start-up time and memory for nothing.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* menuBar = new QMenuBar(this);
  layout->setMenuBar(menuBar);
  mnuSetup_ = menuBar->addAction("&SetUp");
  mnuAbout_ = menuBar->addAction("&About");
  coMathCalc_ = menuBar->addAction("&Calculator");
  mnuSetup_->setObjectName("mnuSetup");
  mnuAbout_->setObjectName("mnuAbout");
  coMathCalc_->setObjectName("coMathCalc");
  connect(mnuSetup_, &QAction::triggered, this, &MainCLock::mnuSetup_Click);
  connect(mnuAbout_, &QAction::triggered, this, &MainCLock::mnuAbout_Click);
  connect(coMathCalc_, &QAction::triggered, this, &MainCLock::coMathCalc_Click);

  auto* client = new QWidget(this);
  client->setObjectName("client");
  QPalette palette = client->palette();
  palette.setColor(QPalette::Window, kBackground);
  client->setPalette(palette);
  client->setAutoFillBackground(true);
  layout->addWidget(client);

  const QColor system;  // invalid: the system's colours
  const auto left = Qt::AlignLeft;
  const auto right = Qt::AlignRight;
  const auto sans = Face::SansSerif;
  const auto fixed = Face::Fixed;
  // Front to back.
  const LabelDesign labels[] = {
      {"Label1_3", 120, 2400, 2175, 255, "Your time zone  (ANSI format)", sans, 8.25, false, system, system, left, true},
      {"Label5_3", 2400, 2400, 3855, 255, "", fixed, 14.25, true, {0, 0, 255}, {187, 204, 0}, right, false},
      {"Label1_2", 120, 1080, 2535, 375, "The current moment in GMT (UTC)   [ANSI Format]", sans, 8.25, false, system, system, left, true},
      {"Label5_2", 2400, 1080, 3855, 255, "", fixed, 14.25, true, {0, 0, 0}, {128, 64, 0}, right, false},
      {"Label1_1", 120, 600, 2775, 375, "The current moment in seconds (decimal format)", sans, 8.25, false, system, system, left, false},
      {"Label5_1", 3000, 600, 3255, 255, "", fixed, 14.25, true, {128, 64, 0}, {0, 64, 64}, right, false},
      {"Label1_0", 120, 120, 2775, 375, "The current moment (posi-4 seconds)", sans, 8.25, false, system, system, left, false},
      {"TZdiffLbl", 120, 1560, 2655, 735, "Enter the difference in seconds between your local time and UTC (GMT date-time):", Face::Arial, 9, false, system, system, left, false},
      {"Label5_0", 3000, 120, 3255, 255, "", fixed, 14.25, true, {255, 255, 0}, {0, 0, 64}, right, true},
      {"lblVersion", 1080, 0, 2925, 255, "Ver 1.1.4  ( + 39A4.51EB)", sans, 8.25, false, system, system, left, true},
      {"lblTitle", 0, 0, 1005, 240, "Selenial", sans, 9.75, true, {0, 0, 0}, system, left, true},
      {"AuthorLbl", 0, 360, 3615, 255, texts::kAuthor, sans, 8.25, false, system, system, left, true},
      {"lblDescription", 0, 720, 3885, 1050, texts::kDescription, sans, 8.25, false, {0, 0, 0}, system, left, true},
      {"lblDisclaimer", 0, 1920, 3870, 825, texts::kDisclaimer, sans, 8.25, false, {0, 0, 0}, system, left, true},
  };
  cmdOK_ = new QPushButton("OK", client);
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setGeometry(twipsRect(3960, 360, 1260, 345));
  cmdOK_->setFont(designFont(sans, 8.25));
  // As on the desktop the design comes from: Enter clicks the focused button.
  cmdOK_->setAutoDefault(true);

  std::vector<QWidget*> frontToBack{cmdOK_};
  std::map<std::string, ClickLabel*> made;
  for (const LabelDesign& design : labels) {
    made[design.name] = makeLabel(client, design);
    frontToBack.push_back(made[design.name]);
  }
  std::for_each(frontToBack.rbegin(), frontToBack.rend(), [](QWidget* w) { w->raise(); });
  for (int i = 0; i < 4; ++i) {
    Label1_[i] = made["Label1_" + std::to_string(i)];
    Label5_[i] = made["Label5_" + std::to_string(i)];
  }
  TZdiffLbl_ = made["TZdiffLbl"];
  lblVersion_ = made["lblVersion"];
  lblTitle_ = made["lblTitle"];
  AuthorLbl_ = made["AuthorLbl"];
  lblDescription_ = made["lblDescription"];
  lblDisclaimer_ = made["lblDisclaimer"];

  Label5_[0]->setToolTip("click here to capture current moment for time-stamp");
  Label5_[2]->setToolTip(
      "You can manipulate this value to see the StarDate for historical moments.  "
      "Set it to 1969.07.20+20:17:43 and you will see StarDate 0000.0000");
  for (int i = 0; i < 4; ++i) {
    connect(Label5_[i], &ClickLabel::clicked, this, [this, i] { Label5_Click(i); });
    // A screen reader names each value by the title beside it.
    Label5_[i]->setAccessibleName(Label1_[i]->text());
    Label5_[i]->setAccessibleDescription(Label1_[i]->text());
  }
  connect(cmdOK_, &QPushButton::clicked, this, &MainCLock::cmdOK_Click);

  startimer_ = new QTimer(this);
  startimer_->setObjectName("startimer");
  startimer_->setTimerType(Qt::PreciseTimer);
  startimer_->setSingleShot(true);
  connect(startimer_, &QTimer::timeout, this, &MainCLock::startimer_Timer);

  // Controls stand at fixed places: resizing the window clips them, never moves them.
  resize(pixels(6345), pixels(2760) + menuBar->sizeHint().height());
}

void MainCLock::buildSetupControls() {
  if (DiffSec_) return;
  QWidget* client = cmdOK_->parentWidget();
  DiffSec_ = new QLineEdit(offsetText_, client);
  DiffSec_->setObjectName("DiffSec");
  DiffSec_->setGeometry(twipsRect(3840, 1560, 2415, 405));
  DiffSec_->setFont(designFont(Face::Fixed, 14.25, true));
  DiffSec_->setAlignment(Qt::AlignRight);
  paint(DiffSec_, QApplication::palette().color(QPalette::Highlight),
        QApplication::palette().color(QPalette::Base), false);
  DiffSec_->setToolTip(offsetToolTip_);
  DiffSec_->setAccessibleName(TZdiffLbl_->text());
  DiffSec_->setAccessibleDescription(kOffsetHint);
  // Made last, they lie above every label; front to back: setdone, cmdOK, DiffSec.
  cmdOK_->raise();
  setdone_ = new QPushButton("Lock Setup", client);
  setdone_->setObjectName("setdone");
  setdone_->setGeometry(twipsRect(3840, 2040, 1095, 255));
  setdone_->setFont(cmdOK_->font());
  setdone_->setAutoDefault(true);
  setTabOrder(DiffSec_, cmdOK_);
  setTabOrder(cmdOK_, setdone_);
  connect(DiffSec_, &QLineEdit::textChanged, this, &MainCLock::DiffSec_Change);
  connect(setdone_, &QPushButton::clicked, this, &MainCLock::setdone_Click);
}

void MainCLock::Form_Load() {
  const settings::OffsetSetting::Loaded loaded = offsets_.load();
  // Shown as a failed save is: the file that could not be read is left alone.
  if (!loaded.error.empty()) {
    offsetToolTip_ = "The stored offset could not be read: " + fromStd(loaded.error);
    std::fprintf(stderr, "selenial: %s\n", qPrintable(offsetToolTip_));
  }
  // The box starts as "0"; a stored text that differs counts as an edit of it and is
  // saved back in its own spelling, as typing it would.
  if (const QString text = fromStd(loaded.boxText); text != offsetText_) DiffSec_Change(text);
  TZdays_ = epochclock::offsetToDays(loaded.seconds);
  setWindowTitle("ini: " + fromStd(runtime::signedNumberText(TZdays_)));
  mnuAbout_Click();
  startimer_->setInterval(1000);
  startimer_->start();
}

void MainCLock::startimer_Timer() {
  using namespace std::chrono;
  startimer_->stop();
  runtime::ClockReading now = seams_.readClock();
  const auto rest = [&now] { return seconds(1) - now.intoSecond; };
  // A tick that lands early finds the second already shown still on the clock.
  // A short rest is waited out here, as the event loop counts whole milliseconds;
  // a longer one is left to the timer. Either way that second is not shown again.
  if (now.moment == shownSecond_ && rest() <= kWaitInPlace) {
    seams_.wait(rest());
    now = seams_.readClock();
  }
  if (now.moment == shownSecond_) {
    startimer_->setInterval(ceil<milliseconds>(rest()));
  } else {
    Display();
    now = seams_.readClock();
    // Rounded down, so that the tick lands on the second or at most a millisecond
    // before it, and waits out the rest.
    startimer_->setInterval(std::max(floor<milliseconds>(rest()), milliseconds(1)));
  }
  startimer_->start();
}

void MainCLock::Display() {
  const runtime::DateTimeSerial Tnow = seams_.readClock().moment;
  // An offset that takes Tutc out of the calendar leaves the last good texts in place.
  const auto sample = epochclock::sample(Tnow, TZdays_);
  if (!sample) return;
  const std::string starDate = epochclock::starDateText(sample->starsecs);
  setWindowTitle(fromStd(starDate));
  shownSecond_ = Tnow;
  if (isMinimized()) return;
  Label5_[0]->setText(fromStd("  " + starDate));
  Label5_[1]->setText(fromStd("  " + runtime::plainNumberText(static_cast<double>(sample->starsecs))));
  Label5_[2]->setText(fromStd("  " + runtime::momentText(sample->Tutc)));
  Label5_[3]->setText(fromStd("  " + runtime::momentText(sample->Tnow)));
}

void MainCLock::ShowSetup(bool show) {
  if (show) buildSetupControls();
  if (!DiffSec_) return;
  for (QWidget* w : std::initializer_list<QWidget*>{setdone_, TZdiffLbl_, DiffSec_}) w->setVisible(show);
}

void MainCLock::ShowClock(bool show) {
  for (QWidget* w : std::initializer_list<QWidget*>{lblTitle_, lblVersion_, AuthorLbl_, lblDescription_,
                                                    cmdOK_, lblDisclaimer_}) {
    w->setVisible(!show);
  }
  for (int i = 0; i < 4; ++i) {
    Label1_[i]->setVisible(show);
    Label5_[i]->setVisible(show);
  }
}

void MainCLock::mnuSetup_Click() {
  ShowSetup(true);
  mnuAbout_->setEnabled(false);
  DiffSec_->setFocus();
  DiffSec_->selectAll();
}

void MainCLock::setdone_Click() {
  ShowSetup(false);
  mnuAbout_->setEnabled(true);
}

void MainCLock::mnuAbout_Click() {
  ShowClock(false);
  mnuSetup_->setEnabled(false);
}

void MainCLock::cmdOK_Click() {
  ShowClock(true);
  mnuSetup_->setEnabled(true);
}

void MainCLock::Label5_Click(int /*index*/) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(Label5_[0]->text());
}

void MainCLock::DiffSec_Change(const QString& text) {
  const settings::OffsetSetting::Changed changed = offsets_.change(text.toStdString());
  // Text that spells no number (the box emptied while retyping) keeps the last good offset.
  if (changed.seconds) TZdays_ = epochclock::offsetToDays(*changed.seconds);
  offsetText_ = text;
  if (changed.saved.ok) {
    offsetToolTip_ = kOffsetHint;
  } else {
    offsetToolTip_ = "The offset could not be saved: " + fromStd(changed.saved.error);
    std::fprintf(stderr, "selenial: %s\n", qPrintable(offsetToolTip_));
  }
  if (DiffSec_) DiffSec_->setToolTip(offsetToolTip_);
}

void MainCLock::coMathCalc_Click() {
  if (!calculator_) calculator_ = new coMath();
  calculator_->show();
  calculator_->raise();
  calculator_->activateWindow();
}

void MainCLock::Form_Unload() {
  startimer_->stop();
  delete calculator_;
  seams_.endProgram();
}

void MainCLock::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void MainCLock::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool okKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (okKey && plain && !cmdOK_->isHidden()) {
    cmdOK_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace ui
