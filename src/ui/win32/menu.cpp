#include "ui/win32/menu.h"

#include <algorithm>
#include <map>

#include "runtime/unicode.h"

namespace ui::win32 {

HMENU makeMenu(const WindowDesign& design, int firstId) {
  if (design.menu.empty()) return nullptr;
  HMENU bar = CreateMenu();
  std::map<int, HMENU> subMenus;
  for (int entry = 0; entry < static_cast<int>(design.menu.size()); ++entry) {
    const MenuDesign& item = design.menu[entry];
    HMENU in = item.parent < 0 ? bar : subMenus.at(item.parent);
    if (item.separatorBefore && item.parent >= 0) AppendMenuW(in, MF_SEPARATOR, 0, nullptr);
    const std::wstring caption = runtime::wide(item.caption);
    if (std::ranges::any_of(design.menu, [entry](const MenuDesign& m) { return m.parent == entry; })) {
      subMenus[entry] = CreatePopupMenu();
      AppendMenuW(in, MF_POPUP, reinterpret_cast<UINT_PTR>(subMenus[entry]), caption.c_str());
      continue;
    }
    const auto id = static_cast<UINT>(firstId + entry);
    AppendMenuW(in, MF_STRING | (item.kind == MenuKind::Note ? MF_GRAYED : 0), id, caption.c_str());
    if (item.kind == MenuKind::Radio) {
      MENUITEMINFOW radio{};
      radio.cbSize = sizeof radio;
      radio.fMask = MIIM_FTYPE;
      radio.fType = MFT_STRING | MFT_RADIOCHECK;
      SetMenuItemInfoW(in, id, FALSE, &radio);
    }
  }
  return bar;
}

std::optional<int> popUpMenu(HWND window, const std::vector<int>& entries, int firstId) {
  HMENU popUp = CreatePopupMenu();
  for (const int entry : entries) {
    const auto id = static_cast<UINT>(firstId + entry);
    wchar_t caption[256] = L"";
    GetMenuStringW(GetMenu(window), id, caption, 256, MF_BYCOMMAND);
    AppendMenuW(popUp, MF_STRING, id, caption);
  }
  POINT at{};
  GetCursorPos(&at);
  const BOOL chosen = TrackPopupMenu(popUp, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window,
                                     nullptr);
  DestroyMenu(popUp);
  if (!chosen) return std::nullopt;
  return chosen - firstId;
}

}  // namespace ui::win32
