// The clock at hand: the icon in the notification area with its menu, what closing the
// window does, the window above the others, and the start at login.
#include <cstdio>

#include "ui/main_clock.h"

namespace ui {

namespace {

using namespace mainclock;

constexpr std::string_view kTrayKey = "tray", kCloseKey = "close", kOnTopKey = "on-top", kWindowKey = "window";
struct PlaceKey {
  MainFace::Which window;
  std::string_view key;
};
constexpr PlaceKey kPlaceKeys[] = {{MainFace::Which::Clock, "position"},
                                   {MainFace::Which::Calculator, "calculator-position"}};
constexpr int kTrayLookEvery = 5;  // seconds
constexpr std::string_view kNoOnTop = "Wayland lets no program keep its window above the others";

void report(const std::string& what) { std::fprintf(stderr, "selenial: %s\n", what.c_str()); }

}  // namespace

void MainCLock::loadTrayPreferences() {
  // A value this version cannot read leaves the default, and the line as it is.
  const auto choice = [this](std::string_view key, std::string_view yes, std::string_view no, bool otherwise) {
    const auto value = preferences_.get(key);
    if (!value) return otherwise;
    if (*value == yes || *value == no) return *value == yes;
    report(std::string(settings::kPreferencesFile) + ": " + std::string(key) + "=" + *value + ": neither " +
           std::string(yes) + " nor " + std::string(no));
    return otherwise;
  };
  trayWanted_ = choice(kTrayKey, "on", "off", true);
  closesToTray_ = choice(kCloseKey, "tray", "quit", false);
  onTop_ = choice(kOnTopKey, "on", "off", false);
  if (!face_.canStayOnTop()) {
    face_.setMenuToolTip(mnuOnTop, kNoOnTop);
  } else if (onTop_) {
    face_.stayOnTop(true);
  }
  showTrayChoices();
  // Left hidden in the notification area, the clock comes back there; without the icon
  // to bring it back by, the window shows whatever the file says.
  windowHidden_ = trayShown_ && preferences_.get(kWindowKey) == "hidden";
  placeWindows();
}

void MainCLock::placeWindows() {
  const std::vector<Rect> screens = face_.screens();
  for (const PlaceKey& place : kPlaceKeys) {
    const auto kept = preferences_.get(place.key);
    if (!kept) continue;
    // A place on a screen no longer there, or that cannot be read, is the system's first placement.
    if (const auto at = placeAgain(readPoint(*kept), screens)) face_.place(place.window, *at);
  }
}

void MainCLock::keepPlaces() {
  // A shown window is the default, and needs no line.
  const bool hiddenKept = preferences_.get(kWindowKey) == "hidden";
  bool changed = hiddenKept != windowHidden_;
  if (windowHidden_) {
    preferences_.set(kWindowKey, "hidden");
  } else {
    preferences_.erase(kWindowKey);
  }
  for (const PlaceKey& place : kPlaceKeys) {
    const auto at = face_.position(place.window);
    if (!at || preferences_.get(place.key) == pointText(*at)) continue;
    preferences_.set(place.key, pointText(*at));
    changed = true;
  }
  if (changed) savePreferences();
}

void MainCLock::showTrayChoices() {
  Tray* tray = seams_.tray;
  const bool available = tray && tray->available();
  trayShown_ = available && trayWanted_;
  if (tray) tray->show(trayShown_);
  const bool onTop = onTop_ && face_.canStayOnTop();
  const bool atLogin = seams_.loginStart && seams_.loginStart->present();
  face_.checkMenu(mnuOnTop, onTop);
  face_.enableMenu(mnuOnTop, face_.canStayOnTop());
  face_.checkMenu(mnuLogin, atLogin);
  face_.enableMenu(mnuLogin, seams_.loginStart != nullptr);
  face_.checkMenu(mnuTray, trayShown_);
  face_.enableMenu(mnuTray, available);
  face_.setMenuToolTip(mnuTray, available ? "" : "This desktop shows no notification area");
  // Closing to the notification area is offered only while the icon is there to come back by.
  face_.checkMenu(mnuCloseToTray, closesToTray_ && trayShown_);
  face_.enableMenu(mnuCloseToTray, trayShown_);
  if (!trayShown_) return;
  tray->checkEntry(trayentry::OnTop, onTop);
  tray->enableEntry(trayentry::OnTop, face_.canStayOnTop());
  tray->checkEntry(trayentry::StartAtLogin, atLogin);
  tray->enableEntry(trayentry::StartAtLogin, seams_.loginStart != nullptr);
  tray->checkEntry(trayentry::Icon, true);
  showHideCaption_.clear();
  refreshTray({}, {}, {});
}

void MainCLock::refreshTray(const std::string& starDate, const std::string& utc, const std::string& local) {
  if (!trayShown_) {
    // Started at login, the clock may come before the desktop's panel: it looks again
    // for a notification area now and then in its first minute.
    if (trayWanted_ && !starDate.empty() && trayLooks_ > 0 && --trayLooks_ % kTrayLookEvery == 0 &&
        seams_.tray && seams_.tray->available()) {
      showTrayChoices();
    }
    return;
  }
  if (!starDate.empty()) seams_.tray->setToolTip("StarDate" + starDate + "\nUTC " + utc + "\nLocal " + local);
  // The entry does what a click on the icon would.
  const std::string caption = face_.inFront() ? "Hide clock" : "Show clock";
  if (caption == showHideCaption_) return;
  showHideCaption_ = caption;
  seams_.tray->setEntryCaption(trayentry::ShowHide, caption);
}

void MainCLock::showWindow(bool shown) {
  windowHidden_ = !shown;
  face_.showWindow(shown);
}

void MainCLock::tray_Click() {
  showWindow(!face_.inFront());
  refreshTray({}, {}, {});
}

void MainCLock::trayMenu_Click(int entry) {
  switch (entry) {
    case trayentry::Copy: return Label5_Click(0);
    case trayentry::ShowHide: return tray_Click();
    case trayentry::Calculator: return coMathCalc_Click();
    case trayentry::OnTop: return mnuOnTop_Click();
    case trayentry::StartAtLogin: return mnuLogin_Click();
    case trayentry::Icon: return mnuTray_Click();
    case trayentry::Quit: return quit();
    default: return;
  }
}

void MainCLock::mnuOnTop_Click() {
  if (!face_.canStayOnTop()) return;
  onTop_ = !onTop_;
  face_.stayOnTop(onTop_);
  preferences_.set(kOnTopKey, onTop_ ? "on" : "off");
  savePreferences();
  showTrayChoices();
}

void MainCLock::mnuLogin_Click() {
  if (!seams_.loginStart) return;
  const std::string why = seams_.loginStart->set(!seams_.loginStart->present());
  if (!why.empty()) report("The start at login could not be changed: " + why);
  showTrayChoices();
}

void MainCLock::mnuTray_Click() {
  trayWanted_ = !trayShown_;
  preferences_.set(kTrayKey, trayWanted_ ? "on" : "off");
  savePreferences();
  showTrayChoices();
  // A window hidden in the notification area must not be lost with the icon.
  if (!trayShown_) showWindow(true);
}

void MainCLock::mnuCloseToTray_Click() {
  if (!trayShown_) return;
  closesToTray_ = !closesToTray_;
  preferences_.set(kCloseKey, closesToTray_ ? "tray" : "quit");
  savePreferences();
  showTrayChoices();
}

void MainCLock::quit() {
  keepPlaces();
  face_.stopTimer();
  if (seams_.tray) seams_.tray->show(false);
  face_.endProgram();
}

}  // namespace ui
