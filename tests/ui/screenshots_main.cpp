// tolvane_screenshots [OUTDIR] [NAME...]: renders the registered windows (all,
// or those named) to OUTDIR/<name>.png (default shots/). Boxes a window shows
// while it opens are printed, not shown; modal windows are not opened.
// tolvane_screenshots --check [NAME...]: writes nothing; fails when a window
// shows a panel caption or radio item touching its frame, or a label across
// a bevel's frame (ctest `captions`).
// tolvane_screenshots --contrast [NAME...]: writes nothing; fails when a
// window shows a text that stands out from what is behind it by a contrast
// ratio below 2 (ctest `contrast`). With --dark first (before any other
// argument), the application starts with a dark palette, as a desktop with a
// dark colour scheme gives it.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "support/screens.h"
#include "support/test_databases.h"
#include "ui/fonts.h"
#include "ui/testing/driver.h"
#include "ui/testing/screenshots.h"
#include "ui/testing/test_platform.h"

namespace shots = tolvane::ui::screenshots;
using namespace tolvane::ui;

std::vector<shots::Entry>& shots::registry() {
    static std::vector<Entry> r;
    return r;
}

namespace {

class NoModal : public ModalHook {
public:
    void runModal(Form& f) override {
        std::fprintf(stderr, "  (modal window %s not opened)\n", qPrintable(f.name()));
    }
};

// The client area under a title strip holding the caption.
QImage withTitle(const QImage& client, const QString& caption) {
    const int strip = 26;
    QImage out(client.width(), client.height() + strip, QImage::Format_RGB32);
    out.fill(QColor(60, 90, 150));
    QPainter p(&out);
    p.setPen(Qt::white);
    p.setFont(windowFont(14, true));
    p.drawText(QRect(8, 0, client.width() - 16, strip), Qt::AlignVCenter | Qt::AlignLeft, caption);
    // Pixel for pixel, also from a screen scaled by two.
    QImage pixels = client;
    pixels.setDevicePixelRatio(1);
    p.drawImage(0, strip, pixels);
    return out;
}

// The least contrast a text may have with what is behind it. The windows'
// own colour pairs stay above it (the lowest, the memo viewer's month
// toggles, about 2.2); light text on their light backgrounds (white on light
// blue is about 1.4) falls below.
constexpr double kMinContrast = 2.0;

// A dark desktop colour scheme's palette (light text on dark grey).
QPalette darkDesktopPalette() {
    QPalette p;
    const QColor window(49, 54, 59), view(35, 38, 41), text(239, 240, 241), off(110, 113, 115);
    for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = g == QPalette::Disabled;
        p.setColor(g, QPalette::Window, window);
        p.setColor(g, QPalette::Button, window);
        p.setColor(g, QPalette::Base, view);
        p.setColor(g, QPalette::AlternateBase, window);
        for (auto r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
            p.setColor(g, r, disabled ? off : text);
        p.setColor(g, QPalette::ToolTipBase, window);
        p.setColor(g, QPalette::Highlight, QColor(61, 174, 233));
        p.setColor(g, QPalette::HighlightedText, QColor(252, 252, 252));
        p.setColor(g, QPalette::Light, QColor(64, 70, 76));
        p.setColor(g, QPalette::Midlight, QColor(57, 62, 68));
        p.setColor(g, QPalette::Mid, QColor(37, 41, 44));
        p.setColor(g, QPalette::Dark, QColor(26, 28, 30));
        p.setColor(g, QPalette::Shadow, QColor(16, 17, 18));
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    tolvane::test::prepareFirebirdEnvironment();
    tolvane::test::OffscreenScreen screen(argc, argv);
    QApplication app(screen.argc, screen.argv);
    installFontSubstitutions();

    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args.first() == QStringLiteral("--dark")) {
        args.removeFirst();
        QApplication::setPalette(darkDesktopPalette());
    }
    const bool contrast = !args.isEmpty() && args.first() == QStringLiteral("--contrast");
    if (contrast) {
        args.removeFirst();
        // What the desktop's scheme (or --dark) gives before any window is made.
        const QPalette desktop = QApplication::palette();
        std::fprintf(stderr, "desktop palette: window %s, text %s\n",
                     qPrintable(desktop.color(QPalette::Window).name()),
                     qPrintable(desktop.color(QPalette::WindowText).name()));
    }
    const bool check = contrast || (!args.isEmpty() && args.first() == QStringLiteral("--check"));
    if (check && !contrast) args.removeFirst();
    const QString outDir =
        check ? QString() : QDir(args.isEmpty() ? QStringLiteral("shots") : args.takeFirst()).absolutePath();
    if (!check) QDir().mkpath(outDir);

    tolvane::test::TempDatabases data;
    tolvane::test::ScopedCurrentDir cd(data.dir());
    testing::TestPlatform platform;
    setPlatform(&platform);
    NoModal noModal;
    setModalHook(&noModal);
    Form owner(nullptr, QStringLiteral("ScreenshotOwner"));

    int written = 0, failed = 0;
    for (const auto& e : shots::registry()) {
        if (!args.isEmpty() && !args.contains(e.name)) continue;
        std::fprintf(stderr, "%s\n", qPrintable(e.name));
        std::unique_ptr<Form> f;
        try {
            f = e.build({data.dir(), &owner});
        } catch (const std::exception& ex) {
            std::fprintf(stderr, "  building failed: %s\n", ex.what());
            ++failed;
            continue;
        }
        f->showMain(false);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        for (const auto& b : platform.boxes)
            std::fprintf(stderr, "  %s box: %s\n",
                         b.kind == testing::ShownBox::Kind::Error ? "error" : "message",
                         qPrintable(b.text));
        platform.boxes.clear();
        if (check) {
            const QStringList crowded =
                contrast ? testing::Driver::faintTexts(*f, kMinContrast)
                         : testing::Driver::crowdedCaptions(*f) + testing::Driver::labelsAcrossFrames(*f, 0);
            if (!crowded.isEmpty()) {
                std::fprintf(stderr, "  %s: %s\n", contrast ? "text hard to read" : "text touching its frame",
                             qPrintable(crowded.join(QStringLiteral(", "))));
                ++failed;
            }
            ++written;
            f->close();
            continue;
        }
        const QString file = outDir + QLatin1Char('/') + e.name + QStringLiteral(".png");
        if (withTitle(f->grab().toImage(), f->caption()).save(file)) {
            std::fprintf(stderr, "  -> %s\n", qPrintable(file));
            ++written;
        } else {
            std::fprintf(stderr, "  could not write %s\n", qPrintable(file));
            ++failed;
        }
        f->close();
    }
    setModalHook(nullptr);
    setPlatform(nullptr);
    if (check)
        std::fprintf(stderr, "%d window(s) checked, %d failed\n", written, failed);
    else
        std::fprintf(stderr, "%d window(s) written to %s\n", written, qPrintable(outDir));
    return failed == 0 ? 0 : 1;
}
