#include "tide/New_Shio_In_F.h"

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

TNew_Shio_InF* New_Shio_InF = nullptr;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kFuchsia(255, 0, 255);

constexpr int kImageLeft = 16;
constexpr int kImageTop = 16;

Label* headLabel(QWidget* parent, const char* name, const char* caption, int l, int t, int px,
                 bool blue) {
    auto* lb = new Label(parent, name, QString::fromUtf8(caption), l, t);
    lb->setFontPx(px, true);
    if (blue) lb->setFontColor(kBlue);
    return lb;
}

}  // namespace

TNew_Shio_InF::TNew_Shio_InF(Form* owner)
    : Form(owner, "New_Shio_InF"), IBSQL(DM1->IBDB2, DM1->IBTr2), IBSQL_UP(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("潮位 New"));
    setMinClientSize(690, 560);
    setClientSize(690, 560);
    setPosition(Position::OwnerCenter);
    setColor(QColor(200, 206, 221));
    setFontPx(16);

    Image_S = new Image(this, "Image_S", kImageLeft, kImageTop, 500, 500);

    Label_XY = new Label(this, "Label_XY", QString(), 540, 132);
    Label_XY->setFontPx(16, true);
    Edit_CODE = new Edit(this, "Edit_CODE", 540, 60, 121, 24);
    Edit_CODE->setFontPx(16, true);
    Btn_Return = new Button(this, "Btn_Return", QStringLiteral("戻　る"), 540, 16, 121, 33);
    Btn_In = new Button(this, "Btn_In", QStringLiteral("読み込み"), 540, 96, 121, 33);
    Btn_OK = new Button(this, "Btn_OK", QStringLiteral("登　録"), 540, 152, 121, 33);
    Btn_Clear = new Button(this, "Btn_Clear", QStringLiteral("消　去"), 540, 204, 121, 33);
    Btn_Time = new Button(this, "Btn_Time", QStringLiteral("釣り時間の表示"), 540, 256, 121, 33);
    Panel_Time = new Panel(this, "Panel_Time", 524, 296, 153, 225);

    Label_A = headLabel(Panel_Time, "Label_A", "釣行時間", 16, 4, 15, true);
    Label_B = headLabel(Panel_Time, "Label_B", "消去", 121, 8, 11, false);
    S_Btn_1 = new FlatButton(Panel_Time, "S_Btn_1", QStringLiteral("釣行時間"), 16, 24, 105, 29);
    S_Btn_1->Tag = 1;
    Btn_S00 = new Button(Panel_Time, "Btn_S00", QStringLiteral("-"), 120, 24, 25, 29);
    Btn_S00->setFontPx(21, true);
    Label_AA = headLabel(Panel_Time, "Label_AA", "釣れた時間帯", 15, 60, 15, true);
    Label_BB = headLabel(Panel_Time, "Label_BB", "消去", 121, 64, 11, false);
    S_Btn_2 = new FlatButton(Panel_Time, "S_Btn_2", QStringLiteral("地合　１"), 16, 80, 105, 29);
    S_Btn_2->Tag = 2;
    Btn_S01 = new Button(Panel_Time, "Btn_S01", QStringLiteral("-"), 120, 80, 25, 29);
    S_Btn_3 = new FlatButton(Panel_Time, "S_Btn_3", QStringLiteral("地合　２"), 16, 108, 105, 29);
    S_Btn_3->Tag = 3;
    Btn_S02 = new Button(Panel_Time, "Btn_S02", QStringLiteral("-"), 120, 108, 25, 29);
    Label_AAA = headLabel(Panel_Time, "Label_AAA", "釣れた時間", 16, 144, 13, false);
    S_Btn_3__ = new FlatButton(Panel_Time, "S_Btn_3__", QStringLiteral("１"), 16, 160, 41, 29);
    S_Btn_3__->Tag = 4;
    S_Btn_2__ = new FlatButton(Panel_Time, "S_Btn_2__", QStringLiteral("２"), 56, 160, 41, 29);
    S_Btn_2__->Tag = 5;
    S_Btn_1__ = new FlatButton(Panel_Time, "S_Btn_1__", QStringLiteral("３"), 96, 160, 41, 29);
    S_Btn_1__->Tag = 6;
    Btn_O_1 = new Button(Panel_Time, "Btn_O_1", QStringLiteral("-"), 16, 188, 41, 25);
    Btn_O_2 = new Button(Panel_Time, "Btn_O_2", QStringLiteral("-"), 56, 188, 41, 25);
    Btn_O_3 = new Button(Panel_Time, "Btn_O_3", QStringLiteral("-"), 96, 188, 41, 25);

    // The markers lie on the window above the picture.
    Shape_1 = new Shape(this, "Shape_1", 40, 16, 65, 200);
    Shape_1->setPen(kBlue, 3);
    Shape_1->setFill(Shape::Fill::Clear);
    Shape_2 = new Shape(this, "Shape_2", 120, 16, 65, 200);
    Shape_2->setPen(kRed, 1);
    Shape_2->setFill(Shape::Fill::BDiagonal, kFuchsia);
    Shape_3 = new Shape(this, "Shape_3", 216, 16, 65, 200);
    Shape_3->setPen(kRed, 1);
    Shape_3->setFill(Shape::Fill::FDiagonal, kFuchsia);
    Shape_4 = new Shape(this, "Shape_4", 56, 48, 17, 17);
    Shape_5 = new Shape(this, "Shape_5", 56, 76, 17, 17);
    Shape_6 = new Shape(this, "Shape_6", 56, 104, 17, 17);
    for (Shape* c : {Shape_4, Shape_5, Shape_6}) {
        c->setKind(Shape::Kind::Circle);
        c->setPen(kRed, 3);
        c->setFill(Shape::Fill::Clear);
    }

    for (Control* c : std::initializer_list<Control*>{Label_XY, Edit_CODE, Btn_Return, Btn_In, Btn_OK,
                                                      Btn_Clear, Btn_Time, Panel_Time})
        c->setAnchors(akTop | akRight);

    OnShow = [this] { FormShow(); };
    Btn_Return->OnClick = [this] { Btn_ReturnClick(); };
    Btn_In->OnClick = [this] { Btn_InClick(); };
    Btn_OK->OnClick = [this] { Btn_OKClick(); };
    Btn_Clear->OnClick = [this] { Btn_ClearClick(); };
    Btn_Time->OnClick = [this] { Btn_TimeClick(); };
    for (FlatButton* b : flatButtons()) b->OnClick = [this, b] { S_Btn_XX_Click(b); };
    Btn_S00->OnClick = [this] { Btn_S00Click(); };
    Btn_S01->OnClick = [this] { Btn_S01Click(); };
    Btn_S02->OnClick = [this] { Btn_S02Click(); };
    Btn_O_1->OnClick = [this] { Btn_O_1Click(); };
    Btn_O_2->OnClick = [this] { Btn_O_2Click(); };
    Btn_O_3->OnClick = [this] { Btn_O_3Click(); };
    Shape_1->OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { Shape_1MouseDown(b, s, x, y); };
    Shape_2->OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { Shape_2MouseDown(b, s, x, y); };
    Shape_3->OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { Shape_3MouseDown(b, s, x, y); };
    Shape_1->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_1MouseMove(s, x, y); };
    Shape_2->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_2MouseMove(s, x, y); };
    Shape_3->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_3MouseMove(s, x, y); };
    for (Shape* band : {Shape_1, Shape_2, Shape_3})
        band->OnMouseUp = [this, band](MouseButton, ShiftState, int, int) { Shape_XX_MouseUp(band); };
    for (Shape* c : {Shape_4, Shape_5, Shape_6}) {
        c->OnMouseDown = [this](MouseButton, ShiftState, int x, int y) { Shape_YY_MouseDown(x, y); };
        c->OnMouseUp = [this](MouseButton, ShiftState, int, int) { Shape_YY_MouseUp(); };
    }
    Shape_4->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_4MouseMove(s, x, y); };
    Shape_5->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_5MouseMove(s, x, y); };
    Shape_6->OnMouseMove = [this](ShiftState s, int x, int y) { Shape_6MouseMove(s, x, y); };
}

TNew_Shio_InF::~TNew_Shio_InF() = default;

Shape* TNew_Shio_InF::marker(int n) const {
    switch (n) {
    case 1: return Shape_1;
    case 2: return Shape_2;
    case 3: return Shape_3;
    case 4: return Shape_4;
    case 5: return Shape_5;
    case 6: return Shape_6;
    default: return nullptr;
    }
}

std::array<FlatButton*, 6> TNew_Shio_InF::flatButtons() const {
    return {S_Btn_1, S_Btn_2, S_Btn_3, S_Btn_3__, S_Btn_2__, S_Btn_1__};
}

void TNew_Shio_InF::SetPanelEnabled(const QString& onOff) {
    const bool on = onOff == QLatin1String("ON");
    for (Control* c : std::initializer_list<Control*>{
             S_Btn_1, S_Btn_2, S_Btn_3, S_Btn_1__, S_Btn_2__, S_Btn_3__, Btn_S00, Btn_S01, Btn_S02,
             Btn_O_1, Btn_O_2, Btn_O_3, Label_A, Label_AA, Label_AAA, Label_B, Label_BB})
        c->setEnabled(on);
}

void TNew_Shio_InF::blackFlatButtons() {
    for (FlatButton* b : flatButtons()) b->setFontColor(Qt::black);
}

void TNew_Shio_InF::growFor(int pw, int ph, bool withHeight) {
    if (withHeight && ph > 500) {
        const int h = std::min(ph + 60, tolvane::tide::maxClientHeight(*this));
        if (h > height()) setHeight(h);
        const int ih = std::min(ph, height() - 60);
        if (ih > Image_S->height()) Image_S->setHeight(ih);
    }
    if (pw > 500) {
        const int w = std::min(pw + 190, tolvane::tide::maxClientWidth(*this));
        if (w > width()) setWidth(w);
        const int iw = std::min(pw, width() - 190);
        if (iw > Image_S->width()) Image_S->setWidth(iw);
    }
    tolvane::tide::keepOnScreen(*this);
}

void TNew_Shio_InF::FormShow() {
    for (int n = 1; n <= 6; ++n) marker(n)->setVisible(false);
    SetPanelEnabled(QStringLiteral("OFF"));

    if (owner() == nullptr || owner()->name() != QLatin1String("FishdataF")) {
        Label_XY->setCaption(QString());
        Edit_CODE->setText(QStringLiteral("新規入力"));
        return;
    }

    Edit_CODE->setText(tolvane::ui::controlText(owner(), QStringLiteral("Edit_No")));
    Label_XY->setCaption(QString());
    const auto code = tolvane::ui::wholeNumber(Edit_CODE->text());
    if (!code) {
        platform().messageBox(this, QStringLiteral("コード番号取得失敗"));
        close();
        return;
    }
    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd("select SHIO_ZU, NEW_1_S , NEW_1_E , NEW_2_S , NEW_2_E, NEW_3_S , NEW_3_E ,"
                 " NEW_4_S , NEW_4_E, NEW_5_S , NEW_5_E , NEW_6_S , NEW_6_E from FISH_DATA"
                 " where CODENO = :parCODE");
    IBSQL.paramByName("parCODE").setInteger(*code);
    IBSQL.open();

    Image_S->clearPicture();
    const Picture pic = tolvane::pictures::bitmapFirstRead(IBSQL.fieldByName("SHIO_ZU"),
                                                          tolvane::pictures::NullTest::Without);
    Image_S->setPicture(pic);
    growFor(pic.width(), pic.height(), false);

    auto value = [this](const char* col) { return IBSQL.fieldByName(col).asInteger(); };
    static const char* const kS[] = {"NEW_1_S", "NEW_2_S", "NEW_3_S", "NEW_4_S", "NEW_5_S", "NEW_6_S"};
    static const char* const kE[] = {"NEW_1_E", "NEW_2_E", "NEW_3_E", "NEW_4_E", "NEW_5_E", "NEW_6_E"};
    // Band 1 brings all three bands; bands 2 and 3 also come on their own
    // width, so feeding windows stored without a trip band are kept.
    const bool band1 = value("NEW_1_E") > 2;
    for (int n = 1; n <= 3; ++n) {
        if (!band1 && value(kE[n - 1]) <= 2) continue;
        Shape* s = marker(n);
        s->setBounds(offsetSum(value(kS[n - 1]), kImageLeft), kImageTop,
                     offsetSum(value(kE[n - 1]), 0), pic.height());
        s->setVisible(true);
    }
    for (int n = 4; n <= 6; ++n) {
        if (value(kS[n - 1]) <= 0) continue;
        Shape* s = marker(n);
        s->setPos(offsetSum(value(kS[n - 1]), Image_S->left()),
                  offsetSum(value(kE[n - 1]), Image_S->top()));
        s->setVisible(true);
    }
}

void TNew_Shio_InF::Btn_InClick() {
    Picture p = Image_S->picture();
    if (!tolvane::pictures::bitmapPaste(this, p, tolvane::pictures::Notice::Message)) return;
    Image_S->setPicture(p);
    Label_XY->setCaption(tolvane::pictures::pasteSizeLabel(p));
    growFor(p.width(), p.height(), true);
}

void TNew_Shio_InF::Btn_ClearClick() {
    Image_S->clearPicture();
    Label_XY->setCaption(QString());
}

void TNew_Shio_InF::Btn_TimeClick() {
    if (!Image_S->hasPicture()) return;
    try {
        SetPanelEnabled(QStringLiteral("ON"));
        FMode = 0;
        const int ph = Image_S->picture().height();
        if (!Shape_1->visible()) Shape_1->setBounds(16, 16, 100, ph);
        if (!Shape_2->visible()) Shape_2->setBounds(16, 16, 80, ph);
        if (!Shape_3->visible()) Shape_3->setBounds(16, 16, 80, ph);
        blackFlatButtons();
    } catch (const std::exception&) {
        // dropped without a message
    }
}

void TNew_Shio_InF::S_Btn_XX_Click(FlatButton* sender) {
    FMode = sender->Tag;
    blackFlatButtons();
    for (FlatButton* b : flatButtons())
        if (b->Tag == FMode) b->setFontColor(kRed);
    if (Shape* s = marker(FMode)) {
        s->setVisible(true);
        s->bringToFront();
    }
}

void TNew_Shio_InF::toggleMarker(Button* b, Shape* s) {
    if (b->caption() == QLatin1String("-")) {
        s->setVisible(false);
        b->setCaption(QStringLiteral("+"));
    } else {
        s->setVisible(true);
        b->setCaption(QStringLiteral("-"));
    }
    FMode = 0;
    blackFlatButtons();
}

void TNew_Shio_InF::bandDown(Shape* s, int x, int y) {
    FDownX = x;
    FDownY = y;
    FDragging = true;
    FStartWidth = s->width();
}

void TNew_Shio_InF::Shape_1MouseDown(MouseButton, ShiftState, int x, int y) { bandDown(Shape_1, x, y); }
void TNew_Shio_InF::Shape_2MouseDown(MouseButton, ShiftState, int x, int y) { bandDown(Shape_2, x, y); }
void TNew_Shio_InF::Shape_3MouseDown(MouseButton, ShiftState, int x, int y) { bandDown(Shape_3, x, y); }

void TNew_Shio_InF::moveBand(int n, Shape* s, ShiftState st, int x) {
    if (!FDragging || FMode != n) return;
    const int px = s->left() + x;
    if (st == ssLeft)
        s->setLeft(px - FDownX);
    else if (st == ssRight)
        s->setWidth(FStartWidth + (px - FDownX - s->left()));
}

void TNew_Shio_InF::Shape_XX_MouseUp(Shape* sender) {
    FDragging = false;
    tolvane::tide::clampToPictureArea(*sender, kImageLeft, kImageLeft + Image_S->width());
}

void TNew_Shio_InF::Shape_YY_MouseDown(int x, int y) {
    FDownX = x;
    FDownY = y;
    FDragging = true;
}

void TNew_Shio_InF::moveCircle(Shape* s, int x, int y) {
    if (!FDragging) return;
    s->setPos(s->left() + x - FDownX, s->top() + y - FDownY);
}

std::array<int, 12> TNew_Shio_InF::markValues() const {
    std::array<int, 12> v{};
    for (int n = 1; n <= 6; ++n) {
        const Shape* s = marker(n);
        if (!s->visible()) continue;
        v[2 * (n - 1)] = s->left() - Image_S->left();
        v[2 * (n - 1) + 1] = n <= 3 ? s->width() : s->top() - Image_S->top();
    }
    return v;
}

void TNew_Shio_InF::failed(const QString& detail) {
    DM1->IBTr2.rollbackRetaining();
    platform().messageBox(this, QStringLiteral("登録に失敗しました"));
    if (!detail.isEmpty()) platform().messageBox(this, detail);
}

void TNew_Shio_InF::Btn_OKClick() {
    if (!Image_S->hasPicture()) {
        close();
        return;
    }
    const bool old = DataMode == OLD_Flg;
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

    const Picture pic = Image_S->picture();
    QByteArray bytes;
    try {
        tolvane::pictures::checkStorable(pic);
        bytes = tolvane::pictures::reencodedJpegBytes(pic);
    } catch (const std::exception& e) {
        failed(QString::fromUtf8(e.what()));
        close();
        return;
    }
    const auto marks = markValues();

    if (old) {
        static const char* const kParams[] = {
            "parNEW_1_S", "parNEW_1_E", "parNEW_2_S", "parNEW_2_E", "parNEW_3_S", "parNEW_3_E",
            "parNEW_4_S", "parNEW_4_E", "parNEW_5_S", "parNEW_5_E", "parNEW_6_S", "parNEW_6_E"};
        try {
            IBSQL_UP.close();
            IBSQL_UP.sqlClear();
            IBSQL_UP.sqlAdd(" update FISH_DATA set SHIO_ZU = :parSHIO_ZU , NEW_1_S = :parNEW_1_S ,"
                            " NEW_1_E = :parNEW_1_E , NEW_2_S = :parNEW_2_S , NEW_2_E = :parNEW_2_E ,"
                            " NEW_3_S = :parNEW_3_S , NEW_3_E = :parNEW_3_E , NEW_4_S = :parNEW_4_S ,"
                            " NEW_4_E = :parNEW_4_E , NEW_5_S = :parNEW_5_S , NEW_5_E = :parNEW_5_E ,"
                            " NEW_6_S = :parNEW_6_S , NEW_6_E = :parNEW_6_E where CODENO = :parCODE ");
            IBSQL_UP.paramByName("parSHIO_ZU").setBlob(std::string_view(bytes.constData(), std::size_t(bytes.size())));
            for (int i = 0; i < 12; ++i) IBSQL_UP.paramByName(kParams[i]).setInteger(marks[i]);
            IBSQL_UP.paramByName("parCODE").setInteger(code);
            IBSQL_UP.execQuery();
            if (IBSQL_UP.rowsAffected() == 0) {
                failed(QString());   // no such record: nothing was stored
            } else {
                DM1->IBTr2.commitRetaining();
            }
        } catch (const tolvane::db::Error& e) {
            failed(QString::fromUtf8(e.what()));
        }
    } else {
        if (auto* target = owner() != nullptr ? owner()->findControl<Image>("Image_Shio") : nullptr)
            target->setPicture(bytes.isEmpty() ? Picture::fromBitmap(QImage()) : Picture::fromJpeg(bytes));
        ShioNewMarks = marks;
    }
    close();
}
