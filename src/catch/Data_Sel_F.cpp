#include "catch/Data_Sel_F.h"

#include <QCloseEvent>

#include "core/DM_1.h"
#include "core/columns.h"
#include "core/handover.h"

using namespace tolvane::ui;
using tolvane::db::Query;

TData_Sel* Data_Sel = nullptr;

TData_Sel::TData_Sel(Form* owner) : Form(owner, "Data_Sel"), IBSQL(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("選択してください"));
    setMinClientSize(600, 450);
    setClientSize(600, 450);
    setPosition(Position::OwnerCenter);
    setFontPx(15, true);

    // Created in the keyboard order: the list, the new value, the button.
    ListBox1 = new ListBox(this, "ListBox1", 8, 8, 575, 346);
    ListBox1->setItemHeight(15);
    ListBox1->setColumns(3);
    ListBox1->setAnchors(akLeft | akTop | akRight | akBottom);

    Label1 = new Label(this, "Label1", QStringLiteral("上記に無い場合には新規に入力します"), 8, 361);
    Label1->setAnchors(akLeft | akBottom);

    Edit_NEW = new Edit(this, "Edit_NEW", 8, 385, 121);
    Edit_NEW->setImeMode(ImeMode::Hiragana);
    Edit_NEW->setAnchors(akLeft | akBottom);

    Button1 = new Button(this, "Button1", QStringLiteral("選択せずに戻る"), 446, 385, 137, 25);
    Button1->setAnchors(akRight | akBottom);

    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
    ListBox1->OnDblClick = [this] { ListBox1DblClick(); };
    ListBox1->OnKeyPress = [this](QChar& key) { ListBox1KeyPress(key); };
    Edit_NEW->OnKeyPress = [this](QChar& key) { Edit_NEWKeyPress(key); };
    Button1->OnClick = [this] { Button1Click(); };
}

TData_Sel::~TData_Sel() = default;

void TData_Sel::FormShow() {
    answered_ = false;
    Edit_NEW->clear();

    std::string sql;
    if (SelKind == QLatin1String("BASYO")) {
        setCaption(QStringLiteral("場所の選択"));
        sql = " select distinct BASYO from FISH_DATA order by BASYO ";
        limitToColumn(Edit_NEW, "FISH_DATA", "BASYO");
    } else if (SelKind == QLatin1String("FUNE")) {
        setCaption(QStringLiteral("選択"));
        sql = " select distinct FUNE from FISH_DATA order by FUNE ";
        limitToColumn(Edit_NEW, "FISH_DATA", "FUNE");
    } else if (SelKind == QLatin1String("SAKANA")) {
        setCaption(QStringLiteral("魚種の選択"));
        sql = fishNameListSql("FISH_DATA");
        limitToColumn(Edit_NEW, "FISH_DATA", "FISH1");
    } else if (SelKind == QLatin1String("KIJYUNN")) {
        setCaption(QStringLiteral("選択"));
        sql = " select distinct KIJYUNN from FISH_DATA order by KIJYUNN ";
        limitToColumn(Edit_NEW, "FISH_DATA", "KIJYUNN");
    }

    ListBox1->clearItems();
    if (!sql.empty()) {
        IBSQL.close();
        IBSQL.sqlClear();
        IBSQL.sqlAdd(sql);
        IBSQL.open();
        IBSQL.first();
        for (const QString& entry : firstColumnEntries(IBSQL, QString())) ListBox1->addItem(entry);
    } else {
        ListBox1->addItem(QString());
    }
    ListBox1->setItemIndex(0);
    ListBox1->setFocus();
}

void TData_Sel::FormResize() { ListBox1->setColumns(width() <= 800 ? 3 : 4); }

QString TData_Sel::selectedText() const {
    const int i = ListBox1->itemIndex();
    return i >= 0 ? ListBox1->itemText(i) : QString();
}

void TData_Sel::answer(const QString& value) {
    SelResult = value;
    answered_ = true;
    close();
}

void TData_Sel::ListBox1DblClick() { answer(selectedText()); }

void TData_Sel::ListBox1KeyPress(QChar& key) {
    // Any typed character answers the item selected before it; the key
    // itself does nothing in the list.
    const QString value = selectedText();
    key = QChar(0);
    answer(value);
}

void TData_Sel::Edit_NEWKeyPress(QChar& key) {
    if (key != QChar(13)) return;
    key = QChar(0);
    answer(Edit_NEW->text());
}

void TData_Sel::Button1Click() { answer(QString()); }

void TData_Sel::closeEvent(QCloseEvent* e) {
    if (!answered_) SelResult.clear();
    answered_ = true;
    Form::closeEvent(e);
}
