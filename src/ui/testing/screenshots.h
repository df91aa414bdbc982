// The screenshot registry: each window registers a function that builds it
// with sample data; the program tolvane_screenshots (scripts/screenshots.sh)
// shows every registered window offscreen with the real fonts and writes it to
// shots/<name>.png, under a title strip with the window's caption.
//
// A window's registration, in a source file added to tolvane_screenshots:
//     TOLVANE_SCREENSHOT("PassF", [](const tolvane::ui::screenshots::Context& ctx) {
//         auto f = std::make_unique<TPassF>(ctx.owner);
//         return f;                     // shown (and its OnShow run) by the program
//     });
// The program's current directory is a fresh directory holding the two
// sample database files (ctx.dataDir) while the windows are built and shown.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "ui/form.h"

namespace tolvane::ui::screenshots {

struct Context {
    std::filesystem::path dataDir;   // current directory, with SORVENDA.FDB and KELDMARK.FDB
    Form* owner = nullptr;           // a hidden owner for dialogs (centred on the screen then)
};

using Builder = std::function<std::unique_ptr<Form>(const Context&)>;

struct Entry {
    QString name;
    Builder build;
};

std::vector<Entry>& registry();

struct Registrar {
    Registrar(const char* name, Builder b) {
        registry().push_back({QString::fromUtf8(name), std::move(b)});
    }
};

}  // namespace tolvane::ui::screenshots

#define TOLVANE_SCREENSHOT_CAT2(a, b) a##b
#define TOLVANE_SCREENSHOT_CAT(a, b) TOLVANE_SCREENSHOT_CAT2(a, b)
#define TOLVANE_SCREENSHOT(name, ...)                                                       \
    static ::tolvane::ui::screenshots::Registrar TOLVANE_SCREENSHOT_CAT(tolvaneShot_, __LINE__)( \
        name, __VA_ARGS__)
