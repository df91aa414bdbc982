// The maintenance window driven as a user would on fresh database files:
// catch and memo deletion by number, genres, and the lessons table, with
// every row planted beforehand and read back through connections of the
// test's own.
#include <QApplication>
#include <QClipboard>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Main_F.h"
#include "catch/Fish_Data_IN.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "core/messages.h"
#include "maintenance/Mente_F.h"
#include "support/test_databases.h"
#include "support/test_sql.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;

namespace {

// One run of the program over `files`, the main window shown.
class ProgramRun {
public:
    ProgramRun(const test::TempDatabases& files, Driver& drv) : cd_(files.dir()) {
        ResetHandOverVariables();
        createDataModule();
        main_.emplace();
        MainF = &*main_;
        drv.show(*main_);
    }
    ~ProgramRun() {
        MainF = nullptr;
        main_.reset();
        freeDataModule();
    }
    TMainF& main() { return *main_; }

private:
    test::ScopedCurrentDir cd_;
    std::optional<TMainF> main_;
};

// The first column of every row of `sql`, read through a connection of its own.
std::vector<std::string> column(const std::string& file, const std::string& sql) {
    db::Connection c;
    c.databaseName = file;
    db::Transaction t(c);
    db::Query q(c, t);
    q.sqlAdd(sql);
    q.open();
    std::vector<std::string> out;
    for (; !q.eof(); q.next()) out.push_back(q.fields(0).asString());
    return out;
}

using Strings = std::vector<std::string>;

// Catch records 1..n, each with a tide chart, a map and a photo.
void plantCatch(const test::TempDatabases& files, int n) {
    for (int i = 1; i <= n; ++i) {
        const std::string k = std::to_string(i);
        test::runSql(files.catchFile(),
                     {"insert into FISH_DATA (CODENO, DAY_DATA, FUNE, BASYO, FISH1, FISH1_KAZU, SHIO_ZU,"
                      " CHIZU, PHOTO1) values (" + k + ", \"2024/05/0" + k + "\", \"丸" + k +
                      "\", \"東京湾\", \"アジ\", " + k + ", \"tide" + k + "\", \"map" + k + "\", \"photo" +
                      k + "\")"});
    }
}

void plantMemo(const test::TempDatabases& files, int code, const std::string& text) {
    test::runSql(files.memoFile(),
                 {"insert into FISH_MEMO (CODE, FISH1, BUNRUI, F_MEMO, F_MAP, F_PHOTO1) values (" +
                  std::to_string(code) + ", \"メバル\", \"釣り方\", \"" + text + "\", \"map\", \"photo\")"});
}

void plantLesson(const test::TempDatabases& files, int code, int papa) {
    test::runSql(files.memoFile(), {"insert into FISH_KADAI (K00_CODENO, K00_PAPANO, K01_FISH) values (" +
                                    std::to_string(code) + ", " + std::to_string(papa) + ", \"アジ\")"});
}

const Strings kAllCatch{"1", "2", "3", "4", "5"};

Strings catchKeys(const test::TempDatabases& f) {
    return column(f.catchFile(), "select CODENO from FISH_DATA order by CODENO");
}

// A point on row `row` of a grid, in the grid's own coordinates.
QPoint rowPoint(tolvane::ui::DBGrid* g, int row) {
    const QRect r = g->visualRect(g->model()->index(row, 0));
    return g->viewport()->mapTo(g, r.center());
}

// Opens the maintenance window from the main window's button and runs `script`.
template <class F>
void openMente(Driver& drv, ProgramRun& run, F&& script) {
    drv.expectModal<TMenteF>(std::forward<F>(script));
    drv.click(run.main().Btn_Mente);
    EXPECT_EQ(drv.pendingScripts(), 0);
}

}  // namespace

TEST(MaintenanceNumbers, OnlyPlainDecimalIntegersAreRead) {
    EXPECT_EQ(readDecimalNumber("3"), 3);
    EXPECT_EQ(readDecimalNumber("  -12 "), -12);
    EXPECT_EQ(readDecimalNumber("+7"), 7);
    EXPECT_EQ(readDecimalNumber("2147483647"), 2147483647);
    EXPECT_EQ(readDecimalNumber("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "3a", "３", "0x10", "$10", "2147483648", "99999999999",
                            "1 2", "1.0", "\u30003"})
        EXPECT_FALSE(readDecimalNumber(QString::fromUtf8(bad))) << bad;
}

TEST(MaintenanceShow, FirstTaskListsOnTheirLastRowsAndTheBoatOrPointTitle) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantCatch(files, 3);
    plantMemo(files, 1, "一行目\r\n二行目");
    plantMemo(files, 2, "短い");
    Driver drv;
    ProgramRun run(files, drv);
    for (const char* word : {"船", "ポイント", ""}) {
        SCOPED_TRACE(word);
        FuneWord = QString::fromUtf8(word);
        openMente(drv, run, [&](TMenteF& f) {
            EXPECT_EQ(f.caption(), "メンテナンス");
            EXPECT_EQ(f.size(), QSize(800, 600));
            EXPECT_EQ(f.RadioGp1->itemIndex(), 0);
            EXPECT_EQ(f.RadioGp1->bounds(), QRect(8, 57, 577, 41));
            EXPECT_TRUE(Driver::crowdedCaptions(f).isEmpty()) << Driver::crowdedCaptions(f).join(' ').toStdString();
            EXPECT_TRUE(f.Panel_Fish->visible());
            EXPECT_EQ(f.Panel_Fish->bounds(), QRect(0, 104, 784, 457));
            EXPECT_FALSE(f.Panel_DEL->visible());
            EXPECT_FALSE(f.Panel_Plus->visible());
            EXPECT_FALSE(f.Btn_DB_make->visible());
            EXPECT_EQ(f.DBGrid_Data->rowCount(), 3);
            EXPECT_EQ(f.DBGrid_Data->currentRow(), 2);
            EXPECT_EQ(f.DBGrid_Memo->currentRow(), 1);
            EXPECT_EQ(f.DBGrid_Data->columns().size(), 16u);
            EXPECT_EQ(f.DBGrid_Data->columns()[2].title, std::string(word) == "船" ? "船" : "ポイント");
            EXPECT_EQ(f.DBGrid_Data->cellText(2, 2), "丸3");
            drv.click(f.Btn_Data_First);
            EXPECT_EQ(f.DBGrid_Data->currentRow(), 0);
            drv.click(f.Btn_Data_Last);
            EXPECT_EQ(f.DBGrid_Data->currentRow(), 2);
            EXPECT_EQ(f.IBSQL_Data.recNo(), 2);
            // The memo text on one line.
            EXPECT_EQ(f.DBGrid_Memo->cellText(0, 5), "一行目 二行目");
            drv.chooseRadio(f.RadioGp1, 1);
            EXPECT_FALSE(f.Panel_Fish->visible());
            EXPECT_EQ(f.Panel_DEL->bounds(), QRect(0, 104, 784, 457));
            drv.chooseRadio(f.RadioGp1, 2);
            EXPECT_TRUE(f.Panel_Plus->visible());
            EXPECT_FALSE(f.Panel_DEL->visible());
            drv.click(f.Btn_Return);
        });
    }
}

TEST(MaintenanceCatch, DeletesTheOneRecordNamedAndNothingElse) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantCatch(files, 5);
    plantMemo(files, 3, "メモ");
    plantLesson(files, 1, 3);
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.type(f.Edit_Data_del, "3");
        drv.click(f.Btn_D_del);
        EXPECT_TRUE(drv.takeBoxes().empty());
        EXPECT_EQ(f.Edit_Data_del->text(), "");
        EXPECT_EQ(catchKeys(files), (Strings{"1", "2", "4", "5"}));
        EXPECT_EQ(f.DBGrid_Data->rowCount(), 4);
        EXPECT_EQ(f.DBGrid_Data->currentRow(), 0);   // back on the first row

        // A double click off the rows leaves the box; on row 4 it names it.
        f.Edit_Data_del->setText("77");
        drv.dblClick(f.DBGrid_Data, QPoint(300, f.DBGrid_Data->height() - 6));
        EXPECT_EQ(f.Edit_Data_del->text(), "77");
        drv.dblClick(f.DBGrid_Data, rowPoint(f.DBGrid_Data, 2));
        EXPECT_EQ(f.Edit_Data_del->text(), "4");
        drv.click(f.Btn_D_del);
        EXPECT_TRUE(drv.takeBoxes().empty());
        EXPECT_EQ(catchKeys(files), (Strings{"1", "2", "5"}));

        // Numbers matching no row behave as a success.
        for (const char* n : {"0", "99", "-1"}) {
            drv.type(f.Edit_Data_del, n);
            drv.click(f.Btn_D_del);
            EXPECT_TRUE(drv.takeBoxes().empty()) << n;
            EXPECT_EQ(f.Edit_Data_del->text(), "") << n;
        }
        // Texts that are no decimal integer delete nothing and stay.
        for (const char* n : {"3a", "３", "0x3", "99999999999", " "}) {
            drv.type(f.Edit_Data_del, QString::fromUtf8(n));
            drv.click(f.Btn_D_del);
            EXPECT_EQ(drv.takeMessages(), QStringList{"番号の指定が違っています"}) << n;
            EXPECT_EQ(f.Edit_Data_del->text(), QString::fromUtf8(n));
            f.Edit_Data_del->clear();
        }
        drv.click(f.Btn_D_del);
        EXPECT_EQ(drv.takeMessages(), QStringList{"番号を入力してください"});
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(catchKeys(files), (Strings{"1", "2", "5"}));
    // Pictures went with their rows; the memo and the lesson stay.
    EXPECT_EQ(column(files.catchFile(), "select PHOTO1 from FISH_DATA order by CODENO"),
              (Strings{"photo1", "photo2", "photo5"}));
    EXPECT_EQ(column(files.memoFile(), "select CODE from FISH_MEMO"), Strings{"3"});
    EXPECT_EQ(column(files.memoFile(), "select K00_PAPANO from FISH_KADAI"), Strings{"3"});
}

TEST(MaintenanceCatch, TheNextRecordRetakesADeletedLargestNumber) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantCatch(files, 5);
    plantLesson(files, 1, 5);
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.type(f.Edit_Data_del, "5");
        drv.click(f.Btn_D_del);
        drv.click(f.Btn_Return);
    });
    DataMode = NEW_Flg;
    TFishDataIn entry(nullptr);
    drv.show(entry);
    EXPECT_EQ(entry.Edit_No->text(), "5");
    entry.Edit_Basyo->setText("相模湾");
    entry.Edit_F1->setText("サバ");
    drv.click(entry.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    EXPECT_EQ(column(files.catchFile(), "select BASYO from FISH_DATA where CODENO = 5"), Strings{"相模湾"});
    // The old lesson now names the new record.
    EXPECT_EQ(column(files.memoFile(), "select K00_PAPANO from FISH_KADAI"), Strings{"5"});
}

TEST(MaintenanceCatch, ARefusedDeletionIsRolledBackAndKeepsTheBox) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantCatch(files, 5);
    test::runSql(files.catchFile(),
                 {"create exception NO_DELETE \"kept\"",
                  "create trigger KEEP4 for FISH_DATA before delete as begin"
                  " if (old.CODENO = 4) then exception NO_DELETE; end"});
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.type(f.Edit_Data_del, "3");
        drv.click(f.Btn_D_del);
        EXPECT_TRUE(drv.takeBoxes().empty());
        drv.type(f.Edit_Data_del, "4");
        drv.click(f.Btn_D_del);
        EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
        EXPECT_EQ(f.Edit_Data_del->text(), "4");
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(catchKeys(files), (Strings{"1", "2", "4", "5"}));
}

TEST(MaintenanceCatch, AListFailingAfterTheCommitNeverReportsTheDeletionAsFailed) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantCatch(files, 5);
    // Reading the list fails once fewer than five rows are left: a column the
    // list shows becomes one computed to fail then.
    test::runSql(files.catchFile(),
                 {"alter table FISH_DATA drop FISH3_KAZU",
                  "alter table FISH_DATA add FISH3_KAZU computed by (1 / ((select count(*) from FISH_DATA) - 4))"});
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.type(f.Edit_Data_del, "3");
        drv.click(f.Btn_D_del);
        const QStringList errors = drv.takeErrors();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains("divide by zero")) << errors[0].toStdString();
        EXPECT_EQ(f.Edit_Data_del->text(), "");
        // A second press finds nothing pending.
        drv.click(f.Btn_D_del);
        EXPECT_EQ(drv.takeMessages(), QStringList{"番号を入力してください"});
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(catchKeys(files), (Strings{"1", "2", "4", "5"}));
}

TEST(MaintenanceCatch, HiddenPanelsTakeNeitherTabNorSpace) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantCatch(files, 2);
    plantMemo(files, 1, "メモ");
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.chooseRadio(f.RadioGp1, 1);
        drv.type(f.Edit_del, "1");
        drv.chooseRadio(f.RadioGp1, 0);
        drv.focus(f.Edit_Data_del);
        for (int i = 0; i < 20; ++i) {
            QWidget* w = QApplication::focusWidget();
            ASSERT_NE(w, nullptr);
            EXPECT_NE(w, f.Btn_Del);
            EXPECT_NE(w, f.Edit_del);
            EXPECT_NE(w, f.Btn_Up);
            EXPECT_NE(w, f.Edit_UP);
            drv.pressKey(w, Qt::Key_Tab);
        }
        drv.click(f.Btn_Del);   // unseen: no click reaches it
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(column(files.memoFile(), "select CODE from FISH_MEMO"), Strings{"1"});
}

TEST(MaintenanceMemo, DeletesTheMemoWithItsPicturesOnly) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantCatch(files, 2);
    for (int i = 1; i <= 3; ++i) plantMemo(files, i, "メモ" + std::to_string(i));
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.chooseRadio(f.RadioGp1, 1);
        EXPECT_EQ(f.DBGrid_Memo->currentRow(), 2);
        drv.type(f.Edit_del, "2");
        drv.click(f.Btn_Del);
        EXPECT_TRUE(drv.takeBoxes().empty());
        EXPECT_EQ(f.Edit_del->text(), "");
        EXPECT_EQ(f.DBGrid_Memo->rowCount(), 2);
        drv.type(f.Edit_del, "２");
        drv.click(f.Btn_Del);
        EXPECT_EQ(drv.takeMessages(), QStringList{"番号の指定が違っています"});
        f.Edit_del->clear();
        drv.click(f.Btn_Del);
        EXPECT_EQ(drv.takeMessages(), QStringList{"番号を入力してください"});
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(column(files.memoFile(), "select CODE from FISH_MEMO order by CODE"), (Strings{"1", "3"}));
    EXPECT_EQ(column(files.memoFile(), "select F_PHOTO1 from FISH_MEMO"), (Strings{"photo", "photo"}));
    EXPECT_EQ(catchKeys(files), (Strings{"1", "2"}));
}

TEST(MaintenanceGenre, AppendsAsTypedDuplicatesAndQuotesIncluded) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.chooseRadio(f.RadioGp1, 2);
        EXPECT_EQ(f.Edit_UP->imeMode(), tolvane::ui::ImeMode::Hiragana);
        for (int i = 0; i < 2; ++i) {
            drv.typeIme(f.Edit_UP, "投げ釣り");
            drv.click(f.Btn_Up);
            EXPECT_TRUE(drv.takeBoxes().empty());
            EXPECT_EQ(f.Edit_UP->text(), "");
        }
        drv.type(f.Edit_UP, "ルアー\"青\"");
        drv.click(f.Btn_Up);
        EXPECT_TRUE(drv.takeBoxes().empty());
        EXPECT_EQ(f.DBGrid_Jyanru->rowCount(), 3);
        EXPECT_EQ(f.DBGrid_Jyanru->cellText(2, 0), "ルアー\"青\"");

        drv.click(f.Btn_Up);
        EXPECT_EQ(drv.takeMessages(), QStringList{"ジャンルを入力してください"});
        // Eleven full-width characters do not fit the column (typing cannot
        // get there, the program can).
        f.Edit_UP->setText("ＡＢＣＤＥＦＧＨＩＪＫ");
        drv.click(f.Btn_Up);
        EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
        EXPECT_EQ(f.Edit_UP->text(), "ＡＢＣＤＥＦＧＨＩＪＫ");
        // A character Shift-JIS cannot hold.
        f.Edit_UP->clear();
        drv.typeIme(f.Edit_UP, "𩸽");
        drv.click(f.Btn_Up);
        EXPECT_EQ(drv.takeMessages(),
                  QStringList{"ジャンルの指定が違っています\n「ジャンル」の「𩸽」は登録できない文字です"});
        EXPECT_EQ(f.Edit_UP->text(), "𩸽");
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(column(files.memoFile(), "select SYURUI from SYURUI"),
              (Strings{"投げ釣り", "投げ釣り", "ルアー\"青\""}));
}

TEST(MaintenanceGenre, AGenreLongerThanItsColumnIsRefusedAsTypedAndAsPasted) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.chooseRadio(f.RadioGp1, 2);
        EXPECT_EQ(f.Edit_UP->maxBytes(), 20);
        drv.focus(f.Edit_UP);
        drv.type(f.Edit_UP, "ＡＢＣＤＥＦＧＨＩＪＫ");
        EXPECT_EQ(f.Edit_UP->text(), "ＡＢＣＤＥＦＧＨＩＪ");
        f.Edit_UP->selectAll();
        QApplication::clipboard()->setText("ＡＢＣＤＥＦＧＨＩＪＫ");
        drv.pressKey(f.Edit_UP, Qt::Key_V, QString(), Qt::ControlModifier);
        EXPECT_EQ(f.Edit_UP->text(), "ＡＢＣＤＥＦＧＨＩＪ");
        drv.click(f.Btn_Up);
        EXPECT_TRUE(drv.takeBoxes().empty());
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(column(files.memoFile(), "select SYURUI from SYURUI"), Strings{"ＡＢＣＤＥＦＧＨＩＪ"});
}

TEST(MaintenanceGenre, AListFailingAfterTheCommitStoresTheGenreOnce) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    test::runSql(files.memoFile(),
                 {"alter table SYURUI add BAD computed by (1 / ((select count(*) from SYURUI) - 1))"});
    Driver drv;
    ProgramRun run(files, drv);
    openMente(drv, run, [&](TMenteF& f) {
        drv.chooseRadio(f.RadioGp1, 2);
        drv.typeIme(f.Edit_UP, "磯釣り");
        drv.click(f.Btn_Up);
        EXPECT_EQ(drv.takeErrors().size(), 1);
        EXPECT_EQ(f.Edit_UP->text(), "");
        drv.click(f.Btn_Up);
        EXPECT_EQ(drv.takeMessages(), QStringList{"ジャンルを入力してください"});
        drv.click(f.Btn_Return);
    });
    EXPECT_EQ(column(files.memoFile(), "select SYURUI from SYURUI"), Strings{"磯釣り"});
}

TEST(MaintenanceLessons, AMissingTableIsCreatedAndUsableInTheSameRun) {
    test::TempDatabases files;
    plantCatch(files, 1);
    {
        Driver drv;
        ProgramRun run(files, drv);
        EXPECT_EQ(drv.takeMessages(), QStringList{KadaiTableMissingMessage});
        openMente(drv, run, [&](TMenteF& f) {
            EXPECT_TRUE(f.Btn_DB_make->visible());
            for (tolvane::ui::Control* c :
                 std::initializer_list<tolvane::ui::Control*>{f.DBGrid_Data, f.DBGrid_Memo, f.DBGrid_Jyanru,
                                                              f.Panel_DEL, f.Panel_Plus, f.Panel_Fish})
                EXPECT_FALSE(c->enabled()) << c->name().toStdString();
            EXPECT_TRUE(f.RadioGp1->enabled());
            EXPECT_TRUE(f.Btn_Return->enabled());
            EXPECT_FALSE(f.Btn_D_del->isEnabled());
            drv.click(f.Btn_DB_make);
            EXPECT_EQ(drv.takeMessages(), QStringList{"データベースを作成しました"});
            EXPECT_FALSE(f.isOpen());
        });
        // A lesson stored on the memo transaction in the same run.
        db::Query q(DM1->IBDB1, DM1->IBTr1);
        q.sqlAdd("insert into FISH_KADAI (K00_CODENO, K00_PAPANO, K01_FISH) values (1, 1, :f)");
        q.paramByName("f").setString("アジ");
        q.execQuery();
        DM1->IBTr1.commitRetaining();
        openMente(drv, run, [&](TMenteF& f) {
            EXPECT_FALSE(f.Btn_DB_make->visible());
            EXPECT_TRUE(f.Panel_Fish->enabled());
            drv.click(f.Btn_Return);
        });
    }
    EXPECT_EQ(column(files.memoFile(), "select K01_FISH from FISH_KADAI"), Strings{"アジ"});
    EXPECT_EQ(column(files.memoFile(),
                     "select trim(RDB$FIELD_NAME) from RDB$RELATION_FIELDS where RDB$RELATION_NAME = "
                     "\"FISH_KADAI\" order by RDB$FIELD_POSITION"),
              (Strings{"K00_CODENO", "K00_PAPANO", "K01_FISH", "K02_PLACE", "K03_TUKI", "K10_MEMO"}));
    // The next start is silent.
    Driver drv;
    ProgramRun run(files, drv);
    EXPECT_TRUE(drv.takeBoxes().empty());
}

TEST(MaintenanceLessons, AnExistingTableIsNeverReplaced) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    plantLesson(files, 1, 1);
    // The table is there, but reading it fails.
    test::runSql(files.memoFile(), {"alter table FISH_KADAI add BAD computed by (1 / 0)"});
    Driver drv;
    ProgramRun run(files, drv);
    EXPECT_EQ(drv.takeMessages(), QStringList{KadaiTableMissingMessage});
    openMente(drv, run, [&](TMenteF& f) {
        ASSERT_TRUE(f.Btn_DB_make->visible());
        drv.click(f.Btn_DB_make);
        EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
        EXPECT_FALSE(f.isOpen());
    });
    EXPECT_EQ(column(files.memoFile(), "select K00_CODENO from FISH_KADAI"), Strings{"1"});
}
