#include "imaging/codec.h"

#include "imaging/exif.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// jpeglib.h first: its configuration decides which messages jerror.h declares.
#include <jpeglib.h>
#include <jerror.h>

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

// Warnings are data libjpeg could step over. Those that mean pixels were
// filled in rather than decoded are not accepted: libjpeg would go on with
// grey or zeroed blocks, and a damaged file (data cut short, with or without
// an end marker after it; a lost restart marker; codes that decode to
// nothing) would be shown and stored as if it were whole. Stray bytes before
// a marker, metadata it cannot read and the like lose no pixel and stay
// warnings.
bool fillsInPixels(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:           // the data ran out
    case JWRN_HIT_MARKER:         // a marker where the data segment went on
    case JWRN_MUST_RESYNC:        // a restart marker lost or out of turn
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:  // a scan refining coefficients never sent
        return true;
    default:
        return false;
    }
}

void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0) {
        if (fillsInPixels(cinfo->err->msg_code))
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

// Zero bytes put before the end of the coded data of an arithmetic-coded
// file's last scan. Its decoder, unlike the Huffman one, meets the end of the
// data without a warning and decodes zeros from there on, so a file cut short
// with an end marker after it reads as a whole one. Zeros are what it reads
// past the marker anyway, so the fill changes no pixel; what tells a cut file
// is how much of it the decoder takes. Only the last scan is looked at: a cut
// in an earlier one loses the scans after it, and a multi-scan file without
// them is refused as incomplete (scansIncomplete). A whole scan ends short of
// its last symbols: the encoder leaves out the zero bytes it would end on.
// Symbols of a context that adapts grow cheaper the longer they repeat, and
// a scan of those leaves out at most 20 bytes a component for every whole
// file tried up to 100 megapixels: kFillPerComponent for each of the
// picture's components. A DC refinement scan codes one bit a block at a fixed
// even chance, which never grows cheaper: over a flat area its zero bits come
// out as zero bytes, one for every 8 blocks, so such a scan also gets a byte
// for every 8 of its blocks. A cut one has lost symbols that take far more
// (hundreds of bytes for a file cut in half or a small file claiming a huge
// picture); a cut that loses only what its scan could leave out passes, as it
// must, for it is the whole file of a slightly different picture.
constexpr qsizetype kFillPerComponent = 32;

// What the fill and the empty-scan rule need of a file's frame header.
struct Frame {
    std::int64_t width = 0, height = 0;
    int maxH = 1, maxV = 1;
    int count = 0;   // components
    struct Component {
        int id, h, v;
    } components[MAX_COMPONENTS];
};

Frame frameOf(const jpeg_decompress_struct& c)
{
    Frame f;
    f.width = c.image_width;
    f.height = c.image_height;
    f.maxH = std::max(1, c.max_h_samp_factor);
    f.maxV = std::max(1, c.max_v_samp_factor);
    f.count = std::min(c.num_components, MAX_COMPONENTS);
    for (int i = 0; i < f.count; ++i)
        f.components[i] = {c.comp_info[i].component_id, c.comp_info[i].h_samp_factor, c.comp_info[i].v_samp_factor};
    return f;
}

// One scan as the file's bytes lay it out.
struct Scan {
    qsizetype end = 0;      // where its coded data ends: at the marker after it, before
                            // that marker's fill bytes, or at the file's end
    bool empty = true;      // no coded byte at all (restart markers aside)
    bool last = true;       // no further scan follows
    int ss = 0, ah = 0;     // spectral start, and the bit the scan refines (0: none)
    int ids[4] = {};        // its components
    int count = 0;
};

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

// The blocks a scan codes: a component's own blocks when it is alone in the
// scan, whole MCUs when the scan interleaves several.
std::int64_t blocksIn(const Frame& f, const Scan& s)
{
    std::int64_t blocks = 0;
    for (int k = 0; k < s.count; ++k)
        for (int i = 0; i < f.count; ++i) {
            const Frame::Component& c = f.components[i];
            if (c.id != s.ids[k])
                continue;
            if (s.count == 1)
                blocks += ceilDiv(ceilDiv(f.width * c.h, f.maxH), 8) * ceilDiv(ceilDiv(f.height * c.v, f.maxV), 8);
            else
                blocks += ceilDiv(f.width, 8 * f.maxH) * ceilDiv(f.height, 8 * f.maxV) * c.h * c.v;
        }
    return blocks;
}

// The zero fill a scan may read past its data (see kFillPerComponent).
qsizetype fillFor(const Frame& f, const Scan& s)
{
    const bool dcRefinement = s.ss == 0 && s.ah > 0;
    return kFillPerComponent * f.count + (dcRefinement ? qsizetype(ceilDiv(blocksIn(f, s), 8)) : 0);
}

bool isRestart(int m) { return m >= 0xD0 && m <= 0xD7; }

// Whether a marker after a scan's data leads to a further scan: its start,
// or a segment that may stand between two scans (tables, restart interval,
// line count, comment, application data).
bool leadsToAnotherScan(int m)
{
    return m == 0xDA || m == 0xC4 || m == 0xCC || m == 0xDB || m == 0xDD || m == 0xDC || m == 0xFE ||
           (m >= 0xE0 && m <= 0xEF);
}

// The scans of a JPEG file, in file order.
std::vector<Scan> scansOf(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    std::vector<Scan> scans;
    qsizetype i = 2;   // after the start marker
    while (i + 1 < n) {
        const unsigned char m = p[i + 1];
        if (p[i] != 0xFF || m == 0xFF || m == 0x00 || m == 0x01 || isRestart(m) || m == 0xD8) {
            ++i;   // a stray byte, a fill byte before a marker, a marker without a segment
            continue;
        }
        if (m == 0xD9 || i + 3 >= n)
            break;
        const qsizetype at = i;
        i += 2 + std::max((p[i + 2] << 8) | p[i + 3], 2);
        if (m != 0xDA)
            continue;
        Scan s;
        if (at + 4 < n)
            s.count = std::min<int>(p[at + 4], 4);
        const qsizetype params = at + 5 + 2 * qsizetype(s.count);
        for (int k = 0; k < s.count && at + 5 + 2 * k < n; ++k)
            s.ids[k] = p[at + 5 + 2 * k];
        if (params + 2 < n) {
            s.ss = p[params];
            s.ah = p[params + 2] >> 4;
        }
        const qsizetype data = std::min(i, n);
        while (i + 1 < n && !(p[i] == 0xFF && p[i + 1] != 0x00 && p[i + 1] != 0xFF && !isRestart(p[i + 1])))
            ++i;
        if (i + 1 >= n)
            i = n;
        while (i > data && i < n && p[i - 1] == 0xFF)
            --i;   // the marker's fill bytes go after the zeros
        s.end = i;
        qsizetype marker = i;
        while (marker < n && p[marker] == 0xFF)
            ++marker;
        s.last = marker >= n || !leadsToAnotherScan(p[marker]);
        for (qsizetype j = data; j < s.end && s.empty; ++j) {
            if (p[j] == 0xFF && j + 1 < s.end && isRestart(p[j + 1]))
                ++j;
            else
                s.empty = false;
        }
        scans.push_back(s);
    }
    return scans;
}

// A copy of a JPEG file with the zero fill its last scan may read put before
// the marker that ends its coded data (at the file's end when its data runs
// there).
QByteArray withFillBeforeLastScanEnd(const QByteArray& bytes, const std::vector<Scan>& scans, const Frame& frame)
{
    QByteArray out;
    out.reserve(bytes.size() + kFillPerComponent * frame.count);
    qsizetype copied = 0;
    for (const Scan& s : scans) {
        if (!s.last)
            continue;
        out.append(bytes.constData() + copied, s.end - copied);
        out.append(QByteArray(fillFor(frame, s), '\0'));
        copied = s.end;
    }
    out.append(bytes.constData() + copied, bytes.size() - copied);
    return out;
}

struct Decoder;

struct Progress {
    jpeg_progress_mgr pub;
    Decoder* owner;
};

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    Progress progress;
    bool multiScan;       // scans other than one holding every component
    int scan;             // the number of the last scan noted
    unsigned scanned;     // bit c: component c appeared in a scan
    Frame frame;          // from its header
    bool filled;          // the data holds zero fill before its last scan's end
};

// Refuses the file as cut short, with libjpeg's message for data that ends
// at a marker.
[[noreturn]] void refuseCutShort(Decoder& d)
{
    d.cinfo.err->msg_code = JWRN_HIT_MARKER;
    onError(reinterpret_cast<j_common_ptr>(&d.cinfo));
}

// Whether the arithmetic decoder has gone through the zero fill before the
// last scan's end and met the marker itself. A restart marker met is the
// usual end of an interval (none ends a scan); a marker that leads to a
// further scan ends one that is not the last, which has no fill.
bool ranThroughFill(const Decoder& d)
{
    const int marker = d.cinfo.unread_marker;
    return d.filled && marker != 0 && !isRestart(marker) && !leadsToAnotherScan(marker);
}

// Called by libjpeg before each step of reading a multi-scan file's scans,
// and before each batch of rows; notes the components of each scan. A
// sequential file sends each component in one scan; libjpeg would take a
// second one over the first.
void onProgress(j_common_ptr cinfo)
{
    Decoder& d = *reinterpret_cast<Progress*>(cinfo->progress)->owner;
    if (d.cinfo.input_scan_number != d.scan) {
        d.scan = d.cinfo.input_scan_number;
        unsigned inScan = 0;
        for (int i = 0; i < d.cinfo.comps_in_scan; ++i)
            inScan |= 1u << d.cinfo.cur_comp_info[i]->component_index;
        if (!d.cinfo.progressive_mode && (d.scanned & inScan)) {
            std::snprintf(d.err.message, JMSG_LENGTH_MAX, "Invalid JPEG file: a component in two scans");
            std::longjmp(d.err.jump, 1);
        }
        d.scanned |= inScan;
    }
    if (ranThroughFill(d))
        refuseCutShort(d);
}

// Whether the scans of a multi-scan file, all read, stop short of the
// picture: a sequential file with a component that appeared in no scan; a
// progressive file with a coefficient of some component not sent, or not
// refined to full precision. Every common encoder's progressive script ends
// with every coefficient of every component whole, so a file without it is
// taken for a cut one (the standard would let a file stop there).
bool scansIncomplete(const Decoder& d)
{
    const jpeg_decompress_struct& c = d.cinfo;
    if (!c.progressive_mode)
        return d.scanned != (1u << c.num_components) - 1;
    for (int ci = 0; ci < c.num_components; ++ci)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (c.coef_bits[ci][k] != 0)
                return true;
    return false;
}

// The orientation of the first EXIF block among the APP1 segments libjpeg
// kept while reading the header.
int orientationOf(const jpeg_decompress_struct& cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1)
            continue;
        if (m->data_length >= 6 && std::memcmp(m->data, "Exif\0", 6) == 0)
            return exifOrientation(m->data, m->data_length);
    }
    return 1;
}

// Whether the data after the header is too short for the picture it claims,
// so that decoding it could only invent pixels: with Huffman coding every
// block of a sequential file takes at least two bits (its DC code and an AC
// code or end of block), every block of a progressive one at least one (its
// first DC code). Arithmetic coding can spend less than a bit on a block and
// gets no bound. Checked before anything is allocated for the picture.
bool dataTooShort(const jpeg_decompress_struct& cinfo)
{
    if (cinfo.arith_code)
        return false;
    std::uint64_t blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c)
        blocks += std::uint64_t(cinfo.comp_info[c].width_in_blocks) * cinfo.comp_info[c].height_in_blocks;
    const std::uint64_t bits = blocks * (cinfo.progressive_mode ? 1 : 2);
    return std::uint64_t(cinfo.src->bytes_in_buffer) * 8 < bits;
}

// The message libjpeg gives when the data of such a file runs out: "premature
// end of data segment" when an end marker follows, else "premature end of
// file". (0xFF 0xD9 occurs in coded data only as the marker.)
void setCutShort(Decoder& d)
{
    const unsigned char* p = d.cinfo.src->next_input_byte;
    const unsigned char* end = p + d.cinfo.src->bytes_in_buffer;
    bool endMarker = false;
    while (!endMarker && (p = static_cast<const unsigned char*>(std::memchr(p, 0xFF, std::size_t(end - p))))) {
        endMarker = p + 1 < end && p[1] == 0xD9;
        ++p;
    }
    d.cinfo.err->msg_code = endMarker ? JWRN_HIT_MARKER : JWRN_JPEG_EOF;
    (*d.cinfo.err->format_message)(reinterpret_cast<j_common_ptr>(&d.cinfo), d.err.message);
}

// The smallest DCT scale M/8 (M = 1 ... 8) whose output covers `atLeast`
// (in stored rows and columns); full size when none smaller does or when
// `atLeast` is not a size.
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

// The share of light two layers let through together (255 = all of it).
unsigned char lightThrough(unsigned a, unsigned b)
{
    return static_cast<unsigned char>((a * b + 127) / 255);
}

// One row of CMYK samples (libjpeg's output for CMYK and YCCK files) to RGB,
// in place (3 bytes a pixel from 4). A sample counts the ink put down,
// unless an Adobe marker says the file keeps them inverted, as Adobe's
// programs write CMYK: then it is the light let through (255 = no ink).
// Red is the light the cyan ink and the black ink both let through, and so
// on.
void cmykRowToRgb(JSAMPROW row, JDIMENSION width, bool inverted)
{
    const unsigned toLight = inverted ? 0 : 255;
    const JSAMPLE* in = row;
    unsigned char* out = row;
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned c = in[0] ^ toLight, m = in[1] ^ toLight, y = in[2] ^ toLight,
                       k = in[3] ^ toLight;
        out[0] = lightThrough(c, k);
        out[1] = lightThrough(m, k);
        out[2] = lightThrough(y, k);
    }
}

// Puts `count` decoded RGB rows of the stored picture (w x h), starting at
// stored row `first`, where the EXIF `orientation` turns them in the
// upright picture `bits` (h x w for orientations 5 ... 8):
//   1 as stored            2 mirrored left-right     3 turned half round
//   4 mirrored top-bottom  5 mirrored on the diagonal (transposed)
//   6 turned a quarter clockwise   7 mirrored on the other diagonal
//   8 turned a quarter anticlockwise
// A stored row becomes an upright column for 5 ... 8: the band's rows are
// walked side by side, so each write fills a run of `count` pixels.
void placeRows(JSAMPARRAY band, JDIMENSION count, JDIMENSION first, JDIMENSION w, JDIMENSION h,
               int orientation, unsigned char* bits, qsizetype stride)
{
    if (!orientationSwapsSides(orientation)) {
        const bool flipRows = orientation == 3 || orientation == 4;
        const bool flipColumns = orientation == 2 || orientation == 3;
        for (JDIMENSION i = 0; i < count; ++i) {
            const JDIMENSION y = flipRows ? h - 1 - (first + i) : first + i;
            unsigned char* dst = bits + qsizetype(y) * stride;
            if (!flipColumns) {
                std::memcpy(dst, band[i], std::size_t(w) * 3);
                continue;
            }
            const JSAMPLE* src = band[i] + std::size_t(w) * 3;
            for (JDIMENSION x = 0; x < w; ++x, dst += 3) {
                src -= 3;
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
        }
        return;
    }
    const bool columnsDown = orientation == 5 || orientation == 6;      // stored x -> upright y
    const bool rowsRight = orientation == 5 || orientation == 8;        // stored y -> upright x
    for (JDIMENSION sx = 0; sx < w; ++sx) {
        const JDIMENSION y = columnsDown ? sx : w - 1 - sx;
        unsigned char* row = bits + qsizetype(y) * stride;
        for (JDIMENSION i = 0; i < count; ++i) {
            const JDIMENSION x = rowsRight ? first + i : h - 1 - (first + i);
            const JSAMPLE* src = band[i] + std::size_t(sx) * 3;
            unsigned char* dst = row + std::size_t(x) * 3;
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
}

// The samples of a decode as they are coded (no colour conversion, no turn),
// summed up.
struct Digest {
    std::uint64_t hash = 0xCBF29CE484222325u;
    bool allCentre = true;   // every sample 128, as all-zero coefficients give

    void add(const unsigned char* p, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i) {
            hash = (hash ^ p[i]) * 0x100000001B3u;
            allCentre = allCentre && p[i] == CENTERJSAMPLE;
        }
    }
};

// The stored rows read straight into the picture's rows: an RGB decode with
// no turn.
void readStraight(Decoder& d, unsigned char* bits, qsizetype stride)
{
    const JDIMENSION h = d.cinfo.output_height;
    auto rows = static_cast<JSAMPARRAY>((*d.cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE, h * sizeof(JSAMPROW)));
    for (JDIMENSION y = 0; y < h; ++y)
        rows[y] = bits + y * stride;
    while (d.cinfo.output_scanline < h) {
        const JDIMENSION at = d.cinfo.output_scanline;
        if (jpeg_read_scanlines(&d.cinfo, rows + at, h - at) == 0)
            break;   // cannot happen with an in-memory source; be safe anyway
    }
}

// The stored rows read a band at a time, made RGB and put in place turned
// by `orientation`; with no picture (`bits` null) each band goes to `digest`
// when given, and is dropped.
void readBands(Decoder& d, int orientation, bool cmyk, unsigned char* bits, qsizetype stride,
               Digest* digest = nullptr)
{
    const JDIMENSION w = d.cinfo.output_width;
    const JDIMENSION h = d.cinfo.output_height;
    const JDIMENSION step = JDIMENSION(std::max(1, d.cinfo.rec_outbuf_height));
    const JDIMENSION bandRows = (32 + step - 1) / step * step;
    JSAMPARRAY band = (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE,
                                                   w * JDIMENSION(d.cinfo.output_components), bandRows);
    const bool inverted = d.cinfo.saw_Adobe_marker;
    while (d.cinfo.output_scanline < h) {
        const JDIMENSION first = d.cinfo.output_scanline;
        JDIMENSION count = 0;
        while (count < bandRows && d.cinfo.output_scanline < h) {
            const JDIMENSION got = jpeg_read_scanlines(&d.cinfo, band + count, bandRows - count);
            if (got == 0)
                break;   // cannot happen with an in-memory source; be safe anyway
            count += got;
        }
        if (count == 0)
            break;
        if (digest)
            for (JDIMENSION i = 0; i < count; ++i)
                digest->add(band[i], std::size_t(w) * std::size_t(d.cinfo.output_components));
        if (!bits)
            continue;
        if (cmyk)
            for (JDIMENSION i = 0; i < count; ++i)
                cmykRowToRgb(band[i], w, inverted);
        placeRows(band, count, first, w, h, orientation, bits, stride);
    }
}

// What one decode is asked for.
struct Request {
    QImage* out = nullptr;   // the picture; none for the header alone or a check
    QSize* size = nullptr;   // gets the upright width and height
    QSize atLeast;           // an upright size the scale must cover; invalid for full size
    bool check = false;      // decode every row at the smallest scale and drop it
    // Decode every row at full size into this, without the picture: whatever
    // the scans hold, stopping short or not, as coded, without block
    // smoothing (which looks at the scans read) and without zero fill.
    Digest* digest = nullptr;
};

enum class Outcome { Done, Failed, NeedsFill };

// One decode of `bytes` as `r` asks, turned upright by the file's EXIF
// orientation. An arithmetic-coded file is decoded only from its copy with
// zero fill (`filled`): NeedsFill asks for it.
// Returns Failed with d.err.message set when the file is refused.
Outcome decodeCore(Decoder& d, const QByteArray& bytes, const Request& r, bool filled)
{
    installErrorManager(d.err, reinterpret_cast<j_common_ptr>(&d.cinfo));
    if (setjmp(d.err.jump)) {
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::Failed;
    }
    jpeg_create_decompress(&d.cinfo);
    d.filled = filled;
    d.progress.pub.progress_monitor = onProgress;
    d.progress.owner = &d;
    d.cinfo.progress = &d.progress.pub;
    jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d.cinfo, TRUE);
    const int orientation = orientationOf(d.cinfo);   // of the file's EXIF block; 1 without one
    const bool swap = orientationSwapsSides(orientation);
    d.multiScan = d.cinfo.progressive_mode || d.cinfo.comps_in_scan < d.cinfo.num_components;
    d.frame = frameOf(d.cinfo);

    const std::int64_t width = d.cinfo.image_width;
    const std::int64_t height = d.cinfo.image_height;
    if (tooLarge(width, height)) {
        setTooLarge(d.err.message, swap ? height : width, swap ? width : height);
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::Failed;
    }
    if (dataTooShort(d.cinfo)) {
        setCutShort(d);
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::Failed;
    }
    if (r.size)
        *r.size = swap ? QSize(int(height), int(width)) : QSize(int(width), int(height));
    if (!r.out && !r.check && !r.digest) {
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::Done;
    }
    if (d.cinfo.arith_code && !filled && !r.digest) {
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::NeedsFill;
    }

    const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
    d.cinfo.out_color_space = r.digest ? d.cinfo.jpeg_color_space : cmyk ? JCS_CMYK : JCS_RGB;
    d.cinfo.dct_method = JDCT_ISLOW;
    d.cinfo.do_fancy_upsampling = TRUE;
    d.cinfo.do_block_smoothing = r.digest ? FALSE : TRUE;
    d.cinfo.quantize_colors = FALSE;
    chooseScale(d.cinfo, r.check ? QSize(1, 1) : swap ? r.atLeast.transposed() : r.atLeast);
    jpeg_start_decompress(&d.cinfo);   // reads every scan of a multi-scan file
    if (r.digest) {
        readBands(d, 1, false, nullptr, 0, r.digest);
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::Done;
    }
    if (d.multiScan && scansIncomplete(d))
        refuseCutShort(d);

    const JDIMENSION w = d.cinfo.output_width;
    const JDIMENSION h = d.cinfo.output_height;
    if (d.cinfo.output_components != (cmyk ? 4 : 3)) {
        std::snprintf(d.err.message, JMSG_LENGTH_MAX, "Unsupported JPEG colour output");
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::Failed;
    }
    unsigned char* bits = nullptr;
    qsizetype stride = 0;
    if (r.out) {
        *r.out = swap ? QImage(int(h), int(w), QImage::Format_RGB888)
                      : QImage(int(w), int(h), QImage::Format_RGB888);
        if (r.out->isNull()) {
            std::snprintf(d.err.message, JMSG_LENGTH_MAX, "Out of memory for a %u x %u picture", w, h);
            jpeg_destroy_decompress(&d.cinfo);
            return Outcome::Failed;
        }
        bits = r.out->bits();
        stride = r.out->bytesPerLine();
    }
    if (bits && !cmyk && orientation == 1)
        readStraight(d, bits, stride);
    else
        readBands(d, orientation, cmyk, bits, stride);
    if (ranThroughFill(d))
        refuseCutShort(d);
    const bool complete = d.cinfo.output_scanline == h;
    // Every pixel is out; what follows the last scan is not looked at.
    jpeg_destroy_decompress(&d.cinfo);
    if (!complete)
        std::snprintf(d.err.message, JMSG_LENGTH_MAX, "Premature end of JPEG file");
    return complete ? Outcome::Done : Outcome::Failed;
}

// Refuses, as cut short, an arithmetic-coded file with a scan that carries no
// coded data yet codes something. Such a scan reads zeros from its start, and
// zeros always decode to some symbols: from the contexts' first states, to
// stripes of made-up colour. The encoder writes no data only where the
// symbols it codes are those zeros give, and what the common encoders write
// so is nothing at all (a flat mid-grey picture of one block, or a
// refinement of none of its bits). So an empty scan passes only when the
// samples of the file through it are those of the file without it (all 128
// when it is the first scan): a cut file of that very picture stays
// undecidable, and is that picture.
void refuseEmptyScansThatCodeSomething(const QByteArray& bytes, const std::vector<Scan>& scans)
{
    std::vector<std::optional<Digest>> through(scans.size());   // the file through scan k
    const auto digestThrough = [&](std::size_t k) -> const Digest& {
        if (!through[k]) {
            Decoder d{};
            Digest digest;
            const QByteArray upTo = bytes.left(scans[k].end) + QByteArray("\xFF\xD9", 2);
            if (decodeCore(d, upTo, Request{nullptr, nullptr, QSize(), false, &digest}, false) == Outcome::Failed)
                throw CodecError(d.err.message);
            through[k] = digest;
        }
        return *through[k];
    };
    for (std::size_t k = 0; k < scans.size(); ++k) {
        if (!scans[k].empty)
            continue;
        const Digest& with = digestThrough(k);
        const bool nothing = k == 0 ? with.allCentre : with.hash == digestThrough(k - 1).hash;
        if (!nothing) {
            jpeg_decompress_struct c{};
            ErrorManager err;
            installErrorManager(err, reinterpret_cast<j_common_ptr>(&c));
            c.err->msg_code = JWRN_HIT_MARKER;
            (*c.err->format_message)(reinterpret_cast<j_common_ptr>(&c), err.message);
            throw CodecError(err.message);
        }
    }
}

// The decode behind decodeJpeg, decodeJpegScaled and jpegSize; throws the
// message of a refused file. An arithmetic-coded file is decoded from its
// copy with zero fill; when its one scan would be decoded along with the
// picture's rows, a check pass decodes it first without them, so a cut
// file claiming a huge picture is refused before the picture is allocated
// (a multi-scan file's scans are all read before that anyway). A scan
// without coded data is looked at before either.
QImage decode(const QByteArray& bytes, QSize* size, QSize atLeast, bool pixels)
{
    QImage out;
    const Request request{pixels ? &out : nullptr, size, atLeast, false};
    Decoder d{};
    Outcome outcome = decodeCore(d, bytes, request, false);
    if (outcome == Outcome::NeedsFill) {
        const std::vector<Scan> scans = scansOf(bytes);
        refuseEmptyScansThatCodeSomething(bytes, scans);
        const QByteArray filled = withFillBeforeLastScanEnd(bytes, scans, d.frame);
        if (!d.multiScan) {
            Decoder check{};
            if (decodeCore(check, filled, Request{nullptr, nullptr, QSize(), true}, true) == Outcome::Failed)
                throw CodecError(check.err.message);
        }
        d = Decoder{};
        outcome = decodeCore(d, filled, request, true);
    }
    if (outcome == Outcome::Failed)
        throw CodecError(d.err.message);
    return out;
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

constexpr int kFileHeader = 14;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

// What the BMP reading needs of a file's headers.
struct BmpHeader {
    std::uint32_t infoSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;   // rows, counted positive
    bool topDown = false;
    std::int64_t planes = 1;
    std::int64_t bitCount = 0;
    std::uint32_t compression = 0;
    std::int64_t imageSize = 0;
    std::int32_t dotsPerMeterX = 0;
    std::int32_t dotsPerMeterY = 0;
    std::uint32_t coloursUsed = 0;
    std::int64_t dataStart = 0;   // where the pixels start, at the earliest

    // The info header sizes Qt's reader takes field by field besides the
    // OS/2 core header (12 bytes); it refuses every other size.
    bool wholeInfo() const
    {
        return infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124;
    }
};

// The headers, and the size they claim checked before anything is allocated.
BmpHeader readBmpHeader(const QByteArray& bytes)
{
    if (bytes.size() < kFileHeader + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        throw CodecError("Not a Windows bitmap file");
    BmpHeader h;
    h.infoSize = le32(bytes, kFileHeader);
    if (h.infoSize == 12) {   // OS/2 core header: 16-bit sizes
        if (bytes.size() < kFileHeader + 12)
            throw CodecError("Truncated bitmap header");
        h.width = le16(bytes, kFileHeader + 4);
        h.height = le16(bytes, kFileHeader + 6);
        h.planes = le16(bytes, kFileHeader + 8);
        h.bitCount = le16(bytes, kFileHeader + 10);
    } else {
        if (h.infoSize < 16 || bytes.size() < kFileHeader + 16)
            throw CodecError("Invalid bitmap header");
        h.width = std::int32_t(le32(bytes, kFileHeader + 4));
        h.height = std::int32_t(le32(bytes, kFileHeader + 8));
        h.planes = le16(bytes, kFileHeader + 12);
        h.bitCount = le16(bytes, kFileHeader + 14);
        if (h.infoSize >= 24 && bytes.size() >= kFileHeader + 24) {
            h.compression = le32(bytes, kFileHeader + 16);
            h.imageSize = le32(bytes, kFileHeader + 20);
        }
        if (h.infoSize >= 36 && bytes.size() >= kFileHeader + 36) {
            h.dotsPerMeterX = std::int32_t(le32(bytes, kFileHeader + 24));
            h.dotsPerMeterY = std::int32_t(le32(bytes, kFileHeader + 28));
            h.coloursUsed = le32(bytes, kFileHeader + 32);
        }
    }
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN)
        throw CodecError("Invalid bitmap dimensions");
    if (h.height < 0) {
        h.height = -h.height;
        h.topDown = true;
    }
    if (tooLarge(h.width, h.height)) {
        char message[JMSG_LENGTH_MAX];
        setTooLarge(message, h.width, h.height);
        throw CodecError(message);
    }

    // Qt's reader fills whatever a short file lacks with black and calls it
    // a success; a truncated file must not pass for a whole picture. The
    // pixels start at the file header's offset, but never before the colour
    // table (read from the end of the first 40 header bytes, 3 bytes an entry
    // after the core header) and the three bit-field masks that follow a
    // 40-byte header: Qt reads those first, and an offset of 0 means "right
    // after them".
    const std::int64_t tableAt = kFileHeader + std::min<std::int64_t>(h.infoSize, 40);
    const std::int64_t tableEnd =
        h.bitCount >= 1 && h.bitCount <= 8
            ? tableAt + (h.infoSize == 12 ? 3 : 4) *
                            (h.coloursUsed ? std::int64_t(h.coloursUsed) : std::int64_t(1) << h.bitCount)
            : tableAt;
    const std::int64_t masksEnd =
        kFileHeader + std::int64_t(h.infoSize) + (h.compression == kBitFields && h.infoSize < 108 ? 12 : 0);
    h.dataStart = std::max({std::int64_t(le32(bytes, 10)), tableEnd, masksEnd});
    std::int64_t needed = 0;
    if (h.compression == 0 || h.compression == kBitFields || h.compression == 6) {
        if (h.bitCount < 1 || h.bitCount > 32)
            throw CodecError("Invalid bitmap colour depth");
        const std::int64_t stride = (h.width * h.bitCount + 31) / 32 * 4;
        needed = h.dataStart + stride * h.height;
    } else if (h.compression == kRle8 || h.compression == kRle4) {
        needed = h.dataStart + h.imageSize;
    } else {
        throw CodecError("Unsupported bitmap compression");
    }
    if (bytes.size() < needed)
        throw CodecError("Truncated bitmap file");
    return h;
}

// Paints run-length data, RLE8 or RLE4 (two pixels a byte, high nibble
// first), as its codes say: put(x, y, index) for each pixel inside the
// picture, rows counted from the bottom. Each pixel is painted at most once
// (x only grows along a row, y only grows). What the codes leave unpainted
// (data that ends early, a delta jumped over) is not touched; pixels a run
// puts past the row's end are dropped; a delta past the last row ends the
// picture, as does data that ends inside a code.
template <class Put>
void paintRunLengths(const uchar* p, const uchar* end, bool four, std::int64_t width,
                     std::int64_t height, Put put)
{
    std::int64_t x = 0;
    std::int64_t y = 0;
    while (y < height && end - p >= 2) {
        const uchar n = p[0];
        const uchar c = p[1];
        p += 2;
        if (n > 0) {   // a run of n pixels: one index, or two alternating
            for (int i = 0; i < n && x + i < width; ++i)
                put(x + i, y, four ? (i % 2 ? c & 0x0F : c >> 4) : c);
            x += n;
        } else if (c == 0) {   // end of the row
            x = 0;
            ++y;
        } else if (c == 1) {   // end of the picture
            return;
        } else if (c == 2) {   // delta: right and up
            if (end - p < 2)
                return;
            x += p[0];
            y += p[1];
            p += 2;
        } else {   // c pixels given one by one, padded to a whole word
            const std::int64_t length = four ? (c + 1) / 2 : c;
            const std::int64_t given = std::min<std::int64_t>(length, end - p);
            for (int i = 0; i < c && x + i < width; ++i) {
                const std::int64_t at = four ? i / 2 : i;
                if (at >= given)
                    break;
                put(x + i, y, four ? (i % 2 ? p[at] & 0x0F : p[at] >> 4) : p[at]);
            }
            if (given < length)
                return;
            x += c;
            p += std::min<std::int64_t>(length + (length & 1), end - p);
        }
    }
}

// A run-length file, decoded here rather than by Qt's reader: Qt leaves
// what the codes do not paint as the allocator left it, and reads an unset
// byte where the data ends inside a code. Every pixel starts black; the
// picture keeps the file's colour table (8 bits a pixel), with a black entry
// added when the table has none and some pixel stays unpainted, and black
// for indices past the table. A full table without black gives the picture
// in 32-bit colour instead.
QImage readRunLengthBmp(const QByteArray& bytes, const BmpHeader& h)
{
    const bool four = h.compression == kRle4;
    if (h.planes != 1 || h.bitCount != (four ? 4 : 8))
        throw CodecError("Invalid run-length bitmap");
    const std::int64_t colours = h.coloursUsed ? h.coloursUsed : (std::int64_t(1) << h.bitCount);
    if (colours > 256)
        throw CodecError("Invalid bitmap colour table");
    const std::int64_t tableAt = kFileHeader + std::int64_t(h.infoSize);
    const std::int64_t pixelsAt = std::max(h.dataStart, tableAt + 4 * colours);
    if (bytes.size() < tableAt + 4 * colours)
        throw CodecError("Truncated bitmap file");

    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    QList<QRgb> table;
    int black = -1;
    for (std::int64_t i = 0; i < colours; ++i) {
        const uchar* bgr = data + tableAt + 4 * i;
        table << qRgb(bgr[2], bgr[1], bgr[0]);
        if (black < 0 && (table.back() & 0xFFFFFF) == 0)
            black = int(i);
    }
    if (black < 0 && colours < 256)
        black = int(colours);
    const uchar* codes = data + std::min<std::int64_t>(pixelsAt, bytes.size());
    const uchar* end = data + bytes.size();
    const int w = int(h.width);
    const int rows = int(h.height);
    const auto row = [&](std::int64_t y) { return h.topDown ? y : rows - 1 - y; };

    QImage image(w, rows, black >= 0 ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull())
        throw CodecError("Out of memory for a " + std::to_string(w) + " x " +
                         std::to_string(rows) + " picture");
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    if (black < 0) {
        image.fill(QColor(Qt::black));
        paintRunLengths(codes, end, four, w, rows, [&](std::int64_t x, std::int64_t y, uchar i) {
            reinterpret_cast<QRgb*>(bits + row(y) * stride)[x] = table[i];
        });
    } else {
        std::memset(bits, black, std::size_t(image.sizeInBytes()));   // padding too
        std::int64_t painted = 0;
        int top = int(colours) - 1;
        paintRunLengths(codes, end, four, w, rows, [&](std::int64_t x, std::int64_t y, uchar i) {
            bits[row(y) * stride + x] = i;
            top = std::max<int>(top, i);
            ++painted;
        });
        if (painted < std::int64_t(w) * rows)
            top = std::max(top, black);
        table.resize(top + 1, qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    image.setDotsPerMeterX(h.dotsPerMeterX);
    image.setDotsPerMeterY(h.dotsPerMeterY);
    return image;
}

// Qt's reader widens a colour channel of fewer than 8 bits by putting its
// value in the top bits of the byte: some Qt versions leave the low bits
// zero (the 5 bits of a 16-bit file give 0 ... 248, white reads 248, 248,
// 248), others fill them. Each such channel's value is taken back from the
// top bits, whichever Qt read it, and stretched to the full 0 ... 255.
void stretchNarrowChannels(QImage& image, const QByteArray& bytes, const BmpHeader& h)
{
    std::uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};   // red, green, blue, alpha: 5-5-5
    if (h.compression == kBitFields) {
        const std::int64_t at = kFileHeader + (h.infoSize >= 108 ? 40 : h.infoSize);
        if (bytes.size() < at + 16)
            return;
        for (int c = 0; c < 4; ++c)
            masks[c] = le32(bytes, int(at + 4 * c));
        if (h.infoSize < 108 || !image.hasAlphaChannel())
            masks[3] = 0;
    } else if (h.bitCount != 16) {
        return;
    }
    uchar stretch[4][256];
    bool any = false;
    for (int c = 0; c < 4; ++c) {
        for (int v = 0; v < 256; ++v)
            stretch[c][v] = uchar(v);
        if (masks[c] == 0)
            continue;
        const std::uint32_t top = masks[c] >> std::countr_zero(masks[c]);
        if (top >= 255)
            continue;   // 8 bits are taken as they are (more Qt cannot take)
        const int low = 8 - std::bit_width(top);   // the bits Qt added below the value
        for (std::uint32_t q = 0; q < 256; ++q)
            stretch[c][q] = uchar((std::min(q >> low, top) * 255 + top / 2) / top);
        any = true;
    }
    if (!any)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(stretch[0][qRed(p)], stretch[1][qGreen(p)], stretch[2][qBlue(p)],
                            stretch[3][qAlpha(p)]);
        }
    }
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
    return decode(bytes, nullptr, QSize(), true);
}

QImage decodeJpegScaled(const QByteArray& bytes, QSize atLeast, QSize* fullSize)
{
    return decode(bytes, fullSize, atLeast.expandedTo(QSize(0, 0)), true);
}

QSize jpegSize(const QByteArray& bytes)
{
    QSize size;
    decode(bytes, &size, QSize(), false);
    return size;
}

void allowPicturesUpToMaxPixels()
{
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 1);
    // Qt's reader makes statics of its own at its first read (the limit the
    // environment sets, among others). Thread-safe as they are, Helgrind
    // takes their first use on two decode threads for a race: one read of a
    // 1 x 1 bitmap here makes them before any thread reads a picture.
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::black);
    (void)readBmp(writeBmp(dot));
}

static_assert(kMaxSide == JPEG_MAX_DIMENSION);

bool withinIncomingSize(std::int64_t width, std::int64_t height)
{
    return !tooLarge(width, height) && width <= kMaxSide && height <= kMaxSide;
}

void checkIncomingSize(std::int64_t width, std::int64_t height)
{
    if (withinIncomingSize(width, height))
        return;
    char message[JMSG_LENGTH_MAX];
    if (tooLarge(width, height))
        setTooLarge(message, width, height);
    else
        std::snprintf(message, sizeof message,
                      "Picture of %lld x %lld pixels exceeds the limit of %lld pixels a side",
                      static_cast<long long>(width), static_cast<long long>(height),
                      static_cast<long long>(kMaxSide));
    throw CodecError(message);
}

QImage readBmp(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    const BmpHeader header = readBmpHeader(bytes);
    if (header.wholeInfo() && (header.compression == kRle8 || header.compression == kRle4))
        return readRunLengthBmp(bytes, header);
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);   // never hand a non-BMP to another reader
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw CodecError(("Invalid bitmap: " + reader.errorString()).toStdString());
    if ((header.wholeInfo() || header.infoSize == 12) &&
        (header.bitCount == 16 || header.bitCount == 32) && image.depth() == 32)
        stretchNarrowChannels(image, bytes, header);
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
