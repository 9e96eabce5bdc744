#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>

#include "runtime/unicode.h"
#include "settings/file_system.h"

namespace settings::fs {

using runtime::utf8;
using runtime::wide;

namespace {

std::string systemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(error) : utf8(message);
}

std::uint64_t ticks(const FILETIME& t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

}  // namespace

Status statusOf(const std::string& file) {
  struct _stat64 status;
  if (_wstat64(wide(file).c_str(), &status) != 0) return {errno == ENOENT ? Kind::missing : Kind::unknown, 0, errno};
  return {(status.st_mode & _S_IFMT) == _S_IFREG ? Kind::regular : Kind::other, 0, 0};
}

std::string absolute(const std::string& file) {
  const std::wstring path = wide(file);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return file;
    if (length < full.size()) {
      full.resize(length);
      return utf8(full);
    }
    full.resize(length);
  }
}

std::string folderOf(const std::string& file) { return file.substr(0, file.find_last_of("/\\") + 1); }

// Windows programs rarely meet links to a settings file: the file itself is replaced.
std::optional<std::string> linkTarget(const std::string& file) { return file; }

int openToRead(const std::string& file) { return _wopen(wide(file).c_str(), _O_RDONLY | _O_BINARY); }
std::FILE* streamOf(int fd) { return _fdopen(fd, "rb"); }

int openFresh(const std::string& file) {
  return _wopen(wide(file).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}

long processId() { return static_cast<long>(GetCurrentProcessId()); }

int openInPlace(const std::string& file) { return _wopen(wide(file).c_str(), _O_WRONLY | _O_BINARY); }

bool cutTo(int fd, std::size_t size) { return _chsize_s(fd, static_cast<__int64>(size)) == 0; }

bool mayWrite(const std::string& file) { return _waccess(wide(file).c_str(), 2) == 0; }

bool isRegular(int fd) {
  struct _stat64 status;
  return _fstat64(fd, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

bool keepOwner(int, const Status&) { return true; }  // a new file is the user's, as the old one was
bool keepMode(int, unsigned) { return true; }  // a writable file has no other bits to keep

bool writeAll(int fd, std::string_view bytes) {
  return _write(fd, bytes.data(), static_cast<unsigned>(bytes.size())) == static_cast<int>(bytes.size());
}

bool flushToDisk(int fd) { return _commit(fd) == 0; }
bool closeFile(int fd) { return _close(fd) == 0; }
void removeFile(const std::string& file) { _wunlink(wide(file).c_str()); }

Moved moveOver(int fd, const std::string& temporary, const std::string& target) {
  _close(fd);  // Windows moves no open file
  // Write-through: the move is on disk when it returns, the folder with it.
  if (MoveFileExW(wide(temporary).c_str(), wide(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  const std::string reason = systemMessage(GetLastError());
  removeFile(temporary);
  return {"cannot replace", reason};
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(wide(folder + '*').c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(utf8(found.cFileName));
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Windows closes a file before moving it, so nothing shows that a temporary
// file is being written: only one that has not been written for a minute is
// taken for a leftover.
void removeIfAbandoned(const std::string& file) {
  WIN32_FILE_ATTRIBUTE_DATA found;
  if (!GetFileAttributesExW(wide(file).c_str(), GetFileExInfoStandard, &found)) return;
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  constexpr std::uint64_t kMinute = 60ull * 10'000'000;
  if (ticks(found.ftLastWriteTime) + kMinute <= ticks(now)) DeleteFileW(wide(file).c_str());
}

}  // namespace settings::fs
