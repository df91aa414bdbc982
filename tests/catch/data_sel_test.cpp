// The pick list and the species list on fresh database files: what each kind
// offers, and every way of leaving the list.
#include <QStringList>
#include <gtest/gtest.h>

#include "catch/Data_Sel_F.h"
#include "catch_fixture.h"
#include "ui/testing/driver.h"

using namespace tolvane;
using tolvane::ui::Form;
using tolvane::ui::testing::Driver;
using catchtest::Session;
using catchtest::execCatch;

namespace {

QStringList itemsOf(const TData_Sel& f) {
    QStringList items;
    for (int i = 0; i < f.ListBox1->itemCount(); ++i) items << f.ListBox1->itemText(i);
    return items;
}

// Opens the pick list for `kind` over a shown owner; `script` answers it.
void pick(Driver& drv, Form& owner, const QString& kind, std::function<void(TData_Sel&)> script) {
    SelKind = kind;
    drv.expectModal<TData_Sel>(std::move(script));
    tolvane::ui::openModal(Data_Sel, &owner);
    EXPECT_EQ(Data_Sel, nullptr);
}

}  // namespace

TEST(PickList, EmptyTableOffersOneEmptyItemForEveryKind) {
    Session s;
    Driver drv;
    Form owner(nullptr, "Owner");
    drv.show(owner);
    const std::pair<const char*, const char*> kinds[] = {
        {"BASYO", "場所の選択"}, {"FUNE", "選択"}, {"SAKANA", "魚種の選択"}, {"KIJYUNN", "選択"}};
    for (const auto& [kind, caption] : kinds) {
        SelResult = "前の答え";
        pick(drv, owner, kind, [&](TData_Sel& f) {
            EXPECT_EQ(f.caption(), caption);
            EXPECT_EQ(itemsOf(f), QStringList{QString()});
            EXPECT_EQ(f.ListBox1->itemIndex(), 0);
            EXPECT_TRUE(f.ListBox1->focused());
            EXPECT_EQ(f.ListBox1->columns(), 3);
            drv.dblClick(f.ListBox1, f.ListBox1->visualItemRect(f.ListBox1->item(0)).center());
        });
        EXPECT_EQ(SelResult, "") << kind;
    }
}

TEST(PickList, StoredValuesAreOfferedOnceInTheServersOrder) {
    Session s;
    execCatch({"insert into FISH_DATA (CODENO, BASYO, FUNE, KIJYUNN, FISH1, FISH2, FISH3) values "
               "(1, '港Ｂ', '第二丸', '東京', 'アジ', NULL, 'サバ')",
               "insert into FISH_DATA (CODENO, BASYO, FUNE, KIJYUNN, FISH1, FISH2, FISH3) values "
               "(2, '港Ａ', '第一丸', '東京', 'サバ', 'イワシ', '')",
               "insert into FISH_DATA (CODENO, BASYO, FUNE, KIJYUNN, FISH1, FISH2, FISH3) values "
               "(3, '港Ｂ', '第一丸', '横浜', 'アジ', NULL, NULL)"});
    Driver drv;
    Form owner(nullptr, "Owner");
    drv.show(owner);

    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        EXPECT_EQ(itemsOf(f), (QStringList{"港Ａ", "港Ｂ"}));
        EXPECT_EQ(f.ListBox1->itemIndex(), 0);
        drv.click(f.Button1);
    });
    pick(drv, owner, "FUNE", [&](TData_Sel& f) {
        EXPECT_EQ(itemsOf(f), (QStringList{"第一丸", "第二丸"}));
        drv.click(f.Button1);
    });
    pick(drv, owner, "KIJYUNN", [&](TData_Sel& f) {
        EXPECT_EQ(itemsOf(f).size(), 2);
        EXPECT_TRUE(itemsOf(f).contains("東京"));
        EXPECT_TRUE(itemsOf(f).contains("横浜"));
        drv.click(f.Button1);
    });
    // Species of all three columns, each once; NULL and empty text are
    // values of their own and both show as an empty entry.
    pick(drv, owner, "SAKANA", [&](TData_Sel& f) {
        QStringList items = itemsOf(f);
        EXPECT_EQ(items.size(), 5) << items.join('|').toStdString();
        EXPECT_EQ(items.count(QString()), 2);
        for (const char* name : {"アジ", "サバ", "イワシ"}) EXPECT_EQ(items.count(name), 1) << name;
        drv.click(f.Button1);
    });
}

TEST(SpeciesList, EmptyOrAllNullListGivesThePlaceholderWhereOneIsAsked) {
    Session s;
    db::Query q(DM1->IBDB2, DM1->IBTr2);
    EXPECT_EQ(FishNameList(q, "FISH_DATA", kEmptyListPlaceholder), QStringList{" ----- "});
    EXPECT_EQ(FishNameList(q, "FISH_DATA"), QStringList{});

    execCatch({"insert into FISH_DATA (CODENO) values (1)"});
    EXPECT_EQ(FishNameList(q, "FISH_DATA", kEmptyListPlaceholder), QStringList{" ----- "});
    EXPECT_EQ(FishNameList(q, "FISH_DATA"), QStringList{QString()});

    execCatch({"insert into FISH_DATA (CODENO, FISH1) values (2, 'メバル')"});
    QStringList names = FishNameList(q, "FISH_DATA", kEmptyListPlaceholder);
    EXPECT_EQ(names.size(), 2);
    EXPECT_TRUE(names.contains(QString()));
    EXPECT_TRUE(names.contains("メバル"));

    // The memo table of the memo database, by the same rule.
    db::Query memo(DM1->IBDB1, DM1->IBTr1);
    EXPECT_EQ(FishNameList(memo, "FISH_MEMO", kEmptyListPlaceholder), QStringList{" ----- "});
}

TEST(PickList, EveryWayOfLeavingSetsTheAnswer) {
    Session s;
    execCatch({"insert into FISH_DATA (CODENO, BASYO) values (1, '岸壁')",
               "insert into FISH_DATA (CODENO, BASYO) values (2, '沖堤')",
               "insert into FISH_DATA (CODENO, BASYO) values (3, '磯')"});
    Driver drv;
    Form owner(nullptr, "Owner");
    drv.show(owner);
    QStringList items;

    // A letter typed at once answers the first item, not one beginning with it.
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        items = itemsOf(f);
        drv.type(f.ListBox1, "a");
    });
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(SelResult, items[0]);

    // Arrow keys only move; the next character key answers the item then selected.
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        drv.pressKey(f.ListBox1, Qt::Key_Down);
        EXPECT_TRUE(f.isOpen());
        drv.pressEnter(f.ListBox1);
    });
    EXPECT_EQ(SelResult, items[1]);
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        drv.pressKey(f.ListBox1, Qt::Key_Escape, QStringLiteral("\x1b"));
    });
    EXPECT_EQ(SelResult, items[0]);

    // Double click on an item.
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        drv.dblClick(f.ListBox1, f.ListBox1->visualItemRect(f.ListBox1->item(2)).center());
    });
    EXPECT_EQ(SelResult, items[2]);

    // A new value typed, exactly as typed.
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        EXPECT_TRUE(f.Edit_NEW->text().isEmpty());
        drv.typeIme(f.Edit_NEW, " 新しい 港 ");
        drv.pressEnter(f.Edit_NEW);
    });
    EXPECT_EQ(SelResult, " 新しい 港 ");

    // Enter in an empty box, the cancel button and the title bar answer empty text.
    pick(drv, owner, "BASYO", [&](TData_Sel& f) { drv.pressEnter(f.Edit_NEW); });
    EXPECT_EQ(SelResult, "");
    SelResult = "岸壁";
    pick(drv, owner, "BASYO", [&](TData_Sel& f) { drv.click(f.Button1); });
    EXPECT_EQ(SelResult, "");
    SelResult = "岸壁";
    pick(drv, owner, "BASYO", [&](TData_Sel& f) { drv.closeByTitleBar(f); });
    EXPECT_EQ(SelResult, "");
}

TEST(PickList, ACharacterKeyAnswersTheItemSelectedBeforeItNotOneBeginningWithIt) {
    Session s;
    execCatch({"insert into FISH_DATA (CODENO, BASYO) values (1, 'cde')",
               "insert into FISH_DATA (CODENO, BASYO) values (2, 'abc')",
               "insert into FISH_DATA (CODENO, BASYO) values (3, 'bcd')"});
    Driver drv;
    Form owner(nullptr, "Owner");
    drv.show(owner);

    // A letter that begins another item: the list does not search for it.
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        EXPECT_EQ(itemsOf(f), (QStringList{"abc", "bcd", "cde"}));
        drv.type(f.ListBox1, "c");
    });
    EXPECT_EQ(SelResult, "abc");
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        drv.pressKey(f.ListBox1, Qt::Key_Down);
        drv.type(f.ListBox1, "a");
    });
    EXPECT_EQ(SelResult, "bcd");
    // A digit, a blank and backspace answer as well.
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        drv.pressKey(f.ListBox1, Qt::Key_End);
        EXPECT_TRUE(f.isOpen());
        drv.type(f.ListBox1, "1");
    });
    EXPECT_EQ(SelResult, "cde");
    pick(drv, owner, "BASYO", [&](TData_Sel& f) { drv.type(f.ListBox1, " "); });
    EXPECT_EQ(SelResult, "abc");
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        drv.pressKey(f.ListBox1, Qt::Key_Down);
        drv.pressKey(f.ListBox1, Qt::Key_Backspace, QStringLiteral("\b"));
    });
    EXPECT_EQ(SelResult, "bcd");
}

TEST(PickList, ItemsFillAColumnTopToBottomThenTheNextEachAnEqualShare) {
    Session s;
    for (int i = 0; i < 60; ++i)
        execCatch({"insert into FISH_DATA (CODENO, BASYO) values (" + std::to_string(i + 1) + ", 'P" +
                   (i < 10 ? "0" : "") + std::to_string(i) + "')"});
    Driver drv;
    Form owner(nullptr, "Owner");
    drv.show(owner);
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        ASSERT_EQ(f.ListBox1->itemCount(), 60);
        auto rectOf = [&](int i) { return f.ListBox1->visualItemRect(f.ListBox1->item(i)); };
        auto checkColumns = [&](int columns) {
            const int share = f.ListBox1->viewport()->width() / columns;
            int rows = 0;
            while (rows < 60 && rectOf(rows).left() == rectOf(0).left()) ++rows;
            ASSERT_GT(rows, 1);
            ASSERT_LT(rows, 60);
            EXPECT_EQ(rectOf(1).top(), rectOf(0).top() + 15);   // item height 15
            EXPECT_EQ(rectOf(rows).top(), rectOf(0).top());       // the next column starts at the top
            EXPECT_EQ(rectOf(rows).left() - rectOf(0).left(), share);
        };
        checkColumns(3);
        f.resize(1000, 450);
        Driver::processEvents();
        ASSERT_EQ(f.ListBox1->columns(), 4);
        checkColumns(4);
        drv.click(f.Button1);
    });
}

TEST(PickList, ColumnsFollowTheWindowWidthAndControlsKeepTheirCorners) {
    Session s;
    Driver drv;
    Form owner(nullptr, "Owner");
    drv.show(owner);
    pick(drv, owner, "BASYO", [&](TData_Sel& f) {
        EXPECT_EQ(f.width(), 600);
        EXPECT_EQ(f.height(), 450);
        EXPECT_EQ(f.minimumSize(), QSize(600, 450));
        f.resize(801, 500);
        Driver::processEvents();
        EXPECT_EQ(f.ListBox1->columns(), 4);
        EXPECT_EQ(f.ListBox1->bounds(), QRect(8, 8, 776, 396));
        EXPECT_EQ(f.Button1->bounds(), QRect(647, 435, 137, 25));
        EXPECT_EQ(f.Edit_NEW->bounds().topLeft(), QPoint(8, 435));
        EXPECT_EQ(f.Label1->bounds().topLeft(), QPoint(8, 411));
        EXPECT_TRUE(Driver::cutLabels(f).isEmpty()) << Driver::cutLabels(f).join(' ').toStdString();
        f.resize(800, 500);
        Driver::processEvents();
        EXPECT_EQ(f.ListBox1->columns(), 3);
        drv.click(f.Button1);
    });
}
