#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "ui/face.h"
#include "ui/tray.h"
#include "ui/window_design.h"

namespace uitest {

// A face that records what the handlers do to it, and starts as the design draws the window.
template <typename Base>
class RecordingFace : public Base {
 public:
  explicit RecordingFace(const ui::WindowDesign& design) : design_(design), caption(design.caption) {
    for (ui::Control c = 0; c < static_cast<ui::Control>(design.controls.size()); ++c) {
      texts[c] = std::string(design.controls[c].caption);
      if (design.controls[c].shown) shownControls.insert(c);
    }
  }

  void setCaption(std::string_view text) override {
    caption = text;
    log("caption " + caption);
  }
  void setText(ui::Control c, std::string_view text) override {
    texts[c] = text;
    log("text " + name(c) + " " + std::string(text));
  }
  std::string text(ui::Control c) const override { return texts.at(c); }
  void show(ui::Control c, bool shown) override {
    if (shown) {
      shownControls.insert(c);
    } else {
      shownControls.erase(c);
    }
    log((shown ? "show " : "hide ") + name(c));
  }
  bool shown(ui::Control c) const override { return shownControls.count(c) > 0; }
  std::optional<ui::Control> focused() const override { return focus_; }
  void focus(std::optional<ui::Control> c) override {
    focus_ = c;
    log("focus " + (c ? name(*c) : std::string("window")));
  }
  void showFailure(ui::Control c, std::string_view why) override {
    failures[c] = why;
    if (!why.empty()) log("failure " + name(c));
  }
  void copyToClipboard(std::string_view text) override {
    clipboard = text;
    log("clipboard " + clipboard);
  }

  std::string name(ui::Control c) const { return std::string(design_.controls[c].name); }
  void log(std::string entry) { calls.push_back(std::move(entry)); }

  const ui::WindowDesign& design_;
  std::string caption;
  std::map<ui::Control, std::string> texts;
  std::set<ui::Control> shownControls;
  std::optional<ui::Control> focus_;
  std::map<ui::Control, std::string> failures;
  std::string clipboard = "(empty)";
  std::vector<std::string> calls;
};

class FakeMainFace : public RecordingFace<ui::MainFace> {
 public:
  explicit FakeMainFace(const ui::WindowDesign& design)
      : RecordingFace(design), menuEnabled(design.menu.size(), true), menuChecked(design.menu.size(), false),
        menuCaptions(design.menu.size()) {}
  void enableMenu(int entry, bool enabled) override { menuEnabled[entry] = enabled; }
  void checkMenu(int entry, bool checked) override { menuChecked[entry] = checked; }
  void setMenuCaption(int entry, std::string_view caption) override { menuCaptions[entry] = caption; }
  std::optional<int> popUpMenu(const std::vector<int>& /*entries*/) override { return popUpChoice; }
  // Answers the dialogs from a queue: one answer each, none when it runs dry (cancelled).
  std::optional<std::string> askText(std::string_view, std::string_view prompt, std::string_view text) override {
    prompts.push_back(std::string(prompt) + " [" + std::string(text) + "]");
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::optional<ui::KeyChord> askKeyChord(std::string_view, std::string_view) override { return keyAnswer; }
  bool minimized() const override { return isMinimized; }
  void armTimer(std::chrono::milliseconds interval) override { timer = interval; }
  void stopTimer() override { timer.reset(); }
  void showCalculator() override { ++calculatorShown; }
  void endProgram() override { ++ended; }
  void showWindow(bool shown) override {
    windowShown = shown;
    if (shown) isMinimized = covered = false;
    log(shown ? "show window" : "hide window");
  }
  bool inFront() const override { return windowShown && !isMinimized && !covered; }
  bool canStayOnTop() const override { return onTopPossible; }
  void stayOnTop(bool on) override { onTop = on; }
  void setMenuToolTip(int entry, std::string_view tip) override { menuToolTips[entry] = tip; }
  std::optional<ui::Point> position(Which window) const override {
    const auto at = positions.find(window);
    return at == positions.end() ? std::nullopt : std::optional<ui::Point>(at->second);
  }
  void place(Which window, ui::Point at) override { placed[window] = at; }
  std::vector<ui::Rect> screens() const override { return screenRects; }

  std::vector<bool> menuEnabled, menuChecked;
  std::vector<std::string> menuCaptions;  // those the handlers set
  std::optional<int> popUpChoice;
  std::vector<std::string> answers, prompts;
  std::optional<ui::KeyChord> keyAnswer;
  bool isMinimized = false;
  std::optional<std::chrono::milliseconds> timer;
  int calculatorShown = 0;
  int ended = 0;
  bool windowShown = true, covered = false, onTopPossible = true, onTop = false;
  std::map<int, std::string> menuToolTips;
  std::map<Which, ui::Point> positions, placed;
  std::vector<ui::Rect> screenRects{{0, 0, 1920, 1080}};
};

// An icon in a notification area that may be missing, with its menu's state.
class FakeTray : public ui::Tray {
 public:
  bool available() const override { return present; }
  void show(bool shown) override { this->shown = shown; }
  void setToolTip(std::string_view text) override { toolTip = text; }
  void setEntryCaption(int entry, std::string_view caption) override { captions[entry] = caption; }
  void checkEntry(int entry, bool checked) override { this->checked[entry] = checked; }
  void enableEntry(int entry, bool enabled) override { this->enabled[entry] = enabled; }

  bool present = true, shown = false;
  std::string toolTip = "(none)";
  std::map<int, std::string> captions;
  std::map<int, bool> checked, enabled;
};

// The system's start-up entry: there or not, and a system that may refuse a change.
class FakeLoginStart : public ui::LoginStart {
 public:
  bool present() const override { return there; }
  std::string set(bool present) override {
    if (refuses) return "refused";
    there = present;
    return {};
  }
  bool there = false, refuses = false;
};

class FakeCalculatorFace : public RecordingFace<ui::CalculatorFace> {
 public:
  using RecordingFace::RecordingFace;
  void hide() override { state = "hidden"; }
  void discard() override { state = "discarded"; }
  std::string state = "shown";
};

}  // namespace uitest
