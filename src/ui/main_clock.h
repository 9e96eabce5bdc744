#pragma once

#include <chrono>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/date_time.h"
#include "settings/offset_file.h"
#include "ui/face.h"
#include "ui/window_design.h"

namespace ui {

// The clock window's controls, front to back, and its menu.
namespace mainclock {
enum : Control {
  setdone, cmdOK, DiffSec, Label1_3, Label5_3, Label1_2, Label5_2, Label1_1, Label5_1, Label1_0,
  TZdiffLbl, Label5_0, lblVersion, lblTitle, AuthorLbl, lblDescription, lblDisclaimer, controlCount
};
inline constexpr Control Label1[] = {Label1_0, Label1_1, Label1_2, Label1_3};
inline constexpr Control Label5[] = {Label5_0, Label5_1, Label5_2, Label5_3};
enum Menu : int { mnuSetup, mnuAbout, coMathCalc };
}  // namespace mainclock

const WindowDesign& mainClockDesign();

// The outside world the clock touches, replaceable for tests.
struct MainClockSeams {
  std::function<runtime::ClockReading()> readClock = runtime::readLocalClock;
  std::function<void()> refreshZone = runtime::refreshZone;
  std::function<void(std::chrono::microseconds)> wait = [](std::chrono::microseconds span) {
    std::this_thread::sleep_for(span);
  };
  std::string offsetFile{settings::kOffsetFile};
};

// The clock window: the StarDate, the seconds since the epoch, UTC and local time,
// refreshed every second; an About view and the offset setup.
class MainCLock : public Events {
 public:
  using Seams = MainClockSeams;

  explicit MainCLock(MainFace& face, Seams seams = {});

  // Once the face's controls exist, before the window is first shown.
  void Form_Load();
  void startimer_Timer();
  void Display();
  void mnuSetup_Click();
  void mnuAbout_Click();
  void cmdOK_Click();
  void setdone_Click();
  void Label5_Click(int index);
  void DiffSec_Change(std::string_view text);
  void coMathCalc_Click();
  void Form_Unload();

  // The face's events, handed on to the handler of the control or entry.
  void clicked(Control control) override;
  void edited(Control control, std::string_view text) override;
  bool keyPressed(Key key) override;
  void menuChosen(int entry) override;

  double TZdays() const { return TZdays_; }

 private:
  void ShowSetup(bool show);
  void ShowClock(bool show);
  void setShown(Control control, bool shown);
  bool showsSecondOf(const runtime::ClockReading& reading) const;

  MainFace& face_;
  Seams seams_;
  settings::OffsetSetting offsets_;
  double TZdays_ = 0;
  // The box holds the word for the system's zone: each refresh takes its offset.
  bool followsZone_ = false;
  // The second the caption shows, as the local moment and the zone's offset
  // (a local moment repeats when the clocks go back); NaN before the first refresh.
  runtime::DateTimeSerial shownSecond_ = std::numeric_limits<runtime::DateTimeSerial>::quiet_NaN();
  std::int64_t shownOffset_ = 0;
};

}  // namespace ui
