#pragma once

#include <windows.h>

#include <functional>

namespace ui::win32 {

// While a modal loop of the program's own runs (a dialog box), the clock's timer is
// looked at as it is while a menu is open, so the clock keeps ticking.
class ModalLoop {
 public:
  ModalLoop();
  ~ModalLoop();
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;
};

// A top-level window whose messages reach this object.
class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The window; null once it is destroyed.
  HWND handle() const { return hwnd_; }

  // Runs the program's message loop until the program ends; returns its exit code.
  // While it waits for messages it also waits for `timer` and runs `tick` when that fires.
  static int run(HANDLE timer = nullptr, const std::function<void()>& tick = {});

 protected:
  Window() = default;
  virtual ~Window() { destroy(); }

  // `left` and `top` may be CW_USEDEFAULT: where the system puts a new window.
  void create(const wchar_t* caption, DWORD style, DWORD exStyle, int left, int top, SIZE size, HMENU menu);
  // Destroys the window without handing its last messages to this object, which may be
  // half torn down.
  void destroy();

  virtual LRESULT message(UINT message, WPARAM wParam, LPARAM lParam);
  // A key pressed in this window or one of its controls, before the control sees it;
  // true when it was used.
  virtual bool keyDown(const MSG& key) = 0;

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace ui::win32
