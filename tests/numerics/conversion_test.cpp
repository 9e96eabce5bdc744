#include "numerics/conversion.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using numerics::DeciConvert;
using numerics::DigiSci;

TEST(Conversion, Table) {
  struct Case {
    const char* text;
    const char* positional;
    const char* scientific;
  };
  const Case cases[] = {
      {"0", "+ 0.0", "+ 0.0 nega-0"},
      {"", "+ 0.0", "+ 0.0 nega-0"},
      {"-0", "+ 0.0", "+ 0.0 nega-0"},
      {"1", "+ 1.0", "+ 1.0 posi-0"},
      {"16", "+ 10.0", "+ 10.0 posi-0"},
      {"17", "+ 11.0", "+ 1.1 posi-1"},
      {"256", "+ 100.0", "+ 10.0 posi-1"},
      {"3600", "+ E10.0", "+ E.10 posi-2"},
      {"86400", "+ 15180.0", "+ 1.518 posi-4"},
      {"-255", "- FF.0", "- F.F posi-1"},
      {"0.5", "+ 0.80", "+ 8.0 nega-1"},
      {".5", "+ 0.8", "+ 8.0 nega-1"},
      {"-0.5", "- 0.80", "- 8.0 nega-1"},
      {"255.5", "+ FF.8", "+ F.F80 posi-1"},
      {"1.01", "+ 1.028", "+ 1.028 posi-0"},
      {"0.001", "+ 0.004189", "+ 4.189 nega-3"},
      {"0.0625", "+ 0.10000", "+ 1.0000 nega-1"},
      {"3.14159", "+ 3.243F3", "+ 3.243F3 posi-0"},
      {"1E3", "+ 3E8.0", "+ 3.E posi-2"},
      {"1e3", "+ 3E8.0", "+ 3.E posi-2"},
      {"-1E3", "- 3E8.0", "- 3.E posi-2"},
      {"1.5E3", "+ 5DC.0", "+ 5.DC posi-2"},
      {"-1.5E3", "- 5DC.0", "- 5.DC0 posi-2"},
      {"  42", "+ 2A.0", "+ 2.A posi-1"},
      {"12abc", "+ C.00", "+ C.000 posi-0"},
      {"1000000000000000", "+ 38D7EA4C68000.0000000000", "+ 3.8D7EA4C6800000 posi-C"},
      {"abc", "+ 0.00", "+ 0.0 nega-0"},
      {"257", "+ 101.0", "+ 1.01 posi-2"},
      {"4096", "+ 1000.0", "+ 10.00 posi-2"},
      {"12 abcE", "+ C.0000", "+ C.00000 posi-0"},  // the first "E" counts wherever it stands
      {"-1 2", "- C.0", "- C.0 posi-0"},
      {"\xc3\xa9\xc3\xa9", "+ 0.0", "+ 0.0 nega-0"},  // two characters, four bytes
  };
  for (const Case& c : cases) {
    const auto result = DeciConvert(c.text);
    ASSERT_TRUE(result) << '"' << c.text << '"';
    EXPECT_EQ(result->positional, c.positional) << '"' << c.text << '"';
    EXPECT_EQ(result->scientific, c.scientific) << '"' << c.text << '"';
  }
}

TEST(Conversion, DigiSciAtTheEnds) {
  struct Case {
    double value;
    int decipt;
    const char* text;
  };
  const Case cases[] = {
      {std::numeric_limits<double>::max(), 3, "F.F posi-FF"},
      {std::numeric_limits<double>::denorm_min(), 3, "4.0 nega-10D"},
      {16, 2, "10.0 posi-0"},
      {256, 3, "10.0 posi-1"},
      {257, 3, "1.01 posi-2"},
      {1, 1, "1.0 posi-0"},
      {0, 0, "0.0 nega-0"},
      {15.999999, 4, "F.FF posi-0"},
      {0.0625, 3, "1.0 nega-1"},
  };
  for (const Case& c : cases) EXPECT_EQ(DigiSci(c.value, c.decipt), c.text) << c.value << " " << c.decipt;
}

TEST(Conversion, OutsideTheLimitsIsReported) {
  const std::string longText(32768, '1');
  const std::string longBlanks = std::string(40000, '0') + "5";
  for (const std::string& text : {std::string("1E999"), std::string("1E309"), std::string("-1E309"), longText,
                                  std::string(32767, '7'), longBlanks}) {
    EXPECT_FALSE(DeciConvert(text)) << text.substr(0, 12) << " (" << text.size() << " chars)";
  }
  // At the length limit the count still fits.
  const auto atLimit = DeciConvert("0." + std::string(32765, '0'));
  ASSERT_TRUE(atLimit);
  EXPECT_EQ(atLimit->positional.size(), 2 + 2 + 32766u);
  // A long text with an early "E" keeps small counts.
  EXPECT_TRUE(DeciConvert("1E3" + std::string(40000, 'x')));
}

TEST(Conversion, ReadingSaysWhenTheTextsAreNotThoseOfTheWholeText) {
  std::string e24;  // a note cuts the text it quotes after 24 characters, here of two bytes each
  for (int i = 0; i < 24; ++i) e24 += "\xc3\xa9";
  const std::string cases[][3] = {
      {"1e999", "", "1e999 lies beyond the range of a double"},
      {"1,5", "+ 1.0 posi-0", "Read as 1: the text goes on with ',5', which is not part of a number"},
      {"abc", "+ 0.0 nega-0", "Read as 0: 'abc' is not a number"},
      {"-1.5e3" + e24 + "x", "- 5.DC0 posi-2",
       "Read as -1500: the text goes on with '" + e24 + "...', which is not part of a number"},
      {" 42 ", "+ 2.A posi-1", ""}, {"86400", "+ 1.518 posi-4", ""}, {"  ", "+ 0.0 nega-0", ""}};
  for (const auto& [text, scientific, note] : cases) {
    const numerics::Reading reading = numerics::DeciRead(text);
    EXPECT_EQ(reading.texts ? reading.texts->scientific : "", scientific) << '"' << text << '"';
    EXPECT_EQ(reading.note, note) << '"' << text << '"';
  }
}

}  // namespace
