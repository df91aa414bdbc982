// Pictures on a screen scaled by two (this binary runs with QT_SCALE_FACTOR=2):
// drawn from the picture at the screen's device pixels, not drawn at the
// window's pixels and then enlarged.
#include <gtest/gtest.h>

#include <QPainter>

#include "imaging/codec.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/testing/driver.h"

using namespace tolvane::ui;
using tolvane::pictures::Picture;
using tolvane::ui::testing::Driver;

namespace {

// Vertical stripes two pixels wide, black and white: at half size on a screen
// scaled by two they are one device pixel wide; at the window's own pixels
// they blur into grey.
QImage stripes(QSize size) {
    QImage img(size, QImage::Format_RGB888);
    QPainter p(&img);
    for (int x = 0; x < size.width(); x += 2)
        p.fillRect(x, 0, 2, size.height(), (x / 2) % 2 ? Qt::white : Qt::black);
    return img;
}

// The mean difference per channel of two equally large pictures.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

}  // namespace

TEST(HighDpi, PicturesAreDrawnAtTheScreensDevicePixels) {
    Driver drv;
    Form f(nullptr, QStringLiteral("PictureF"));
    f.setFixedClientSize(700, 300);
    auto* bitmap = new Image(&f, QStringLiteral("Image_Map"), 0, 0, 334, 250);
    auto* jpeg = new Image(&f, QStringLiteral("Image_Shio"), 350, 0, 334, 250);
    for (Image* i : {bitmap, jpeg}) {
        i->setStretch(true);
        i->setProportional(true);
    }
    const QImage source = stripes(QSize(1336, 1000));
    bitmap->setPicture(Picture::fromBitmap(source));
    const QByteArray bytes = tolvane::pictures::encodeJpeg(source);
    jpeg->setPicture(Picture::fromJpeg(bytes));
    drv.show(f);
    ASSERT_EQ(f.devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";

    // What the picture looks like drawn at the device pixels of the place it is shown.
    const QImage reference = source.scaled(QSize(668, 500), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage jpegReference = tolvane::pictures::decodeJpeg(bytes).scaled(
        QSize(668, 500), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage blurred = reference.scaled(QSize(334, 250), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .scaled(QSize(668, 500));
    for (auto [image, expected] : {std::pair{bitmap, reference}, std::pair{jpeg, jpegReference}}) {
        SCOPED_TRACE(image->name().toStdString());
        EXPECT_EQ(image->displayPixels().size(), QSize(668, 500));
        EXPECT_EQ(image->displayPixels().devicePixelRatio(), 2.0);
        // As the screen shows it: the window's picture at device pixels.
        const QImage shown = image->grab().toImage();
        ASSERT_EQ(shown.size(), QSize(668, 500));
        EXPECT_LT(meanDifference(shown, expected), 8.0);
        EXPECT_GT(meanDifference(shown, blurred), 40.0);
    }
    // The picture itself is untouched.
    EXPECT_EQ(bitmap->picture().pixels(), source);
    EXPECT_EQ(jpeg->picture().jpegBytes(), bytes);
    f.close();
}

TEST(HighDpi, ACopyMadeBesideTheDecodeIsDrawnAsItIsAndMadeAgainForAnotherRatioOrSize) {
    Driver drv;
    Form f(nullptr, QStringLiteral("PictureF"));
    f.setFixedClientSize(400, 300);
    auto* image = new Image(&f, QStringLiteral("Image_Map"), 0, 0, 334, 250);
    image->setStretch(true);
    image->setProportional(true);
    drv.show(f);
    const Picture jpeg = Picture::fromJpeg(tolvane::pictures::encodeJpeg(stripes(QSize(1336, 1000))));

    // Made for the control as it is: the paint draws that very copy.
    Shown shown = prepareToShow(jpeg, image->view());
    ASSERT_EQ(shown.copy.pixels.size(), QSize(668, 500));
    const uchar* made = shown.copy.pixels.constBits();
    image->setPicture(std::move(shown));
    image->grab();
    EXPECT_EQ(image->displayPixels().constBits(), made);

    // Made for a screen of ratio 1, or for a control since resized: made again.
    ImageView single = image->view();
    single.ratio = 1;
    image->setPicture(prepareToShow(jpeg, single));
    image->grab();
    EXPECT_EQ(image->displayPixels().size(), QSize(668, 500));
    EXPECT_EQ(image->displayPixels().devicePixelRatio(), 2.0);
    image->setPicture(prepareToShow(jpeg, image->view()));
    image->setGeometry(0, 0, 167, 125);
    image->grab();
    EXPECT_EQ(image->displayPixels().size(), QSize(334, 250));
    f.close();
}
