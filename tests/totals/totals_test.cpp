// The analyses menu and the totals windows on fresh files: layout, figures,
// averages, odd dates, the 64-bit sums, the fish picker, and one oracle test
// holding every cell against the sum and count statements run directly.
#include <QDate>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Main_F.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "support/test_databases.h"
#include "support/window_session.h"
#include "support/test_sql.h"
#include "totals/Bunseki_F.h"
#include "totals/Fish_Name_F.h"
#include "totals/Fish_Total_F.h"
#include "totals/Fish_Total_N_M.h"
#include "totals/figures.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;

namespace {

const int cy = QDate::currentDate().year();

std::string year(int y) { return std::to_string(y); }

using Session = test::WindowSession;

struct Slot {
    const char* fish;   // nullptr: NULL
    const char* kazu;   // SQL text: "NULL", "3"
};

// One trip with up to three fish slots; the date as given (nullptr: NULL).
void trip(const Session& s, int code, const char* date, std::vector<Slot> catches) {
    std::string cols = "CODENO, DAY_DATA, FISH1_MAX, FISH1_MIN";
    std::string vals = std::to_string(code) + ", " + (date ? "\"" + std::string(date) + "\"" : "NULL") +
                       ", 99, 1";
    for (std::size_t i = 0; i < catches.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        cols += ", FISH" + n + ", FISH" + n + "_KAZU";
        vals += std::string(", ") + (catches[i].fish ? "\"" + std::string(catches[i].fish) + "\"" : "NULL") +
                ", " + catches[i].kazu;
    }
    test::runSql(s.files.catchFile(), {"insert into FISH_DATA (" + cols + ") values (" + vals + ")"});
}

QStringList items(tolvane::ui::ListBox* l) {
    QStringList out;
    for (int i = 0; i < l->itemCount(); ++i) out << l->itemText(i);
    return out;
}

void clickItem(Driver& drv, tolvane::ui::ListBox* l, const QString& text) {
    for (int i = 0; i < l->itemCount(); ++i)
        if (l->itemText(i) == text) {
            drv.click(l->viewport(), l->visualItemRect(l->item(i)).center());
            return;
        }
    ADD_FAILURE() << "no entry " << text.toStdString();
}

QStringList rowCells(tolvane::ui::StringGrid* g, int row) {
    QStringList out;
    for (int c = 0; c < g->colCount(); ++c) out << g->cell(c, row);
    return out;
}

// The window as its menu opens it, with TotalMode set first.
std::unique_ptr<TFishTotal> totalsWindow(Driver& drv, int mode) {
    TotalMode = mode;
    auto w = std::make_unique<TFishTotal>(nullptr);
    drv.show(*w);
    return w;
}

}  // namespace

TEST(TotalsAverage, NearestTenthFromTheIntegers) {
    EXPECT_EQ(totals::averageText(1, 2), ".5");
    EXPECT_EQ(totals::averageText(3, 1), "3.0");
    EXPECT_EQ(totals::averageText(7, 3), "2.3");
    // Halves go away from zero, exactly.
    EXPECT_EQ(totals::averageText(1, 4), ".3");
    EXPECT_EQ(totals::averageText(5, 4), "1.3");
    EXPECT_EQ(totals::averageText(3, 20), ".2");
    EXPECT_EQ(totals::averageText(1, 21), ".0");
    EXPECT_EQ(totals::averageText(25, 2), "12.5");
    EXPECT_EQ(totals::averageText(4294967294LL, 2), "2147483647.0");
}

TEST(TotalsPerYear, YearRowsFromTheOldestRecordToThisYear) {
    Session s;
    trip(s, 1, (year(cy - 7) + "/06/01").c_str(), {{"アジ", "5"}});
    trip(s, 2, (year(cy - 1) + "/06/01").c_str(), {{"アジ", "1"}, {"サバ", "3"}});
    trip(s, 3, (year(cy - 1) + "/07/01").c_str(), {{"アジ", "NULL"}, {"サバ", "0"}});
    trip(s, 4, (year(cy - 1) + "/08/01").c_str(), {{"サバ", "4"}, {"サバ", "0"}});
    Driver drv;
    auto w = totalsWindow(drv, 0);
    EXPECT_EQ(w->caption(), "年度ごとの累計");
    EXPECT_EQ(w->size(), QSize(560, 420));
    EXPECT_EQ(w->Label2->caption(), QString::number(cy) + "年から");
    EXPECT_EQ(w->Label1->caption(), QString::number(cy - 7) + "年まで");
    EXPECT_EQ(w->Label3->caption(), "8  年間");
    EXPECT_EQ(w->Str_Grid1->rowCount(), 9);
    EXPECT_EQ(w->Str_Grid1->fixedCols(), 0);
    EXPECT_EQ(w->Str_Grid1->fixedRows(), 1);
    EXPECT_EQ(w->Str_Grid1->columnWidth(3), 80);
    EXPECT_EQ(rowCells(w->Str_Grid1, 0), (QStringList{"年　度", "匹　数", "釣行回数", "平均釣果"}));
    EXPECT_EQ(w->Str_Grid1->cell(0, 1), QString::number(cy));
    EXPECT_EQ(w->Str_Grid1->cell(0, 8), QString::number(cy - 7));
    EXPECT_EQ(items(w->ListBox1), (QStringList{"", "アジ", "サバ"}));   // FISH3 NULL throughout

    clickItem(drv, w->ListBox1, "アジ");
    EXPECT_EQ(rowCells(w->Str_Grid1, 8), (QStringList{QString::number(cy - 7), "5", "1 回", "5.0"}));
    // The NULL count is no trip.
    EXPECT_EQ(rowCells(w->Str_Grid1, 2), (QStringList{QString::number(cy - 1), "1", "1 回", "1.0"}));
    EXPECT_EQ(rowCells(w->Str_Grid1, 1), (QStringList{QString::number(cy), "", "", ""}));

    // Arrow keys choose too; a fish in two slots counts twice, a 0 is a trip.
    drv.pressKey(w->ListBox1, Qt::Key_Down);
    EXPECT_EQ(rowCells(w->Str_Grid1, 2), (QStringList{QString::number(cy - 1), "7", "4 回", "1.8"}));
    EXPECT_EQ(rowCells(w->Str_Grid1, 8), (QStringList{QString::number(cy - 7), "", "", ""}));
}

TEST(TotalsPerMonth, EachMonthAddsUpEveryYear) {
    Session s;
    trip(s, 1, (year(cy - 2) + "/03/10").c_str(), {{"メバル", "1"}});
    trip(s, 2, (year(cy - 5) + "/03/20").c_str(), {{"メバル", "1"}});
    trip(s, 3, (year(cy - 1) + "/05/20").c_str(), {{"メバル", "3"}});
    trip(s, 4, (year(cy - 1) + "/07/20").c_str(), {{"メバル", "2"}});
    trip(s, 5, (year(cy - 1) + "/07/21").c_str(), {{"メバル", "2"}});
    trip(s, 6, (year(cy - 1) + "/07/22").c_str(), {{"メバル", "3"}});
    trip(s, 7, (year(cy - 1) + "/09/01").c_str(), {{"メバル", "0"}});
    trip(s, 8, (year(cy) + "/3/5").c_str(), {{"メバル", "9"}});   // matches no pattern
    Driver drv;
    auto w = totalsWindow(drv, 1);
    EXPECT_EQ(w->caption(), "月別の累計");
    EXPECT_EQ(w->Str_Grid1->rowCount(), 13);
    EXPECT_EQ(rowCells(w->Str_Grid1, 0), (QStringList{"月", "匹　数", "釣行回数", "平均釣果"}));
    EXPECT_EQ(w->Str_Grid1->cell(0, 12), "12");
    clickItem(drv, w->ListBox1, "メバル");
    EXPECT_EQ(rowCells(w->Str_Grid1, 3), (QStringList{"3", "2", "2 回", "1.0"}));
    EXPECT_EQ(rowCells(w->Str_Grid1, 5), (QStringList{"5", "3", "1 回", "3.0"}));
    EXPECT_EQ(rowCells(w->Str_Grid1, 7), (QStringList{"7", "7", "3 回", "2.3"}));
    EXPECT_EQ(rowCells(w->Str_Grid1, 9), (QStringList{"9", "", "", ""}));   // zeros only
    EXPECT_EQ(rowCells(w->Str_Grid1, 1), (QStringList{"1", "", "", ""}));
}

TEST(TotalsPerYear, AverageBelowOneAndTheEmptyEntry) {
    Session s;
    trip(s, 1, (year(cy) + "/01/10").c_str(), {{"", "1"}});
    trip(s, 2, (year(cy) + "/01/11").c_str(), {{"", "0"}, {nullptr, "5"}});
    Driver drv;
    auto w = totalsWindow(drv, 0);
    EXPECT_EQ(items(w->ListBox1), (QStringList{"", ""}));   // NULL and the empty text
    clickItem(drv, w->ListBox1, "");
    EXPECT_EQ(rowCells(w->Str_Grid1, 1), (QStringList{QString::number(cy), "1", "2 回", ".5"}));
}

TEST(TotalsPerYear, NoRecordGivesThisYearAloneAndAnEmptyList) {
    Session s;
    Driver drv;
    auto w = totalsWindow(drv, 0);
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_EQ(w->Label3->caption(), "1  年間");
    EXPECT_EQ(w->Label1->caption(), QString::number(cy) + "年まで");
    EXPECT_EQ(w->Str_Grid1->rowCount(), 2);
    EXPECT_EQ(w->Str_Grid1->cell(0, 1), QString::number(cy));
    EXPECT_EQ(w->ListBox1->itemCount(), 0);

    TotalFish = "アジ";
    TFishTotal_NM nm(nullptr);
    drv.show(nm);
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_EQ(nm.Str_Grid1->cell(1, 0), QString::number(cy));
    EXPECT_EQ(nm.Str_Grid1->cell(10, 0), QString::number(cy - 9));
}

TEST(TotalsPerYear, DatesStoredAsTypedNeitherStopTheWindowNorSetTheYears) {
    Session s;
    trip(s, 1, "", {{"アジ", "1"}});                 // the smallest text
    trip(s, 2, "2024/3/5", {{"アジ", "1"}});
    trip(s, 3, (year(cy - 3) + "/05/01").c_str(), {{"アジ", "2"}});
    trip(s, 4, "ｘｘ/05/01", {{"アジ", "4"}});       // sorts after the digits, ten bytes
    trip(s, 5, nullptr, {{"アジ", "8"}});
    Driver drv;
    auto w = totalsWindow(drv, 0);
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_EQ(w->Label1->caption(), QString::number(cy - 3) + "年まで");
    EXPECT_EQ(w->Label3->caption(), "4  年間");
    clickItem(drv, w->ListBox1, "アジ");
    EXPECT_EQ(rowCells(w->Str_Grid1, 4), (QStringList{QString::number(cy - 3), "2", "1 回", "2.0"}));

    // The newest date has no four digits: this year heads the table.
    TotalFish = "アジ";
    TFishTotal_NM nm(nullptr);
    drv.show(nm);
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_EQ(nm.Str_Grid1->cell(1, 0), QString::number(cy));
    EXPECT_EQ(nm.Str_Grid1->cell(4, 5), "2 / 1");
}

TEST(TotalsPerYear, AYearOfFewerThanFourDigitsIsMatchedAsItsOwnPattern) {
    Session s;
    trip(s, 1, "0999/05/01", {{"アジ", "2"}});
    trip(s, 2, "999/05/01", {{"アジ", "3"}});   // nine characters, as "999______"
    Driver drv;
    auto w = totalsWindow(drv, 0);
    ASSERT_EQ(w->nennRows(), cy - 999 + 1);
    clickItem(drv, w->ListBox1, "アジ");
    EXPECT_EQ(rowCells(w->Str_Grid1, w->nennRows()), (QStringList{"999", "3", "1 回", "3.0"}));
}

TEST(TotalsPerYear, SumsBeyondThirtyTwoBitsAreShown) {
    Session s;
    trip(s, 1, (year(cy) + "/04/01").c_str(), {{"イワシ", "2147483647"}});
    trip(s, 2, (year(cy) + "/04/02").c_str(), {{"イワシ", "2147483647"}});
    Driver drv;
    auto w = totalsWindow(drv, 0);
    clickItem(drv, w->ListBox1, "イワシ");
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_EQ(rowCells(w->Str_Grid1, 1),
              (QStringList{QString::number(cy), "4294967294", "2 回", "2147483647.0"}));
    EXPECT_EQ(w->SumNenn("イワシ", cy), 4294967294LL);
    EXPECT_EQ(w->SumTuki("イワシ", "04"), 4294967294LL);
    auto m = totalsWindow(drv, 1);
    clickItem(drv, m->ListBox1, "イワシ");
    EXPECT_EQ(m->Str_Grid1->cell(1, 4), "4294967294");
    TotalFish = "イワシ";
    TFishTotal_NM nm(nullptr);
    drv.show(nm);
    EXPECT_TRUE(drv.takeBoxes().empty());
    EXPECT_EQ(nm.Str_Grid1->cell(1, 4), "4294967294 / 2");
}

TEST(TotalsYearByMonth, TenYearsFromTheNewestRecordNewestLeft) {
    Session s;
    trip(s, 1, "2021/01/15", {{"タイ", "1"}});
    trip(s, 2, "2020/05/01", {{"タイ", "5"}});
    trip(s, 3, "2020/05/20", {{"タイ", "7"}});
    trip(s, 4, "2012/12/01", {{"タイ", "2"}, {"タイ", "3"}});
    trip(s, 5, "2011/12/01", {{"タイ", "9"}});
    Driver drv;
    TotalFish = "タイ";
    TFishTotal_NM nm(nullptr);
    drv.show(nm);
    EXPECT_EQ(nm.caption(), "年度別月別釣果");
    EXPECT_EQ(nm.size(), QSize(900, 480));
    EXPECT_EQ(nm.Label_FName->caption(), "魚種　：　タイ");
    EXPECT_EQ(rowCells(nm.Str_Grid1, 0), (QStringList{"", "2021", "2020", "2019", "2018", "2017", "2016",
                                                     "2015", "2014", "2013", "2012"}));
    EXPECT_EQ(nm.Str_Grid1->fixedCols(), 0);
    EXPECT_EQ(nm.Str_Grid1->columnWidth(0), 40);
    EXPECT_EQ(nm.Str_Grid1->columnWidth(5), 80);
    EXPECT_EQ(nm.Str_Grid1->cell(0, 12), "12");
    EXPECT_EQ(nm.Str_Grid1->cell(2, 5), "12 / 2");
    EXPECT_EQ(nm.Str_Grid1->cell(1, 1), "1 / 1");
    EXPECT_EQ(nm.Str_Grid1->cell(10, 12), "5 / 2");   // two slots
    EXPECT_EQ(nm.Str_Grid1->cell(1, 5), "");
}

TEST(TotalsMenu, ThreeModesCancelAndAPickOpensTheTableAtOnce) {
    Session s;
    test::createLessonsTable(s.files.memoFile());
    trip(s, 1, (year(cy) + "/02/01").c_str(), {{"アジ", "3"}});
    Driver drv;
    TMainF main;
    MainF = &main;
    drv.show(main);
    drv.expectModal<TBunsekiF>([&](TBunsekiF& m) {
        EXPECT_EQ(m.caption(), "各種分析");
        EXPECT_EQ(m.size(), QSize(400, 300));
        EXPECT_EQ(m.Btn_N_M->bounds(), QRect(96, 185, 209, 33));
        drv.expectModal<TFishTotal>([&](TFishTotal& f) {
            EXPECT_EQ(TotalMode, 0);
            EXPECT_EQ(f.caption(), "年度ごとの累計");
            drv.click(f.Btn_Close);
        });
        drv.click(m.Btn_Nenn);
        drv.expectModal<TFishTotal>([&](TFishTotal& f) {
            EXPECT_EQ(f.caption(), "月別の累計");
            drv.click(f.Btn_Close);
        });
        drv.click(m.Btn_Manth);
        EXPECT_EQ(TotalMode, 1);

        // Cancel, then the title bar: no table.
        drv.expectModal<TFishNameF>([&](TFishNameF& p) {
            EXPECT_EQ(TotalMode, 2);
            EXPECT_EQ(p.caption(), "FishNameF");
            EXPECT_EQ(p.ListBox1->columns(), 2);
            drv.click(p.Btn_Close);
        });
        drv.click(m.Btn_N_M);
        EXPECT_EQ(TotalMode, 4);
        drv.expectModal<TFishNameF>([&](TFishNameF& p) { drv.closeByTitleBar(p); });
        drv.click(m.Btn_N_M);
        EXPECT_EQ(TotalMode, 4);
        EXPECT_EQ(drv.shownWindows().filter("TFishTotal_NM").size(), 0);

        drv.expectModal<TFishNameF>([&](TFishNameF& p) {
            EXPECT_EQ(items(p.ListBox1), (QStringList{"", "アジ"}));
            clickItem(drv, p.ListBox1, "アジ");
            EXPECT_FALSE(p.isOpen());
        });
        drv.expectModal<TFishTotal_NM>([&](TFishTotal_NM& t) {
            EXPECT_EQ(t.Label_FName->caption(), "魚種　：　アジ");
            EXPECT_EQ(t.Str_Grid1->cell(1, 2), "3 / 1");
            drv.click(t.Btn_Close);
        });
        drv.click(m.Btn_N_M);
        EXPECT_EQ(TotalMode, 2);
        EXPECT_EQ(TotalFish, "アジ");
        drv.click(m.BtnClose);
    });
    drv.click(main.Btn_Bunseki);
    EXPECT_EQ(drv.pendingScripts(), 0);
    MainF = nullptr;
}

namespace {

// The figures as the per-slot sum and count statements give them, run on a
// connection of the test's own.
class Oracle {
public:
    explicit Oracle(const std::string& file) : t_(c_), q_(c_, t_) { c_.databaseName = file; }
    long long figure(const char* kind, const char* param, const QString& pattern, const QString& fish) {
        long long r = 0;
        for (int n = 1; n <= 3; ++n) {
            const std::string slot = "FISH" + std::to_string(n);
            q_.close();
            q_.sqlClear();
            q_.sqlAdd(std::string("select ") + kind + "(" + slot + "_KAZU) from FISH_DATA where DAY_DATA like :" +
                      param + " and " + slot + " = :parFishName");
            q_.paramByName(param).setString(pattern.toStdString());
            q_.paramByName("parFishName").setString(fish.toStdString());
            q_.open();
            r += q_.fields(0).asInteger();
        }
        return r;
    }
    QStringList cells(const char* param, const QString& pattern, const QString& fish) {
        const long long t = figure("sum", param, pattern, fish);
        if (t == 0) return {"", "", ""};
        const long long n = figure("count", param, pattern, fish);
        return {QString::number(t), QString::number(n) + " 回", totals::averageText(t, n)};
    }
    QString cell(const QString& pattern, const QString& fish) {
        const long long t = figure("sum", "parTuki_Do", pattern, fish);
        if (t == 0) return "";
        return QString::number(t) + " / " + QString::number(figure("count", "parTuki_Do", pattern, fish));
    }

private:
    db::Connection c_;
    db::Transaction t_;
    db::Query q_;
};

}  // namespace

TEST(TotalsOracle, EveryCellEqualsTheSumAndCountStatements) {
    Session s;
    const auto d = [](int y, const char* rest) { return year(y) + rest; };
    int k = 0;
    trip(s, ++k, d(cy - 1, "/05/03").c_str(), {{"アジ", "4"}, {"アジ", "2"}, {"サバ", "NULL"}});
    trip(s, ++k, d(cy - 1, "/05/09").c_str(), {{"アジ", "NULL"}, {"サバ", "0"}});
    trip(s, ++k, d(cy - 2, "/11/30").c_str(), {{"サバ", "0"}, {"アジ", "0"}});
    trip(s, ++k, d(cy - 3, "/01/01").c_str(), {{"", "3"}, {nullptr, "6"}, {"アジ ", "5"}});
    trip(s, ++k, d(cy - 12, "/07/07").c_str(), {{"アジ", "11"}});
    trip(s, ++k, d(cy - 4, "/3/5").c_str(), {{"アジ", "13"}});
    trip(s, ++k, d(cy - 4, "-08-15").c_str(), {{"アジ", "17"}, {"サバ", "1"}});
    trip(s, ++k, "２０/05/03", {{"アジ", "19"}});   // ten bytes in Shift-JIS
    trip(s, ++k, "", {{"サバ", "23"}});
    trip(s, ++k, nullptr, {{"サバ", "29"}});
    trip(s, ++k, d(cy - 6, "/12/31").c_str(), {{"サバ", "31"}, {"", "NULL"}});
    trip(s, ++k, d(cy, "/02/02").c_str(), {{"メバル", "2"}});
    Oracle o(s.files.catchFile());
    Driver drv;

    auto py = totalsWindow(drv, 0);
    auto pm = totalsWindow(drv, 1);
    const QStringList fish = items(py->ListBox1);
    ASSERT_GE(fish.size(), 4);
    for (const QString& f : fish) {
        SCOPED_TRACE(f.toStdString());
        // Each click reads the mode.
        TotalMode = 0;
        clickItem(drv, py->ListBox1, f);
        for (int r = 1; r <= py->nennRows(); ++r) {
            const QString y = py->Str_Grid1->cell(0, r);
            EXPECT_EQ(rowCells(py->Str_Grid1, r).mid(1), o.cells("parNenn_Do", y + "______", f)) << y.toStdString();
        }
        TotalMode = 1;
        clickItem(drv, pm->ListBox1, f);
        for (int r = 1; r <= 12; ++r) {
            const QString m = QString("%1").arg(r, 2, 10, QChar('0'));
            EXPECT_EQ(rowCells(pm->Str_Grid1, r).mid(1), o.cells("parTuki_Do", "_____" + m + "___", f)) << r;
        }
        TotalFish = f;
        TFishTotal_NM nm(nullptr);
        drv.show(nm);
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 12; ++r) {
                const QString ym = nm.Str_Grid1->cell(c, 0) + "/" + QString("%1").arg(r, 2, 10, QChar('0'));
                EXPECT_EQ(nm.Str_Grid1->cell(c, r), o.cell(ym + "___", f)) << ym.toStdString();
            }
    }
    // "アジ" and "アジ " are one entry (trailing blanks do not count in the
    // comparison), which totals both. Some cells hold figures, so the
    // comparison is not between empty tables.
    const QString aji = fish.filter("アジ").value(0);
    ASSERT_EQ(fish.filter("アジ").size(), 1);
    TotalMode = 0;
    clickItem(drv, py->ListBox1, aji);
    EXPECT_EQ(py->Str_Grid1->cell(1, 2), "6");
    EXPECT_EQ(py->Str_Grid1->cell(1, 4), "5");
    EXPECT_EQ(py->Str_Grid1->cell(1, 5), "17");
    TotalMode = 1;
    clickItem(drv, pm->ListBox1, aji);
    EXPECT_EQ(pm->Str_Grid1->cell(1, 5), "25");   // 4 + 2 + 19 (the Shift-JIS date)
}
