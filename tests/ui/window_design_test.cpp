#include "ui/window_design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

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

TEST(WindowDesign, NextInTabOrder) {
  // Four tab stops, none in design order, and a label between them.
  constexpr ui::ControlDesign controls[] = {{.name = "a", .tabIndex = 3}, {.name = "label"},
                                            {.name = "b", .tabIndex = 0}, {.name = "c", .tabIndex = 2},
                                            {.name = "d", .tabIndex = 1}};
  enum : ui::Control { a, label, b, c, d };
  struct Case {
    std::optional<ui::Control> from;
    bool backwards;
    std::set<ui::Control> hidden;
    std::optional<ui::Control> next;
  };
  const Case cases[] = {{b, false, {}, d},   {d, true, {}, b},         {c, false, {}, a},  {a, false, {}, b},
                        {b, true, {}, a},    {{}, false, {}, b},       {{}, true, {}, a},  {b, false, {d}, c},
                        {c, false, {a}, b},  {label, false, {}, b},    {b, false, {a, c, d}, b},
                        {b, false, {a, b, c, d}, std::nullopt}};
  for (const Case& t : cases) {
    const auto shown = [&t](ui::Control x) { return !t.hidden.count(x); };
    EXPECT_EQ(ui::nextInTabOrder({.controls = controls}, t.from, t.backwards, shown), t.next)
        << t.from.value_or(-1) << (t.backwards ? " back, " : ", ") << t.hidden.size() << " hidden";
  }
}

}  // namespace
