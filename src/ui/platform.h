// Services of the desktop behind one small interface: message and error
// boxes, the picture-open dialog, the clipboard, starting and polling a
// process, files in the current directory and the program's version.
// The program installs the Qt implementation; tests install their own.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace tolvane::ui {

// A process started by startProcess(); polled without waiting.
class Process {
public:
    virtual ~Process() = default;
    virtual bool running() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // An OK message box holding `text` (the program's name as its title).
    // Every box returns when it has closed and its owner is active again.
    virtual void messageBox(QWidget* owner, const QString& text) = 0;
    // The error box for an error that escaped a handler: stop icon, OK button,
    // the program's name as title, the text with a full stop added when it
    // has none (the caller passes the error's own text).
    virtual void errorBox(QWidget* owner, const QString& text) = 0;

    // Picture-open dialog; `filters` as QFileDialog name filters, the first
    // one selected. Returns the chosen path, or an empty string when cancelled.
    virtual QString openPictureFile(QWidget* owner, const QStringList& filters) = 0;

    // Clipboard: the bitmap format, the general picture format (bitmap or
    // vector picture), and clearing it.
    virtual bool clipboardHasBitmap() = 0;
    virtual QImage clipboardBitmap() = 0;
    virtual bool clipboardHasPicture() = 0;
    virtual QImage clipboardPicture() = 0;
    virtual void clipboardSetBitmap(const QImage& image) = 0;
    virtual void clipboardClear() = 0;

    // Starts `program` without arguments; nullptr when it cannot be started.
    virtual std::unique_ptr<Process> startProcess(const QString& program) = 0;

    // The process's current directory joined with "/" and `name`.
    virtual QString currentDirFile(const QString& name) = 0;
    virtual bool fileExists(const QString& path) = 0;

    // The program's version, e.g. "1.0.0.0".
    virtual QString version() = 0;
};

// The program's name, the title of every message and error box.
QString programName();
// `text` with a full stop added when it does not already end in one ("." or
// "。"); an empty text stays empty. The error box shows its text so.
QString withFullStop(const QString& text);

// The boxes as the desktop shows them: a modal QMessageBox over `owner`, run
// until it is closed, then the owner made active again (reactivate()). A
// message box shows `text` as given (bare carriage returns as line breaks), an
// error box with the stop icon and withFullStop(text). `whileShown`, when
// given, runs once inside the box's own loop (the test driver answers there).
enum class BoxKind { Message, Error };
void execBox(QWidget* owner, BoxKind kind, const QString& text,
             const std::function<void(QMessageBox&)>& whileShown = {});

// The installed implementation (the Qt one unless a test installed another).
Platform& platform();
// Installs `p` (not owned) and returns the one it replaces; nullptr restores
// the Qt implementation.
Platform* setPlatform(Platform* p);

}  // namespace tolvane::ui
