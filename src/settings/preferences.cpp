#include "settings/preferences.h"

#include <algorithm>

namespace settings {

namespace {

// More than any hand-written file; a larger one is read as far as this.
constexpr std::size_t kMaxText = 1 << 16;

std::string fileName(const std::string& file) { return file.substr(file.find_last_of("/\\") + 1); }

}  // namespace

Preferences Preferences::parse(std::string_view text, std::vector<int>* unreadable) {
  Preferences preferences;
  int number = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
      if (number == 0) preferences.newline_ = "\r\n";
    }
    ++number;
    Line kept{std::string(line), {}};
    const std::string_view content = trimmed(line);
    if (!content.empty() && !content.starts_with('#')) {
      const auto equals = line.find('=');
      if (equals != std::string_view::npos) kept.key = trimmed(line.substr(0, equals));
      if (kept.key.empty() && unreadable) unreadable->push_back(number);
    }
    preferences.lines_.push_back(std::move(kept));
  }
  return preferences;
}

std::vector<Preferences::Line>::const_iterator Preferences::find(std::string_view key) const {
  const auto last = std::ranges::find(lines_.rbegin(), lines_.rend(), key, &Line::key);
  return last == lines_.rend() ? lines_.end() : std::prev(last.base());
}

std::optional<std::string> Preferences::get(std::string_view key) const {
  const auto line = find(key);
  if (line == lines_.end()) return std::nullopt;
  return line->text.substr(line->text.find('=') + 1);
}

void Preferences::set(std::string_view key, std::string_view value) {
  std::string text(key);
  text += '=';
  text += value;
  const auto line = find(key);
  if (line == lines_.end()) {
    lines_.push_back({std::move(text), std::string(key)});
  } else {
    lines_[static_cast<std::size_t>(line - lines_.begin())].text = std::move(text);
  }
}

void Preferences::erase(std::string_view key) { std::erase_if(lines_, [key](const Line& l) { return l.key == key; }); }

std::string Preferences::serialize() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + newline_;
  return text;
}

LoadedPreferences loadPreferences(const std::string& file) {
  LoadedPreferences loaded;
  const FileText read = readText(file, kMaxText);
  if (!read.error.empty()) loaded.problems.push_back(read.error);
  if (!read.text) return loaded;
  std::vector<int> unreadable;
  loaded.preferences = Preferences::parse(*read.text, &unreadable);
  for (const int line : unreadable) {
    loaded.problems.push_back(fileName(file) + " line " + std::to_string(line) + ": not a key=value line");
  }
  return loaded;
}

SaveResult savePreferences(const std::string& file, const Preferences& preferences) {
  return saveFile(file, preferences.serialize());
}

}  // namespace settings
