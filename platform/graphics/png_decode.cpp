// PNG decoding with libpng: every colour type and bit depth, palette transparency, 16-bit
// samples scaled to 8, interlacing. libpng reports errors by longjmp; state that must survive
// one lives in a struct owned by the caller's frame.
#include "platform/graphics/decoders.h"
#include "platform/graphics/limits.h"

#include <cstring>
#include <png.h>
#include <vector>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "BGRA bytes match ARGB32 here");

namespace {

// Ancillary chunks (text, ICC profiles) are not needed; bound what libpng may allocate for one.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

struct Source {
    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t offset = 0;
};

struct Decode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Source source{};
    std::shared_ptr<CGImage> image;
    std::vector<png_bytep> rows;
};

void readBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<Source*>(png_get_io_ptr(png));
    if (count > src->length - src->offset) png_error(png, "truncated");
    std::memcpy(out, src->bytes + src->offset, count);
    src->offset += count;
}

[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void premultiply(std::uint32_t* row, int width) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t p = row[x], a = pixelAlpha(p);
        if (a == 255) continue;
        auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        row[x] = packPixel(a, mul(pixelRed(p)), mul(pixelGreen(p)), mul(pixelBlue(p)));
    }
}

bool run(Decode& d) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_user_limits(d.png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(d.png, kMaxChunkBytes);
    png_set_read_fn(d.png, &d.source, readBytes);
    png_read_info(d.png, d.info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(d.png, d.info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
    if (!imageSizeAllowed(width, height)) return false;

    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(d.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(d.png);
    bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    if (png_get_valid(d.png, d.info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(d.png);
        hasAlpha = true;
    }
    if (depth == 16) png_set_scale_16(d.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(d.png);
    png_set_bgr(d.png);
    png_set_filler(d.png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    if (png_get_rowbytes(d.png, d.info) != std::size_t(width) * 4) return false;

    d.image = CGImageAllocate(int(width), int(height));
    if (!d.image) return false;
    d.image->opaque = !hasAlpha;
    d.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        d.rows[y] = reinterpret_cast<png_bytep>(d.image->data.get() + std::size_t(y) * width);
    png_read_image(d.png, d.rows.data());
    png_read_end(d.png, nullptr);
    if (hasAlpha)
        for (png_uint_32 y = 0; y < height; ++y)
            premultiply(d.image->data.get() + std::size_t(y) * width, int(width));
    return true;
}

} // namespace

CGImageRef decodePNG(const std::uint8_t* bytes, std::size_t length) {
    Decode d;
    d.source = {bytes, length};
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!d.png) return nullptr;
    d.info = png_create_info_struct(d.png);
    bool ok = d.info && run(d);
    png_destroy_read_struct(&d.png, &d.info, nullptr);
    if (!ok) return nullptr;
    return d.image;
}
