#include "address/Name_Show_F.h"

#include <QCloseEvent>
#include <stdexcept>
#include <string>

#include "core/DM_1.h"
#include "core/columns.h"
#include "core/handover.h"
#include "ui/guard.h"
#include "ui/platform.h"

using namespace tolvane::ui;

TName_ShowF* Name_ShowF = nullptr;

namespace {
Edit* field(Form* f, const char* name, int left, int top, int width, ImeMode ime) {
    Edit* e = new Edit(f, name, left, top, width, 24);
    e->setImeMode(ime);
    return e;
}
}  // namespace

TName_ShowF::TName_ShowF(Form* owner) : Form(owner, "Name_ShowF"), IBSQL(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("住所録"));
    setFixedClientSize(400, 300);
    setPosition(Position::OwnerCenter);
    setFontPx(15);

    // Top row: key, kind, the two buttons.
    Label0 = new Label(this, "Label0", QStringLiteral("CODE"), 4, 12);
    Edit0 = field(this, "Edit0", 52, 8, 45, ImeMode::Off);
    Edit0->setReadOnly(true);
    Edit0->setColor(QColor(192, 192, 192));
    Label1 = new Label(this, "Label1", QStringLiteral("種　別"), 104, 12);
    ComboBox1 = new ComboBox(this, "ComboBox1", 152, 8, 97, 24);
    Btn_In = new Button(this, "Btn_In", QStringLiteral("入力"), 256, 6, 65, 29);
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("閉じる"), 324, 6, 65, 29);

    // The fields in two columns.
    Label2 = new Label(this, "Label2", QStringLiteral("-----"), 8, 48);
    Edit2 = field(this, "Edit2", 56, 44, 137, ImeMode::Hiragana);
    Label3 = new Label(this, "Label3", QStringLiteral("名　前"), 200, 48);
    Edit3 = field(this, "Edit3", 248, 44, 137, ImeMode::Hiragana);
    Label4 = new Label(this, "Label4", QStringLiteral("電　話"), 8, 76);
    Edit4 = field(this, "Edit4", 56, 72, 137, ImeMode::Off);
    Label5 = new Label(this, "Label5", QStringLiteral("ＦＡＸ"), 200, 76);
    Edit5 = field(this, "Edit5", 248, 72, 137, ImeMode::Off);
    Label6 = new Label(this, "Label6", QStringLiteral("携　帯"), 8, 104);
    Edit6 = field(this, "Edit6", 56, 100, 137, ImeMode::Off);
    Label7 = new Label(this, "Label7", QStringLiteral("住所１"), 8, 132);
    Edit7 = field(this, "Edit7", 56, 128, 305, ImeMode::Hiragana);
    Label8 = new Label(this, "Label8", QStringLiteral("住所２"), 8, 160);
    Edit8 = field(this, "Edit8", 56, 156, 305, ImeMode::Hiragana);
    Label9 = new Label(this, "Label9", QStringLiteral("ＷＷＷ"), 8, 188);
    Edit9 = field(this, "Edit9", 56, 184, 305, ImeMode::Off);
    Memo1 = new Memo(this, "Memo1", 56, 216, 305, 73);
    Memo1->setImeMode(ImeMode::Hiragana);

    QWidget* order[] = {Btn_Close, Edit2, Edit3, Edit4, Edit5,     Edit6, Edit7,
                        Edit8,     Edit9, Edit0, Memo1, ComboBox1, Btn_In};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    Btn_Close->setFocus();

    OnShow = [this] { FormShow(); };
    // A pick from the list runs OnClick before OnChange; typing runs OnChange only.
    ComboBox1->OnClick = [this] { picked_ = true; };
    ComboBox1->OnChange = [this] { ComboBox1Change(); };
    Btn_In->OnClick = [this] { Btn_InClick(); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };

    // The layer has no create event: the window's own set-up runs here.
    guarded(this, [this] { FormCreate(); });

    // Text boxes take no more than their columns hold.
    limitToColumn(Edit2, "FISH_ADDR", "A02_SHOP");
    limitToColumn(Edit3, "FISH_ADDR", "A03_NAME");
    limitToColumn(Edit4, "FISH_ADDR", "A04_TEL");
    limitToColumn(Edit5, "FISH_ADDR", "A05_FAX");
    limitToColumn(Edit6, "FISH_ADDR", "A06_MOBILE");
    limitToColumn(Edit7, "FISH_ADDR", "A07_ADDR1");
    limitToColumn(Edit8, "FISH_ADDR", "A08_ADDR2");
    limitToColumn(Edit9, "FISH_ADDR", "A10_WWW");
}

TName_ShowF::~TName_ShowF() = default;

void TName_ShowF::FormCreate() {
    for (Edit* e : {Edit0, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) e->clear();
    Memo1->clear();
}

void TName_ShowF::FormShow() {
    ComboBox1->clearItems();
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(" select S01_SYUBETU from SYUBETU order by S00_NO ");
    IBSQL.open();
    QStringList kinds;
    for (IBSQL.first(); !IBSQL.eof(); IBSQL.next())
        kinds << QString::fromStdString(IBSQL.fields(0).asString());
    ComboBox1->addItems(kinds);
    if (AddrMode != 0) AddrNew();
    else AddrShow();
}

void TName_ShowF::AddrNew() {
    Btn_In->setCaption(QStringLiteral("入力"));
    Edit0->setVisible(false);
    Label0->setVisible(false);
    ComboBox1->setItemIndex(0);
    kind_ = 0;
}

void TName_ShowF::AddrShow() {
    Btn_In->setCaption(QStringLiteral("訂正"));
    Label0->setVisible(true);
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(" select * from FISH_ADDR  where A00_CODENO =      " + std::to_string(AddrCode));
    IBSQL.open();
    auto text = [this](const char* column) {
        return QString::fromStdString(IBSQL.fieldByName(column).asString());
    };
    Edit0->setText(QString::number(IBSQL.fieldByName("A00_CODENO").asInteger()));
    // A stored kind outside the list shows as no kind and is kept.
    kind_ = IBSQL.fieldByName("A01_SYBETU").asInteger();
    ComboBox1->setItemIndex(kind_ >= 0 && kind_ < ComboBox1->itemCount() ? kind_ : -1);
    Edit2->setText(text("A02_SHOP"));
    Edit3->setText(text("A03_NAME"));
    Edit4->setText(text("A04_TEL"));
    Edit5->setText(text("A05_FAX"));
    Edit6->setText(text("A06_MOBILE"));
    Edit7->setText(text("A07_ADDR1"));
    Edit8->setText(text("A08_ADDR2"));
    Edit9->setText(text("A10_WWW"));
    // A NULL note is an empty note.
    if (!IBSQL.fieldByName("A11_MEMO").isNull()) Memo1->linesAdd(text("A11_MEMO"));
}

void TName_ShowF::ComboBox1Change() {
    const bool picked = picked_;
    picked_ = false;
    // Typed text changes neither the label nor the kind held.
    if (!picked || ComboBox1->itemIndex() < 0) return;
    kind_ = ComboBox1->itemIndex();
    Label2->setCaption(ComboBox1->itemText(kind_));
}

int TName_ShowF::chosenKind() const {
    const QString t = ComboBox1->text();
    if (kind_ >= 0 && kind_ < ComboBox1->itemCount() && ComboBox1->itemText(kind_) == t) return kind_;
    const int i = ComboBox1->findText(t, Qt::MatchExactly);
    return i >= 0 ? i : kind_;
}

void TName_ShowF::Btn_InClick() {
    if (Btn_In->caption() == QStringLiteral("入力")) AddrInsert();
    else if (Btn_In->caption() == QStringLiteral("訂正")) AddrUpdate();
}

void TName_ShowF::AddrInsert() {
    const int key = tolvane::db::nextKey(IBSQL, " select max(A00_CODENO) from FISH_ADDR ");
    if (Edit2->text().isEmpty() && Edit3->text().isEmpty()) {
        platform().messageBox(this, QStringLiteral("最低限の必要事項が入力されていません"));
        return;
    }
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(
        " insert into FISH_ADDR                            (A00_CODENO ,A01_SYBETU , A02_SHOP ,"
        "              A03_NAME   , A04_TEL   , A05_FAX  ,              A06_MOBILE , A07_ADDR1 ,"
        " A08_ADDR2,              A10_WWW    , A11_MEMO ) values                  (:parA00_CODENO"
        " ,:parA01_SYBETU , :parA02_SHOP ,  :parA03_NAME   , :parA04_TEL   , :parA05_FAX  , "
        " :parA06_MOBILE , :parA07_ADDR1 , :parA08_ADDR2,  :parA10_WWW    , :parA11_MEMO )"
        "                ");
    if (store([&] { IBSQL.paramByName("parA00_CODENO").setInteger(key); })) {
        saved_ = true;
        close();
    }
}

void TName_ShowF::AddrUpdate() {
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(
        " update FISH_ADDR set         A01_SYBETU =:parA01_SYBETU , A02_SHOP   =:parA02_SHOP   ,"
        " A03_NAME   =:parA03_NAME   , A04_TEL    =:parA04_TEL    , A05_FAX    =:parA05_FAX    ,"
        " A06_MOBILE =:parA06_MOBILE , A07_ADDR1  =:parA07_ADDR1  , A08_ADDR2  =:parA08_ADDR2  ,"
        " A10_WWW    =:parA10_WWW    , A11_MEMO\t =:parA11_MEMO     where A00_CODENO ="
        " :parA00_CODENO ");
    const int key = Edit0->text().toInt();
    if (store([&] { IBSQL.paramByName("parA00_CODENO").setInteger(key); })) {
        saved_ = true;
        close();
    }
}

bool TName_ShowF::store(const std::function<void()>& setKey) {
    // A character Shift-JIS cannot hold is named with its box; nothing is
    // sent. The note has no label: it is the memo of the entry.
    const QString unstorable = unstorableTextLine(
        {{Edit2->text(), Label2->caption()}, {Edit3->text(), Label3->caption()},
         {Edit4->text(), Label4->caption()}, {Edit5->text(), Label5->caption()},
         {Edit6->text(), Label6->caption()}, {Edit7->text(), Label7->caption()},
         {Edit8->text(), Label8->caption()}, {Edit9->text(), Label9->caption()},
         {Memo1->text(), QStringLiteral("メモ")}});
    try {
        if (!unstorable.isEmpty()) throw std::invalid_argument("unstorable text");   // a failed write
        setKey();
        IBSQL.paramByName("parA01_SYBETU").setInteger(chosenKind());
        const std::pair<const char*, Edit*> texts[] = {
            {"parA02_SHOP", Edit2},   {"parA03_NAME", Edit3},  {"parA04_TEL", Edit4},
            {"parA05_FAX", Edit5},    {"parA06_MOBILE", Edit6}, {"parA07_ADDR1", Edit7},
            {"parA08_ADDR2", Edit8},  {"parA10_WWW", Edit9}};
        for (const auto& [param, edit] : texts) IBSQL.paramByName(param).setString(edit->text().toStdString());
        IBSQL.paramByName("parA11_MEMO").setTextBlob(Memo1->text().toStdString());
        IBSQL.execQuery();
        DM1->IBTr2.commitRetaining();
        return true;
    } catch (const std::exception&) {
        try {
            DM1->IBTr2.rollbackRetaining();
        } catch (const std::exception&) {
        }
        // The window stays open with what was typed.
        platform().messageBox(this, failureMessage(QStringLiteral("入力エラーです"), unstorable));
        return false;
    }
}

void TName_ShowF::Btn_CloseClick() {
    AddrCode = -1;
    close();
}

void TName_ShowF::closeEvent(QCloseEvent* e) {
    if (!saved_) AddrCode = -1;
    Form::closeEvent(e);
}
