#include "ui/main_clock.h"

#include <algorithm>
#include <cstdio>

#include "clock/epoch_clock.h"
#include "clock/tick.h"
#include "ui/texts.h"

namespace ui {

namespace {

using namespace mainclock;

constexpr std::string_view kOffsetHint = "This value is decimal-based.";
constexpr std::string_view kZoneTitle = "Enter the difference in seconds between your local time and UTC (GMT date-time):";

constexpr Font kDialog{Typeface::SansSerif, 8.25, false};
constexpr Font kValue{Typeface::Fixed, 14.25, true};

constexpr ControlDesign title(std::string_view name, Twips at, std::string_view caption, bool shown) {
  ControlDesign design{.name = name, .kind = Kind::Label, .at = at, .caption = caption, .font = kDialog};
  design.shown = shown;
  return design;
}

constexpr ControlDesign value(std::string_view name, Twips at, std::uint32_t text, std::uint32_t background,
                              bool shown, std::string_view titleBeside, int tabIndex, std::string_view toolTip = {}) {
  return {.name = name, .kind = Kind::Label, .at = at, .font = kValue, .text = Colour::fixed(text),
          .background = Colour::fixed(background), .align = Align::Right, .shown = shown, .toolTip = toolTip,
          .tabIndex = tabIndex, .clickable = true, .accessibleDescription = titleBeside};
}

constexpr std::string_view kTitles[] = {"The current moment (posi-4 seconds)",
                                        "The current moment in seconds (decimal format)",
                                        "The current moment in GMT (UTC)   [ANSI Format]",
                                        "Your time zone  (ANSI format)"};

constexpr ControlDesign kControls[] = {
    {.name = "setdone", .kind = Kind::Button, .at = {3840, 2040, 1095, 255}, .caption = "Lock Setup",
     .font = kDialog, .align = Align::Centre, .shown = false, .tabIndex = 2},
    {.name = "cmdOK", .kind = Kind::Button, .at = {3960, 360, 1260, 345}, .caption = "OK", .font = kDialog,
     .align = Align::Centre, .tabIndex = 1, .defaultButton = true},
    {.name = "DiffSec", .kind = Kind::TextBox, .at = {3840, 1560, 2415, 405}, .caption = "0", .font = kValue,
     .text = Colour::of(SystemColour::ActiveTitle), .background = Colour::of(SystemColour::BoxBackground),
     .align = Align::Right, .shown = false, .toolTip = kOffsetHint, .tabIndex = 0, .accessibleName = kZoneTitle,
     .accessibleDescription = kOffsetHint},
    title("Label1_3", {120, 2400, 2175, 255}, kTitles[3], true),
    value("Label5_3", {2400, 2400, 3855, 255}, 0x0000FF, 0xBBCC00, false, kTitles[3], 6),
    title("Label1_2", {120, 1080, 2535, 375}, kTitles[2], true),
    value("Label5_2", {2400, 1080, 3855, 255}, 0x000000, 0x804000, false, kTitles[2], 5,
          "You can manipulate this value to see the StarDate for historical moments.  "
          "Set it to 1969.07.20+20:17:43 and you will see StarDate 0000.0000"),
    title("Label1_1", {120, 600, 2775, 375}, kTitles[1], false),
    value("Label5_1", {3000, 600, 3255, 255}, 0x804000, 0x004040, false, kTitles[1], 4),
    title("Label1_0", {120, 120, 2775, 375}, kTitles[0], false),
    {.name = "TZdiffLbl", .kind = Kind::Label, .at = {120, 1560, 2655, 735}, .caption = kZoneTitle,
     .font = {Typeface::Arial, 9, false}, .shown = false},
    value("Label5_0", {3000, 120, 3255, 255}, 0xFFFF00, 0x000040, true, kTitles[0], 3,
          "click here to capture current moment for time-stamp"),
    title("lblVersion", {1080, 0, 2925, 255}, "Ver 1.1.4  ( + 39A4.51EB)", true),
    {.name = "lblTitle", .kind = Kind::Label, .at = {0, 0, 1005, 240}, .caption = "Selenial",
     .font = {Typeface::SansSerif, 9.75, true}, .text = Colour::fixed(0x000000)},
    title("AuthorLbl", {0, 360, 3615, 255}, texts::kAuthor, true),
    {.name = "lblDescription", .kind = Kind::Label, .at = {0, 720, 3885, 1050}, .caption = texts::kDescription,
     .font = kDialog, .text = Colour::fixed(0x000000)},
    {.name = "lblDisclaimer", .kind = Kind::Label, .at = {0, 1920, 3870, 825}, .caption = texts::kDisclaimer,
     .font = kDialog, .text = Colour::fixed(0x000000)},
};
static_assert(std::size(kControls) == controlCount);

constexpr MenuDesign kMenu[] = {{"mnuSetup", "&SetUp"}, {"mnuAbout", "&About"}, {"coMathCalc", "&Calculator"}};

constexpr WindowDesign kWindow{.name = "MainCLock",
                           .caption = "Selenial Ver 1.1.4",
                           .clientWidth = 6345,
                           .clientHeight = 2760,
                           .background = Colour::fixed(0x0000C0),
                           .font = {Typeface::Fixed, 15.75, false},
                           .controls = kControls,
                           .menu = kMenu};

void report(const std::string& what) { std::fprintf(stderr, "selenial: %s\n", what.c_str()); }

}  // namespace

const WindowDesign& mainClockDesign() { return kWindow; }

MainCLock::MainCLock(MainFace& face, Seams seams)
    : face_(face), seams_(std::move(seams)), offsets_(seams_.offsetFile) {}

void MainCLock::Form_Load() {
  const settings::OffsetSetting::Loaded loaded = offsets_.load();
  // Shown as a failed save is: the file that could not be read is left alone.
  if (!loaded.error.empty()) {
    const std::string why = "The stored offset could not be read: " + loaded.error;
    report(why);
    face_.showFailure(DiffSec, why);
  }
  // The box starts as "0"; a stored text that differs counts as an edit of it and is
  // saved back in its own spelling, as typing it would.
  if (loaded.boxText != "0") {
    face_.setText(DiffSec, loaded.boxText);
    DiffSec_Change(loaded.boxText);
  }
  followsZone_ = loaded.systemZone;
  TZdays_ = epochclock::offsetToDays(followsZone_ ? static_cast<double>(seams_.readClock().utcOffset)
                                                  : loaded.seconds);
  face_.setCaption("ini: " + runtime::signedNumberText(TZdays_));
  mnuAbout_Click();
  face_.armTimer(std::chrono::milliseconds(1000));
}

void MainCLock::startimer_Timer() {
  using namespace std::chrono;
  face_.stopTimer();
  // Once a tick, before its readings: a zone the system changed shows at once.
  seams_.refreshZone();
  runtime::ClockReading now = seams_.readClock();
  const auto wait = [&now] { return epochclock::waitForNextSecond(now.intoSecond); };
  // A tick that lands early finds the second already shown still on the clock: a
  // short rest is waited out here, a longer one is left to the timer. Either way
  // that second is not shown again.
  if (showsSecondOf(now) && wait() <= epochclock::kWaitInPlace) {
    seams_.wait(wait());
    now = seams_.readClock();
  }
  if (showsSecondOf(now)) {
    face_.armTimer(ceil<milliseconds>(wait()));
    return;
  }
  Display();
  now = seams_.readClock();
  face_.armTimer(std::max(floor<milliseconds>(wait()), milliseconds(1)));
}

bool MainCLock::showsSecondOf(const runtime::ClockReading& reading) const {
  return reading.moment == shownSecond_ && reading.utcOffset == shownOffset_;
}

void MainCLock::Display() {
  const runtime::ClockReading now = seams_.readClock();
  const runtime::DateTimeSerial Tnow = now.moment;
  if (followsZone_) TZdays_ = epochclock::offsetToDays(static_cast<double>(now.utcOffset));
  // An offset that takes Tutc out of the calendar leaves the last good texts in place.
  const auto sample = epochclock::sample(Tnow, TZdays_);
  if (!sample) return;
  const std::string starDate = epochclock::starDateText(sample->starsecs);
  face_.setCaption(starDate);
  shownSecond_ = Tnow;
  shownOffset_ = now.utcOffset;
  if (face_.minimized()) return;
  face_.setText(Label5_0, "  " + starDate);
  face_.setText(Label5_1, "  " + runtime::plainNumberText(static_cast<double>(sample->starsecs)));
  face_.setText(Label5_2, "  " + runtime::momentText(sample->Tutc));
  face_.setText(Label5_3, "  " + runtime::momentText(sample->Tnow));
}

void MainCLock::setShown(Control control, bool shown) {
  face_.show(control, shown);
  if (shown) return;
  // The focus must not stay on a hidden control: it goes on to the next shown one in
  // tab order, or to the window.
  const std::optional<Control> focus = face_.focused();
  if (!focus || face_.shown(*focus)) return;
  face_.focus(nextInTabOrder(mainClockDesign(), focus, false, [this](Control c) { return face_.shown(c); }));
}

void MainCLock::ShowSetup(bool show) {
  for (const Control c : {setdone, TZdiffLbl, DiffSec}) setShown(c, show);
}

void MainCLock::ShowClock(bool show) {
  for (const Control c : {lblTitle, lblVersion, AuthorLbl, lblDescription, cmdOK, lblDisclaimer}) setShown(c, !show);
  for (int i = 0; i < 4; ++i) {
    setShown(Label1[i], show);
    setShown(Label5[i], show);
  }
}

void MainCLock::mnuSetup_Click() {
  ShowSetup(true);
  face_.enableMenu(mnuAbout, false);
  face_.focus(DiffSec);
}

void MainCLock::setdone_Click() {
  ShowSetup(false);
  face_.enableMenu(mnuAbout, true);
}

void MainCLock::mnuAbout_Click() {
  ShowClock(false);
  face_.enableMenu(mnuSetup, false);
}

void MainCLock::cmdOK_Click() {
  ShowClock(true);
  face_.enableMenu(mnuSetup, true);
}

void MainCLock::Label5_Click(int /*index*/) { face_.copyToClipboard(face_.text(Label5_0)); }

void MainCLock::DiffSec_Change(std::string_view text) {
  const settings::OffsetSetting::Changed changed = offsets_.change(text);
  // The next refresh takes the zone's offset. Text that spells no number (the box
  // emptied while retyping) keeps the last good offset.
  followsZone_ = changed.systemZone;
  if (changed.seconds) TZdays_ = epochclock::offsetToDays(*changed.seconds);
  std::string why;
  if (!changed.saved.ok) {
    why = "The offset could not be saved: " + changed.saved.error;
    report(why);
  }
  face_.showFailure(DiffSec, why);
}

void MainCLock::coMathCalc_Click() { face_.showCalculator(); }

void MainCLock::Form_Unload() {
  face_.stopTimer();
  face_.endProgram();
}

void MainCLock::clicked(Control control) {
  switch (control) {
    case cmdOK: return cmdOK_Click();
    case setdone: return setdone_Click();
    default:
      for (int i = 0; i < 4; ++i) {
        if (control == Label5[i]) return Label5_Click(i);
      }
  }
}

void MainCLock::menuChosen(int entry) {
  switch (entry) {
    case mnuSetup: return mnuSetup_Click();
    case mnuAbout: return mnuAbout_Click();
    case coMathCalc: return coMathCalc_Click();
    default: return;
  }
}

void MainCLock::edited(Control control, std::string_view text) {
  if (control == DiffSec) DiffSec_Change(text);
}

bool MainCLock::keyPressed(Key key) {
  switch (key) {
    case Key::Enter:
    case Key::Escape:
      // "OK" is the default and the cancel button while it is shown.
      if (!face_.shown(cmdOK)) return false;
      cmdOK_Click();
      return true;
    case Key::Copy:
      // The copy keys take the time stamp, as a click on a value does; a text box with
      // the focus copies its own selection.
      if (const auto focus = face_.focused(); focus && kControls[*focus].kind == Kind::TextBox) return false;
      Label5_Click(0);
      return true;
  }
  return false;
}

}  // namespace ui
