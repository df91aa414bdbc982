// libFuzzer target for the two picture decoders and the EXIF orientation
// reader; built and run by scripts/fuzz-pictures.sh, one binary per target
// (FUZZ_JPEG, FUZZ_BMP or FUZZ_EXIF).
// Any input must end in a picture or a CodecError: a crash, a sanitizer
// report, a leak or another exception is a finding. So is, for a JPEG file
// that decodes, a cut of it with an end marker after it that decodes to
// other pixels: cut after each scan but the last, or in the middle of the
// last scan's data (of an arithmetic-coded file only when that loses 1 KB or
// more, and its last scan is no DC refinement: a cut that loses a few bytes
// of a scan, or the last bit of DC values, cannot be told from a whole file).
#include "imaging/codec.h"
#include "imaging/exif.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tolvane::pictures;

namespace {
// Decoding pictures near the 100-megapixel limit is correct but slow under
// the sanitizers; the header checks still run for those.
constexpr std::int64_t kFuzzPixels = 1'000'000;

// Where a JPEG file can be cut: after each scan's coded data but the last
// scan's, and in the middle of the last scan's data.
std::vector<qsizetype> cutPoints(const QByteArray& b)
{
    const auto at = [&](qsizetype i) { return uchar(b[i]); };
    const auto isMarker = [&](qsizetype i) {
        return at(i) == 0xFF && at(i + 1) != 0 && at(i + 1) != 0xFF && (at(i + 1) & 0xF8) != 0xD0;
    };
    bool arithmetic = false;
    bool refinesDc = false;   // the last scan read is a DC refinement
    std::vector<std::pair<qsizetype, qsizetype>> scans;   // coded data: start, end
    for (qsizetype i = 2; i + 3 < b.size();) {
        if (!isMarker(i)) {
            ++i;
            continue;
        }
        const uchar m = at(i + 1);
        if (m == 0xD9)
            break;
        if (m == 0x01 || m == 0xD8) {   // markers without a segment
            i += 2;
            continue;
        }
        arithmetic = arithmetic || (m >= 0xC9 && m <= 0xCF && m != 0xCC);
        const qsizetype segment = i;
        i += 2 + ((at(i + 2) << 8) | at(i + 3));
        if (m != 0xDA)
            continue;
        const qsizetype params = segment + 5 + 2 * at(segment + 4);   // Ss, Se, Ah and Al
        refinesDc = params + 2 < b.size() && at(params) == 0 && (at(params + 2) >> 4) != 0;
        const qsizetype start = i;
        while (i + 1 < b.size() && !isMarker(i))
            ++i;
        if (i + 1 >= b.size())
            break;
        scans.emplace_back(start, i);
    }
    std::vector<qsizetype> points;
    for (std::size_t k = 0; k + 1 < scans.size(); ++k)
        points.push_back(scans[k].second);
    if (!scans.empty()) {
        const auto [start, end] = scans.back();
        if (end - start >= (arithmetic ? 2048 : 2) && !(arithmetic && refinesDc))
            points.push_back((start + end) / 2);
    }
    return points;
}
}  // namespace

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
        // A cut of it must not pass for a whole picture.
        for (const qsizetype point : cutPoints(bytes)) {
            const QByteArray cut = bytes.left(point) + QByteArray("\xFF\xD9", 2);
            QImage fromCut;
            try {
                fromCut = decodeJpeg(cut);
            } catch (const CodecError&) {
                continue;
            }
            if (fromCut != img) {
                std::fprintf(stderr, "a cut at byte %lld of %lld decodes to other pixels\n",
                             static_cast<long long>(point), static_cast<long long>(bytes.size()));
                std::abort();
            }
        }
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
