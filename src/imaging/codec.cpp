#include "imaging/codec.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace tolvane::pictures {
namespace {

// libjpeg reports errors through error_exit, which by default prints and
// calls exit(). Ours formats the message and jumps back to the setjmp of the
// function that started the work; that function and everything between it
// and libjpeg hold only plain C data, so no destructor is skipped.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are data libjpeg could step over. Running out of data is not one
// we accept: libjpeg would fill the rest of the picture with grey and a
// truncated file would be shown and stored as if it were whole.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0) {
        if (cinfo->err->msg_code == JWRN_JPEG_EOF)
            onError(cinfo);
        cinfo->err->num_warnings++;
    }
}

void silent(j_common_ptr) {}

void installErrorManager(ErrorManager& err, j_common_ptr cinfo)
{
    cinfo->err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.pub.output_message = silent;
    err.message[0] = '\0';
}

bool tooLarge(std::int64_t width, std::int64_t height)
{
    return width * height > kMaxPixels;
}

void setTooLarge(char* message, std::int64_t width, std::int64_t height)
{
    std::snprintf(message, JMSG_LENGTH_MAX,
                  "Picture of %lld x %lld pixels exceeds the limit of %lld pixels",
                  static_cast<long long>(width), static_cast<long long>(height),
                  static_cast<long long>(kMaxPixels));
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
};

// The smallest DCT scale M/8 (M = 1 ... 8) whose output covers `atLeast`;
// full size when none smaller does or when `atLeast` is not a size.
void chooseScale(jpeg_decompress_struct& cinfo, QSize atLeast)
{
    cinfo.scale_denom = 8;
    cinfo.scale_num = 8;
    if (!atLeast.isValid())
        return;
    for (unsigned m = 1; m < 8; ++m) {
        cinfo.scale_num = m;
        jpeg_calc_output_dimensions(&cinfo);
        if (cinfo.output_width >= JDIMENSION(atLeast.width()) &&
            cinfo.output_height >= JDIMENSION(atLeast.height()))
            return;
    }
    cinfo.scale_num = 8;
}

// Decodes into *out (or only reads the header into *size when out is null)
// at the scale that covers `atLeast` (full size for an invalid size); *size,
// when given, gets the picture's own size.
// Returns false with d.err.message set when libjpeg fails.
bool decodeCore(Decoder& d, const unsigned char* data, unsigned long length,
                QImage* out, QSize* size, QSize atLeast = QSize())
{
    installErrorManager(d.err, reinterpret_cast<j_common_ptr>(&d.cinfo));
    if (setjmp(d.err.jump)) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, data, length);
    jpeg_read_header(&d.cinfo, TRUE);

    const std::int64_t width = d.cinfo.image_width;
    const std::int64_t height = d.cinfo.image_height;
    if (tooLarge(width, height)) {
        setTooLarge(d.err.message, width, height);
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    if (size)
        *size = QSize(int(width), int(height));
    if (!out) {
        jpeg_destroy_decompress(&d.cinfo);
        return true;
    }

    d.cinfo.out_color_space = JCS_RGB;
    d.cinfo.dct_method = JDCT_ISLOW;
    d.cinfo.do_fancy_upsampling = TRUE;
    d.cinfo.do_block_smoothing = TRUE;
    d.cinfo.quantize_colors = FALSE;
    chooseScale(d.cinfo, atLeast);
    jpeg_start_decompress(&d.cinfo);

    const JDIMENSION w = d.cinfo.output_width;
    const JDIMENSION h = d.cinfo.output_height;
    if (d.cinfo.output_components != 3) {
        std::snprintf(d.err.message, JMSG_LENGTH_MAX, "Unsupported JPEG colour output");
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    *out = QImage(int(w), int(h), QImage::Format_RGB888);
    if (out->isNull()) {
        std::snprintf(d.err.message, JMSG_LENGTH_MAX, "Out of memory for a %u x %u picture", w, h);
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    auto rows = static_cast<JSAMPARRAY>((*d.cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE, h * sizeof(JSAMPROW)));
    unsigned char* bits = out->bits();
    const qsizetype stride = out->bytesPerLine();
    for (JDIMENSION y = 0; y < h; ++y)
        rows[y] = bits + y * stride;
    while (d.cinfo.output_scanline < h) {
        const JDIMENSION at = d.cinfo.output_scanline;
        if (jpeg_read_scanlines(&d.cinfo, rows + at, h - at) == 0)
            break;   // cannot happen with an in-memory source; be safe anyway
    }
    const bool complete = d.cinfo.output_scanline == h;
    // Every pixel is out; what follows the last scan is not looked at.
    jpeg_destroy_decompress(&d.cinfo);
    if (!complete)
        std::snprintf(d.err.message, JMSG_LENGTH_MAX, "Premature end of JPEG file");
    return complete;
}

// Where the encoder writes: one malloc'd buffer, doubled with realloc when
// full. libjpeg's own memory destination frees the caller's first buffer when
// it grows, so after an error the pointer it handed out may already be freed;
// here `buffer` always holds the one live block, and the caller frees it.
struct Destination {
    jpeg_destination_mgr pub;
    unsigned char* buffer;
    std::size_t capacity;
    std::size_t length;
};

void initDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->capacity = 65536;
    d->buffer = static_cast<unsigned char*>(std::malloc(d->capacity));
    if (!d->buffer)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = d->capacity;
}

boolean growDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    const std::size_t used = d->capacity;
    auto* grown = static_cast<unsigned char*>(std::realloc(d->buffer, used * 2));
    if (!grown)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);   // d->buffer is still the live block
    d->buffer = grown;
    d->capacity = used * 2;
    d->pub.next_output_byte = grown + used;
    d->pub.free_in_buffer = d->capacity - used;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->length = d->capacity - d->pub.free_in_buffer;
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    Destination dest;
};

bool encodeCore(Encoder& e, const QImage& rgb)
{
    installErrorManager(e.err, reinterpret_cast<j_common_ptr>(&e.cinfo));
    if (setjmp(e.err.jump)) {
        jpeg_destroy_compress(&e.cinfo);
        return false;
    }
    jpeg_create_compress(&e.cinfo);
    e.dest.pub.init_destination = initDestination;
    e.dest.pub.empty_output_buffer = growDestination;
    e.dest.pub.term_destination = termDestination;
    e.cinfo.dest = &e.dest.pub;
    e.cinfo.image_width = JDIMENSION(rgb.width());
    e.cinfo.image_height = JDIMENSION(rgb.height());
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, 90, TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);

    const JDIMENSION h = e.cinfo.image_height;
    auto rows = static_cast<JSAMPARRAY>((*e.cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&e.cinfo), JPOOL_IMAGE, h * sizeof(JSAMPROW)));
    for (JDIMENSION y = 0; y < h; ++y)
        rows[y] = const_cast<unsigned char*>(rgb.constScanLine(int(y)));
    while (e.cinfo.next_scanline < h) {
        const JDIMENSION at = e.cinfo.next_scanline;
        jpeg_write_scanlines(&e.cinfo, rows + at, h - at);
    }
    jpeg_finish_compress(&e.cinfo);
    jpeg_destroy_compress(&e.cinfo);
    return true;
}

std::uint32_t le32(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t le16(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return std::uint16_t(p[0] | p[1] << 8);
}

// The size a BMP header claims, checked before Qt allocates for it.
void checkBmpHeader(const QByteArray& bytes)
{
    constexpr int fileHeader = 14;
    if (bytes.size() < fileHeader + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        throw CodecError("Not a Windows bitmap file");
    const std::uint32_t infoSize = le32(bytes, fileHeader);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t bitCount = 0;
    std::uint32_t compression = 0;
    std::int64_t imageSize = 0;
    if (infoSize == 12) {   // OS/2 core header: 16-bit sizes
        if (bytes.size() < fileHeader + 12)
            throw CodecError("Truncated bitmap header");
        width = le16(bytes, fileHeader + 4);
        height = le16(bytes, fileHeader + 6);
        bitCount = le16(bytes, fileHeader + 10);
    } else {
        if (infoSize < 16 || bytes.size() < fileHeader + 16)
            throw CodecError("Invalid bitmap header");
        width = std::int32_t(le32(bytes, fileHeader + 4));
        height = std::int32_t(le32(bytes, fileHeader + 8));
        bitCount = le16(bytes, fileHeader + 14);
        if (infoSize >= 24 && bytes.size() >= fileHeader + 24) {
            compression = le32(bytes, fileHeader + 16);
            imageSize = le32(bytes, fileHeader + 20);
        }
    }
    if (width <= 0 || height == 0 || height == INT32_MIN)
        throw CodecError("Invalid bitmap dimensions");
    if (height < 0)
        height = -height;   // top-down rows
    if (tooLarge(width, height)) {
        char message[JMSG_LENGTH_MAX];
        setTooLarge(message, width, height);
        throw CodecError(message);
    }

    // Qt's reader fills whatever a short file lacks with black and calls it
    // a success; a truncated file must not pass for a whole picture.
    const std::int64_t dataStart =
        std::max<std::int64_t>(le32(bytes, 10), fileHeader + std::int64_t(infoSize));
    std::int64_t needed = 0;
    if (compression == 0 || compression == 3 || compression == 6) {   // plain rows, bit fields
        if (bitCount < 1 || bitCount > 32)
            throw CodecError("Invalid bitmap colour depth");
        const std::int64_t stride = (width * bitCount + 31) / 32 * 4;
        needed = dataStart + stride * height;
    } else if (compression == 1 || compression == 2) {   // RLE8, RLE4
        needed = dataStart + imageSize;
    } else {
        throw CodecError("Unsupported bitmap compression");
    }
    if (bytes.size() < needed)
        throw CodecError("Truncated bitmap file");
}

}  // namespace

QByteArray encodeJpeg(const QImage& pixels)
{
    if (pixels.isNull() || pixels.width() == 0 || pixels.height() == 0)
        return {};
    const QImage rgb = pixels.format() == QImage::Format_RGB888
                           ? pixels
                           : pixels.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        throw CodecError("Out of memory converting the picture to 24-bit RGB");
    Encoder e{};
    if (!encodeCore(e, rgb)) {
        std::free(e.dest.buffer);
        throw CodecError(e.err.message);
    }
    QByteArray bytes(reinterpret_cast<const char*>(e.dest.buffer), qsizetype(e.dest.length));
    std::free(e.dest.buffer);
    return bytes;
}

QImage decodeJpeg(const QByteArray& bytes)
{
    QImage out;
    Decoder d{};
    if (!decodeCore(d, reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()), &out, nullptr))
        throw CodecError(d.err.message);
    return out;
}

QImage decodeJpegScaled(const QByteArray& bytes, QSize atLeast, QSize* fullSize)
{
    QImage out;
    Decoder d{};
    if (!decodeCore(d, reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()), &out, fullSize,
                    atLeast.expandedTo(QSize(0, 0))))
        throw CodecError(d.err.message);
    return out;
}

QSize jpegSize(const QByteArray& bytes)
{
    QSize size;
    Decoder d{};
    if (!decodeCore(d, reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()), nullptr, &size))
        throw CodecError(d.err.message);
    return size;
}

void allowPicturesUpToMaxPixels()
{
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 1);
}

QImage readBmp(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    checkBmpHeader(bytes);
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);   // never hand a non-BMP to another reader
    allowPicturesUpToMaxPixels();
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw CodecError(("Invalid bitmap: " + reader.errorString()).toStdString());
    return image;
}

QByteArray writeBmp(const QImage& pixels)
{
    if (pixels.isNull() || pixels.width() == 0 || pixels.height() == 0)
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(pixels))
        throw CodecError(("Cannot write bitmap: " + writer.errorString()).toStdString());
    return bytes;
}

}  // namespace tolvane::pictures
