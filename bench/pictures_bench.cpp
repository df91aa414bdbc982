// JPEG encode and decode through the picture codec beside bare libjpeg calls
// with the same settings, for three picture sizes. Prints milliseconds
// (median of the runs) and the ratio ours / bare; the target is <= 1.10.
//
//   tolvane_bench_pictures [runs]   (default 7)
#include "bare_jpeg.h"
#include "bench_common.h"
#include "imaging/codec.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <jpeglib.h>

using namespace tolvane::pictures;

namespace {

// Bare libjpeg, the same settings: quality 90 baseline tables, baseline
// sequential, RGB in, defaults otherwise.
std::vector<unsigned char> bareEncode(const unsigned char* rgb, int w, int h, int stride)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&c, &buf, &len);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[std::size_t(y)] = const_cast<unsigned char*>(rgb + std::ptrdiff_t(y) * stride);
    while (c.next_scanline < c.image_height)
        jpeg_write_scanlines(&c, rows.data() + c.next_scanline, c.image_height - c.next_scanline);
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<unsigned char> out(buf, buf + len);
    std::free(buf);
    return out;
}

// Bare libjpeg decode: full size, RGB, islow, fancy upsampling, smoothing.
std::vector<unsigned char> bareDecode(const unsigned char* data, unsigned long size)
{
    return benchcommon::bareJpegDecodeTo<std::vector<unsigned char>>(data, size);
}

double millis(const std::function<void()>& f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    struct Size { int w, h; };
    bool allWithin = true;
    std::printf("%-12s %-7s %10s %10s %7s\n", "size", "op", "ours ms", "bare ms", "ratio");
    for (Size s : {Size{640, 480}, Size{1920, 1080}, Size{4000, 3000}}) {
        const QImage img = benchcommon::samplePhoto(s.w, s.h);
        const QByteArray jpeg = encodeJpeg(img);
        const std::vector<unsigned char> bareJpeg =
            bareEncode(img.constBits(), s.w, s.h, int(img.bytesPerLine()));
        if (bareJpeg.size() != std::size_t(jpeg.size()) ||
            std::memcmp(bareJpeg.data(), jpeg.constData(), bareJpeg.size()) != 0) {
            std::printf("settings differ: ours and bare libjpeg wrote different bytes (%zu, %lld)\n", bareJpeg.size(), (long long)jpeg.size());
            return 2;
        }
        std::vector<double> oursEnc, bareEnc, oursDec, bareDec;
        volatile std::size_t sink = 0;
        // warm-up, then interleaved runs so both see the same machine state
        sink = sink + std::size_t(encodeJpeg(img).size()) + decodeJpeg(jpeg).width();
        for (int r = 0; r < runs; ++r) {
            oursEnc.push_back(millis([&] { sink = sink + std::size_t(encodeJpeg(img).size()); }));
            bareEnc.push_back(millis([&] {
                sink = sink + bareEncode(img.constBits(), s.w, s.h, int(img.bytesPerLine())).size();
            }));
            oursDec.push_back(millis([&] { sink = sink + std::size_t(decodeJpeg(jpeg).width()); }));
            bareDec.push_back(millis([&] {
                sink = sink + bareDecode(bareJpeg.data(), bareJpeg.size()).size();
            }));
        }
        const QString label = QString("%1x%2").arg(s.w).arg(s.h);
        for (int op = 0; op < 2; ++op) {
            const double ours = median(op == 0 ? oursEnc : oursDec);
            const double bare = median(op == 0 ? bareEnc : bareDec);
            const double ratio = ours / bare;
            allWithin = allWithin && ratio <= 1.10;
            std::printf("%-12s %-7s %10.2f %10.2f %7.3f\n", qPrintable(label),
                        op == 0 ? "encode" : "decode", ours, bare, ratio);
        }
    }
    std::printf(allWithin ? "all ratios within 1.10\n" : "some ratio above 1.10\n");
    return allWithin ? 0 : 1;
}
