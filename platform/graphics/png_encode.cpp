// Deterministic PNG encoding: the same pixels always give the same bytes, because the colour
// type, bit depth, filters and compression level are fixed and no time or text is written.
#include "platform/graphics/codec.h"

#include "platform/foundation/foundation.h"

#include <csetjmp>
#include <png.h>
#include <zlib.h>

namespace {

struct Encode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> row;
};

void writeBytes(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void flush(png_structp) {}

[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

bool run(Encode& e, const CGImage& image) {
    if (setjmp(png_jmpbuf(e.png))) return false;
    png_set_write_fn(e.png, &e.out, writeBytes, flush);
    png_set_IHDR(e.png, e.info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(e.png, Z_DEFAULT_COMPRESSION);
    png_set_compression_strategy(e.png, Z_FILTERED);
    png_set_filter(e.png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_write_info(e.png, e.info);
    e.row.resize(std::size_t(image.width) * 4);
    for (int y = 0; y < image.height; ++y) {
        const std::uint32_t* src = image.row(y);
        std::uint8_t* dst = e.row.data();
        for (int x = 0; x < image.width; ++x, dst += 4) {
            std::uint32_t p = unpremultiplyPixel(src[x]);
            dst[0] = std::uint8_t(pixelRed(p));
            dst[1] = std::uint8_t(pixelGreen(p));
            dst[2] = std::uint8_t(pixelBlue(p));
            dst[3] = std::uint8_t(pixelAlpha(p));
        }
        png_write_row(e.png, e.row.data());
    }
    png_write_end(e.png, nullptr);
    return true;
}

} // namespace

std::vector<std::uint8_t> CGImageEncodePNG(const CGImage& image) {
    if (image.width <= 0 || image.height <= 0) return {};
    Encode e;
    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!e.png) return {};
    e.info = png_create_info_struct(e.png);
    bool ok = e.info && run(e, image);
    png_destroy_write_struct(&e.png, &e.info);
    if (!ok) return {};
    return std::move(e.out);
}

Ref<NSData> UIImagePNGRepresentation(const UIImage* image) {
    if (!image || !image->CGImage()) return nullptr;
    auto bytes = CGImageEncodePNG(*image->CGImage());
    if (bytes.empty()) return nullptr;
    return NSData::make(std::move(bytes));
}
