#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The two windows as the design draws them, with no toolkit: each face makes its
// controls from these tables and nothing else.
namespace ui {

// A control of a window: its place in the window's design table.
using Control = int;

// Positions and sizes in twips, 1440 to the inch.
struct Twips {
  int left = 0, top = 0, width = 0, height = 0;
};

// Twips to pixels at a screen's dots per inch, to the nearest pixel.
constexpr int pixels(int twips, int dpi = 96) { return (twips * dpi * 2 + 1440) / 2880; }

// A colour the design fixes (0xRRGGBB), or one it leaves to the system.
enum class SystemColour { ButtonFace, ButtonText, BoxBackground, BoxText, ActiveTitle };
struct Colour {
  std::optional<std::uint32_t> rgb;
  SystemColour system = SystemColour::ButtonFace;

  // A designed text colour falls back to the system's text colour where it would not read.
  static constexpr Colour fixed(std::uint32_t rgb, SystemColour fallback = SystemColour::ButtonText) {
    return {rgb, fallback};
  }
  static constexpr Colour of(SystemColour system) { return {std::nullopt, system}; }
};

// The design's faces: "MS Sans Serif", "Lucida Console", "Arial".
enum class Typeface { SansSerif, Fixed, Arial };
struct Font {
  Typeface face = Typeface::SansSerif;
  double points = 8.25;
  bool bold = false;
};

enum class Kind { Label, TextBox, Button };
enum class Align { Left, Centre, Right };

struct ControlDesign {
  std::string_view name;  // the design's name; an index family member is "Label5_0"
  Kind kind = Kind::Label;
  Twips at;
  std::string_view caption;
  Font font;
  Colour text = Colour::of(SystemColour::ButtonText);
  Colour background = Colour::of(SystemColour::ButtonFace);
  Align align = Align::Left;
  bool shown = true;
  std::string_view toolTip;
  int tabIndex = -1;  // takes the focus in this order; -1: never
  bool enabled = true;
  bool readOnly = false;
  int maxLength = 0;  // characters a text box takes; 0: the toolkit's
  bool clickable = false;  // reports clicks (a label)
  bool defaultButton = false;  // Enter and Esc click it while it is shown
  std::string_view accessibleName;  // empty: the caption
  std::string_view accessibleDescription;
};

enum class MenuKind {
  Command,
  Radio,  // one of its group's entries is checked
  Note,   // a line the window writes, never chosen
  Check,  // on or off by itself
};

// A window's menu as one list: the entries of the menu bar, and the entries of a
// sub-menu after its own entry, each naming it as its parent.
struct MenuDesign {
  std::string_view name;
  std::string_view caption;  // "&" marks the access key
  int parent = -1;           // the entry whose sub-menu holds this one; -1: the menu bar
  MenuKind kind = MenuKind::Command;
  int group = 0;  // radio entries of one sub-menu and group are checked one instead of another
  bool separatorBefore = false;
};

struct WindowDesign {
  std::string_view name;
  std::string_view caption;
  int clientWidth = 0, clientHeight = 0;  // twips
  std::optional<Twips> placement;  // top left on the screen; none: the system's choice
  Colour background = Colour::of(SystemColour::ButtonFace);
  bool sizable = true;  // sizable frame with minimize and maximize buttons, or a fixed dialog frame
  bool inTaskBar = true;
  Font font;
  std::span<const ControlDesign> controls;  // front to back
  std::span<const MenuDesign> menu;
};

// The pair a face paints: the design's colours, with the system's filled in. Where only
// one side is designed and it would not read on the system's other side (black text on a
// dark theme's button face), the system's own colour takes its place; a pair designed on
// both sides stays exactly as designed.
struct Paint {
  std::uint32_t text, background;
};
Paint resolve(const Colour& text, const Colour& background, std::uint32_t systemText,
              std::uint32_t systemBackground);

// The system's colours as a face reads them, and whether its high-contrast mode is on.
struct SystemColours {
  std::uint32_t buttonFace = 0xF0F0F0, buttonText = 0x000000, boxBackground = 0xFFFFFF, boxText = 0x000000,
                activeTitle = 0x99B4D1;
  bool highContrast = false;

  std::uint32_t operator()(SystemColour colour) const;
};

// The pair a control paints: off, as `resolve` gives it; in high contrast every pair,
// the designed ones too, is the system's, so that a user who needs it can read the
// values: window text on window for the values and boxes, button text on button face
// for the rest.
Paint paintOf(const ControlDesign& control, const SystemColours& system);
// The window's own background: the design's, or the button face in high contrast.
std::uint32_t backgroundOf(const WindowDesign& window, const SystemColours& system);

// The controls of a window that take the focus, in its tab order.
std::vector<Control> tabOrder(const WindowDesign& window);
// The control after `from` (before it, backwards) in tab order that `takesFocus` accepts,
// round the end; from none, the first (or last). None when no control takes the focus.
std::optional<Control> nextInTabOrder(const WindowDesign& window, std::optional<Control> from, bool backwards,
                                      const std::function<bool(Control)>& takesFocus);

// The controls front to back for a toolkit whose tab order is its stacking order: controls
// that overlap keep the design's stacking, and those that take the focus follow the tab
// order; where the two cannot both hold, the design's stacking.
std::vector<Control> stackingOrder(const WindowDesign& window);

// The labels that any of `covers` overlaps, the covers themselves left out.
std::vector<Control> labelsUnder(const WindowDesign& window, std::span<const Control> covers);

// The text colour of a box whose text could not be kept: a red that reads on its background.
std::uint32_t failureText(std::uint32_t background);

}  // namespace ui
