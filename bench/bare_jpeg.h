// The bare libjpeg decode the picture benchmarks measure against: full size,
// RGB, islow, fancy upsampling, smoothing (our decoder's settings), into a
// buffer left uninitialised, as an image's pixels are.
#pragma once

#include <cstddef>
#include <jpeglib.h>
#include <memory>
#include <string>
#include <vector>

namespace benchcommon {

inline std::unique_ptr<unsigned char[]> bareJpegDecode(const std::string& bytes) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    d.dct_method = JDCT_ISLOW;
    d.do_fancy_upsampling = TRUE;
    d.do_block_smoothing = TRUE;
    jpeg_start_decompress(&d);
    const std::size_t stride = std::size_t(d.output_width) * 3;
    std::unique_ptr<unsigned char[]> out(new unsigned char[stride * d.output_height]);
    std::vector<JSAMPROW> rows(d.output_height);
    for (JDIMENSION y = 0; y < d.output_height; ++y) rows[y] = out.get() + y * stride;
    while (d.output_scanline < d.output_height)
        jpeg_read_scanlines(&d, rows.data() + d.output_scanline, d.output_height - d.output_scanline);
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return out;
}

}  // namespace benchcommon
