// The address list and the address window driven as a user would on fresh
// database files, alone and from the main window: filters, toggles, new
// entries and corrections read back column by column, failed writes, kinds
// typed instead of picked, and the reopening after the list closes.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <map>
#include <optional>

#include "address/Name_Show_F.h"
#include "address/Name_sel_F.h"
#include "app/Main_F.h"
#include "core/DM_1.h"
#include "core/handover.h"
#include "support/test_databases.h"
#include "support/window_session.h"
#include "support/test_sql.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::testing::Driver;

namespace {

using Session = test::WindowSession;

const char* const kColumns[] = {"A02_SHOP", "A03_NAME",  "A04_TEL",   "A05_FAX", "A06_MOBILE",
                                "A07_ADDR1", "A08_ADDR2", "A10_WWW", "A11_MEMO"};

// A stored entry: the kind and every text column (std::nullopt for NULL).
struct Entry {
    int key = 0;
    int kind = 0;
    std::map<std::string, std::optional<QString>> text;
};

std::vector<Entry> storedEntries(const std::string& file) {
    db::Connection c;
    c.databaseName = file;
    db::Transaction t(c);
    db::Query q(c, t);
    q.sqlAdd("select * from FISH_ADDR order by A00_CODENO");
    q.open();
    std::vector<Entry> rows;
    for (; !q.eof(); q.next()) {
        Entry e;
        e.key = q.fieldByName("A00_CODENO").asInteger();
        e.kind = q.fieldByName("A01_SYBETU").asInteger();
        for (const char* col : kColumns) {
            auto& f = q.fieldByName(col);
            e.text[col] = f.isNull() ? std::nullopt
                                     : std::optional<QString>(QString::fromStdString(f.asString()));
        }
        rows.push_back(e);
    }
    return rows;
}

// Plants an entry; a null shop or name is stored as NULL, the note too.
void plant(const std::string& file, int key, int kind, const char* shop, const char* name,
           const char* memo = nullptr) {
    db::Connection c;
    c.databaseName = file;
    db::Transaction t(c);
    db::Query q(c, t);
    q.sqlAdd("insert into FISH_ADDR (A00_CODENO, A01_SYBETU, A02_SHOP, A03_NAME, A04_TEL, A11_MEMO)"
             " values (:k, :s, :shop, :name, :tel, :memo)");
    q.paramByName("k").setInteger(key);
    q.paramByName("s").setInteger(kind);
    if (shop) q.paramByName("shop").setString(shop);
    if (name) q.paramByName("name").setString(name);
    q.paramByName("tel").setString("046-000-" + std::to_string(key));
    if (memo) q.paramByName("memo").setTextBlob(memo);
    q.execQuery();
    t.commitRetaining();
}

// Entries of kinds 0..4 and one of kind 7, planted out of key order.
void plantBook(const std::string& file) {
    plant(file, 4, 3, "第二渡船", "佐藤");
    plant(file, 1, 3, "磯渡し丸", "山田");
    plant(file, 2, 0, "組合", nullptr);
    plant(file, 3, 1, "釣具いそや", "鈴木");
    plant(file, 5, 2, "第一丸", "田中");
    plant(file, 6, 4, nullptr, "高橋");
    plant(file, 7, 7, "よそ", "伊藤");
}

QStringList items(ui::ListBox* l) {
    QStringList r;
    for (int i = 0; i < l->itemCount(); ++i) r << l->itemText(i);
    return r;
}

void dblClickItem(Driver& drv, ui::ListBox* l, int i) {
    drv.dblClick(l, l->visualItemRect(l->item(i)).center());
}

// Chooses entry `i` of a list box as a user does.
void choose(ui::ComboBox* b, int i) {
    b->setCurrentIndex(i);
    emit b->activated(i);
}

}  // namespace

// --- the list --------------------------------------------------------------

TEST(AddressList, AnEmptyBookListsNothingAndADoubleClickOpensNothing) {
    Session s;
    Driver drv;
    AddrCode = 5;
    TName_SelF f(nullptr);
    EXPECT_EQ(AddrCode, -1);
    drv.show(f);
    EXPECT_EQ(f.caption(), "住所録");
    EXPECT_TRUE(f.Btn_all->focused());
    for (ui::Button* b : {f.Btn_Other, f.Btn_Shop, f.Btn_fune, f.Btn_Tosen, f.Btn_Kojin, f.Btn_all}) {
        drv.click(b);
        EXPECT_EQ(f.ListBox1->itemCount(), 0) << b->name().toStdString();
    }
    drv.dblClick(f.ListBox1);   // an unexpected window would fail the test
    EXPECT_EQ(AddrCode, -1);
}

TEST(AddressList, FiltersByKindInKeyOrderAndTogglesBetweenShopsAndNames) {
    Session s;
    plantBook(s.files.catchFile());
    Driver drv;
    TName_SelF f(nullptr);
    drv.show(f);
    EXPECT_TRUE(f.S_Btn_Shop->down());
    EXPECT_TRUE(f.S_Btn_Shop->font().bold());
    EXPECT_EQ(f.S_Btn_Shop->fontColor(), QColor(Qt::blue));
    EXPECT_FALSE(f.S_Btn_Name->font().bold());
    EXPECT_EQ(items(f.ListBox1),
              (QStringList{"磯渡し丸", "組合", "釣具いそや", "第二渡船", "第一丸", "", "よそ"}));

    drv.click(f.Btn_Tosen);
    EXPECT_EQ(items(f.ListBox1), (QStringList{"磯渡し丸", "第二渡船"}));
    EXPECT_EQ(f.AddrList[0], (QStringList{"1", "4"}));
    drv.click(f.Btn_Other);
    EXPECT_EQ(items(f.ListBox1), QStringList{"組合"});

    // The names of the same entries, without a read.
    drv.click(f.Btn_all);
    drv.click(f.S_Btn_Name);
    EXPECT_TRUE(f.S_Btn_Name->down());
    EXPECT_FALSE(f.S_Btn_Shop->down());
    EXPECT_TRUE(f.S_Btn_Name->font().bold());
    EXPECT_EQ(f.S_Btn_Name->fontColor(), QColor(Qt::blue));
    EXPECT_FALSE(f.S_Btn_Shop->font().bold());
    EXPECT_NE(f.S_Btn_Shop->fontColor(), QColor(Qt::blue));
    EXPECT_EQ(items(f.ListBox1), (QStringList{"山田", "", "鈴木", "佐藤", "田中", "高橋", "伊藤"}));
    drv.click(f.S_Btn_Name);   // the one down stays down
    EXPECT_TRUE(f.S_Btn_Name->down());

    // Below the last item nothing opens; on an item its entry opens.
    drv.click(f.Btn_Kojin);
    ASSERT_EQ(f.ListBox1->itemCount(), 1);
    f.ListBox1->setItemIndex(0);
    drv.dblClick(f.ListBox1, QPoint(20, f.ListBox1->height() - 10));
    EXPECT_EQ(AddrCode, -1);
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        EXPECT_EQ(AddrCode, 6);
        EXPECT_EQ(w.owner(), &f);
        EXPECT_EQ(w.Edit3->text(), "高橋");
        drv.click(w.Btn_Close);
    });
    dblClickItem(drv, f.ListBox1, 0);
    EXPECT_EQ(AddrCode, -1);
}

TEST(AddressList, ACorrectedShopShowsTheOldNameUntilAFilterIsPressed) {
    Session s;
    plantBook(s.files.catchFile());
    Driver drv;
    TName_SelF f(nullptr);
    drv.show(f);
    drv.click(f.Btn_Tosen);
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        EXPECT_EQ(w.Btn_In->caption(), "訂正");
        w.Edit2->setText(QString());
        drv.typeIme(w.Edit2, "新渡船");
        drv.click(w.Btn_In);
        EXPECT_FALSE(w.isOpen());
    });
    dblClickItem(drv, f.ListBox1, 1);
    EXPECT_EQ(AddrCode, 4);   // kept for the main window
    EXPECT_EQ(items(f.ListBox1), (QStringList{"磯渡し丸", "第二渡船"}));
    drv.click(f.Btn_Tosen);
    EXPECT_EQ(items(f.ListBox1), (QStringList{"磯渡し丸", "新渡船"}));
}

// --- the address window ----------------------------------------------------

TEST(AddressEntry, OnlyANameIsStoredWithKeyOneKindZeroAndEmptyTexts) {
    Session s;
    Driver drv;
    TMainF main;
    drv.show(main);
    drv.takeMessages();   // fresh files have no lessons table
    AddrCode = 9;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        EXPECT_EQ(AddrMode, 1);
        EXPECT_EQ(w.caption(), "住所録");
        EXPECT_EQ(w.Btn_In->caption(), "入力");
        EXPECT_FALSE(w.Edit0->isVisible());
        EXPECT_FALSE(w.Label0->isVisible());
        EXPECT_EQ(w.ComboBox1->itemCount(), 5);
        EXPECT_EQ(w.ComboBox1->text(), "----");
        EXPECT_EQ(w.Label2->caption(), "-----");
        EXPECT_TRUE(w.Btn_Close->focused());
        EXPECT_EQ(w.Edit3->imeMode(), ui::ImeMode::Hiragana);
        EXPECT_EQ(w.Edit4->imeMode(), ui::ImeMode::Off);
        drv.typeIme(w.Edit3, "山田太郎");
        drv.click(w.Btn_In);
        EXPECT_FALSE(w.isOpen());
    });
    drv.click(main.Btn_Name_In);
    EXPECT_EQ(AddrCode, 9);   // untouched by a new entry
    const auto rows = storedEntries(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].key, 1);
    EXPECT_EQ(rows[0].kind, 0);
    EXPECT_EQ(rows[0].text.at("A03_NAME"), QString("山田太郎"));
    for (const char* col : {"A02_SHOP", "A04_TEL", "A05_FAX", "A06_MOBILE", "A07_ADDR1", "A08_ADDR2",
                            "A10_WWW", "A11_MEMO"})
        EXPECT_EQ(rows[0].text.at(col), QString("")) << col;
}

TEST(AddressEntry, APickedKindIsStoredAndShownNeitherShopNorNameIsRefused) {
    Session s;
    plant(s.files.catchFile(), 3, 1, "釣具いそや", "鈴木");
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    AddrMode = 1;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        drv.click(w.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"最低限の必要事項が入力されていません"});
        EXPECT_TRUE(w.isOpen());
        choose(w.ComboBox1, 3);
        EXPECT_EQ(w.Label2->caption(), "渡　船");
        drv.typeIme(w.Edit2, "磯渡し丸");
        drv.type(w.Edit4, "046-881-0000");
        drv.click(w.Btn_In);
        EXPECT_FALSE(w.isOpen());
    });
    ui::openModal(Name_ShowF, &owner);
    const auto rows = storedEntries(s.files.catchFile());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].key, 4);
    EXPECT_EQ(rows[1].kind, 3);
    EXPECT_EQ(rows[1].text.at("A02_SHOP"), QString("磯渡し丸"));
    EXPECT_EQ(rows[1].text.at("A03_NAME"), QString(""));
    EXPECT_EQ(rows[1].text.at("A04_TEL"), QString("046-881-0000"));
}

TEST(AddressEntry, KindsArePositionsInTheOrderOfTheirNumbers) {
    Session s;
    test::runSql(s.files.catchFile(),
                 {"delete from SYUBETU", "insert into SYUBETU values (40, 'D')",
                  "insert into SYUBETU values (10, 'A')", "insert into SYUBETU values (30, 'C')",
                  "insert into SYUBETU values (50, 'E')", "insert into SYUBETU values (20, 'B')"});
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    AddrMode = 1;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        QStringList kinds;
        for (int i = 0; i < w.ComboBox1->itemCount(); ++i) kinds << w.ComboBox1->itemText(i);
        EXPECT_EQ(kinds, (QStringList{"A", "B", "C", "D", "E"}));
        choose(w.ComboBox1, 2);
        EXPECT_EQ(w.Label2->caption(), "C");
        drv.typeIme(w.Edit3, "名前");
        drv.click(w.Btn_In);
    });
    ui::openModal(Name_ShowF, &owner);
    const auto rows = storedEntries(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].kind, 2);
}

TEST(AddressEntry, AFailedWriteKeepsTheWindowAndItsContentsAndStoresNothing) {
    Session s;
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    AddrMode = 1;
    AddrCode = 2;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        choose(w.ComboBox1, 2);
        w.Edit2->setText(QString(81, QChar('x')));   // over the shop column
        drv.typeIme(w.Edit3, "田中");
        drv.typeIme(w.Memo1, "船長");
        drv.click(w.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"入力エラーです"});
        EXPECT_TRUE(w.isOpen());
        EXPECT_EQ(w.Edit3->text(), "田中");
        EXPECT_EQ(w.Memo1->text(), "船長");
        EXPECT_TRUE(storedEntries(s.files.catchFile()).empty());

        // A character Shift-JIS cannot hold is named with its box.
        w.Edit2->setText("第一丸");
        drv.typeIme(w.Edit3, "𠮷");
        drv.click(w.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"入力エラーです\n「名　前」の「𠮷」は登録できない文字です"});
        EXPECT_TRUE(w.isOpen());
        EXPECT_EQ(w.Edit3->text(), "田中𠮷");
        EXPECT_TRUE(storedEntries(s.files.catchFile()).empty());

        w.Edit3->setText("田中");
        drv.click(w.Btn_In);
        EXPECT_FALSE(w.isOpen());
    });
    ui::openModal(Name_ShowF, &owner);
    EXPECT_EQ(AddrCode, 2);
    const auto rows = storedEntries(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].key, 1);
    EXPECT_EQ(rows[0].kind, 2);
    EXPECT_EQ(rows[0].text.at("A02_SHOP"), QString("第一丸"));
    EXPECT_EQ(rows[0].text.at("A11_MEMO"), QString("船長"));
}

TEST(AddressEntry, ACorrectionNamesTheBoxOfACharacterShiftJisCannotHoldAndChangesNothing) {
    Session s;
    plant(s.files.catchFile(), 1, 2, "第一丸", "田中", "船長");
    const auto before = storedEntries(s.files.catchFile());
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    AddrMode = 0;
    AddrCode = 1;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        // The shop box is named by what its label shows, "-----" until a kind is picked.
        drv.typeIme(w.Edit2, "𩸽");
        drv.click(w.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"入力エラーです\n「-----」の「𩸽」は登録できない文字です"});
        w.Edit2->setText("第一丸");
        drv.typeIme(w.Memo1, "𩸽");
        drv.click(w.Btn_In);
        EXPECT_EQ(drv.takeMessages(), QStringList{"入力エラーです\n「メモ」の「𩸽」は登録できない文字です"});
        EXPECT_TRUE(w.isOpen());
        EXPECT_EQ(w.Memo1->text(), "𩸽船長\r\n");
        drv.click(w.Btn_Close);
    });
    ui::openModal(Name_ShowF, &owner);
    const auto after = storedEntries(s.files.catchFile());
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].kind, before[0].kind);
    EXPECT_EQ(after[0].text, before[0].text);
}

TEST(AddressEntry, TextLongerThanItsColumnIsRefusedAsTypedAndAsPasted) {
    Session s;
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    AddrMode = 1;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        const std::pair<ui::Edit*, int> widths[] = {{w.Edit2, 80}, {w.Edit3, 60},  {w.Edit4, 40},
                                                    {w.Edit5, 40}, {w.Edit6, 40},  {w.Edit7, 120},
                                                    {w.Edit8, 120}, {w.Edit9, 200}};
        for (const auto& [box, bytes] : widths) EXPECT_EQ(box->maxBytes(), bytes) << box->name().toStdString();
        drv.focus(w.Edit3);
        drv.type(w.Edit3, QString(31, QChar(0x3042)));   // 62 bytes
        EXPECT_EQ(w.Edit3->text(), QString(30, QChar(0x3042)));
        QApplication::clipboard()->setText(QString(81, QChar('x')));
        drv.focus(w.Edit2);
        drv.pressKey(w.Edit2, Qt::Key_V, QString(), Qt::ControlModifier);
        EXPECT_EQ(w.Edit2->text(), "");
        drv.typeIme(w.Edit2, "第一丸");
        drv.click(w.Btn_In);
        EXPECT_TRUE(drv.takeBoxes().empty());
    });
    ui::openModal(Name_ShowF, &owner);
    const auto rows = storedEntries(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text.at("A02_SHOP"), QString("第一丸"));
    EXPECT_EQ(rows[0].text.at("A03_NAME"), QString(30, QChar(0x3042)));
}

TEST(AddressEntry, ATypedKindIsTheKindOfThatNameElseTheKindTheBoxLastHeld) {
    Session s;
    plant(s.files.catchFile(), 1, 7, "よそ", "伊藤");
    plant(s.files.catchFile(), 2, 3, "磯渡し丸", "山田");
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    AddrMode = 1;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        w.ComboBox1->lineEdit()->selectAll();
        drv.typeIme(w.ComboBox1, "釣り船");
        EXPECT_EQ(w.Label2->caption(), "-----");
        drv.typeIme(w.Edit3, "一");
        drv.click(w.Btn_In);
    });
    ui::openModal(Name_ShowF, &owner);
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        w.ComboBox1->lineEdit()->selectAll();
        drv.typeIme(w.ComboBox1, "その他");
        drv.typeIme(w.Edit3, "二");
        drv.click(w.Btn_In);
    });
    ui::openModal(Name_ShowF, &owner);

    // Corrections keep a kind outside the list, and one not picked.
    AddrMode = 0;
    for (int key : {1, 2}) {
        AddrCode = key;
        drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
            EXPECT_EQ(w.Label2->caption(), "-----");
            if (key == 1) {
                EXPECT_EQ(w.ComboBox1->text(), "");
            }
            w.ComboBox1->lineEdit()->selectAll();
            drv.typeIme(w.ComboBox1, "なにか");
            drv.click(w.Btn_In);
        });
        ui::openModal(Name_ShowF, &owner);
    }
    const auto rows = storedEntries(s.files.catchFile());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].kind, 7);
    EXPECT_EQ(rows[1].kind, 3);
    EXPECT_EQ(rows[2].kind, 2);
    EXPECT_EQ(rows[3].kind, 0);
}

TEST(AddressEntry, QuotesAndFullWidthTextTravelAsTypedAndANullNoteShowsEmpty) {
    Session s;
    plant(s.files.catchFile(), 1, 1, "店", "人");   // no note: NULL
    Driver drv;
    ui::Form owner(nullptr, "MainF");
    drv.show(owner);
    AddrMode = 0;
    AddrCode = 1;
    drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
        EXPECT_EQ(w.Memo1->text(), "");
        EXPECT_EQ(w.Edit0->text(), "1");
        EXPECT_TRUE(w.Edit0->isReadOnly());
        EXPECT_EQ(w.ComboBox1->text(), "SHOP");
        EXPECT_EQ(w.Edit4->text(), "046-000-1");
        w.Edit2->setText("\"いそや\" '本店'");
        w.Edit3->setText("");
        w.Edit5->setText("03-1234-5678");
        w.Edit6->setText("090-0000-0000");
        w.Edit7->setText("神奈川県三浦市三崎町１－２－３");
        w.Edit8->setText("ＡＢＣビル２Ｆ");
        w.Edit9->setText("http://example.jp/?a='1'&b=\"2\"");
        drv.typeIme(w.Memo1, "定休日は水曜");
        drv.click(w.Btn_In);   // a correction may empty the name
        EXPECT_FALSE(w.isOpen());
    });
    ui::openModal(Name_ShowF, &owner);
    EXPECT_TRUE(drv.takeErrors().isEmpty());
    const auto rows = storedEntries(s.files.catchFile());
    ASSERT_EQ(rows.size(), 1u);
    const auto& t = rows[0].text;
    EXPECT_EQ(rows[0].kind, 1);
    EXPECT_EQ(t.at("A02_SHOP"), QString("\"いそや\" '本店'"));
    EXPECT_EQ(t.at("A03_NAME"), QString(""));
    EXPECT_EQ(t.at("A04_TEL"), QString("046-000-1"));
    EXPECT_EQ(t.at("A05_FAX"), QString("03-1234-5678"));
    EXPECT_EQ(t.at("A06_MOBILE"), QString("090-0000-0000"));
    EXPECT_EQ(t.at("A07_ADDR1"), QString("神奈川県三浦市三崎町１－２－３"));
    EXPECT_EQ(t.at("A08_ADDR2"), QString("ＡＢＣビル２Ｆ"));
    EXPECT_EQ(t.at("A10_WWW"), QString("http://example.jp/?a='1'&b=\"2\""));
    EXPECT_EQ(t.at("A11_MEMO"), QString("定休日は水曜"));
}

// --- through the main window -------------------------------------------------

TEST(AddressChain, ACorrectionReopensTheEntryOnceAndCloseEndsIt) {
    Session s;
    plantBook(s.files.catchFile());
    plant(s.files.catchFile(), 8, 2, "第八丸", "船長", "出船５時");
    Driver drv;
    TMainF main;
    drv.show(main);
    drv.takeMessages();
    drv.expectModal<TName_SelF>([&](TName_SelF& f) {
        EXPECT_EQ(AddrMode, 0);
        drv.click(f.Btn_fune);
        drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
            EXPECT_EQ(w.Btn_In->caption(), "訂正");
            EXPECT_TRUE(w.Label0->isVisible());
            EXPECT_EQ(w.Edit0->text(), "8");
            EXPECT_EQ(w.ComboBox1->text(), "釣り船");
            EXPECT_EQ(w.Edit2->text(), "第八丸");
            EXPECT_EQ(w.Edit3->text(), "船長");
            EXPECT_EQ(w.Edit4->text(), "046-000-8");
            EXPECT_EQ(w.Memo1->text(), "出船５時\r\n");
            w.Edit3->setText("新船長");
            drv.click(w.Btn_In);
        });
        dblClickItem(drv, f.ListBox1, 1);
        // The same entry once more after the list, as corrected.
        drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
            EXPECT_EQ(w.owner(), &main);
            EXPECT_EQ(w.Btn_In->caption(), "訂正");
            EXPECT_EQ(w.Edit3->text(), "新船長");
            EXPECT_EQ(w.Memo1->text(), "出船５時\r\n\r\n");
            drv.click(w.Btn_In);
        });
        drv.click(f.Btn_Close);
    });
    drv.click(main.Btn_Name);
    EXPECT_EQ(AddrCode, 8);
    // Each save of a note shown unchanged adds one line break.
    auto rows = storedEntries(s.files.catchFile());
    EXPECT_EQ(rows.back().text.at("A11_MEMO"), QString("出船５時\r\n\r\n"));
    EXPECT_EQ(rows.back().text.at("A03_NAME"), QString("新船長"));

    // "閉じる" in the address window: nothing reopens.
    drv.expectModal<TName_SelF>([&](TName_SelF& f) {
        drv.click(f.Btn_fune);
        drv.expectModal<TName_ShowF>([&](TName_ShowF& w) { drv.click(w.Btn_Close); });
        dblClickItem(drv, f.ListBox1, 1);
        drv.click(f.Btn_Close);
    });
    drv.click(main.Btn_Name);
    EXPECT_EQ(AddrCode, -1);
    EXPECT_EQ(drv.pendingScripts(), 0);
}

TEST(AddressChain, ClosingTheListOrTheWindowByItsTitleBarOpensNothingMore) {
    Session s;
    plantBook(s.files.catchFile());
    Driver drv;
    TMainF main;
    drv.show(main);
    drv.takeMessages();
    AddrCode = 3;
    drv.expectModal<TName_SelF>([&](TName_SelF& f) { drv.click(f.Btn_Close); });
    drv.click(main.Btn_Name);
    EXPECT_EQ(AddrCode, -1);

    drv.expectModal<TName_SelF>([&](TName_SelF& f) {
        drv.expectModal<TName_ShowF>([&](TName_ShowF& w) {
            EXPECT_EQ(AddrCode, 1);
            drv.closeByTitleBar(w);
        });
        dblClickItem(drv, f.ListBox1, 0);
        drv.closeByTitleBar(f);
    });
    drv.click(main.Btn_Name);   // an unexpected window would fail the test
    EXPECT_EQ(AddrCode, -1);
    EXPECT_EQ(drv.shownWindows(), (QStringList{"Name_SelF", "Name_SelF", "Name_ShowF"}));
}
