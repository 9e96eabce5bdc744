#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <limits>
#include <thread>

#include "runtime/date_time.h"
#include "settings/offset_file.h"
#include "ui/co_math.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace ui {

class ClickLabel;

// The outside world the clock window touches, replaceable for tests.
struct MainClockSeams {
  std::function<runtime::ClockReading()> readClock = runtime::readLocalClock;
  std::function<void(std::chrono::microseconds)> wait = [](std::chrono::microseconds span) {
    std::this_thread::sleep_for(span);
  };
  std::filesystem::path offsetFile = settings::kOffsetFile;
  std::function<void()> endProgram;  // default: quit the application
};

// The clock window: the StarDate, the seconds since the epoch, UTC and local
// time, refreshed every second; an About view and the offset setup.
class MainCLock : public QWidget {
  Q_OBJECT

 public:
  using Seams = MainClockSeams;

  explicit MainCLock(Seams seams = {});
  ~MainCLock() override;

  void Display();

  double TZdays() const { return TZdays_; }
  coMath* calculator() const { return calculator_; }

 public slots:
  void startimer_Timer();
  void mnuSetup_Click();
  void mnuAbout_Click();
  void cmdOK_Click();
  void setdone_Click();
  void Label5_Click(int index);
  void DiffSec_Change(const QString& text);
  void coMathCalc_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildControls();
  // The setup panel's box and button are made when it first opens: most starts
  // never show them, and a line edit costs memory from the first moment.
  void buildSetupControls();
  void Form_Load();
  void Form_Unload();
  void ShowSetup(bool show);
  void ShowClock(bool show);

  Seams seams_;
  settings::OffsetSetting offsets_;
  double TZdays_ = 0;
  // The local second the caption shows; NaN before the first refresh.
  runtime::DateTimeSerial shownSecond_ = std::numeric_limits<runtime::DateTimeSerial>::quiet_NaN();

  QAction* mnuSetup_ = nullptr;
  QAction* mnuAbout_ = nullptr;
  QAction* coMathCalc_ = nullptr;
  QTimer* startimer_ = nullptr;
  QPushButton* setdone_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QLineEdit* DiffSec_ = nullptr;
  std::array<ClickLabel*, 4> Label1_{};
  std::array<ClickLabel*, 4> Label5_{};
  ClickLabel* TZdiffLbl_ = nullptr;
  ClickLabel* lblVersion_ = nullptr;
  ClickLabel* lblTitle_ = nullptr;
  ClickLabel* AuthorLbl_ = nullptr;
  ClickLabel* lblDescription_ = nullptr;
  ClickLabel* lblDisclaimer_ = nullptr;
  QString offsetText_ = "0";     // the box's text, kept while there is no box yet
  QString offsetToolTip_;
  QPointer<coMath> calculator_;
};

}  // namespace ui
