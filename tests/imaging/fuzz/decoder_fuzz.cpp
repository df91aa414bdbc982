// libFuzzer target for the two picture decoders and the EXIF orientation
// reader; built and run by scripts/fuzz-pictures.sh, one binary per target
// (FUZZ_JPEG, FUZZ_BMP or FUZZ_EXIF).
// Any input must end in a picture or a CodecError: a crash, a sanitizer
// report, a leak or another exception is a finding.
#include "imaging/codec.h"
#include "imaging/exif.h"

#include <cstdint>
#include <cstdlib>

using namespace tolvane::pictures;

namespace {
// Decoding pictures near the 100-megapixel limit is correct but slow under
// the sanitizers; the header checks still run for those.
constexpr std::int64_t kFuzzPixels = 1'000'000;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    allowPicturesUpToMaxPixels();   // as the program does at start
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     qsizetype(size));
    try {
#if defined(FUZZ_JPEG)
        const QSize s = jpegSize(bytes);
        if (std::int64_t(s.width()) * s.height() > kFuzzPixels)
            return 0;
        const QImage img = decodeJpeg(bytes);
        if (img.size() != s || img.format() != QImage::Format_RGB888)
            std::abort();
        // What was decoded must encode again.
        if (encodeJpeg(img).isEmpty())
            std::abort();
#elif defined(FUZZ_BMP)
        if (size >= 26) {
            const auto w = std::int64_t(std::int32_t(data[18] | data[19] << 8 | data[20] << 16 |
                                                     std::uint32_t(data[21]) << 24));
            const auto h = std::int64_t(std::int32_t(data[22] | data[23] << 8 | data[24] << 16 |
                                                     std::uint32_t(data[25]) << 24));
            if (std::abs(w) * std::abs(h) > kFuzzPixels) {
                try {
                    readBmp(bytes.left(64));   // the header checks only
                } catch (const CodecError&) {
                }
                return 0;
            }
        }
        const QImage img = readBmp(bytes);
        if (img.isNull() != bytes.isEmpty())
            std::abort();
        writeBmp(img);
#elif defined(FUZZ_EXIF)
        // The contents of one APP1 segment, as libjpeg hands them over.
        const int orientation = exifOrientation(data, size);
        if (orientation < 1 || orientation > 8)
            std::abort();
#else
#error "define FUZZ_JPEG, FUZZ_BMP or FUZZ_EXIF"
#endif
    } catch (const CodecError&) {
    }
    return 0;
}
