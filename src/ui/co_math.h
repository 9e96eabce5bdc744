#pragma once

#include <string_view>

#include "numerics/conversion.h"
#include "ui/face.h"
#include "ui/window_design.h"

namespace ui {

// The calculator's controls: the boxes and buttons, then the labels from the top-most.
namespace comath {
enum : Control {
  OKButton, DeciVal, CoVal, CoSci, Command1, Label11, Label10, Label9, Label8, Label7, Label6, Label5,
  Label3_1, Label4_1, Label4_0, Label3_0, Label2, Label1, controlCount
};
inline constexpr int kMaxInput = numerics::kMaxInput;
inline constexpr std::string_view kIntroCaption = "See Also: Coherency and physics- Why ?";
inline constexpr std::string_view kBackCaption = "Back to Vantrel Intro";
}  // namespace comath

const WindowDesign& calculatorDesign();

// The "Vantrel" calculator: decimal in, hexadecimal positional and scientific out as
// the user types, with two pages of explanation.
class coMath : public Events {
 public:
  explicit coMath(CalculatorFace& face) : face_(face) {}

  void DeciVal_Change(std::string_view text);
  void Command1_Click();
  void CoSci_Click();
  void OKButton_Click();
  // The title-bar close box, which has no handler of the design's: the window goes.
  void closeBox();

  void clicked(Control control) override;
  void edited(Control control, std::string_view text) override;
  bool keyPressed(Key key) override;

 private:
  CalculatorFace& face_;
};

}  // namespace ui
