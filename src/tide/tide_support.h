// What the tide-chart windows share: offsets from stored (possibly damaged)
// columns, and growing a window for a large chart without leaving the screen.
#pragma once

#include <cstdint>

namespace tolvane::ui {
class Form;
class Shape;
}

namespace tolvane::tide {

// a + b summed without overflow and held within +-16,777,215, so a damaged
// column cannot place a marker beyond what the window layer can draw.
int offsetSum(std::int64_t a, std::int64_t b);
inline constexpr int kOffsetLimit = 16'777'215;

// The largest client width and height `f` may take so that its frame stays
// within the available area of its screen.
int maxClientWidth(const ui::Form& f);
int maxClientHeight(const ui::Form& f);
// Moves `f` back inside the available area of its screen where it grew past
// the right or bottom edge.
void keepOnScreen(ui::Form& f);

// The clamps of a released band or rectangle, in this order: its left edge
// not left of `areaLeft`; narrower than 3 becomes 10 wide; its right edge not
// beyond `areaRight`. One cut to less than 3 by the last ends on that edge,
// 10 wide. Top and height stay.
void clampToPictureArea(ui::Shape& s, int areaLeft, int areaRight);

}  // namespace tolvane::tide
