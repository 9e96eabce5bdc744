#include "cli/shown_text.h"

#include <cstdio>

namespace cli {

namespace {

// The length of the UTF-8 sequence at the start of `text` and its code point; 0 when
// the first byte starts none (a stray byte, a cut or overlong sequence, a surrogate).
std::size_t sequenceAt(std::string_view text, char32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 1;
  char32_t least = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string escaped(const char* pattern, unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

}  // namespace

std::string shownText(std::string_view text, std::size_t limit) {
  std::string shown;
  std::size_t characters = 0;
  while (!text.empty()) {
    if (characters++ == limit) return shown + "...";
    char32_t code = 0;
    const std::size_t length = sequenceAt(text, code);
    if (length == 0) {
      shown += escaped("\\x%02x", static_cast<unsigned char>(text.front()));
    } else if (code < 0x20 || code == 0x7F) {
      shown += escaped("\\x%02x", static_cast<unsigned>(code));
    } else if (code >= 0x80 && code <= 0x9F) {
      shown += escaped("\\u%04x", static_cast<unsigned>(code));
    } else {
      shown += text.substr(0, length);
    }
    text.remove_prefix(length == 0 ? 1 : length);
  }
  return shown;
}

}  // namespace cli
