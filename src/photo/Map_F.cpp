#include "photo/Map_F.h"

#include "photo/photo_common.h"

using namespace tolvane::ui;
using namespace tolvane::photo;

TMapF* MapF = nullptr;

TMapF::TMapF(Form* owner) : Form(owner, "MapF") {
    setCaption(QStringLiteral("地図"));
    setMinClientSize(688, 668);
    setClientSize(688, 668);
    setPosition(Position::OwnerCenter);
    setColor(QColor(170, 211, 249));

    Panel1 = new Panel(this, "Panel1", 0, 0, 688, 41);
    Panel1->setAnchors(akLeft | akTop | akRight);
    Label1 = new Label(Panel1, "Label1", QStringLiteral("地図の詳細表示"), 16, 12);
    Label1->setFontPx(16, true);
    Button1 = new Button(Panel1, "Button1", QStringLiteral("戻　る"), 584, 8, 89, 25);
    Button1->setAnchors(akTop | akRight);

    ScrollBox1 = new ScrollBox(this, "ScrollBox1", 8, 49, 672, 611);
    ScrollBox1->setAnchors(akLeft | akTop | akRight | akBottom);
    const QWidget* area = ScrollBox1->client();
    // 640 x 560 in the middle of the box at the smallest size, growing with it.
    Image_MM = new Image(ScrollBox1->client(), "Image_MM", (area->width() - 640) / 2,
                         (area->height() - 560) / 2, 640, 560);
    Image_MM->setProportional(true);
    Image_MM->setCenter(true);
    Image_MM->setAnchors(akLeft | akTop | akRight | akBottom);

    Button1->OnClick = [this] { Button1Click(); };
    Image_MM->OnClick = [this] { Image_MMClick(); };
    ScrollBox1->OnClick = [this] { ScrollBox1Click(); };
    OnShow = [this] { FormShow(); };
}

void TMapF::FormShow() {
    const Form* o = owner();
    const bool memo = o != nullptr && o->name() == QLatin1String("ShowF");
    Image_MM->setPicture(pictureOf(o, memo ? QStringLiteral("Image_M") : QStringLiteral("Image_Map")));
    Button1->setFocus();
}
