// The memo windows with sample memos, for scripts/screenshots.sh.
#include <QPointer>

#include "core/DM_1.h"
#include "imaging/codec.h"
#include "memo/Input_F.h"
#include "memo/Select_F.h"
#include "memo/Show_F.h"
#include "memo/WorkSheet_F.h"
#include "ui/testing/screenshots.h"

namespace {

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

QImage sample(int w, int h, int tint) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(tint, 200 + x * 55 / w, 255 - y * 80 / h));
    return img;
}

void fillSampleMemo(TInputF& w) {
    w.CBox_F1->setText("アジ");
    w.CBox_F2->setEditText("サバ");
    w.CBox_Turi->setEditText("サビキ");
    w.CBox_Basyo->setEditText("東京湾");
    w.Memo1->setText("朝マズメに群れが回ってくる。\r\nコマセはアミエビ、ハリス２号。");
    w.Panel_00Click(w.Panel_4);
    w.Panel_00Click(w.Panel_5);
    w.Image_M->setPicture(tolvane::pictures::Picture::fromBitmap(sample(320, 240, 180)));
    w.Image_P1->setPicture(tolvane::pictures::Picture::fromBitmap(sample(128, 96, 120)));
}

// Sample memos in the viewer's database.
void storeSampleMemos() {
    static bool stored = false;
    if (stored) return;
    stored = true;
    tolvane::db::Query q(DM1->IBDB1, DM1->IBTr1);
    const char* rows[] = {
        "insert into FISH_MEMO (CODE, FISH1, FISH2, BUNRUI, TURI, BASYO, F_MEMO, M1, M2, M3, M4, M5, M6,"
        " M7, M8, M9, M10, M11, M12) values (1, \"アジ\", \"サバ\", \"釣り方\", \"サビキ\", \"東京湾\","
        " \"朝マズメに群れが回ってくる。\", 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0)",
        "insert into FISH_MEMO (CODE, FISH1, BUNRUI, TURI, BASYO, F_MEMO, M1, M2, M3, M4, M5, M6,"
        " M7, M8, M9, M10, M11, M12) values (2, \"メバル\", \"場所\", \"ウキ釣り\", \"相模湾\","
        " \"夜の満ち潮が狙い目。\", 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1)",
        "insert into FISH_MEMO (CODE, FISH1, BUNRUI, TURI, BASYO, F_MEMO, M1, M2, M3, M4, M5, M6,"
        " M7, M8, M9, M10, M11, M12) values (3, \"カワハギ\", \"仕掛け\", \"胴付き\", \"館山\","
        " \"アサリの剥き身で。\", 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0)"};
    for (const char* s : rows) {
        q.close();
        q.sqlClear();
        q.sqlAdd(s);
        q.execQuery();
    }
    // Memo 1 with its map, rig picture and two photos.
    q.close();
    q.sqlClear();
    q.sqlAdd("update FISH_MEMO set F_MAP = :parF_MAP, F_SHIO = :parF_SHIO, F_PHOTO1 = :parF_PHOTO1,"
             " F_PHOTO2 = :parF_PHOTO2 where CODE = 1");
    const std::pair<const char*, QImage> pictures[] = {{"parF_MAP", sample(320, 240, 180)},
                                                       {"parF_SHIO", sample(400, 200, 90)},
                                                       {"parF_PHOTO1", sample(128, 96, 120)},
                                                       {"parF_PHOTO2", sample(160, 120, 40)}};
    for (const auto& [param, img] : pictures)
        q.paramByName(param).setBlob(tolvane::pictures::encodeJpeg(img).toStdString());
    q.execQuery();
    DM1->IBTr1.commitRetaining();
}

TOLVANE_SCREENSHOT("InputF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    auto f = std::make_unique<TInputF>(ctx.owner);
    TInputF* w = f.get();
    auto reset = w->OnShow;
    w->OnShow = [w, reset] {
        reset();
        fillSampleMemo(*w);
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("ShowF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    storeSampleMemos();
    auto f = std::make_unique<TShowF>(ctx.owner);
    ShowF = f.get();
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("SelectF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    auto f = std::make_unique<TSelectF>(ctx.owner);
    TSelectF* w = f.get();
    auto init = w->OnShow;
    w->OnShow = [w, init] {
        init();
        w->CheckBox3->setChecked(true);
        w->SBtn030->setDown(false);
        w->SBtn000Click(w->SBtn030);
        w->SBtn040->setDown(false);
        w->SBtn000Click(w->SBtn040);
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("WorkSheetF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    storeSampleMemos();
    // The sheet lists the cursor of a viewer, which stays for the run. The
    // owner frees the viewer with its other children at the end of the run.
    static QPointer<TShowF> viewer;
    delete viewer.data();
    viewer = new TShowF(ctx.owner);
    ShowF = viewer.data();
    viewer->FormShow();
    return std::unique_ptr<tolvane::ui::Form>(std::make_unique<TWorkSheetF>(viewer.data()));
});

}  // namespace
