// The colours every window is drawn with. The windows give their own colours
// to some forms, panels and texts and take the rest from the light system
// colours of a classic desktop (grey button faces, white edit boxes, black
// text); a desktop colour scheme does not reach them, so a dark scheme cannot
// put white text on a light form.
#pragma once

#include <QPalette>

namespace tolvane::ui {

// The classic light system colours, every role of every colour group set.
QPalette classicPalette();

// Makes classicPalette() the application's palette (the boxes, the picture
// dialog, menus and tooltips follow it). Safe to call more than once; every
// Form calls it, and every Form also takes the palette itself, so a palette
// the desktop or anything else sets for the application later does not
// reach the windows.
void installClassicPalette();

}  // namespace tolvane::ui
