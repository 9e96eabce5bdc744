#include "ui/co_math.h"

#include <limits>

#include "numerics/conversion.h"
#include "ui/texts.h"

namespace ui {

namespace {

using namespace comath;

constexpr Font kBold{Typeface::SansSerif, 8.25, true};

constexpr ControlDesign label(std::string_view name, Twips at, std::string_view caption, bool shown = true,
                              Align align = Align::Left) {
  return {.name = name, .kind = Kind::Label, .at = at, .caption = caption, .align = align, .shown = shown};
}

// A result is read, selected and copied whole, however long: the limit on typed text is
// not its.
constexpr ControlDesign result(std::string_view name, int top, std::string_view text, std::uint32_t background,
                               int tabIndex, std::string_view accessibleName, std::string_view accessibleDescription) {
  return {.name = name, .kind = Kind::TextBox, .at = {3600, top, 3135, 285}, .caption = text, .font = kBold,
          .text = Colour::fixed(0x000000, SystemColour::BoxText), .background = Colour::fixed(background), .align = Align::Right,
          .tabIndex = tabIndex, .readOnly = true, .maxLength = std::numeric_limits<int>::max(),
          .accessibleName = accessibleName, .accessibleDescription = accessibleDescription};
}

constexpr ControlDesign kControls[] = {
    {.name = "OKButton", .kind = Kind::Button, .at = {6120, 6240, 615, 255}, .caption = "Close",
     .align = Align::Centre, .tabIndex = 0},
    {.name = "DeciVal", .kind = Kind::TextBox, .at = {3600, 5160, 3135, 285}, .caption = "0",
     .text = Colour::of(SystemColour::BoxText), .background = Colour::of(SystemColour::BoxBackground),
     .align = Align::Right, .tabIndex = 11, .maxLength = kMaxInput, .accessibleName = "Decimal value",
     .accessibleDescription = "Type a decimal number"},
    result("CoVal", 5520, "hexadecimal  0", 0x80FF80, 12, "Hexadecimal value",
           "The number in hexadecimal positional notation"),
    [] {
      ControlDesign design = result("CoSci", 5880, "+000 posi 0", 0xFFFFC0, 13, "Hexadecimal scientific value",
                                    "The number in hexadecimal scientific notation; click here to copy the value");
      design.toolTip = "Click here to copy the value";
      design.clickable = true;
      return design;
    }(),
    {.name = "Command1", .kind = Kind::Button, .at = {120, 6240, 4095, 255}, .caption = kIntroCaption,
     .align = Align::Centre, .tabIndex = 14},
    label("Label11", {0, 3480, 6495, 1455}, texts::kPrimeFactors, false),
    label("Label10", {0, 1800, 6375, 1695}, texts::kMixedUnits, false),
    label("Label9", {0, 0, 6735, 1815}, texts::kWhyCoherency, false),
    label("Label8", {120, 5160, 3255, 975}, texts::kHowToUse),
    label("Label7", {240, 1800, 4935, 855}, texts::kTimeUnits),
    label("Label6", {240, 4080, 4815, 855}, texts::kExamples),
    label("Label5", {120, 3000, 4935, 855}, texts::kScientificIdea),
    label("Label3_1", {6240, 1680, 255, 3135}, "1  2   3   4   5   6   7   8   9  10  11  12  13  14  15  16"),
    label("Label4_1", {4800, 1200, 1095, 375}, "\"HexaDecimal\" value", true, Align::Centre),
    label("Label4_0", {6000, 1200, 735, 375}, "\"Decimal\" value", true, Align::Centre),
    label("Label3_0", {5400, 1680, 255, 3135}, "1  2   3   4   5   6   7   8   9   A  B  C  D  E   F  10"),
    label("Label2", {120, 1200, 4335, 375}, texts::kHexadecimalFirst),
    label("Label1", {120, 120, 5775, 855}, texts::kIntroduction),
};
static_assert(std::size(kControls) == controlCount);

constexpr WindowDesign kWindow{.name = "coMath",
                           .caption = "Vantrel",
                           .clientWidth = 6855,
                           .clientHeight = 6630,
                           .placement = Twips{2145, 615, 6855, 6630},
                           .sizable = false,
                           .inTaskBar = false,
                           .controls = kControls};

}  // namespace

const WindowDesign& calculatorDesign() { return kWindow; }

void coMath::DeciVal_Change(std::string_view text) {
  // Beyond the conversion's limits (1E999, say) no result stands for the text: the last
  // one would be another number's. A text read in part keeps the conversion of the
  // number at its start, and the box says so.
  const numerics::Reading reading = numerics::DeciRead(text);
  face_.setText(CoVal, reading.texts ? reading.texts->positional : "");
  face_.setText(CoSci, reading.texts ? reading.texts->scientific : "");
  face_.showFailure(DeciVal, reading.note);
}

void coMath::Command1_Click() {
  const bool toEssays = face_.text(Command1) == kIntroCaption;
  face_.setText(Command1, toEssays ? kBackCaption : kIntroCaption);
  static constexpr Control essays[] = {Label9, Label10, Label11};
  for (const Control essay : essays) face_.show(essay, toEssays);
  // What the essays cover goes with them shown: no sliver of it shows, and a screen reader
  // does not read a page under the page.
  static const std::vector<Control> covered = labelsUnder(kWindow, essays);
  for (const Control label : covered) face_.show(label, !toEssays);
}

void coMath::CoSci_Click() { face_.copyToClipboard(face_.text(CoSci)); }

void coMath::OKButton_Click() { face_.hide(); }

void coMath::closeBox() { face_.discard(); }

void coMath::clicked(Control control) {
  switch (control) {
    case OKButton: return OKButton_Click();
    case Command1: return Command1_Click();
    case CoSci: return CoSci_Click();
    default: return;
  }
}

void coMath::edited(Control control, std::string_view text) {
  if (control == DeciVal) DeciVal_Change(text);
}

bool coMath::keyPressed(Key key) {
  if (key == Key::Escape) {
    OKButton_Click();  // Esc works as "Close"
    return true;
  }
  // From the keyboard, Enter and the copy keys copy the whole result, as a click does.
  if (face_.focused() == CoSci) {
    CoSci_Click();
    return true;
  }
  return false;
}

}  // namespace ui
