#include "memo/Input_F.h"

#include <QFont>
#include <stdexcept>

#include "core/DM_1.h"
#include "core/columns.h"
#include "core/lists.h"
#include "core/messages.h"
#include "pictures/input.h"
#include "pictures/storage.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::pictures::Picture;

TInputF* InputF = nullptr;

namespace {

const QColor kWindow(170, 211, 249);
const QColor kChosen(167, 250, 248);
const QColor kNotChosen(238, 237, 241);
const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);
const QString kHint = QStringLiteral("選択　または　新規入力");

ComboBox* memoBox(QWidget* parent, const char* name, int l, int t, int w, int rows, bool hiragana) {
    auto* c = new ComboBox(parent, name, l, t, w, 24);
    c->setToolTip(kHint);
    if (rows > 0) c->setDropDownCount(rows);
    if (hiragana) c->setImeMode(ImeMode::Hiragana);
    return c;
}

void setPointSize(Control* c, int points) {
    QFont f = c->widget()->font();
    f.setPointSize(points);
    c->widget()->setFont(f);
}

// The first column of every row of the open query, NULL as empty text.
QStringList columnTexts(tolvane::db::Query& q, bool skipNull) {
    QStringList out;
    for (q.first(); !q.eof(); q.next()) {
        const auto& f = q.fields(0);
        if (skipNull && f.isNull()) continue;
        out << QString::fromStdString(f.asString());
    }
    return out;
}

}  // namespace

TInputF::TInputF(Form* owner) : Form(owner, "InputF"), IBSQL_In(DM1->IBDB1, DM1->IBTr1) {
    setCaption(QStringLiteral("釣り関連メモ　入力"));
    setFixedClientSize(977, 710);   // every resize request is refused
    setPosition(Position::ScreenCenter);
    setColor(kWindow);
    setFontPx(14);

    // Species, with the number the next memo will get to their left.
    Label_Fish = new Label(this, "Label_Fish", QStringLiteral("魚　　種"), 8, 20);
    Label_NO = new Label(this, "Label_NO", QString(), 16, 52);
    Label_NO->setFontPx(18, true);
    CBox_F1 = memoBox(this, "CBox_F1", 80, 16, 140, 20, true);
    CBox_F2 = memoBox(this, "CBox_F2", 80, 44, 140, 20, true);
    CBox_F3 = memoBox(this, "CBox_F3", 80, 72, 140, 20, true);
    Label_Janru = new Label(this, "Label_Janru", QStringLiteral("ジャンル"), 232, 20);
    CBox1 = memoBox(this, "CBox1", 312, 16, 165, 0, false);
    Label_Turi = new Label(this, "Label_Turi", QStringLiteral("釣り方"), 232, 48);
    CBox_Turi = memoBox(this, "CBox_Turi", 312, 44, 165, 20, true);
    Label_Basyo = new Label(this, "Label_Basyo", QStringLiteral("場所・地域"), 232, 76);
    CBox_Basyo = memoBox(this, "CBox_Basyo", 312, 72, 165, 20, true);

    // Months, two rows of six.
    Panel_Month = new Panel(this, "Panel_Month", 8, 108, 80, 69, QStringLiteral("対象　月"));
    const QString captions[12] = {"１月", "２月", "３月", "４月", "５月", "６月",
                                  "７月", "８月", "９月", "10月", "11月", "12月"};
    for (int i = 0; i < 12; ++i) {
        auto* p = new Panel(this, QStringLiteral("Panel_%1").arg(i + 1), 96 + 51 * (i % 6),
                            108 + 36 * (i / 6), 49, 33, captions[i]);
        p->Tag = 200;
        p->OnClick = [this, p] { Panel_00Click(p); };
        Panels[i] = p;
    }
    Panel_1 = Panels[0], Panel_2 = Panels[1], Panel_3 = Panels[2], Panel_4 = Panels[3];
    Panel_5 = Panels[4], Panel_6 = Panels[5], Panel_7 = Panels[6], Panel_8 = Panels[7];
    Panel_9 = Panels[8], Panel_10 = Panels[9], Panel_11 = Panels[10], Panel_12 = Panels[11];
    Label_MonthHint = new Label(this, "Label_MonthHint", QStringLiteral("クリックして対象月を選択"), 8, 182);

    Memo1 = new Memo(this, "Memo1", 8, 200, 469, 453);
    Memo1->setImeMode(ImeMode::Hiragana);
    new Label(this, "Label_Hint1", QStringLiteral("魚種、釣り方、場所は"), 8, 657);
    new Label(this, "Label_Hint2", QStringLiteral("ドロップダウンリストからの選択"), 8, 673);
    new Label(this, "Label_Hint3", QStringLiteral("または新規で入力します"), 8, 689);

    // Map and rig or tide picture, each with its paste button.
    Label_Map = new Label(this, "Label_Map", QStringLiteral("地　図"), 488, 8);
    Image_M = new Image(this, "Image_M", 488, 28, 273, 200);
    Btn_Chizu_In_Crip = new Button(this, "Btn_Chizu_In_Crip", QStringLiteral("クリップボードからの読み込み"),
                                   488, 232, 273, 25);
    Label_Shio = new Label(this, "Label_Shio", QStringLiteral("仕掛け・潮位など"), 488, 268);
    Image_S = new Image(this, "Image_S", 488, 288, 273, 200);
    Btn_Shio_In_Crip = new Button(this, "Btn_Shio_In_Crip", QStringLiteral("クリップボードからの読み込み"),
                                  488, 492, 273, 25);
    new Label(this, "Label_PicHint1", QStringLiteral("「地図」「仕掛けなど」「ＰＨＯＴＯ］は"), 488, 540);
    new Label(this, "Label_PicHint2", QStringLiteral("クリックして「Ｊｐｅｇ」ファイルを指定　または"), 488, 560);
    new Label(this, "Label_PicHint3", QStringLiteral("クリップボードからの入力。"), 488, 580);
    new Label(this, "Label_PicHint4", QStringLiteral("消去は『右クリック』。"), 488, 600);

    // The three buttons, the photos one below the other, the photo paste panel.
    Btn_Return = new Button(this, "Btn_Return", QStringLiteral("戻　　る"), 776, 8, 193, 30);
    Btn_OK2 = new Button(this, "Btn_OK2", QStringLiteral("登　　録"), 776, 42, 193, 30);
    Btn_NO2 = new Button(this, "Btn_NO2", QStringLiteral("キャンセル"), 776, 76, 193, 30);
    Label* pl[4];
    Image* pi[4];
    for (int i = 0; i < 4; ++i) {
        const int top = 112 + 118 * i;
        pl[i] = new Label(this, QStringLiteral("Label_P%1").arg(i + 1),
                          QStringLiteral("ＰＨＯＴＯ　") + QString(QChar(0xFF11 + i)), 808, top);
        pi[i] = new Image(this, QStringLiteral("Image_P%1").arg(i + 1), 808, top + 18, 128, 96);
    }
    Label_P1 = pl[0], Label_P2 = pl[1], Label_P3 = pl[2], Label_P4 = pl[3];
    Image_P1 = pi[0], Image_P2 = pi[1], Image_P3 = pi[2], Image_P4 = pi[3];
    Panel_Photo = new Panel(this, "Panel_Photo", 776, 590, 193, 112);
    new Label(Panel_Photo, "Label_Crip1", QStringLiteral("クリップボードから"), 8, 6);
    new Label(Panel_Photo, "Label_Crip2", QStringLiteral("（写真の）入力"), 8, 26);
    const QString btnCaptions[4] = {"1", "２", "３", "４"};
    Button* pb[4];
    for (int i = 0; i < 4; ++i) {
        pb[i] = new Button(Panel_Photo, QStringLiteral("Btn_In%1").arg(i + 1), btnCaptions[i],
                           8 + 46 * i, 56, 40, 40);
        Button* b = pb[i];
        b->OnClick = [this, b] { Btn_In1Click(b); };
    }
    Btn_In1 = pb[0], Btn_In2 = pb[1], Btn_In3 = pb[2], Btn_In4 = pb[3];

    // Every picture fits its control, proportions kept, centred.
    for (Image* img : {Image_M, Image_S, Image_P1, Image_P2, Image_P3, Image_P4}) {
        img->setStretch(true);
        img->setProportional(true);
        img->setCenter(true);
    }

    OnShow = [this] { FormShow(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };
    Btn_NO2->OnClick = [this] { Btn_CanselClick(); };
    Btn_OK2->OnClick = [this] { Btn_OKClick(); };
    Btn_Chizu_In_Crip->OnClick = [this] { Btn_Chizu_In_CripClick(); };
    Btn_Shio_In_Crip->OnClick = [this] { Btn_Shio_In_CripClick(); };
    Image_M->OnClick = [this] { Image_MClick(); };
    Image_S->OnClick = [this] { Image_SClick(); };
    Image_M->OnMouseDown = [this](MouseButton b, ShiftState, int, int) { Image_MMouseDown(b); };
    Image_S->OnMouseDown = [this](MouseButton b, ShiftState, int, int) { Image_SMouseDown(b); };
    for (Image* img : pi) {
        img->OnClick = [this, img] { Image_PHOTO_Click(img); };
        img->OnMouseDown = [this, img](MouseButton b, ShiftState, int, int) { Image_P1MouseDown(img, b); };
    }

    // Typed text takes no more than its column holds.
    limitToColumn(CBox_F1, "FISH_MEMO", "FISH1");
    limitToColumn(CBox_F2, "FISH_MEMO", "FISH2");
    limitToColumn(CBox_F3, "FISH_MEMO", "FISH3");
    limitToColumn(CBox1, "FISH_MEMO", "BUNRUI");
    limitToColumn(CBox_Turi, "FISH_MEMO", "TURI");
    limitToColumn(CBox_Basyo, "FISH_MEMO", "BASYO");
}

bool TInputF::monthChosen(const Panel* panel) { return panel->font().pointSize() == 12; }

void TInputF::FormShow() {
    ResetMemoForm();
    Btn_Return->setFocus();
}

void TInputF::ResetMemoForm() {
    FillSpeciesLists();

    Memo1->clear();
    for (Image* img : {Image_M, Image_S, Image_P1, Image_P2, Image_P3, Image_P4}) img->clearPicture();

    tolvane::db::Query& q = IBSQL_In;
    q.close();
    q.sqlClear();
    q.sqlAdd("select SYURUI from SYURUI");
    q.open();
    CBox1->clearItems();
    CBox1->addItems(columnTexts(q, false));
    CBox1->setItemIndex(0);

    q.close();
    q.sqlClear();
    q.sqlAdd("select distinct TURI from FISH_MEMO ");
    q.open();
    CBox_Turi->clearItems();
    CBox_Turi->addItems(QStringList{kEmptyListPlaceholder} + columnTexts(q, true));
    CBox_Turi->setItemIndex(0);

    q.close();
    q.sqlClear();
    q.sqlAdd("select distinct BASYO from  FISH_MEMO ");
    q.open();
    CBox_Basyo->clearItems();
    CBox_Basyo->addItems(QStringList{kEmptyListPlaceholder} + columnTexts(q, true));
    CBox_Basyo->setItemIndex(0);

    for (QObject* o : findChildren<QObject*>()) {
        auto* p = dynamic_cast<Panel*>(o);
        if (p == nullptr || p->Tag != 200) continue;
        p->setColor(kNotChosen);
        setPointSize(p, 8);
        p->setFontColor(kGrey);
    }

    CBox1->setFocus();
    ShowNextMemoCode();
}

void TInputF::FillSpeciesLists() {
    const QStringList names = FishNameList(IBSQL_In, "FISH_MEMO", kEmptyListPlaceholder);
    for (ComboBox* box : {CBox_F1, CBox_F2, CBox_F3}) {
        box->clearItems();
        box->addItems(names);
        box->setItemIndex(0);
    }
}

void TInputF::ShowNextMemoCode() {
    Label_NO->setCaption(QString::number(tolvane::db::nextKey(IBSQL_In, "select max(CODE) from FISH_MEMO")));
}

void TInputF::Btn_ReturnClick() { close(); }

void TInputF::Btn_CanselClick() { ResetMemoForm(); }

void TInputF::Panel_00Click(Panel* sender) {
    if (!monthChosen(sender)) {
        sender->setColor(kChosen);
        setPointSize(sender, 12);
        sender->setFontColor(kBlue);
    } else {
        sender->setColor(kNotChosen);
        setPointSize(sender, 8);
        sender->setFontColor(kGrey);
    }
}

void TInputF::Btn_Chizu_In_CripClick() {
    Picture p = Image_M->picture();
    if (tolvane::pictures::bitmapPaste(this, p, tolvane::pictures::Notice::Message)) Image_M->setPicture(p);
}

void TInputF::Btn_Shio_In_CripClick() {
    Picture p = Image_S->picture();
    if (tolvane::pictures::bitmapPaste(this, p, tolvane::pictures::Notice::Message)) Image_S->setPicture(p);
}

void TInputF::Btn_In1Click(Button* sender) {
    Image* target = findControl<Image>(QString(sender->name()).replace("Btn_In", "Image_P"));
    if (target == nullptr) return;
    Picture p = target->picture();
    if (tolvane::pictures::anyPicturePaste(this, p, tolvane::pictures::Notice::Message))
        target->setPicture(p);
}

void TInputF::loadInto(Image* img) {
    Picture p = img->picture();
    if (tolvane::pictures::plainFileLoad(this, p)) img->setPicture(p);
}

void TInputF::Image_MClick() { loadInto(Image_M); }
void TInputF::Image_SClick() { loadInto(Image_S); }
void TInputF::Image_PHOTO_Click(Image* sender) { loadInto(sender); }

void TInputF::eraseOn(Image* img, MouseButton button) {
    if (button != MouseButton::Right) return;
    try {
        img->clearPicture();
    } catch (const std::exception&) {
        platform().messageBox(this, QString::fromUtf8(tolvane::pictures::kPasteFailed));
    }
}

void TInputF::Image_MMouseDown(MouseButton button) { eraseOn(Image_M, button); }
void TInputF::Image_SMouseDown(MouseButton button) { eraseOn(Image_S, button); }
void TInputF::Image_P1MouseDown(Image* sender, MouseButton button) { eraseOn(sender, button); }

void TInputF::Btn_OKClick() {
    tolvane::db::Query& q = IBSQL_In;
    const int code = tolvane::db::nextKey(q, "select max(CODE) from FISH_MEMO");

    if ((CBox_F1->text().isEmpty() && CBox_F2->text().isEmpty() && CBox_F3->text().isEmpty()) ||
        Memo1->text().isEmpty()) {
        platform().messageBox(this, QStringLiteral("登録していません"));
        return;
    }

    // A character Shift-JIS cannot hold is named with its box; nothing is sent.
    const QString unstorable = unstorableTextLine({{CBox_F1->text(), Label_Fish->caption()},
                                                   {CBox_F2->text(), Label_Fish->caption()},
                                                   {CBox_F3->text(), Label_Fish->caption()},
                                                   {CBox1->text(), Label_Janru->caption()},
                                                   {CBox_Turi->text(), Label_Turi->caption()},
                                                   {CBox_Basyo->text(), Label_Basyo->caption()},
                                                   {Memo1->text(), MemoTextBoxName}});
    try {
        if (!unstorable.isEmpty()) throw std::invalid_argument("unstorable text");   // a failed save
        q.close();
        q.sqlClear();
        q.sqlAdd(" insert into FISH_MEMO (CODE , FISH1 , FISH2 , FISH3 , BUNRUI ,");
        q.sqlAdd(" M1 , M2 , M3 , M4 , M5 , M6 , M7 , M8 , M9 , M10 , M11 , M12 ,");
        q.sqlAdd(" F_MEMO , F_MAP , F_SHIO , F_PHOTO1, F_PHOTO2, F_PHOTO3, F_PHOTO4,");
        q.sqlAdd(" F_PHOTO5, F_PHOTO6, F_PHOTO7, F_PHOTO8, F_PHOTO9, TURI , BASYO )");
        q.sqlAdd(" values (:parCODE, :parFISH1 ,:parFISH2 ,:parFISH3 ,:parBUNRUI ,");
        q.sqlAdd(" :parM1 ,:parM2 ,:parM3 ,:parM4 , :parM5 ,:parM6 ,:parM7 ,:parM8 ,");
        q.sqlAdd(" :parM9 ,:parM10 ,:parM11 ,:parM12 ,");
        q.sqlAdd(" :parF_MEMO ,:parF_MAP ,:parF_SHIO ,");
        q.sqlAdd(" :parF_PHOTO1 ,:parF_PHOTO2 ,:parF_PHOTO3 ,");
        q.sqlAdd(" :parF_PHOTO4 ,:parF_PHOTO5 ,:parF_PHOTO6 ,");
        q.sqlAdd(" :parF_PHOTO7 ,:parF_PHOTO8 ,:parF_PHOTO9 ,");
        q.sqlAdd(" :parTURI ,:psrBASYO ) ");

        auto textOrNull = [&](const char* param, const ComboBox* box) {
            if (!box->text().isEmpty()) q.paramByName(param).setString(box->text().toStdString());
        };
        q.paramByName("parCODE").setInteger(code);
        textOrNull("parFISH1", CBox_F1);
        textOrNull("parFISH2", CBox_F2);
        textOrNull("parFISH3", CBox_F3);
        textOrNull("parTURI", CBox_Turi);
        textOrNull("psrBASYO", CBox_Basyo);
        q.paramByName("parBUNRUI").setString(CBox1->text().toStdString());
        for (int i = 0; i < 12; ++i)
            q.paramByName("parM" + std::to_string(i + 1)).setInteger(monthChosen(Panels[i]) ? 1 : 0);
        q.paramByName("parF_MEMO").setTextBlob(Memo1->text().toStdString());
        const std::pair<const char*, Image*> pictures[] = {
            {"parF_MAP", Image_M},       {"parF_SHIO", Image_S},      {"parF_PHOTO1", Image_P1},
            {"parF_PHOTO2", Image_P2},   {"parF_PHOTO3", Image_P3},   {"parF_PHOTO4", Image_P4}};
        for (const auto& [param, img] : pictures)
            tolvane::pictures::reencodingJpegWrite(q.paramByName(param), img->picture());
        // F_PHOTO5 ... F_PHOTO9 stay unset: NULL.

        q.execQuery();
        DM1->IBTr1.commitRetaining();
    } catch (const std::exception&) {
        // Nothing is stored; everything typed stays for another try.
        platform().messageBox(this, failureMessage(QStringLiteral("!!!!"), unstorable));
        DM1->IBTr1.rollbackRetaining();
        return;
    }
    ResetMemoForm();
}
