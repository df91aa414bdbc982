#include "ui/window_system.h"

#include <cstdlib>

namespace tolvane::ui {

namespace {
bool empty(const char* s) { return s == nullptr || *s == '\0'; }
}  // namespace

std::vector<std::string> withPlatformChoice(int argc, char** argv, const char* named,
                                            const char* display) {
    std::vector<std::string> args(argv, argv + argc);
    if (empty(named) && !empty(display) && !args.empty())
        args.insert(args.begin() + 1, {"-platform", "xcb;wayland"});
    return args;
}

char** choosePlatform(int& argc, char** argv) {
    static std::vector<std::string> args;
    static std::vector<char*> pointers;
    args = withPlatformChoice(argc, argv, std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"));
    pointers.clear();
    for (std::string& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    argc = static_cast<int>(args.size());
    return pointers.data();
}

}  // namespace tolvane::ui
