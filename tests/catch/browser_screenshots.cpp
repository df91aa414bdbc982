// The catch browser on a few sample trips, its list sheet and the search
// dialog with conditions chosen, for scripts/screenshots.sh.
#include "catch/Fishdata_F.h"
#include "catch/Kensaku_F.h"
#include "catch/WorkSheet_F2.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "imaging/codec.h"
#include "ui/testing/screenshots.h"

namespace {

QImage sample(int w, int h, int tint) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(120 + x * 100 / w, 180 + tint, 255 - y * 120 / h));
    return img;
}

// Sample trips, stored once in the sample catch file.
void ensureTrips() {
    if (DM1 == nullptr) createDataModule();
    tolvane::db::Query q(DM1->IBDB2, DM1->IBTr2);
    q.sqlAdd("select count(*) from FISH_DATA where CODENO >= 9001");
    q.open();
    if (q.fields(0).asInteger() > 0) return;
    const char* trips[][7] = {{"2024/03/15", "晴れ", "東京湾", "第一丸", "アジ", "サバ", "大潮"},
                              {"2024/04/02", "曇り", "相模湾", "第二丸", "マダイ", "", "中潮"},
                              {"2024/05/20", "晴れ", "東京湾", "第一丸", "アジ", "イサキ", "小潮"}};
    for (int i = 0; i < 3; ++i) {
        q.close();
        q.sqlClear();
        q.sqlAdd(
            "insert into FISH_DATA (CODENO, DAY_DATA, TENNKI, BASYO, FUNE, FISH1, FISH2, SHIO, KIJYUNN,"
            " MAX1, MAX1_HIGHT, MIN1, MIN1_LOW, FISH1_MAX, FISH1_MIN, FISH1_KAZU, SHIKAKE, BIKOU,"
            " SHIO_ZU, CHIZU, PHOTO1, PHOTO3, TIME1_L, TIME1_T, TIME1_W, TIME1_H, TIME2_L, TIME2_T,"
            " TIME2_W, TIME2_H) values (:parNo, :parDay, :parTenki, :parBasyo, :parFune, :parF1,"
            " :parF2, :parShio, '東京', '05:07', 182, '11:45', 35, 32, 18, 25, :parShikake, :parBikou,"
            " :parChart, :parMap, :parP1, :parP3, 120, 60, 180, 380, 330, 120, 60, 300)");
        q.paramByName("parNo").setInteger(9001 + i);
        q.paramByName("parDay").setString(trips[i][0]);
        q.paramByName("parTenki").setString(trips[i][1]);
        q.paramByName("parBasyo").setString(trips[i][2]);
        q.paramByName("parFune").setString(trips[i][3]);
        q.paramByName("parF1").setString(trips[i][4]);
        if (*trips[i][5]) q.paramByName("parF2").setString(trips[i][5]);
        q.paramByName("parShio").setString(trips[i][6]);
        q.paramByName("parShikake").setTextBlob("サビキ仕掛け　ハリス２号\r\nコマセはアミエビ");
        q.paramByName("parBikou").setTextBlob("朝マズメに群れが回ってきた。\r\n潮止まりで食いが落ちた。");
        auto blob = [&](const char* p, const QImage& img) {
            const QByteArray b = tolvane::pictures::encodeJpeg(img);
            q.paramByName(p).setBlob(std::string_view(b.constData(), static_cast<size_t>(b.size())));
        };
        blob("parChart", sample(640, 480, 0));
        blob("parMap", sample(640, 480, 40));
        blob("parP1", sample(320, 240, 20));
        blob("parP3", sample(320, 240, 60));
        q.execQuery();
    }
    DM1->IBTr2.commitRetaining();
}

TOLVANE_SCREENSHOT("FishdataF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureTrips();
    DataMode = OLD_Flg;
    FuneWord = QStringLiteral("船");
    return std::unique_ptr<tolvane::ui::Form>(std::make_unique<TFishdataF>(ctx.owner));
});

TOLVANE_SCREENSHOT("WorkSheetF2", [](const tolvane::ui::screenshots::Context&) {
    ensureTrips();
    // The sheet shows its owner's cursor: a browser, never shown, holds it.
    static TFishdataF* browser = nullptr;   // kept to the end of the program
    if (browser == nullptr) browser = new TFishdataF(nullptr);
    browser->FormShow();
    return std::unique_ptr<tolvane::ui::Form>(std::make_unique<TWorkSheetF2>(browser));
});

TOLVANE_SCREENSHOT("KensakuF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureTrips();
    auto f = std::make_unique<TKensakuF>(ctx.owner);
    TKensakuF* w = f.get();
    auto show = w->OnShow;
    w->OnShow = [w, show] {
        show();
        w->C_Box_Fish->setChecked(true);
        w->CBox_Fish->setText(QStringLiteral("アジ"));
        SearchFish = QStringLiteral("アジ");
        w->C_Box_Tuki->setChecked(true);
        w->Btn_M03->click();
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

}  // namespace
