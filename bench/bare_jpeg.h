// The bare libjpeg decode the picture benchmarks measure against: full size,
// RGB, islow, fancy upsampling, smoothing (our decoder's settings).
#pragma once

#include <cstddef>
#include <cstdio>   // jpeglib.h needs FILE
#include <jpeglib.h>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace benchcommon {

// Into a buffer of its own: a std::vector (zero-filled first, as the
// benchmarks of single decodes always measured it) or a unique_ptr array
// (left uninitialised, as an image's pixels are).
template <class Buffer>
Buffer bareJpegDecodeTo(const unsigned char* data, std::size_t size) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    d.dct_method = JDCT_ISLOW;
    d.do_fancy_upsampling = TRUE;
    d.do_block_smoothing = TRUE;
    jpeg_start_decompress(&d);
    const std::size_t stride = std::size_t(d.output_width) * 3;
    Buffer out;
    unsigned char* bits = nullptr;
    if constexpr (std::is_same_v<Buffer, std::vector<unsigned char>>) {
        out.resize(stride * d.output_height);
        bits = out.data();
    } else {
        out.reset(new unsigned char[stride * d.output_height]);
        bits = out.get();
    }
    std::vector<JSAMPROW> rows(d.output_height);
    for (JDIMENSION y = 0; y < d.output_height; ++y) rows[y] = bits + y * stride;
    while (d.output_scanline < d.output_height)
        jpeg_read_scanlines(&d, rows.data() + d.output_scanline, d.output_height - d.output_scanline);
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return out;
}

inline std::unique_ptr<unsigned char[]> bareJpegDecode(const std::string& bytes) {
    return bareJpegDecodeTo<std::unique_ptr<unsigned char[]>>(
        reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace benchcommon
