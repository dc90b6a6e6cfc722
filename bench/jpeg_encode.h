// JPEG bytes in memory for the benchmarks' artwork, made row by row.
#pragma once

#include "platform/foundation/foundation.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>
#include <vector>

// fillRow(y, row) writes the RGB bytes of row y. Quality 90, as music apps ship artwork.
inline Ref<NSData> encodeJPEG(int width, int height,
                              const std::function<void(int y, std::uint8_t* row)>& fillRow) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        fillRow(int(info.next_scanline), row.data());
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Ref<NSData> data = NSData::make(out, size);
    std::free(out);
    return data;
}
