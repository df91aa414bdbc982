// The maintenance window for scripts/screenshots.sh: the lessons table
// missing, then each of its three panels over a few sample rows.
#include "core/DM_1.h"
#include "core/handover.h"
#include "maintenance/Mente_F.h"
#include "ui/testing/screenshots.h"

namespace {

using tolvane::db::Query;
namespace shots = tolvane::ui::screenshots;

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

void exec(Query& q, tolvane::db::Transaction& tr, std::initializer_list<std::string> statements) {
    for (const auto& s : statements) {
        q.close();
        q.sqlClear();
        q.sqlAdd(s);
        q.execQuery();
    }
    tr.commitRetaining();
}

// Sample rows and the lessons table, made once.
void ensureSample() {
    static bool done = false;
    if (done) return;
    done = true;
    Query k(DM1->IBDB1, DM1->IBTr1);
    try {
        k.sqlAdd("select * from FISH_KADAI");
        k.open();
    } catch (const std::exception&) {
        DM1->IBTr1.rollbackRetaining();
        exec(k, DM1->IBTr1,
             {" CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER, K01_FISH VARCHAR(40),"
              " K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10), K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ) "});
    }
    Query c(DM1->IBDB2, DM1->IBTr2);
    exec(c, DM1->IBTr2,
         {"insert into FISH_DATA (CODENO, DAY_DATA, FUNE, BASYO, FISH1, FISH1_MAX, FISH1_MIN, FISH1_KAZU,"
          " FISH2, FISH2_KAZU) values (9001, \"2024/04/13\", \"第一丸\", \"東京湾\", \"アジ\", 28, 18, 24,"
          " \"サバ\", 3)",
          "insert into FISH_DATA (CODENO, DAY_DATA, FUNE, BASYO, FISH1, FISH1_MAX, FISH1_MIN, FISH1_KAZU)"
          " values (9002, \"2024/05/02\", \"金沢丸\", \"相模湾\", \"カワハギ\", 24, 15, 11)"});
    Query m(DM1->IBDB1, DM1->IBTr1);
    exec(m, DM1->IBTr1,
         {"insert into FISH_MEMO (CODE, FISH1, FISH2, BUNRUI, F_MEMO) values (9001, \"メバル\", \"カサゴ\","
          " \"釣り方\", \"夕まづめが勝負。\r\n根掛かりに注意\")",
          "insert into SYURUI (SYURUI) values (\"釣り方\")", "insert into SYURUI (SYURUI) values (\"仕掛け\")"});
}

std::unique_ptr<tolvane::ui::Form> withPanel(const shots::Context& ctx, int item) {
    ensureDataModule();
    ensureSample();
    FuneWord = QStringLiteral("船");
    auto f = std::make_unique<TMenteF>(ctx.owner);
    TMenteF* p = f.get();
    auto show = p->OnShow;
    p->OnShow = [p, show, item] {
        show();
        p->RadioGp1->setItemIndex(item);
    };
    return f;
}

// Built before any sample: fresh files have no lessons table.
TOLVANE_SCREENSHOT("MenteF_NoLessonsTable", [](const shots::Context& ctx) {
    ensureDataModule();
    return std::unique_ptr<tolvane::ui::Form>(new TMenteF(ctx.owner));
});
TOLVANE_SCREENSHOT("MenteF", [](const shots::Context& ctx) { return withPanel(ctx, 0); });
TOLVANE_SCREENSHOT("MenteF_Memo", [](const shots::Context& ctx) { return withPanel(ctx, 1); });
TOLVANE_SCREENSHOT("MenteF_Genre", [](const shots::Context& ctx) { return withPanel(ctx, 2); });

}  // namespace
