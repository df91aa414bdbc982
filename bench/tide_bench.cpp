// A band of the band-and-circle tide editor dragged across a 4000 x 3000
// chart: each step is one mouse move on the band and the repaint it causes.
// Prints the median and the slowest step in milliseconds; the target is
// <= 5 ms a step.
//
//   tolvane_bench_tide [moves]   (default 400)
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/DM_1.h"
#include "tide/New_Shio_In_F.h"
#include "db/fb.h"

namespace {

QImage chart(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) row[x] = qRgb(x * 255 / w, y * 255 / h, (x ^ y) & 0xFF);
    }
    return img;
}

void moveOn(QWidget* w, QPoint at) {
    QMouseEvent e(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

int main(int argc, char** argv) {
    tolvane::db::settleEnvironment();   // before the first thread, as the program does
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int moves = argc > 1 ? std::max(10, std::atoi(argv[1])) : 400;
    createDataModule();
    {
        TNew_Shio_InF f(nullptr);
        f.show();
        QApplication::processEvents();
        QApplication::clipboard()->setImage(chart(4000, 3000));
        f.Btn_InClick();
        f.Btn_TimeClick();
        f.S_Btn_XX_Click(f.S_Btn_1);
        QApplication::processEvents();

        tolvane::ui::Shape* band = f.Shape_1;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), band->mapToGlobal(QPointF(10, 10)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(band, &press);

        const int span = std::max(50, f.Image_S->width() - band->width());
        std::vector<double> ms;
        ms.reserve(std::size_t(moves));
        for (int i = 0; i < moves; ++i) {
            const int step = (i / span) % 2 == 0 ? 1 + i % span : span - i % span;
            const QPoint at(10 + 16 + step - band->left(), 10);
            const auto t0 = std::chrono::steady_clock::now();
            moveOn(band, at);
            QApplication::processEvents();
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("band drag over a 4000 x 3000 chart (window %d x %d, picture area %d x %d), %d moves:\n",
                    f.width(), f.height(), f.Image_S->width(), f.Image_S->height(), moves);
        std::printf("  median %.3f ms, slowest %.3f ms per move and repaint (target <= 5 ms)\n",
                    ms[ms.size() / 2], ms.back());
    }
    freeDataModule();
    return 0;
}
