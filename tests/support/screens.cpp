#include "support/screens.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdlib>
#include <unistd.h>

namespace tolvane::test {

OffscreenScreen::OffscreenScreen(int argc0, char** argv0) {
    for (int i = 0; i < argc0; ++i) args_.emplace_back(argv0[i]);
    const auto done = [this] {
        for (QByteArray& a : args_) argv_.push_back(a.data());
        argv_.push_back(nullptr);
        argc = int(args_.size());
        argv = argv_.data();
    };
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || QByteArray(platform) != "offscreen") {
        done();
        return;
    }
    int width = 1920, height = 1200;
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$"))
                                          .match(QString::fromLocal8Bit(std::getenv("TOLVANE_TEST_SCREEN")));
    if (m.hasMatch()) {
        width = m.captured(1).toInt();
        height = m.captured(2).toInt();
    }
    file_ = QDir::tempPath() + QStringLiteral("/tolvane-screen-%1.json").arg(::getpid());
    QFile f(file_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file_.clear();
        done();
        return;
    }
    f.write(QStringLiteral("{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, \"width\": %1, "
                           "\"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                .arg(width)
                .arg(height)
                .toUtf8());
    f.close();
    args_.emplace_back("-platform");
    args_.emplace_back("offscreen:configfile=" + QFile::encodeName(file_));
    done();
}

OffscreenScreen::~OffscreenScreen() {
    if (!file_.isEmpty()) QFile::remove(file_);
}

}  // namespace tolvane::test
