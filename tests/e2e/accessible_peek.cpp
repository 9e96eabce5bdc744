// Prints what a screen reader finds in the window of another Windows program whose title
// is given: a line per control of its client object, as oleacc gives them: shown (1) or
// hidden (0), "*" when focused, its role, then its name, value and description, between " | ".
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void print(const wchar_t* text) {
  char bytes[8192];
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  std::fputs(bytes, stdout);
}

void printObject(IAccessible* object) {
  VARIANT self{}, role{}, state{};
  self.vt = VT_I4;  // CHILDID_SELF is 0
  object->get_accRole(self, &role);
  object->get_accState(self, &state);
  wchar_t roleText[128] = L"?";
  GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 128);
  std::printf("%d%s ", state.lVal & STATE_SYSTEM_INVISIBLE ? 0 : 1, state.lVal & STATE_SYSTEM_FOCUSED ? "*" : "");
  print(roleText);
  for (const auto get : {&IAccessible::get_accName, &IAccessible::get_accValue, &IAccessible::get_accDescription}) {
    BSTR text = nullptr;
    std::fputs(" | ", stdout);
    if (SUCCEEDED((object->*get)(self, &text)) && text) print(text);
    SysFreeString(text);
  }
  std::putchar('\n');
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  HWND window = argc > 1 ? FindWindowW(nullptr, argv[1]) : nullptr;
  if (!window) return 1;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* client = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&client)))) {
    return 3;
  }
  long count = 0, obtained = 0;
  client->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  if (count > 0) AccessibleChildren(client, 0, count, children.data(), &obtained);
  for (long i = 0; i < obtained; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    // A child window's own object is its frame; the control is its client object.
    IAccessible *frame = nullptr, *object = nullptr;
    HWND control = nullptr;
    if (child.vt == VT_DISPATCH && SUCCEEDED(child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&frame))) &&
        SUCCEEDED(WindowFromAccessibleObject(frame, &control)) &&
        SUCCEEDED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object)))) {
      printObject(object);
      object->Release();
    }
    if (frame) frame->Release();
    VariantClear(&child);
  }
  client->Release();
  return 0;
}
