#include "photo/Photo_9_F.h"

#include "photo/Photo_F.h"
#include "photo/photo_common.h"
#include "pictures/storage.h"

using namespace tolvane::ui;
using namespace tolvane::photo;

TPhoto_9F* Photo_9F = nullptr;

TPhoto_9F::TPhoto_9F(Form* owner) : Form(owner, "Photo_9F") {
    setCaption(QStringLiteral("写真入力"));
    setFixedClientSize(907, 736);
    setPosition(Position::OwnerCenter);
    setColor(QColor(170, 211, 249));
    setFontPx(12, true);

    Panel1 = new Panel(this, "Panel1", 0, 0, 907, 49);
    Label1 = new Label(Panel1, "Label1", QStringLiteral("写真の詳細"), 16, 16);
    Label1->setFontPx(16, true);
    Label_Photo = new Label(Panel1, "Label_Photo", QString(), 160, 18);
    Label_Photo2 = new Label(Panel1, "Label_Photo2", QString(), 248, 18);
    Label_No = new Label(Panel1, "Label_No", QString(), 400, 18);
    Button1 = new Button(Panel1, "Button1", QStringLiteral("戻　る"), 800, 10, 89, 29);

    Image** places[9] = {&F_PHOTO1, &F_PHOTO2, &F_PHOTO3, &F_PHOTO4, &F_PHOTO5,
                        &F_PHOTO6, &F_PHOTO7, &F_PHOTO8, &F_PHOTO9};
    const int lefts[3] = {8, 304, 600};
    const int tops[3] = {54, 270, 486};
    for (int i = 0; i < 9; ++i) {
        const int l = lefts[i % 3], t = tops[i / 3];
        const QString n = QString::number(i + 1);
        PhotoLabels[i] = new Label(this, "Label_PHOTO" + n, "PHOTO" + n, l + 4, t + 4);
        Image* img = new Image(this, "F_PHOTO" + n, l, t, 289, 212);
        img->setProportional(true);   // at the top left corner
        img->OnDblClick = [this, img] { F_PHOTO1DblClick(img); };
        *places[i] = img;
    }

    Button1->OnClick = [this] { Button1Click(); };
    OnShow = [this] { FormShow(); };
}

std::array<Image*, 9> TPhoto_9F::photos() const {
    return {F_PHOTO1, F_PHOTO2, F_PHOTO3, F_PHOTO4, F_PHOTO5, F_PHOTO6, F_PHOTO7, F_PHOTO8, F_PHOTO9};
}

void TPhoto_9F::FormShow() {
    LoadMemoPhotos();
    Label_Photo->setCaption(QString());
    Label_Photo2->setCaption(QString());
}

void TPhoto_9F::LoadMemoPhotos() {
    Label_No->setCaption(controlText(owner(), QStringLiteral("Label_CODE")));
    // Emptied first, so a photo that fails to read leaves no stale picture.
    for (Image* img : photos()) img->clearPicture();
    const auto code = wholeNumber(Label_No->caption());
    if (!code) return;   // the viewer shows no memo: an empty window
    IBSQL_out.close();
    IBSQL_out.sqlClear();
    IBSQL_out.sqlAdd(" select * from FISH_MEMO  where CODE = :parCODE   ");
    IBSQL_out.paramByName("parCODE").setInteger(*code);
    IBSQL_out.open();
    for (Image* img : photos()) {
        const auto& field = IBSQL_out.fieldByName(img->name().toStdString());
        if (field.isNull()) continue;
        img->setPicture(tolvane::pictures::bitmapFirstRead(field, tolvane::pictures::NullTest::With));
    }
}

void TPhoto_9F::F_PHOTO1DblClick(Image* sender) {
    Label_Photo->setCaption(sender->name());
    Label_Photo2->setCaption(QStringLiteral("の処理中"));
    openModal(PhotoF, this);
    LoadMemoPhotos();
}
