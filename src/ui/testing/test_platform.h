// The platform services as tests see them: every message box and error box
// is recorded (and, with `realBoxes`, also shown as the program shows it and
// answered by `answerBox`), the picture-open dialog answers from a
// script, the clipboard lives in memory, processes are fakes, and files are
// those of the real file system.
#pragma once

#include <QImage>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/platform.h"

namespace tolvane::ui::testing {

// One box as the user would have seen it.
struct ShownBox {
    enum class Kind { Message, Error };
    Kind kind;
    QString text;          // as shown (an error box with its full stop)
    QString ownerName;     // name of the owning window, "" when none
    bool operator==(const ShownBox&) const = default;
};

// A program a test lets startProcess() start.
struct FakeProgram {
    QString program;                 // the path it must be started with ("" = any)
    bool startFails = false;         // startProcess returns nullptr
    int pollsWhileRunning = 0;       // running() answers true this many times
    std::function<void()> onExit;    // runs when it ends (e.g. puts a bitmap on the clipboard)
};

class TestPlatform : public Platform {
public:
    void messageBox(QWidget* owner, const QString& text) override;
    void errorBox(QWidget* owner, const QString& text) override;
    QString openPictureFile(QWidget* owner, const QStringList& filters) override;
    bool clipboardHasBitmap() override { return clipboard.has_value(); }
    QImage clipboardBitmap() override { return clipboard.value_or(QImage()); }
    bool clipboardHasPicture() override { return clipboard.has_value(); }
    QImage clipboardPicture() override { return clipboard.value_or(QImage()); }
    void clipboardSetBitmap(const QImage& image) override { clipboard = image; }
    void clipboardClear() override { clipboard.reset(); }
    std::unique_ptr<Process> startProcess(const QString& program) override;
    QString currentDirFile(const QString& name) override;
    bool fileExists(const QString& path) override;
    QString version() override { return versionText; }

    // Every box shown, in order, until taken.
    std::vector<ShownBox> boxes;
    // Boxes are real modal windows (execBox) that take the activation away
    // from their owner; `answerBox` runs inside each one's loop and closes it.
    bool realBoxes = false;
    std::function<void(QMessageBox&)> answerBox;
    // Answers of the picture-open dialog, in order; "" answers Cancel.
    std::deque<QString> pictureFileAnswers;
    // The filters the dialog was last opened with.
    QStringList lastPictureFilters;
    // The clipboard's bitmap (text and other formats do not exist here).
    std::optional<QImage> clipboard;
    // Programs that may be started, in order; every start is recorded.
    std::deque<FakeProgram> programs;
    QStringList startedPrograms;
    QString versionText = QStringLiteral(TOLVANE_VERSION);

    // Called for something a test did not script (a picture dialog or a
    // process with no answer left); the driver turns it into a test failure.
    std::function<void(const QString&)> onUnscripted;
};

}  // namespace tolvane::ui::testing
