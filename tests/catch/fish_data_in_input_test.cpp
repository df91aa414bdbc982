// The catch entry window as a new user meets it: opened while the catch file
// cannot be attached, then saved once it can; text longer than its column,
// characters the database cannot store, and pastes past the key filters.
#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

#include "catch/Data_Sel_F.h"
#include "catch/Fish_Data_IN.h"
#include "catch_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;
using catchtest::Session;
using catchtest::storedRows;

namespace {

struct EntryWindow {
    explicit EntryWindow(Driver& drv) {
        DataMode = NEW_Flg;
        drv.show(w);
    }
    TFishDataIn w{nullptr};
};

void pasteByKey(Driver& drv, QWidget* w, const QString& text) {
    QApplication::clipboard()->setText(text);
    drv.focus(w);
    drv.pressKey(w, Qt::Key_V, QString(), Qt::ControlModifier);
}

const QString kLong = QStringLiteral("オニカサゴ（イズカサゴ）");   // 24 bytes

}  // namespace

TEST(CatchEntryRealUse, WithoutTheCatchFileTheSaveFailsKeepingAllThenStoresOnceItIsThere) {
    Session s(tolvane::test::Files::MemoOnly);
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    ASSERT_EQ(drv.takeErrors().size(), 1);   // the reset's number query
    EXPECT_EQ(w.Edit_No->text(), "");

    w.Edit_Day->setText("2024/3/5");
    drv.focus(w.Edit_Tenki);
    drv.typeIme(w.Edit_Tenki, "晴れ");
    w.Edit_Basyo->setText("城ヶ島");
    w.Edit_F1->setText("アジ");
    w.Memo_Cyouka->setText("朝まづめ");
    drv.click(w.Btn_New_Yes);
    const QStringList failed = drv.takeMessages();
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].startsWith("入力に失敗しました\n")) << failed[0].toStdString();
    EXPECT_TRUE(failed[0].contains("SORVENDA.FDB")) << failed[0].toStdString();
    EXPECT_EQ(w.Edit_No->text(), "");
    EXPECT_EQ(w.Edit_Tenki->text(), "晴れ");
    EXPECT_EQ(w.Memo_Cyouka->text(), "朝まづめ");

    // The file is back: the same button reads the number and stores the record.
    s.files.addCatchFile();
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    const auto rows = storedRows(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("CODENO").text, "1");
    EXPECT_EQ(rows[0].at("DAY_DATA").text, "2024/03/05");
    EXPECT_EQ(rows[0].at("TENNKI").text, "晴れ");
    EXPECT_EQ(rows[0].at("BASYO").text, "城ヶ島");
    EXPECT_EQ(rows[0].at("BIKOU").text, "朝まづめ");
    EXPECT_EQ(w.Edit_No->text(), "2");   // reset for the next record
}

TEST(CatchEntryRealUse, TextLongerThanItsColumnIsRefusedAsTypedAndAsPasted) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    drv.focus(w.Edit_F2);
    drv.type(w.Edit_F2, kLong);
    EXPECT_EQ(w.Edit_F2->text(), "オニカサゴ（イズカサ");   // 20 bytes
    w.Edit_F2->clear();
    pasteByKey(drv, w.Edit_F2, kLong);
    EXPECT_EQ(w.Edit_F2->text(), "");
    drv.focus(w.Edit_Old_Day);
    drv.type(w.Edit_Old_Day, "旧暦3月15日");
    EXPECT_EQ(w.Edit_Old_Day->text(), "旧暦3月15");
    EXPECT_EQ(w.CBox_Shio->maxBytes(), 20);
    for (auto* box : {w.Edit_Day, w.Edit_Tenki, w.Edit_Basyo, w.Edit_Fune, w.Edit_Shio_Kijyun, w.Edit_F1,
                      w.Edit_F3, w.Edit_Old_Sho})
        EXPECT_EQ(box->maxBytes(), 20) << box->name().toStdString();

    // The pick list's new value has the width of the box that asked.
    drv.expectModal<TData_Sel>([&](TData_Sel& f) {
        EXPECT_EQ(f.Edit_NEW->maxBytes(), 20);
        drv.typeIme(f.Edit_NEW, kLong);
        EXPECT_EQ(f.Edit_NEW->text(), "");
        drv.typeIme(f.Edit_NEW, "オニカサゴ");
        drv.pressEnter(f.Edit_NEW);
    });
    drv.dblClick(w.Edit_F1);
    EXPECT_EQ(w.Edit_F1->text(), "オニカサゴ");

    w.Edit_Basyo->setText("城ヶ島");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    EXPECT_EQ(storedRows(s.files.catchFile()).at(0).at("KYUUREKI").text, "旧暦3月15");
}

TEST(CatchEntryRealUse, ACharacterTheDatabaseCannotHoldIsNamedWithItsBox) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    w.Edit_Basyo->setText("城ヶ島");
    w.Edit_F1->setText("アジ");
    w.Memo_Shikake->setText("サビキ");
    w.Memo_Cyouka->setText("大漁😀でした");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(),
              QStringList{"入力が間違っています。確認ください\n「釣果　釣行記録」の「😀」は登録できない文字です"});
    EXPECT_EQ(w.Memo_Cyouka->text(), "大漁😀でした");

    // The boat box is named after its current wording.
    w.Memo_Cyouka->setText("大漁でした");
    w.Edit_Fune->setText("🚤丸");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(),
              QStringList{"入力が間違っています。確認ください\n「ポイント」の「🚤」は登録できない文字です"});
    EXPECT_TRUE(storedRows(s.files.catchFile()).empty());
}

TEST(CatchEntryRealUse, PastesPassTheKeyFiltersAndSingleLineBoxesTakeNoControlCharacters) {
    Session s;
    Driver drv;
    EntryWindow e(drv);
    TFishDataIn& w = e.w;
    pasteByKey(drv, w.Edit_F1_Max, "-5");
    EXPECT_EQ(w.Edit_F1_Max->text(), "");
    pasteByKey(drv, w.Edit_F1_Max, "35");
    pasteByKey(drv, w.Edit_Max_H1, "1e3");
    EXPECT_EQ(w.Edit_Max_H1->text(), "");
    pasteByKey(drv, w.Edit_Max_H1, "1,000");
    EXPECT_EQ(w.Edit_Max_H1->text(), "");
    pasteByKey(drv, w.Edit_Max_H1, "1.5");
    pasteByKey(drv, w.Edit_Tenki, "a\tb");
    EXPECT_EQ(w.Edit_Tenki->text(), "ab");
    pasteByKey(drv, w.Edit_Old_Day, "3月\x1b" "15日\r\n");
    EXPECT_EQ(w.Edit_Old_Day->text(), "3月15日");

    w.Edit_Basyo->setText("城ヶ島");
    w.Edit_F1->setText("アジ");
    drv.click(w.Btn_New_Yes);
    EXPECT_EQ(drv.takeMessages(), QStringList{"入力完了"});
    const auto row = storedRows(s.files.catchFile()).at(0);
    EXPECT_EQ(row.at("FISH1_MAX").text, "35");
    EXPECT_EQ(row.at("MAX1_HIGHT").text, "2");
    EXPECT_EQ(row.at("TENNKI").text, "ab");
    EXPECT_EQ(row.at("KYUUREKI").text, "3月15日");
}
