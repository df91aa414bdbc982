// The main window and the settings dialog for scripts/screenshots.sh.
#include "core/DM_1.h"
#include "app/Main_F.h"
#include "app/Pass_F.h"
#include "core/handover.h"
#include "ui/testing/screenshots.h"

namespace {

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

TOLVANE_SCREENSHOT("MainF", [](const tolvane::ui::screenshots::Context&) {
    ensureDataModule();
    return std::unique_ptr<tolvane::ui::Form>(new TMainF());
});

TOLVANE_SCREENSHOT("PassF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    return std::unique_ptr<tolvane::ui::Form>(new TPassF(ctx.owner));
});

}  // namespace
