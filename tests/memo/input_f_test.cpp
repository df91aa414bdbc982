// The memo entry window on fresh database files: the reset, the save read
// back column by column, the refusals, a failed save that keeps the memo,
// the pictures and the main window's button.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "app/Main_F.h"
#include "memo/Input_F.h"
#include "memo/Show_F.h"
#include "memo_fixture.h"
#include "imaging/codec.h"
#include "imaging/picture.h"
#include "support/test_pictures.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::pictures::Picture;
using tolvane::ui::testing::Driver;
using memotest::Session;
using memotest::storedMemos;

namespace {

const QString kPlaceholder = QStringLiteral(" ----- ");

QStringList items(const ui::ComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->itemCount(); ++i) out << box->itemText(i);
    return out;
}

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir::current().absoluteFilePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// Empties an editable box as the user would (select all, delete).
void emptyBox(Driver& drv, ui::ComboBox* box) {
    drv.focus(box);
    box->lineEdit()->selectAll();
    drv.pressKey(box, Qt::Key_Backspace);
}

}  // namespace

TEST(MemoEntryReset, AnEmptyDatabaseOffersThePlaceholderAndNumberOne) {
    Session s;
    Driver drv;
    TInputF w(nullptr);
    drv.show(w);

    EXPECT_EQ(w.caption(), "釣り関連メモ　入力");
    EXPECT_EQ(w.minimumSize(), QSize(977, 710));
    EXPECT_EQ(w.maximumSize(), QSize(977, 710));
    for (auto* box : {w.CBox_F1, w.CBox_F2, w.CBox_F3, w.CBox_Turi, w.CBox_Basyo}) {
        EXPECT_EQ(items(box), QStringList{kPlaceholder}) << box->name().toStdString();
        EXPECT_EQ(box->text(), kPlaceholder);
        EXPECT_EQ(box->toolTip(), "選択　または　新規入力");
    }
    EXPECT_EQ(w.CBox_F1->imeMode(), ui::ImeMode::Hiragana);
    EXPECT_EQ(w.CBox_Basyo->imeMode(), ui::ImeMode::Hiragana);
    EXPECT_EQ(w.CBox1->itemCount(), 0);
    EXPECT_EQ(w.CBox1->text(), "");
    EXPECT_EQ(w.Label_NO->caption(), "1");
    EXPECT_TRUE(w.Btn_Return->focused());
    for (auto* p : w.Panels) {
        EXPECT_EQ(p->Tag, 200);
        EXPECT_FALSE(TInputF::monthChosen(p));
        EXPECT_EQ(p->color(), QColor(238, 237, 241));
        EXPECT_EQ(p->fontColor(), QColor(128, 128, 128));
    }

    // Saved as shown: the placeholder everywhere, an empty genre, number 1.
    drv.type(w.Memo1, "x");
    drv.click(w.Btn_OK2);
    const auto rows = storedMemos(s.files.memoFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("CODE").text, "1");
    for (const char* c : {"FISH1", "FISH2", "FISH3", "TURI", "BASYO"}) EXPECT_EQ(rows[0].at(c).text, kPlaceholder) << c;
    EXPECT_FALSE(rows[0].at("BUNRUI").null);
    EXPECT_EQ(rows[0].at("BUNRUI").text, "");
    EXPECT_EQ(w.Label_NO->caption(), "2");
    // The stored placeholder is listed once more among the others.
    EXPECT_EQ(items(w.CBox_Turi), (QStringList{kPlaceholder, kPlaceholder}));
}

TEST(MemoEntrySave, EveryColumnIsStoredAsTheWindowHoldsIt) {
    Session s;
    s.sql({"insert into SYURUI (SYURUI) values (\"釣り方\")",
           "insert into SYURUI (SYURUI) values (\"場所\")",
           memotest::memoInsert(4, "アジ", "場所", "東京湾", "old"),
           "update FISH_MEMO set FISH2 = \"アジ\", FISH3 = \"アジ\""});
    const QImage photo = memotest::gradient(64, 48);
    const QString jpegPath = writeFile("map.jpg", test::cameraJpeg(photo));
    const QByteArray fileBytes = [&] {
        QFile f(jpegPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    Driver drv;
    TInputF w(nullptr);
    drv.show(w);
    EXPECT_EQ(w.Label_NO->caption(), "5");
    EXPECT_EQ(items(w.CBox1), (QStringList{"釣り方", "場所"}));
    EXPECT_EQ(w.CBox1->text(), "釣り方");
    EXPECT_EQ(w.CBox_F1->text(), "アジ");
    EXPECT_EQ(items(w.CBox_Basyo), (QStringList{kPlaceholder, "東京湾"}));

    // F1 as shown, F2 emptied, F3 typed; method as shown, place typed, genre emptied.
    emptyBox(drv, w.CBox_F2);
    emptyBox(drv, w.CBox_F3);
    drv.typeIme(w.CBox_F3, "メバル");
    emptyBox(drv, w.CBox_Basyo);
    drv.typeIme(w.CBox_Basyo, "相模湾");
    emptyBox(drv, w.CBox1);
    // Months: March and November chosen, May clicked twice.
    drv.click(w.Panel_3);
    drv.click(w.Panel_11);
    drv.click(w.Panel_5);
    drv.click(w.Panel_5);
    EXPECT_TRUE(TInputF::monthChosen(w.Panel_3));
    EXPECT_EQ(w.Panel_3->color(), QColor(167, 250, 248));
    EXPECT_EQ(w.Panel_3->fontColor(), QColor(0, 0, 255));
    EXPECT_FALSE(TInputF::monthChosen(w.Panel_5));
    drv.type(w.Memo1, "abc");
    drv.pressEnter(w.Memo1);
    drv.type(w.Memo1, "def");
    // Map from a JPEG file, rig picture and photo 1 from the clipboard.
    drv.platform().pictureFileAnswers = {jpegPath};
    drv.click(w.Image_M);
    EXPECT_EQ(drv.platform().lastPictureFilters.size(), 2);
    EXPECT_TRUE(w.Image_M->picture().isJpeg());
    drv.platform().clipboard = memotest::gradient(40, 30);
    drv.click(w.Btn_Shio_In_Crip);
    drv.click(w.Btn_In1);
    EXPECT_TRUE(w.Image_P1->picture().isBitmap());
    EXPECT_FALSE(w.Image_P2->hasPicture());

    // The number is computed at the save.
    memotest::execMemo({memotest::memoInsert(7, "タイ", "", "", "later")});
    drv.click(w.Btn_OK2);
    EXPECT_TRUE(drv.takeMessages().isEmpty());   // no message on success

    const auto rows = storedMemos(s.files.memoFile());
    ASSERT_EQ(rows.size(), 3u);
    const auto& r = rows[2];
    EXPECT_EQ(r.at("CODE").text, "8");
    EXPECT_EQ(r.at("FISH1").text, "アジ");
    EXPECT_TRUE(r.at("FISH2").null);
    EXPECT_EQ(r.at("FISH3").text, "メバル");
    EXPECT_FALSE(r.at("BUNRUI").null);
    EXPECT_EQ(r.at("BUNRUI").text, "");
    EXPECT_EQ(r.at("TURI").text, kPlaceholder);
    EXPECT_EQ(r.at("BASYO").text, "相模湾");
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(r.at("M" + std::to_string(m)).text, (m == 3 || m == 11) ? "1" : "0") << m;
    EXPECT_EQ(r.at("F_MEMO").text, "abc\r\ndef");
    // The JPEG file is encoded again; the pasted bitmaps become JPEG.
    ASSERT_FALSE(r.at("F_MAP").null);
    EXPECT_NE(QByteArray::fromStdString(r.at("F_MAP").bytes), fileBytes);
    const QImage map = pictures::decodeJpeg(QByteArray::fromStdString(r.at("F_MAP").bytes));
    EXPECT_EQ(map.size(), QSize(64, 48));
    EXPECT_EQ(pictures::decodeJpeg(QByteArray::fromStdString(r.at("F_SHIO").bytes)).size(), QSize(40, 30));
    EXPECT_EQ(pictures::decodeJpeg(QByteArray::fromStdString(r.at("F_PHOTO1").bytes)).size(), QSize(40, 30));
    for (int p = 2; p <= 9; ++p) EXPECT_TRUE(r.at("F_PHOTO" + std::to_string(p)).null) << p;

    // Cleared for the next memo, with the new names listed.
    EXPECT_EQ(w.Label_NO->caption(), "9");
    EXPECT_EQ(w.Memo1->text(), "");
    EXPECT_FALSE(w.Image_M->hasPicture());
    EXPECT_FALSE(TInputF::monthChosen(w.Panel_3));
    EXPECT_TRUE(items(w.CBox_F1).contains("メバル"));
    EXPECT_EQ(items(w.CBox_Basyo).count("相模湾"), 1);
    EXPECT_EQ(items(w.CBox_Turi), (QStringList{kPlaceholder, kPlaceholder}));
    EXPECT_TRUE(w.CBox1->focused());
}

TEST(MemoEntrySave, WithoutSpeciesOrTextNothingIsStoredAndNothingCleared) {
    Session s;
    Driver drv;
    TInputF w(nullptr);
    drv.show(w);
    drv.click(w.Panel_4);
    // No text.
    drv.click(w.Btn_OK2);
    EXPECT_EQ(drv.takeMessages(), QStringList{"登録していません"});
    // Text, but the three species boxes empty.
    drv.type(w.Memo1, "memo");
    for (auto* box : {w.CBox_F1, w.CBox_F2, w.CBox_F3}) emptyBox(drv, box);
    drv.click(w.Btn_OK2);
    EXPECT_EQ(drv.takeMessages(), QStringList{"登録していません"});
    EXPECT_TRUE(storedMemos(s.files.memoFile()).empty());
    EXPECT_EQ(w.Memo1->text(), "memo");
    EXPECT_TRUE(TInputF::monthChosen(w.Panel_4));

    // A line break alone counts as text, the species in box 3 alone as species.
    w.Memo1->clear();
    drv.pressEnter(w.Memo1);
    drv.typeIme(w.CBox_F3, "イカ");
    drv.click(w.Btn_OK2);
    const auto rows = storedMemos(s.files.memoFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("F_MEMO").text, "\r\n");
    EXPECT_TRUE(rows[0].at("FISH1").null);
    EXPECT_EQ(rows[0].at("FISH3").text, "イカ");
}

TEST(MemoEntrySave, AFailedSaveKeepsTheMemoAndItsPictures) {
    Session s;
    Driver drv;
    TInputF w(nullptr);
    drv.show(w);
    drv.typeIme(w.Memo1, "長い魚の名前");
    drv.click(w.Panel_7);
    drv.platform().clipboard = memotest::gradient(20, 10);
    drv.click(w.Btn_Chizu_In_Crip);

    // Longer than the column holds: typing cannot get there, the program can.
    emptyBox(drv, w.CBox_F1);
    w.CBox_F1->setText("ABCDEFGHIJKLMNOPQRSTU");
    drv.click(w.Btn_OK2);
    EXPECT_EQ(drv.takeMessages(), QStringList{"!!!!"});
    EXPECT_TRUE(storedMemos(s.files.memoFile()).empty());
    EXPECT_EQ(w.CBox_F1->text(), "ABCDEFGHIJKLMNOPQRSTU");
    EXPECT_EQ(w.Memo1->text(), "長い魚の名前");
    EXPECT_TRUE(TInputF::monthChosen(w.Panel_7));
    EXPECT_TRUE(w.Image_M->hasPicture());
    EXPECT_EQ(w.Label_NO->caption(), "1");

    // A character Shift-JIS cannot hold is named with its box.
    emptyBox(drv, w.CBox_F1);
    drv.typeIme(w.CBox_F1, "鯛🐟");
    drv.click(w.Btn_OK2);
    EXPECT_EQ(drv.takeMessages(), QStringList{"!!!!\n「魚　　種」の「🐟」は登録できない文字です"});
    EXPECT_TRUE(storedMemos(s.files.memoFile()).empty());
    EXPECT_EQ(w.CBox_F1->text(), "鯛🐟");
    emptyBox(drv, w.CBox_F1);
    drv.typeIme(w.CBox_F1, "鯛");
    drv.typeIme(w.Memo1, "𩸽");
    drv.click(w.Btn_OK2);
    EXPECT_EQ(drv.takeMessages(), QStringList{"!!!!\n「内容」の「𩸽」は登録できない文字です"});
    EXPECT_TRUE(storedMemos(s.files.memoFile()).empty());
    EXPECT_EQ(w.Memo1->text(), "長い魚の名前𩸽");
    w.Memo1->setText("長い魚の名前");

    // Mended, the same memo is stored and the transaction works on.
    emptyBox(drv, w.CBox_F1);
    drv.typeIme(w.CBox_F1, "鯛");
    drv.click(w.Btn_OK2);
    const auto rows = storedMemos(s.files.memoFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("FISH1").text, "鯛");
    EXPECT_EQ(rows[0].at("M7").text, "1");
    EXPECT_FALSE(rows[0].at("F_MAP").null);
    EXPECT_EQ(w.Label_NO->caption(), "2");
}

// Entry and correction: typed text stops at the column's width, a paste that
// would pass it changes nothing.
TEST(MemoTextLimits, TextLongerThanItsColumnIsRefusedAsTypedAndAsPasted) {
    Session s;
    Driver drv;
    const QString tooLong = QStringLiteral("オニカサゴ（イズカサゴ）");   // 24 bytes
    auto paste = [&](QWidget* box, const QString& text) {
        QApplication::clipboard()->setText(text);
        drv.focus(box);
        drv.pressKey(box, Qt::Key_V, QString(), Qt::ControlModifier);
    };
    {
        TInputF w(nullptr);
        drv.show(w);
        const std::pair<ui::ComboBox*, int> widths[] = {{w.CBox_F1, 20}, {w.CBox_F2, 20},   {w.CBox_F3, 20},
                                                        {w.CBox1, 20},   {w.CBox_Turi, 40}, {w.CBox_Basyo, 40}};
        for (const auto& [box, bytes] : widths) EXPECT_EQ(box->maxBytes(), bytes) << box->name().toStdString();
        emptyBox(drv, w.CBox_F1);
        drv.type(w.CBox_F1, tooLong);
        EXPECT_EQ(w.CBox_F1->text(), "オニカサゴ（イズカサ");
        emptyBox(drv, w.CBox_Basyo);
        paste(w.CBox_Basyo, QString(41, QChar('x')));
        EXPECT_EQ(w.CBox_Basyo->text(), "");
        drv.typeIme(w.CBox_Basyo, "相模湾");
        drv.type(w.Memo1, "abc");
        drv.click(w.Btn_OK2);
        EXPECT_TRUE(drv.takeBoxes().empty());
    }
    auto rows = storedMemos(s.files.memoFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("FISH1").text, "オニカサゴ（イズカサ");
    EXPECT_EQ(rows[0].at("BASYO").text, "相模湾");

    TShowF w(nullptr);
    ShowF = &w;
    drv.show(w);
    const std::pair<ui::Edit*, int> widths[] = {{w.Edit_F1, 20},    {w.Edit_F2, 20},   {w.Edit_F3, 20},
                                                {w.Edit_Janru, 20}, {w.Edit_Turi, 40}, {w.Edit_Basyo, 40}};
    for (const auto& [box, bytes] : widths) EXPECT_EQ(box->maxBytes(), bytes) << box->name().toStdString();
    drv.focus(w.Edit_Turi);
    drv.type(w.Edit_Turi, QString(41, QChar('a')));
    EXPECT_EQ(w.Edit_Turi->text(), QString(40, QChar('a')));
    w.Edit_Basyo->selectAll();
    paste(w.Edit_Basyo, tooLong + tooLong);
    EXPECT_EQ(w.Edit_Basyo->text(), "相模湾");
    drv.click(w.Btn_Chenge_OK);
    ShowF = nullptr;
    EXPECT_TRUE(drv.takeBoxes().empty());
    rows = storedMemos(s.files.memoFile());
    EXPECT_EQ(rows[0].at("TURI").text, QString(40, QChar('a')));
    EXPECT_EQ(rows[0].at("BASYO").text, "相模湾");
}

TEST(MemoEntryPictures, RightClickErasesWithoutADialogAndLoadsRefuseOtherFiles) {
    Session s;
    Driver drv;
    TInputF w(nullptr);
    drv.show(w);
    drv.platform().clipboard = memotest::gradient(20, 10);
    drv.click(w.Btn_In3);
    ASSERT_TRUE(w.Image_P3->hasPicture());
    // No dialog answer is queued: a dialog would fail the test.
    drv.mouseDown(w.Image_P3, Qt::RightButton, QPoint(5, 5));
    drv.mouseUp(w.Image_P3, Qt::RightButton, QPoint(5, 5));
    EXPECT_FALSE(w.Image_P3->hasPicture());
    drv.mouseDown(w.Image_S, Qt::RightButton, QPoint(5, 5));
    drv.mouseUp(w.Image_S, Qt::RightButton, QPoint(5, 5));
    EXPECT_FALSE(w.Image_S->hasPicture());
    EXPECT_TRUE(drv.takeBoxes().empty());

    // An empty clipboard; a file that is no picture; a cancelled dialog.
    drv.platform().clipboard.reset();
    drv.click(w.Btn_Chizu_In_Crip);
    drv.click(w.Btn_In2);
    EXPECT_EQ(drv.takeMessages(),
              (QStringList{"クリップボードに画像がありません", "クリップボードに画像がありません"}));
    drv.platform().pictureFileAnswers = {writeFile("note.txt", "text"), ""};
    drv.click(w.Image_P4);
    EXPECT_EQ(drv.takeMessages(), QStringList{"JPEGフォーマットの写真を指定してくださいを"});
    drv.click(w.Image_P4);
    EXPECT_FALSE(w.Image_P4->hasPicture());

    // Cancel clears the window.
    drv.type(w.Memo1, "draft");
    drv.click(w.Btn_In1);
    drv.click(w.Btn_NO2);
    EXPECT_EQ(drv.takeMessages(), QStringList{"クリップボードに画像がありません"});
    EXPECT_EQ(w.Memo1->text(), "");
    EXPECT_TRUE(w.CBox1->focused());
}

TEST(MemoOpeners, TheMainWindowOpensTheEntryAndTheViewer) {
    Session s;
    Driver drv;
    TMainF main;
    MainF = &main;
    drv.show(main);
    drv.takeMessages();   // the lessons-table notice of fresh files
    drv.expectModal<TInputF>([&](TInputF& f) {
        EXPECT_EQ(InputF, &f);
        EXPECT_EQ(f.owner(), &main);
        drv.click(f.Btn_Return);
    });
    drv.click(main.Btn_Memo_In);
    EXPECT_EQ(InputF, nullptr);
    drv.expectModal<TShowF>([&](TShowF& f) {
        EXPECT_EQ(ShowF, &f);
        EXPECT_EQ(f.Label_CODE->caption(), "0");
        drv.click(f.Btn_Close);
    });
    drv.click(main.Btn_Memo_Out);
    EXPECT_EQ(ShowF, nullptr);
    MainF = nullptr;
}
