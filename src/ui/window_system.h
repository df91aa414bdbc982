// The window system the program runs on, chosen before the application
// object is made.
#pragma once

#include <string>
#include <vector>

namespace tolvane::ui {

// The arguments the application object is made with: the program's own, and
// right after the program's name "-platform xcb;wayland" when the user named
// no platform (`named`, QT_QPA_PLATFORM, empty or null) and an X display is
// there (`display`, DISPLAY, not empty). On a Wayland desktop with an X
// display beside it (XWayland) the program thus runs on X, where a window's
// activation and place are the program's to set; Qt on Wayland leaves both
// to the compositor, and a pick list opened as a box closes can be left
// without the keyboard. Should the X display not answer, Qt goes on to
// Wayland. A platform the user names in QT_QPA_PLATFORM is taken as it is,
// and so is one named by a -platform argument (it comes later and wins).
// With no X display nothing is added: Qt's own choice stands.
std::vector<std::string> withPlatformChoice(int argc, char** argv, const char* named,
                                            const char* display);

// The same for this process's environment: sets `argc` and returns the
// argument vector to make the application object with (it lasts as long as
// the process).
char** choosePlatform(int& argc, char** argv);

}  // namespace tolvane::ui
