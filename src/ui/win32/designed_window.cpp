#include "ui/win32/designed_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstring>

#include "ui/win32/accessible.h"
#include "ui/win32/menu.h"
#include "ui/win32/screen.h"

namespace ui::win32 {

namespace {

DWORD frameStyle(const WindowDesign& design) {
  return WS_CLIPCHILDREN | (design.sizable ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
}

DWORD frameExStyle(const WindowDesign& design) {
  return (design.inTaskBar ? 0 : WS_EX_TOOLWINDOW) | (design.sizable ? 0 : WS_EX_DLGMODALFRAME);
}

DWORD alignment(Kind kind, Align align) {
  const bool box = kind == Kind::TextBox;
  switch (align) {
    case Align::Left:
      return box ? ES_LEFT : SS_LEFT;
    case Align::Centre:
      return box ? ES_CENTER : SS_CENTER;
    case Align::Right:
      return box ? ES_RIGHT : SS_RIGHT;
  }
  return 0;
}

// Another program may hold the clipboard open for a moment: try a few times.
bool openClipboard(HWND owner) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

// The room a static control's text takes at this width, as the control breaks it.
SIZE textSize(HWND label, HFONT font, int width) {
  const int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), length + 1)));
  if (text.empty()) text = L"0";
  HDC dc = GetDC(label);
  const HGDIOBJ old = SelectObject(dc, font);
  RECT area{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return {area.right, area.bottom};
}

}  // namespace

template <typename FaceBase>
DesignedWindow<FaceBase>::DesignedWindow(const WindowDesign& design)
    : design_(design),
      controls_(design.controls.size(), nullptr),
      hasTip_(design.controls.size(), false),
      system_(systemColours()) {
  HMENU menu = makeMenu(design, kFirstMenuId);
  // Placed in screen twips at the main screen's DPI; sized again below at the DPI of the
  // monitor the window lands on.
  const UINT screenDpi = dpiOf(nullptr);
  const int left = design.placement ? pixels(design.placement->left, static_cast<int>(screenDpi)) : CW_USEDEFAULT;
  const int top = design.placement ? pixels(design.placement->top, static_cast<int>(screenDpi)) : CW_USEDEFAULT;
  create(wide(design.caption).c_str(), frameStyle(design), frameExStyle(design), left, top, SIZE{0, 0}, menu);
  dpi_ = dpiOf(hwnd_);
  const RECT client{0, 0, pixels(design.clientWidth, static_cast<int>(dpi_)),
                    pixels(design.clientHeight, static_cast<int>(dpi_))};
  const RECT frame = frameAround(client, frameStyle(design), frameExStyle(design), menu != nullptr, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  tips_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (Control c = 0; c < static_cast<Control>(controls_.size()); ++c) controls_[c] = make(c);
  // Front to back, each below the one before it: the dialog manager tabs in this order.
  HWND above = HWND_TOP;
  for (const Control c : stackingOrder(design)) {
    SetWindowPos(controls_[c], above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = controls_[c];
  }
  layout();
  // The focus shows from the start, not only once the keyboard is used.
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  for (Control c = 0; c < static_cast<Control>(controls_.size()); ++c) setTip(c, design.controls[c].toolTip);
}

template <typename FaceBase>
DesignedWindow<FaceBase>::~DesignedWindow() {
  // The controls go before the fonts and brushes they paint with.
  destroy();
  for (const auto& [key, font] : fonts_) DeleteObject(font);
  for (const auto& [rgb, brush] : brushes_) DeleteObject(brush);
}

template <typename FaceBase>
HWND DesignedWindow<FaceBase>::make(Control control) {
  const ControlDesign& design = design_.controls[control];
  // Each control a group of its own: the arrows never take the focus to a plain label.
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_GROUP | alignment(design.kind, design.align);
  if (design.shown) style |= WS_VISIBLE;
  if (!design.enabled) style |= WS_DISABLED;
  if (design.tabIndex >= 0) style |= WS_TABSTOP;
  DWORD exStyle = 0;
  const wchar_t* kind = L"STATIC";
  switch (design.kind) {
    case Kind::Label:
      // Clicks reach a label, and the mouse stops at the top-most one, as stacked.
      style |= SS_NOTIFY | SS_NOPREFIX;
      break;
    case Kind::TextBox:
      kind = L"EDIT";
      exStyle = WS_EX_CLIENTEDGE;
      style |= ES_AUTOHSCROLL | (design.readOnly ? ES_READONLY : 0);
      break;
    case Kind::Button:
      kind = L"BUTTON";
      style |= design.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
  }
  HWND child = CreateWindowExW(exStyle, kind, wide(design.caption).c_str(), style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + control)),
                               GetModuleHandleW(nullptr), nullptr);
  if (design.kind == Kind::TextBox && design.maxLength > 0) SendMessageW(child, EM_LIMITTEXT, design.maxLength, 0);
  SetWindowSubclass(child, controlProcedure, static_cast<UINT_PTR>(control), reinterpret_cast<DWORD_PTR>(this));
  return child;
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::layout() {
  const int dpi = static_cast<int>(dpi_);
  std::map<FontKey, HFONT> fonts;
  for (Control c = 0; c < static_cast<Control>(controls_.size()); ++c) {
    const ControlDesign& design = design_.controls[c];
    // Edges rather than sizes, so that controls that end together still do at any DPI.
    const int left = pixels(design.at.left, dpi), top = pixels(design.at.top, dpi);
    MoveWindow(controls_[c], left, top, pixels(design.at.left + design.at.width, dpi) - left,
               pixels(design.at.top + design.at.height, dpi) - top, TRUE);
    HFONT& font = fonts[{design.font.face, design.font.points, design.font.bold}];
    if (!font) font = makeFont(design.font, dpi_);
    SendMessageW(controls_[c], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // Where the system's font needs more room than the design's box, the box grows down,
    // and sideways round its text's anchor for a word wider than the box: no text is cut.
    // A value's box is measured for one line.
    if (design.kind == Kind::Label) {
      RECT box;
      GetClientRect(controls_[c], &box);
      const SIZE needed = textSize(controls_[c], font, box.right);
      const int wider = std::max(0L, needed.cx - box.right);
      const int shift = design.align == Align::Right ? wider : design.align == Align::Centre ? wider / 2 : 0;
      if (wider > 0 || needed.cy > box.bottom) {
        MoveWindow(controls_[c], left - shift, top, box.right + wider, std::max(needed.cy, box.bottom), TRUE);
      }
    }
  }
  fonts_.swap(fonts);
  for (const auto& [key, font] : fonts) DeleteObject(font);
  // Long tips wrap at about a third of the clock's width.
  SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, pixels(6000, dpi));
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::setText(Control control, std::string_view text) {
  settingText_ = true;
  SetWindowTextW(controls_[control], wide(text).c_str());
  settingText_ = false;
}

template <typename FaceBase>
std::string DesignedWindow<FaceBase>::text(Control control) const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(controls_[control])) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(controls_[control], text.data(), static_cast<int>(text.size()))));
  return utf8(text);
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::focus(std::optional<Control> control) {
  if (!control) {
    SetFocus(hwnd_);
    return;
  }
  SetFocus(controls_[*control]);
  if (design_.controls[*control].kind == Kind::TextBox) SendMessageW(controls_[*control], EM_SETSEL, 0, -1);
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::showFailure(Control control, std::string_view why) {
  failures_[control] = why;
  InvalidateRect(controls_[control], nullptr, TRUE);
  setTip(control, why.empty() ? design_.controls[control].toolTip : why);
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::copyToClipboard(std::string_view text) {
  // Another program holding the clipboard open leaves it as it was.
  if (!openClipboard(hwnd_)) return;
  EmptyClipboard();
  const std::wstring wideText = wide(text);
  const std::size_t bytes = (wideText.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), wideText.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::setTip(Control control, std::string_view tip) {
  if (!hasTip_[control] && tip.empty()) return;
  std::wstring text = wide(tip);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(controls_[control]);
  tool.lpszText = text.data();
  SendMessageW(tips_, hasTip_[control] ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  hasTip_[control] = true;
}

template <typename FaceBase>
std::optional<Control> DesignedWindow<FaceBase>::controlOf(HWND child) const {
  if (!child || GetParent(child) != hwnd_) return std::nullopt;
  const int control = GetDlgCtrlID(child) - kFirstControlId;
  if (control < 0 || control >= static_cast<int>(controls_.size())) return std::nullopt;
  return control;
}

template <typename FaceBase>
bool DesignedWindow<FaceBase>::takesFocus(Control control) const {
  return design_.controls[control].tabIndex >= 0 && shown(control) && IsWindowEnabled(controls_[control]);
}

template <typename FaceBase>
std::optional<Control> DesignedWindow<FaceBase>::nextInTabOrder(std::optional<Control> from,
                                                                          bool backwards) const {
  return ui::nextInTabOrder(design_, from, backwards, [this](Control c) { return takesFocus(c); });
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::systemColoursChanged() {
  system_ = systemColours();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

template <typename FaceBase>
HBRUSH DesignedWindow<FaceBase>::brush(std::uint32_t rgb) {
  HBRUSH& brush = brushes_[rgb];
  if (!brush) brush = CreateSolidBrush(colorRef(rgb));
  return brush;
}

template <typename FaceBase>
LRESULT DesignedWindow<FaceBase>::colours(HDC dc, HWND child) {
  const auto control = controlOf(child);
  if (!control) return reinterpret_cast<LRESULT>(brush(background()));
  const ControlDesign& design = design_.controls[*control];
  // A button paints only its corners with this: those show the window behind it.
  if (design.kind == Kind::Button) return reinterpret_cast<LRESULT>(brush(background()));
  Paint paint = paintOf(design, system_);
  if (const auto failure = failures_.find(*control); failure != failures_.end() && !failure->second.empty()) {
    paint.text = failureText(paint.background);
  }
  SetTextColor(dc, colorRef(paint.text));
  SetBkColor(dc, colorRef(paint.background));
  return reinterpret_cast<LRESULT>(brush(paint.background));
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::command(Control control, int code) {
  const ControlDesign& design = design_.controls[control];
  switch (design.kind) {
    case Kind::Button:
      if (code == BN_CLICKED) events_->clicked(control);
      break;
    case Kind::Label:
      if (code == STN_CLICKED && design.clickable) events_->clicked(control);
      break;
    case Kind::TextBox:
      // Every change but those the handlers make themselves.
      if (code == EN_CHANGE && !settingText_) events_->edited(control, text(control));
      break;
  }
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::activated(bool active) {
  if (!active) {
    lastFocus_ = focused();
    return;
  }
  // Back to where the focus was, as a dialog does; at first to the first control in tab order.
  if (lastFocus_ && takesFocus(*lastFocus_)) {
    SetFocus(controls_[*lastFocus_]);
  } else {
    focus(nextInTabOrder(std::nullopt, false));
  }
}

template <typename FaceBase>
LRESULT DesignedWindow<FaceBase>::message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (!events_) return 0;
      if (lParam) {
        if (const auto control = controlOf(reinterpret_cast<HWND>(lParam))) command(*control, HIWORD(wParam));
      } else if (const int entry = LOWORD(wParam) - kFirstMenuId;
                 HIWORD(wParam) == 0 && entry >= 0 && entry < static_cast<int>(design_.menu.size())) {
        events_->menuChosen(entry);
      }
      return 0;
    case WM_NEXTDLGCTL: {
      // The dialog manager's Tab and arrows; a dialog's own procedure would do this.
      HWND from = controlOf(GetFocus()) ? GetFocus() : nullptr;
      HWND to = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd_, from, wParam != 0);
      if (const auto control = controlOf(to)) focus(control);
      return 0;
    }
    case DM_GETDEFID:
      for (Control c = 0; c < static_cast<Control>(controls_.size()); ++c) {
        if (design_.controls[c].defaultButton && shown(c)) return MAKELRESULT(kFirstControlId + c, DC_HASDEFID);
      }
      return 0;
    case WM_CONTEXTMENU:
      if (const auto control = controlOf(reinterpret_cast<HWND>(wParam)); control && events_) {
        events_->contextMenu(*control);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush(background()));
      return 1;
    }
    case WM_ACTIVATE:
      if (HIWORD(wParam)) break;  // minimized: nothing to focus
      activated(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      layout();
      return 0;
    }
    case WM_SYSCOLORCHANGE:
      SendMessageW(tips_, WM_SYSCOLORCHANGE, 0, 0);
      systemColoursChanged();
      break;
    case WM_SETTINGCHANGE:
      // High contrast may come without a change of the colours themselves.
      if (wParam == SPI_SETHIGHCONTRAST) systemColoursChanged();
      break;
    default:
      break;
  }
  return Window::message(message, wParam, lParam);
}

template <typename FaceBase>
bool DesignedWindow<FaceBase>::keyDown(const MSG& key) {
  const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0, alt = GetKeyState(VK_MENU) < 0;
  std::optional<Key> meant;
  if (!control && !shift && !alt && key.wParam == VK_RETURN) meant = Key::Enter;
  if (!control && !shift && !alt && key.wParam == VK_ESCAPE) meant = Key::Escape;
  if (control && !shift && !alt && (key.wParam == 'C' || key.wParam == VK_INSERT)) meant = Key::Copy;
  if (control && !shift && !alt && key.wParam == 'Q') meant = Key::Quit;
  if (!meant || !events_) return false;
  if (events_->keyPressed(*meant)) return true;
  // What the handlers leave is the platform's: Enter clicks the focused button or value,
  // as in a dialog, and a one-line box has no use for Enter or Esc (it would only beep).
  const auto current = focused();
  if (!current || *meant == Key::Copy) return false;
  if (*meant == Key::Enter && design_.controls[*current].kind == Kind::Button) {
    SendMessageW(controls_[*current], BM_CLICK, 0, 0);
  } else if (*meant == Key::Enter && design_.controls[*current].clickable) {
    events_->clicked(*current);
  }
  return true;
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::paintDisabled(Control control) {
  HWND box = controls_[control];
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  RECT area;
  GetClientRect(box, &area);
  FillRect(dc, &area, reinterpret_cast<HBRUSH>(colours(dc, box)));
  RECT textArea;
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&textArea));
  const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
  const std::wstring content = wide(text(control));
  const Align align = design_.controls[control].align;
  const UINT side = align == Align::Right ? DT_RIGHT : align == Align::Centre ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, content.c_str(), static_cast<int>(content.size()), &textArea, side | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, font);
  EndPaint(box, &paint);
}

template <typename FaceBase>
LRESULT CALLBACK DesignedWindow<FaceBase>::controlProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                                            UINT_PTR id, DWORD_PTR self) {
  auto* window = reinterpret_cast<DesignedWindow*>(self);
  const ControlDesign& design = window->design_.controls[id];
  switch (message) {
    case WM_GETOBJECT: {
      // A screen reader asks: the design's name, and its description or why the text could not be kept.
      const auto failure = window->failures_.find(static_cast<Control>(id));
      const std::string_view description = failure != window->failures_.end() && !failure->second.empty()
                                               ? std::string_view(failure->second)
                                               : design.accessibleDescription;
      const long role = design.kind == Kind::Label    ? ROLE_SYSTEM_STATICTEXT
                        : design.kind == Kind::Button ? ROLE_SYSTEM_PUSHBUTTON
                                                      : ROLE_SYSTEM_TEXT;
      if (const LRESULT answer =
              answerGetObject(box, wParam, lParam, role, wide(design.accessibleName), wide(description))) {
        return answer;
      }
      break;
    }
    case WM_PAINT:
      // A disabled box greys its text whatever colour it is given; the design's result
      // box is disabled and must still read, in its own colours.
      if (design.kind == Kind::TextBox && !IsWindowEnabled(box)) {
        window->paintDisabled(static_cast<Control>(id));
        return 0;
      }
      // A label that takes the focus shows it as a button does.
      if (design.kind == Kind::Label && GetFocus() == box) {
        const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        HDC dc = GetDC(box);
        RECT area;
        GetClientRect(box, &area);
        DrawFocusRect(dc, &area);
        ReleaseDC(box, dc);
        return result;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (design.kind == Kind::Label) InvalidateRect(box, nullptr, TRUE);
      break;
    case WM_LBUTTONUP: {
      if (design.kind != Kind::TextBox) break;
      // A box reports no clicks of its own.
      const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
      RECT area;
      GetClientRect(box, &area);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (window->design_.controls[id].clickable && window->events_ && PtInRect(&area, at)) {
        window->events_->clicked(static_cast<Control>(id));
      }
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, controlProcedure, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

template class DesignedWindow<MainFace>;
template class DesignedWindow<CalculatorFace>;

}  // namespace ui::win32
