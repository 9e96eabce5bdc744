#include "settings/offset_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#include "runtime/number_text.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace settings {

namespace {

std::string describe(std::string_view what, const std::filesystem::path& file, int error) {
  std::string text(what);
  text += ' ';
  text += file.string();
  text += ": ";
  text += std::strerror(error);
  return text;
}

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

std::optional<std::string> readFirstItem(const std::filesystem::path& file) {
  // C streams rather than iostreams, which would set up their locale machinery at start.
  std::FILE* stream = std::fopen(file.string().c_str(), "rb");
  if (!stream) return std::nullopt;
  int c = std::fgetc(stream);
  while (c == ' ' || c == '\t') c = std::fgetc(stream);
  std::string item;
  for (; c != EOF && c != ',' && c != '\r' && c != '\n' && item.size() < kMaxItem; c = std::fgetc(stream)) {
    item += static_cast<char>(c);
  }
  std::fclose(stream);
  return item;
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
  const auto item = readFirstItem(file_);
  const auto seconds = item ? runtime::strictValue(*item) : std::nullopt;
  if (!seconds) return {"0", 0.0};
  return {runtime::plainNumberText(*seconds), *seconds};
}

OffsetSetting::Changed OffsetSetting::change(std::string_view boxText) const {
  Changed changed;
  changed.saved = saveLine(file_, boxText);
  changed.seconds = runtime::strictValue(boxText);
  return changed;
}

}  // namespace settings
