#include "ui/main_clock.h"

#include <algorithm>
#include <cstdio>

#include "clock/epoch_clock.h"
#include "clock/moment_format.h"
#include "clock/star_date_reading.h"
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

constexpr MenuDesign kMenu[] = {
    {"mnuSetup", "&SetUp"},
    {"mnuAbout", "&About"},
    {"coMathCalc", "&Calculator"},
    {"mnuStamp", "&Time stamp"},
    {"mnuStampShown", "StarDate as shown", mnuStamp, MenuKind::Radio},
    {"mnuStampStarDate", "StarDate", mnuStamp, MenuKind::Radio},
    {"mnuStampSeconds", "Seconds", mnuStamp, MenuKind::Radio},
    {"mnuStampUtc", "UTC moment", mnuStamp, MenuKind::Radio},
    {"mnuStampIso", "ISO 8601", mnuStamp, MenuKind::Radio},
    {"mnuStampCustom", "Custom...", mnuStamp, MenuKind::Radio},
    {"mnuKeyNote", "", mnuStamp, MenuKind::Note, 0, true},
    {"mnuKeyTypes", "The key types the stamp", mnuStamp, MenuKind::Radio, 1},
    {"mnuKeyCopies", "The key copies the stamp", mnuStamp, MenuKind::Radio, 1},
    {"mnuKeyChoose", "Choose the key...", mnuStamp},
    {"mnuKeyOff", "Turn the key off", mnuStamp},
    {"mnuWindow", "&Window"},
    {"mnuOnTop", "Always on top", mnuWindow, MenuKind::Check},
    {"mnuLogin", "Start at login", mnuWindow, MenuKind::Check},
    {"mnuTray", "Icon in the notification area", mnuWindow, MenuKind::Check},
    {"mnuCloseToTray", "Closing keeps it in the notification area", mnuWindow, MenuKind::Check},
    {"mnuQuit", "&Quit\tCtrl+Q", mnuWindow, MenuKind::Command, 0, true},
};
static_assert(std::size(kMenu) == menuCount);

// The menu's formats in the stamp command's fields; none: the StarDate as the window shows it.
struct StampFormat {
  int entry;
  std::optional<std::string_view> format;
};
constexpr StampFormat kStampFormats[] = {{mnuStampShown, std::nullopt}, {mnuStampStarDate, "%C"},
                                         {mnuStampSeconds, "%s"},       {mnuStampUtc, "%u"},
                                         {mnuStampIso, "%i"}};

constexpr std::string_view kCopyKey = "copy", kHotkeyKey = "hotkey", kHotkeyDoesKey = "hotkey-does";
constexpr std::string_view kDefaultHotkey = "Super+Alt+T", kNoKey = "none";
constexpr std::string_view kFormatTitle = "Time stamp";
constexpr std::string_view kFormatPrompt = "Format of the time stamp (%S %C %s %u %l %i %%):";

constexpr WindowDesign kWindow{.name = "MainCLock",
                           .caption = "Selenial Ver 1.1.4",
                           .clientWidth = 6345,
                           .clientHeight = 2760,
                           .background = Colour::fixed(0x0000C0),
                           .font = {Typeface::Fixed, 15.75, false},
                           .controls = kControls,
                           .menu = kMenu};

void report(const std::string& what) { std::fprintf(stderr, "selenial: %s\n", what.c_str()); }

// What is wrong with a stamp's format, in the stardate command's words; an empty one
// would stamp nothing.
std::optional<std::string> formatProblem(std::string_view format) {
  return format.empty() ? std::optional<std::string>("is empty") : epochclock::formatError(format);
}

}  // namespace

const WindowDesign& mainClockDesign() { return kWindow; }

MainCLock::MainCLock(MainFace& face, Seams seams)
    : face_(face), seams_(std::move(seams)), offsets_(seams_.offsetFile) {
  if (seams_.globalKey) seams_.globalKey->pressed = [this] { hotkey_Pressed(); };
  if (seams_.tray) {
    seams_.tray->clicked = [this] { tray_Click(); };
    seams_.tray->chosen = [this](int entry) { trayMenu_Click(entry); };
  }
}

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
  // A stored number other than 0 has just been taken up, or refused, as an edit.
  followsZone_ = loaded.systemZone;
  if (followsZone_) TZdays_ = epochclock::offsetToDays(static_cast<double>(seams_.readClock().utcOffset));
  face_.setCaption("ini: " + runtime::signedNumberText(TZdays_));
  loadPreferences();
  loadTrayPreferences();
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
  // An offset that takes Tutc out of the calendar leaves the last good UTC texts in
  // place; the local time goes on.
  const auto sample = epochclock::sample(Tnow, TZdays_);
  std::optional<epochclock::MomentTexts> texts;
  shownSecond_ = Tnow;
  shownOffset_ = now.utcOffset;
  if (sample) {
    texts = epochclock::momentTexts(*sample);
    face_.setCaption(texts->starDate);
    shownStarsecs_ = sample->starsecs;
    shownOffsetSeconds_ = TZdays_ * runtime::kSecondsPerDay;
    refreshTray(texts->starDate, texts->utc, texts->local);
  }
  if (face_.minimized()) return;
  if (texts) {
    face_.setText(Label5_0, "  " + texts->starDate);
    face_.setText(Label5_1, "  " + texts->seconds);
    face_.setText(Label5_2, "  " + texts->utc);
  }
  const std::string local = texts ? texts->local : runtime::inDateRange(Tnow) ? runtime::momentText(Tnow) : "";
  if (!local.empty()) face_.setText(Label5_3, "  " + local);
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

void MainCLock::Label5_Click(int /*index*/) { face_.copyToClipboard(stamp(copyFormat_)); }

std::string MainCLock::stamp(const std::optional<std::string>& format) const {
  if (!format) return face_.text(Label5_0);
  // Before the first refresh there is no second to stamp, as the design's caption is empty.
  if (!shownStarsecs_) return {};
  return epochclock::formatLine(*format, epochclock::unixSecondsOf(*shownStarsecs_), shownOffsetSeconds_)
      .value_or(std::string{});
}

void MainCLock::loadPreferences() {
  settings::LoadedPreferences loaded = settings::loadPreferences(seams_.preferencesFile);
  for (const std::string& problem : loaded.problems) report(problem);
  preferences_ = std::move(loaded.preferences);
  const auto unreadable = [](std::string_view key, const std::string& value, std::string_view why) {
    report(std::string(settings::kPreferencesFile) + ": " + std::string(key) + "=" + value + ": " + std::string(why));
  };
  if (const auto copy = preferences_.get(kCopyKey)) {
    if (const auto wrong = formatProblem(*copy)) {
      unreadable(kCopyKey, *copy, *wrong);
    } else {
      copyFormat_ = *copy;
    }
  }
  if (const auto does = preferences_.get(kHotkeyDoesKey)) {
    if (*does == "type" || *does == "copy") {
      hotkeyTypes_ = *does == "type";
    } else {
      unreadable(kHotkeyDoesKey, *does, "neither type nor copy");
    }
  }
  std::optional<KeyChord> chord = readKeyChord(kDefaultHotkey);
  if (const auto key = preferences_.get(kHotkeyKey)) {
    if (*key == kNoKey) {
      chord.reset();
    } else if (const auto read = readKeyChord(*key)) {
      chord = read;
    } else {
      unreadable(kHotkeyKey, *key, "not a key such as Super+Alt+T, nor none");
    }
  }
  holdKey(chord, std::nullopt);
  face_.enableMenu(mnuKeyNote, false);
  showStampChoices();
}

void MainCLock::savePreferences() {
  const settings::SaveResult saved = settings::savePreferences(seams_.preferencesFile, preferences_);
  if (!saved.error.empty()) report("The preferences could not be saved: " + saved.error);
}

void MainCLock::showStampChoices() {
  bool preset = false;
  for (const StampFormat& choice : kStampFormats) {
    const bool checked = choice.format ? copyFormat_ == choice.format : !copyFormat_;
    face_.checkMenu(choice.entry, checked);
    preset = preset || checked;
  }
  face_.checkMenu(mnuStampCustom, !preset);
  face_.checkMenu(mnuKeyTypes, hotkeyTypes_);
  face_.checkMenu(mnuKeyCopies, !hotkeyTypes_);
}

bool MainCLock::holdKey(const std::optional<KeyChord>& chord, const std::optional<KeyChord>& kept) {
  GlobalKey* key = seams_.globalKey;
  const std::string_view superWord = key ? key->superWord() : "Super";
  if (key) key->release();
  const GlobalKey::Grab grab = !key ? GlobalKey::Grab::Unsupported
                               : chord ? key->grab(*chord)
                                       : GlobalKey::Grab::Held;
  std::string note;
  if (grab == GlobalKey::Grab::Unsupported) {
    note = std::string(key ? key->systemName() : "This desktop") + " lets no program take a key: see README";
  } else if (!chord) {
    note = "No system-wide key";
  } else if (grab == GlobalKey::Grab::Held) {
    note = keyChordText(*chord, superWord) + (hotkeyTypes_ ? " types the stamp" : " copies the stamp");
  } else {
    note = keyChordText(*chord, superWord) + ": taken by another program";
    report(note);
    // The key held before stays, and says so.
    if (kept && key->grab(*kept) == GlobalKey::Grab::Held) note += " (" + keyChordText(*kept, superWord) + " kept)";
  }
  face_.setMenuCaption(mnuKeyNote, note);
  if (grab == GlobalKey::Grab::Taken) return false;
  hotkey_ = chord;
  return true;
}

std::optional<std::string> MainCLock::askFormat(std::string text) {
  std::string prompt(kFormatPrompt);
  for (;;) {
    std::optional<std::string> answer = face_.askText(kFormatTitle, prompt, text);
    if (!answer) return std::nullopt;
    const std::optional<std::string> wrong = formatProblem(*answer);
    if (!wrong) return answer;
    // Refused with the command's own words, and asked again with the text as typed.
    prompt = "This format " + *wrong + ".\n" + std::string(kFormatPrompt);
    text = *answer;
  }
}

void MainCLock::mnuStampFormat_Click(int entry) {
  for (const StampFormat& choice : kStampFormats) {
    if (choice.entry != entry) continue;
    if (choice.format) {
      copyFormat_ = std::string(*choice.format);
      preferences_.set(kCopyKey, *copyFormat_);
    } else {
      copyFormat_.reset();
      preferences_.erase(kCopyKey);
    }
    savePreferences();
  }
  showStampChoices();
}

void MainCLock::mnuStampCustom_Click() {
  if (const auto format = askFormat(copyFormat_.value_or("%C"))) {
    copyFormat_ = *format;
    preferences_.set(kCopyKey, *format);
    savePreferences();
  }
  // A cancelled dialog leaves the choice as it was, whatever the menu checked.
  showStampChoices();
}

void MainCLock::Label5_ContextMenu(int /*index*/) {
  std::vector<int> entries;
  for (const StampFormat& choice : kStampFormats) entries.push_back(choice.entry);
  entries.push_back(mnuStampCustom);
  const std::optional<int> chosen = face_.popUpMenu(entries);
  if (!chosen) return;
  // One copy in that format: the chosen format stays.
  if (*chosen == mnuStampCustom) {
    if (const auto format = askFormat(copyFormat_.value_or("%C"))) face_.copyToClipboard(stamp(*format));
    return;
  }
  for (const StampFormat& choice : kStampFormats) {
    if (choice.entry == *chosen) {
      face_.copyToClipboard(stamp(choice.format ? std::optional<std::string>(*choice.format) : std::nullopt));
    }
  }
}

void MainCLock::mnuKeyDoes_Click(bool types) {
  hotkeyTypes_ = types;
  preferences_.set(kHotkeyDoesKey, types ? "type" : "copy");
  savePreferences();
  if (hotkey_) holdKey(hotkey_, std::nullopt);
  showStampChoices();
}

void MainCLock::mnuKeyChoose_Click() {
  const std::string_view superWord = seams_.globalKey ? seams_.globalKey->superWord() : "Super";
  const std::optional<KeyChord> chord = face_.askKeyChord(
      "Time stamp key", "Press the new key with its modifiers (" + keyChordText(*readKeyChord(kDefaultHotkey), superWord) +
                            ", say), or Esc to keep the key as it is.");
  if (!chord || chord == hotkey_) return;
  if (!holdKey(chord, hotkey_)) return;
  preferences_.set(kHotkeyKey, keyChordText(*chord));
  savePreferences();
}

void MainCLock::mnuKeyOff_Click() {
  holdKey(std::nullopt, std::nullopt);
  preferences_.set(kHotkeyKey, kNoKey);
  savePreferences();
}

void MainCLock::hotkey_Pressed() {
  const std::string text = stamp(copyFormat_);
  if (hotkeyTypes_ && seams_.typist) {
    seams_.typist->type(text);
  } else {
    face_.copyToClipboard(text);
  }
}

void MainCLock::DiffSec_Change(std::string_view typed) {
  // A one-line box keeps the first line of a paste, as Windows' own do, so that the box,
  // the offset in use and the file agree.
  const std::string_view text = typed.substr(0, typed.find_first_of("\r\n"));
  if (text.size() != typed.size()) face_.setText(DiffSec, text);
  const settings::OffsetSetting::Changed changed = offsets_.change(text);
  // The next refresh takes the zone's offset. Text that spells no number (the box
  // emptied while retyping), or a number the clock cannot show, keeps the last good offset.
  followsZone_ = changed.systemZone;
  std::string why;
  const auto fail = [&why](const std::string& reason) {
    report(reason);
    why += (why.empty() ? "" : "\n") + reason;
  };
  if (changed.seconds) {
    const double days = epochclock::offsetToDays(*changed.seconds);
    if (epochclock::sample(seams_.readClock().moment, days)) {
      TZdays_ = days;
    } else {
      fail("The offset " + runtime::plainNumberText(*changed.seconds) +
           " puts UTC outside the years 100 to 9999; the clock keeps the offset " +
           runtime::plainNumberText(TZdays_ * runtime::kSecondsPerDay));
    }
  }
  if (!changed.error.empty()) fail("The offset could not be saved: " + changed.error);
  face_.showFailure(DiffSec, why);
}

void MainCLock::coMathCalc_Click() { face_.showCalculator(); }

void MainCLock::Form_Unload() {
  // Only while the icon is there to bring the window back.
  if (closesToTray_ && trayShown_) {
    showWindow(false);
    return;
  }
  quit();
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
    case mnuStampCustom: return mnuStampCustom_Click();
    case mnuKeyTypes: return mnuKeyDoes_Click(true);
    case mnuKeyCopies: return mnuKeyDoes_Click(false);
    case mnuKeyChoose: return mnuKeyChoose_Click();
    case mnuKeyOff: return mnuKeyOff_Click();
    case mnuOnTop: return mnuOnTop_Click();
    case mnuLogin: return mnuLogin_Click();
    case mnuTray: return mnuTray_Click();
    case mnuCloseToTray: return mnuCloseToTray_Click();
    case mnuQuit: return quit();
    default: return mnuStampFormat_Click(entry);
  }
}

void MainCLock::contextMenu(Control control) {
  for (int i = 0; i < 4; ++i) {
    if (control == Label5[i]) return Label5_ContextMenu(i);
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
    case Key::Quit:
      quit();
      return true;
  }
  return false;
}

}  // namespace ui
