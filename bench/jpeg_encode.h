// JPEG bytes in memory, made row by row: the benchmarks' artwork and the tests' samples.
#pragma once

#include "platform/foundation/foundation.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>
#include <vector>

struct JPEGOptions {
    bool progressive = false, grey = false;
    bool cmyk = false; // written as Adobe-style inverted CMYK
};

// fillRow(y, row) writes the bytes of row y: RGB, grey or CMYK as `options` say (the row has
// room for two bytes more). Quality 90, as music apps ship artwork.
inline std::vector<std::uint8_t>
encodeJPEGBytes(int width, int height, const std::function<void(int y, std::uint8_t* row)>& fillRow,
                JPEGOptions options = {}) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = options.grey ? 1 : options.cmyk ? 4 : 3;
    info.in_color_space = options.grey ? JCS_GRAYSCALE : options.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (options.cmyk) jpeg_set_colorspace(&info, JCS_CMYK); // writes the Adobe marker too
    jpeg_set_quality(&info, 90, TRUE);
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(width) * 4 + 2);
    while (info.next_scanline < info.image_height) {
        fillRow(int(info.next_scanline), row.data());
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

inline Ref<NSData> encodeJPEG(int width, int height,
                              const std::function<void(int y, std::uint8_t* row)>& fillRow) {
    return NSData::make(encodeJPEGBytes(width, height, fillRow));
}
