// Prints what a screen reader finds in a window of another Windows program: for the
// top-level window with the given title, a line per control of its client object, as
// oleacc gives them: shown (1) or hidden (0), "*" when it has the focus, its role, then
// its name, value and description, separated by " | ".
// Usage: accessible_peek.exe TITLE   (exits with 1 when no window has that title)
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring wanted;
HWND found = nullptr;

BOOL CALLBACK matchTitle(HWND window, LPARAM) {
  wchar_t title[256];
  GetWindowTextW(window, title, 256);
  if (wanted != title) return TRUE;
  found = window;
  return FALSE;
}

void printUtf8(const std::wstring& text) {
  std::string bytes(text.size() * 4 + 1, '\0');
  bytes.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(),
                                                            static_cast<int>(bytes.size()), nullptr, nullptr)));
  std::fputs(bytes.c_str(), stdout);
}

using Getter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::wstring textOf(IAccessible* object, Getter get) {
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  std::wstring result;
  if (SUCCEEDED((object->*get)(self, &text)) && text) result.assign(text, SysStringLen(text));
  SysFreeString(text);
  return result;
}

void printObject(IAccessible* object) {
  VARIANT self, role, state;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VariantInit(&role);
  VariantInit(&state);
  object->get_accRole(self, &role);
  object->get_accState(self, &state);
  const bool hidden = state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_INVISIBLE);
  const bool focused = state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_FOCUSED);
  wchar_t roleText[128] = L"?";
  if (role.vt == VT_I4) GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 128);
  std::printf("%d%s ", hidden ? 0 : 1, focused ? "*" : "");
  printUtf8(roleText);
  for (const Getter get : {&IAccessible::get_accName, &IAccessible::get_accValue, &IAccessible::get_accDescription}) {
    std::fputs(" | ", stdout);
    printUtf8(textOf(object, get));
  }
  std::putchar('\n');
  VariantClear(&role);
  VariantClear(&state);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  wanted = argv[1];
  EnumWindows(matchTitle, 0);
  if (!found) return 1;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* client = nullptr;
  if (const HRESULT failed = AccessibleObjectFromWindow(found, OBJID_CLIENT, IID_IAccessible,
                                                        reinterpret_cast<void**>(&client));
      FAILED(failed)) {
    std::fprintf(stderr, "no accessible object for the window: %lx\n", static_cast<unsigned long>(failed));
    return 3;
  }
  long count = 0;
  client->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  long obtained = 0;
  if (count > 0) AccessibleChildren(client, 0, count, children.data(), &obtained);
  for (long i = 0; i < obtained; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    IAccessible* object = nullptr;
    if (child.vt == VT_DISPATCH && child.pdispVal) {
      child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
    }
    // A child window's own object is its frame; the control is its client object.
    HWND window = nullptr;
    if (object && SUCCEEDED(WindowFromAccessibleObject(object, &window)) && window && window != found) {
      IAccessible* inner = nullptr;
      if (SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                               reinterpret_cast<void**>(&inner)))) {
        object->Release();
        object = inner;
      }
    }
    if (object) {
      printObject(object);
      object->Release();
    }
    VariantClear(&child);
  }
  client->Release();
  CoUninitialize();
  return 0;
}
