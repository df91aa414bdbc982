// The catch search: the dialog's conditions, caption and refusals, and the
// browser's search set kept through moves, corrections and the list sheet.
#include <gtest/gtest.h>

#include "browser_fixture.h"
#include "catch/Kensaku_F.h"
#include "catch/WorkSheet_F2.h"

using namespace tolvane;
using browsertest::addTrip;
using browsertest::Browser;
using browsertest::pick;
using catchtest::Session;
using catchtest::storedRows;
using tolvane::ui::testing::Driver;

namespace {

void addSample() {
    addTrip(1, "2024/03/15", "東京湾", "アジ");
    addTrip(2, "2019/03/01", "相模湾", "サバ", "アジ");
    addTrip(3, "2024/3/5", "東京湾", "アジ");
    addTrip(4, "2023/04/03", "東京湾", "メバル", "サバ", "アジ");
    addTrip(5, "2022/03/20", "東京湾", "マダイ");
    addTrip(6, "2021/07/03", "外房", "アジ");
}

QString goCaption(TKensakuF& f) { return f.Btn_Kensaku_Go->caption(); }

// Runs a search from the browser with the script `choose` in the dialog.
void search(Driver& drv, TFishdataF& w, std::function<void(TKensakuF&)> choose) {
    drv.expectModal<TKensakuF>([&drv, choose](TKensakuF& f) {
        choose(f);
        drv.click(f.Btn_Kensaku_Go);
        EXPECT_TRUE(drv.takeMessages().isEmpty());
        EXPECT_FALSE(f.isOpen());
    });
    drv.click(w.Btn_Kensaku);
}

QStringList numbersFromLastToFirst(Driver& drv, TFishdataF& w) {
    QStringList seen;
    drv.click(w.Btn_Last);
    for (;;) {
        seen << w.Edit_No->text();
        const QString before = w.Edit_No->text();
        drv.click(w.Btn_Prior);
        if (w.Edit_No->text() == before) break;
    }
    return seen;
}

}  // namespace

TEST(CatchSearchDialog, ListsCaptionAndRefusals) {
    Session s;
    Driver drv;
    addSample();
    Browser b(drv);
    SearchFish = "old";
    drv.expectModal<TKensakuF>([&](TKensakuF& f) {
        EXPECT_EQ(f.caption(), "検索");
        EXPECT_EQ(f.size(), QSize(300, 400));
        EXPECT_EQ(SearchMask, 0);
        EXPECT_EQ(SearchFish, "");
        EXPECT_TRUE(f.Btn_Close->focused());
        EXPECT_EQ(goCaption(f), "検索条件");
        EXPECT_FALSE(f.CBox_Fish->enabled());
        EXPECT_FALSE(f.Btn_M07->enabled());
        EXPECT_FALSE(f.CBox_Basyo->enabled());
        EXPECT_EQ(f.CBox_Fish->itemCount(), 5);   // アジ サバ メバル マダイ and the empty of NULLs
        EXPECT_EQ(f.CBox_Basyo->itemCount(), 3);
        EXPECT_EQ(f.CBox_Fish->itemIndex(), 0);
        EXPECT_FALSE(f.CBox_Fish->isEditable());   // pick-only: no typed value
        EXPECT_FALSE(f.CBox_Basyo->isEditable());
        EXPECT_EQ(f.Btn_M01->caption(), "１");
        EXPECT_EQ(f.Btn_M12->caption(), "12");

        // Nothing ticked; fish ticked with only its first entry showing.
        drv.click(f.Btn_Kensaku_Go);
        EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});
        drv.click(f.C_Box_Fish);
        EXPECT_TRUE(f.CBox_Fish->enabled());
        EXPECT_EQ(goCaption(f), "\"\"\nの条件で検索します");
        drv.click(f.Btn_Kensaku_Go);
        EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});

        // Fish and month with a month only, then a fish only.
        drv.click(f.C_Box_Tuki);
        EXPECT_EQ(SearchMask, 3);
        drv.click(f.Btn_M05);
        EXPECT_EQ(SearchMonth, "05");
        drv.click(f.Btn_Kensaku_Go);
        EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});
        drv.click(f.C_Box_Tuki);
        EXPECT_EQ(SearchMonth, "");
        pick(f.CBox_Fish, "サバ");
        drv.click(f.C_Box_Tuki);
        EXPECT_EQ(goCaption(f), "\"サバ\" \" 月\"\nの条件で検索します");
        drv.click(f.Btn_Kensaku_Go);
        EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});

        // Month chosen, then cleared, with nothing else ticked.
        drv.click(f.C_Box_Fish);
        EXPECT_EQ(SearchFish, "");
        EXPECT_EQ(f.CBox_Fish->itemIndex(), -1);
        drv.click(f.Btn_M05);
        drv.click(f.C_Box_Tuki);
        EXPECT_EQ(SearchMask, 0);
        EXPECT_EQ(goCaption(f), "検索条件");
        drv.click(f.Btn_Kensaku_Go);
        EXPECT_EQ(drv.takeMessages(), QStringList{"条件が入っていません"});

        // All three: fish, month, place in that order.
        drv.click(f.C_Box_Basyo);
        drv.click(f.C_Box_Tuki);
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, "アジ");
        drv.click(f.Btn_M11);
        pick(f.CBox_Basyo, "東京湾");
        EXPECT_EQ(SearchMask, 7);
        EXPECT_EQ(goCaption(f), "\"アジ\" \"11 月\" \"東京湾\"\nの条件で検索します");

        // Closed: no search.
        drv.click(f.Btn_Close);
    });
    drv.click(b.w.Btn_Kensaku);
    EXPECT_EQ(SearchMask, 0);
}

TEST(CatchSearchDialog, AnEmptyTableListsThePlaceholderAndFindsNothing) {
    Session s;
    Driver drv;
    Browser b(drv);
    search(drv, b.w, [&](TKensakuF& f) {
        ASSERT_EQ(f.CBox_Fish->itemCount(), 1);
        EXPECT_EQ(f.CBox_Fish->text(), " ----- ");
        EXPECT_EQ(f.CBox_Basyo->text(), " ----- ");
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, " ----- ");
    });
    EXPECT_EQ(b.w.Label_Hit->caption(), "ヒット数");
    EXPECT_EQ(b.w.Label_HitN->caption(), "0 件");
    EXPECT_EQ(b.w.Edit_No->text(), "0");
}

// Every search test starts on the sample trips with the browser shown.
class CatchSearch : public ::testing::Test {
protected:
    Session s;
    Driver drv;
    bool seeded_ = (addSample(), true);
    Browser b{drv};
    TFishdataF& w = b.w;
};

TEST_F(CatchSearch, FishMonthPlaceAndAllThree) {

    // Fish as second or third fish as well.
    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, "アジ");
    });
    EXPECT_EQ(w.Label_Hit->caption(), "ヒット数");
    EXPECT_EQ(w.Label_HitN->caption(), "5 件");
    EXPECT_EQ(w.Edit_No->text(), "6");
    EXPECT_EQ(numbersFromLastToFirst(drv, w), (QStringList{"6", "4", "3", "2", "1"}));

    // Month 3 by the characters of the date: not the date typed as 2024/3/5.
    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Tuki);
        drv.click(f.Btn_M03);
    });
    EXPECT_EQ(w.Label_HitN->caption(), "3 件");
    EXPECT_EQ(numbersFromLastToFirst(drv, w), (QStringList{"5", "2", "1"}));

    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Basyo);
        pick(f.CBox_Basyo, "東京湾");
    });
    EXPECT_EQ(w.Label_HitN->caption(), "4 件");

    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, "アジ");
        drv.click(f.C_Box_Tuki);
        drv.click(f.Btn_M03);
        drv.click(f.C_Box_Basyo);
        pick(f.CBox_Basyo, "東京湾");
    });
    EXPECT_EQ(w.Label_HitN->caption(), "1 件");
    EXPECT_EQ(w.Edit_No->text(), "1");
    EXPECT_EQ(w.IBSQL_N.sqlText().find(" ( FISH1 = :parFISH or FISH2 = :parFISH or FISH3 = :parFISH )  and BASYO = :parBASYO  and DAY_DATA like :parTUKI ") != std::string::npos, true);

    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, "マダイ");
        drv.click(f.C_Box_Basyo);
        pick(f.CBox_Basyo, "外房");
    });
    EXPECT_EQ(w.Label_HitN->caption(), "0 件");
    EXPECT_EQ(w.Edit_No->text(), "0");
    EXPECT_EQ(w.Edit_Place->text(), "");

    drv.click(w.Btn_All_Show);
    EXPECT_EQ(w.Label_Hit->caption(), "");
    EXPECT_EQ(w.Label_HitN->caption(), "");
    EXPECT_EQ(w.Edit_No->text(), "6");
}

TEST_F(CatchSearch, TheSetIsKeptThroughMovesCorrectionsAndTheSheet) {
    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Basyo);
        pick(f.CBox_Basyo, "東京湾");
    });
    ASSERT_EQ(w.Label_HitN->caption(), "4 件");
    drv.click(w.Btn_Prior);
    EXPECT_EQ(w.Edit_No->text(), "4");

    // A correction reruns the search.
    w.Edit_Tenki->setText(QString());
    drv.type(w.Edit_Tenki, "雨");
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(w.Edit_No->text(), "4");
    EXPECT_EQ(numbersFromLastToFirst(drv, w), (QStringList{"5", "4", "3", "1"}));

    // The sheet lists only the hits; a pick, then one on within them.
    drv.expectModal<TWorkSheetF2>([&](TWorkSheetF2& f) {
        ASSERT_EQ(f.DBGrid1->rowCount(), 4);
        EXPECT_EQ(f.DBGrid1->cellText(1, 0), "3");
        f.DBGrid1->setCurrentIndex(f.DBGrid1->model()->index(1, 0));
        drv.click(f.Btn_Close);
    });
    drv.click(w.Btn_worksheet);
    EXPECT_EQ(w.Edit_No->text(), "3");
    drv.click(w.Btn_Next);
    EXPECT_EQ(w.Edit_No->text(), "4");
    EXPECT_EQ(w.Label_HitN->caption(), "4 件");

    // A correction that takes the record out of the set: the row now at
    // its old position.
    w.Edit_Place->setText(QString());
    drv.type(w.Edit_Place, "外房");
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(w.Edit_No->text(), "5");
    EXPECT_EQ(numbersFromLastToFirst(drv, w), (QStringList{"5", "3", "1"}));
    EXPECT_EQ(storedRows(s.files.catchFile())[3].at("BASYO").text, "外房");
}

TEST_F(CatchSearch, ACorrectionThatEmptiesTheSetShowsTheEmptyDisplay) {
    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, "マダイ");
    });
    ASSERT_EQ(w.Edit_No->text(), "5");
    w.Edit_F1->setText(QString());
    drv.type(w.Edit_F1, "イナダ");
    drv.click(w.Btn_Teisei);
    EXPECT_EQ(w.Edit_No->text(), "0");
    EXPECT_EQ(w.Edit_F1->text(), "");
}

TEST_F(CatchSearch, CloseAndTheTitleBarLeaveTheBrowserAsItWas) {
    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, "サバ");
    });
    ASSERT_EQ(w.Label_HitN->caption(), "2 件");
    drv.type(w.Edit_Tenki, "x");

    drv.expectModal<TKensakuF>([&](TKensakuF& f) {
        drv.click(f.C_Box_Fish);
        pick(f.CBox_Fish, "アジ");
        drv.click(f.Btn_Close);
    });
    drv.click(w.Btn_Kensaku);
    EXPECT_EQ(SearchMask, 0);
    EXPECT_EQ(w.Edit_Tenki->text(), "x");
    EXPECT_TRUE(w.Btn_Teisei->enabled());
    EXPECT_EQ(w.Label_HitN->caption(), "2 件");

    // The title bar counts as "閉じる", even with a ticked box and no value.
    drv.expectModal<TKensakuF>([&](TKensakuF& f) {
        drv.click(f.C_Box_Tuki);
        drv.click(f.C_Box_Basyo);
        drv.closeByTitleBar(f);
    });
    drv.click(w.Btn_Kensaku);
    EXPECT_EQ(SearchMask, 0);
    EXPECT_EQ(w.Edit_Tenki->text(), "x");
    EXPECT_EQ(w.Edit_No->text(), "4");
    EXPECT_EQ(w.Label_HitN->caption(), "2 件");
}

TEST_F(CatchSearch, ADateCorrectedWithoutZerosLeavesTheMonthSearch) {
    drv.click(w.Btn_First);
    w.Edit_Day->setText(QString());
    drv.type(w.Edit_Day, "2024/3/15");
    drv.click(w.Btn_Teisei);
    EXPECT_TRUE(drv.takeMessages().isEmpty());
    EXPECT_EQ(storedRows(s.files.catchFile())[0].at("DAY_DATA").text, "2024/3/15");
    search(drv, w, [&](TKensakuF& f) {
        drv.click(f.C_Box_Tuki);
        drv.click(f.Btn_M03);
    });
    EXPECT_EQ(w.Label_HitN->caption(), "2 件");
    EXPECT_EQ(numbersFromLastToFirst(drv, w), (QStringList{"5", "2"}));
}
