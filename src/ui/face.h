#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/global_key.h"
#include "ui/tray.h"

// What a window of the design needs from a toolkit, in the design's words. A face makes
// the controls from the window's design table, implements these, and hands the
// toolkit's events to the window's handlers; it decides nothing of its own.
namespace ui {

// A control of a window: its place in the window's design table.
using Control = int;

// Keys the design gives a meaning, whatever the platform calls them.
enum class Key { Enter, Escape, Copy, Quit };

// The events a face hands a window's handlers.
class Events {
 public:
  virtual void clicked(Control control) = 0;
  // The user changed a box's text.
  virtual void edited(Control control, std::string_view text) = 0;
  // A key the focused control may leave alone; true when it meant something here.
  virtual bool keyPressed(Key key) = 0;
  // The user asked for a control's context menu (a right-click, the menu key).
  virtual void contextMenu(Control /*control*/) {}
  // An entry of the window's menu, by its place in the design's menu.
  virtual void menuChosen(int /*entry*/) {}

 protected:
  ~Events() = default;
};

class Face {
 public:
  virtual void setCaption(std::string_view caption) = 0;
  // Sets a caption or a box's text without running the box's change handler.
  virtual void setText(Control control, std::string_view text) = 0;
  virtual std::string text(Control control) const = 0;
  virtual void show(Control control, bool shown) = 0;
  virtual bool shown(Control control) const = 0;
  // The control with the keyboard focus; none when the window itself has it.
  virtual std::optional<Control> focused() const = 0;
  // Gives the focus to a control (a text box's whole text selected), or to the window.
  virtual void focus(std::optional<Control> control) = 0;
  // Shows at a glance that the box's text could not be kept, and why; empty: it could.
  virtual void showFailure(Control control, std::string_view why) = 0;
  // Empties the clipboard, then puts the text on it.
  virtual void copyToClipboard(std::string_view text) = 0;

 protected:
  ~Face() = default;
};

class MainFace : public Face {
 public:
  virtual void enableMenu(int entry, bool enabled) = 0;
  virtual void checkMenu(int entry, bool checked) = 0;
  virtual void setMenuCaption(int entry, std::string_view caption) = 0;
  // Shows these menu entries at the pointer and waits: the one chosen, none when dismissed.
  virtual std::optional<int> popUpMenu(const std::vector<int>& entries) = 0;
  // Asks for a line of text in a small dialog and waits: none when cancelled.
  virtual std::optional<std::string> askText(std::string_view title, std::string_view prompt,
                                             std::string_view text) = 0;
  // Asks the user to press a key chord and waits: none when cancelled.
  virtual std::optional<KeyChord> askKeyChord(std::string_view title, std::string_view prompt) = 0;
  virtual bool minimized() const = 0;
  // One tick of the window's timer after `interval`; a timer armed again replaces it.
  virtual void armTimer(std::chrono::milliseconds interval) = 0;
  virtual void stopTimer() = 0;
  // Makes the calculator when there is none, shows it without owner, brings it back
  // from any state and to the front.
  virtual void showCalculator() = 0;
  // Ends the program with every window.
  virtual void endProgram() = 0;

  // The window as the notification area's icon shows and hides it; shown, it is
  // restored, raised and given the focus.
  virtual void showWindow(bool shown) = 0;
  // Shown, not minimized, and covered by no other window.
  virtual bool inFront() const = 0;
  // Keeping the window above the others; false where the system lets no program do that.
  virtual bool canStayOnTop() const = 0;
  virtual void stayOnTop(bool on) = 0;
  virtual void setMenuToolTip(int entry, std::string_view tip) = 0;
  // Where the windows stand on the desktop (the top left corner of the frame, or of the
  // client area, as the face likes, the same both ways): the clock's, and the
  // calculator's while it exists; none where the system does not say (Wayland).
  enum class Which { Clock, Calculator };
  virtual std::optional<Point> position(Which window) const = 0;
  // Where the window opens: the clock before it is first shown, the calculator whenever
  // it is made.
  virtual void place(Which window, Point at) = 0;
  // The screens present, as far as windows may go on them.
  virtual std::vector<Rect> screens() const = 0;

 protected:
  ~MainFace() = default;
};

class CalculatorFace : public Face {
 public:
  // Hides the window and keeps it as it is.
  virtual void hide() = 0;
  // Closes the window for good; the next opening makes it afresh from its design.
  virtual void discard() = 0;

 protected:
  ~CalculatorFace() = default;
};

}  // namespace ui
