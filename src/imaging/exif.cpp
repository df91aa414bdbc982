#include "imaging/exif.h"

#include <cstdint>
#include <cstring>

namespace tolvane::pictures {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;

// A TIFF block in either byte order; every read is bounds-checked by the
// caller through fits().
struct Tiff {
    const unsigned char* data;
    std::size_t length;
    bool bigEndian;

    bool fits(std::uint64_t at, std::uint64_t count) const
    {
        return at <= length && count <= length - at;
    }
    std::uint16_t u16(std::size_t at) const
    {
        const unsigned a = data[at], b = data[at + 1];
        return std::uint16_t(bigEndian ? a << 8 | b : b << 8 | a);
    }
    std::uint32_t u32(std::size_t at) const
    {
        const std::uint32_t hi = u16(at), lo = u16(at + 2);
        return bigEndian ? hi << 16 | lo : lo << 16 | hi;
    }
};

}  // namespace

int exifOrientation(const unsigned char* segment, std::size_t length)
{
    static constexpr char kHeader[] = "Exif\0";   // "Exif" and two zero bytes
    constexpr std::size_t headerLength = 6;
    if (!segment || length < headerLength + 8 || std::memcmp(segment, kHeader, headerLength) != 0)
        return 1;
    Tiff tiff{segment + headerLength, length - headerLength, false};
    if (tiff.data[0] == 'M' && tiff.data[1] == 'M')
        tiff.bigEndian = true;
    else if (tiff.data[0] != 'I' || tiff.data[1] != 'I')
        return 1;
    if (tiff.u16(2) != 42)
        return 1;
    const std::uint64_t directory = tiff.u32(4);
    if (!tiff.fits(directory, 2))
        return 1;
    const std::uint64_t entries = tiff.u16(std::size_t(directory));
    for (std::uint64_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + 12 * i;
        if (!tiff.fits(entry, 12))
            return 1;
        const auto at = std::size_t(entry);
        if (tiff.u16(at) != kOrientationTag)
            continue;
        // One value, held in the entry itself (left-justified).
        const std::uint16_t type = tiff.u16(at + 2);
        if (tiff.u32(at + 4) < 1)
            return 1;
        std::uint32_t value = 0;
        if (type == kTypeShort)
            value = tiff.u16(at + 8);
        else if (type == kTypeLong)
            value = tiff.u32(at + 8);
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

}  // namespace tolvane::pictures
