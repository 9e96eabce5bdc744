#include "settings/offset_setting.h"

#include <algorithm>

#include "runtime/number_text.h"

namespace settings {

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool meansSystemZone(std::string_view text) {
  text = trimmed(text);
  constexpr std::string_view word = kSystemZone;
  return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
         });
}

OffsetSetting::Loaded OffsetSetting::load() const {
  removeLeftovers(file_);

  const FirstItem stored = readFirstItem(file_);
  if (stored.text && meansSystemZone(*stored.text)) return {*stored.text, 0.0, {}, true};
  const auto seconds = stored.text ? runtime::strictValue(*stored.text) : std::nullopt;
  if (!seconds) return {"0", 0.0, stored.error};
  return {runtime::plainNumberText(*seconds), *seconds, {}};
}

OffsetSetting::Changed OffsetSetting::change(std::string_view boxText) const {
  Changed changed;
  changed.error = saveLine(file_, boxText).error;
  changed.systemZone = meansSystemZone(boxText);
  if (!changed.systemZone) changed.seconds = runtime::strictValue(boxText);
  return changed;
}

}  // namespace settings
