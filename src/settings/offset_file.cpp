#include "settings/offset_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#include "runtime/number_text.h"

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace settings {

namespace {

namespace fs = std::filesystem;

// Errors name the settings file as the user knows it, in full.
std::string shown(const fs::path& file) {
  std::error_code failed;
  const fs::path full = fs::absolute(file, failed);
  return (failed ? file : full).string();
}

std::string describe(std::string_view what, const fs::path& file, std::string_view reason) {
  std::string text(what);
  text += ' ';
  text += shown(file);
  text += ": ";
  text += reason;
  return text;
}

std::string describe(std::string_view what, const fs::path& file, int error) {
  return describe(what, file, std::strerror(error));
}

constexpr std::string_view kNotRegular = "not a regular file";

#ifdef _WIN32
bool isRegular(int fd) {
  struct _stat64 status;
  return _fstat64(fd, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}
#else
bool isRegular(int fd) {
  struct stat status;
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}
#endif

bool flushToDisk(std::FILE* stream) {
  if (std::fflush(stream) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(stream)) == 0;
#else
  return fsync(fileno(stream)) == 0;
#endif
}

std::filesystem::path temporaryBeside(const std::filesystem::path& file) {
  static std::mt19937_64 random{std::random_device{}()};
  std::filesystem::path name = file;
  name += ".tmp" + std::to_string(random() % 1'000'000'000);
  return name;
}

}  // namespace

FirstItem readFirstItem(const fs::path& file) {
  std::error_code failed;
  const fs::file_status status = fs::status(file, failed);
  if (status.type() == fs::file_type::not_found) return {};
  if (status.type() == fs::file_type::none) return {std::nullopt, describe("cannot read", file, failed.message())};
  // A FIFO would block the open, a device may act on it: neither is opened at all.
  if (status.type() != fs::file_type::regular) return {std::nullopt, describe("cannot read", file, kNotRegular)};

  // C streams rather than iostreams, which would set up their locale machinery at start.
#ifdef _WIN32
  std::FILE* stream = _wfopen(file.c_str(), L"rb");
  if (!stream) return {std::nullopt, describe("cannot read", file, errno)};
  if (!isRegular(_fileno(stream))) {
    std::fclose(stream);
    return {std::nullopt, describe("cannot read", file, kNotRegular)};
  }
#else
  // Without blocking, and checked once open, in case the file was swapped meanwhile.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {std::nullopt, errno == ENOENT ? std::string() : describe("cannot read", file, errno)};
  std::FILE* stream = isRegular(fd) ? fdopen(fd, "rb") : nullptr;
  if (!stream) {
    ::close(fd);
    return {std::nullopt, describe("cannot read", file, kNotRegular)};
  }
#endif
  int c = std::fgetc(stream);
  while (c == ' ' || c == '\t') c = std::fgetc(stream);
  std::string item;
  for (; c != EOF && c != ',' && c != '\r' && c != '\n' && item.size() < kMaxItem; c = std::fgetc(stream)) {
    item += static_cast<char>(c);
  }
  const bool readError = std::ferror(stream) != 0;
  const int error = errno;
  std::fclose(stream);
  if (readError) return {std::nullopt, describe("cannot read", file, error)};
  return {std::move(item), {}};
}

SaveResult saveLine(const std::filesystem::path& file, std::string_view line) {
  const std::filesystem::path temporary = temporaryBeside(file);
  std::FILE* stream = std::fopen(temporary.string().c_str(), "wb");
  if (!stream) return {false, describe("cannot create", temporary, errno)};

  std::string content(line);
  content += "\r\n";
  const bool written = std::fwrite(content.data(), 1, content.size(), stream) == content.size() &&
                       flushToDisk(stream);
  const int writeError = errno;
  if (std::fclose(stream) != 0 || !written) {
    const int error = written ? errno : writeError;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return {false, describe("cannot write", temporary, error)};
  }

  std::error_code renamed;
  std::filesystem::rename(temporary, file, renamed);
  if (renamed) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return {false, "cannot replace " + file.string() + ": " + renamed.message()};
  }
  return {};
}

OffsetSetting::Loaded OffsetSetting::load() const {
  const FirstItem stored = readFirstItem(file_);
  const auto seconds = stored.item ? runtime::strictValue(*stored.item) : std::nullopt;
  if (!seconds) return {"0", 0.0, stored.error};
  return {runtime::plainNumberText(*seconds), *seconds, {}};
}

OffsetSetting::Changed OffsetSetting::change(std::string_view boxText) const {
  Changed changed;
  changed.saved = saveLine(file_, boxText);
  changed.seconds = runtime::strictValue(boxText);
  return changed;
}

}  // namespace settings
