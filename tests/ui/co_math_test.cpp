#include "ui/co_math.h"

#include <gtest/gtest.h>

#include "fake_face.h"
#include "numerics/conversion.h"

namespace {

using namespace ui::comath;

class CalculatorTest : public ::testing::Test {
 protected:
  uitest::FakeCalculatorFace face_{ui::calculatorDesign()};
  ui::coMath calculator_{face_};

  void type(const std::string& text) {
    face_.setText(DeciVal, text);
    calculator_.edited(DeciVal, text);
  }
  bool essaysShown() const {
    const bool shown = face_.shown(Label9);
    EXPECT_EQ(face_.shown(Label10), shown);
    EXPECT_EQ(face_.shown(Label11), shown);
    return shown;
  }
};

TEST_F(CalculatorTest, EachChangeReplacesBothResults) {
  EXPECT_EQ(face_.text(CoVal), "hexadecimal  0");
  EXPECT_EQ(face_.text(CoSci), "+000 posi 0");
  std::string typed;
  for (const char c : std::string("86400")) {
    typed += c;
    face_.calls.clear();
    type(typed);
    const auto expected = numerics::DeciConvert(typed);
    EXPECT_EQ(face_.calls, (std::vector<std::string>{"text DeciVal " + typed, "text CoVal " + expected->positional,
                                                     "text CoSci " + expected->scientific}));
  }
  EXPECT_EQ(face_.text(CoVal), "+ 15180.0");
  EXPECT_EQ(face_.text(CoSci), "+ 1.518 posi-4");
}

// Beyond the limits no result rather than the last number's; read in part, the leading number's, marked.
TEST_F(CalculatorTest, NoResultOfANumberOtherThanTheOneRead) {
  const std::string cases[][3] = {{"1e999", "", ""},           {std::string(32767, '9'), "", ""},
                                  {"1,5", "+ 1.0", "+ 1.0 posi-0"}, {"abc", "+ 0.00", "+ 0.0 nega-0"},
                                  {" 42 ", "+ 2A.0", "+ 2.A posi-1"}, {"86400", "+ 15180.0", "+ 1.518 posi-4"}};
  for (const auto& [typed, positional, scientific] : cases) {
    type("1,5");
    type(typed);
    EXPECT_EQ(face_.text(CoVal) + "|" + face_.text(CoSci), positional + "|" + scientific) << typed.substr(0, 8);
    EXPECT_EQ(face_.failures[DeciVal].empty(), typed == " 42 " || typed == "86400") << typed.substr(0, 8);
  }
}

TEST_F(CalculatorTest, PageSwitch) {
  type("3600");
  for (const bool essays : {true, false, true}) {
    calculator_.clicked(Command1);
    EXPECT_EQ(essaysShown(), essays);
    EXPECT_EQ(face_.text(Command1), essays ? kBackCaption : kIntroCaption);
    // Every label the essays overlap goes while they show; the rest of the page stays.
    for (const ui::Control label : {Label1, Label2, Label3_0, Label3_1, Label4_0, Label4_1, Label5, Label6, Label7}) {
      EXPECT_EQ(face_.shown(label), !essays) << ui::calculatorDesign().controls[label].name;
    }
    for (const ui::Control control : {Label8, DeciVal, CoVal, CoSci, OKButton, Command1}) {
      EXPECT_TRUE(face_.shown(control)) << ui::calculatorDesign().controls[control].name;
    }
    EXPECT_EQ(face_.text(CoVal), "+ E10.0");
  }
}

TEST_F(CalculatorTest, CopyCloseAndTheCloseBox) {
  // A click copies the result, before any typing too; so do Enter and the copy keys
  // while the result has the focus.
  calculator_.clicked(CoSci);
  EXPECT_EQ(face_.clipboard, "+000 posi 0");
  type("86400");
  for (const ui::Key key : {ui::Key::Enter, ui::Key::Copy}) {
    face_.clipboard = "old";
    face_.focus(DeciVal);
    EXPECT_FALSE(calculator_.keyPressed(key));
    face_.focus(CoSci);
    EXPECT_TRUE(calculator_.keyPressed(key));
    EXPECT_EQ(face_.clipboard, "+ 1.518 posi-4");
  }
  // "Close" and Esc hide the window as it is; the title-bar close box discards it.
  calculator_.clicked(OKButton);
  EXPECT_EQ(face_.state, "hidden");
  face_.state = "shown";
  EXPECT_TRUE(calculator_.keyPressed(ui::Key::Escape));
  EXPECT_EQ(face_.state, "hidden");
  calculator_.closeBox();
  EXPECT_EQ(face_.state, "discarded");
}

}  // namespace
