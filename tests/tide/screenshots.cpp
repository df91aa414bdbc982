// The four tide windows with a sample chart and markers, for
// scripts/screenshots.sh.
#include <cmath>

#include "core/DM_1.h"
#include "core/handover.h"
#include "pictures/labels.h"
#include "imaging/picture.h"
#include "tide/Fish_Shio_In_F.h"
#include "tide/New_Shio_In_F.h"
#include "tide/ShiOnly_F.h"
#include "tide/Shio_New_F.h"
#include "ui/testing/screenshots.h"

namespace {

using tolvane::pictures::Picture;

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

// A tide curve over a light grid, as a chart from a tide table looks.
QImage sampleChart(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(250, 250, 245));
    for (int x = 0; x < w; ++x) {
        if (x % 40 == 0)
            for (int y = 0; y < h; ++y) img.setPixel(x, y, qRgb(210, 210, 210));
        const double t = double(x) / w * 6.2832 * 1.6;
        const int y = int(h / 2 - std::sin(t) * h / 3);
        for (int d = -1; d <= 1; ++d)
            if (y + d >= 0 && y + d < h) img.setPixel(x, y + d, qRgb(20, 60, 160));
    }
    return img;
}

TOLVANE_SCREENSHOT("New_Shio_InF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    DataMode = NEW_Flg;
    auto f = std::make_unique<TNew_Shio_InF>(ctx.owner);
    TNew_Shio_InF* w = f.get();
    auto show = w->OnShow;
    w->OnShow = [w, show] {
        show();
        w->Image_S->setPicture(Picture::fromBitmap(sampleChart(480, 360)));
        w->Label_XY->setCaption("480 * 360");
        w->Btn_TimeClick();
        w->Shape_1->setBounds(96, 16, 220, 360);
        w->Shape_2->setBounds(150, 16, 40, 360);
        w->Shape_3->setBounds(250, 16, 36, 360);
        w->Shape_4->setPos(170, 150);
        w->Shape_5->setPos(262, 200);
        for (auto* s : {w->Shape_1, w->Shape_2, w->Shape_3, w->Shape_4, w->Shape_5}) s->setVisible(true);
        w->S_Btn_XX_Click(w->S_Btn_1);
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("Fish_Shio_InF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    DataMode = NEW_Flg;
    auto f = std::make_unique<TFish_Shio_InF>(ctx.owner);
    TFish_Shio_InF* w = f.get();
    auto show = w->OnShow;
    w->OnShow = [w, show] {
        show();
        w->Image_S->setPicture(Picture::fromBitmap(sampleChart(500, 500)));
        // as after loading the chart from a file
        w->Label_XY->setCaption(tolvane::pictures::fileLoadSizeLabel(w->Image_S->picture()));
        w->Btn_TimeClick();
        w->S_Btn_1->setDown(true);
        w->S_Btn_XX_Click(w->S_Btn_1);
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("Shio_NewF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    auto f = std::make_unique<TShio_NewF>(ctx.owner);
    TShio_NewF* w = f.get();
    w->OnShow = [w] {
        w->Image_SS->setPicture(Picture::fromBitmap(sampleChart(480, 360)));
        w->Shape1->setBounds(96, 52, 230, 375);
        w->Shape2->setBounds(150, 52, 42, 375);
        w->Shape4->setPos(180, 200);
        for (auto* s : {w->Shape1, w->Shape2, w->Shape4}) s->setVisible(true);
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

TOLVANE_SCREENSHOT("ShioOnlyF", [](const tolvane::ui::screenshots::Context& ctx) {
    ensureDataModule();
    auto f = std::make_unique<TShioOnlyF>(ctx.owner);
    TShioOnlyF* w = f.get();
    w->OnShow = [w] {
        w->Image_SS->setPicture(Picture::fromBitmap(sampleChart(500, 500)));
        w->Shape1->setBounds(159, 65, 113, 445);
        w->Shape1->setPen(QColor(0, 0, 255), 2);
        w->Shape1->setFill(tolvane::ui::Shape::Fill::Clear);
        w->Shape2->setBounds(208, 65, 33, 445);
        w->Shape2->setPen(QColor(255, 0, 0), 1);
        w->Shape2->setFill(tolvane::ui::Shape::Fill::BDiagonal, QColor(255, 0, 0));
        w->Shape1->setVisible(true);
        w->Shape2->setVisible(true);
    };
    return std::unique_ptr<tolvane::ui::Form>(std::move(f));
});

}  // namespace
