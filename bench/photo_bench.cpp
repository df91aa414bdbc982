// The photo windows on a 4000 x 3000 photo, against one bare libjpeg decode
// of the same photo in the same run (median of the runs):
//   - LoadRecordPhotos of a record holding it: target <= 1.15 x;
//   - enlarging it in the four-photo window, repaint included: <= 0.10 x;
//   - the enlarged map opened on a map its owner shows, to its first paint:
//     <= 0.25 x.
//
//   tolvane_bench_photo [runs]   (default 7)
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

#include "bare_jpeg.h"
#include "bench_common.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "db/fb.h"
#include "photo/Map_F.h"
#include "photo/Photo_Big_F.h"
#include "imaging/codec.h"
#include "pictures/storage.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"

namespace fs = std::filesystem;
using namespace tolvane;

namespace {

// Bare libjpeg decode: full size, RGB, islow, fancy upsampling, smoothing.
std::size_t bareDecode(const QByteArray& jpeg) {
    return benchcommon::bareJpegDecodeTo<std::vector<unsigned char>>(
               reinterpret_cast<const unsigned char*>(jpeg.constData()), std::size_t(jpeg.size()))
        .size();
}

double millis(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The catch browser as the photo windows read it.
struct Browser : ui::Form {
    Browser() : Form(nullptr, "FishdataF") {
        setClientSize(400, 300);
        Edit_No = new ui::Edit(this, "Edit_No", 8, 8, 80);
        Image_Map = new ui::Image(this, "Image_Map", 8, 40, 334, 250);
        Image_Map->setProportional(true);
        Image_Map->setCenter(true);
    }
    ui::Edit* Edit_No;
    ui::Image* Image_Map;
};

}  // namespace

int main(int argc, char** argv) {
    tolvane::db::settleEnvironment();   // before the first thread, as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    // Fresh files in a directory of their own, the current one while we run.
    const fs::path dir = fs::temp_directory_path() / ("tolvane-bench-photo-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string cmd = "bash '" + (fs::path(TOLVANE_SOURCE_DIR) / "scripts/create-databases.sh").string() +
                            "' '" + dir.string() + "' >/dev/null";
    if (std::system(cmd.c_str()) != 0) {
        std::fprintf(stderr, "creating the databases failed: %s\n", cmd.c_str());
        return 1;
    }
    fs::current_path(dir);
    createDataModule();

    const QByteArray jpeg = pictures::encodeJpeg(benchcommon::samplePhoto(4000, 3000));
    {
        db::Query q(DM1->IBDB2, DM1->IBTr2);
        q.sqlAdd("insert into FISH_DATA (CODENO, PHOTO1, CHIZU) values (1, :parP, :parP)");
        q.paramByName("parP").setBlob(std::string_view(jpeg.constData(), std::size_t(jpeg.size())));
        q.execQuery();
        DM1->IBTr2.commitRetaining();
    }

    Browser browser;
    browser.Edit_No->setText("1");
    browser.Image_Map->setPicture(pictures::decodeJpegOnly(jpeg));   // as the browser shows it
    browser.show();
    TPhoto_BigF four(&browser);
    four.openWindow();
    QApplication::processEvents();

    std::vector<double> bare, load, zoom, map;
    volatile std::size_t sink = bareDecode(jpeg);
    for (int r = 0; r < runs; ++r) {
        bare.push_back(millis([&] { sink = sink + bareDecode(jpeg); }));
        load.push_back(millis([&] { four.LoadRecordPhotos(); }));
        four.repaint();
        // Enlarge and back: each with the repaint it causes.
        zoom.push_back(millis([&] {
            four.Image_AADblClick();
            four.repaint();
        }));
        zoom.push_back(millis([&] {
            four.Image_AADblClick();
            four.repaint();
        }));
        map.push_back(millis([&] {
            TMapF m(&browser);
            m.openWindow();
            m.repaint();
            m.close();
        }));
    }
    four.close();
    freeDataModule();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);

    const double b = median(bare);
    struct Row { const char* what; double ms; double target; };
    const Row rows[] = {{"LoadRecordPhotos", median(load), 1.15},
                        {"zoom + repaint", median(zoom), 0.10},
                        {"enlarged map, first paint", median(map), 0.25}};
    std::printf("bare libjpeg decode of 4000x3000: %.2f ms\n", b);
    std::printf("%-28s %10s %8s %8s\n", "operation", "ms", "ratio", "target");
    bool within = true;
    for (const Row& r : rows) {
        const double ratio = r.ms / b;
        within = within && ratio <= r.target;
        std::printf("%-28s %10.2f %8.3f %8.2f\n", r.what, r.ms, ratio, r.target);
    }
    std::printf(within ? "all within their targets\n" : "NOT all within their targets\n");
    return 0;
}
