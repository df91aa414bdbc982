#include "tide/ShiOnly_F.h"

#include <stdexcept>

#include "core/DM_1.h"
#include "pictures/storage.h"
#include "tide/tide_support.h"
#include "ui/platform.h"

using namespace tolvane::ui;
using tolvane::tide::offsetSum;

TShioOnlyF* ShioOnlyF = nullptr;

namespace {
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
}  // namespace

TShioOnlyF::TShioOnlyF(Form* owner) : Form(owner, "ShioOnlyF"), IBSQL_2(DM1->IBDB2, DM1->IBTr2) {
    setCaption(QStringLiteral("潮位"));
    setFixedClientSize(517, 556);
    setPosition(Position::OwnerCenter);
    setColor(QColor(0xAA, 0xD3, 0xF9));
    setFontPx(15);

    Panel1 = new Panel(this, "Panel1", 0, 0, 517, 41);
    Label1 = new Label(Panel1, "Label1", QStringLiteral("潮位の表示"), 16, 10);
    Label1->setFontPx(19, true);
    Label1->setFontColor(QColor(0, 0, 128));
    Button1 = new Button(Panel1, "Button1", QStringLiteral("戻　る"), 400, 4, 105, 33);
    Button1->setFontPx(16, true);
    Image_SS = new Image(this, "Image_SS", 8, 48, 500, 500);
    Shape1 = new Shape(this, "Shape1", 0, 0, 0, 0);
    Shape2 = new Shape(this, "Shape2", 0, 0, 0, 0);
    Shape1->setVisible(false);
    Shape2->setVisible(false);

    OnShow = [this] { FormShow(); };
    Button1->OnClick = [this] { Button1Click(); };
}

TShioOnlyF::~TShioOnlyF() = default;

void TShioOnlyF::placeholder(Shape* s) {
    s->setBounds(9, 49, 2, 2);
    s->setFill(Shape::Fill::Clear);
    s->setPen(Qt::white, 1);
    s->setVisible(true);
}

void TShioOnlyF::LoadPicture() {
    Image_SS->clearPicture();
    auto& f = IBSQL_2.fieldByName("SHIO_ZU");
    if (!f.isNull())
        Image_SS->setPicture(tolvane::pictures::bitmapFirstRead(f, tolvane::pictures::NullTest::With));
}

void TShioOnlyF::FormShow() {
    const auto code = tolvane::ui::wholeNumber(tolvane::ui::controlText(owner(), QStringLiteral("Edit_No")));
    if (!code) {   // no record to read: an empty chart and both placeholders
        Image_SS->clearPicture();
        placeholder(Shape1);
        placeholder(Shape2);
        Button1->setFocus();
        return;
    }
    IBSQL_2.close();
    IBSQL_2.sqlClear();
    IBSQL_2.sqlAdd("select * from FISH_DATA where CODENO = :parCODENO");
    IBSQL_2.paramByName("parCODENO").setInteger(*code);
    IBSQL_2.open();
    try {
        LoadPicture();
    } catch (const std::exception& e) {
        platform().errorBox(this, QString::fromUtf8(e.what()));
        Button1->setFocus();
        return;
    }
    auto v = [this](const char* col) { return IBSQL_2.fieldByName(col).asInteger(); };
    if (IBSQL_2.fieldByName("TIME1_L").isNull()) {
        placeholder(Shape1);
    } else {
        // The editor's chart corner lies at (16, 16), this window's at (8, 48).
        Shape1->setBounds(offsetSum(v("TIME1_L"), -8), offsetSum(v("TIME1_T"), 34),
                          offsetSum(v("TIME1_W"), 0), offsetSum(v("TIME1_H"), 0));
        Shape1->setFill(Shape::Fill::Clear);
        Shape1->setPen(kBlue, 2);
        Shape1->setVisible(true);
    }
    if (IBSQL_2.fieldByName("TIME2_L").isNull()) {
        placeholder(Shape2);
    } else {
        Shape2->setBounds(offsetSum(v("TIME2_L"), -8), offsetSum(v("TIME2_T"), 34),
                          offsetSum(v("TIME2_W"), 0), offsetSum(v("TIME2_H"), 0));
        Shape2->setFill(Shape::Fill::BDiagonal, kRed);
        Shape2->setPen(kRed, 1);
        Shape2->setVisible(true);
    }
    Button1->setFocus();
}
