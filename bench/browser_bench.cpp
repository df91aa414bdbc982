// Catch browser benchmark on the generated catch database (bench_data.h),
// offscreen, against the bare ISC fetch loop of the same run:
//   (1) open: construct, show handler, first paint;
//   (2) the refresh on a record without pictures;
//   (3) a fish search with its count;
//   (4) the list sheet to its first paint;
//   (5) 100 painted moves among the records with pictures, interleaved with
//       six bare libjpeg decodes of the same blobs per move; moves without
//       pictures;
//   (6) memory: peak, while browsing, from 100 to 1,000 moves (measured
//       before the bare decodes, whose buffers would count otherwise).
// Figures vary with the load of the machine; the ratios are taken in the
// same run.
//
//   tolvane_bench_browser [--regenerate] [DIR]
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bare_jpeg.h"
#include "bench_data.h"
#include "catch/Fishdata_F.h"
#include "catch/Kensaku_F.h"
#include "catch/WorkSheet_F2.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "ui/form.h"

using namespace benchdata;

namespace {

// Answers the search dialog (a fish) and the list sheet (painted, then "戻　る").
struct Answers : tolvane::ui::ModalHook {
    QString fish = QStringLiteral("アジ");
    void runModal(tolvane::ui::Form& f) override {
        f.openWindow();
        if (auto* k = dynamic_cast<TKensakuF*>(&f)) {
            k->C_Box_Fish->setChecked(true);
            const int i = k->CBox_Fish->findText(fish);
            k->CBox_Fish->setCurrentIndex(i);
            emit k->CBox_Fish->activated(i);
            k->Btn_Kensaku_GoClick();
        } else if (auto* s = dynamic_cast<TWorkSheetF2*>(&f)) {
            s->repaint();
            s->Btn_CloseClick();
        }
        f.close();
    }
};

const int kPattern[] = {1, 10, -1, -10, 10, 1, -10, -1};

}  // namespace

int main(int argc, char** argv) {
    prepareFirebirdEnvironment();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    bool regenerate = false;
    fs::path dir = TOLVANE_BENCH_DATA_DIR;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--regenerate") == 0) regenerate = true;
        else dir = argv[i];
    }
    const fs::path file = ensureDatabase(dir, regenerate);
    fs::current_path(dir);   // the data module finds SORVENDA.FDB here

    QApplication app(argc, argv);
    createDataModule();
    Answers answers;
    tolvane::ui::setModalHook(&answers);
    DataMode = OLD_Flg;
    FuneWord = QStringLiteral("船");

    DM1->IBTr2.ensureStarted();
    auto* dbh = static_cast<isc_db_handle*>(DM1->IBDB2.handle());
    auto* trh = static_cast<isc_tr_handle*>(DM1->IBTr2.handle());
    std::printf("database %s (%.0f MB)\n", file.c_str(), static_cast<double>(fs::file_size(file)) / (1 << 20));
    resetPeakRss();

    constexpr int kRuns = 7;
    std::vector<double> bare;
    bareFetch(dbh, trh);   // warm the page cache
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = Clock::now();
        bareFetch(dbh, trh);
        bare.push_back(msSince(t0));
    }
    const double bareMs = median(bare);
    std::printf("\nbare ISC fetch loop of \"%s\": %.2f ms (median of %d)\n", kSelect, bareMs, kRuns);
    auto ratio = [&](const char* what, double ms, double target) {
        std::printf("%-52s %8.2f ms  %5.2fx  (target <= %.1fx)\n", what, ms, ms / bareMs, target);
    };

    // (1) -------------------------------------------------------------------
    std::vector<double> opens;
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = Clock::now();
        {
            TFishdataF w(nullptr);
            w.openWindow();
            w.repaint();
            opens.push_back(msSince(t0));
            w.close();
        }
    }
    std::printf("\n");
    ratio("(1) open: construct, show handler, first paint", median(opens), 1.3);

    auto browser = std::make_unique<TFishdataF>(nullptr);
    TFishdataF& w = *browser;
    w.openWindow();
    w.repaint();
    const double rssShown = statusMb("VmRSS:");

    // (2) -------------------------------------------------------------------
    std::vector<double> refreshes;
    w.IBSQL_2.setRecNo(99);   // record 100: no pictures
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = Clock::now();
        w.Btn_NoClick();
        w.repaint();
        refreshes.push_back(msSince(t0));
    }
    ratio("(2) refresh on a record without pictures", median(refreshes), 1.3);

    // (3) -------------------------------------------------------------------
    std::vector<double> searches;
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = Clock::now();
        w.Btn_KensakuClick();
        w.repaint();
        searches.push_back(msSince(t0));
    }
    ratio("(3) fish search with its count", median(searches), 1.0);
    std::printf("    %s %s\n", w.Label_Hit->caption().toUtf8().constData(),
                w.Label_HitN->caption().toUtf8().constData());
    w.Btn_All_ShowClick();

    // (4) -------------------------------------------------------------------
    std::vector<double> sheets;
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = Clock::now();
        w.Btn_worksheetClick();
        sheets.push_back(msSince(t0));
    }
    ratio("(4) list sheet to its first paint (and back)", median(sheets), 0.5);

    // (5) -------------------------------------------------------------------
    auto move = [&](int step) {
        switch (step) {
        case 1: w.Btn_NextClick(); break;
        case -1: w.Btn_PriorClick(); break;
        case 10: w.Btn_U_10Click(); break;
        default: w.Btn_D_10Click(); break;
        }
        w.repaint();
    };
    const int photoMiddle = kPhotoFirst - 1 + 500;
    w.IBSQL_2.setRecNo(2000);
    w.Btn_NoClick();
    auto t0 = Clock::now();
    for (int i = 0; i < 100; ++i) move(kPattern[i % 8]);
    const double plainMoves = msSince(t0);

    // (6) -------------------------------------------------------------------
    w.IBSQL_2.setRecNo(photoMiddle);
    w.Btn_NoClick();
    double rssAt100 = 0, rssMax = statusMb("VmRSS:");
    for (int i = 0; i < 1000; ++i) {
        move(kPattern[i % 8]);
        const double rss = statusMb("VmRSS:");
        rssMax = std::max(rssMax, rss);
        if (i == 99) rssAt100 = rss;
    }
    const double rssAt1000 = statusMb("VmRSS:");
    std::printf("\n(6) RSS after the first show %.1f MB; highest while browsing %.1f MB (+%.1f, target <= +64)\n",
                rssShown, rssMax, rssMax - rssShown);
    std::printf("    after 100 moves %.1f MB, after 1,000 %.1f MB (growth %.1f, target <= 8)\n", rssAt100,
                rssAt1000, rssAt1000 - rssAt100);
    std::printf("    peak RSS of the run %.1f MB (target <= 160)\n", statusMb("VmHWM:"));

    // (5) Painted moves among the records with pictures, each beside the
    // same row's six blobs decoded by bare libjpeg into images kept until the
    // next move (blobs read by a query of their own, not timed); the two
    // interleaved, so both see the same load of the machine.
    double photoMoves = 0, bareDecodes = 0;
    {
        w.IBSQL_2.setRecNo(photoMiddle);
        w.Btn_NoClick();
        tolvane::db::Query q(DM1->IBDB2, DM1->IBTr2);
        q.sqlAdd(kSelect);
        q.open();
        q.setRecNo(photoMiddle);
        std::vector<std::unique_ptr<unsigned char[]>> kept;
        for (int i = 0; i < 100; ++i) {
            t0 = Clock::now();
            move(kPattern[i % 8]);
            photoMoves += msSince(t0);
            q.moveBy(kPattern[i % 8]);
            std::vector<std::string> six;
            for (const char* c : {"SHIO_ZU", "CHIZU", "PHOTO1", "PHOTO2", "PHOTO3", "PHOTO4"})
                six.push_back(q.fieldByName(c).asBytes());
            t0 = Clock::now();
            std::vector<std::unique_ptr<unsigned char[]>> images;
            for (const auto& b : six) images.push_back(benchcommon::bareJpegDecode(b));
            kept = std::move(images);
            bareDecodes += msSince(t0);
            if (i == 99) {   // the last row's six blobs again, hot: our decoder beside bare libjpeg
                double ourMs = 0, bareMs2 = 0;
                for (int k = 0; k < 10; ++k) {
                    auto c0 = Clock::now();
                    for (const auto& b : six) tolvane::pictures::decodeJpeg(QByteArray(b.data(), qsizetype(b.size())));
                    ourMs += msSince(c0);
                    c0 = Clock::now();
                    for (const auto& b : six) benchcommon::bareJpegDecode(b);
                    bareMs2 += msSince(c0);
                }
                std::printf("\n    the last row's six blobs decoded hot, mean of 10: ours %.2f ms, bare %.2f ms;"
                            " blob sizes", ourMs / 10, bareMs2 / 10);
                for (const auto& b : six) std::printf(" %zu", b.size());
                std::printf("\n");
            }
        }
    }
    std::printf("\n(5) 100 painted moves among records with pictures: %.2f ms a move\n", photoMoves / 100);
    std::printf("    six bare libjpeg decodes of the same blobs:     %.2f ms a move\n", bareDecodes / 100);
    std::printf("    ratio %.2fx  (target <= 1.5x)\n", photoMoves / bareDecodes);
    std::printf("    100 painted moves without pictures: %.3f ms a move  (target <= 5 ms)\n", plainMoves / 100);

    browser.reset();
    tolvane::ui::setModalHook(nullptr);
    freeDataModule();
    return 0;
}
