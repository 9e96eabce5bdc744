#include "cli/shown_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShownText, EscapesWhatATerminalWouldActOn) {
  struct Case {
    std::string text;
    const char* shown;
  };
  const Case cases[] = {
      {"2000-03-12T18:54:10Z", "2000-03-12T18:54:10Z"},
      {"Z\xC3\xBCrich \xE2\x80\x94 \xF0\x9F\x8C\x95", "Z\xC3\xBCrich \xE2\x80\x94 \xF0\x9F\x8C\x95"},
      {"\x1B[31mred\x1B[0m", "\\x1b[31mred\\x1b[0m"},
      {"a\nb\tc\rd", "a\\x0ab\\x09c\\x0dd"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"del\x7F", "del\\x7f"},
      {"\xC2\x9B" "2J", "\\u009b2J"},                   // CSI, the C1 form of ESC [
      {"\xC2\x80\xC2\x9F\xC2\xA0", "\\u0080\\u009f\xC2\xA0"},  // the C1 range, and the first after it
      {"\xFF\xFE", "\\xff\\xfe"},
      {"\x9B", "\\x9b"},                                // C1 as a lone byte is no UTF-8
      {"\xC3", "\\xc3"},                                // a sequence cut short
      {"\xC3(", "\\xc3("},
      {"\xC0\xAF", "\\xc0\\xaf"},                       // overlong "/"
      {"\xE0\x80\xAF", "\\xe0\\x80\\xaf"},              // overlong, three bytes
      {"\xED\xA0\x80", "\\xed\\xa0\\x80"},              // a surrogate
      {"\xF4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},     // beyond U+10FFFF
      {"\\x1b", "\\x1b"},                               // already shown: unchanged
  };
  for (const Case& c : cases) EXPECT_EQ(cli::shownText(c.text, 100), c.shown) << c.shown;
}

TEST(ShownText, CutsWholeCharacters) {
  EXPECT_EQ(cli::shownText("abc", 3), "abc");
  EXPECT_EQ(cli::shownText("abcd", 3), "abc...");
  EXPECT_EQ(cli::shownText("ab\xC3\xBC\xC3\xBC", 3), "ab\xC3\xBC...");
  EXPECT_EQ(cli::shownText("ab\x1B\x1B", 3), "ab\\x1b...");
  EXPECT_EQ(cli::shownText("", 0), "");
}

}  // namespace
