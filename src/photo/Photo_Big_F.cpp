#include "photo/Photo_Big_F.h"

#include "core/handover.h"
#include "photo/Photo_F.h"
#include "photo/photo_common.h"
#include "pictures/storage.h"

using namespace tolvane::ui;
using namespace tolvane::photo;

TPhoto_BigF* Photo_BigF = nullptr;

namespace {
const QPoint kHome[4] = {{8, 16}, {416, 16}, {8, 328}, {416, 328}};
const char* const kColumns[4] = {"PHOTO1", "PHOTO2", "PHOTO3", "PHOTO4"};
// An enlarged panel; its picture fills it inside a 1-pixel border.
const QRect kEnlarged(8, 16, 802, 602);
}  // namespace

TPhoto_BigF::TPhoto_BigF(Form* owner) : Form(owner, "Photo_BigF") {
    setCaption(QStringLiteral("拡大写真　ダブルクリックすると拡大します"));
    setFixedClientSize(960, 720);
    setPosition(Position::ScreenCenter);
    setColor(QColor(170, 211, 249));
    setFontPx(12, true);

    Panel** panelSlots[4] = {&Panel_AA, &Panel_BB, &Panel_CC, &Panel_DD};
    Image** imageSlots[4] = {&Image_AA, &Image_BB, &Image_CC, &Image_DD};
    const char* const names[4] = {"AA", "BB", "CC", "DD"};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new Panel(this, QStringLiteral("Panel_") + names[i], kHome[i].x(), kHome[i].y(),
                                402, 302);
        auto* img = new Image(panel, QStringLiteral("Image_") + names[i], 1, 1, 400, 300);
        img->setProportional(true);
        img->setCenter(true);
        img->setAnchors(akLeft | akTop | akRight | akBottom);   // fills its panel, enlarged too
        *panelSlots[i] = panel;
        *imageSlots[i] = img;
    }

    Button1 = new Button(this, "Button1", QStringLiteral("戻　る"), 836, 16, 105, 33);
    Label3 = new Label(this, "Label3", QStringLiteral("CODENo"), 840, 72);
    Label_Code = new Label(this, "Label_Code", QString(), 852, 96);
    Label_Code->setFontPx(16, true);
    GroupBox1 = new Panel(this, "GroupBox1", 832, 140, 113, 204);
    GroupBox1->setBevelOuter(Panel::Bevel::Lowered);
    Label_Group = new Label(GroupBox1, "Label_Group", QStringLiteral("写真の編集"), 12, 8);
    Button** buttonSlots[4] = {&Btn_No1, &Btn_No2, &Btn_No3, &Btn_No4};
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        auto* b = new Button(GroupBox1, "Btn_No" + n, n, 20, 36 + i * 40, 73, 30);
        b->OnClick = [this, b] { Btn_NoClick(b); };
        *buttonSlots[i] = b;
    }

    Image_AA->OnDblClick = [this] { Image_AADblClick(); };
    Image_BB->OnDblClick = [this] { Image_BBDblClick(); };
    Image_CC->OnDblClick = [this] { Image_CCDblClick(); };
    Image_DD->OnDblClick = [this] { Image_DDDblClick(); };
    Button1->OnClick = [this] { Button1Click(); };
    OnShow = [this] { FormShow(); };
}

void TPhoto_BigF::FormShow() {
    Label_Code->setCaption(controlText(owner(), QStringLiteral("Edit_No")));
    LoadRecordPhotos();
}

void TPhoto_BigF::LoadRecordPhotos() {
    for (Image* img : images()) img->clearPicture();
    try {
        ReadPhotos();
    } catch (...) {
        LeaveEmptyZoom();
        throw;
    }
    LeaveEmptyZoom();
}

void TPhoto_BigF::ReadPhotos() {
    const auto code = wholeNumber(Label_Code->caption());
    if (!code) return;   // the browser shows no record: an empty window
    IBSQL_Photo.close();
    IBSQL_Photo.sqlClear();
    IBSQL_Photo.sqlAdd(" select PHOTO1 , PHOTO2 , PHOTO3 , PHOTO4  from FISH_DATA where CODENO = :parCODE   ");
    IBSQL_Photo.paramByName("parCODE").setInteger(*code);
    IBSQL_Photo.open();
    for (int i = 0; i < 4; ++i) {
        const auto& field = IBSQL_Photo.fieldByName(kColumns[i]);
        // Read for the enlarged size too, so a double click needs no new decode.
        if (!field.isNull())
            images()[i]->setPicture(tolvane::pictures::jpegOnlyRead(field, kEnlarged.size() - QSize(2, 2)));
    }
}

void TPhoto_BigF::Zoom(int i) {
    if (!images()[i]->hasPicture()) return;
    if (panels()[i]->width() == 402) {
        panels()[i]->setBounds(kEnlarged.x(), kEnlarged.y(), kEnlarged.width(), kEnlarged.height());
        for (int j = 0; j < 4; ++j)
            if (j != i) panels()[j]->setVisible(false);
    } else {
        PutHome(i);
    }
}

void TPhoto_BigF::PutHome(int i) {
    panels()[i]->setBounds(kHome[i].x(), kHome[i].y(), 402, 302);
    for (Panel* p : panels()) p->setVisible(true);
}

void TPhoto_BigF::LeaveEmptyZoom() {
    for (int i = 0; i < 4; ++i)
        if (panels()[i]->width() != 402 && !images()[i]->hasPicture()) PutHome(i);
}

void TPhoto_BigF::Image_AADblClick() { Zoom(0); }
void TPhoto_BigF::Image_BBDblClick() { Zoom(1); }
void TPhoto_BigF::Image_CCDblClick() { Zoom(2); }
void TPhoto_BigF::Image_DDDblClick() { Zoom(3); }

void TPhoto_BigF::Btn_NoClick(Button* sender) {
    PhotoNo = sender->caption().toInt();
    openModal(PhotoF, this);
    LoadRecordPhotos();
}
