// The main window's start sequence and the settings dialog, driven as a user
// would on fresh database files.
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDate>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include "core/DM_1.h"
#include "app/Main_F.h"
#include "app/Pass_F.h"
#include "catch/Fish_Data_IN.h"
#include "core/handover.h"
#include "core/messages.h"
#include "support/test_databases.h"
#include "support/test_sql.h"
#include "ui/fonts.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;

namespace {

struct PassRow {
    bool p01Null;
    int p01;
    std::string p02;
};

std::vector<PassRow> passRows(const std::string& file) {
    db::Connection c;
    c.databaseName = file;
    db::Transaction t(c);
    db::Query q(c, t);
    q.sqlAdd("select P01_PASSWD, P02_PASSWD from FISH_PASS where P00_CODENO = 0");
    q.open();
    std::vector<PassRow> rows;
    for (; !q.eof(); q.next())
        rows.push_back({q.fieldByName("P01_PASSWD").isNull(), q.fieldByName("P01_PASSWD").asInteger(),
                        q.fieldByName("P02_PASSWD").asString()});
    return rows;
}

// One run of the program: the data module and the main window over the files
// of `files`, started from that directory.
class ProgramRun {
public:
    explicit ProgramRun(const test::TempDatabases& files) : cd_(files.dir()) {
        ResetHandOverVariables();
        createDataModule();
        mainF_.emplace();
        MainF = &*mainF_;
    }
    ~ProgramRun() {
        MainF = nullptr;
        mainF_.reset();
        freeDataModule();
    }
    TMainF& main() { return *mainF_; }

private:
    test::ScopedCurrentDir cd_;
    std::optional<TMainF> mainF_;
};

}  // namespace

TEST(MainWindowStart, WithoutAnyDatabaseFileNamesTheMissingCatchFileOnceAndStaysUsable) {
    test::TempDatabases files(test::Files::None);
    Driver drv;
    ProgramRun run(files);
    drv.show(run.main());

    // One notice, naming the file and where it was looked for; the start
    // sequence ends there (no lessons-table probe, no error box).
    EXPECT_EQ(drv.takeMessages(),
              QStringList{"釣果記録のデータベース SORVENDA.FDB が見つかりません\r探した場所：" +
                          QString::fromStdString(files.dir().string())});
    EXPECT_EQ(run.main().Label6->caption(), "Ver " TOLVANE_VERSION);
    EXPECT_EQ(DataMode, OLD_Flg);
    EXPECT_EQ(ShioMode, 0);
    EXPECT_TRUE(FuneWord.isEmpty());

    // The settings dialog still opens; its select fails and says so in its labels.
    drv.expectModal<TPassF>([&](TPassF& f) {
        EXPECT_EQ(f.Label11->caption(), "一般の潮位　表示方法");
        EXPECT_EQ(f.Label33->caption(), "船・ポイントの表示");
        EXPECT_EQ(f.Label_Shio->caption(), "潮　表示方法");
        EXPECT_EQ(f.RadioGroup1->itemIndex(), 0);
        // The longer headings do not run into the labels beside them.
        auto textRight = [](tolvane::ui::Label* l) {
            return l->bounds().left() + QFontMetrics(l->font()).horizontalAdvance(l->caption());
        };
        EXPECT_LT(textRight(f.Label11), f.Label_Shio->bounds().left());
        EXPECT_LT(textRight(f.Label33), f.Label_Fune->bounds().left());
        drv.click(f.Btn_NO);
    });
    drv.dblClick(run.main().Label6);

    // The close button ends the window.
    drv.click(run.main().Button1);
    EXPECT_FALSE(run.main().isOpen());
}

TEST(MainWindowStart, OnlyTheCatchFileNamesTheMissingMemoFileAndCreatesRowZero) {
    test::TempDatabases files(test::Files::CatchOnly);
    {
        Driver drv;
        ProgramRun run(files);
        drv.show(run.main());
        EXPECT_EQ(drv.takeMessages(),
                  QStringList{"備忘録のデータベース KELDMARK.FDB が見つかりません\r探した場所：" +
                              QString::fromStdString(files.dir().string())});
        // Row 0 was created, but this run keeps the start values.
        EXPECT_EQ(ShioMode, 0);
        EXPECT_TRUE(FuneWord.isEmpty());
    }
    EXPECT_FALSE(std::filesystem::exists(files.memoFile()));   // never created
    const auto rows = passRows(files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].p01Null);
    EXPECT_EQ(rows[0].p01, 0);
    EXPECT_EQ(rows[0].p02, "NOT");
}

namespace {

// A database file the engine cannot attach, made so by `make`, and the first
// line of its notice after the file's name.
struct UnopenableFile {
    const char* what;
    std::function<void(test::TempDatabases&)> make;
    const char* notice;
};

// The start shows exactly one notice for each case: `title`, what is wrong,
// and the directory. `files` says which of the two files the start finds.
void expectStartNotices(test::Files files, const QString& title, const std::vector<UnopenableFile>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDatabases dir(files);
        c.make(dir);
        Driver drv;
        ProgramRun run(dir);
        drv.show(run.main());
        EXPECT_EQ(drv.takeMessages(), QStringList{title + QString::fromUtf8(c.notice) + "\r場所：" +
                                                  QString::fromStdString(dir.dir().string())});
    }
}

}  // namespace

// A memo file that is there but cannot be attached is named as such, not as a
// missing lessons table.
TEST(MainWindowStart, AMemoFileTheEngineCannotOpenIsNamedWithItsDirectory) {
    namespace fs = std::filesystem;
    expectStartNotices(
        test::Files::CatchOnly, QStringLiteral("備忘録のデータベース KELDMARK.FDB"),
        {
            {"a directory", [](test::TempDatabases& f) { fs::create_directory(f.memoFile()); }, " を開けません"},
            {"not a database",
             [](test::TempDatabases& f) { std::ofstream(f.memoFile()) << std::string(65536, 'x'); },
             " を開けません"},
            // The engine attaches only with write access, also for a select.
            {"read-only",
             [](test::TempDatabases& f) {
                 f.addMemoFile();
                 fs::permissions(f.memoFile(), fs::perms::owner_read | fs::perms::group_read);
             },
             " に書き込みできません"},
        });
}

// The catch file gets the same notice as the memo file when the engine
// cannot attach it: missing (above), cannot be written, held by another copy
// of the program, or no database.
TEST(MainWindowStart, ACatchFileTheEngineCannotOpenIsNamedWithItsDirectory) {
    namespace fs = std::filesystem;
    expectStartNotices(
        test::Files::MemoOnly, QStringLiteral("釣果記録のデータベース SORVENDA.FDB"),
        {
            {"not a database",
             [](test::TempDatabases& f) { std::ofstream(f.catchFile()) << std::string(65536, 'x'); },
             " を開けません"},
            {"read-only",
             [](test::TempDatabases& f) {
                 f.addCatchFile();
                 fs::permissions(f.catchFile(), fs::perms::owner_read | fs::perms::group_read);
             },
             " に書き込みできません"},
        });
}

TEST(MainWindowStart, ACatchFileHeldByAnotherProcessIsNamedAsInUse) {
    test::TempDatabases files;
    test::FileHolder holder(files.catchFile());   // another process has it attached
    Driver drv;
    ProgramRun run(files);
    drv.show(run.main());
    EXPECT_EQ(drv.takeMessages(),
              QStringList{"釣果記録のデータベース SORVENDA.FDB は別に起動しているプログラムが使用中です\r場所：" +
                          QString::fromStdString(files.dir().string())});
}

// Each later use of a file that cannot be attached reports the engine's text
// under a Japanese line naming the file; the entry window still proposes
// today's date.
TEST(MainWindowStart, LaterFailuresToAttachLeadWithAJapaneseLineAndTheEntryWindowHasTheDate) {
    test::TempDatabases files(test::Files::MemoOnly);
    Driver drv;
    ProgramRun run(files);
    drv.show(run.main());
    EXPECT_EQ(drv.takeMessages().size(), 1);

    drv.expectModal<TFishDataIn>([&](TFishDataIn& f) {
        const QStringList errors = drv.takeErrors();
        ASSERT_EQ(errors.size(), 1);
        const QStringList lines = errors[0].split('\n');
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[0], "釣果記録のデータベース SORVENDA.FDB が見つかりません");
        EXPECT_TRUE(lines[1].contains("SORVENDA.FDB")) << errors[0].toStdString();   // the engine's text
        EXPECT_EQ(f.Edit_Day->text(), QDate::currentDate().toString("yyyy/MM/dd"));
        EXPECT_TRUE(f.Edit_No->text().isEmpty());
        drv.click(f.Btn_Close);
    });
    drv.click(run.main().Btn_Data_In);
}

TEST(MainWindowStart, MemoFileWithoutTheLessonsTableGivesTheMessageAtEveryStart) {
    test::TempDatabases files;
    test::runSql(files.catchFile(), {"insert into FISH_PASS values (0, 1, \"FUNE\")"});
    for (int start = 0; start < 2; ++start) {
        Driver drv;
        ProgramRun run(files);
        drv.show(run.main());
        EXPECT_EQ(drv.takeMessages(), QStringList{KadaiTableMissingMessage});
        EXPECT_EQ(KadaiTableMissingMessage,
                  "新しいデータベースフィールドが必要です\r （課題用のデータベース） \r"
                  "「メンテナンス画面」にて\r新しいデータベースを作成してください");
        // The rest of the start sequence has run before the probe.
        EXPECT_EQ(ShioMode, 1);
        EXPECT_EQ(FuneWord, "船");
    }
}

TEST(MainWindowStart, UnreadableVersionStopsTheStartBeforeTheSettingsRow) {
    test::TempDatabases files;   // FISH_PASS empty, no lessons table
    {
        Driver drv;
        drv.platform().versionText.clear();
        ProgramRun run(files);
        drv.show(run.main());
        EXPECT_EQ(drv.takeErrors().size(), 1);
        EXPECT_EQ(drv.takeMessages(), QStringList{});   // no lessons-table probe either
        EXPECT_EQ(run.main().Label6->caption(), "Label6");
        EXPECT_EQ(DataMode, OLD_Flg);
        EXPECT_TRUE(run.main().isOpen());
    }
    EXPECT_TRUE(passRows(files.catchFile()).empty());   // row 0 not created
}

TEST(MainWindowStart, EmptySettingsTableIsFilledAndReadAtTheNextStart) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    {
        Driver drv;
        ProgramRun run(files);
        drv.show(run.main());   // no box at all: the lessons table exists
        EXPECT_TRUE(FuneWord.isEmpty());
    }
    {
        Driver drv;
        ProgramRun run(files);
        drv.show(run.main());
        EXPECT_EQ(ShioMode, 0);
        EXPECT_EQ(FuneWord, "ポイント");
    }
    EXPECT_EQ(passRows(files.catchFile()).size(), 1u);
}

TEST(MainWindowStart, RowZeroWithoutStyleGetsASecondRowZeroEachStart) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    test::runSql(files.catchFile(),
           {"insert into FISH_PASS (P00_CODENO, P01_PASSWD, P02_PASSWD) values (0, NULL, \"FUNE\")"});
    {
        Driver drv;
        ProgramRun run(files);
        drv.show(run.main());
        EXPECT_EQ(ShioMode, 0);
        EXPECT_TRUE(FuneWord.isEmpty());
    }
    EXPECT_EQ(passRows(files.catchFile()).size(), 2u);
}

TEST(MainWindowStart, SettingsRowDecidesStyleAndWordingExactly) {
    struct Case {
        const char* p01;
        const char* p02;
        int shio;
        const char* word;
    } cases[] = {{"1", "\"FUNE\"", 1, "船"},
                 {"0", "\"fune\"", 0, "ポイント"},   // the comparison is exact
                 {"2", "\"POINT\"", 0, "ポイント"},
                 {"1", "NULL", 1, "ポイント"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.p01) + " " + c.p02);
        test::TempDatabases files;
        test::createLessonsTable(files.memoFile());
        test::runSql(files.catchFile(), {std::string("insert into FISH_PASS values (0, ") + c.p01 + ", " +
                                   c.p02 + ")"});
        Driver drv;
        ProgramRun run(files);
        drv.show(run.main());
        EXPECT_EQ(ShioMode, c.shio);
        EXPECT_EQ(FuneWord, QString::fromUtf8(c.word));
    }
}

TEST(MainWindowLayout, MatchesItsDesign) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    Driver drv;
    ProgramRun run(files);
    TMainF& m = run.main();
    drv.show(m);
    EXPECT_EQ(m.caption(), "釣果記録");
    EXPECT_EQ(m.width(), 600);
    EXPECT_EQ(m.height(), 480);
    EXPECT_EQ(m.minimumSize(), m.maximumSize());
    EXPECT_EQ(m.color(), QColor(192, 248, 201));
    EXPECT_EQ(m.Btn_Data_In->caption(), "ＤＡＴＡ　入力");
    EXPECT_EQ(m.Btn_Data_In->bounds(), QRect(336, 96, 209, 33));
    EXPECT_EQ(m.Btn_Data_Out->bounds(), QRect(32, 88, 241, 49));
    EXPECT_EQ(m.Label6->bounds().topLeft(), QPoint(32, 421));
    EXPECT_EQ(m.Label3->fontColor(), QColor(0, 0, 255));
    EXPECT_TRUE(m.Btn_Memo_Out->focused());
    // Every title inside its frame, the group's two titles ending together.
    EXPECT_EQ(Driver::labelsAcrossFrames(m), QStringList());
    EXPECT_EQ(m.Label5->left() + m.Label5->width(), m.Label2->left() + m.Label2->width());
    EXPECT_EQ(m.Label5->top(), 68);

    // Keyboard order of the buttons.
    QWidget* expected[] = {m.Btn_Memo_Out, m.Btn_Memo_In, m.Btn_Mente, m.Btn_Data_Out,
                           m.Btn_Data_In,  m.Btn_Name,    m.Btn_Name_In, m.Btn_Bunseki,
                           m.Button1,      m.Btn_Kadai};
    auto nextTabStop = [](QWidget* w) {
        do w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
        return w;
    };
    for (std::size_t i = 1; i < std::size(expected); ++i)
        EXPECT_EQ(nextTabStop(expected[i - 1]), expected[i]) << i;
}

// Every caption of both windows is drawn with glyphs of the window font: a
// missing Japanese font would show empty boxes.
TEST(MainWindowLayout, EveryCaptionHasGlyphs) {
    test::TempDatabases files;
    test::createLessonsTable(files.memoFile());
    Driver drv;
    ProgramRun run(files);
    drv.show(run.main());
    auto check = [](QWidget* root) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            QString text;
            if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
            const QFontMetrics fm(w->font());
            for (QChar ch : text) {
                if (ch.isSpace()) continue;
                EXPECT_TRUE(fm.inFont(ch)) << w->objectName().toStdString() << ": U+" << std::hex
                                           << int(ch.unicode());
            }
        }
        EXPECT_EQ(QFontInfo(root->font()).family(), "IPAPGothic");
    };
    check(&run.main());
    drv.expectModal<TPassF>([&](TPassF& f) {
        check(&f);
        drv.click(f.Btn_NO);
    });
    drv.dblClick(run.main().Label6);
}

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override { test::createLessonsTable(files.memoFile()); }

    void start() {
        run.emplace(files);
        drv.show(run->main());
    }

    // Opens the dialog from the version label and runs `script` in it.
    void inDialog(std::function<void(TPassF&)> script) {
        drv.expectModal<TPassF>([&](TPassF& f) {
            script(f);
            if (f.isOpen()) drv.click(f.Btn_NO);
        });
        drv.dblClick(run->main().Label6);
    }

    test::TempDatabases files;
    // The dialog's messages are real boxes over it.
    Driver drv{Driver::Boxes::Real};
    std::optional<ProgramRun> run;
};

TEST_F(SettingsDialog, ShowsTheStoredSettingsAndPreviewsAChoiceWithoutStoringIt) {
    test::runSql(files.catchFile(), {"insert into FISH_PASS values (0, 1, \"FUNE\")"});
    start();
    inDialog([&](TPassF& f) {
        EXPECT_EQ(f.caption(), "ないしょ");
        EXPECT_EQ(f.Label_Shio->caption(), "オリジナルの潮位表示方法");
        EXPECT_EQ(f.RadioGroup1->itemIndex(), 0);
        EXPECT_EQ(f.Label_Fune->caption(), "船で表示");
        EXPECT_EQ(f.RadioGroup2->itemIndex(), 0);
        drv.chooseRadio(f.RadioGroup1, 1);
        drv.chooseRadio(f.RadioGroup2, 1);
        EXPECT_EQ(f.Label_Shio->caption(), "一般の潮位　表示方法");
        EXPECT_EQ(f.Label_Fune->caption(), "ポイントで表示");
        drv.click(f.Btn_NO);
    });
    const auto rows = passRows(files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].p01, 1);
    EXPECT_EQ(rows[0].p02, "FUNE");
    EXPECT_EQ(ShioMode, 1);
    EXPECT_EQ(FuneWord, "船");
}

TEST_F(SettingsDialog, EachChangeButtonStoresOnlyItsOwnSetting) {
    start();   // row 0 is created: 0, "NOT"
    EXPECT_EQ(drv.takeMessages(), QStringList{});
    inDialog([&](TPassF& f) {
        EXPECT_EQ(f.RadioGroup1->itemIndex(), 1);
        EXPECT_EQ(f.RadioGroup2->itemIndex(), 1);

        drv.chooseRadio(f.RadioGroup1, 0);
        drv.click(f.Btn_Shio);
        EXPECT_EQ(drv.takeMessages(), QStringList{"変更しました"});
        EXPECT_TRUE(f.isActiveWindow());   // back from the box, not the main window
        EXPECT_EQ(f.Label_Shio->caption(), "ＭＹ　オリジナルの潮位表示方法");
        EXPECT_EQ(ShioMode, 1);
        EXPECT_TRUE(FuneWord.isEmpty());
        auto rows = passRows(files.catchFile());
        EXPECT_EQ(rows[0].p01, 1);
        EXPECT_EQ(rows[0].p02, "NOT");

        drv.chooseRadio(f.RadioGroup2, 0);
        drv.click(f.Btn_Fune);
        EXPECT_EQ(drv.takeMessages(), QStringList{"変更しました"});
        EXPECT_EQ(f.Label_Fune->caption(), "船で表示");
        EXPECT_EQ(FuneWord, "船");
        // Twice: the same value again, the same message.
        drv.click(f.Btn_Fune);
        EXPECT_EQ(drv.takeMessages(), QStringList{"変更しました"});
        rows = passRows(files.catchFile());
        EXPECT_EQ(rows[0].p01, 1);
        EXPECT_EQ(rows[0].p02, "FUNE");

        drv.chooseRadio(f.RadioGroup2, 1);
        drv.chooseRadio(f.RadioGroup1, 1);
        drv.click(f.Btn_Fune);
        EXPECT_EQ(drv.takeMessages(), QStringList{"変更しました"});
        EXPECT_EQ(FuneWord, "ポイント");
        EXPECT_EQ(ShioMode, 1);   // style not confirmed: unchanged
        EXPECT_EQ(passRows(files.catchFile())[0].p02, "POINT");
        EXPECT_EQ(passRows(files.catchFile())[0].p01, 1);
    });
}

TEST_F(SettingsDialog, AChangeWithoutRowZeroReportsTheFailureAndKeepsTheSetting) {
    start();
    // Row 0 gone (as when its creation at start failed).
    db::Query del(DM1->IBDB2, DM1->IBTr2);
    del.sqlAdd("delete from FISH_PASS");
    del.execQuery();
    DM1->IBTr2.commitRetaining();

    inDialog([&](TPassF& f) {
        EXPECT_EQ(f.RadioGroup1->itemIndex(), 1);
        EXPECT_EQ(f.RadioGroup2->itemIndex(), 1);
        drv.chooseRadio(f.RadioGroup2, 0);
        drv.click(f.Btn_Fune);
        EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
        EXPECT_TRUE(f.isActiveWindow());
        EXPECT_EQ(f.Label_Fune->caption(), "船で表示");   // the preview of the choice
        EXPECT_TRUE(FuneWord.isEmpty());
        drv.chooseRadio(f.RadioGroup1, 0);
        drv.click(f.Btn_Shio);
        EXPECT_EQ(drv.takeMessages(), QStringList{"失敗しました"});
        EXPECT_EQ(ShioMode, 0);
    });
    EXPECT_TRUE(passRows(files.catchFile()).empty());
}

TEST_F(SettingsDialog, ClosedByTheTitleBarChangesNothing) {
    start();
    drv.expectModal<TPassF>([&](TPassF& f) {
        drv.chooseRadio(f.RadioGroup2, 0);
        drv.closeByTitleBar(f);
    });
    drv.dblClick(run->main().Label6);
    EXPECT_TRUE(FuneWord.isEmpty());
    EXPECT_EQ(PassF, nullptr);
    EXPECT_EQ(passRows(files.catchFile())[0].p02, "NOT");
}
