#include "ui/window_design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>

#include "ui/co_math.h"
#include "ui/main_clock.h"

namespace {

bool overlap(const ui::Twips& a, const ui::Twips& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

// Where the dialog manager tabs in stacking order, both windows keep what shows (the
// design's stacking of controls that overlap) and tab as designed.
TEST(WindowDesign, StackingKeepsOverlapsAndTabOrder) {
  for (const ui::WindowDesign* window : {&ui::mainClockDesign(), &ui::calculatorDesign()}) {
    SCOPED_TRACE(window->name);
    const std::vector<ui::Control> order = ui::stackingOrder(*window);
    ASSERT_TRUE(std::ranges::is_permutation(order, std::views::iota(0, static_cast<int>(window->controls.size()))));
    const auto place = [&order](ui::Control c) { return std::ranges::find(order, c) - order.begin(); };
    for (ui::Control front = 0; front < static_cast<ui::Control>(window->controls.size()); ++front) {
      for (ui::Control back = front + 1; back < static_cast<ui::Control>(window->controls.size()); ++back) {
        if (overlap(window->controls[front].at, window->controls[back].at)) {
          EXPECT_LT(place(front), place(back)) << window->controls[front].name << " over " << window->controls[back].name;
        }
      }
    }
    std::vector<ui::Control> tabStops;
    std::ranges::copy_if(order, std::back_inserter(tabStops), [&](ui::Control c) { return window->controls[c].tabIndex >= 0; });
    EXPECT_EQ(tabStops, ui::tabOrder(*window));
  }
  // A tab order that would put a control over one it lies under: the stacking wins.
  const ui::ControlDesign conflicting[] = {{.name = "a", .at = {0, 0, 100, 100}, .tabIndex = 1},
                                           {.name = "b", .at = {50, 50, 100, 100}, .tabIndex = 0},
                                           {.name = "c", .at = {500, 0, 10, 10}}};
  const ui::WindowDesign window{.name = "conflict", .controls = conflicting};
  EXPECT_EQ(ui::stackingOrder(window), (std::vector<ui::Control>{0, 1, 2}));
}

}  // namespace
