#include "ui/win32/stamp_dialogs.h"
#include "ui/win32/window.h"

#include <commctrl.h>

#include <vector>

#include "runtime/unicode.h"

namespace ui::win32 {

namespace {

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;
constexpr int kTextId = 100;

// A dialog template in memory: the dialog, then its controls, each on a DWORD boundary.
class Template {
 public:
  Template(std::string_view title, short width, short height, WORD controls) {
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
    dword(0);
    words_.push_back(controls);
    for (const short n : {short{0}, short{0}, width, height}) words_.push_back(static_cast<WORD>(n));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    text(runtime::wide(title));
    words_.push_back(9);
    text(L"Segoe UI");
  }
  void add(WORD kind, DWORD style, short x, short y, short cx, short cy, int id, const std::wstring& caption) {
    if (words_.size() % 2) words_.push_back(0);
    dword(WS_CHILD | WS_VISIBLE | style);
    dword(0);
    for (const short n : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(n));
    words_.push_back(static_cast<WORD>(id));
    words_.push_back(0xFFFF);
    words_.push_back(kind);
    text(caption);
    words_.push_back(0);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void text(const std::wstring& value) {
    words_.insert(words_.end(), value.begin(), value.end());
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

struct Asked {
  std::wstring text;
  std::optional<KeyChord> chord;
};

INT_PTR CALLBACK textProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* asked = reinterpret_cast<Asked*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, kTextId, reinterpret_cast<Asked*>(lParam)->text.c_str());
      SendDlgItemMessageW(dialog, kTextId, EM_SETSEL, 0, -1);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const HWND box = GetDlgItem(dialog, kTextId);
        asked->text.assign(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        asked->text.resize(static_cast<std::size_t>(GetWindowTextW(box, asked->text.data(), static_cast<int>(asked->text.size()))));
        EndDialog(dialog, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

std::optional<std::string> keyName(WPARAM key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) return std::string("F").append(std::to_string(key - VK_F1 + 1));
  return std::nullopt;
}

// The box that waits for the chord: every key reaches it, none types.
LRESULT CALLBACK chordBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data) {
  auto* asked = reinterpret_cast<Asked*>(data);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const bool held[] = {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                           GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0, GetKeyState(VK_MENU) < 0};
      if (wParam == VK_ESCAPE && !held[0] && !held[1] && !held[2] && !held[3]) {
        EndDialog(GetParent(box), IDCANCEL);
        return 0;
      }
      if (const auto name = keyName(wParam)) {
        const KeyChord chord{held[0], held[1], held[2], held[3], *name};
        if (readKeyChord(keyChordText(chord))) {
          asked->chord = chord;
          EndDialog(GetParent(box), IDOK);
        }
      }
      return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, chordBox, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

INT_PTR CALLBACK chordProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowSubclass(GetDlgItem(dialog, kTextId), chordBox, 0, static_cast<DWORD_PTR>(lParam));
      SetFocus(GetDlgItem(dialog, kTextId));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::string> askText(HWND owner, std::string_view title, std::string_view prompt, std::string_view text) {
  Template dialog(title, 240, 82, 4);
  dialog.add(kStatic, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 28, -1, runtime::wide(prompt));
  dialog.add(kEdit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 38, 226, 14, kTextId, L"");
  dialog.add(kButton, WS_TABSTOP | BS_DEFPUSHBUTTON, 129, 61, 50, 14, IDOK, L"OK");
  dialog.add(kButton, WS_TABSTOP | BS_PUSHBUTTON, 183, 61, 50, 14, IDCANCEL, L"Cancel");
  Asked asked{runtime::wide(text), std::nullopt};
  const ModalLoop ticking;
  if (DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, textProcedure,
                              reinterpret_cast<LPARAM>(&asked)) != IDOK) {
    return std::nullopt;
  }
  return runtime::utf8(asked.text);
}

std::optional<KeyChord> askKeyChord(HWND owner, std::string_view title, std::string_view prompt) {
  Template dialog(title, 240, 82, 3);
  dialog.add(kStatic, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 28, -1, runtime::wide(prompt));
  dialog.add(kEdit, WS_BORDER | WS_TABSTOP | ES_READONLY | ES_CENTER, 7, 38, 226, 14, kTextId, L"");
  dialog.add(kButton, WS_TABSTOP | BS_PUSHBUTTON, 183, 61, 50, 14, IDCANCEL, L"Cancel");
  Asked asked;
  const ModalLoop ticking;
  if (DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, chordProcedure,
                              reinterpret_cast<LPARAM>(&asked)) != IDOK) {
    return std::nullopt;
  }
  return asked.chord;
}

}  // namespace ui::win32
