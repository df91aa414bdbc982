// The Qt implementation of the platform services, and the switch between it
// and whatever a test installs.
#include "ui/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QShortcut>
#include <QTimer>

#include "db/fb.h"
#include "ui/form.h"

#ifndef TOLVANE_VERSION
#error "TOLVANE_VERSION must be set by the build (the project version)"
#endif

namespace tolvane::ui {

QString programName() { return QStringLiteral("Tolvane"); }

QString withFullStop(const QString& text) {
    if (text.isEmpty() || text.endsWith(QLatin1Char('.')) || text.endsWith(QChar(0x3002)))
        return text;
    return text + QLatin1Char('.');
}

void execBox(QWidget* owner, BoxKind kind, const QString& text,
             const std::function<void(QMessageBox&)>& whileShown) {
    QString shown;
    if (kind == BoxKind::Message) {
        // Lines of a message may be separated by a bare carriage return.
        shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    } else {
        shown = withFullStop(text);
    }
    {
        QMessageBox box(kind == BoxKind::Message ? QMessageBox::NoIcon : QMessageBox::Critical,
                        programName(), shown, QMessageBox::Ok, owner);
        // Ctrl+C copies the text (Qt's own copy exists on Windows only), so
        // a file name or directory a box names can be taken from it.
        auto* copy = new QShortcut(QKeySequence::Copy, &box);
        QObject::connect(copy, &QShortcut::activated, &box,
                         [shown] { QApplication::clipboard()->setText(shown); });
        if (whileShown) QTimer::singleShot(0, &box, [&box, &whileShown] { whileShown(box); });
        box.exec();
    }
    reactivate(owner);
}

namespace {

class QtProcess : public Process {
public:
    explicit QtProcess(std::unique_ptr<QProcess> p) : p_(std::move(p)) {}
    ~QtProcess() override {
        // The program outlives our handle: detach rather than kill it.
        if (p_->state() != QProcess::NotRunning) {
            p_->setParent(nullptr);
            QObject::connect(p_.get(), &QProcess::finished, p_.get(), &QObject::deleteLater);
            p_.release();
        }
    }
    bool running() override {
        if (p_->state() == QProcess::NotRunning) return false;
        p_->waitForFinished(0);   // collect the exit without blocking
        return p_->state() != QProcess::NotRunning;
    }

private:
    std::unique_ptr<QProcess> p_;
};

class QtPlatform : public Platform {
public:
    void messageBox(QWidget* owner, const QString& text) override {
        execBox(owner, BoxKind::Message, text);
    }
    void errorBox(QWidget* owner, const QString& text) override {
        execBox(owner, BoxKind::Error, text);
    }
    QString openPictureFile(QWidget* owner, const QStringList& filters) override {
        QString selected = filters.isEmpty() ? QString() : filters.first();
        const QString path = QFileDialog::getOpenFileName(
            owner, QString(), QDir::currentPath(), filters.join(QStringLiteral(";;")), &selected);
        reactivate(owner);
        return path;
    }
    bool clipboardHasBitmap() override {
        const QMimeData* d = QApplication::clipboard()->mimeData();
        return d != nullptr && d->hasImage();
    }
    QImage clipboardBitmap() override { return QApplication::clipboard()->image(); }
    // Vector pictures do not exist on this platform: the general picture
    // format is the bitmap one.
    bool clipboardHasPicture() override { return clipboardHasBitmap(); }
    QImage clipboardPicture() override { return clipboardBitmap(); }
    void clipboardSetBitmap(const QImage& image) override {
        QApplication::clipboard()->setImage(image);
    }
    void clipboardClear() override { QApplication::clipboard()->clear(); }

    std::unique_ptr<Process> startProcess(const QString& program) override {
        auto p = std::make_unique<QProcess>();
        p->setProgram(program);
        p->setWorkingDirectory(QDir::currentPath());
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        // The program keeps the termination signals blocked in its threads.
        p->setChildProcessModifier([] { tolvane::db::unblockSignalsInChild(); });
        p->start();
        if (!p->waitForStarted(5000)) return nullptr;
        return std::make_unique<QtProcess>(std::move(p));
    }
    QString currentDirFile(const QString& name) override {
        return QDir::currentPath() + QLatin1Char('/') + name;
    }
    bool fileExists(const QString& path) override { return QFileInfo(path).isFile(); }
    QString version() override { return QStringLiteral(TOLVANE_VERSION); }
};

QtPlatform& qtPlatform() {
    static QtPlatform p;
    return p;
}

Platform* installed = nullptr;

}  // namespace

Platform& platform() { return installed ? *installed : qtPlatform(); }

Platform* setPlatform(Platform* p) {
    Platform* previous = installed;
    installed = p;
    return previous;
}

}  // namespace tolvane::ui
