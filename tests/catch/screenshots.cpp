// The catch entry window with a trip typed in, and the pick list, for
// scripts/screenshots.sh.
#include "catch/Data_Sel_F.h"
#include "catch/Fish_Data_IN.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "imaging/picture.h"
#include "ui/testing/screenshots.h"

namespace {

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

QImage sampleChart(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(200 + x * 55 / w, 230, 255 - y * 80 / h));
    return img;
}

void fillSampleTrip(TFishDataIn& w) {
    w.Edit_Day->setText("2024/03/05");
    w.Edit_Tenki->setText("晴れ");
    w.Edit_Basyo->setText("東京湾");
    w.Edit_Fune->setText("第一丸");
    w.CBox_Shio->setText("大潮");
    w.Edit_Shio_Kijyun->setText("東京");
    w.Edit_Old_Day->setText("１月２５日");
    w.Edit_Max_T1->setText("5");
    w.Edit_Max_T1_2->setText("07");
    w.Edit_Max_H1->setText("182");
    w.Edit_Min_T1->setText("11");
    w.Edit_Min_T1_2->setText("45");
    w.Edit_Min_H1->setText("35");
    w.Edit_F1->setText("アジ");
    w.Edit_F1_Max->setText("32");
    w.Edit_F1_Min->setText("18");
    w.Edit_F1_kazu->setText("25");
    w.Edit_F2->setText("サバ");
    w.Edit_F2_Max->setText("40");
    w.Edit_F2_Min->setText("28");
    w.Edit_F2_kazu->setText("6");
    w.Memo_Shikake->setText("サビキ仕掛け　ハリス２号\r\nコマセはアミエビ");
    w.Memo_Cyouka->setText("朝マズメに群れが回ってきた。\r\n潮止まりで食いが落ちた。");
}

TOLVANE_SCREENSHOT("FishDataIn", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    ShioMode = 1;
    auto f = std::make_unique<TFishDataIn>(ctx.owner);
    TFishDataIn* w = f.get();
    auto reset = w->OnShow;
    w->OnShow = [w, reset] {
        reset();
        fillSampleTrip(*w);
        w->Image_Shio->setPicture(tolvane::pictures::Picture::fromBitmap(sampleChart(320, 240)));
        ShioTimeRects = {100, 60, 180, 380, 180, 120, 60, 300};
        w->PlaceTimeShapes();
        w->Image_A->setPicture(tolvane::pictures::Picture::fromBitmap(sampleChart(96, 72)));
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("Data_Sel", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    SelKind = "SAKANA";
    auto f = std::make_unique<TData_Sel>(ctx.owner);
    TData_Sel* w = f.get();
    auto fill = w->OnShow;
    w->OnShow = [w, fill] {
        fill();
        w->ListBox1->clearItems();
        for (const char* name : {"アジ", "イサキ", "イワシ", "カサゴ", "カワハギ", "サバ", "シロギス",
                                 "スズキ", "タチウオ", "マダイ", "メジナ", "メバル"})
            w->ListBox1->addItem(QString::fromUtf8(name));
        w->ListBox1->setItemIndex(0);
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

}  // namespace
