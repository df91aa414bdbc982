// The map and photo windows with sample pictures, for scripts/screenshots.sh.
#include "core/DM_1.h"
#include "core/handover.h"
#include "photo/Fish_Chizu_In_F.h"
#include "photo/Map_F.h"
#include "photo/Map_Shio_F.h"
#include "photo/Photo_9_F.h"
#include "photo/Photo_Big_F.h"
#include "photo/Photo_F.h"
#include "pictures/labels.h"
#include "imaging/picture.h"
#include "ui/testing/screenshots.h"

using tolvane::pictures::Picture;
using tolvane::ui::Form;
using tolvane::ui::screenshots::Context;

namespace {

void ensureDataModule() {
    if (DM1 == nullptr) createDataModule();
}

// A sea chart of sorts: water, a shore and a grid.
Picture sample(int w, int h, int hue) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool land = y > h * 2 / 3 - (x * h / 5) / w;
            const bool grid = x % 40 == 0 || y % 40 == 0;
            QColor c = land ? QColor::fromHsv(hue, 90, 200 - y * 40 / h)
                            : QColor::fromHsv(205, 120 + x * 80 / w, 230);
            if (grid) c = c.darker(120);
            img.setPixel(x, y, c.rgb());
        }
    return Picture::fromBitmap(img);
}

// Runs `fill` instead of the window's own show handler (no database rows,
// no opener to read from).
template <class T, class F>
std::unique_ptr<Form> shown(const Context& ctx, F fill) {
    ensureDataModule();
    auto f = std::make_unique<T>(ctx.owner);
    T* w = f.get();
    w->OnShow = [w, fill] { fill(*w); };
    return f;
}

TOLVANE_SCREENSHOT("Fish_Chizu_InF", [](const Context& ctx) {
    return shown<TFish_Chizu_InF>(ctx, [](TFish_Chizu_InF& w) {
        w.Edit_CODE->setText("128");
        w.Image_M->setPicture(sample(640, 480, 90));
        w.Label_XY->setCaption(tolvane::pictures::fileLoadSizeLabel(w.Image_M->picture()));
    });
});

TOLVANE_SCREENSHOT("MapF", [](const Context& ctx) {
    return shown<TMapF>(ctx, [](TMapF& w) {
        w.Image_MM->setPicture(sample(800, 600, 90));
        w.Button1->setFocus();
    });
});

TOLVANE_SCREENSHOT("Map_ShioF", [](const Context& ctx) {
    return shown<TMap_ShioF>(ctx, [](TMap_ShioF& w) {
        w.Label_CODE->setCaption("42");
        w.Label_X->setCaption("地　図");
        w.Image1->setPicture(sample(520, 560, 60));
        const auto [kind, size] = tolvane::pictures::memoPictureLabels(w.Image1->picture());
        w.Label_JorB->setCaption(kind);
        w.Label_XY->setCaption(size);
    });
});

TOLVANE_SCREENSHOT("Photo_9F", [](const Context& ctx) {
    return shown<TPhoto_9F>(ctx, [](TPhoto_9F& w) {
        w.Label_No->setCaption("42");
        const auto photos = w.photos();
        for (int i : {0, 1, 3, 4, 6}) photos[i]->setPicture(sample(400, 300, 30 * i));
    });
});

TOLVANE_SCREENSHOT("Photo_BigF", [](const Context& ctx) {
    return shown<TPhoto_BigF>(ctx, [](TPhoto_BigF& w) {
        w.Label_Code->setCaption("128");
        w.Image_AA->setPicture(sample(640, 480, 40));
        w.Image_BB->setPicture(sample(480, 640, 100));
        w.Image_CC->setPicture(sample(640, 480, 160));
    });
});

TOLVANE_SCREENSHOT("PhotoF", [](const Context& ctx) {
    return shown<TPhotoF>(ctx, [](TPhotoF& w) {
        w.Label_CODE->setCaption("42");
        w.Label_Photo->setCaption("F_PHOTO5");
        w.Image1->setPicture(sample(640, 480, 120));
    });
});

}  // namespace
