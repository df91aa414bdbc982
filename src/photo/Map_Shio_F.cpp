#include "photo/Map_Shio_F.h"

#include "photo/photo_common.h"
#include "pictures/input.h"
#include "pictures/labels.h"
#include "pictures/storage.h"

using namespace tolvane::ui;
using namespace tolvane::photo;
using tolvane::pictures::Picture;

TMap_ShioF* Map_ShioF = nullptr;

namespace {
const QString kMap = QStringLiteral("地　図");
const QString kTide = QStringLiteral("潮　位");
}  // namespace

TMap_ShioF::TMap_ShioF(Form* owner) : Form(owner, "Map_ShioF") {
    setCaption(QStringLiteral("地図・潮位　入力"));
    setMinClientSize(720, 620);
    setClientSize(720, 620);
    setPosition(Position::OwnerCenter);
    setColor(QColor(200, 206, 221));
    setFontPx(16, true);

    Bevel1 = new Bevel(this, "Bevel1", 12, 8, 528, 568);
    Bevel1->setAnchors(akLeft | akTop | akRight | akBottom);
    Image1 = new Image(this, "Image1", 16, 12, 520, 560);
    Image1->setProportional(true);
    Image1->setCenter(true);
    Image1->setAnchors(akLeft | akTop | akRight | akBottom);

    // The column on the right keeps to the right edge.
    const int x = 556;
    auto right = [](Control* c) { c->setAnchors(akTop | akRight); };
    Label_CODE = new Label(this, "Label_CODE", QString(), x, 12);
    Label_X = new Label(this, "Label_X", QString(), x, 40);
    Label_X->setFontColor(QColor(0, 0, 128));
    X_Label3 = new Label(this, "X_Label3", QStringLiteral("の処理"), x + 64, 40);
    Bevel2 = new Bevel(this, "Bevel2", x - 4, 72, 156, 84);
    X_Label9 = new Label(this, "X_Label9", QStringLiteral("基本サイズ"), x + 4, 78);
    X_Label7 = new Label(this, "X_Label7", QStringLiteral("地図"), x + 4, 104);
    X_Label5 = new Label(this, "X_Label5", QStringLiteral("520*560"), x + 56, 104);
    X_Label4 = new Label(this, "X_Label4", QStringLiteral("潮位"), x + 4, 128);
    X_Label8 = new Label(this, "X_Label8", QStringLiteral("500*500"), x + 56, 128);
    X_Label6 = new Label(this, "X_Label6", QStringLiteral("変更する場合は"), x, 176);
    X_Label1 = new Label(this, "X_Label1", QStringLiteral("クリップボードから"), x, 200);
    X_Label2 = new Label(this, "X_Label2", QStringLiteral("画像を入力します"), x, 224);
    Btn_In = new Button(this, "Btn_In", QStringLiteral("入  力"), x, 256, 148, 33);
    Label_JorB = new Label(this, "Label_JorB", QString(), x, 300);
    Label_XY = new Label(this, "Label_XY", QString(), x, 324);
    Btn_Clear = new Button(this, "Btn_Clear", QStringLiteral("消  去"), x, 372, 148, 33);
    Btn_Ok = new Button(this, "Btn_Ok", QStringLiteral("確  定"), x, 480, 148, 33);
    Btn_No = new Button(this, "Btn_No", QStringLiteral("キャンセル"), x, 532, 148, 33);
    for (Control* c : std::initializer_list<Control*>{
             Label_CODE, Label_X, X_Label3, Bevel2, X_Label9, X_Label7, X_Label5, X_Label4,
             X_Label8, X_Label6, X_Label1, X_Label2, Btn_In, Label_JorB, Label_XY, Btn_Clear,
             Btn_Ok, Btn_No})
        right(c);

    Btn_In->OnClick = [this] { Btn_InClick(); };
    Btn_Clear->OnClick = [this] { Btn_ClearClick(); };
    Btn_Ok->OnClick = [this] { Btn_OkClick(); };
    Btn_No->OnClick = [this] { Btn_NoClick(); };
    OnShow = [this] { FormShow(); };
}

void TMap_ShioF::FormShow() {
    const Form* o = owner();
    Label_CODE->setCaption(controlText(o, QStringLiteral("Label_CODE")));
    // The viewer's map button keeps the focus while this window is open
    // when it was the one pressed.
    const auto* mapButton = controlOf<Control>(o, QStringLiteral("Btn_Chizu"));
    const bool map = mapButton != nullptr && mapButton->focused();
    Label_X->setCaption(map ? kMap : kTide);
    Picture p = pictureOf(o, map ? QStringLiteral("Image_M") : QStringLiteral("Image_S"));
    if (p.isNone()) p = Picture::fromBitmap(QImage());   // shown as an empty bitmap
    Image1->setPicture(p);
    const auto [kind, size] = tolvane::pictures::memoPictureLabels(p);
    Label_JorB->setCaption(kind);
    Label_XY->setCaption(size);
}

void TMap_ShioF::Btn_InClick() {
    Picture p = Image1->picture();
    if (!tolvane::pictures::bitmapPaste(this, p, tolvane::pictures::Notice::Silent)) return;
    Image1->setPicture(p);
    Label_XY->setCaption(tolvane::pictures::pasteSizeLabel(p));
}

void TMap_ShioF::Btn_ClearClick() { Image1->clearPicture(); }

void TMap_ShioF::Btn_OkClick() {
    const QString column = Label_X->caption() == kMap ? QStringLiteral("F_MAP")
                                                      : QStringLiteral("F_SHIO");
    // Every failure here is silent: the memo keeps its old picture.
    try {
        const auto code = wholeNumber(Label_CODE->caption());
        if (!code) throw std::runtime_error("no memo number");
        const Picture picture = Image1->picture();
        tolvane::pictures::checkStorable(picture);
        IBSQL.close();
        IBSQL.sqlClear();
        IBSQL.sqlAdd((" update FISH_MEMO set " + column + " = :parM_or_S where CODE = :parCODE")
                         .toStdString());
        tolvane::pictures::reencodingJpegWrite(IBSQL.paramByName("parM_or_S"), picture);
        IBSQL.paramByName("parCODE").setInteger(*code);
        IBSQL.execQuery();
        if (IBSQL.rowsAffected() == 0) throw std::runtime_error("no such memo");
        DM1->IBTr1.commitRetaining();
    } catch (const std::exception&) {
        DM1->IBTr1.rollbackRetaining();
    }
    close();
}
