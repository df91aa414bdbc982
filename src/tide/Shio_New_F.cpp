#include "tide/Shio_New_F.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/DM_1.h"
#include "pictures/storage.h"
#include "tide/tide_support.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::pictures::Picture;

TShio_NewF* Shio_NewF = nullptr;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kFuchsia(255, 0, 255);

// A picture-pixel position scaled and moved to the window, within the limit.
int scaled(double v, double scale, int origin) {
    const double d = std::clamp(std::round(v * scale), -1e9, 1e9);
    return tolvane::tide::offsetSum(static_cast<std::int64_t>(d), origin);
}

// The place of a 17 x 17 circle whose centre, stored at v + 8.5, is scaled.
int centred(double v, double scale, int origin) {
    const double d = std::clamp(std::round((v + 8.5) * scale - 8.5), -1e9, 1e9);
    return tolvane::tide::offsetSum(static_cast<std::int64_t>(d), origin);
}

}  // namespace

TShio_NewF::TShio_NewF(Form* owner) : Form(owner, "Shio_NewF"), IBSQL(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("潮位"));
    setMinClientSize(540, 600);
    setClientSize(540, 600);
    setPosition(Position::OwnerCenter);
    setColor(QColor(170, 211, 249));
    setFontPx(12);

    Panel1 = new Panel(this, "Panel1", 0, 0, 540, 41);
    Panel1->setFontPx(16, true);
    Label1 = new Label(Panel1, "Label1", QStringLiteral("潮位の詳細表示(new)"), 24, 15);
    Label1->setFontPx(16, true);
    Button1 = new Button(Panel1, "Button1", QStringLiteral("戻　る"), 327, 4, 177, 33);
    Button1->setFontPx(16, true);
    Image_SS = new Image(this, "Image_SS", 16, 52, 500, 500);
    Image_SS->setStretch(true);
    Image_SS->setProportional(true);

    Shape1 = new Shape(this, "Shape1", 0, 0, 0, 0);
    Shape1->setPen(kBlue, 3);
    Shape1->setFill(Shape::Fill::Clear);
    Shape2 = new Shape(this, "Shape2", 0, 0, 0, 0);
    Shape2->setPen(kRed, 1);
    Shape2->setFill(Shape::Fill::FDiagonal, kFuchsia);
    Shape3 = new Shape(this, "Shape3", 0, 0, 0, 0);
    Shape3->setPen(kRed, 1);
    Shape3->setFill(Shape::Fill::BDiagonal, kFuchsia);
    Shape4 = new Shape(this, "Shape4", 0, 0, 17, 17);
    Shape5 = new Shape(this, "Shape5", 0, 0, 17, 17);
    Shape6 = new Shape(this, "Shape6", 0, 0, 17, 17);
    for (Shape* c : {Shape4, Shape5, Shape6}) {
        c->setKind(Shape::Kind::Circle);
        c->setPen(kRed, 3);
        c->setFill(Shape::Fill::Clear);
    }
    for (int n = 1; n <= 6; ++n) marker(n)->setVisible(false);

    Panel1->setAnchors(akLeft | akTop | akRight);
    Button1->setAnchors(akTop | akRight);
    Image_SS->setAnchors(akLeft | akTop | akRight | akBottom);

    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
    Button1->OnClick = [this] { Button1Click(); };
}

TShio_NewF::~TShio_NewF() = default;

Shape* TShio_NewF::marker(int n) const {
    Shape* const all[] = {Shape1, Shape2, Shape3, Shape4, Shape5, Shape6};
    return all[n - 1];
}

void TShio_NewF::FormShow() {
    haveMarks_ = false;
    for (int n = 1; n <= 6; ++n) marker(n)->setVisible(false);

    if (owner() != nullptr && owner()->name() == QLatin1String("ShowF")) {
        if (auto* src = owner()->findControl<Image>("Image_S")) Image_SS->setPicture(src->picture());
        return;
    }
    Image_SS->clearPicture();
    const auto code = tolvane::ui::wholeNumber(tolvane::ui::controlText(owner(), QStringLiteral("Edit_No")));
    if (!code) return;   // no record to read: an empty chart

    IBSQL.close();
    IBSQL.sqlClear();
    IBSQL.sqlAdd(" select SHIO_ZU,NEW_1_S,NEW_1_E,NEW_2_S,NEW_2_E,NEW_3_S,NEW_3_E,NEW_4_S,NEW_4_E,"
                 "NEW_5_S,NEW_5_E,NEW_6_S,NEW_6_E from FISH_DATA where CODENO = :parCODE ");
    IBSQL.paramByName("parCODE").setInteger(*code);
    IBSQL.open();

    Picture pic;
    try {
        pic = tolvane::pictures::bitmapFirstRead(IBSQL.fieldByName("SHIO_ZU"),
                                                 tolvane::pictures::NullTest::Without);
    } catch (const std::exception& e) {
        platform().errorBox(this, QString::fromUtf8(e.what()));
        Button1->setFocus();
        return;
    }
    Image_SS->setPicture(pic);
    if (pic.width() > 500) {
        const int w = std::min(pic.width() + 40, tolvane::tide::maxClientWidth(*this));
        if (w > width()) setWidth(w);   // Image_SS follows by its anchors
        tolvane::tide::keepOnScreen(*this);
    }
    for (int i = 0; i < 12; ++i) marks_[i] = IBSQL.fields(1 + i).asInteger();
    haveMarks_ = true;
    placeMarkers();
    Button1->setFocus();
}

void TShio_NewF::FormResize() {
    if (haveMarks_) placeMarkers();
}

void TShio_NewF::placeMarkers() {
    const Picture& pic = Image_SS->picture();
    const QRect drawn = Image_SS->pictureRect();
    const int pw = pic.width(), ph = pic.height();
    // A chart with no pixels is drawn at nothing: scale 1.
    const double sx = pw > 0 && drawn.width() > 0 ? double(drawn.width()) / pw : 1.0;
    const double sy = ph > 0 && drawn.height() > 0 ? double(drawn.height()) / ph : 1.0;
    const int ox = Image_SS->left() + drawn.x();
    const int oy = Image_SS->top() + drawn.y();
    const int bandHeight = pw > 0 && ph > 0 ? drawn.height() : 0;

    for (int n = 1; n <= 3; ++n) {
        const int s = marks_[2 * (n - 1)], e = marks_[2 * (n - 1) + 1];
        Shape* m = marker(n);
        m->setVisible(e > 0);   // a band hidden in the editor is stored 0, 0
        if (e > 0) m->setBounds(scaled(s, sx, ox), oy, scaled(e, sx, 0), bandHeight);
    }
    for (int n = 4; n <= 6; ++n) {
        const int s = marks_[2 * (n - 1)], e = marks_[2 * (n - 1) + 1];
        Shape* m = marker(n);
        m->setVisible(s != 0);
        // The circle's centre follows the scale; the circle keeps its size.
        if (s != 0) m->setPos(centred(s, sx, ox), centred(e, sy, oy));
    }
}
