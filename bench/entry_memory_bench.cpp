// Memory of the catch entry window with four 12-megapixel photos, as the
// user loads them (picture-open dialog answered by the benchmark), and the
// peak of the save that stores them. Prints resident set sizes in MB beside
// the window without photos; targets: <= 110 MB with the photos, <= 130 MB
// peak at the save. Also one 100-megapixel photo (the largest taken).
//
//   tolvane_bench_entry_memory      (run in any platform: offscreen or Xvfb)
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "catch/Fish_Data_IN.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "imaging/codec.h"
#include "ui/platform.h"
#include "db/fb.h"

using namespace tolvane;

namespace {

// VmRSS or VmHWM of this process, in MB.
double statusMb(const char* key) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::strlen(key)) / 1024.0;
    return -1;
}
double rssMb() { return statusMb("VmRSS:"); }
double peakMb() { return statusMb("VmHWM:"); }
// Starts a new peak from the present size.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Something like a photograph: shading with noise, so the file is of a
// camera's size.
QByteArray cameraPhoto(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB888);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-10, 10);
    for (int y = 0; y < h; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int base = x * 200 / w + y * 55 / h;
            row[3 * x] = uchar(std::clamp(base + noise(rng), 0, 255));
            row[3 * x + 1] = uchar(std::clamp(255 - base + noise(rng), 0, 255));
            row[3 * x + 2] = uchar((x / 7 ^ y / 5) & 0x7F);
        }
    }
    return pictures::encodeJpeg(img);
}

// The Qt platform, with the picture-open dialog answered and boxes counted.
class BenchPlatform : public ui::Platform {
public:
    explicit BenchPlatform(ui::Platform& qt) : qt_(qt) {}
    QString nextFile;
    QStringList messages;
    void messageBox(QWidget*, const QString& text) override { messages << text; }
    void errorBox(QWidget*, const QString& text) override { messages << text; }
    QString openPictureFile(QWidget*, const QStringList&) override { return nextFile; }
    bool clipboardHasBitmap() override { return qt_.clipboardHasBitmap(); }
    QImage clipboardBitmap() override { return qt_.clipboardBitmap(); }
    bool clipboardHasPicture() override { return qt_.clipboardHasPicture(); }
    QImage clipboardPicture() override { return qt_.clipboardPicture(); }
    void clipboardSetBitmap(const QImage& i) override { qt_.clipboardSetBitmap(i); }
    void clipboardClear() override { qt_.clipboardClear(); }
    std::unique_ptr<ui::Process> startProcess(const QString& p) override { return qt_.startProcess(p); }
    QString currentDirFile(const QString& n) override { return qt_.currentDirFile(n); }
    bool fileExists(const QString& p) override { return qt_.fileExists(p); }
    QString version() override { return qt_.version(); }

private:
    ui::Platform& qt_;
};

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    tolvane::db::settleEnvironment();   // before the first thread, as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const std::string create = "bash '" TOLVANE_SOURCE_DIR "/scripts/create-databases.sh' '" +
                               dir.path().toStdString() + "' >/dev/null";
    if (std::system(create.c_str()) != 0) {
        std::fprintf(stderr, "cannot create the databases\n");
        return 1;
    }
    QDir::setCurrent(dir.path());
    QStringList files;
    for (unsigned i = 0; i < 4; ++i) {
        const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i + 1));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(cameraPhoto(4000, 3000, 7 + i));
        files << path;
    }

    const QString big = dir.filePath(QStringLiteral("big.jpg"));
    {
        QFile f(big);
        f.open(QIODevice::WriteOnly);
        f.write(cameraPhoto(10000, 10000, 3));   // 100 megapixels, the largest taken
    }

    BenchPlatform platform(ui::platform());
    ui::setPlatform(&platform);
    createDataModule();
    DataMode = NEW_Flg;
    {
        TFishDataIn w(nullptr);
        w.showMain();
        settle();
        const double empty = rssMb();

        ui::Image* photos[] = {w.Image_A, w.Image_B, w.Image_C, w.Image_D};
        resetPeak();
        for (int i = 0; i < 4; ++i) {
            platform.nextFile = files[i];
            w.Image_Photo_DblClick(photos[i]);
            w.repaint();
            settle();
        }
        const double loaded = rssMb();
        const double loadPeak = peakMb();

        w.Edit_Basyo->setText(QStringLiteral("城ヶ島"));
        w.Edit_F1->setText(QStringLiteral("アジ"));
        resetPeak();
        w.Btn_New_YesClick();
        const double savePeak = peakMb();
        settle();
        const bool stored = platform.messages.contains(QStringLiteral("入力完了"));

        // After the save the window is empty again: one 100-MP photo.
        resetPeak();
        platform.nextFile = big;
        w.Image_Photo_DblClick(w.Image_A);
        w.repaint();
        settle();
        const double bigLoaded = rssMb();
        const double bigPeak = peakMb();

        std::printf("entry window, no photos            RSS %7.1f MB\n", empty);
        std::printf("entry window, four 12-MP photos    RSS %7.1f MB  (target <= 110)  peak while loading %.1f MB\n",
                    loaded, loadPeak);
        std::printf("save of the record with the photos peak %6.1f MB  (target <= 130)%s\n", savePeak,
                    stored ? "" : "  [NOT STORED]");
        std::printf("entry window, one 100-MP photo     RSS %7.1f MB  peak while loading %.1f MB (its full decode)\n",
                    bigLoaded, bigPeak);
    }
    freeDataModule();
    ui::setPlatform(nullptr);
    return 0;
}
