#include "maintenance/Mente_F.h"

#include <QFontMetrics>
#include <limits>

#include "core/columns.h"
#include "core/handover.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::db::Field;
using tolvane::db::Query;

TMenteF* MenteF = nullptr;

namespace {

// The one table-creating statement of the program.
const char* const kCreateKadaiSql =
    " CREATE TABLE FISH_KADAI ( K00_CODENO INTEGER, K00_PAPANO INTEGER, K01_FISH VARCHAR(40),"
    " K02_PLACE VARCHAR(40), K03_TUKI VARCHAR(10), K10_MEMO BLOB SUB_TYPE TEXT SEGMENT SIZE 80 ) ";

// The catch list reads only the columns its grid shows, CODENO first. With
// every column, the engine's sort and the fetched rows of a large table take
// some 14 MB more, nearly all of it for columns never shown here.
const char* const kCatchListSql =
    "select CODENO, DAY_DATA, FUNE, BASYO, FISH1, FISH1_MAX, FISH1_MIN, FISH1_KAZU, FISH2, FISH2_MAX,"
    " FISH2_MIN, FISH2_KAZU, FISH3, FISH3_MAX, FISH3_MIN, FISH3_KAZU from FISH_DATA order by CODENO";

void reopen(Query& q, const char* sql) {
    q.close();
    q.sqlClear();
    q.sqlAdd(sql);
    q.open();
}

void rollbackQuietly(tolvane::db::Transaction& tr) {
    try {
        tr.rollbackRetaining();
    } catch (const std::exception&) {
    }
}

}  // namespace

std::optional<int> readDecimalNumber(const QString& text) {
    // Blanks around: ASCII spaces and tabs only.
    qsizetype b = 0, e = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    const QString t = text.mid(b, e - b);
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i >= t.size()) return std::nullopt;
    long long v = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c.unicode() - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(v);
}

TMenteF::TMenteF(Form* owner) : Form(owner, "MenteF") {
    setCaption(QStringLiteral("メンテナンス"));
    setFixedClientSize(800, 600);
    setPosition(Position::ScreenCenter);
    setColor(QColor(200, 206, 221));
    setFontPx(16);

    Panel_Top = new Panel(this, "Panel_Top", 0, 0, 800, 49);
    Panel_Top->setColor(QColor(154, 250, 242));
    Label2 = new Label(Panel_Top, "Label2", QStringLiteral("メンテナンス画面"), 16, 14);
    Label2->setFontPx(21, true);
    Label2->setFontColor(QColor(0, 0, 255));
    Btn_DB_make = new Button(Panel_Top, "Btn_DB_make", QStringLiteral("「課題」用のＤＢを作成"), 200, 8,
                             377, 33);
    // Offered only when the show finds the lessons table missing.
    Btn_DB_make->setVisible(false);
    Btn_Return = new Button(Panel_Top, "Btn_Return", QStringLiteral("戻　る"), 584, 8, 169, 33);

    RadioGp1 = new RadioGroup(this, "RadioGp1", QStringLiteral("処理の選択"), 8, 57, 577, 41);
    RadioGp1->setItems({QStringLiteral("釣果　データの削除"), QStringLiteral("メモ　データの削除"),
                        QStringLiteral("メモ　ジャンルの追加")});
    RadioGp1->setColumns(3);
    // At the window's 16 pixels the title would push the frame so far down
    // that the items could keep clear of it only in a 13-pixel font.
    RadioGp1->setFontPx(14);

    // The panels are hidden until a task is chosen; a hidden panel takes
    // neither Tab nor Space.
    Panel_Fish = new Panel(this, "Panel_Fish", 0, 0, 0, 0);
    DBGrid_Data = new DBGrid(Panel_Fish, "DBGrid_Data", 6, 8, 774, 329);
    Label5 = new Label(Panel_Fish, "Label5", QStringLiteral("削除する番号"), 32, 387);
    Edit_Data_del = new Edit(Panel_Fish, "Edit_Data_del", 144, 384, 129);
    Edit_Data_del->setImeMode(ImeMode::Off);
    Btn_D_del = new Button(Panel_Fish, "Btn_D_del", QStringLiteral("削　除"), 312, 379, 129, 33);
    Btn_Data_First = new Button(Panel_Fish, "Btn_Data_First", QStringLiteral("First"), 512, 384, 57, 25);
    Btn_Data_Last = new Button(Panel_Fish, "Btn_Data_Last", QStringLiteral("Last"), 568, 384, 57, 25);
    Panel_Fish->setVisible(false);

    Panel_DEL = new Panel(this, "Panel_DEL", 0, 0, 0, 0);
    DBGrid_Memo = new DBGrid(Panel_DEL, "DBGrid_Memo", 6, 8, 774, 329);
    Label1 = new Label(Panel_DEL, "Label1", QStringLiteral("削除する番号"), 32, 387);
    Edit_del = new Edit(Panel_DEL, "Edit_del", 144, 384, 129);
    Edit_del->setImeMode(ImeMode::Off);
    Btn_Del = new Button(Panel_DEL, "Btn_Del", QStringLiteral("削　除"), 312, 379, 129, 33);
    Panel_DEL->setVisible(false);

    Panel_Plus = new Panel(this, "Panel_Plus", 0, 0, 0, 0);
    Label3 = new Label(Panel_Plus, "Label3", QStringLiteral("ジャンルの追加をします"), 32, 24);
    DBGrid_Jyanru = new DBGrid(Panel_Plus, "DBGrid_Jyanru", 78, 72, 198, 313);
    Edit_UP = new Edit(Panel_Plus, "Edit_UP", 352, 136, 121);
    Edit_UP->setImeMode(ImeMode::Hiragana);
    Btn_Up = new Button(Panel_Plus, "Btn_Up", QStringLiteral("追　加"), 352, 184, 121, 33);
    Label4 = new Label(Panel_Plus, "Label4", QStringLiteral("注！　最後に追加されます"), 80, 392);
    Label4->setFontPx(13, true);
    Label4->setFontColor(QColor(255, 0, 0));
    Panel_Plus->setVisible(false);

    // Grids and their columns.
    const auto centred = [](const char* field, const QString& title, int width) {
        GridColumn c;
        c.fieldName = QString::fromLatin1(field);
        c.title = title;
        c.width = width;
        c.titleAlignment = Qt::AlignHCenter;
        return c;
    };
    std::vector<GridColumn> data{
        centred("CODENO", QStringLiteral("番号"), 50), centred("DAY_DATA", QStringLiteral("日付"), 100),
        centred("FUNE", QStringLiteral("船"), 100), centred("BASYO", QStringLiteral("場所"), 120)};
    const QString fishTitles[] = {QStringLiteral("魚　１"), QStringLiteral("魚　２"), QStringLiteral("魚　３")};
    for (int n = 1; n <= 3; ++n) {
        const std::string fish = "FISH" + std::to_string(n);
        data.push_back(centred(fish.c_str(), fishTitles[n - 1], 100));
        data.push_back(centred((fish + "_MAX").c_str(), QStringLiteral("最大"), 50));
        data.push_back(centred((fish + "_MIN").c_str(), QStringLiteral("最小"), 50));
        data.push_back(centred((fish + "_KAZU").c_str(), QStringLiteral("数"), 50));
    }
    DBGrid_Data->setColumns(std::move(data));
    DBGrid_Data->setDataSource(&DataSource1);

    // Memo columns are given in characters of the grid's font.
    const int ch = QFontMetrics(DBGrid_Memo->font()).horizontalAdvance(QLatin1Char('0'));
    const auto chars = [ch](const char* field, const QString& title, int n) {
        GridColumn c;
        c.fieldName = QString::fromLatin1(field);
        c.title = title;
        c.width = n * ch + 4;
        return c;
    };
    std::vector<GridColumn> memo{chars("CODE", QStringLiteral("ＮＯ"), 5),
                                 chars("FISH1", QStringLiteral("魚種１"), 14),
                                 chars("FISH2", QStringLiteral("魚種２"), 14),
                                 chars("FISH3", QStringLiteral("魚種３"), 14),
                                 chars("BUNRUI", QStringLiteral("ジャンル"), 14),
                                 chars("F_MEMO", QStringLiteral("内容"), 42)};
    memo.back().getText = [this](Field& f) { return IBSQL_OUTF_MEMOGetText(f); };
    DBGrid_Memo->setColumns(std::move(memo));
    DBGrid_Memo->setDataSource(&DataSource2);

    GridColumn genre = centred("SYURUI", QStringLiteral("ジャンル"), 160);
    genre.alignment = Qt::AlignHCenter;
    DBGrid_Jyanru->setColumns({genre});
    DBGrid_Jyanru->setDataSource(&DataSource3);

    // Bound after the design state: choosing the first item at show lays out
    // its panel.
    OnShow = [this] { FormShow(); };
    RadioGp1->OnClick = [this] { RadioGp1Click(); };
    Btn_D_del->OnClick = [this] { Btn_D_delClick(); };
    Btn_Del->OnClick = [this] { Btn_DelClick(); };
    Btn_Up->OnClick = [this] { Btn_UpClick(); };
    DBGrid_Data->OnDblClick = [this] { DBGrid_DataDblClick(); };
    Btn_Data_First->OnClick = [this] { Btn_Data_FirstClick(); };
    Btn_Data_Last->OnClick = [this] { Btn_Data_LastClick(); };
    Btn_DB_make->OnClick = [this] { Btn_DB_makeClick(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };

    // The new genre takes no more than its column holds.
    limitToColumn(Edit_UP, "SYURUI", "SYURUI");
}

TMenteF::~TMenteF() = default;

void TMenteF::FormShow() {
    // 1. The first task, laid out as a user's choice would lay it out.
    if (RadioGp1->itemIndex() == 0) RadioGp1Click();
    else RadioGp1->setItemIndex(0);

    // 2.
    Edit_del->clear();
    Edit_UP->clear();
    Edit_Data_del->clear();

    // 3. Not guarded: a missing table or file ends the show in the error box.
    reopen(IBSQL_Data, kCatchListSql);
    IBSQL_Data.last();
    reopen(IBSQL_OUT, "select * from FISH_MEMO");
    IBSQL_OUT.last();
    reopen(IBSQL_J, "select *  from SYURUI");

    // 4. The boat or point column, found by its field.
    const auto& cols = DBGrid_Data->columns();
    for (int i = 0; i < static_cast<int>(cols.size()); ++i)
        if (cols[i].fieldName == QLatin1String("FUNE"))
            DBGrid_Data->setColumnTitle(i, FuneWord == QStringLiteral("船") ? QStringLiteral("船")
                                                                           : QStringLiteral("ポイント"));

    // 5.
    Btn_DB_make->setVisible(false);

    // 6. Without the lessons table only its creation, the task choice and
    // the way back can be used.
    try {
        reopen(IBSQL_K, "select * from FISH_KADAI");
    } catch (const std::exception&) {
        Btn_DB_make->setVisible(true);
        for (Control* c : std::initializer_list<Control*>{DBGrid_Data, DBGrid_Memo, DBGrid_Jyanru,
                                                         Panel_DEL, Panel_Plus, Panel_Fish})
            c->setEnabled(false);
    }
}

void TMenteF::RadioGp1Click() {
    const int item = RadioGp1->itemIndex();
    Panel* panels[] = {Panel_Fish, Panel_DEL, Panel_Plus};
    for (int i = 0; i < 3; ++i) {
        // A panel of size 0 is hidden as well, so its controls take no keys.
        if (i == item) panels[i]->setBounds(0, 104, 784, 457);
        else panels[i]->setBounds(0, 0, 0, 0);
        panels[i]->setVisible(i == item);
    }
    if (item == 0) DBGrid_Data->setBounds(6, 8, 774, 329);
    else if (item == 1) DBGrid_Memo->setBounds(6, 8, 774, 329);
}

void TMenteF::runWrite(const Write& w) {
    const QString text = w.box->text();
    if (text.isEmpty()) {
        platform().messageBox(this, QString::fromUtf8(w.emptyMessage));
        return;
    }
    // The one text written is a genre: a character Shift-JIS cannot hold is
    // named under the genre grid's title, and nothing is executed.
    const QString unstorable = w.number ? QString() : unstorableTextLine({{text, QStringLiteral("ジャンル")}});
    if (!unstorable.isEmpty()) {
        platform().messageBox(this, failureMessage(QString::fromUtf8(w.wrongMessage), unstorable));
        return;
    }
    try {
        w.query.close();
        w.query.sqlClear();
        w.query.sqlAdd(w.sql);
        if (w.number) {
            const std::optional<int> n = readDecimalNumber(text);
            if (!n) throw std::invalid_argument("not a decimal integer");
            w.query.paramByName("parCODE").setInteger(*n);
        } else {
            w.query.paramByName("parSYURUI").setString(text.toStdString());
        }
    } catch (const std::exception&) {
        platform().messageBox(this, QString::fromUtf8(w.wrongMessage));
        return;
    }
    try {
        w.query.execQuery();
        w.transaction.commitRetaining();
    } catch (const std::exception&) {
        rollbackQuietly(w.transaction);
        platform().messageBox(this, QStringLiteral("失敗しました"));
        return;
    }
    // Stored: whatever happens next, the box no longer holds a pending write.
    w.box->clear();
    w.list.close();
    w.list.open();
}

void TMenteF::Btn_D_delClick() {
    runWrite({Edit_Data_del, "番号を入力してください", "番号の指定が違っています", IBSQL_D_del,
              " delete from FISH_DATA where CODENO = :parCODE ", DM1->IBTr2, IBSQL_Data, true});
}

void TMenteF::Btn_DelClick() {
    runWrite({Edit_del, "番号を入力してください", "番号の指定が違っています", IBSQL_UP,
              " delete from FISH_MEMO where CODE = :parCODE ", DM1->IBTr1, IBSQL_OUT, true});
}

void TMenteF::Btn_UpClick() {
    runWrite({Edit_UP, "ジャンルを入力してください", "ジャンルの指定が違っています", IBSQL_UP,
              " insert into SYURUI ( SYURUI ) values ( :parSYURUI ) ", DM1->IBTr1, IBSQL_J, false});
}

void TMenteF::DBGrid_DataDblClick() {
    // Only a double click on a row names a record.
    const int row = DBGrid_Data->dblClickRow();
    if (row < 0 || !IBSQL_Data.active() || row >= IBSQL_Data.recordCount()) return;
    IBSQL_Data.setRecNo(row);
    Edit_Data_del->setText(QString::number(IBSQL_Data.fields(0).asInteger()));
}

void TMenteF::Btn_Data_FirstClick() { IBSQL_Data.first(); }

void TMenteF::Btn_Data_LastClick() { IBSQL_Data.last(); }

void TMenteF::Btn_DB_makeClick() {
    IBSQL_K.close();
    IBSQL_K.sqlClear();
    IBSQL_K.sqlAdd(kCreateKadaiSql);
    try {
        IBSQL_K.execQuery();
        DM1->IBTr1.commitRetaining();
        platform().messageBox(this, QStringLiteral("データベースを作成しました"));
    } catch (const std::exception&) {
        rollbackQuietly(DM1->IBTr1);
        platform().messageBox(this, QStringLiteral("失敗しました"));
    }
    close();
}

void TMenteF::Btn_ReturnClick() { close(); }

QString TMenteF::IBSQL_OUTF_MEMOGetText(Field& f) {
    QString t = QString::fromStdString(f.asString());
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}
