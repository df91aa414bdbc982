#include "tide/Fish_Shio_In_F.h"

#include <QWidget>
#include <algorithm>
#include <stdexcept>

#include "core/DM_1.h"
#include "core/handover.h"
#include "pictures/input.h"
#include "pictures/labels.h"
#include "pictures/storage.h"
#include "tide/tide_support.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::pictures::Picture;
using tolvane::tide::offsetSum;

TFish_Shio_InF* Fish_Shio_InF = nullptr;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
constexpr int IL = 16;   // the picture area's corner
constexpr int IT = 16;

}  // namespace

TFish_Shio_InF::TFish_Shio_InF(Form* owner)
    : Form(owner, "Fish_Shio_InF"), IBSQL(DM1->IBDB2, DM1->IBTr2), IBSQL_UP(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("潮位"));
    setMinClientSize(682, 526);
    setMaxClientSize(QWIDGETSIZE_MAX, 526);
    setClientSize(682, 526);
    setPosition(Position::OwnerCenter);
    setColor(QColor(0xC8, 0xCE, 0xDD));
    setFontPx(16, true);

    Image_S = new Image(this, "Image_S", IL, IT, 500, 500);
    Edit_CODE = new Edit(this, "Edit_CODE", 536, 8, 137, 24);
    // Two lines after a file load: the size goes below its heading.
    Label_XY = new tolvane::ui::LineBreakLabel(this, "Label_XY", 536, 32, 146, 40);
    Label3 = new Label(this, "Label3", QStringLiteral("データの読み込み"), 536, 80);
    Btn_In = new Button(this, "Btn_In", QStringLiteral("クリップボードから"), 536, 100, 137, 29);
    Btn_F_In = new Button(this, "Btn_F_In", QStringLiteral("ファイルから"), 536, 132, 137, 29);
    Btn_Time = new Button(this, "Btn_Time", QStringLiteral("釣り時間の表示"), 536, 176, 137, 33);
    Panel_New_T = new Panel(this, "Panel_New_T", 536, 216, 137, 140);
    Label_Turi_T = new Label(Panel_New_T, "Label_Turi_T", QStringLiteral("釣行時間"), 8, 6);
    Label_Turi_T->setFontColor(kBlue);
    Btn_001 = new Button(Panel_New_T, "Btn_001", QStringLiteral("-"), 6, 28, 25, 29);
    S_Btn_1 = new FlatButton(Panel_New_T, "S_Btn_1", QStringLiteral("釣行時間"), 33, 28, 100, 29);
    Label_Ture_T = new Label(Panel_New_T, "Label_Ture_T", QStringLiteral("釣れた時間"), 8, 70);
    Label_Ture_T->setFontColor(kBlue);
    Btn_002 = new Button(Panel_New_T, "Btn_002", QStringLiteral("-"), 6, 92, 25, 29);
    S_Btn_2 = new FlatButton(Panel_New_T, "S_Btn_2", QStringLiteral("釣れた時間帯"), 33, 92, 100, 29);
    S_Btn_1->Tag = 1;
    S_Btn_2->Tag = 2;
    for (FlatButton* b : {S_Btn_1, S_Btn_2}) {
        b->setGroupIndex(1);
        b->setFontPx(13, true);
    }
    Btn_OK = new Button(this, "Btn_OK", QStringLiteral("登　録"), 536, 372, 137, 33);
    Btn_Clear = new Button(this, "Btn_Clear", QStringLiteral("消　去"), 536, 416, 137, 33);
    Btn_Return = new Button(this, "Btn_Return", QStringLiteral("戻　る"), 536, 476, 137, 33);

    // The rectangles lie on the window above the picture.
    Shape_1 = new Shape(this, "Shape_1", 176, 48, 201, 433);
    Shape_1->setPen(kBlue, 2);
    Shape_1->setFill(Shape::Fill::Clear);
    Shape_2 = new Shape(this, "Shape_2", 200, 48, 65, 433);
    Shape_2->setPen(kRed, 1);
    Shape_2->setFill(Shape::Fill::BDiagonal, kRed);

    Image_S->setAnchors(akLeft | akTop | akRight);
    for (Control* c : std::initializer_list<Control*>{Edit_CODE, Label_XY, Label3, Btn_In, Btn_F_In,
                                                      Btn_Time, Panel_New_T, Btn_OK, Btn_Clear,
                                                      Btn_Return})
        c->setAnchors(akTop | akRight);
    setPanelControlsEnabled(false);

    OnShow = [this] { FormShow(); };
    Btn_Time->OnClick = [this] { Btn_TimeClick(); };
    S_Btn_1->OnClick = [this] { S_Btn_XX_Click(S_Btn_1); };
    S_Btn_2->OnClick = [this] { S_Btn_XX_Click(S_Btn_2); };
    Btn_001->OnClick = [this] { Btn_001Click(); };
    Btn_002->OnClick = [this] { Btn_002Click(); };
    Btn_In->OnClick = [this] { Btn_InClick(); };
    Btn_F_In->OnClick = [this] { Btn_F_InClick(); };
    Btn_Clear->OnClick = [this] { Btn_ClearClick(); };
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };
    Shape_1->OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { Shape_1_MouseDown(b, s, x, y); };
    Shape_2->OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { Shape_2_MouseDown(b, s, x, y); };
    Shape_1->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_1MouseMove(s, x, y); };
    Shape_2->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_2MouseMove(s, x, y); };
    for (Shape* r : {Shape_1, Shape_2})
        r->OnMouseUp = [this, r](MouseButton, ShiftState, int, int) { Shape_XX_MouseUp(r); };
}

TFish_Shio_InF::~TFish_Shio_InF() = default;

bool TFish_Shio_InF::servesBrowser() const {
    return owner() != nullptr && owner()->name() == QLatin1String("FishdataF");
}

void TFish_Shio_InF::setPanelControlsEnabled(bool on) {
    for (Control* c : std::initializer_list<Control*>{Panel_New_T, Label_Turi_T, Label_Ture_T, Btn_001,
                                                      Btn_002, S_Btn_1, S_Btn_2})
        c->setEnabled(on);
}

void TFish_Shio_InF::FormShow() {
    setClientSize(682, 526);
    setPanelControlsEnabled(false);
    Shape_1->setVisible(false);
    Shape_2->setVisible(false);
    recordRead_ = false;
    Btn_Time->setCaption(QStringLiteral("釣り時間の表示"));
    FTimeEditing = 0;
    FMode = 0;

    if (!servesBrowser()) {
        Label_XY->setCaption(QString());
        Edit_CODE->setText(QStringLiteral("新規入力"));
        return;
    }
    Edit_CODE->setText(tolvane::ui::controlText(owner(), QStringLiteral("Edit_No")));
    Label_XY->setCaption(QString());
    if (ShioPicFlag == 1) {
        if (auto* src = owner()->findControl<Image>("Image_Shio")) {
            Image_S->setPicture(src->picture());
            Label_XY->setCaption(tolvane::pictures::openingSizeLabel(src->picture(), QStringLiteral("jpg")));
        }
    }
    const auto code = tolvane::ui::wholeNumber(Edit_CODE->text());
    if (!code) {
        platform().messageBox(this, QStringLiteral("コード番号取得失敗"));
        close();
        return;
    }
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd("select TIME1_START , TIME1_END , TIME2_START , TIME2_END , TIME1_L, TIME1_T,"
                 " TIME1_W, TIME1_H, TIME2_L, TIME2_T, TIME2_W, TIME2_H, TIME3_L, TIME3_T, TIME3_W,"
                 " TIME3_H from FISH_DATA where CODENO = :parCODE");
    IBSQL.paramByName("parCODE").setInteger(*code);
    IBSQL.open();   // kept open: Btn_TimeClick and PlaceRectangles read it
    recordRead_ = true;

    auto v = [this](const char* col) { return offsetSum(IBSQL.fieldByName(col).asInteger(), 0); };
    if (v("TIME1_W") > 2) {
        Shape_1->setBounds(v("TIME1_L"), v("TIME1_T"), v("TIME1_W"), v("TIME1_H"));
        Shape_1->setVisible(true);
    }
    if (v("TIME2_W") > 2) {
        Shape_2->setBounds(v("TIME2_L"), v("TIME2_T"), v("TIME2_W"), v("TIME2_H"));
        Shape_2->setVisible(true);
    }
}

void TFish_Shio_InF::PlaceRectangles() {
    Panel_New_T->setEnabled(true);
    Shape_1->setVisible(true);
    Shape_2->setVisible(true);
    const bool withPicture = servesBrowser() && ShioPicFlag == 1;
    if (withPicture && recordRead_ && !IBSQL.fieldByName("TIME1_W").isNull() &&
        IBSQL.fieldByName("TIME1_W").asInteger() >= 2) {
        auto v = [this](const char* col) { return offsetSum(IBSQL.fieldByName(col).asInteger(), 0); };
        Shape_1->setBounds(v("TIME1_L"), v("TIME1_T"), v("TIME1_W"), v("TIME1_H"));
        Shape_2->setBounds(v("TIME2_L"), v("TIME2_T"), v("TIME2_W"), v("TIME2_H"));
    } else if (withPicture) {
        Shape_1->setBounds(IL + 151, IT + 15, 113, 445);
        Shape_2->setBounds(IL + 200, IT + 15, 33, 445);
    } else {
        Shape_1->setBounds(IL + 151, IT + 32, 113, 433);
        Shape_2->setBounds(IL + 200, IT + 32, 33, 433);
    }
}

void TFish_Shio_InF::Btn_TimeClick() {
    const bool entering = Btn_Time->caption() == QStringLiteral("釣り時間の表示");
    // Only when entering; with no record read there is nothing to look up.
    if (entering && recordRead_ && IBSQL.fieldByName("TIME1_W").isNull()) {
        Shape_1->setBounds(IL + 160, IT + 32, 113, 433);
        Shape_2->setBounds(IL + 200, IT + 32, 33, 433);
    }
    auto sized = [](const Shape* s) { return s->bounds() != QRect(0, 0, 0, 0); };
    Btn_001->setCaption(sized(Shape_1) ? QStringLiteral("-") : QStringLiteral("+"));
    Btn_002->setCaption(sized(Shape_2) ? QStringLiteral("-") : QStringLiteral("+"));
    FTimeEditing = 0;
    if (entering) {
        Btn_Time->setCaption(QStringLiteral("時間の編集中"));
        setPanelControlsEnabled(true);
        PlaceRectangles();
        FTimeEditing = 1;
    } else {
        Btn_Time->setCaption(QStringLiteral("釣り時間の表示"));
        S_Btn_1->setFontColor(Qt::black);
        S_Btn_2->setFontColor(Qt::black);
        setPanelControlsEnabled(false);
    }
}

void TFish_Shio_InF::S_Btn_XX_Click(FlatButton* sender) {
    FMode = sender->Tag;
    for (FlatButton* b : {S_Btn_1, S_Btn_2}) b->setFontColor(b->Tag == FMode ? kRed : QColor(Qt::black));
    Shape* s = FMode == 1 ? Shape_1 : Shape_2;
    s->setVisible(true);
    s->bringToFront();
}

void TFish_Shio_InF::Btn_001Click() {
    if (Btn_001->caption() == QLatin1String("-")) {
        Shape_1->setBounds(0, 0, 0, 0);
        Btn_001->setCaption(QStringLiteral("+"));
    } else {
        Shape_1->setBounds(IL + 151, IT + 32, 113, 433);
        Btn_001->setCaption(QStringLiteral("-"));
    }
}

void TFish_Shio_InF::Btn_002Click() {
    if (Btn_002->caption() == QLatin1String("-")) {
        Shape_2->setBounds(0, 0, 0, 0);
        Btn_002->setCaption(QStringLiteral("+"));
    } else {
        Shape_2->setBounds(IL + 200, IT + 32, 33, 433);
        Btn_002->setCaption(QStringLiteral("-"));
    }
}

void TFish_Shio_InF::Btn_InClick() {
    Picture p = Image_S->picture();
    if (!tolvane::pictures::bitmapPaste(this, p, tolvane::pictures::Notice::Message)) return;
    Image_S->setPicture(p);
    Label_XY->setCaption(tolvane::pictures::pasteSizeLabel(p));
}

void TFish_Shio_InF::Btn_F_InClick() {
    Picture p = Image_S->picture();
    const auto label = tolvane::pictures::extensionSwitchFileLoad(this, p);
    Image_S->setPicture(p);
    if (label) Label_XY->setCaption(*label);
}

void TFish_Shio_InF::Btn_ClearClick() {
    Image_S->clearPicture();
    Shape_1->setVisible(false);
    Shape_2->setVisible(false);
    Label_XY->setCaption(QString());
}

void TFish_Shio_InF::rectDown(FlatButton* toggle, Shape* s, int x, int y) {
    if (!toggle->down()) return;
    FDownX = x;
    FDownY = y;
    FDragging = true;
    FStartWidth = s->width();
    FStartHeight = s->height();
}

void TFish_Shio_InF::Shape_1_MouseDown(MouseButton, ShiftState, int x, int y) { rectDown(S_Btn_1, Shape_1, x, y); }
void TFish_Shio_InF::Shape_2_MouseDown(MouseButton, ShiftState, int x, int y) { rectDown(S_Btn_2, Shape_2, x, y); }

void TFish_Shio_InF::moveRect(int n, Shape* s, ShiftState st, int x, int y) {
    if (!FDragging || FMode != n) return;
    const int px = s->left() + x;
    const int py = s->top() + y;
    if (st == ssLeft) s->setLeft(px - FDownX);
    if (st == ssRight) s->setWidth(FStartWidth + (px - FDownX - s->left()));
    if ((st & ssLeft) && (st & ssShift)) s->setTop(py - FDownY);
    if ((st & ssRight) && (st & ssShift)) s->setHeight(FStartHeight + (py - FDownY - s->top()));
}

void TFish_Shio_InF::Shape_XX_MouseUp(Shape* sender) {
    FDragging = false;
    tolvane::tide::clampToPictureArea(*sender, IL, IL + Image_S->width());
    // Pulled above its own top (held at 0 high): given a height again.
    if (sender->height() < 1) sender->setHeight(10);
}

std::array<int, 8> TFish_Shio_InF::rectValues() const {
    std::array<int, 8> v{};
    const Shape* shapes[] = {Shape_1, Shape_2};
    for (int i = 0; i < 2; ++i) {
        if (!shapes[i]->visible()) continue;
        const QRect b = shapes[i]->bounds();
        v[4 * i] = b.left();
        v[4 * i + 1] = b.top();
        v[4 * i + 2] = b.width();
        v[4 * i + 3] = b.height();
    }
    return v;
}

void TFish_Shio_InF::failed() {
    platform().messageBox(this, QStringLiteral("登録に失敗しました"));
    DM1->IBTr2.rollbackRetaining();
}

void TFish_Shio_InF::Btn_OKClick() {
    const bool old = DataMode == OLD_Flg;
    const bool withPicture = Image_S->hasPicture();
    if (!old && !withPicture) {   // the entry window keeps what it has
        close();
        return;
    }
    int code = 0;
    if (old) {
        const auto n = tolvane::ui::wholeNumber(Edit_CODE->text());
        if (!n) {
            // Nothing is written; the user may correct the number.
            platform().messageBox(this, QStringLiteral("コード番号取得失敗"));
            return;
        }
        code = *n;
    }
    QByteArray bytes;
    if (withPicture) {
        try {
            const Picture& pic = Image_S->picture();
            tolvane::pictures::checkStorable(pic);
            bytes = tolvane::pictures::reencodedJpegBytes(pic);
        } catch (const std::exception&) {
            failed();
            close();
            return;
        }
    }
    const auto rects = rectValues();

    if (old) {
        static const char* const kParams[] = {"parTIME1_L", "parTIME1_T", "parTIME1_W", "parTIME1_H",
                                              "parTIME2_L", "parTIME2_T", "parTIME2_W", "parTIME2_H"};
        try {
            IBSQL_UP.close();
            IBSQL_UP.sqlClear();
            IBSQL_UP.sqlAdd("update FISH_DATA set SHIO_ZU = :parSHIO_ZU , TIME1_L = :parTIME1_L ,"
                            " TIME1_T = :parTIME1_T , TIME1_W = :parTIME1_W , TIME1_H = :parTIME1_H ,"
                            " TIME2_L = :parTIME2_L , TIME2_T = :parTIME2_T , TIME2_W = :parTIME2_W ,"
                            " TIME2_H = :parTIME2_H where CODENO = :parCODE");
            if (withPicture)   // otherwise left unset: the chart becomes NULL
                IBSQL_UP.paramByName("parSHIO_ZU").setBlob(std::string_view(bytes.constData(), std::size_t(bytes.size())));
            for (int i = 0; i < 8; ++i) IBSQL_UP.paramByName(kParams[i]).setInteger(rects[i]);
            IBSQL_UP.paramByName("parCODE").setInteger(code);
            IBSQL_UP.execQuery();
            if (IBSQL_UP.rowsAffected() == 0)
                failed();   // no such record
            else
                DM1->IBTr2.commitRetaining();
        } catch (const tolvane::db::Error&) {
            failed();
        }
    } else {
        if (auto* target = owner() != nullptr ? owner()->findControl<Image>("Image_Shio") : nullptr)
            target->setPicture(bytes.isEmpty() ? Picture::fromBitmap(QImage()) : Picture::fromJpeg(bytes));
        ShioNewMarks.fill(0);
        ShioTimeRects = rects;
    }
    close();
}
