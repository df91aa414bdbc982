// Text that reaches a box other than by typing (pastes, drops), and the byte
// limit of single-line boxes: the same key filter and limit hold for every
// way in, and text set by the program is never checked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/testing/driver.h"

using namespace tolvane::ui;
using tolvane::ui::testing::Driver;

namespace {

void acceptOnly(QChar& key, const QString& accepted) {
    if (key == QChar(8) || key == QChar(13) || key == QChar(27)) return;
    if (!accepted.contains(key)) key = QChar(0);
}

class TBoxesF : public Form {
public:
    TBoxesF() : Form(nullptr, QStringLiteral("BoxesF")) {
        setFixedClientSize(500, 300);
        Edit_Name = new Edit(this, QStringLiteral("Edit_Name"), 8, 8, 200, 24);
        Edit_Size = new Edit(this, QStringLiteral("Edit_Size"), 8, 40, 60, 24);
        Edit_Hight = new Edit(this, QStringLiteral("Edit_Hight"), 8, 72, 60, 24);
        Memo1 = new Memo(this, QStringLiteral("Memo1"), 8, 104, 200, 100);
        CBox1 = new ComboBox(this, QStringLiteral("CBox1"), 220, 8, 100, 24);
        CBox1->addItems({QString(), QStringLiteral("大潮")});
        Edit_Size->OnKeyPress = [](QChar& k) { acceptOnly(k, QStringLiteral("0123456789")); };
        Edit_Hight->OnKeyPress = [](QChar& k) { acceptOnly(k, QStringLiteral("0123456789.")); };
        Memo1->OnKeyPress = [](QChar& k) { acceptOnly(k, QStringLiteral("abc")); };
    }
    Edit* Edit_Name;
    Edit* Edit_Size;
    Edit* Edit_Hight;
    Memo* Memo1;
    ComboBox* CBox1;
};

// Ctrl+V with `text` on the clipboard.
void pasteByKey(Driver& drv, QWidget* w, const QString& text) {
    QApplication::clipboard()->setText(text);
    drv.focus(w);
    drv.pressKey(w, Qt::Key_V, QString(), Qt::ControlModifier);
}

void drop(QWidget* w, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPointF at(w->width() - 2, w->height() / 2);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &dropped);
}

}  // namespace

TEST(TextEntry, ShiftJisBytesCountFullAndHalfWidth) {
    EXPECT_EQ(shiftJisBytes(QStringLiteral("abc")), 3);
    EXPECT_EQ(shiftJisBytes(QStringLiteral("ｱｲｳ")), 3);   // half-width katakana
    EXPECT_EQ(shiftJisBytes(QStringLiteral("旧暦3月15日")), 11);
    EXPECT_EQ(shiftJisBytes(QStringLiteral("オニカサゴ（イズカサゴ）")), 24);
    EXPECT_EQ(shiftJisBytes(QStringLiteral("a😀")), 3);   // not storable: counted as two
}

TEST(TextEntry, ByteLimitHoldsAsTypedAsPastedAndAsDropped) {
    Driver drv;
    TBoxesF f;
    drv.show(f);
    Edit* e = f.Edit_Name;
    e->setMaxBytes(20);
    EXPECT_EQ(e->maxBytes(), 20);

    // Key by key: the eleventh full-width character is refused.
    drv.type(e, QStringLiteral("オニカサゴ（イズカサゴ）"));
    EXPECT_EQ(e->text(), QStringLiteral("オニカサゴ（イズカサ"));
    // A word from the input method that does not fit is refused whole.
    e->clear();
    drv.typeIme(e, QStringLiteral("オニカサゴ（イズカサゴ）"));
    EXPECT_EQ(e->text(), "");
    drv.typeIme(e, QStringLiteral("オニカサゴ"));
    EXPECT_EQ(e->text(), QStringLiteral("オニカサゴ"));

    // Pastes and drops that would pass the limit change nothing.
    pasteByKey(drv, e, QStringLiteral("（イズカサゴ）"));   // 10 + 14 bytes
    EXPECT_EQ(e->text(), QStringLiteral("オニカサゴ"));
    e->paste();   // the context menu's way
    EXPECT_EQ(e->text(), QStringLiteral("オニカサゴ"));
    drop(e, QStringLiteral("（イズカサゴ）"));
    EXPECT_EQ(e->text(), QStringLiteral("オニカサゴ"));
    pasteByKey(drv, e, QStringLiteral("ｲｽﾞｶｻｺﾞ"));     // half-width: 7 bytes, fits
    EXPECT_EQ(e->text(), QStringLiteral("オニカサゴｲｽﾞｶｻｺﾞ"));
    EXPECT_TRUE(e->modified());

    // Replacing the selection counts what the text becomes.
    e->selectAll();
    pasteByKey(drv, e, QStringLiteral("カサゴカサゴカサゴカ"));   // exactly 20 bytes
    EXPECT_EQ(e->text(), QStringLiteral("カサゴカサゴカサゴカ"));

    // The program's own text is not checked, and deleting from it works.
    e->setText(QStringLiteral("オニカサゴ（イズカサゴ）"));
    EXPECT_FALSE(e->modified());
    drv.focus(e);
    e->end(false);
    drv.pressKey(e, Qt::Key_Backspace, QString(QChar(8)));
    EXPECT_EQ(e->text(), QStringLiteral("オニカサゴ（イズカサゴ"));
}

TEST(TextEntry, PastesAndDropsPassTheKeyFilterWhole) {
    Driver drv;
    TBoxesF f;
    drv.show(f);
    pasteByKey(drv, f.Edit_Size, QStringLiteral("-5"));
    EXPECT_EQ(f.Edit_Size->text(), "");
    pasteByKey(drv, f.Edit_Size, QStringLiteral("15"));
    EXPECT_EQ(f.Edit_Size->text(), "15");
    EXPECT_TRUE(f.Edit_Size->modified());
    drop(f.Edit_Size, QStringLiteral("x"));
    EXPECT_EQ(f.Edit_Size->text(), "15");

    pasteByKey(drv, f.Edit_Hight, QStringLiteral("1e3"));
    EXPECT_EQ(f.Edit_Hight->text(), "");
    pasteByKey(drv, f.Edit_Hight, QStringLiteral("1,000"));
    EXPECT_EQ(f.Edit_Hight->text(), "");
    pasteByKey(drv, f.Edit_Hight, QStringLiteral("2.5\r\n"));   // a spreadsheet cell
    EXPECT_EQ(f.Edit_Hight->text(), "2.5");

    // Single-line text boxes drop control characters.
    pasteByKey(drv, f.Edit_Name, QStringLiteral("a\tb\nc\x1b" "d"));
    EXPECT_EQ(f.Edit_Name->text(), "abcd");
    drop(f.Edit_Name, QStringLiteral("\te"));
    EXPECT_EQ(f.Edit_Name->text(), "abcde");

    // So does the combo box's line, which takes its limit too.
    f.CBox1->setMaxBytes(4);
    pasteByKey(drv, f.CBox1, QStringLiteral("小\t潮"));
    EXPECT_EQ(f.CBox1->text(), QStringLiteral("小潮"));
    pasteByKey(drv, f.CBox1, QStringLiteral("x"));
    EXPECT_EQ(f.CBox1->text(), QStringLiteral("小潮"));
    f.CBox1->setItemIndex(1);   // chosen by the program
    EXPECT_EQ(f.CBox1->text(), QStringLiteral("大潮"));

    // Memos keep line breaks and tabs and pass their filter too.
    pasteByKey(drv, f.Memo1, QStringLiteral("ab\r\nc\t\x1b"));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("ab\r\nc\t"));
    pasteByKey(drv, f.Memo1, QStringLiteral("abd"));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("ab\r\nc\t"));
}
