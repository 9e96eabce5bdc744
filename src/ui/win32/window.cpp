#include "ui/win32/window.h"

#include <algorithm>

namespace ui::win32 {

namespace {

constexpr const wchar_t* kClassName = L"Selenial";

ATOM registered = 0;

// What the program's message loop waits for besides messages.
HANDLE loopTimer = nullptr;
const std::function<void()>* loopTick = nullptr;

// A menu or a move of a window runs a message loop of its own, which waits for messages
// only: while it runs, a thread timer looks at the loop's timer every 10 ms.
UINT_PTR modalWatch = 0;
int modalDepth = 0;

void CALLBACK lookAtTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (loopTimer && WaitForSingleObject(loopTimer, 0) == WAIT_OBJECT_0) (*loopTick)();
}

void enterModal(bool entering) {
  modalDepth = std::max(0, modalDepth + (entering ? 1 : -1));
  if (modalDepth > 0 && !modalWatch && loopTimer) modalWatch = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, lookAtTimer);
  if (modalDepth == 0 && modalWatch) {
    KillTimer(nullptr, modalWatch);
    modalWatch = 0;
  }
}

ATOM windowClass(WNDPROC procedure) {
  if (!registered) {
    const HINSTANCE program = GetModuleHandleW(nullptr);
    WNDCLASSEXW design{};
    design.cbSize = sizeof design;
    design.lpfnWndProc = procedure;
    design.hInstance = program;
    // The icon of the version record's resource file.
    design.hIcon = static_cast<HICON>(LoadImageW(program, L"IDI_ICON1", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    design.hIconSm = static_cast<HICON>(
        LoadImageW(program, L"IDI_ICON1", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    design.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    design.lpszClassName = kClassName;
    registered = RegisterClassExW(&design);
  }
  return registered;
}

Window* windowOf(HWND handle) {
  if (!handle || !registered || GetClassLongPtrW(handle, GCW_ATOM) != registered) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

}  // namespace

ModalLoop::ModalLoop() { enterModal(true); }
ModalLoop::~ModalLoop() { enterModal(false); }

int Window::run(HANDLE timer, const std::function<void()>& tick) {
  loopTimer = timer;
  loopTick = &tick;
  const DWORD handles = timer ? 1 : 0;
  for (;;) {
    // A timer that fired comes first, before the messages that wait.
    const DWORD woke = MsgWaitForMultipleObjectsEx(handles, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (handles && woke == WAIT_OBJECT_0) {
      tick();
      continue;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        loopTimer = nullptr;
        return static_cast<int>(message.wParam);
      }
      HWND root = GetAncestor(message.hwnd, GA_ROOT);
      Window* window = windowOf(root);
      if (window && (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && window->keyDown(message)) {
        continue;
      }
      // The dialog manager: Tab, the arrows and access keys, as in any dialog.
      if (window && IsDialogMessageW(root, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void Window::create(const wchar_t* caption, DWORD style, DWORD exStyle, int left, int top, SIZE size, HMENU menu) {
  CreateWindowExW(exStyle, MAKEINTATOM(windowClass(procedure)), caption, style, left, top, size.cx, size.cy, nullptr,
                  menu, GetModuleHandleW(nullptr), this);
}

void Window::destroy() {
  if (!hwnd_) return;
  HWND handle = hwnd_;
  SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  DestroyWindow(handle);
}

LRESULT Window::message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
      enterModal(true);
      break;
    case WM_EXITMENULOOP:
    case WM_EXITSIZEMOVE:
      enterModal(false);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (!self) return DefWindowProcW(handle, message, wParam, lParam);
  const LRESULT result = self->message(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace ui::win32
