#include "ui/win32/startup_shortcut.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>


namespace ui::win32 {

namespace {

// Also the name the installer's uninstall removes.
constexpr wchar_t kShortcutName[] = L"Selenial.lnk";

std::wstring shortcutFile() {
  PWSTR folder = nullptr;
  std::wstring file;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder))) {
    file = std::wstring(folder) + L"\\" + kShortcutName;
  }
  CoTaskMemFree(folder);
  return file;
}

std::string failed(const char* what, HRESULT result) {
  char code[16];
  wsprintfA(code, "%08lX", static_cast<unsigned long>(result));
  return std::string(what) + " failed (0x" + code + ")";
}

std::string save(const std::wstring& file) {
  wchar_t program[MAX_PATH];
  if (GetModuleFileNameW(nullptr, program, MAX_PATH) == 0) return "the program's own name could not be read";
  // The setting's folder is the working one; std::filesystem would more than double the program.
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  IShellLinkW* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
  if (FAILED(result)) return failed("CoCreateInstance(ShellLink)", result);
  link->SetPath(program);
  link->SetWorkingDirectory(folder.c_str());
  link->SetDescription(L"Selenial");
  IPersistFile* persist = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  if (SUCCEEDED(result)) {
    result = persist->Save(file.c_str(), TRUE);
    persist->Release();
  }
  link->Release();
  return FAILED(result) ? failed("Saving the shortcut", result) : std::string{};
}

}  // namespace

bool StartupShortcut::present() const {
  const std::wstring file = shortcutFile();
  return !file.empty() && GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string StartupShortcut::set(bool present) {
  const std::wstring file = shortcutFile();
  if (file.empty()) return "the Startup folder could not be found";
  if (!present) {
    if (DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return {};
    return "the shortcut could not be removed";
  }
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  std::string why = save(file);
  if (SUCCEEDED(com)) CoUninitialize();
  return why;
}

}  // namespace ui::win32
