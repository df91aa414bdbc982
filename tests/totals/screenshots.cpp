// The analyses menu and the totals windows for scripts/screenshots.sh, over a
// few sample trips.
#include <QDate>

#include "core/DM_1.h"
#include "core/handover.h"
#include "totals/Bunseki_F.h"
#include "totals/Fish_Name_F.h"
#include "totals/Fish_Total_F.h"
#include "totals/Fish_Total_N_M.h"
#include "ui/testing/screenshots.h"

namespace {

namespace shots = tolvane::ui::screenshots;
using tolvane::db::Query;

void ensureSample() {
    if (DM1 == nullptr) createDataModule();
    static bool done = false;
    if (done) return;
    done = true;
    const int y = QDate::currentDate().year();
    Query q(DM1->IBDB2, DM1->IBTr2);
    const char* fish[] = {"アジ", "サバ", "メバル"};
    for (int i = 0; i < 40; ++i) {
        q.close();
        q.sqlClear();
        q.sqlAdd("insert into FISH_DATA (CODENO, DAY_DATA, BASYO, FISH1, FISH1_KAZU, FISH2, FISH2_KAZU)"
                 " values (:k, :d, :b, :f1, :n1, :f2, :n2)");
        q.paramByName("k").setInteger(8000 + i);
        q.paramByName("d").setString(QString("%1/%2/%3")
                                         .arg(y - i % 6)
                                         .arg(1 + (i * 5) % 12, 2, 10, QChar('0'))
                                         .arg(1 + i % 28, 2, 10, QChar('0'))
                                         .toStdString());
        q.paramByName("b").setString("東京湾");
        q.paramByName("f1").setString(fish[i % 3]);
        q.paramByName("n1").setInteger(3 + (i * 7) % 20);
        q.paramByName("f2").setString(fish[(i + 1) % 3]);
        q.paramByName("n2").setInteger(i % 4);
        q.execQuery();
    }
    DM1->IBTr2.commitRetaining();
}

TOLVANE_SCREENSHOT("BunsekiF", [](const shots::Context& ctx) {
    return std::unique_ptr<tolvane::ui::Form>(new TBunsekiF(ctx.owner));
});

TOLVANE_SCREENSHOT("FishTotal", [](const shots::Context& ctx) {
    ensureSample();
    TotalMode = 0;
    auto f = std::make_unique<TFishTotal>(ctx.owner);
    f->ListBox1->setItemIndex(1);   // アジ (the NULL entry first)
    f->ShowNenn(f->ListBox1->itemText(1));
    return f;
});

TOLVANE_SCREENSHOT("FishTotal_Month", [](const shots::Context& ctx) {
    ensureSample();
    TotalMode = 1;
    auto f = std::make_unique<TFishTotal>(ctx.owner);
    f->ListBox1->setItemIndex(1);
    f->ShowTuki(f->ListBox1->itemText(1));
    return f;
});

TOLVANE_SCREENSHOT("FishNameF", [](const shots::Context& ctx) {
    ensureSample();
    return std::unique_ptr<tolvane::ui::Form>(new TFishNameF(ctx.owner));
});

TOLVANE_SCREENSHOT("FishTotal_NM", [](const shots::Context& ctx) {
    ensureSample();
    TotalFish = QStringLiteral("アジ");
    return std::unique_ptr<tolvane::ui::Form>(new TFishTotal_NM(ctx.owner));
});

}  // namespace
