// The picture type and the JPEG and BMP codecs.
#include "pictures/codec.h"
#include "pictures/picture.h"

#include <gtest/gtest.h>

using namespace tolvane::pictures;

namespace {

QImage gradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, QColor((x * 255) / std::max(1, w - 1),
                                           (y * 255) / std::max(1, h - 1), 128));
    return img;
}

}  // namespace

TEST(JpegCodec, RoundTripKeepsSizeAndColours)
{
    const QImage src = gradient(64, 48);
    const QByteArray bytes = encodeJpeg(src);
    ASSERT_GT(bytes.size(), 2);
    EXPECT_EQ(uchar(bytes[0]), 0xFF);
    EXPECT_EQ(uchar(bytes[1]), 0xD8);
    const QImage back = decodeJpeg(bytes);
    EXPECT_EQ(back.format(), QImage::Format_RGB888);
    ASSERT_EQ(back.size(), src.size());
    const QColor a = src.pixelColor(10, 10), b = back.pixelColor(10, 10);
    EXPECT_NEAR(a.red(), b.red(), 6);
    EXPECT_NEAR(a.green(), b.green(), 6);
    EXPECT_NEAR(a.blue(), b.blue(), 6);
}

TEST(Picture, JpegDecodedOnFirstNeedAndSharedByCopies)
{
    const QByteArray bytes = encodeJpeg(gradient(30, 20));
    const Picture p = Picture::fromJpeg(bytes);
    EXPECT_TRUE(p.isJpeg());
    EXPECT_FALSE(p.isDecoded());
    EXPECT_EQ(p.width(), 30);
    EXPECT_EQ(p.height(), 20);
    const Picture copy = p;
    EXPECT_EQ(copy.pixels().size(), QSize(30, 20));
    EXPECT_TRUE(p.isDecoded());
    EXPECT_EQ(copy.jpegBytes(), bytes);
    EXPECT_TRUE(copy.isJpeg());
}
