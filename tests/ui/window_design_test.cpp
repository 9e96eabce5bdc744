#include "ui/window_design.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/co_math.h"
#include "ui/main_clock.h"

namespace {

// Where the dialog manager tabs in stacking order, both windows keep what shows (the
// design's stacking of controls that overlap) and tab as designed; where the two
// conflict, what shows wins.
TEST(WindowDesign, StackingKeepsOverlapsAndTabOrder) {
  const ui::ControlDesign conflicting[] = {{.name = "a", .at = {0, 0, 100, 100}, .tabIndex = 1},
                                           {.name = "b", .at = {50, 50, 100, 100}, .tabIndex = 0}};
  EXPECT_EQ(ui::stackingOrder({.controls = conflicting}), (std::vector<ui::Control>{0, 1}));
  for (const ui::WindowDesign* window : {&ui::mainClockDesign(), &ui::calculatorDesign()}) {
    const std::vector<ui::Control> order = ui::stackingOrder(*window);
    ASSERT_EQ(order.size(), window->controls.size()) << window->name;
    std::vector<ui::Control> tabStops, place(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) place[order[i]] = static_cast<ui::Control>(i);
    std::ranges::copy_if(order, std::back_inserter(tabStops), [&](ui::Control c) { return window->controls[c].tabIndex >= 0; });
    EXPECT_EQ(tabStops, ui::tabOrder(*window)) << window->name;
    // Only labels overlap: every overlapping pair has one.
    for (ui::Control c = 0; c < static_cast<ui::Control>(order.size()); ++c) {
      for (const ui::Control label : ui::labelsUnder(*window, std::vector<ui::Control>{c})) {
        const auto [front, back] = std::minmax(c, label);
        EXPECT_LT(place[front], place[back]) << window->controls[front].name << " over " << window->controls[back].name;
      }
    }
  }
}

}  // namespace
