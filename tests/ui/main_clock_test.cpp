#include "ui/main_clock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "../support/moments.h"
#include "clock/epoch_clock.h"
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
    window_ = std::make_unique<ui::MainCLock>(*face_, seams);
    window_->Form_Load();
    return *window_;
  }
  std::filesystem::path file() const { return dir_ / "Selenial.ini"; }
  void store(const std::string& bytes) const { std::ofstream(file(), std::ios::binary) << bytes; }
  std::string stored() const {
    std::ifstream in(file(), std::ios::binary);
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

  std::filesystem::path dir_;
  uitest::FakeClock clock_;
  std::unique_ptr<uitest::FakeMainFace> face_;
  std::unique_ptr<ui::MainCLock> window_;
};

TEST_F(MainClockTest, LoadOpensOnTheAboutViewWithTheOffsetInTheCaption) {
  struct Case {
    std::optional<std::string> stored;
    std::string caption;
  };
  const Case cases[] = {{std::nullopt, "ini:  0"},
                        {"3600\r\n", "ini:  0.0416666666666667"},
                        {"-18000\r\n", "ini: -0.208333333333333"},
                        {"abc\r\n", "ini:  0"}};
  for (const Case& c : cases) {
    std::filesystem::remove(file());
    if (c.stored) store(*c.stored);
    open();
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(face_->caption, c.caption);
    expectView(View::About);
    EXPECT_EQ(face_->timer, std::chrono::milliseconds(1000));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(value(i), "") << i;
  }
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

TEST_F(MainClockTest, AFailingRefreshKeepsTheLastTextsAndRecovers) {
  open();
  setClock(2000, 3, 13, 1, 54, 10);
  tick();
  const std::string caption = face_->caption;
  const std::string utc = value(2);
  openSetup();
  type("1E300");
  EXPECT_EQ(stored(), "1E300\r\n");
  clock_.now += 1s;
  tick();
  EXPECT_EQ(face_->caption, caption);
  EXPECT_EQ(value(2), utc);
  EXPECT_TRUE(face_->timer);
  type("0");
  tick();
  EXPECT_EQ(value(2), "  2000.03.13+01.54.11");
  EXPECT_EQ(face_->caption, epochclock::starDateText(967070187 + 25200 + 1));
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

TEST_F(MainClockTest, OffsetFileAtStartUp) {
  struct Case {
    std::optional<std::string> stored;
    std::string box;
    double seconds;
    std::string after;
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
      {std::string("\x00\x9f\xff\r\n", 5), "0", 0, std::string("\x00\x9f\xff\r\n", 5)},
      {std::string(3'000'000, '9'), "0", 0, std::string(3'000'000, '9')},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(file());
    if (c.stored) store(*c.stored);
    open();
    const std::string label = c.stored ? c.stored->substr(0, 12) : "(no file)";
    EXPECT_EQ(window_->TZdays(), c.seconds / 86400.0) << label;
    EXPECT_EQ(stored(), c.after) << label;
    EXPECT_EQ(face_->text(DiffSec), c.box) << label;
    EXPECT_EQ(face_->failures[DiffSec], "") << label;
  }
}

TEST_F(MainClockTest, EveryEditIsStoredAsTyped) {
  open();
  openSetup();
  struct Case {
    std::string typed;
    double seconds;  // in use afterwards
  };
  const Case cases[] = {
      {"7200", 7200}, {"", 7200}, {"-", 7200}, {"-5", -5}, {"abc", -5}, {"3600.5", 3600.5}, {" 60 ", 60},
  };
  for (const Case& c : cases) {
    type(c.typed);
    EXPECT_EQ(stored(), c.typed + "\r\n") << c.typed;
    EXPECT_EQ(window_->TZdays(), c.seconds / 86400.0) << c.typed;
  }
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

}  // namespace
