#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/unicode.h"
#include "ui/face.h"
#include "ui/win32/window.h"
#include "ui/window_design.h"

namespace ui::win32 {

using runtime::utf8;
using runtime::wide;

// The child window id of a control: its place in the design from here.
inline constexpr int kFirstControlId = 1000;

// A Win32 window made from a window design: it makes the window, its menu and its
// controls, implements what every face does to them, and hands their events to the
// window's handlers through `Events`.
template <typename FaceBase>
class DesignedWindow : public Window, public FaceBase {
 public:
  void setCaption(std::string_view caption) override {
    SetWindowTextW(hwnd_, wide(caption).c_str());
    // Under wine the caption reaches the X server only when the thread next looks at
    // its queue: asking for the queue's state (a no-op on Windows) sends it before the
    // labels are written.
    GetQueueStatus(QS_ALLINPUT);
  }
  void setText(Control control, std::string_view text) override;
  std::string text(Control control) const override;
  void show(Control control, bool shown) override { ShowWindow(controls_[control], shown ? SW_SHOW : SW_HIDE); }
  // Its own state: a control of a window not shown yet still counts as shown.
  bool shown(Control control) const override { return GetWindowLongPtrW(controls_[control], GWL_STYLE) & WS_VISIBLE; }
  std::optional<Control> focused() const override { return controlOf(GetFocus()); }
  void focus(std::optional<Control> control) override;
  void showFailure(Control control, std::string_view why) override;
  void copyToClipboard(std::string_view text) override;

 protected:
  static constexpr int kFirstMenuId = 100;

  explicit DesignedWindow(const WindowDesign& design);
  ~DesignedWindow() override;

  LRESULT message(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool keyDown(const MSG& key) override;

  // The window's handlers, given once its controls are made; events before that go nowhere.
  void handEventsTo(Events& events) { events_ = &events; }

 private:
  using FontKey = std::tuple<Typeface, double, bool>;

  HWND make(Control control);
  // Places and sizes the controls and their fonts for the window's DPI.
  void layout();
  void command(Control control, int code);
  LRESULT colours(HDC dc, HWND child);
  void activated(bool active);
  void setTip(Control control, std::string_view tip);
  std::optional<Control> controlOf(HWND child) const;
  bool takesFocus(Control control) const;
  // The next control that takes the focus in the design's tab order, round the end.
  std::optional<Control> nextInTabOrder(std::optional<Control> from, bool backwards) const;
  std::uint32_t background() const { return backgroundOf(design_, system_); }
  void systemColoursChanged();
  HBRUSH brush(std::uint32_t rgb);

  void paintDisabled(Control control);

  // Clicks on a box, the paint of a disabled one and of a focused label.
  static LRESULT CALLBACK controlProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);

  const WindowDesign& design_;
  std::vector<HWND> controls_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HWND tips_ = nullptr;
  std::vector<bool> hasTip_;
  std::map<FontKey, HFONT> fonts_;
  std::map<std::uint32_t, HBRUSH> brushes_;
  SystemColours system_;                     // read again when the system's colours change
  std::map<Control, std::string> failures_;  // why a box's text could not be kept
  std::optional<Control> lastFocus_;         // while the window is not active
  Events* events_ = nullptr;
  bool settingText_ = false;
};

}  // namespace ui::win32
