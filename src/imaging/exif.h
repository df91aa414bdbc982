// The one EXIF tag the pictures need: the orientation (0x0112), which says
// how a camera's stored rows and columns are turned to stand upright.
//
// The EXIF block comes from the file, so it is untrusted: every offset is
// checked against the block's length before it is followed, and anything
// malformed reads as "no orientation" (1).
#pragma once

#include <cstddef>

namespace tolvane::pictures {

// The orientation 1 ... 8 of an APP1 segment's contents (the bytes after its
// length field: "Exif\0\0" and a TIFF block). 1 when the segment is not an
// EXIF block, its first directory holds no orientation, or the value is
// outside 1 ... 8.
int exifOrientation(const unsigned char* segment, std::size_t length);

// True for the orientations (5 ... 8) whose upright picture has the stored
// width and height exchanged.
inline bool orientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

}  // namespace tolvane::pictures
