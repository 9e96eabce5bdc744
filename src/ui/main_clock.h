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
#include "settings/preferences.h"
#include "ui/face.h"
#include "ui/global_key.h"
#include "ui/tray.h"
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
enum Menu : int {
  mnuSetup, mnuAbout, coMathCalc, mnuStamp,
  // The "&Time stamp" menu: the stamp's formats, then the system-wide key.
  mnuStampShown, mnuStampStarDate, mnuStampSeconds, mnuStampUtc, mnuStampIso, mnuStampCustom,
  mnuKeyNote, mnuKeyTypes, mnuKeyCopies, mnuKeyChoose, mnuKeyOff,
  // The "&Window" menu: what keeps the clock at hand, and the end of the program.
  mnuWindow, mnuOnTop, mnuLogin, mnuTray, mnuCloseToTray, mnuQuit, menuCount
};
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
  std::string preferencesFile{settings::kPreferencesFile};
  // The platform's system-wide key and typing; none where the face has neither.
  GlobalKey* globalKey = nullptr;
  Typist* typist = nullptr;
  // The notification area's icon and the start at login; none where the face has neither.
  Tray* tray = nullptr;
  LoginStart* loginStart = nullptr;
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
  // The time stamp's format, and the key that stamps wherever the user types.
  void mnuStampFormat_Click(int entry);
  void mnuStampCustom_Click();
  void Label5_ContextMenu(int index);
  void mnuKeyDoes_Click(bool types);
  void mnuKeyChoose_Click();
  void mnuKeyOff_Click();
  void hotkey_Pressed();
  // The icon in the notification area, the closing of the window, its place above the
  // others and the start at login.
  void tray_Click();
  void trayMenu_Click(int entry);
  void mnuOnTop_Click();
  void mnuLogin_Click();
  void mnuTray_Click();
  void mnuCloseToTray_Click();
  // Ends the program, whatever closing the window does (Ctrl+Q, "Quit").
  void quit();
  // Whether the face shows the window at start: not when it was left hidden in the
  // notification area and the icon is there again to bring it back.
  bool startsShown() const { return !windowHidden_; }

  // The face's events, handed on to the handler of the control or entry.
  void clicked(Control control) override;
  void edited(Control control, std::string_view text) override;
  bool keyPressed(Key key) override;
  void contextMenu(Control control) override;
  void menuChosen(int entry) override;

  double TZdays() const { return TZdays_; }

 private:
  void ShowSetup(bool show);
  void ShowClock(bool show);
  void setShown(Control control, bool shown);
  bool showsSecondOf(const runtime::ClockReading& reading) const;
  // The stamp of the second the clock shows: the design's StarDate caption, or a format.
  std::string stamp(const std::optional<std::string>& format) const;
  std::optional<std::string> askFormat(std::string text);
  void loadPreferences();
  void savePreferences();
  void showStampChoices();
  void loadTrayPreferences();
  void showTrayChoices();
  void refreshTray(const std::string& starDate, const std::string& utc, const std::string& local);
  void placeWindows();
  // The windows' places, and the clock's hidden in the notification area, for the next start.
  void keepPlaces();
  void showWindow(bool shown);
  // Takes `chord` (none: no key) and says in the menu how that went; false when taken.
  bool holdKey(const std::optional<KeyChord>& chord, const std::optional<KeyChord>& kept);

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
  // The StarDate count and the offset in use of that second, for the stamp's formats.
  std::optional<std::int64_t> shownStarsecs_;
  double shownOffsetSeconds_ = 0;

  settings::Preferences preferences_;
  std::optional<std::string> copyFormat_;  // none: the design's StarDate caption
  std::optional<KeyChord> hotkey_;         // none: no system-wide key
  bool hotkeyTypes_ = true;                // or copies
  bool trayWanted_ = true;    // the icon, where the desktop has a notification area
  bool trayShown_ = false;
  int trayLooks_ = 60;  // refreshes left in which a missing notification area is looked for
  bool closesToTray_ = false;  // or ends the program
  bool onTop_ = false;
  // Hidden in the notification area; only the clock hides its window, and shows it again.
  bool windowHidden_ = false;
  std::string showHideCaption_;
};

}  // namespace ui
