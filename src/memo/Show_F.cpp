#include "memo/Show_F.h"

#include <future>
#include <stdexcept>

#include "core/DM_1.h"
#include "core/columns.h"
#include "core/handover.h"
#include "core/messages.h"
#include "maintenance/Mente_F.h"
#include "memo/Select_F.h"
#include "memo/WorkSheet_F.h"
#include "photo/Map_F.h"
#include "photo/Map_Shio_F.h"
#include "photo/Photo_9_F.h"
#include "pictures/storage.h"
#include "tide/Shio_New_F.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::pictures::NullTest;
using tolvane::pictures::Picture;

QString MemoSearchSql;
std::vector<int> MemoCodes;
TShowF* ShowF = nullptr;

namespace {

const QColor kWindow(170, 211, 249);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kNavy(0, 0, 128);

const char kAllMemos[] = " select * from FISH_MEMO order by CODE";
const char kOneMemo[] = " select * from FISH_MEMO where CODE = :parCODE order by CODE";

Edit* memoEdit(QWidget* parent, const char* name, int l, int t, int w) {
    auto* e = new Edit(parent, name, l, t, w, 24);
    e->Tag = 100;
    e->setFontPx(15, true);
    e->setImeMode(ImeMode::Hiragana);
    return e;
}

QString text(tolvane::db::Query& q, const char* column) {
    return QString::fromStdString(q.fieldByName(column).asString());
}

}  // namespace

TShowF::TShowF(Form* owner)
    : Form(owner, "ShowF"), IBSQL_OutPut(DM1->IBDB1, DM1->IBTr1), IBSQL_UP(DM1->IBDB1, DM1->IBTr1) {
    setCaption(QStringLiteral("釣り関連メモ"));
    setFixedClientSize(960, 710);   // every resize request is refused
    setPosition(Position::ScreenCenter);
    setColor(kWindow);
    setFontPx(14);

    // Number and text fields.
    Label_Code_T = new Label(this, "Label_Code_T", QStringLiteral("番号"), 12, 8);
    Label_CODE = new Label(this, "Label_CODE", QStringLiteral("0"), 12, 30);
    Label_CODE->setFontPx(18, true);
    Label_Fish = new Label(this, "Label_Fish", QStringLiteral("魚　　種"), 72, 8);
    Edit_F1 = memoEdit(this, "Edit_F1", 72, 28, 150);
    Edit_F2 = memoEdit(this, "Edit_F2", 72, 56, 150);
    Edit_F3 = memoEdit(this, "Edit_F3", 72, 84, 150);
    new Label(this, "Label_Janru", QStringLiteral("ジャンル"), 232, 32);
    Edit_Janru = memoEdit(this, "Edit_Janru", 307, 28, 170);
    new Label(this, "Label_Turi", QStringLiteral("釣り方"), 232, 60);
    Edit_Turi = memoEdit(this, "Edit_Turi", 307, 56, 170);
    new Label(this, "Label_Basyo", QStringLiteral("場所・地域"), 232, 88);
    Edit_Basyo = memoEdit(this, "Edit_Basyo", 307, 84, 170);

    // Months beside their caption, two rows of six.
    Panel_Jiki = new Panel(this, "Panel_Jiki", 8, 116, 60, 69, QStringLiteral("時　　期"));
    Panel_Jiki->setFontPx(13);   // four full-width characters clear of the frame lines
    const QString captions[12] = {"１月", "２月", "３月", "４月", "５月", "６月",
                                  "７月", "８月", "９月", "10月", "11月", "12月"};
    for (int i = 0; i < 12; ++i) {
        auto* p = new Panel(this, QStringLiteral("Panel_%1").arg(i + 1), 72 + 51 * (i % 6),
                            116 + 36 * (i / 6), 49, 33, captions[i]);
        p->Tag = 100;
        p->OnDblClick = [this, p] { Panel_XXDblClick(p); };
        Panels[i] = p;
    }

    Memo1 = new Memo(this, "Memo1", 8, 192, 469, 462);
    Memo1->setFontPx(15, true);
    Memo1->setImeMode(ImeMode::Hiragana);

    // Navigation.
    const char* navNames[6] = {"Btn_Top", "Btn_M10", "Btn_M1", "Btn_P1", "Btn_P10", "Btn_Last"};
    const char* navCaptions[6] = {"Top", "-10", "-1", "+1", "+10", "Last"};
    Button* nav[6];
    for (int i = 0; i < 6; ++i)
        nav[i] = new Button(this, navNames[i], QString::fromUtf8(navCaptions[i]), 8 + 78 * i, 664, 72, 36);
    Btn_Top = nav[0], Btn_M10 = nav[1], Btn_M1 = nav[2], Btn_P1 = nav[3], Btn_P10 = nav[4],
    Btn_Last = nav[5];

    // Pictures.
    new Label(this, "Label_Map", QStringLiteral("地図"), 488, 8);
    new Label(this, "Label_MapHint", QStringLiteral("クリックして拡大表示"), 640, 8);
    Image_M = new Image(this, "Image_M", 488, 28, 273, 200);
    Image_M->setProportional(true);
    Image_M->setCenter(true);
    new Label(this, "Label_Shio", QStringLiteral("仕掛け・潮位"), 488, 236);
    new Label(this, "Label_ShioHint", QStringLiteral("クリックして拡大表示"), 640, 236);
    Image_S = new Image(this, "Image_S", 488, 256, 273, 200);
    Image_S->setStretch(true);
    Image_S->setProportional(true);
    Image_S->setCenter(true);
    new Label(this, "Label_Photo", QStringLiteral("写真"), 488, 464);
    Image* photos[4];
    for (int i = 0; i < 4; ++i) {
        photos[i] = new Image(this, QStringLiteral("Image_P%1").arg(i + 1), 488 + 140 * (i % 2),
                              484 + 106 * (i / 2), 128, 96);
        photos[i]->setProportional(true);
    }
    Image_P1 = photos[0], Image_P2 = photos[1], Image_P3 = photos[2], Image_P4 = photos[3];

    // Right column.
    Btn_Close = new Button(this, "Btn_Close", QStringLiteral("戻　　る"), 776, 8, 176, 33);
    new Label(this, "Label_X", QStringLiteral("直接指定"), 776, 54);
    ComboBox_X = new ComboBox(this, "ComboBox_X", 776, 74, 176, 24);
    ComboBox_X->setDropDownCount(30);
    Btn_sel_1 = new Button(this, "Btn_sel_1", QStringLiteral("全体表示"), 776, 108, 176, 30);
    Btn_select = new Button(this, "Btn_select", QStringLiteral("検　索"), 776, 144, 176, 30);
    new Label(this, "Label_Change", QStringLiteral("変更あり　訂正"), 776, 192);
    Btn_Chenge_OK = new Button(this, "Btn_Chenge_OK", QStringLiteral("ＯＫ"), 776, 212, 84, 30);
    Btn_Change_No = new Button(this, "Btn_Change_No", QStringLiteral("NO"), 868, 212, 84, 30);
    new Label(this, "Label_Edit", QStringLiteral("編集"), 776, 262);
    Btn_Chizu = new Button(this, "Btn_Chizu", QStringLiteral("地　図"), 776, 282, 176, 30);
    Btn_Cyoui = new Button(this, "Btn_Cyoui", QStringLiteral("潮　位"), 776, 318, 176, 30);
    Btn_Photo = new Button(this, "Btn_Photo", QStringLiteral("写　真"), 776, 354, 176, 30);
    Btn_wooksheet = new Button(this, "Btn_wooksheet", QStringLiteral("ワークシート表示"), 776, 412, 176, 30);
    Btn_Mente = new Button(this, "Btn_Mente", QStringLiteral("メンテナンス"), 776, 664, 176, 36);
    Btn_Mente->setFontColor(kNavy);

    OnShow = [this] { FormShow(); };
    Btn_Close->OnClick = [this] { Btn_CloseClick(); };
    Btn_Top->OnClick = [this] { Btn_TopClick(); };
    Btn_M10->OnClick = [this] { Btn_M10Click(); };
    Btn_M1->OnClick = [this] { Btn_M1Click(); };
    Btn_P1->OnClick = [this] { Btn_P1Click(); };
    Btn_P10->OnClick = [this] { Btn_P10Click(); };
    Btn_Last->OnClick = [this] { Btn_LastClick(); };
    // Only a choice from the list picks a memo; typed text does nothing.
    ComboBox_X->OnClick = [this] { ComboBox_XChange(); };
    Btn_sel_1->OnClick = [this] { Btn_sel_1Click(); };
    Memo1->OnChange = [this] { Memo1Change(); };
    for (Edit* e : {Edit_F1, Edit_F2, Edit_F3, Edit_Turi, Edit_Basyo})
        e->OnKeyPress = [this](QChar& k) { EditKeyPress(k); };
    Btn_Chenge_OK->OnClick = [this] { Btn_Chenge_OKClick(); };
    Btn_Change_No->OnClick = [this] { Btn_Change_NoClick(); };
    // A double click begins with a click: one view either way.
    Image_M->OnClick = [this] { Image_MClick(); };
    Image_S->OnClick = [this] { Image_SClick(); };
    Image_P1->OnDblClick = [this] { Image_P00DblClick(); };
    Btn_Chizu->OnClick = [this] { Btn_ChizuClick(); };
    Btn_Cyoui->OnClick = [this] { Btn_CyouiClick(); };
    Btn_Photo->OnClick = [this] { Btn_PhotoClick(); };
    Btn_wooksheet->OnClick = [this] { Btn_wooksheetClick(); };
    Btn_Mente->OnClick = [this] { Btn_MenteClick(); };
    Btn_select->OnClick = [this] { Btn_selectClick(); };

    // Text boxes take no more than their columns hold.
    limitToColumn(Edit_F1, "FISH_MEMO", "FISH1");
    limitToColumn(Edit_F2, "FISH_MEMO", "FISH2");
    limitToColumn(Edit_F3, "FISH_MEMO", "FISH3");
    limitToColumn(Edit_Janru, "FISH_MEMO", "BUNRUI");
    limitToColumn(Edit_Turi, "FISH_MEMO", "TURI");
    limitToColumn(Edit_Basyo, "FISH_MEMO", "BASYO");
}

bool TShowF::monthOn(const Panel* panel) { return panel->color() == kWhite; }

void TShowF::FormShow() {
    InitForm();
    LoadAll();
}

void TShowF::InitForm() {
    Memo1->clear();
    Btn_Chenge_OK->setEnabled(false);
    Btn_Change_No->setEnabled(false);
    ResetMonthPanels();
    Btn_Close->setFocus();
}

void TShowF::openCursor(const QString& sql, std::optional<int> code) {
    cursorSql_ = sql;
    pickedCode_ = code;
    tolvane::db::Query& q = IBSQL_OutPut;
    q.close();
    q.sqlClear();
    q.sqlAdd(sql.toStdString());
    if (code) q.paramByName("parCODE").setInteger(*code);
    q.open();
    q.first();
}

void TShowF::LoadAll() {
    tolvane::db::Query& q = IBSQL_OutPut;
    q.close();
    q.sqlClear();
    q.sqlAdd(" select count(*) from FISH_MEMO");
    q.open();
    MemoCodes.clear();
    MemoCodes.reserve(static_cast<size_t>(std::max(0, q.fields(0).asInteger())));

    ComboBox_X->clearItems();
    openCursor(QString::fromLatin1(kAllMemos), std::nullopt);
    QStringList items;
    const QString sep = QStringLiteral(" ： ");
    for (; !q.eof(); q.next()) {
        const int code = q.fieldByName("CODE").asInteger();
        items << QString::number(code) + sep + text(q, "BUNRUI") + sep + text(q, "BASYO");
        MemoCodes.push_back(code);
    }
    ComboBox_X->addItems(items);   // one batch
    ComboBox_X->setItemIndex(-1);
    q.first();
    showCurrentMemo();
}

void TShowF::ResetMonthPanels() {
    for (QObject* o : findChildren<QObject*>()) {
        auto* p = dynamic_cast<Panel*>(o);
        if (p == nullptr || p->Tag != 100) continue;
        p->setColor(kSilver);
        p->setFontColor(kGrey);
    }
}

void TShowF::ShowTextFields() {
    tolvane::db::Query& q = IBSQL_OutPut;
    const bool row = q.active() && q.recordCount() > 0;
    Memo1->clear();
    if (row) Memo1->linesAdd(text(q, "F_MEMO"));
    const std::pair<Edit*, const char*> fields[] = {{Edit_F1, "FISH1"},   {Edit_F2, "FISH2"},
                                                    {Edit_F3, "FISH3"},   {Edit_Janru, "BUNRUI"},
                                                    {Edit_Turi, "TURI"},  {Edit_Basyo, "BASYO"}};
    for (const auto& [edit, column] : fields) edit->setText(row ? text(q, column) : QString());
    Btn_Chenge_OK->setEnabled(false);
    Btn_Change_No->setEnabled(false);
}

void TShowF::ShowCodeAndMonths() {
    tolvane::db::Query& q = IBSQL_OutPut;
    const bool active = q.active();
    Label_CODE->setCaption(QString::number(active ? q.fieldByName("CODE").asInteger() : 0));
    ResetMonthPanels();
    if (!active) return;
    for (int i = 0; i < 12; ++i) {
        if (q.fieldByName("M" + std::to_string(i + 1)).asInteger() != 1) continue;
        Panels[i]->setColor(kWhite);
        Panels[i]->setFontColor(kBlue);
    }
}

// The pictures of the current memo. Each is read on its own: an unreadable
// blob leaves its control empty and shows its error, the others are shown
// all the same. The blobs are fetched here and decoded side by side, each
// worker making its control's display copy too, so the paint only draws.
void TShowF::showPictures(bool mapAndTide, bool photos) {
    struct Read {
        Image* img;
        const char* column;
        NullTest test;
        std::future<tolvane::ui::Shown> decoded;
    };
    std::vector<Read> reads;
    if (mapAndTide) {
        reads.push_back({Image_M, "F_MAP", NullTest::Without, {}});
        reads.push_back({Image_S, "F_SHIO", NullTest::Without, {}});
    }
    if (photos) {
        reads.push_back({Image_P1, "F_PHOTO1", NullTest::With, {}});
        reads.push_back({Image_P2, "F_PHOTO2", NullTest::With, {}});
        reads.push_back({Image_P3, "F_PHOTO3", NullTest::With, {}});
        reads.push_back({Image_P4, "F_PHOTO4", NullTest::With, {}});
    }
    tolvane::db::Query& q = IBSQL_OutPut;
    for (Read& r : reads) {
        r.img->clearPicture();
        if (!q.active()) continue;
        try {
            const tolvane::db::Field& f = q.fieldByName(r.column);
            if (r.test == NullTest::With && f.isNull()) continue;
            std::string bytes = f.takeBytes();
            // A JPEG picture is decoded only as large as its box shows it; its
            // full-size pixels come at their first need (a window opened from
            // here that enlarges or stores it). An empty value (NULL without
            // the test) needs no thread of its own. The bytes are copied into
            // the picture's own array on the worker, so this thread goes on
            // to the next blob at once; the worker then makes the copy the
            // box draws, for the box's size and the screen's ratio now.
            const tolvane::ui::ImageView view = r.img->view();
            const auto policy = bytes.empty() ? std::launch::deferred : std::launch::async;
            r.decoded = std::async(policy, [bytes = std::move(bytes), view] {
                return tolvane::ui::prepareToShow(
                    tolvane::pictures::decodeBitmapFirst(QByteArray::fromStdString(bytes), view.box), view);
            });
        } catch (const std::exception& e) {
            platform().errorBox(this, QString::fromUtf8(e.what()));
        }
    }
    for (Read& r : reads) {
        if (!r.decoded.valid()) continue;
        try {
            r.img->setPicture(r.decoded.get());
        } catch (const std::exception& e) {
            platform().errorBox(this, QString::fromUtf8(e.what()));
        }
    }
    if (photos) Image_P1->setEnabled(q.active() && !q.fieldByName("F_PHOTO1").isNull());
}

void TShowF::ShowMapAndTide() { showPictures(true, false); }

void TShowF::ShowMemoPhotos() { showPictures(false, true); }

void TShowF::showCurrentMemo() {
    ShowTextFields();
    ShowCodeAndMonths();
    showPictures(true, true);   // ShowMapAndTide and ShowMemoPhotos in one go
}

void TShowF::Btn_CloseClick() { close(); }

// --- moves ----------------------------------------------------------------------

void TShowF::move(const std::function<void()>& step) {
    if (IBSQL_OutPut.active()) step();
    showCurrentMemo();
    ComboBox_X->setItemIndex(-1);
}

void TShowF::Btn_TopClick() { move([this] { IBSQL_OutPut.first(); }); }
void TShowF::Btn_M10Click() { move([this] { IBSQL_OutPut.moveBy(-10); }); }
void TShowF::Btn_M1Click() { move([this] { IBSQL_OutPut.moveBy(-1); }); }
void TShowF::Btn_P1Click() { move([this] { IBSQL_OutPut.moveBy(1); }); }
void TShowF::Btn_P10Click() { move([this] { IBSQL_OutPut.moveBy(10); }); }
void TShowF::Btn_LastClick() { move([this] { IBSQL_OutPut.last(); }); }

void TShowF::setNavigationEnabled(bool on) {
    for (Button* b : {Btn_Top, Btn_M10, Btn_M1, Btn_P1, Btn_P10, Btn_Last}) b->setEnabled(on);
}

// --- direct pick and show all ---------------------------------------------------

void TShowF::ComboBox_XChange() {
    const int i = ComboBox_X->itemIndex();
    if (i < 0 || i >= static_cast<int>(MemoCodes.size())) return;
    ShowByCode(MemoCodes[static_cast<size_t>(i)]);
}

void TShowF::ShowByCode(int code) {
    openCursor(QString::fromLatin1(kOneMemo), code);
    showCurrentMemo();
    setNavigationEnabled(false);
}

void TShowF::Btn_sel_1Click() {
    setNavigationEnabled(true);
    ComboBox_X->setItemIndex(-1);
    LoadAll();
}

// --- refresh by bookmark ------------------------------------------------------

bool TShowF::reopenAt(tolvane::db::Bookmark& mark) {
    tolvane::db::Query& q = IBSQL_OutPut;
    q.close();
    q.open();
    const bool found = q.gotoBookmark(mark);
    q.freeBookmark(mark);
    return found;
}

void TShowF::refreshAround(const std::function<void()>& child, const std::function<void()>& show) {
    tolvane::db::Bookmark mark = IBSQL_OutPut.getBookmark();
    child();
    if (reopenAt(mark)) show();
    else showCurrentMemo();   // the memo left the set: show the one now current
}

// --- correction of the text fields ------------------------------------------------

void TShowF::Memo1Change() {
    if (!Memo1->modified()) return;
    Btn_Chenge_OK->setEnabled(true);
    Btn_Change_No->setEnabled(true);
}

void TShowF::EditKeyPress(QChar&) {
    Btn_Chenge_OK->setEnabled(true);
    Btn_Change_No->setEnabled(true);
}

namespace {

// A write the viewer refuses before the server sees it, or that changed no
// row: the message says why in its second line, when there is one.
struct NotWritten : std::runtime_error {
    explicit NotWritten(QString l) : std::runtime_error("not written"), line(std::move(l)) {}
    QString line;
};

// Runs the prepared update and commits; a run that changes no row (the memo
// shown is no longer in the file) is a failure like any other.
void runUpdate(tolvane::db::Query& q) {
    q.execQuery();
    if (q.rowsAffected() == 0) throw NotWritten(QString());
    DM1->IBTr1.commitRetaining();
}

}  // namespace

TShowF::Written TShowF::writeCorrection() {
    const std::pair<Edit*, const char*> boxes[] = {
        {Edit_F1, "Label_Fish"},     {Edit_F2, "Label_Fish"},  {Edit_F3, "Label_Fish"},
        {Edit_Janru, "Label_Janru"}, {Edit_Turi, "Label_Turi"}, {Edit_Basyo, "Label_Basyo"}};
    tolvane::db::Query& q = IBSQL_UP;
    try {
        // A character Shift-JIS cannot hold is named with its box; nothing is sent.
        std::vector<BoxText> texts;
        for (const auto& [edit, label] : boxes) texts.push_back({edit->text(), findControl<Label>(label)->caption()});
        texts.push_back({Memo1->text(), MemoTextBoxName});
        if (const QString line = unstorableTextLine(texts); !line.isEmpty()) throw NotWritten(line);

        q.close();
        q.sqlClear();
        q.sqlAdd(" update FISH_MEMO set FISH1 = :parFISH1 , FISH2 = :parFISH2 , FISH3 = :parFISH3 ,");
        q.sqlAdd(" BUNRUI = :parBUNRUI , TURI = :parTURI , BASYO = :parBASYO ,");
        q.sqlAdd(" F_MEMO = :parMEMO where CODE = :parCODE ");
        const char* params[] = {"parFISH1", "parFISH2", "parFISH3", "parBUNRUI", "parTURI", "parBASYO"};
        for (size_t i = 0; i < std::size(boxes); ++i)   // empty as empty text
            q.paramByName(params[i]).setString(boxes[i].first->text().toStdString());
        q.paramByName("parMEMO").setTextBlob(Memo1->text().toStdString());
        q.paramByName("parCODE").setInteger(Label_CODE->caption().toInt());
        runUpdate(q);
        return Written::Yes;
    } catch (const NotWritten& e) {
        failed(e.line);
        return Written::NoKeepTyped;
    } catch (const std::exception&) {
        failed(QString());
        return Written::No;
    }
}

void TShowF::failed(const QString& line) {
    DM1->IBTr1.rollbackRetaining();
    platform().messageBox(this, failureMessage(QStringLiteral("訂正に失敗しました"), line));
}

void TShowF::Btn_Chenge_OKClick() {
    tolvane::db::Bookmark mark = IBSQL_OutPut.getBookmark();
    const Written written = writeCorrection();
    const bool found = reopenAt(mark);
    // Text that could not be stored stays, with the buttons, for another try.
    if (written == Written::NoKeepTyped) return;
    if (found) ShowTextFields();
    else showCurrentMemo();   // the memo left the set: show the one now current
}

void TShowF::Btn_Change_NoClick() {
    refreshAround([] {}, [this] { ShowTextFields(); });
}

// --- month toggle ---------------------------------------------------------------

void TShowF::Panel_XXDblClick(Panel* sender) {
    const std::string column = sender->name().replace("Panel_", "M").toStdString();
    int value;
    if (monthOn(sender)) {
        sender->setColor(kSilver);
        sender->setFontColor(kGrey);
        value = 0;
    } else {
        sender->setColor(kWhite);
        sender->setFontColor(kBlue);
        value = 1;
    }
    bool notWritten = false;
    refreshAround(
        [&] {
            tolvane::db::Query& q = IBSQL_UP;
            try {
                q.close();
                q.sqlClear();
                q.sqlAdd(" update FISH_MEMO set " + column + " = :parMANTH where CODE = :parCODE");
                q.paramByName("parMANTH").setInteger(value);
                q.paramByName("parCODE").setInteger(Label_CODE->caption().toInt());
                runUpdate(q);
            } catch (const std::exception&) {
                failed(QString());
                notWritten = true;
            }
        },
        [&] {
            if (notWritten) ShowCodeAndMonths();   // the months as stored
        });
}

// --- child windows ----------------------------------------------------------------

void TShowF::Image_MClick() {
    if (!IBSQL_OutPut.active() || IBSQL_OutPut.fieldByName("F_MAP").isNull()) return;
    openModal(MapF, this);
}

void TShowF::Image_SClick() {
    if (!IBSQL_OutPut.active() || IBSQL_OutPut.fieldByName("F_SHIO").isNull()) return;
    openModal(Shio_NewF, this);
}

void TShowF::Btn_ChizuClick() {
    Btn_Chizu->setFocus();   // the memo map window works on the map
    refreshAround(
        [this] {
            openModal(Map_ShioF, this);
        },
        [this] { ShowMapAndTide(); });
}

void TShowF::Btn_CyouiClick() {
    Btn_Cyoui->setFocus();   // not the map button: the rig or tide picture
    refreshAround(
        [this] {
            openModal(Map_ShioF, this);
        },
        [this] { ShowMapAndTide(); });
}

void TShowF::Btn_PhotoClick() {
    refreshAround(
        [this] {
            openModal(Photo_9F, this);
        },
        [this] { ShowMemoPhotos(); });
}

void TShowF::Image_P00DblClick() {
    const auto& p = Image_P1->picture();
    if (p.isNone() || p.width() == 0 || p.height() == 0) return;
    Btn_PhotoClick();
}

void TShowF::Btn_MenteClick() {
    // It may have deleted the memo shown: the set is read again, and the memo
    // shown stays (a pending change with it) only while it is still there.
    refreshAround([this] { openModal(MenteF, this); }, [] {});
}

void TShowF::Btn_wooksheetClick() {
    IBSQL_OutPut.freeBookmark(MemoBookmark);
    openModal(WorkSheetF, this);
    if (MemoBookmark.valid()) IBSQL_OutPut.gotoBookmark(MemoBookmark);
    IBSQL_OutPut.freeBookmark(MemoBookmark);
    // The grid has moved the cursor to the row picked, also when the sheet
    // was closed by its title bar.
    showCurrentMemo();
}

void TShowF::Btn_selectClick() {
    MemoSearchSql.clear();   // a dialog closed by its title bar hands back no search
    openModal(SelectF, this);
    if (!MemoSearchSql.isEmpty()) {
        const QString previousSql = cursorSql_;
        const std::optional<int> previousCode = pickedCode_;
        tolvane::db::Bookmark mark = IBSQL_OutPut.getBookmark();
        try {
            openCursor(MemoSearchSql, std::nullopt);
        } catch (const std::exception& e) {
            // The search cannot run: the set shown before comes back.
            platform().errorBox(this, QString::fromUtf8(e.what()));
            openCursor(previousSql, previousCode);
            IBSQL_OutPut.gotoBookmark(mark);
        }
        IBSQL_OutPut.freeBookmark(mark);
        showCurrentMemo();
    }
    setNavigationEnabled(true);
}
