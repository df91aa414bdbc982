#include "ui/testing/test_platform.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace tolvane::ui::testing {

namespace {
QString ownerName(QWidget* owner) {
    return owner != nullptr ? owner->window()->objectName() : QString();
}

class FakeProcess : public Process {
public:
    explicit FakeProcess(FakeProgram p) : p_(std::move(p)) {}
    bool running() override {
        if (ended_) return false;
        if (p_.pollsWhileRunning > 0) {
            --p_.pollsWhileRunning;
            return true;
        }
        ended_ = true;
        if (p_.onExit) p_.onExit();
        return false;
    }

private:
    FakeProgram p_;
    bool ended_ = false;
};
}  // namespace

void TestPlatform::messageBox(QWidget* owner, const QString& text) {
    boxes.push_back({ShownBox::Kind::Message, text, ownerName(owner)});
    if (realBoxes) execBox(owner, BoxKind::Message, text, answerBox);
}

void TestPlatform::errorBox(QWidget* owner, const QString& text) {
    boxes.push_back({ShownBox::Kind::Error, withFullStop(text), ownerName(owner)});
    if (realBoxes) execBox(owner, BoxKind::Error, text, answerBox);
}

QString TestPlatform::openPictureFile(QWidget*, const QStringList& filters) {
    lastPictureFilters = filters;
    if (pictureFileAnswers.empty()) {
        if (onUnscripted) onUnscripted(QStringLiteral("a picture-open dialog with no answer scripted"));
        return QString();
    }
    QString answer = pictureFileAnswers.front();
    pictureFileAnswers.pop_front();
    return answer;
}

std::unique_ptr<Process> TestPlatform::startProcess(const QString& program) {
    startedPrograms << program;
    if (programs.empty()) {
        if (onUnscripted) onUnscripted(QStringLiteral("a process start with no program scripted: ") + program);
        return nullptr;
    }
    FakeProgram p = programs.front();
    programs.pop_front();
    if (!p.program.isEmpty() && p.program != program && onUnscripted)
        onUnscripted(QStringLiteral("started ") + program + QStringLiteral(", expected ") + p.program);
    if (p.startFails) return nullptr;
    return std::make_unique<FakeProcess>(std::move(p));
}

QString TestPlatform::currentDirFile(const QString& name) {
    return QDir::currentPath() + QLatin1Char('/') + name;
}

bool TestPlatform::fileExists(const QString& path) { return QFileInfo(path).isFile(); }

}  // namespace tolvane::ui::testing
