// Program entry: creates the data module and the main window and runs the
// message loop. Reads no argument and no environment variable of its own.
#include <QApplication>

#include "core/DM_1.h"
#include "core/Main_F.h"
#include "ui/form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));

    createDataModule();
    int rc = 0;
    {
        TMainF mainF;
        MainF = &mainF;
        rc = tolvane::ui::runMainForm(mainF);
        MainF = nullptr;
    }
    freeDataModule();
    return rc;
}
