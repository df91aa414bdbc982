// The catch entry window driven as a user would on fresh database files: the
// reset, the Enter chain with its pick lists, the key filters, the date, the
// save with its checks and conversions read back column by column, pictures,
// the rig-drawing program, the lesson button and the tide markers.
#include <QAbstractItemView>
#include <QDate>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "catch/Data_Sel_F.h"
#include "catch/Fish_Data_IN.h"
#include "photo/Fish_Chizu_In_F.h"
#include "catch_fixture.h"
#include "lessons/Kadai_In_F.h"
#include "support/test_sql.h"
#include "app/Main_F.h"
#include "imaging/codec.h"
#include "pictures/input.h"
#include "ui/testing/driver.h"
#include "support/test_pictures.h"
#include "tide/Fish_Shio_In_F.h"
#include "tide/New_Shio_In_F.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;
using tolvane::ui::testing::FakeProgram;
using catchtest::Session;
using catchtest::execCatch;
using catchtest::storedRows;

namespace {

const QString kToday = QDate::currentDate().toString("yyyy/MM/dd");

// The entry window shown as its opener shows it, reset by its show handler.
struct EntryWindow {
    explicit EntryWindow(Driver& drv) {
        DataMode = NEW_Flg;
        drv.show(w);
    }
    TFishDataIn w{nullptr};
};

// A pick-list script that answers `value` through its new-value box and
// checks the kind asked for.
auto answerWith(Driver& drv, const QString& kind, const QString& value) {
    return [&drv, kind, value](TData_Sel& f) {
        EXPECT_EQ(SelKind, kind);
        if (value.isEmpty()) {
            drv.click(f.Button1);
        } else {
            drv.typeIme(f.Edit_NEW, value);
            drv.pressEnter(f.Edit_NEW);
        }
    };
}

using tolvane::test::cameraJpeg;
using tolvane::test::gradient;

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir::current().absoluteFilePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// Fills the required boxes without the pick lists (as the program would).
void fillRequired(TFishDataIn& w, const QString& place = "東京湾", const QString& fish = "アジ") {
    w.Edit_Basyo->setText(place);
    w.Edit_F1->setText(fish);
}

}  // namespace

TEST(CatchEntryReset, ProposesTheNextNumberTodayAndThePlacesOfTheBoatWording) {
    Session s;
    Driver drv;
    {
        FuneWord = "船";
        EntryWindow e(drv);
        TFishDataIn& w = e.w;
        EXPECT_EQ(w.caption(), "釣果記録");
        EXPECT_EQ(w.Label_Title->caption(), "釣果記録入力");
        EXPECT_EQ(w.size(), QSize(960, 710));
        EXPECT_EQ(w.Edit_No->text(), "1");   // an empty table
        EXPECT_EQ(w.Edit_Day->text(), kToday);
        EXPECT_TRUE(w.Edit_No->focused());
        EXPECT_EQ(w.Edit_Fune->bounds(), QRect(264, 80, 121, 24));
        EXPECT_EQ(w.Label_x22->caption(), "船");
        for (auto* box : {w.Edit_Day, w.Edit_Basyo, w.Edit_F1}) EXPECT_EQ(box->color(), QColor(0, 255, 255));
        EXPECT_FALSE(w.BtnRigsketch->enabled());
        EXPECT_EQ(w.CBox_Shio->itemCount(), 6);
        EXPECT_EQ(w.CBox_Shio->text(), "");
        EXPECT_FALSE(w.Edit_Old_Sho->visible());
        EXPECT_EQ(w.Shape_1->bounds(), QRect(0, 0, 0, 0));
    }
    execCatch({"insert into FISH_DATA (CODENO) values (41)"});
    FuneWord = "";
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    EXPECT_EQ(w.Edit_No->text(), "42");
    EXPECT_EQ(w.Edit_Fune->bounds(), QRect(304, 80, 121, 24));
    EXPECT_EQ(w.Label_x22->caption(), "ポイント");

    // "消 去" empties everything typed, zeroes the markers, and sees a
    // rig-drawing program put in the directory meanwhile.
    w.Edit_Tenki->setText("晴れ");
    w.Memo_Shikake->setText("ハリス２号");
    w.Image_A->setPicture(pictures::Picture::fromBitmap(gradient(8, 8)));
    ShioNewMarks.fill(7);
    ShioTimeRects.fill(9);
    writeFile("Rigsketch.exe", "#!");
    drv.click(w.Btn_New_No);
    EXPECT_EQ(w.Edit_Tenki->text(), "");
    EXPECT_EQ(w.Memo_Shikake->text(), "");
    EXPECT_FALSE(w.Image_A->hasPicture());
    EXPECT_EQ(ShioNewMarks, (std::array<int, 12>{}));
    EXPECT_EQ(ShioTimeRects, (std::array<int, 8>{}));
    EXPECT_TRUE(w.BtnRigsketch->enabled());

    drv.click(w.Btn_Close);
    EXPECT_FALSE(w.isOpen());
}

TEST(CatchEntryKeys, TheEnterChainOpensThePickListsAndSkipsEmptyRows) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;

    drv.focus(w.Edit_Tenki);
    drv.typeIme(w.Edit_Tenki, "晴れ");
    // Enter moves to the place box, whose list opens at once; the focus
    // that comes back when the list closes opens nothing more.
    drv.expectModal<TData_Sel>(answerWith(drv, "BASYO", "東京湾"));
    drv.pressEnter(w.Edit_Tenki);
    EXPECT_EQ(w.Edit_Tenki->text(), "晴れ");
    EXPECT_EQ(w.Edit_Basyo->text(), "東京湾");
    EXPECT_TRUE(w.Edit_Basyo->focused());
    EXPECT_EQ(drv.pendingScripts(), 0);

    drv.expectModal<TData_Sel>(answerWith(drv, "FUNE", ""));   // cancelled: the box stays empty
    drv.pressEnter(w.Edit_Basyo);
    EXPECT_TRUE(w.Edit_Fune->focused());
    EXPECT_EQ(w.Edit_Fune->text(), "");

    drv.pressEnter(w.Edit_Fune);
    EXPECT_TRUE(w.CBox_Shio->focused());
    drv.typeIme(w.CBox_Shio, "大潮");
    drv.expectModal<TData_Sel>(answerWith(drv, "KIJYUNN", "東京"));
    drv.pressEnter(w.CBox_Shio);
    EXPECT_EQ(w.CBox_Shio->text(), "大潮");
    EXPECT_EQ(w.Edit_Shio_Kijyun->text(), "東京");
    drv.pressEnter(w.Edit_Shio_Kijyun);
    EXPECT_TRUE(w.Edit_Old_Day->focused());
    drv.pressEnter(w.Edit_Old_Day);
    EXPECT_TRUE(w.Edit_Max_T1->focused());

    // An empty hour skips its minute and height.
    drv.pressEnter(w.Edit_Max_T1);
    EXPECT_TRUE(w.Edit_Max_T2->focused());
    drv.type(w.Edit_Max_T2, "6");
    drv.pressEnter(w.Edit_Max_T2);
    EXPECT_TRUE(w.Edit_Max_T2_2->focused());
    drv.type(w.Edit_Max_T2_2, "30");
    drv.pressEnter(w.Edit_Max_T2_2);
    EXPECT_TRUE(w.Edit_Max_H2->focused());
    drv.type(w.Edit_Max_H2, "150");
    drv.pressEnter(w.Edit_Max_H2);
    EXPECT_TRUE(w.Edit_Min_T1->focused());
    drv.type(w.Edit_Min_T1, "12");
    drv.pressEnter(w.Edit_Min_T1);
    EXPECT_TRUE(w.Edit_Min_T1_2->focused());
    drv.pressEnter(w.Edit_Min_T1_2);
    EXPECT_TRUE(w.Edit_Min_H1->focused());
    drv.pressEnter(w.Edit_Min_H1);
    EXPECT_TRUE(w.Edit_Min_T2->focused());
    // An empty second low tide goes to the first species, whose list opens.
    drv.expectModal<TData_Sel>(answerWith(drv, "SAKANA", "アジ"));
    drv.pressEnter(w.Edit_Min_T2);
    EXPECT_TRUE(w.Edit_F1->focused());
    EXPECT_EQ(w.Edit_F1->text(), "アジ");

    drv.pressEnter(w.Edit_F1);
    EXPECT_TRUE(w.Edit_F1_Max->focused());
    drv.pressEnter(w.Edit_F1_Max);
    EXPECT_TRUE(w.Edit_F1_Min->focused());
    drv.pressEnter(w.Edit_F1_Min);
    EXPECT_TRUE(w.Edit_F1_kazu->focused());
    drv.pressEnter(w.Edit_F1_kazu);
    EXPECT_TRUE(w.Edit_F2->focused());   // no list: the second species opens it on double click only
    drv.pressEnter(w.Edit_F2);
    EXPECT_TRUE(w.Edit_F3->focused());
    drv.pressEnter(w.Edit_F3);
    EXPECT_TRUE(w.Memo_Shikake->focused());

    // With a second species its sizes and count follow; the count leads to the third.
    w.Edit_F2->setText("サバ");
    drv.pressEnter(w.Edit_F2);
    EXPECT_TRUE(w.Edit_F2_Max->focused());
    drv.pressEnter(w.Edit_F2_Max);
    drv.pressEnter(w.Edit_F2_Min);
    EXPECT_TRUE(w.Edit_F2_kazu->focused());
    drv.pressEnter(w.Edit_F2_kazu);
    EXPECT_TRUE(w.Edit_F3->focused());
    w.Edit_F3->setText("イワシ");
    drv.pressEnter(w.Edit_F3);
    drv.pressEnter(w.Edit_F3_Max);
    drv.pressEnter(w.Edit_F3_Min);
    EXPECT_TRUE(w.Edit_F3_kazu->focused());
    drv.pressEnter(w.Edit_F3_kazu);
    EXPECT_TRUE(w.Memo_Shikake->focused());

    // In the memo Enter starts a new line.
    drv.type(w.Memo_Shikake, "a");
    drv.pressEnter(w.Memo_Shikake);
    drv.type(w.Memo_Shikake, "b");
    EXPECT_EQ(w.Memo_Shikake->text(), "a\r\nb");

    // No Enter typed anything into the boxes it left.
    EXPECT_EQ(w.Edit_Max_T2->text(), "6");
    EXPECT_EQ(w.Edit_Min_T1->text(), "12");
}


TEST(CatchEntryKeys, EnterInTheDroppedTideListKeepsATypedNameAndGoesOn) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    auto dropped = [&] { return w.CBox_Shio->view()->isVisible(); };

    // A name no item begins with, typed key by key while the list is down:
    // Enter closes the list, keeps the name and goes on to the reference
    // station, whose list opens.
    drv.focus(w.CBox_Shio);
    drv.pressKey(w.CBox_Shio, Qt::Key_F4);
    drv.type(w.CBox_Shio, "満");
    ASSERT_TRUE(dropped());
    drv.expectModal<TData_Sel>([&](TData_Sel& f) {
        EXPECT_FALSE(dropped());
        EXPECT_EQ(w.CBox_Shio->text(), "満");
        answerWith(drv, "KIJYUNN", "東京")(f);
    });
    drv.pressEnter(w.CBox_Shio);
    EXPECT_EQ(drv.pendingScripts(), 0);
    EXPECT_EQ(w.CBox_Shio->text(), "満");
    EXPECT_EQ(w.Edit_Shio_Kijyun->text(), "東京");
    EXPECT_TRUE(w.Edit_Shio_Kijyun->focused());
}
TEST(CatchEntryKeys, DoubleClicksOpenTheListsOfTheirBoxes) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    // Species 2 and 3 open theirs on a double click only; receiving the
    // focus opens nothing.
    drv.focus(w.Edit_F2);
    drv.focus(w.Edit_F3);
    w.Edit_F2->setText("古い");
    drv.expectModal<TData_Sel>([&](TData_Sel& f) {
        EXPECT_EQ(w.Edit_F2->text(), "");   // emptied before the list opens
        answerWith(drv, "SAKANA", "サバ")(f);
    });
    drv.dblClick(w.Edit_F2);
    EXPECT_EQ(w.Edit_F2->text(), "サバ");
    drv.expectModal<TData_Sel>(answerWith(drv, "SAKANA", "イワシ"));
    drv.dblClick(w.Edit_F3);
    EXPECT_EQ(w.Edit_F3->text(), "イワシ");

    // Already focused, a double click opens the list once.
    drv.expectModal<TData_Sel>(answerWith(drv, "KIJYUNN", "横浜"));
    drv.focus(w.Edit_Shio_Kijyun);
    drv.expectModal<TData_Sel>(answerWith(drv, "KIJYUNN", ""));
    drv.dblClick(w.Edit_Shio_Kijyun);
    EXPECT_EQ(w.Edit_Shio_Kijyun->text(), "");
}

TEST(CatchEntryKeys, FiltersDropLettersAndAcceptAPointOnlyInHeights) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    const std::vector<tolvane::ui::Edit*> digitBoxes = {
        w.Edit_Max_T1, w.Edit_Max_T1_2, w.Edit_Max_T2, w.Edit_Max_T2_2, w.Edit_Min_T1,
        w.Edit_Min_T1_2, w.Edit_Min_T2, w.Edit_Min_T2_2, w.Edit_F1_Max, w.Edit_F1_Min,
        w.Edit_F1_kazu, w.Edit_F2_Max, w.Edit_F2_Min, w.Edit_F2_kazu, w.Edit_F3_Max,
        w.Edit_F3_Min, w.Edit_F3_kazu};
    for (auto* box : digitBoxes) {
        drv.type(box, "1a.2 x");
        EXPECT_EQ(box->text(), "12") << box->name().toStdString();
        drv.pressKey(box, Qt::Key_Backspace, "\b");
        EXPECT_EQ(box->text(), "1") << box->name().toStdString();
    }
    for (auto* box : {w.Edit_Max_H1, w.Edit_Max_H2, w.Edit_Min_H1, w.Edit_Min_H2}) {
        drv.type(box, "2a.5.");
        EXPECT_EQ(box->text(), "2.5.") << box->name().toStdString();
        drv.pressKey(box, Qt::Key_Backspace, "\b");
        EXPECT_EQ(box->text(), "2.5");
    }
    // Text boxes take anything.
    drv.type(w.Edit_Tenki, "abc.1");
    EXPECT_EQ(w.Edit_Tenki->text(), "abc.1");
    drv.type(w.Edit_Old_Day, "3/5");
    EXPECT_EQ(w.Edit_Old_Day->text(), "3/5");
    // Backspace works in every box, the date and the text boxes too.
    drv.pressKey(w.Edit_Tenki, Qt::Key_Backspace, "\b");
    EXPECT_EQ(w.Edit_Tenki->text(), "abc.");
    drv.pressKey(w.Edit_Old_Day, Qt::Key_Backspace, "\b");
    EXPECT_EQ(w.Edit_Old_Day->text(), "3/");
    drv.pressKey(w.Edit_Day, Qt::Key_End);
    drv.pressKey(w.Edit_Day, Qt::Key_Backspace, "\b");
    EXPECT_EQ(w.Edit_Day->text(), kToday.left(9));
    // Escape passes the filters and types nothing.
    drv.pressKey(w.Edit_F1_kazu, Qt::Key_Escape, "\x1b");
    EXPECT_EQ(w.Edit_F1_kazu->text(), "1");
}

TEST(CatchEntryDate, EnterNormalisesTheDateOrRefusesIt) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    drv.focus(w.Edit_Day);
    w.Edit_Day->setText("2024/3/5");
    drv.pressEnter(w.Edit_Day);
    EXPECT_EQ(w.Edit_Day->text(), "2024/03/05");
    EXPECT_TRUE(w.Edit_Tenki->focused());

    drv.focus(w.Edit_Day);
    for (const char* bad : {"abc", "", "2024/2/30", "2024/13/1"}) {
        w.Edit_Day->setText(bad);
        drv.pressEnter(w.Edit_Day);
        EXPECT_EQ(drv.takeMessages(), QStringList{"日付の指定が間違っています"}) << bad;
        EXPECT_EQ(w.Edit_Day->text(), bad);
        EXPECT_TRUE(w.Edit_Day->focused());
    }
}

TEST(CatchEntryDate, ReadersOfDatesTimesAndHeights) {
    const int year = QDate::currentDate().year();
    EXPECT_EQ(readShortDate("2024/03/05"), QDate(2024, 3, 5));
    EXPECT_EQ(readShortDate(" 2024 / 3 / 5 "), QDate(2024, 3, 5));
    EXPECT_EQ(readShortDate("3/5"), QDate(year, 3, 5));
    EXPECT_EQ(readShortDate("24/3/5"), QDate(2024, 3, 5));
    EXPECT_EQ(readShortDate("99/12/31"), QDate(1999, 12, 31));
    EXPECT_EQ(readShortDate("2024-03-05"), std::nullopt);
    EXPECT_EQ(readShortDate("2024/3/5/1"), std::nullopt);
    EXPECT_EQ(readShortDate("2023/2/29"), std::nullopt);

    EXPECT_EQ(readTimeOfDay("5", "7"), "05:07");
    EXPECT_EQ(readTimeOfDay("23", "59"), "23:59");
    EXPECT_EQ(readTimeOfDay("0", "0"), "00:00");
    EXPECT_EQ(readTimeOfDay("24", "0"), std::nullopt);
    EXPECT_EQ(readTimeOfDay("5", "60"), std::nullopt);
    EXPECT_EQ(readTimeOfDay("99999999999", "0"), std::nullopt);

    EXPECT_EQ(readRoundedHeight("2.5"), 2);
    EXPECT_EQ(readRoundedHeight("3.5"), 4);
    EXPECT_EQ(readRoundedHeight("12.49"), 12);
    EXPECT_EQ(readRoundedHeight("0.5"), 0);
    EXPECT_EQ(readRoundedHeight("150"), 150);
    EXPECT_EQ(readRoundedHeight("1.2.3"), std::nullopt);
    EXPECT_EQ(readRoundedHeight("."), std::nullopt);
    EXPECT_EQ(readRoundedHeight("3000000000"), std::nullopt);
    // Blanks around the number are read as today; group separators make no height.
    EXPECT_EQ(readRoundedHeight(" 42.5 "), 42);
    for (const char* t : {"2,500.5", "1,000", "-1,000", "1,000,000.0", "12,5", "  ", "inf", "nan"})
        EXPECT_EQ(readRoundedHeight(t), std::nullopt) << t;
}

TEST(CatchEntrySave, MissingPlaceAndSpeciesOpenBothListsThenStop) {
    Session s;
    // The message is a real window: it takes the activation, and the lists
    // open only when the layer has given it back before the focus moves.
    Driver drv(Driver::Boxes::Real);
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    drv.expectModal<TData_Sel>([&](TData_Sel& f) {
        EXPECT_EQ(drv.takeMessages(), QStringList{"必須事項：日付、場所、魚種１が未入力です"});
        EXPECT_EQ(f.caption(), "魚種の選択");
        drv.click(f.Button1);
    });
    drv.expectModal<TData_Sel>([&](TData_Sel& f) {
        EXPECT_EQ(f.caption(), "場所の選択");
        drv.click(f.Button1);
    });
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.answeredBoxes(), 1);
    EXPECT_EQ(drv.shownWindows(), (QStringList{"Data_Sel", "Data_Sel"}));
    EXPECT_TRUE(w.Edit_Basyo->focused());
    EXPECT_EQ(drv.pendingScripts(), 0);

    // Only the species missing: its list alone.
    w.Edit_Basyo->setText("港");
    drv.expectModal<TData_Sel>(answerWith(drv, "SAKANA", ""));
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"必須事項：日付、場所、魚種１が未入力です"});
    EXPECT_TRUE(w.Edit_F1->focused());
    EXPECT_TRUE(storedRows(s.files.catchFile()).empty());
}

TEST(CatchEntrySave, UnreadableDatesTimesAndNumbersStoreNothing) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    fillRequired(w);

    w.Edit_Day->setText("");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"日付・時間の入力が不正です"});

    // A tide time out of range: the date is normalised all the same.
    w.Edit_Day->setText("2024/3/5");
    w.Edit_Min_T2->setText("24");
    w.Edit_Min_T2_2->setText("0");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"日付・時間の入力が不正です"});
    EXPECT_EQ(w.Edit_Day->text(), "2024/03/05");
    EXPECT_EQ(w.Edit_Min_T2->text(), "24");

    // Eleven nines do not fit a count.
    w.Edit_Min_T2->setText("23");
    w.Edit_F2_kazu->setText("99999999999");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力が間違っています。確認ください"});
    EXPECT_EQ(w.Edit_F2_kazu->text(), "99999999999");

    // A height that is not a number.
    w.Edit_F2_kazu->setText("3");
    w.Edit_Max_H1->setText("1.2.3");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力が間違っています。確認ください"});

    // A character Shift-JIS cannot hold is refused before anything is sent,
    // named with its box.
    w.Edit_Max_H1->setText("1.2");
    w.Edit_Tenki->setText("晴れ🐟");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(),
              QStringList{"入力が間違っています。確認ください\n「天候」の「🐟」は登録できない文字です"});
    EXPECT_EQ(w.Edit_Basyo->text(), "東京湾");
    EXPECT_TRUE(storedRows(s.files.catchFile()).empty());
}

TEST(CatchEntrySave, AWholeRecordIsStoredColumnByColumn) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;

    const QByteArray photo = cameraJpeg(gradient(64, 48));
    const QString photoPath = writeFile("boat.jpg", photo);
    const QImage map = gradient(40, 30);

    w.Edit_Day->setText("2024/3/5");
    w.Edit_Tenki->setText("晴れ");
    w.Edit_Basyo->setText("東京湾");
    w.Edit_Fune->setText("第一丸");
    w.CBox_Shio->setText("大潮");
    w.Edit_Shio_Kijyun->setText("東京");
    w.Edit_Old_Day->setText("２月２５日");
    w.Edit_Max_T1->setText("5");
    w.Edit_Max_T1_2->setText("7");
    w.Edit_Max_H1->setText("2.5");
    w.Edit_Max_T2->setText("17");   // no minute: NULL
    w.Edit_Max_H2->setText("3.5");
    w.Edit_Min_T1->setText("11");
    w.Edit_Min_T1_2->setText("45");
    w.Edit_Min_H1->setText("12.49");
    w.Edit_F1->setText("アジ");
    w.Edit_F1_Max->setText("32");
    w.Edit_F1_Min->setText("18");
    w.Edit_F1_kazu->setText("25");
    w.Edit_F3_kazu->setText("0");
    w.Memo_Shikake->setText("サビキ\r\nハリス２号");
    ShioNewMarks = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ShioTimeRects = {100, 40, 60, 200, 201, 41, 31, 101};

    // A photo loaded from a file, a map from the rig-drawing program.
    drv.platform().pictureFileAnswers = {photoPath};
    drv.dblClick(w.Image_B);
    ASSERT_TRUE(w.Image_B->picture().isJpeg());
    w.Image_Map->setPicture(pictures::Picture::fromBitmap(map));

    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});

    const auto rows = storedRows(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    auto r = rows[0];
    auto text = [&](const char* c) { return r.at(c).text; };
    auto isNull = [&](const char* c) { return r.at(c).null; };
    EXPECT_EQ(text("CODENO"), "1");
    EXPECT_EQ(text("DAY_DATA"), "2024/03/05");
    EXPECT_EQ(text("TENNKI"), "晴れ");
    EXPECT_EQ(r.at("TENNKI").bytes, "\x90\xb0\x82\xea");   // Shift-JIS
    EXPECT_EQ(text("BASYO"), "東京湾");
    EXPECT_EQ(text("FUNE"), "第一丸");
    EXPECT_EQ(text("SHIO"), "大潮");
    EXPECT_EQ(text("KIJYUNN"), "東京");
    EXPECT_EQ(text("KYUUREKI"), "２月２５日");
    EXPECT_FALSE(isNull("OLD_SHIO"));
    EXPECT_EQ(text("OLD_SHIO"), "");
    EXPECT_EQ(text("MAX1"), "05:07");
    EXPECT_TRUE(isNull("MAX2"));
    EXPECT_EQ(text("MIN1"), "11:45");
    EXPECT_TRUE(isNull("MIN2"));
    EXPECT_EQ(text("MAX1_HIGHT"), "2");
    EXPECT_EQ(text("MAX2_HIGHT"), "4");
    EXPECT_EQ(text("MIN1_LOW"), "12");
    EXPECT_TRUE(isNull("MIN2_LOW"));
    EXPECT_EQ(text("FISH1"), "アジ");
    EXPECT_EQ(text("FISH1_MAX"), "32");
    EXPECT_EQ(text("FISH1_MIN"), "18");
    EXPECT_EQ(text("FISH1_KAZU"), "25");
    for (const char* c : {"FISH2", "FISH3"}) {
        EXPECT_FALSE(isNull(c)) << c;   // empty text, not NULL
        EXPECT_EQ(text(c), "") << c;
    }
    for (const char* c : {"FISH2_MAX", "FISH2_MIN", "FISH2_KAZU", "FISH3_MAX", "FISH3_MIN"})
        EXPECT_TRUE(isNull(c)) << c;
    EXPECT_EQ(text("FISH3_KAZU"), "0");
    EXPECT_EQ(text("SHIKAKE"), "サビキ\r\nハリス２号");
    EXPECT_TRUE(isNull("BIKOU"));
    // Pictures: the JPEG photo byte for byte, the bitmap map encoded as JPEG.
    EXPECT_EQ(QByteArray::fromStdString(r.at("PHOTO2").bytes), photo);
    ASSERT_FALSE(isNull("CHIZU"));
    const QByteArray mapBytes = QByteArray::fromStdString(r.at("CHIZU").bytes);
    EXPECT_TRUE(mapBytes.startsWith("\xff\xd8"));
    EXPECT_EQ(pictures::decodeJpeg(mapBytes).size(), QSize(40, 30));
    for (const char* c : {"SHIO_ZU", "PHOTO1", "PHOTO3", "PHOTO4"}) EXPECT_TRUE(isNull(c)) << c;
    const char* marks[] = {"NEW_1_S", "NEW_1_E", "NEW_2_S", "NEW_2_E", "NEW_3_S", "NEW_3_E",
                           "NEW_4_S", "NEW_4_E", "NEW_5_S", "NEW_5_E", "NEW_6_S", "NEW_6_E"};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(text(marks[i]), QString::number(i + 1)) << marks[i];
    const char* rects[] = {"TIME1_L", "TIME1_T", "TIME1_W", "TIME1_H",
                           "TIME2_L", "TIME2_T", "TIME2_W", "TIME2_H"};
    const int rectValues[] = {100, 40, 60, 200, 201, 41, 31, 101};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(text(rects[i]), QString::number(rectValues[i])) << rects[i];
    for (const char* c : {"TIME1_START", "TIME1_END", "TIME2_START", "TIME2_END", "TIME3_L",
                          "TIME3_T", "TIME3_W", "TIME3_H"})
        EXPECT_TRUE(isNull(c)) << c;
    EXPECT_EQ(r.size(), 65u);

    // The window is reset for the next record, markers zeroed.
    EXPECT_EQ(w.Edit_No->text(), "2");
    EXPECT_EQ(w.Edit_Day->text(), kToday);
    EXPECT_EQ(w.Edit_Tenki->text(), "");
    EXPECT_FALSE(w.Image_B->hasPicture());
    EXPECT_FALSE(w.Image_Map->hasPicture());

    // Saving again at once gives the required-fields message and both lists.
    drv.expectModal<TData_Sel>(answerWith(drv, "SAKANA", "サバ"));
    drv.expectModal<TData_Sel>(answerWith(drv, "BASYO", "相模湾"));
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"必須事項：日付、場所、魚種１が未入力です"});

    // The next record, with memos and no tide editor: zero markers, NULL heights.
    w.Memo_Cyouka->setText("abc");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    const auto again = storedRows(s.files.catchFile());
    ASSERT_EQ(again.size(), 2u);
    r = again[1];
    EXPECT_EQ(text("CODENO"), "2");
    EXPECT_EQ(text("DAY_DATA"), kToday);
    EXPECT_EQ(text("BASYO"), "相模湾");
    EXPECT_EQ(text("FISH1"), "サバ");
    EXPECT_EQ(text("BIKOU"), "abc");
    EXPECT_TRUE(isNull("SHIKAKE"));
    EXPECT_TRUE(isNull("MAX1_HIGHT"));
    EXPECT_TRUE(isNull("MAX1"));
    EXPECT_EQ(text("TENNKI"), "");
    EXPECT_FALSE(isNull("TENNKI"));
    for (const char* c : marks) EXPECT_EQ(text(c), "0") << c;
    for (const char* c : rects) EXPECT_EQ(text(c), "0") << c;
    for (const char* c : {"SHIO_ZU", "CHIZU", "PHOTO1", "PHOTO2", "PHOTO3", "PHOTO4"})
        EXPECT_TRUE(isNull(c)) << c;
}

TEST(CatchEntrySave, AFailedInsertKeepsEverythingAndTheNextOneIsStored) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    fillRequired(w);
    // Eleven full-width characters are 22 bytes: too long for FUNE.
    w.Edit_Fune->setText("ＡＢＣＤＥＦＧＨＩＪＫ");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力に失敗しました"});
    EXPECT_EQ(w.Edit_Fune->text(), "ＡＢＣＤＥＦＧＨＩＪＫ");
    EXPECT_EQ(w.Edit_No->text(), "1");
    EXPECT_TRUE(storedRows(s.files.catchFile()).empty());

    w.Edit_Fune->setText("ＡＢＣ");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    const auto rows = storedRows(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("FUNE").text, "ＡＢＣ");
}

namespace {
// The test platform, able to fail the file test the reset makes.
class FailingFileTest : public tolvane::ui::testing::TestPlatform {
public:
    bool fail = false;
    bool fileExists(const QString& path) override {
        if (fail) throw std::runtime_error("The directory cannot be read");
        return TestPlatform::fileExists(path);
    }
};
}  // namespace

TEST(CatchEntrySave, AResetFailingAfterTheCommitNeverReportsAFailedInput) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    FailingFileTest platform;
    tolvane::ui::Platform* previous = tolvane::ui::setPlatform(&platform);
    fillRequired(w);
    platform.fail = true;
    drv.click(w.Btn_New_Yes);
    tolvane::ui::setPlatform(previous);

    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].kind, tolvane::ui::testing::ShownBox::Kind::Message);
    EXPECT_EQ(platform.boxes[0].text, "入力完了");
    EXPECT_EQ(platform.boxes[1].kind, tolvane::ui::testing::ShownBox::Kind::Error);
    EXPECT_EQ(platform.boxes[1].text, "The directory cannot be read.");
    EXPECT_EQ(storedRows(s.files.catchFile()).size(), 1u);
}

TEST(CatchEntryPictures, PhotosComeFromJpegFilesOnly) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    const QByteArray photo = cameraJpeg(gradient(32, 24));
    const QString path = writeFile("fish.jpeg", photo);
    writeFile("note.txt", "not a picture");
    tolvane::ui::Image* photos[] = {w.Image_A, w.Image_B, w.Image_C, w.Image_D};
    for (auto* img : photos) {
        drv.platform().pictureFileAnswers = {path};
        drv.dblClick(img);
        ASSERT_TRUE(img->picture().isJpeg()) << img->name().toStdString();
        EXPECT_EQ(img->picture().jpegBytes(), photo);
    }
    EXPECT_EQ(drv.platform().lastPictureFilters, pictures::jpegPictureFilters());

    // Cancelled: no change. Not a picture: the message, no change.
    drv.platform().pictureFileAnswers = {""};
    drv.dblClick(w.Image_A);
    drv.platform().pictureFileAnswers = {QDir::current().absoluteFilePath("note.txt")};
    drv.dblClick(w.Image_A);
    EXPECT_EQ(drv.takeMessages(), QStringList{"JPEGフォーマットの写真を指定してくださいを"});
    EXPECT_EQ(w.Image_A->picture().jpegBytes(), photo);
}

TEST(CatchEntryPictures, TheRigDrawingProgramHandsItsBitmapBack) {
    Session s;
    Driver drv;
    const QString program = QDir::current().absoluteFilePath("Rigsketch.exe");
    writeFile("Rigsketch.exe", "#!");
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    ASSERT_TRUE(w.BtnRigsketch->enabled());

    // Disabled while it runs; its bitmap becomes the map.
    bool disabledWhileRunning = false;
    FakeProgram rig;
    rig.program = program;
    rig.pollsWhileRunning = 3;
    rig.onExit = [&] {
        disabledWhileRunning = !w.isEnabled();
        drv.platform().clipboard = gradient(50, 20);
    };
    drv.platform().programs = {rig};
    drv.platform().clipboard = gradient(5, 5);
    drv.click(w.BtnRigsketch);
    EXPECT_TRUE(disabledWhileRunning);
    EXPECT_TRUE(w.isEnabled());
    ASSERT_TRUE(w.Image_Map->picture().isBitmap());
    EXPECT_EQ(w.Image_Map->picture().width(), 50);
    EXPECT_EQ(drv.platform().startedPrograms, QStringList{program});
    EXPECT_TRUE(drv.takeMessages().isEmpty());

    // Ending with nothing on the clipboard (it was emptied before the start)
    // leaves the map as it was.
    FakeProgram empty;
    empty.pollsWhileRunning = 1;
    drv.platform().programs = {empty};
    drv.platform().clipboard = gradient(6, 6);
    drv.click(w.BtnRigsketch);
    EXPECT_EQ(w.Image_Map->picture().width(), 50);

    // A failed start: enabled again at once, nothing else changes.
    FakeProgram broken;
    broken.startFails = true;
    drv.platform().programs = {broken};
    drv.click(w.BtnRigsketch);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(w.Image_Map->picture().width(), 50);
    EXPECT_TRUE(drv.takeMessages().isEmpty());
}

TEST(CatchEntryTide, RectangleMarkersArePlacedAtHalfScale) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;

    ShioMode = 1;
    DataMode = OLD_Flg;
    ShioTimeRects = {100, 40, 60, 200, 201, 41, 31, 101};
    auto closeEditor = [&](auto& f) { drv.click(f.Btn_Return); };
    drv.expectModal<TFish_Shio_InF>(closeEditor);
    drv.click(w.But_Cyoui);
    EXPECT_EQ(DataMode, NEW_Flg);
    EXPECT_EQ(ShioPicFlag, 1);
    EXPECT_EQ(w.Shape_1->bounds(), QRect(87, 15, 30, 100));
    EXPECT_EQ(w.Shape_2->bounds(), QRect(137, 15, 15, 50));
    EXPECT_EQ(w.Shape_1->penColor(), QColor(0, 0, 255));
    EXPECT_EQ(w.Shape_1->fill(), tolvane::ui::Shape::Fill::Clear);
    EXPECT_EQ(w.Shape_2->fill(), tolvane::ui::Shape::Fill::BDiagonal);

    // All zero: both invisible at (37, -5).
    ShioTimeRects.fill(0);
    drv.expectModal<TFish_Shio_InF>(closeEditor);
    drv.dblClick(w.Image_Shio);
    EXPECT_EQ(w.Shape_1->bounds(), QRect(37, -5, 0, 0));
    EXPECT_EQ(w.Shape_2->bounds(), QRect(37, -5, 0, 0));
    EXPECT_FALSE(w.Shape_1->isVisible() && w.Shape_1->width() > 0);

    // The general style leaves the shapes alone.
    ShioMode = 0;
    ShioTimeRects = {100, 40, 60, 200, 201, 41, 31, 101};
    drv.expectModal<TNew_Shio_InF>(closeEditor);
    drv.click(w.But_Cyoui);
    EXPECT_EQ(w.Shape_1->bounds(), QRect(37, -5, 0, 0));

    // The map button sets the mode for the map window.
    DataMode = OLD_Flg;
    drv.expectModal<TFish_Chizu_InF>([&](TFish_Chizu_InF& f) {
        EXPECT_EQ(DataMode, NEW_Flg);
        drv.click(f.Btn_Return);
    });
    drv.click(w.Btn_Chizu);
    EXPECT_EQ(DataMode, NEW_Flg);
}

TEST(CatchEntryLesson, NeedsPlaceAndSpeciesAndHandsOverTheMonthWithoutZero) {
    Session s;
    tolvane::test::createLessonsTable(s.files.memoFile());
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    drv.click(w.Btn_Kadai);
    EXPECT_EQ(drv.takeMessages(), QStringList{"魚種、場所の入力が必要です"});
    EXPECT_EQ(KadaiMode, 0);

    fillRequired(w, "城ヶ島", "メジナ");
    w.Edit_Day->setText("2024/3/5");   // typed, never normalised
    // The lesson window opens and stores its lesson at once, the trip unsaved.
    drv.expectModal<TKadai_InF>([&](TKadai_InF& k) {
        EXPECT_EQ(k.Edit_Place->text(), "城ヶ島");
        EXPECT_EQ(k.Edit_Fish->text(), "メジナ");
        EXPECT_EQ(k.Edit_Tuki->text(), " 3 月");
        EXPECT_EQ(k.Label_No->caption(), "1");
        drv.typeIme(k.Memo1, "潮上に投げる");
        drv.click(k.Btn_In);
    });
    drv.click(w.Btn_Kadai);
    {
        tolvane::db::Connection c;
        c.databaseName = s.files.memoFile();
        tolvane::db::Transaction t(c);
        tolvane::db::Query q(c, t);
        q.sqlAdd("select K00_PAPANO, K03_TUKI from FISH_KADAI");
        q.open();
        ASSERT_EQ(q.recordCount(), 1);
        EXPECT_EQ(q.fields(0).asInteger(), 1);
        EXPECT_EQ(q.fields(1).asString(), "3");
    }
    EXPECT_TRUE(storedRows(s.files.catchFile()).empty());
    EXPECT_EQ(w.Edit_Day->text(), "2024/03/05");
    EXPECT_EQ(KadaiMode, 1);
    EXPECT_EQ(KadaiPlace, "城ヶ島");
    EXPECT_EQ(KadaiFish, "メジナ");
    EXPECT_EQ(KadaiMonth, "3");
    EXPECT_EQ(KadaiPapaNo, 1);

    w.Edit_Day->setText("2024/11/20");
    drv.expectModal<TKadai_InF>([&](TKadai_InF& k) { drv.click(k.Btn_Return); });
    drv.click(w.Btn_Kadai);
    EXPECT_EQ(KadaiMonth, "11");

    KadaiMonth.clear();
    w.Edit_Day->setText("いつか");
    drv.click(w.Btn_Kadai);
    EXPECT_EQ(drv.takeMessages(), QStringList{"日付の指定が間違っています"});
    EXPECT_EQ(KadaiMonth, "");
}

TEST(CatchEntryOpener, TheMainWindowOpensItInNewModeAndRestoresTheOldOne) {
    Session s;
    Driver drv;
    TMainF main;
    MainF = &main;
    drv.show(main);
    drv.takeMessages();   // the lessons-table notice of fresh files
    ASSERT_EQ(DataMode, OLD_Flg);
    drv.expectModal<TFishDataIn>([&](TFishDataIn& f) {
        EXPECT_EQ(DataMode, NEW_Flg);
        EXPECT_EQ(FishDataIn, &f);
        EXPECT_EQ(f.owner(), &main);
        EXPECT_EQ(f.Edit_No->text(), "1");
        drv.click(f.Btn_Close);
    });
    drv.click(main.Btn_Data_In);
    EXPECT_EQ(DataMode, OLD_Flg);
    EXPECT_EQ(FishDataIn, nullptr);
    MainF = nullptr;
}

TEST(CatchEntryOpener, WithoutTheCatchFileTheResetFailsAndTheModeIsStillRestored) {
    Session s(tolvane::test::Files::MemoOnly);
    Driver drv;
    tolvane::ui::Form owner(nullptr, "Owner");
    drv.show(owner);
    DataMode = NEW_Flg;
    drv.expectModal<TFishDataIn>([&](TFishDataIn& f) {
        const QStringList errors = drv.takeErrors();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains("SORVENDA.FDB")) << errors[0].toStdString();
        EXPECT_TRUE(f.isOpen());
        EXPECT_EQ(f.Edit_No->text(), "");
        drv.click(f.Btn_Close);
    });
    tolvane::ui::openModal(FishDataIn, &owner);
}
