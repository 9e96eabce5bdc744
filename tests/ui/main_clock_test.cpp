#include "ui/main_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <tuple>

#include "../support/moments.h"
#include "clock/epoch_clock.h"
#include "clock/moment_format.h"
#include "fake_face.h"

namespace {

using namespace ui::mainclock;
using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

class MainClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("selenial-ui-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  ui::MainCLock& open() {
    face_ = std::make_unique<uitest::FakeMainFace>(ui::mainClockDesign());
    ui::MainClockSeams seams;
    seams.offsetFile = file().string();
    seams.readClock = [this] { return clock_.read(); };
    seams.wait = [this](std::chrono::microseconds span) { clock_.wait(span); };
    seams.refreshZone = [this] { clock_.refreshZone(); };
    seams.preferencesFile = confFile().string();
    seams.globalKey = &key_;
    seams.typist = &typist_;
    seams.tray = &tray_;
    seams.loginStart = &login_;
    face_->onTopPossible = onTopPossible_;
    window_ = std::make_unique<ui::MainCLock>(*face_, seams);
    window_->Form_Load();
    return *window_;
  }
  std::filesystem::path file() const { return dir_ / "Selenial.ini"; }
  void store(const std::string& bytes) const { std::ofstream(file(), std::ios::binary) << bytes; }
  std::string stored() const { return bytesOf(file()); }
  static std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(no file)";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void setClock(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    clock_.setTo(testsupport::at(y, mo, d, h, mi, s));
  }
  void tick() { window_->startimer_Timer(); }
  std::string value(int i) const { return face_->texts.at(Label5[i]); }
  // The box as the user reaches it: OK, then SetUp.
  void openSetup() {
    window_->clicked(cmdOK);
    window_->menuChosen(mnuSetup);
  }
  void type(const std::string& text) {
    face_->setText(DiffSec, text);
    window_->edited(DiffSec, text);
  }

  enum class View { About, Clock, ClockWithSetup };
  void expectView(View view) const {
    const bool clock = view != View::About;
    const bool setup = view == View::ClockWithSetup;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(face_->shown(Label5[i]), clock) << i;
      EXPECT_EQ(face_->shown(Label1[i]), clock) << i;
    }
    for (const ui::Control c : {lblTitle, lblVersion, AuthorLbl, lblDescription, cmdOK, lblDisclaimer}) {
      EXPECT_EQ(face_->shown(c), !clock) << face_->name(c);
    }
    for (const ui::Control c : {setdone, TZdiffLbl, DiffSec}) EXPECT_EQ(face_->shown(c), setup) << face_->name(c);
    EXPECT_EQ(face_->menuEnabled[mnuSetup], view != View::About);
    EXPECT_EQ(face_->menuEnabled[mnuAbout], view != View::ClockWithSetup);
    EXPECT_TRUE(face_->menuEnabled[coMathCalc]);
  }

  // A system-wide key that another program may hold, and a typist that keeps what it typed.
  struct FakeKey : ui::GlobalKey {
    Grab grab(const ui::KeyChord& chord) override {
      if (taken.count(ui::keyChordText(chord))) return Grab::Taken;
      held = ui::keyChordText(chord);
      return Grab::Held;
    }
    void release() override { held = "(none)"; }
    std::set<std::string> taken;
    std::string held = "(none)";
  } key_;
  struct FakeTypist : ui::Typist {
    void type(std::string_view text) override { typed = text; }
    std::string typed = "(nothing)";
  } typist_;
  std::filesystem::path confFile() const { return dir_ / "Selenial.conf"; }
  std::string conf() const { return bytesOf(confFile()); }
  void storeConf(const std::string& text) const { std::ofstream(confFile(), std::ios::binary) << text; }
  std::string keyNote() const { return face_->menuCaptions[mnuKeyNote]; }
  // The one format checked; -1 when none or more are.
  int checkedFormat() const {
    const auto first = face_->menuChecked.begin() + mnuStampShown, end = face_->menuChecked.begin() + mnuStampCustom + 1;
    return std::count(first, end, true) == 1 ? static_cast<int>(std::find(first, end, true) - face_->menuChecked.begin()) : -1;
  }

  std::filesystem::path dir_;
  uitest::FakeClock clock_;
  std::unique_ptr<uitest::FakeMainFace> face_;
  std::unique_ptr<ui::MainCLock> window_;
  uitest::FakeTray tray_;
  uitest::FakeLoginStart login_;
  bool onTopPossible_ = true;  // not on Wayland
};

// The caption for a stored offset: TheWindowLoadsTheStoredOffsetAndSavesItsEdits.
TEST_F(MainClockTest, LoadOpensOnTheAboutViewWithTheOffsetInTheCaption) {
  open();
  EXPECT_EQ(face_->caption, "ini:  0");
  expectView(View::About);
  EXPECT_EQ(face_->timer, std::chrono::milliseconds(1000));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(value(i), "") << i;
  // The About view's panel is switched in the design's order, nothing refreshed yet.
  EXPECT_EQ(face_->calls, (Calls{"caption ini:  0", "show lblTitle", "show lblVersion",
                                 "show AuthorLbl", "show lblDescription", "show cmdOK", "show lblDisclaimer",
                                 "hide Label1_0", "hide Label5_0", "hide Label1_1", "hide Label5_1",
                                 "hide Label1_2", "hide Label5_2", "hide Label1_3", "hide Label5_3"}));
}

TEST_F(MainClockTest, OneTickFillsCaptionAndLabels) {
  struct Case {
    std::string stored;
    int y;
    unsigned mo, d;
    int h, mi, s;
    std::string caption, label0, label1, label2, label3;
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
      {"0", 9999, 12, 31, 23, 59, 59, " + 3B00CC.AB98", "   + 3B00CC.AB98", "  253416483736", "  9999.12.31+23.59.59",
       "  9999.12.31+23.59.59"},
  };
  for (const Case& c : cases) {
    store(c.stored);
    open();
    setClock(c.y, c.mo, c.d, c.h, c.mi, c.s);
    face_->calls.clear();
    tick();
    EXPECT_EQ(face_->calls, (Calls{"caption " + c.caption, "text Label5_0 " + c.label0, "text Label5_1 " + c.label1,
                                   "text Label5_2 " + c.label2, "text Label5_3 " + c.label3}));
    EXPECT_EQ(tray_.toolTip, "StarDate" + c.caption + "\nUTC " + c.label2.substr(2) + "\nLocal " + c.label3.substr(2));
  }
}

// UTC seconds since day zero at which zones change their offset.
constexpr std::int64_t utcSecond(std::chrono::year_month_day date, std::chrono::seconds time) {
  using namespace std::chrono;
  return ((sys_days{date} - sys_days{1899y / December / 30}).count()) * 86400 + time.count();
}
constexpr std::int64_t kBerlinSpring = utcSecond(std::chrono::year{2026} / 3 / 29, 1h);
constexpr std::int64_t kBerlinAutumn = utcSecond(std::chrono::year{2026} / 10 / 25, 1h);
constexpr std::int64_t kNewYorkSpring = utcSecond(std::chrono::year{2026} / 3 / 8, 7h);

TEST_F(MainClockTest, AutoTakesTheSystemZonesOffsetAtEveryRefresh) {
  struct Case {
    const char* what;
    std::string stored;
    uitest::FakeClock::Zone zone;
    std::int64_t change;   // the ticks run from 10 s before it to 10 s after
    std::string box;       // at load
    std::string caption;   // at load
    std::optional<double> fixed;  // a number in the box: the offset every title keeps
  };
  const Case cases[] = {
      {"Berlin, spring", "auto\r\n", [](std::int64_t s) -> std::int64_t { return s < kBerlinSpring ? 3600 : 7200; },
       kBerlinSpring, "auto", "ini:  0.0416666666666667", {}},
      {"Berlin, autumn", " AUTO \r\n", [](std::int64_t s) -> std::int64_t { return s < kBerlinAutumn ? 7200 : 3600; },
       kBerlinAutumn, "AUTO ", "ini:  0.0833333333333333", {}},
      {"New York, spring", "\tAuto\t,60", [](std::int64_t s) -> std::int64_t { return s < kNewYorkSpring ? -18000 : -14400; },
       kNewYorkSpring, "Auto\t", "ini: -0.208333333333333", {}},
      {"a number stays a fixed offset", "3600", [](std::int64_t s) -> std::int64_t { return s < kBerlinSpring ? 3600 : 7200; },
       kBerlinSpring, "3600", "ini:  0.0416666666666667", 3600},
      {"a word that is not the one", "autos", [](std::int64_t) -> std::int64_t { return 7200; }, kBerlinSpring, "0",
       "ini:  0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(file());
    store(c.stored);
    clock_.zone = c.zone;
    clock_.now = std::chrono::seconds(c.change - 10);
    open();
    EXPECT_EQ(face_->text(DiffSec), c.box);
    EXPECT_EQ(face_->caption, c.caption);
    for (std::int64_t utc = c.change - 10; utc < c.change + 10; ++utc) {
      clock_.now = std::chrono::seconds(utc);
      tick();
      const auto local = static_cast<double>(utc + c.zone(utc)) / 86400;
      const auto shownUtc = c.fixed ? local - *c.fixed / 86400 : static_cast<double>(utc) / 86400;
      ASSERT_EQ(face_->caption, epochclock::starDateText(runtime::secondsBetween(epochclock::epoch(), shownUtc)))
          << runtime::momentText(local);
      ASSERT_EQ(value(3), "  " + runtime::momentText(local));
    }
  }
  // Text that spells no number keeps the offset last in use, and stops following the zone.
  EXPECT_EQ(window_->TZdays(), 0);
  type("auto");
  clock_.now += 1s;
  tick();
  EXPECT_EQ(window_->TZdays(), 7200 / 86400.0);
  type("aut");
  clock_.changedZone = [](std::int64_t) -> std::int64_t { return 3600; };
  clock_.now += 1s;
  tick();
  EXPECT_EQ(window_->TZdays(), 7200 / 86400.0);
  EXPECT_EQ(stored(), "aut\r\n");
  // A zone the system changes between two ticks is the next tick's.
  type("auto");
  clock_.changedZone = [](std::int64_t) -> std::int64_t { return -18000; };
  clock_.now += 1s;
  tick();
  EXPECT_EQ(window_->TZdays(), -18000 / 86400.0);
}

TEST_F(MainClockTest, MinimizedOnlyTheCaptionChanges) {
  open();
  setClock(2000, 3, 12, 18, 54, 10);
  tick();
  const std::string before = value(0);
  face_->isMinimized = true;
  std::set<std::string> captions;
  for (int i = 0; i < 10; ++i) {
    clock_.now += 1s;
    tick();
    captions.insert(face_->caption);
    // The icon's tool tip follows every second, though the labels do not.
    const std::string second = "2000.03.12+18.54." + std::to_string(11 + i);
    EXPECT_EQ(tray_.toolTip, "StarDate" + face_->caption + "\nUTC " + second + "\nLocal " + second);
    EXPECT_EQ(value(0), before);
    EXPECT_EQ(value(3), "  2000.03.12+18.54.10");
  }
  EXPECT_EQ(captions.size(), 10u);
  face_->isMinimized = false;
  clock_.now += 1s;
  tick();
  EXPECT_EQ(value(0), "  " + face_->caption);
  EXPECT_EQ(value(3), "  2000.03.12+18.54.21");
}

TEST_F(MainClockTest, EverySecondIsShownExactlyOnce) {
  open();
  setClock(2026, 12, 7, 11, 59, 58);
  clock_.now += 1003ms;  // the first interval, armed at load
  clock_.costPerRead = 2ms;  // each reading of the clock takes a little time
  std::optional<long long> last;
  int jitter = 0;
  for (int i = 0; i < 900; ++i) {
    tick();
    const long long shown = std::stoll(value(1));
    if (last) {
      ASSERT_EQ(shown, *last + 1) << "tick " << i;
    }
    last = shown;
    ASSERT_TRUE(face_->timer);
    // The timer fires its interval later, give or take the system's lateness.
    jitter = (jitter + 7) % 13;
    clock_.now += *face_->timer + std::chrono::milliseconds(jitter);
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
    std::filesystem::remove(file());
    open();
    setClock(2000, 3, 13, 1, 54, 10);
    tick();
    // A changed offset would show even in the second already shown, were it shown again.
    type("3600");
    const std::string shown = face_->caption;
    setClock(2000, 3, 13, 1, 54, 10);
    clock_.now += c.landed;
    tick();
    const std::string caption =
        c.secondsOn == 0 ? shown : epochclock::starDateText(967070187 + 25200 - 3600 + c.secondsOn);
    EXPECT_EQ(face_->caption, caption) << c.what;
    EXPECT_EQ(face_->timer, std::chrono::milliseconds(c.armed)) << c.what;
  }
}

// What the box takes while the clock runs: the title changes at every tick whatever is typed.
TEST_F(MainClockTest, AnOffsetTheClockCannotShowIsRefusedAndTheClockRunsOn) {
  open();
  setClock(2000, 3, 13, 1, 54, 10);
  openSetup();
  struct Case {
    std::string typed, box;  // the box is the file's line too
    double seconds;          // in use afterwards
    bool refused;            // marked, and one line on stderr
  };
  const Case cases[] = {{"7200", "7200", 7200, false},          {"36000000000000", "36000000000000", 7200, true},
                        {"1e308", "1e308", 7200, true},         {"-86400", "-86400", -86400, false},
                        {"", "", -86400, false},  // no number: saved as typed, the offset in use kept
                        {"3600\r\n-7200\n\tauto", "3600", 3600, false}};  // a paste keeps its first line
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    type(c.typed);
    const std::string errors = testing::internal::GetCapturedStderr(), caption = face_->caption;
    EXPECT_EQ(face_->text(DiffSec) + "|" + stored(), c.box + "|" + c.box + "\r\n") << c.typed;
    EXPECT_EQ(window_->TZdays(), c.seconds / 86400.0) << c.typed;
    EXPECT_EQ(face_->failures[DiffSec].find("outside the years 100 to 9999") != std::string::npos, c.refused);
    EXPECT_EQ(errors.starts_with("selenial: The offset ") && std::ranges::count(errors, '\n') == 1, c.refused);
    clock_.now += 1s;
    tick();
    EXPECT_NE(face_->caption, caption) << c.typed;
  }
}

TEST_F(MainClockTest, AFailingRefreshKeepsTheLastUtcTextsAndTheLocalTimeRuns) {
  store("-3600");
  open();
  setClock(9999, 12, 31, 22, 59, 59);
  tick();
  const std::string caption = face_->caption;
  clock_.now += 1s;  // UTC would be in the year 10000
  tick();
  EXPECT_EQ(face_->caption, caption);
  EXPECT_EQ(value(2) + value(3), "  9999.12.31+23.59.59  9999.12.31+23.00.00");
  EXPECT_TRUE(face_->timer);
  type("0");
  clock_.now += 1s;
  tick();
  EXPECT_EQ(value(2), "  9999.12.31+23.00.01");
}

TEST_F(MainClockTest, ViewTransitions) {
  open();
  struct Step {
    std::optional<ui::Control> click;  // otherwise a menu entry
    int entry;
    View after;
  };
  const Step steps[] = {
      {{}, mnuAbout, View::About},  {cmdOK, 0, View::Clock},   {{}, mnuSetup, View::ClockWithSetup},
      {{}, mnuSetup, View::ClockWithSetup}, {setdone, 0, View::Clock}, {{}, mnuAbout, View::About},
      {cmdOK, 0, View::Clock},      {{}, coMathCalc, View::Clock},
  };
  for (const Step& step : steps) {
    if (step.click) {
      window_->clicked(*step.click);
    } else {
      window_->menuChosen(step.entry);
    }
    expectView(step.after);
  }
  EXPECT_EQ(face_->calculatorShown, 1);
  // The setup panel in its order; the box gets the focus.
  face_->calls.clear();
  window_->menuChosen(mnuSetup);
  EXPECT_EQ(face_->calls, (Calls{"show setdone", "show TZdiffLbl", "show DiffSec", "focus DiffSec"}));
}

TEST_F(MainClockTest, TheDesignsKeysAndTheFocusOfHiddenControls) {
  open();
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  // Enter and Esc are "OK" while it is shown, and nothing after.
  for (const ui::Key key : {ui::Key::Enter, ui::Key::Escape}) {
    window_->menuChosen(mnuAbout);
    EXPECT_TRUE(window_->keyPressed(key));
    expectView(View::Clock);
    EXPECT_FALSE(window_->keyPressed(key));
  }
  // "Lock Setup" with the focus on it or in the box: no key may reach the hidden box; the
  // focus goes on to the StarDate, the next value in tab order.
  for (const ui::Control focus : {setdone, DiffSec}) {
    window_->menuChosen(mnuSetup);
    face_->focus(focus);
    window_->clicked(setdone);
    EXPECT_EQ(face_->focused(), Label5_0) << face_->name(focus);
  }
  // OK pressed from the keyboard hides itself, and the focus goes to the window.
  window_->menuChosen(mnuAbout);
  face_->focus(cmdOK);
  window_->clicked(cmdOK);
  EXPECT_EQ(face_->focused(), std::nullopt);
  // The copy keys take the time stamp, unless the box has the focus.
  window_->menuChosen(mnuSetup);
  EXPECT_FALSE(window_->keyPressed(ui::Key::Copy));
  window_->clicked(setdone);
  EXPECT_TRUE(window_->keyPressed(ui::Key::Copy));
  EXPECT_EQ(face_->clipboard, "   + 39A4.B45B");
}

TEST_F(MainClockTest, AClickOnAnyValueCopiesTheStarDate) {
  open();
  window_->clicked(cmdOK);
  // Before the first tick the StarDate label is still empty.
  window_->clicked(Label5_2);
  EXPECT_EQ(face_->clipboard, "");
  store("25200");
  window_->DiffSec_Change("25200");
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  for (int i = 0; i < 4; ++i) {
    face_->clipboard = "old";
    window_->clicked(Label5[i]);
    EXPECT_EQ(face_->clipboard, "   + 39A4.51EB") << i;
  }
}

// What the settings file reads as is the settings room's; here, what the window does with it.
TEST_F(MainClockTest, TheWindowLoadsTheStoredOffsetAndSavesItsEdits) {
  struct Case {
    std::optional<std::string> stored;
    std::string box;
    double seconds;
    std::string after;  // a box text that differs from the design's "0" is saved in its own spelling
    bool refused = false;  // a number the clock cannot show: marked, the offset 0 in use
  };
  const Case cases[] = {
      {std::nullopt, "0", 0, "(no file)"},
      {" 3600,60\r\n", "3600", 3600, "3600\r\n"},
      {"0.0\r\n", "0", 0, "0.0\r\n"},
      {"zone\r\n", "0", 0, "zone\r\n"},
      {"36000000000000\r\n", "36000000000000", 0, "36000000000000\r\n", true},
      {"1e308", "1E+308", 0, "1E+308\r\n", true},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(file());
    if (c.stored) store(*c.stored);
    open();
    const std::string label = c.stored.value_or("(no file)");
    EXPECT_EQ(window_->TZdays(), c.seconds / 86400.0) << label;
    EXPECT_EQ(stored(), c.after) << label;
    EXPECT_EQ(face_->text(DiffSec), c.box) << label;
    EXPECT_EQ(face_->failures[DiffSec].find("outside the years 100 to 9999") != std::string::npos, c.refused) << label;
    EXPECT_EQ(face_->caption, "ini: " + runtime::signedNumberText(c.seconds / 86400)) << label;
  }
  // An edit is loaded again at the next start.
  openSetup();
  type("3600.5");
  open();
  EXPECT_EQ(face_->text(DiffSec), "3600.5");
  EXPECT_EQ(window_->TZdays(), 3600.5 / 86400.0);
  EXPECT_EQ(stored(), "3600.5\x0d\x0a");
}

TEST_F(MainClockTest, AFailedSaveIsShownAndTheOffsetStillApplies) {
  open();
  openSetup();
  std::filesystem::create_directory(file());  // nothing can be written there now
  type("7200");
  EXPECT_EQ(window_->TZdays(), 7200 / 86400.0);
  const std::string why = face_->failures[DiffSec];
  EXPECT_NE(why.find("could not be saved"), std::string::npos) << why;
  EXPECT_NE(why.find(std::filesystem::absolute(file()).string()), std::string::npos) << why;
  std::filesystem::remove(file());
  type("3600");
  EXPECT_EQ(face_->failures[DiffSec], "");
  EXPECT_EQ(stored(), "3600\r\n");
}

TEST_F(MainClockTest, ClosingEndsTheProgram) {
  open();
  window_->Form_Unload();
  EXPECT_EQ(face_->ended, 1);
  EXPECT_FALSE(face_->timer);
}

// The stamp of one moment in each format, as the window copies it and as the stardate
// command's formatter writes it: the window never formats a moment its own way. The
// formats come from the table the command's own test reads too.
struct StampRow {
  int entry;           // the menu's format, or Custom...
  std::string format;  // its fields
  std::string text;    // 2000-03-13 01:54:10 local, offset 25200
};
std::vector<StampRow> stampRows() {
  std::vector<StampRow> rows{{mnuStampShown, "", "   + 39A4.51EB"}};
  std::ifstream table(SELENIAL_STAMP_FORMATS);
  EXPECT_TRUE(table) << "cannot read " << SELENIAL_STAMP_FORMATS;
  const std::map<std::string, int> presets{
      {"%C", mnuStampStarDate}, {"%s", mnuStampSeconds}, {"%u", mnuStampUtc}, {"%i", mnuStampIso}};
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    const auto tab = line.find('\t');
    StampRow row{mnuStampCustom, line.substr(0, tab), line.substr(tab + 1)};
    if (const auto preset = presets.find(row.format); preset != presets.end()) row.entry = preset->second;
    rows.push_back(row);
  }
  EXPECT_GT(rows.size(), 8u);
  return rows;
}

TEST_F(MainClockTest, EveryWayOfStampingCopiesTheChosenFormat) {
  store("25200");
  for (const StampRow& row : stampRows()) {
    open();
    SCOPED_TRACE(row.text);
    window_->clicked(cmdOK);
    setClock(2000, 3, 13, 1, 54, 10);
    tick();
    // The clock moves on, but the stamp is of the second it shows.
    setClock(2000, 3, 13, 1, 54, 11);
    // A right-click copies once in a format: the one chosen stays.
    face_->popUpChoice = row.entry;
    face_->answers = {row.format, row.format};  // the right-click's dialog, then the menu's
    const int chosen = checkedFormat();
    window_->contextMenu(Label5_1);
    EXPECT_EQ(face_->clipboard, row.text);
    EXPECT_EQ(checkedFormat(), chosen);
    window_->menuChosen(row.entry);
    EXPECT_EQ(checkedFormat(), row.entry);
    window_->clicked(Label5_3);
    EXPECT_EQ(face_->clipboard, row.text);
    face_->clipboard = "old";
    EXPECT_TRUE(window_->keyPressed(ui::Key::Copy));
    EXPECT_EQ(face_->clipboard, row.text);
    key_.pressed();
    EXPECT_EQ(typist_.typed, row.text);
    // The choice is kept for the next start.
    EXPECT_EQ(conf(), row.entry == mnuStampShown ? "" : "copy=" + row.format + "\n");
    if (row.entry != mnuStampShown) {
      EXPECT_EQ(epochclock::formatLine(row.format, epochclock::unixSecondsOf(967070187), 25200), row.text);
    }
  }
}

TEST_F(MainClockTest, ABadCustomFormatIsRefusedInTheCommandsWords) {
  open();
  window_->menuChosen(mnuStampSeconds);
  face_->answers = {"%q", "%s%"};
  window_->menuChosen(mnuStampCustom);
  EXPECT_EQ(face_->prompts.size(), 3u);
  EXPECT_EQ(face_->prompts[1],
            "This format has no field %q (%S %C %s %u %l %i %%).\n"
            "Format of the time stamp (%S %C %s %u %l %i %%): [%q]");
  EXPECT_EQ(face_->prompts[2].substr(0, 31), "This format ends in a lone %.\nF");
  // Given up: the seconds stay the stamp.
  EXPECT_EQ(checkedFormat(), mnuStampSeconds);
  EXPECT_EQ(conf(), "copy=%s\n");
}

TEST_F(MainClockTest, PreferencesAreReadAndLinesOfNewerVersionsKept) {
  struct Case {
    std::string conf;
    int format;
    std::string note, held, afterIso;
  };
  const Case cases[] = {
      {"", mnuStampShown, "Super+Alt+T types the stamp", "Super+Alt+T", "copy=%i\n"},
      {"future=1\ncopy=%s\r\n", mnuStampSeconds, "Super+Alt+T types the stamp", "Super+Alt+T",
       "future=1\ncopy=%i\n"},
      {"hotkey=ctrl+alt+s\n# mine\nhotkey-does=copy\n", mnuStampShown, "Ctrl+Alt+S copies the stamp",
       "Ctrl+Alt+S", "hotkey=ctrl+alt+s\n# mine\nhotkey-does=copy\ncopy=%i\n"},
      {"copy=%C %u\nhotkey=none\n", mnuStampCustom, "No system-wide key", "(none)",
       "copy=%i\nhotkey=none\n"},
      // Unreadable values and lines: the defaults, the lines kept as they are.
      {"copy=%Q\nhotkey=T\nhotkey-does=jump\nnonsense\n", mnuStampShown, "Super+Alt+T types the stamp",
       "Super+Alt+T", "copy=%i\nhotkey=T\nhotkey-does=jump\nnonsense\n"},
      {"copy=\n", mnuStampShown, "Super+Alt+T types the stamp", "Super+Alt+T", "copy=%i\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.conf);
    storeConf(c.conf);
    open();
    EXPECT_EQ(checkedFormat(), c.format);
    EXPECT_EQ(keyNote(), c.note);
    EXPECT_EQ(key_.held, c.held);
    EXPECT_FALSE(face_->menuEnabled[mnuKeyNote]);
    window_->menuChosen(mnuStampIso);
    EXPECT_EQ(conf(), c.afterIso);
  }
}

TEST_F(MainClockTest, AKeyAnotherProgramHoldsIsSaidAndChangesNothing) {
  key_.taken = {"Super+Alt+T", "Ctrl+Alt+X"};
  open();
  EXPECT_EQ(keyNote(), "Super+Alt+T: taken by another program");
  EXPECT_EQ(key_.held, "(none)");
  // A free key is taken and kept for the next start.
  face_->keyAnswer = ui::readKeyChord("Ctrl+Alt+S");
  window_->menuChosen(mnuKeyChoose);
  EXPECT_EQ(keyNote(), "Ctrl+Alt+S types the stamp");
  EXPECT_EQ(conf(), "hotkey=Ctrl+Alt+S\n");
  // A taken one leaves the key held as it was.
  face_->keyAnswer = ui::readKeyChord("ctrl+alt+x");
  window_->menuChosen(mnuKeyChoose);
  EXPECT_EQ(keyNote(), "Ctrl+Alt+X: taken by another program (Ctrl+Alt+S kept)");
  EXPECT_EQ(key_.held, "Ctrl+Alt+S");
  EXPECT_EQ(conf(), "hotkey=Ctrl+Alt+S\n");
  window_->menuChosen(mnuKeyCopies);
  EXPECT_EQ(keyNote(), "Ctrl+Alt+S copies the stamp");
  key_.pressed();
  EXPECT_EQ(face_->clipboard, "");
  EXPECT_EQ(typist_.typed, "(nothing)");
  window_->menuChosen(mnuKeyOff);
  EXPECT_EQ(key_.held, "(none)");
  EXPECT_EQ(keyNote(), "No system-wide key");
  EXPECT_EQ(conf(), "hotkey=none\nhotkey-does=copy\n");
}

using namespace ui::trayentry;
using Which = ui::MainFace::Which;

TEST_F(MainClockTest, AClickOnTheIconShowsTheWindowOrHidesItWhenInFront) {
  // Shown, minimized, covered; then shown after a click.
  const bool cases[][4] = {{true, false, false, false}, {false, false, false, true},
                           {true, true, false, true},   {true, false, true, true}};
  for (const auto& c : cases) {
    open();
    std::tie(face_->windowShown, face_->isMinimized, face_->covered) = std::tuple(c[0], c[1], c[2]);
    tick();
    // The menu's entry says what a click does, and does it.
    EXPECT_EQ(tray_.captions[ShowHide], c[3] ? "Show clock" : "Hide clock");
    tray_.clicked();
    EXPECT_EQ(face_->windowShown, c[3]);
    tray_.chosen(ShowHide);
    EXPECT_EQ(face_->windowShown, !c[3]);
  }
}

TEST_F(MainClockTest, EveryEntryOfTheIconsMenu) {
  open();
  window_->menuChosen(mnuStampSeconds);
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  tray_.chosen(Copy);
  EXPECT_EQ(face_->clipboard, "967095387");
  tray_.chosen(Calculator);
  EXPECT_EQ(face_->calculatorShown, 1);
  tray_.chosen(OnTop);
  EXPECT_TRUE(face_->onTop && face_->menuChecked[mnuOnTop] && tray_.checked[OnTop]);
  window_->menuChosen(mnuOnTop);
  EXPECT_FALSE(face_->onTop || tray_.checked[OnTop]);
  // The start at login is read from the system's entry, and kept nowhere else.
  tray_.chosen(StartAtLogin);
  EXPECT_TRUE(login_.there && face_->menuChecked[mnuLogin] && tray_.checked[StartAtLogin]);
  login_.refuses = true;
  window_->menuChosen(mnuLogin);
  EXPECT_TRUE(tray_.checked[StartAtLogin]);
  // The icon goes, and a window hidden by it comes back.
  face_->windowShown = false;
  tray_.chosen(Icon);
  EXPECT_TRUE(!tray_.shown && face_->windowShown && !face_->menuChecked[mnuTray]);
  window_->menuChosen(mnuTray);
  EXPECT_TRUE(tray_.shown);
  EXPECT_EQ(conf(), "copy=%s\non-top=off\ntray=on\n");
  tray_.chosen(Quit);
  EXPECT_TRUE(face_->ended == 1 && !face_->timer && !tray_.shown);
}

TEST_F(MainClockTest, ClosingQuitsOrKeepsTheClockInTheNotificationArea) {
  struct Case {
    std::string conf;
    bool trayPresent, ends;
    // The next start: whether a notification area is there, and the window shown.
    bool trayNext, shownNext;
  };
  // Without the icon to come back by, closing ends the program; ended while hidden in the
  // notification area, the clock starts there again, unless no notification area is left.
  const Case cases[] = {{"", true, true, true, true},
                        {"close=tray\n", true, false, true, false},
                        {"close=tray\n", true, false, false, true},
                        {"close=tray\n", false, true, true, true},
                        {"close=tray\ntray=off\n", true, true, true, true},
                        {"close=hide\n", true, true, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.conf + (c.trayPresent ? "" : " without a notification area"));
    storeConf(c.conf);
    tray_.present = c.trayPresent;
    open();
    EXPECT_TRUE(window_->startsShown());
    EXPECT_EQ(face_->menuEnabled[mnuCloseToTray], c.trayPresent && c.conf.find("off") == std::string::npos);
    EXPECT_EQ(face_->menuToolTips[mnuTray].empty(), c.trayPresent);
    window_->Form_Unload();
    EXPECT_EQ(face_->ended, c.ends ? 1 : 0);
    EXPECT_EQ(face_->windowShown, c.ends);
    // Ctrl+Q ends it whatever closing does.
    EXPECT_TRUE(window_->keyPressed(ui::Key::Quit));
    EXPECT_EQ(face_->ended, c.ends ? 2 : 1);
    EXPECT_EQ(conf(), c.conf + (c.ends ? "" : "window=hidden\n"));
    tray_.present = c.trayNext;
    open();
    EXPECT_EQ(window_->startsShown(), c.shownNext);
    EXPECT_EQ(tray_.shown, c.trayNext && c.conf.find("off") == std::string::npos);
    if (c.shownNext) continue;
    // Brought back by the icon and then ended, it starts shown.
    face_->windowShown = false;
    tray_.clicked();
    EXPECT_TRUE(face_->windowShown);
    tray_.chosen(Quit);
    EXPECT_EQ(conf(), c.conf);
  }
  window_->menuChosen(mnuCloseToTray);
  EXPECT_EQ(conf(), "close=tray\n");
  // A panel that comes after the clock (both started at login) gets the icon.
  storeConf("");
  tray_.present = false;
  open();
  tray_.present = true;
  for (int s = 0; s < 5; ++s) {
    EXPECT_FALSE(tray_.shown) << s;
    setClock(2000, 3, 13, 1, 54, s);
    tick();
  }
  EXPECT_TRUE(tray_.shown && face_->menuEnabled[mnuCloseToTray]);
}

TEST_F(MainClockTest, WhereNothingStaysOnTopTheEntrySaysWhy) {
  for (const bool possible : {true, false}) {
    storeConf("on-top=on\n");
    onTopPossible_ = possible;
    open();
    EXPECT_EQ(face_->onTop, possible);
    EXPECT_EQ(face_->menuEnabled[mnuOnTop] && tray_.enabled[OnTop], possible);
    EXPECT_EQ(face_->menuToolTips[mnuOnTop], possible ? "" : "Wayland lets no program keep its window above the others");
    window_->menuChosen(mnuOnTop);
    EXPECT_EQ(conf(), possible ? "on-top=off\n" : "on-top=on\n");
  }
}

TEST_F(MainClockTest, TheWindowsOpenWhereTheyWereWhenTheProgramEnded) {
  // Two rows, the second with a screen gone and a place that cannot be read.
  for (const bool present : {true, false}) {
    storeConf(present ? "position=100,200\ncalculator-position=-5,0\n" : "position=2500,200\ncalculator-position=1;2\n");
    open();
    EXPECT_EQ(face_->placed.size(), present ? 2u : 0u);
    if (present) {
      EXPECT_EQ(face_->placed[Which::Calculator], (ui::Point{-5, 0}));
    }
  }
  // Kept at the end, whichever way it comes; a calculator that is gone keeps its place.
  face_->positions[Which::Clock] = {30, 40};
  window_->Form_Unload();
  EXPECT_EQ(conf(), "position=30,40\ncalculator-position=1;2\n");
  open();
  face_->positions[Which::Calculator] = {-50, 60};
  tray_.chosen(Quit);
  EXPECT_EQ(conf(), "position=30,40\ncalculator-position=-50,60\n");
}

TEST(PlaceAgain, OnlyOnAPresentScreen) {
  const ui::Rect screens[] = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
  // The title bar just reachable at the right and bottom edges, and then no more; a
  // screen that is gone; what cannot be read.
  const std::pair<std::string, bool> cases[] = {
      {"100,200", true},    {"-1000,500", true}, {"1871,1067", true}, {"1872,100", false}, {"100,1068", false},
      {"3000,100", false}, {"-1000,1030", false}, {"100", false},     {"1,2,3", false},    {"x,2", false}};
  for (const auto& [kept, stays] : cases) {
    const auto point = ui::readPoint(kept);
    EXPECT_EQ(ui::placeAgain(point, screens), stays ? point : std::nullopt) << kept;
  }
  EXPECT_EQ(ui::placeAgain(ui::Point{0, 0}, {}), std::nullopt);
  EXPECT_EQ(ui::pointText({-12, 34}), "-12,34");
}

}  // namespace
